#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Region.h"
#include "Platform/Gdi/SurfaceDC.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstdio>
#include <filesystem>

using namespace UiTest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Paints its whole DC in one colour, beyond its own area on purpose.
struct Painter : Handler {
    explicit Painter(COLORREF c) : color(c)
    {
        m_onMessage = [this](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT& r) {
            if (m != WM_PAINT)
                return false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            paints.push_back(ps.rcPaint);
            erased.push_back(ps.fErase == FALSE);
            HBRUSH brush = CreateSolidBrush(color);
            const RECT huge{-1000, -1000, 3000, 3000};
            FillRect(dc, &huge, brush);
            DeleteObject(brush);
            EndPaint(hwnd, &ps);
            r = 0;
            return true;
        };
    }
    COLORREF color;
    std::vector<RECT> paints;
    std::vector<bool> erased;
};

int CountPaints(HWND hwnd)
{
    MSG msg;
    int n = 0;
    while (n < 50 && PeekMessageW(&msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

}

TEST(Paint, InvalidationsMergeIntoOnePaintAndNoneWhenValid)
{
    Painter p(kRed);
    WindowGuard g{Create(&p, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200)};
    Drain();
    p.paints.clear();
    EXPECT_EQ(CountPaints(g.hwnd), 0) << "nothing is invalid";
    RECT r1{10, 10, 20, 20};
    RECT r2{50, 60, 70, 80};
    InvalidateRect(g.hwnd, &r1, TRUE);
    InvalidateRect(g.hwnd, &r2, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(g.hwnd, &update, FALSE));
    EXPECT_EQ(CountPaints(g.hwnd), 1);
    ASSERT_EQ(p.paints.size(), 1u);
    EXPECT_EQ(p.paints[0].left, 10);
    EXPECT_EQ(p.paints[0].top, 10);
    EXPECT_EQ(p.paints[0].right, 70);
    EXPECT_EQ(p.paints[0].bottom, 80);
    EXPECT_FALSE(GetUpdateRect(g.hwnd, &update, FALSE));
}

TEST(Paint, ValidateCancelsAndRegionsWork)
{
    Painter p(kRed);
    WindowGuard g{Create(&p, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200)};
    Drain();
    InvalidateRect(g.hwnd, nullptr, TRUE);
    ValidateRect(g.hwnd, nullptr);
    EXPECT_EQ(CountPaints(g.hwnd), 0);

    HRGN region = CreateRectRgn(5, 5, 15, 15);
    InvalidateRgn(g.hwnd, region, FALSE);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(g.hwnd, update, FALSE), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(update, region));
    ValidateRgn(g.hwnd, region);
    EXPECT_EQ(CountPaints(g.hwnd), 0);
    DeleteObject(region);
    DeleteObject(update);
    // Out-of-range rectangles are clipped to the client area, not kept.
    RECT far{5000, 5000, 6000, 6000};
    InvalidateRect(g.hwnd, &far, TRUE);
    EXPECT_EQ(CountPaints(g.hwnd), 0);
}

TEST(Paint, SetRedrawFalseHoldsPaintsBack)
{
    Painter p(kRed);
    WindowGuard g{Create(&p, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100)};
    Drain();
    SendMessageW(g.hwnd, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(g.hwnd, nullptr, TRUE);
    EXPECT_EQ(CountPaints(g.hwnd), 0);
    SendMessageW(g.hwnd, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(CountPaints(g.hwnd), 1);
}

TEST(Paint, HiddenWindowsAreNotPainted)
{
    Painter p(kRed);
    WindowGuard g{Create(&p, WS_POPUP, 0, 0, 100, 100)};
    InvalidateRect(g.hwnd, nullptr, TRUE);
    EXPECT_EQ(CountPaints(g.hwnd), 0);
    ShowWindow(g.hwnd, SW_SHOWNA);
    EXPECT_EQ(CountPaints(g.hwnd), 1);
}

TEST(Paint, ChildPaintingIsClippedToItsClientAreaInTheBackBuffer)
{
    Painter parent(kBlue);
    Painter child(kRed);
    WindowGuard g{Create(&parent, WS_POPUP | WS_VISIBLE, 700, 600, 120, 80)};
    HWND c = Create(&child, WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 10, 40, 30, g.hwnd, 1);
    UpdateWindow(g.hwnd);
    Drain();
    auto& display = Headless();
    const auto id = NativeWindowOf(g.hwnd);
    EXPECT_EQ(display.PixelAt(id, 5, 5), kBlue);
    EXPECT_EQ(display.PixelAt(id, 30, 20), kRed) << "inside the child's client area";
    EXPECT_EQ(display.PixelAt(id, 20, 10), GetSysColor(COLOR_WINDOWFRAME)) << "the layer draws the border";
    EXPECT_EQ(display.PixelAt(id, 61, 20), kBlue) << "the child's huge fill stays inside it";
    EXPECT_EQ(display.PixelAt(id, 30, 45), kBlue);

    // The parent repainting does not cover the child for good: it repaints too.
    InvalidateRect(g.hwnd, nullptr, TRUE);
    Drain();
    EXPECT_EQ(display.PixelAt(id, 30, 20), kRed);
    // Hiding the child shows the parent there.
    ShowWindow(c, SW_HIDE);
    Drain();
    EXPECT_EQ(display.PixelAt(id, 30, 20), kBlue);

    const auto path = std::filesystem::temp_directory_path() / "zell-ui-paint-test.png";
    EXPECT_TRUE(display.SaveAsPng(id, path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
}

TEST(Paint, EraseUsesTheClassBrush)
{
    Handler h;  // leaves WM_PAINT to the default, which validates
    WindowGuard g{Create(&h, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50)};
    Drain();
    EXPECT_EQ(h.Of(WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(Headless().PixelAt(NativeWindowOf(g.hwnd), 25, 25), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(CountPaints(g.hwnd), 0) << "the default WM_PAINT validates";
}

TEST(Paint, GetDcDrawsOutsideWmPaintAndIsClipped)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100)};
    HWND c = Create(&h, WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, g.hwnd, 1);
    Drain();
    HDC dc = GetDC(c);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), c);
    HBRUSH brush = CreateSolidBrush(kRed);
    const RECT all{-50, -50, 200, 200};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EXPECT_EQ(ReleaseDC(c, dc), 1);
    EXPECT_EQ(ReleaseDC(c, dc), 0) << "released once";
    const auto id = NativeWindowOf(g.hwnd);
    EXPECT_EQ(Headless().PixelAt(id, 15, 15), kRed);
    EXPECT_EQ(Headless().PixelAt(id, 35, 15), GetSysColor(COLOR_WINDOW));
}

TEST(Paint, InvalidateFromAnotherThreadWakesThePainter)
{
    Painter p(kRed);
    WindowGuard g{Create(&p, WS_POPUP | WS_VISIBLE, 0, 0, 60, 60)};
    Drain();
    p.paints.clear();
    std::thread([&] { InvalidateRect(g.hwnd, nullptr, FALSE); }).join();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_PAINT), WAIT_OBJECT_0);
    EXPECT_EQ(CountPaints(g.hwnd), 1);
}

TEST(Paint, PrintDrawsTheClientAndTheChildrenIntoAGivenContext)
{
    auto printer = [](COLORREF color) {
        return [color](HWND hwnd, UINT m, WPARAM w, LPARAM, LRESULT& r) {
            if (m != WM_PRINTCLIENT)
                return false;
            RECT client{};
            GetClientRect(hwnd, &client);
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(reinterpret_cast<HDC>(w), &client, brush);
            DeleteObject(brush);
            r = 0;
            return true;
        };
    };
    Handler parent;
    parent.m_onMessage = printer(kBlue);
    Handler child;
    child.m_onMessage = printer(kRed);
    WindowGuard g{Create(&parent, WS_POPUP, 0, 0, 60, 40)};
    Create(&child, WS_CHILD | WS_VISIBLE, 10, 10, 20, 10, g.hwnd, 1);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 60, 40);
    HDC dc = CreateSurfaceDC(target, {0, 0}, RECT{0, 0, 60, 40});
    ASSERT_NE(dc, nullptr);
    SendMessageW(g.hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(GetPixel(dc, 2, 2), kBlue);
    EXPECT_EQ(GetPixel(dc, 15, 15), kRed);
    EXPECT_EQ(GetPixel(dc, 35, 15), kBlue) << "the child's print is clipped to it";
    SendMessageW(g.hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CHECKVISIBLE | PRF_CLIENT);
    ReleaseSurfaceDC(dc);
    cairo_surface_destroy(target);
}
