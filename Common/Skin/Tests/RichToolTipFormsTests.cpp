// The tooltip's further forms with injected input on the test clock: texts
// from the string resources, tool-bar buttons, the window-information mode,
// the outline with its rounded corners and shadow, and fading out where the
// desktop asks for it, checked by the pixels the display shows.
#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/TooltipScene.h"
#include "Common/Skin/ZellTooltip.h"
#include "Platform/Gdi/Region.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

namespace {

using ControlsTest::CScene;
using TooltipScene = ControlsTest::CTooltipScene<CRichToolTip>;

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// A bar of three 24-pixel buttons (open, a separator, save) that answers
// the tool-bar messages.
class CTestToolBar : public CWnd {
public:
    static constexpr int kButton = 24;
    static constexpr int kCommands[] = {ControlsTest::kOpenCommand, 0, ControlsTest::kSaveCommand};

    bool Create(CWnd& parent, POINT at)
    {
        return CreateEx(0, CWnd::DefaultClassName(), L"bar", WS_CHILD | WS_VISIBLE, at.x, at.y, 3 * kButton, kButton,
                        parent.m_hWnd, nullptr) != FALSE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const auto index = static_cast<int>(wParam);
        switch (message) {
        case CRichToolTip::TB_BUTTONCOUNT:
            return 3;
        case CRichToolTip::TB_GETITEMRECT:
            if (index < 0 || index > 2)
                return FALSE;
            *reinterpret_cast<RECT*>(lParam) = RECT{index * kButton, 0, (index + 1) * kButton, kButton};
            return TRUE;
        case CRichToolTip::TB_GETBUTTON:
            if (index < 0 || index > 2)
                return FALSE;
            reinterpret_cast<CRichToolTip::ToolBarButton*>(lParam)->command = kCommands[index];
            return TRUE;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
};

TEST(RichToolTipForms, TextsComeFromTheStringResources)
{
    TooltipScene scene;
    CRichToolTip::ToolInfo tool;
    scene.tip.AddToolText(scene.first, ControlsTest::kTipText, 1);
    ASSERT_TRUE(scene.tip.GetTool(scene.first, 1, tool));
    EXPECT_EQ(tool.text, L"Reads the settings");
    const RECT part{0, 0, 5, 5};
    scene.tip.AddToolIcon(scene.second, ControlsTest::kLabelText, ControlsTest::kDiscIcon, SIZE{16, 16}, 4, &part);
    ASSERT_TRUE(scene.tip.GetTool(scene.second, 4, tool));
    EXPECT_EQ(tool.text,
              L"<table><tr><td><icon idres=301 width=16 height=16></td><td>Label from the table</td></tr></table>");
    scene.tip.AddToolBitmap(scene.second, ControlsTest::kTipText, ControlsTest::kDiscBitmap, RGB(255, 0, 255),
                            SIZE{8, 8}, 4, &part);
    ASSERT_TRUE(scene.tip.GetTool(scene.second, 4, tool));
    EXPECT_NE(tool.text.find(L"<bmp idres=311 mask=0xFF00FF width=8 height=8></td><td>Reads the settings<"),
              std::wstring::npos);
    HICON icon = LoadIconW(nullptr, IDI_ASTERISK);
    scene.tip.AddToolIconHandle(scene.second, ControlsTest::kTipText, icon, 4, &part);
    ASSERT_TRUE(scene.tip.GetTool(scene.second, 4, tool));
    EXPECT_EQ(tool.text, CRichToolTip::IconText(icon, L"Reads the settings"));

    // A missing string gives an empty text: the tool never shows.
    scene.tip.AddToolText(scene.first, 9999u, 1);
    scene.Point(scene.first);
    scene.Pass(600);
    EXPECT_FALSE(scene.Shown());

    scene.tip.ShowHelpTip(POINT{300, 300}, ControlsTest::kTipText);
    scene.Pump();
    ASSERT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.ShownTool()->text, L"Reads the settings");
    const LONG plainWidth = scene.TipRect().right - scene.TipRect().left;
    scene.tip.Pop();
    scene.tip.ShowHelpTip(POINT{300, 300}, ControlsTest::kTipText, ControlsTest::kDiscIcon, SIZE{16, 16});
    scene.Pump();
    ASSERT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.ShownTool()->text,
              L"<table><tr><td><icon idres=301 width=16 height=16></td><td>Reads the settings</td></tr></table>");
    EXPECT_GE(scene.TipRect().right - scene.TipRect().left, plainWidth + 16) << "the icon stands beside the text";
}

TEST(RichToolTipForms, ToolBarButtonsShowTheSecondLineOfTheirCommandsText)
{
    TooltipScene scene;
    CTestToolBar bar;
    ASSERT_TRUE(bar.Create(scene.parent, POINT{10, 100}));
    scene.tip.AddToolBar(bar.m_hWnd);
    scene.tip.AddToolBar(bar.m_hWnd);

    scene.Point(bar.m_hWnd, POINT{5, 5});
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.ShownTool()->id, ControlsTest::kOpenCommand);
    EXPECT_EQ(scene.tip.ShownTool()->text, L"Open");
    const RECT openButton{0, 0, 24, 24};
    EXPECT_TRUE(EqualRect(&scene.tip.ShownTool()->rect, &openButton));

