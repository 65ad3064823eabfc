// The tooltip window with injected mouse input on the test clock: when tips
// come and go, how they fade, and where they are placed on the monitors.
#include "Common/Skin/RichToolTip.h"
#include "Common/Skin/Tests/TooltipScene.h"
#include "Platform/Gdi/Region.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

namespace {

using TooltipScene = ControlsTest::CTooltipScene<CRichToolTip>;

// How far the default shadow reaches past the tip's outline.
constexpr int kShadow = 6;

TEST(RichToolTip, ShowsAfterTheInitialDelayAndHidesAfterTheAutoHide)
{
    TooltipScene scene;
    scene.Point(scene.first);
    scene.Pass(490);
    EXPECT_FALSE(scene.Shown());
    scene.Pass(20);
    EXPECT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Shown);
    scene.Pass(4950);
    EXPECT_TRUE(scene.Shown());
    scene.Pass(60);
    EXPECT_FALSE(scene.Shown());
    // Pointing again at the same tool, which is not forgotten, shows nothing.
    scene.Point(scene.first, POINT{25, 12});
    scene.Pass(600);
    EXPECT_FALSE(scene.Shown());
}

TEST(RichToolTip, MovingRestartsTheInitialDelay)
{
    TooltipScene scene;
    scene.Point(scene.first);
    scene.Pass(300);
    scene.Point(scene.first, POINT{30, 12});
    scene.Pass(300);
    EXPECT_FALSE(scene.Shown());
    scene.Pass(220);
    EXPECT_TRUE(scene.Shown());
}

TEST(RichToolTip, LeavingOrClickingHidesAtOnce)
{
    TooltipScene scene;
    scene.Point(scene.first);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    scene.Point(scene.parent.m_hWnd, POINT{300, 250});
    EXPECT_FALSE(scene.Shown());

    scene.Point(scene.second);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    scene.PressLeft();
    EXPECT_FALSE(scene.Shown());
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Hidden);
}

TEST(RichToolTip, AnotherToolShowsItsOwnTip)
{
    TooltipScene scene;
    scene.Point(scene.first);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    ASSERT_NE(scene.tip.ShownTool(), nullptr);
    EXPECT_EQ(scene.tip.ShownTool()->id, 1);
    scene.Point(scene.second);
    EXPECT_FALSE(scene.Shown());
    scene.Pass(520);
    EXPECT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.ShownTool()->id, 2);
}

TEST(RichToolTip, FadesInAndOutInSteps)
{
    TooltipScene scene;
    scene.tip.SetDelayTime(CRichToolTip::kDelayFadeIn, 100);
    scene.tip.SetDelayTime(CRichToolTip::kDelayFadeOut, 50);
    scene.tip.SetDelayTime(CRichToolTip::kDelayAutoPop, 1000);
    scene.Point(scene.first);
    scene.Pass(500);
    std::vector<int> steps;
    for (int i = 0; i < 8 && steps.size() < 6; ++i) {
        if (scene.tip.GetState() != CRichToolTip::State::Hidden &&
            (steps.empty() || steps.back() != scene.tip.GetTransparency()))
            steps.push_back(scene.tip.GetTransparency());
        scene.Pass(100, 100);
    }
    EXPECT_EQ(steps, (std::vector<int>{100, 80, 60, 40, 20, 0}));
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Shown);
    scene.Pass(1000, 50);
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Hiding);
    EXPECT_TRUE(scene.Shown());
    scene.Pass(250, 50);
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Hidden);
    EXPECT_FALSE(scene.Shown());
}

TEST(RichToolTip, ButtonsWheelAndKeysRemoveTheTip)
{
    TooltipScene scene;
    for (int how = 0; how < 3; ++how) {
        scene.Point(scene.first, POINT{20 + how, 10});
        scene.Pass(520);
        scene.tip.Pop();
        scene.Point(scene.second, POINT{20 + how, 10});
        scene.Pass(520);
        ASSERT_TRUE(scene.Shown()) << how;
        POINT at{};
        GetCursorPos(&at);
        if (how == 0)
            scene.Display().InjectWheel(120, at);
        else if (how == 1)
            scene.Display().InjectMouseDown(Display::MouseButton::Right, at);
        else
            scene.Display().InjectKeyDown(VK_SPACE);
        scene.Pump();
        EXPECT_FALSE(scene.Shown()) << how;
        scene.Display().InjectMouseUp(Display::MouseButton::Right, at);
        scene.Display().InjectKeyUp(VK_SPACE);
        scene.Pump();
    }
}

TEST(RichToolTip, HelpTipsStayWithoutAutoHide)
{
    TooltipScene scene;
    scene.tip.ShowHelpTip(POINT{300, 300}, L"Help");
    scene.Pump();
    EXPECT_TRUE(scene.Shown());
    scene.Pass(70000, 1000);
    EXPECT_TRUE(scene.Shown());
    scene.PressLeft();
    EXPECT_FALSE(scene.Shown());
}

