#include "Platform/Base/LastError.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cwchar>

using namespace UiTest;

namespace {

// Two monitors side by side for the length of a test.
struct TwoMonitors {
    std::vector<Display::MonitorDesc> saved = Headless().Monitors();
    TwoMonitors()
    {
        Display::MonitorDesc left;
        left.monitor = {0, 0, 1280, 1024};
        left.work = {0, 0, 1280, 984};
        left.primary = true;
        left.name = L"LEFT";
        Display::MonitorDesc right;
        right.monitor = {1280, 0, 3200, 1080};
        right.work = {1280, 0, 3200, 1080};
        right.name = L"RIGHT";
        Headless().SetMonitors({left, right});
    }
    ~TwoMonitors() { Headless().SetMonitors(saved); }
};

BOOL CountMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
    return TRUE;
}

}

TEST(SystemInfo, MetricsFollowTheDisplay)
{
    TwoMonitors monitors;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1080);
    EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.bottom, 984);
}

TEST(SystemInfo, MonitorLookUps)
{
    TwoMonitors monitors;
    HMONITOR primary = MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONULL);
    HMONITOR second = MonitorFromPoint({2000, 10}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(primary, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(primary, second);
    EXPECT_EQ(MonitorFromPoint({-500, 10}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), second);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTOPRIMARY), primary);
    RECT mostlyRight{1200, 0, 1800, 100};
    EXPECT_EQ(MonitorFromRect(&mostlyRight, MONITOR_DEFAULTTONULL), second) << "the larger share wins";

    MONITORINFOEXW info;
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMonitorInfoW(second, &info));
    EXPECT_EQ(info.rcMonitor.left, 1280);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_STREQ(info.szDevice, L"RIGHT");
    MONITORINFO plain;
    ASSERT_TRUE(GetMonitorInfoW(primary, &plain));
    EXPECT_EQ(plain.dwFlags, MONITORINFOF_PRIMARY);
    EXPECT_FALSE(GetMonitorInfoW(reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10005)), &plain));
    plain.cbSize = 7;
    EXPECT_FALSE(GetMonitorInfoW(primary, &plain));

    std::vector<RECT> seen;
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen.size(), 2u);
    RECT clip{0, 0, 100, 100};
    seen.clear();
    EnumDisplayMonitors(nullptr, &clip, CountMonitor, reinterpret_cast<LPARAM>(&seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].right, 100);

    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 1900, 100, 100, 100)};
    EXPECT_EQ(MonitorFromWindow(g.hwnd, MONITOR_DEFAULTTONULL), second);
}

TEST(SystemInfo, NonClientMetricsCarryTheMessageFontAndCheckTheSize)
{
    NONCLIENTMETRICSW metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, L"DejaVu Sans");
    EXPECT_LT(metrics.lfMessageFont.lfHeight, 0);
    EXPECT_EQ(metrics.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    // The older, shorter structure is filled without its last field.
    NONCLIENTMETRICSW older;
    older.cbSize = sizeof(older) - sizeof(int);
    older.iPaddedBorderWidth = 12345;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, older.cbSize, &older, 0));
    EXPECT_EQ(older.iPaddedBorderWidth, 12345);
    NONCLIENTMETRICSW wrong;
    wrong.cbSize = 16;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 16, &wrong, 0));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0));
}

TEST(SystemInfo, KeyboardParametersAreInTheirRanges)
{
    UINT delay = 99;
    UINT speed = 99;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0));
    EXPECT_LE(delay, 3u);
    EXPECT_LE(speed, 31u);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoW(0xFFFF, 0, &delay, 0));
}

TEST(Rectangles, EdgesOfTheRectangleHelpers)
{
    RECT a{0, 0, 10, 10};
    RECT b{5, 5, 15, 15};
    RECT r{};
    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    EXPECT_TRUE(EqualRect(&r, &(const RECT&)RECT{5, 5, 10, 10}));
    RECT far{20, 20, 30, 30};
    EXPECT_FALSE(IntersectRect(&r, &a, &far));
    EXPECT_TRUE(IsRectEmpty(&r));
    RECT empty{};
    EXPECT_TRUE(UnionRect(&r, &empty, &b));
    EXPECT_TRUE(EqualRect(&r, &b)) << "an empty rectangle adds nothing";
    EXPECT_TRUE(PtInRect(&a, {0, 0}));
    EXPECT_FALSE(PtInRect(&a, {10, 5})) << "right and bottom are outside";
    RECT cut{0, 0, 10, 4};
    EXPECT_TRUE(SubtractRect(&r, &a, &cut));
    EXPECT_EQ(r.top, 4);
    RECT middle{2, 2, 4, 4};
    EXPECT_TRUE(SubtractRect(&r, &a, &middle));
    EXPECT_TRUE(EqualRect(&r, &a)) << "a hole leaves the rectangle whole";
    EXPECT_FALSE(IntersectRect(nullptr, &a, &b));
}
