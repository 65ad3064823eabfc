#include "Common/Skin/Support/Monitors.h"

#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

using UiTest::Headless;

namespace {

// A primary monitor at the origin and a second one left of it and higher up,
// so that its coordinates are negative.
struct TwoMonitors {
    std::vector<Display::MonitorDesc> saved = Headless().Monitors();
    TwoMonitors()
    {
        Display::MonitorDesc primary;
        primary.monitor = {0, 0, 1920, 1080};
        primary.work = {0, 0, 1920, 1040};
        primary.primary = true;
        primary.name = L"MAIN";
        Display::MonitorDesc left;
        left.monitor = {-1280, -200, 0, 824};
        left.work = {-1280, -160, 0, 824};
        left.name = L"LEFT";
        Headless().SetMonitors({primary, left});
    }
    ~TwoMonitors() { Headless().SetMonitors(saved); }
};

}

TEST(Monitors, TheListFollowsTheDesktop)
{
    TwoMonitors layout;
    CMonitors monitors;
    ASSERT_EQ(CMonitors::GetCount(), 2);
    CMonitor main = monitors.GetMonitor(0);
    CMonitor left = monitors.GetMonitor(1);
    EXPECT_TRUE(main.IsPrimaryMonitor());
    EXPECT_FALSE(left.IsPrimaryMonitor());
    EXPECT_TRUE(main.IsMonitor());
    EXPECT_TRUE(left.IsMonitor());
    CString name;
    left.GetName(name);
    EXPECT_EQ(name, CString(L"LEFT"));
    EXPECT_EQ(static_cast<HMONITOR>(CMonitors::GetPrimaryMonitor()), static_cast<HMONITOR>(main));
    for (int outside : {2, -1}) {
        bool thrown = false;
        try {
            monitors.GetMonitor(outside);
        } catch (CInvalidArgException* error) {
            thrown = true;
            error->Delete();
        }
        EXPECT_TRUE(thrown) << outside;
    }

    RECT desktop{};
    CMonitors::GetVirtualDesktopRect(&desktop);
    EXPECT_EQ(desktop.left, -1280);
    EXPECT_EQ(desktop.top, -200);
    EXPECT_EQ(desktop.right, 1920);
    EXPECT_EQ(desktop.bottom, 1080);

    CMonitor copy(left);
    EXPECT_EQ(static_cast<HMONITOR>(copy), static_cast<HMONITOR>(left));
    EXPECT_NE(copy.Detach(), nullptr);
    EXPECT_FALSE(copy.IsMonitor());
}

TEST(Monitors, PointsAndRectanglesFindTheirMonitor)
{
    TwoMonitors layout;
    CMonitors monitors;
    const HMONITOR left = monitors.GetMonitor(1);
    EXPECT_EQ(static_cast<HMONITOR>(CMonitors::GetNearestMonitor(POINT{-10, -100})), left);
    EXPECT_TRUE(CMonitors::IsOnScreen(POINT{-1, -1}));
    EXPECT_FALSE(CMonitors::IsOnScreen(POINT{-5000, 5000}));
    EXPECT_NE(static_cast<HMONITOR>(CMonitors::GetNearestMonitor(POINT{-5000, 5000})), nullptr);
    const RECT across{-100, 10, 100, 50};
    EXPECT_TRUE(monitors.GetMonitor(0).IsOnMonitor(&across));
    EXPECT_TRUE(monitors.GetMonitor(1).IsOnMonitor(&across));
    EXPECT_TRUE(monitors.GetMonitor(1).IsOnMonitor(POINT{-1280, -200}));
    EXPECT_FALSE(monitors.GetMonitor(1).IsOnMonitor(POINT{0, 0}));
}

TEST(Monitors, CentringAndClippingOnANegativeMonitor)
{
    TwoMonitors layout;
    CMonitors monitors;
    const CMonitor main = monitors.GetMonitor(0);
    const CMonitor left = monitors.GetMonitor(1);

    RECT rect{0, 0, 100, 50};
    main.CenterRectToMonitor(&rect);
    EXPECT_EQ(rect.left, 910);
    EXPECT_EQ(rect.top, 515);
    EXPECT_EQ(rect.right, 1010);

    rect = {0, 0, 101, 51};
    left.CenterRectToMonitor(&rect, TRUE);
    // Work area -1280..0 by -160..824: (1280 - 101) / 2 and (984 - 51) / 2.
    EXPECT_EQ(rect.left, -1280 + 589);
    EXPECT_EQ(rect.top, -160 + 466);
    EXPECT_EQ(rect.bottom - rect.top, 51);

    rect = {-50, 700, 150, 900};  // over the right and the bottom edge of the left monitor
    left.ClipRectToMonitor(&rect);
    EXPECT_EQ(rect.left, -200);
    EXPECT_EQ(rect.top, 624);
    EXPECT_EQ(rect.right, 0);
    rect = {-3000, -3000, 0, -1000};  // larger than the area: its top-left corner
    left.ClipRectToMonitor(&rect);
    EXPECT_EQ(rect.left, -1280);
    EXPECT_EQ(rect.top, -200);
    EXPECT_EQ(rect.right - rect.left, 3000);
}

TEST(Monitors, AWindowIsCentredOnItsMonitor)
{
    TwoMonitors layout;
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, CWnd::DefaultClassName(), L"w", WS_POPUP, -900, 100, 200, 100, nullptr, nullptr));
    CMonitors monitors;
    EXPECT_EQ(static_cast<HMONITOR>(CMonitors::GetNearestMonitor(&window)),
              static_cast<HMONITOR>(monitors.GetMonitor(1)));
    EXPECT_TRUE(CMonitors::IsOnScreen(&window));
    monitors.GetMonitor(1).CenterWindowToMonitor(&window);
    RECT placed{};
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, -1280 + 540);
    EXPECT_EQ(placed.top, -200 + 462);
    EXPECT_EQ(placed.right - placed.left, 200);
    window.DestroyWindow();
}

TEST(Monitors, OneMonitorIsThePrimaryOne)
{
    CMonitors monitors;
    ASSERT_EQ(CMonitors::GetCount(), 1);
    EXPECT_TRUE(monitors.GetMonitor(0).IsPrimaryMonitor());
    EXPECT_EQ(static_cast<HMONITOR>(CMonitors::GetPrimaryMonitor()), static_cast<HMONITOR>(monitors.GetMonitor(0)));
    EXPECT_GT(monitors.GetMonitor(0).GetBitsPerPixel(), 0);
    EXPECT_TRUE(CMonitors::AllMonitorsShareDisplayFormat());
}