// Tips near every edge of a monitor stay inside its work area, on a second
// monitor as on the first.
TEST(RichToolTip, TipsStayInsideTheWorkAreaAtEveryEdge)
{
    TooltipScene scene;
    const auto saved = scene.Display().Monitors();
    scene.Display().SetMonitors({
        {RECT{0, 0, 1024, 768}, RECT{0, 30, 1024, 740}, true, L"one"},
        {RECT{1024, 0, 2304, 1024}, RECT{1024, 0, 2304, 1000}, false, L"two"},
    });
    const std::wstring text = L"A tip of some width<br>with a second line";
    const std::vector<POINT> points = {{2, 31},    {1020, 31},   {2, 738},     {1020, 738}, {512, 31},
                                       {512, 739}, {1026, 2},    {2300, 2},    {2300, 998}, {1026, 999},
                                       {1030, 500}};
    for (const POINT point : points) {
        scene.tip.Pop();
        scene.tip.ShowHelpTip(point, text);
        scene.Pump();
        ASSERT_TRUE(scene.Shown());
        const RECT r = scene.TipRect();
        const bool onFirst = point.x < 1024;
        const RECT work = onFirst ? RECT{0, 30, 1024, 740} : RECT{1024, 0, 2304, 1000};
        EXPECT_GE(r.left, work.left) << point.x << "," << point.y;
        EXPECT_GE(r.top, work.top) << point.x << "," << point.y;
        EXPECT_LE(r.right, work.right) << point.x << "," << point.y;
        EXPECT_LE(r.bottom, work.bottom) << point.x << "," << point.y;
    }
    scene.Display().SetMonitors(saved);
}

TEST(RichToolTip, ATipAboveThatWouldLeaveTheTopGoesBelow)
{
    TooltipScene scene;
    scene.tip.SetDirection(CRichToolTip::SIDE_ABOVE);
    scene.tip.ShowHelpTip(POINT{400, 600}, L"Below or above");
    scene.Pump();
    EXPECT_EQ(scene.tip.GetActiveDirection() & 0x30, CRichToolTip::SIDE_ABOVE);
    // The outline ends at the point; the shadow reaches past it.
    RECT outline{};
    GetRgnBox(scene.tip.Outline(), &outline);
    EXPECT_NEAR(scene.TipRect().top + outline.bottom, 600, 1) << "the anchor's last row may stay open";
    EXPECT_EQ(scene.TipRect().bottom, 600 + kShadow);
    scene.tip.Pop();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    scene.tip.ShowHelpTip(POINT{400, work.top + 3}, L"Below or above");
    scene.Pump();
    EXPECT_EQ(scene.tip.GetActiveDirection() & 0x30, CRichToolTip::SIDE_BELOW);
    EXPECT_GE(scene.TipRect().top, work.top + 3);
}

TEST(RichToolTip, EmptyTextsAndHiddenToolsShowNothing)
{
    TooltipScene scene;
    scene.tip.UpdateTipText(L"", scene.first, 1);
    scene.Point(scene.first);
    scene.Pass(600);
    EXPECT_FALSE(scene.Shown());
    ShowWindow(scene.second, SW_HIDE);
    scene.Point(scene.second);
    scene.Pass(600);
    EXPECT_FALSE(scene.Shown());
}

TEST(RichToolTip, TheParentHearsOfATipBeforeItShows)
{
    TooltipScene scene;
    scene.tip.SetNotify(true);
    scene.Point(scene.first);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    EXPECT_EQ(scene.parent.Count(WM_NOTIFY, CRichToolTip::NOTIFY_BEFORE_SHOW, 0), 1);
}

TEST(RichToolTip, HelpTipsAtAControlShowItsIcon)
{
    TooltipScene scene;
    scene.tip.ShowHelpTipAtControl(L"Check the value", MB_ICONHAND, 2);
    scene.Pump();
    ASSERT_TRUE(scene.Shown());
    const RECT tip = scene.TipRect();
    RECT control{};
    GetWindowRect(scene.second, &control);
    // Anchored at the control's centre, from above (the default side).
    EXPECT_LE(tip.bottom - kShadow, (control.top + control.bottom) / 2);
    scene.tip.Pop();
    scene.tip.ShowHelpTip(POINT{300, 300}, L"Check the value");
    scene.Pump();
    // The icon makes the tip wider than its text alone.
    EXPECT_GT(tip.right - tip.left, scene.TipRect().right - scene.TipRect().left);
}

TEST(RichToolTip, ToolsAreKeptPerWindowAndRectangle)
{
    TooltipScene scene;
    CRichToolTip::ToolInfo tool;
    ASSERT_TRUE(scene.tip.GetTool(scene.first, 1, tool));
    EXPECT_EQ(tool.text, L"First <b>tip</b>");
    scene.tip.AddToolText(scene.first, L"replaced", 1);
    ASSERT_TRUE(scene.tip.GetTool(scene.first, 1, tool));
    EXPECT_EQ(tool.text, L"replaced");
    const RECT part{0, 0, 5, 5};
    scene.tip.AddToolText(scene.first, L"part", 3, &part);
    EXPECT_TRUE(scene.tip.GetTool(scene.first, 3, tool));
    scene.tip.RemoveTool(scene.first, 3);
    EXPECT_FALSE(scene.tip.GetTool(scene.first, 3, tool));
    scene.tip.AddToolIcon(scene.second, L"with icon", 301, SIZE{16, 16}, 4, &part);
    ASSERT_TRUE(scene.tip.GetTool(scene.second, 4, tool));
    EXPECT_EQ(tool.text, L"<table><tr><td><icon idres=301 width=16 height=16></td><td>with icon</td></tr></table>");
    scene.tip.AddToolBitmap(scene.second, L"with bitmap", 311, RGB(255, 0, 255), SIZE{8, 8}, 4, &part);
    ASSERT_TRUE(scene.tip.GetTool(scene.second, 4, tool));
    EXPECT_EQ(tool.text,
              L"<table><tr><td><bmp idres=311 mask=0xFF00FF width=8 height=8></td><td>with bitmap</td></tr></table>");
    scene.tip.RemoveAllTools();
    EXPECT_FALSE(scene.tip.GetTool(scene.first, 1, tool));
}

} // namespace
