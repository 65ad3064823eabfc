#include "Common/Skin/AnimatedZellButton.h"

#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ControlsTestSupport.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Common/Skin/Tests/TestThemeHelper.h"

using namespace ZELL::Skin;

using ControlsTest::Area;
using ControlsTest::CScene;

namespace {

constexpr int kButton = 200;

class CListener : public IZellButtonHoverListener {
public:
    std::vector<std::string> calls;
    void OnHoverEnter(CZellButton*) override { calls.push_back("enter"); }
    void OnHoverLeave(CZellButton*) override { calls.push_back("leave"); }
};

}

TEST(ThemedButton, APresentThemePaintsTheFaceInTheButtonsStateWithoutBorder)
{
    CScene scene;
    CThemedButton button;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"", BS_DEFPUSHBUTTON, Area(10, 10, 40, 20), kButton));
    ControlsTest::CTestThemeHelper theme;
    button.SetThemeHelper(&theme);
    EXPECT_FALSE(button.GetDrawBorder());
    button.SendMessage(WM_ERASEBKGND, 0);
    ControlsTest::CCanvas canvas(40, 20);
    // The test theme paints part 1 with the state x 40 as green.
    ControlsTest::DrawInto(button, canvas, 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(1, CThemedButton::kStateDefaulted * 40, 0x10));
    ControlsTest::DrawInto(button, canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.At(0, 0), RGB(1, CThemedButton::kStatePressed * 40, 0x10));
    ControlsTest::DrawInto(button, canvas, ODS_DISABLED);
    EXPECT_EQ(canvas.At(39, 19), RGB(1, CThemedButton::kStateDisabled * 40, 0x10));
    // Flat under the theme: the tool-bar part, and a default look only with a border.
    button.SetThemedFlat(TRUE);
    ControlsTest::DrawInto(button, canvas, 0);
    EXPECT_EQ(canvas.At(5, 5), RGB(1, CThemedButton::kStateNormal * 40, 0x20));
    EXPECT_GT(theme.ParentBackgrounds(), 0);
    EXPECT_EQ(theme.OpenCount(), 0);

    // Without a theme the classic face and border come back.
    button.SetThemeHelper(nullptr);
    EXPECT_TRUE(button.GetDrawBorder());
    button.SetFlat(FALSE);
    ControlsTest::DrawInto(button, canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(ZellButton, WithoutAThemeSetupMakesTheButtonFlatAndTransparent)
{
    CScene scene;
    CZellButton button;
    EXPECT_FALSE(button.IsFlat());
    EXPECT_FALSE(button.IsTransparent());
    ASSERT_TRUE(scene.Attach(button, L"Button", L"Go", 0, Area(10, 10, 80, 30), kButton));
    button.Setup(ControlsTest::kDiscIcon, 0, 16, ControlsTest::kTipText, TRUE, CSkinButton::kIconLeft);
    EXPECT_TRUE(button.IsFlat());
    EXPECT_TRUE(button.IsTransparent());
    EXPECT_EQ(button.GetLeftOffset(), 8);
    EXPECT_EQ(button.GetIconAlign(), CSkinButton::kIconLeft);
    EXPECT_NE(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1);

    button.SetupIconNoBorder(ControlsTest::kDiscIcon, 0, 16);
    EXPECT_EQ(button.GetLeftOffset(), 0);
    EXPECT_EQ(button.GetAlign(), CSkinButton::kAlignLeft);
    button.SetupSquareIcon(ControlsTest::kBarIcon, 0, 16);
    EXPECT_EQ(button.GetIconAlign(), CSkinButton::kIconAbove);
    button.SizeToContent();
    CRect client;
    button.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 16);
    EXPECT_EQ(client.Height(), 16);
}

TEST(ZellButton, TheHoverListenerHearsEnterAndLeave)
{
    CScene scene;
    CZellButton button;
    CListener listener;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"Go", 0, Area(10, 10, 80, 30), kButton));
    button.Setup(0, 0, 16, 0, TRUE, CSkinButton::kIconLeft);
    button.SetHoverListener(&listener);
    scene.MoveTo(button.m_hWnd, {10, 10});
    scene.MoveTo(scene.parent.m_hWnd, {250, 150});
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"enter", "leave"}));
}

TEST(AnimatedZellButton, FramesRunFromTheSecondAndStopOnTheFirst)
{
    CScene scene;
    CAnimatedZellButton button;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"", 0, Area(10, 10, 40, 40), kButton));
    static const int frames[] = {ControlsTest::kDiscIcon, ControlsTest::kDiamondIcon, ControlsTest::kBarIcon, 0};
    button.SetAnimation(frames);
    EXPECT_EQ(button.GetShownFrame(), ControlsTest::kDiscIcon);
    button.StartAnimation(TRUE, 100);
    ASSERT_TRUE(button.IsAnimating());
    std::vector<int> shown;
    for (int tick = 0; tick < 6; ++tick) {
        scene.Wait(100);
        shown.push_back(button.GetShownFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{ControlsTest::kDiamondIcon, ControlsTest::kBarIcon, ControlsTest::kBarIcon,
                                       ControlsTest::kDiamondIcon, ControlsTest::kBarIcon, ControlsTest::kBarIcon}));
    button.StartAnimation(FALSE, 100);
    EXPECT_FALSE(button.IsAnimating());
    EXPECT_EQ(button.GetShownFrame(), ControlsTest::kDiscIcon);
    scene.Wait(300);
    EXPECT_EQ(button.GetShownFrame(), ControlsTest::kDiscIcon);
}

TEST(AnimatedZellButton, TimerIdsAreTheButtonsOwnAndNeverTheRepeatTimer)
{
    CScene scene;
    CAnimatedZellButton first;
    CAnimatedZellButton second;
    ASSERT_TRUE(scene.Attach(first, L"Button", L"", 0, Area(10, 10, 40, 40), kButton));
    ASSERT_TRUE(scene.Attach(second, L"Button", L"", 0, Area(60, 10, 40, 40), kButton + 1));
    static const int frames[] = {ControlsTest::kDiscIcon, ControlsTest::kBarIcon, 0};
    first.SetAnimation(frames);
    second.SetAnimation(frames);
    first.StartAnimation(TRUE, 50);
    second.StartAnimation(TRUE, 50);
    const UINT_PTR id = first.GetAnimationTimerId();
    EXPECT_GE(id, 2u);
    EXPECT_NE(second.GetAnimationTimerId(), id);
    first.StopAnimation();
    first.StartAnimation(TRUE, 50);
    EXPECT_EQ(first.GetAnimationTimerId(), id);
    // Destroying the window ends its timer.
    first.DestroyWindow();
    EXPECT_FALSE(first.IsAnimating());
    second.StopAnimation();
}

TEST(AnimatedZellButton, AListWithoutFramesIsNoAnimation)
{
    CScene scene;
    CAnimatedZellButton button;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"", 0, Area(10, 10, 40, 40), kButton));
    static const int empty[] = {0};
    button.SetAnimation(empty);
    button.StartAnimation(TRUE, 50);
    EXPECT_FALSE(button.IsAnimating());
    EXPECT_EQ(button.GetShownFrame(), 0);
    static const int single[] = {ControlsTest::kDiscIcon, 0};
    button.SetAnimation(single);
    button.StartAnimation(TRUE, 50);
    scene.Wait(200);
    EXPECT_EQ(button.GetShownFrame(), ControlsTest::kDiscIcon);
    button.StopAnimation();
}