    // The separator has no tip; the next button has its own.
    scene.Point(bar.m_hWnd, POINT{30, 5});
    scene.Pass(520);
    EXPECT_FALSE(scene.Shown());
    scene.Point(bar.m_hWnd, POINT{53, 5});
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    EXPECT_EQ(scene.tip.ShownTool()->text, L"Save");

    // Forgotten bars give no tips.
    scene.tip.Pop();
    scene.tip.RemoveAllTools();
    scene.Point(bar.m_hWnd, POINT{5, 6});
    scene.Pass(520);
    EXPECT_FALSE(scene.Shown());
    bar.DestroyWindow();
}

TEST(RichToolTipForms, SuperTipsOfToolBarButtonsHaveHeaderBodyAndFooterUnderTheirButton)
{
    CScene scene(400, 300);
    CTestToolBar bar;
    ASSERT_TRUE(bar.Create(scene.parent, POINT{10, 100}));
    CZellTooltip wrapper;
    ASSERT_TRUE(wrapper.Create(&scene.parent));
    wrapper.AddToolBar(bar.m_hWnd);
    CSuperTooltip& tip = *wrapper.Tooltip();
    auto pump = [&] {
        MSG msg{};
        for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (!wrapper.RelayEvent(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    };
    auto showAt = [&](POINT at) {
        scene.Display().InjectMouseMove(CScene::Screen(bar.m_hWnd, at));
        pump();
        for (int i = 0; i < 52; ++i) {
            Platform::Clock::Advance(10);
            pump();
        }
        RECT r{};
        ::GetWindowRect(tip.m_hWnd, &r);
        return r;
    };
    const RECT open = showAt(POINT{5, 5});
    ASSERT_TRUE(tip.IsWindowVisible());
    const std::wstring& text = tip.ShownTool()->text;
    EXPECT_NE(text.find(L"<b>Open</b>"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"Open the file"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"<b>Ctrl+O</b>"), std::wstring::npos) << text;
    // Under the bar, and under the button that was pointed at.
    RECT barRect{};
    ::GetWindowRect(bar.m_hWnd, &barRect);
    EXPECT_GE(open.top, barRect.bottom);
    tip.Pop();
    const RECT save = showAt(POINT{50, 5});
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_NE(tip.ShownTool()->text.find(L"Save the settings"), std::wstring::npos);
    EXPECT_EQ(save.left - open.left, 2 * CTestToolBar::kButton);
    tip.DestroyWindow();
    bar.DestroyWindow();
}

TEST(RichToolTipForms, TheWindowInformationModeDescribesTheWindowUnderThePointerAtOnce)
{
    TooltipScene scene;
    scene.tip.SetWindowInfoMode(true);
    SetWindowTextW(scene.first, L"A rather long title for <a> label");
    scene.Point(scene.first, POINT{20, 10});
    ASSERT_TRUE(scene.Shown());
    const std::wstring text = scene.tip.ShownTool()->text;
    EXPECT_NE(text.find(L"<td width=130 bgcolor=window>A rather long title f ...</td>"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L">Control ID</td><td width=130 bgcolor=window>1</td>"), std::wstring::npos);
    EXPECT_NE(text.find(L">Width</td><td width=130 bgcolor=window>100</td>"), std::wstring::npos);
    EXPECT_NE(text.find(L">Has Tooltip</td><td width=130 bgcolor=window>Yes</td>"), std::wstring::npos);
    EXPECT_NE(text.find(L">Title</td><td width=130 bgcolor=window>scene</td>"), std::wstring::npos)
        << "the owner's title";
    const POINT at = CScene::Screen(scene.first, POINT{20, 10});
    EXPECT_NE(text.find(L">X</td><td width=130 bgcolor=window>" + std::to_wstring(at.x) + L"<"), std::wstring::npos);

    // A title with a tag in it stays text.
    SetWindowTextW(scene.second, L"x<b>y");
    scene.tip.RemoveTool(scene.second, 2);
    scene.Point(scene.second, POINT{20, 10});
    ASSERT_TRUE(scene.Shown());
    const std::wstring other = scene.tip.ShownTool()->text;
    EXPECT_NE(other.find(L">x?b>y</td>"), std::wstring::npos) << other;
    EXPECT_NE(other.find(L">Has Tooltip</td><td width=130 bgcolor=window>No</td>"), std::wstring::npos);
}

TEST(RichToolTipForms, TheShownToolsKeyReachesTheParentAndIsSwallowed)
{
    TooltipScene scene;
    CRichToolTip::ToolInfo tool;
    ASSERT_TRUE(scene.tip.GetTool(scene.first, 1, tool));
    tool.key = VK_F1;
    tool.keyValue = 77;
    scene.tip.AddTool(scene.first, tool);
    scene.Point(scene.first);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    MSG help{scene.first, 0x004D, 0, 0, 0, {}};
    EXPECT_TRUE(scene.tip.RelayEvent(&help));
    MSG key{scene.first, WM_KEYDOWN, VK_F1, 0, 0, {}};
    EXPECT_TRUE(scene.tip.RelayEvent(&key));
    MSG posted{};
    const UINT keyMessage = RegisterWindowMessageW(L"WM_RICHTOOLTIP_VIRTUAL_KEY_CODE");
    ASSERT_TRUE(PeekMessageW(&posted, scene.parent.m_hWnd, keyMessage, keyMessage, PM_REMOVE));
    EXPECT_EQ(posted.wParam, 77u);
    EXPECT_EQ(posted.lParam, 1);
    EXPECT_TRUE(scene.Shown()) << "the key was the tool's, not a dismissal";
    MSG other{scene.first, WM_KEYDOWN, VK_F2, 0, 0, {}};
    EXPECT_FALSE(scene.tip.RelayEvent(&other));
    EXPECT_FALSE(scene.Shown());
}

TEST(RichToolTipForms, ATipThatFollowsThePointerMovesWithItAndStaysUp)
{
    TooltipScene scene;
    CRichToolTip::ToolInfo tool;
    ASSERT_TRUE(scene.tip.GetTool(scene.first, 1, tool));
    tool.behaviour = CRichToolTip::FOLLOW_POINTER;
    tool.mask = CRichToolTip::MASK_BEHAVIOUR;
    scene.tip.AddTool(scene.first, tool);
    scene.Point(scene.first, POINT{20, 10});
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    const RECT before = scene.TipRect();
    scene.Pass(4000);
    scene.Point(scene.first, POINT{25, 13});
    const RECT after = scene.TipRect();
    EXPECT_EQ(after.left - before.left, 5);
    EXPECT_EQ(after.top - before.top, 3);
    // The move started the auto-hide again.
    scene.Pass(4000);
    EXPECT_TRUE(scene.Shown());
    scene.Pass(1100);
    EXPECT_FALSE(scene.Shown());
}

// A rectangle in one flat colour, so that the shadow and what lies outside
// the outline can be told apart by their pixels.
TEST(RichToolTipForms, TheOutlineShapesTheWindowAndCastsAShadow)
{
    TooltipScene scene;
    scene.tip.SetBalloonForm(false);
    scene.tip.SetGeometry(2, 10);
    scene.tip.SetGeometry(3, 10);
    scene.tip.SetColors(RGB(255, 255, 0), RGB(255, 255, 0), RGB(255, 255, 0));
    scene.tip.SetBorder(RGB(0, 0, 255), 1, 1);
    scene.tip.SetShadow(6, 6, 50, false, 1, 1);
    scene.tip.ShowHelpTip(POINT{300, 300}, L"A shadowed tip");
    scene.Pump();
    ASSERT_TRUE(scene.Shown());
    const RECT r = scene.TipRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    RECT outline{};
    ASSERT_NE(scene.tip.Outline(), nullptr);
    GetRgnBox(scene.tip.Outline(), &outline);
    EXPECT_EQ(width, outline.right + 6);
    EXPECT_EQ(height, outline.bottom + 6);

    EXPECT_EQ(scene.TipPixel(0, height / 2), RGB(0, 0, 255)) << "the border";
    EXPECT_EQ(scene.TipPixel(5, 5), RGB(255, 255, 0)) << "the body";
    // Beside the outline: what lay under the tip, darker in the shadow.
    const COLORREF outside = scene.TipPixel(width - 2, 2);
    const COLORREF shadow = scene.TipPixel(width - 2, height / 2);
    EXPECT_LT(Brightness(shadow), Brightness(outside));
    EXPECT_NE(shadow, RGB(255, 255, 0));

    // The window is only where the outline and its shadow are.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(scene.tip.m_hWnd, shape), 0);
    EXPECT_TRUE(PtInRegion(shape, 4, 4));
    EXPECT_TRUE(PtInRegion(shape, width - 2, height / 2));
    EXPECT_FALSE(PtInRegion(shape, width - 2, 2));
    DeleteObject(shape);
    EXPECT_NE(WindowFromPoint(POINT{r.left + width - 2, r.top + 2}), scene.tip.m_hWnd);
    EXPECT_EQ(WindowFromPoint(POINT{r.left + 4, r.top + 4}), scene.tip.m_hWnd);
}

TEST(RichToolTipForms, TheBalloonHasRoundedCornersAndAnAnchorAtThePoint)
{
    TooltipScene scene;
    scene.tip.SetShadow(0, 0, 0, false, 0, 0);
    scene.tip.SetColors(RGB(255, 255, 0), RGB(255, 255, 0), RGB(255, 255, 0));
    const POINT at{300, 300};
    scene.tip.ShowHelpTip(at, L"A balloon tip<br>on two lines");
    scene.Pump();
    ASSERT_TRUE(scene.Shown());
    // Above the point (the default side), the anchor's tip at the point.
    const RECT r = scene.TipRect();
    EXPECT_EQ(r.bottom, at.y);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(scene.tip.m_hWnd, shape), 0);
    const int height = r.bottom - r.top;
    const int bodyBottom = height - 16;
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "a rounded corner";
    EXPECT_FALSE(PtInRegion(shape, r.right - r.left - 1, bodyBottom - 1));
    EXPECT_TRUE(PtInRegion(shape, 8, bodyBottom / 2));
    // At the start position the anchor's base runs from the point towards
    // the end; near its tip it is narrow.
    EXPECT_TRUE(PtInRegion(shape, at.x - r.left + 2, height - 6)) << "the anchor near its tip";
    EXPECT_FALSE(PtInRegion(shape, at.x - r.left - 3, height - 6));
    EXPECT_FALSE(PtInRegion(shape, at.x - r.left + 8, height - 6));
    EXPECT_TRUE(PtInRegion(shape, at.x - r.left + 10, bodyBottom + 1)) << "the anchor's base";
    DeleteObject(shape);
    EXPECT_NE(scene.TipPixel(1, 1), scene.TipPixel(16, bodyBottom / 2));
    EXPECT_EQ(scene.TipPixel(6, 12), RGB(255, 255, 0));
}

// A tooltip that sees the desktop fading its tips.
class CFadingSuperTooltip : public CSuperTooltip {
protected:
    bool SystemFadesTips() const override { return true; }
};

TEST(RichToolTipForms, SuperTipsFadeOutWhereTheDesktopFadesTooltips)
{
    CSuperTooltip plain;
    CScene owner;
    ASSERT_TRUE(plain.Create(&owner.parent));
    EXPECT_EQ(plain.GetDelayTime(CRichToolTip::kDelayFadeOut), 0u) << "this desktop does not fade";
    plain.DestroyWindow();

    ControlsTest::CTooltipScene<CFadingSuperTooltip> scene;
    EXPECT_EQ(scene.tip.GetDelayTime(CRichToolTip::kDelayFadeOut), 80u);
    scene.tip.SetColors(RGB(0, 0, 128), RGB(0, 0, 128), RGB(0, 0, 128));
    scene.tip.SetEffect(0, 0);
    scene.Point(scene.first);
    scene.Pass(520);
    ASSERT_TRUE(scene.Shown());
    const POINT inside{3, 3};
    std::vector<COLORREF> steps{scene.TipPixel(inside.x, inside.y)};
    // Leaving starts the fade; every 80 ms the tip is a fifth more transparent.
    scene.Point(scene.parent.m_hWnd, POINT{300, 250});
    std::vector<int> transparency;
    for (int i = 0; i < 6 && scene.Shown(); ++i) {
        transparency.push_back(scene.tip.GetTransparency());
        if (i > 0)
            steps.push_back(scene.TipPixel(inside.x, inside.y));
        scene.Pass(80, 80);
    }
    EXPECT_EQ(transparency, (std::vector<int>{0, 20, 40, 60, 80}));
    EXPECT_FALSE(scene.Shown());
    EXPECT_EQ(scene.tip.GetState(), CRichToolTip::State::Hidden);
    ASSERT_EQ(steps.size(), 5u);
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_NE(steps[i], steps[i - 1]) << "step " << i << " changed nothing";
    EXPECT_GT(Brightness(steps.back()), Brightness(steps.front())) << "towards what lay under the tip";
}

TEST(RichToolTipForms, ATipWithoutRoomUnderItsControlGoesAboveTheControl)
{
    CScene scene(400, 200);
    const auto saved = scene.Display().Monitors();
    scene.Display().SetMonitors({{RECT{0, 0, 800, 360}, RECT{0, 0, 800, 360}, true, L"short"}});
    HWND field = scene.Add(L"STATIC", L"field", SS_LEFT, RECT{10, 170, 110, 190}, 5);
    CZellTooltip wrapper;
    ASSERT_TRUE(wrapper.Create(&scene.parent));
    wrapper.AddTool(&scene.parent, 5, L"Line one\nLine two\nLine three", L"Header");
    scene.Display().InjectMouseMove(CScene::Screen(field, POINT{20, 8}));
    MSG msg{};
    for (int i = 0; i < 60; ++i) {
        Platform::Clock::Advance(10);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!wrapper.RelayEvent(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    CSuperTooltip& tip = *wrapper.Tooltip();
    ASSERT_TRUE(tip.IsWindowVisible());
    RECT control{};
    ::GetWindowRect(field, &control);
    RECT r{};
    ::GetWindowRect(tip.m_hWnd, &r);
    // The shadow (5 pixels) may reach the control; the tip itself does not.
    EXPECT_EQ(r.bottom, control.top + 1 + 5);
    tip.DestroyWindow();
    scene.Display().SetMonitors(saved);
}

} // namespace
