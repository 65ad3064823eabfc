// Built twice: in the layer's tests at the default resolution, and on its own
// with ZELL_DPI set, so that both ends hold the same rule.
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstdlib>
#include <string>

using namespace UiTest;

namespace {

int ExpectedDpi()
{
    const char* asked = std::getenv("ZELL_DPI");
    return asked != nullptr && *asked != '\0' ? std::stoi(asked) : 96;
}

}

TEST(Dpi, OneResolutionAcrossTheLayer)
{
    const int dpi = ExpectedDpi();
    EXPECT_EQ(Headless().Dpi(), dpi);

    Handler h;
    WindowGuard g{Create(&h, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50)};
    EXPECT_EQ(GetDpiForWindow(g.hwnd), static_cast<UINT>(dpi));
    HDC window = GetDC(g.hwnd);
    EXPECT_EQ(GetDeviceCaps(window, LOGPIXELSX), dpi);
    EXPECT_EQ(GetDeviceCaps(window, LOGPIXELSY), dpi);
    HDC memory = CreateCompatibleDC(window);
    EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSX), dpi);
    DeleteDC(memory);
    ReleaseDC(g.hwnd, window);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
    memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), dpi);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    // Sizes given at 96 dpi grow with the resolution; the message font stays nine points.
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), MulDiv(17, dpi, 96));
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), MulDiv(20, dpi, 96));
    EXPECT_EQ(GetSystemMetrics(SM_CXDRAG), MulDiv(4, dpi, 96));
    NONCLIENTMETRICSW metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, -MulDiv(9, dpi, 72));
    EXPECT_EQ(metrics.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
}
