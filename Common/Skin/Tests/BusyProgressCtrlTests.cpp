#include "Common/Skin/BusyProgressCtrl.h"

#include "Common/Skin/Tests/ControlsTestSupport.h"

#include <chrono>
#include <memory>
#include <thread>

using namespace ZELL::Skin;

using ControlsTest::Area;
using ControlsTest::CScene;

namespace {

constexpr int kBusy = 400;

std::vector<int> Steps(CBusyProgressCtrl& control, int count)
{
    std::vector<int> positions;
    for (int i = 0; i < count; ++i) {
        control.Step();
        positions.push_back(control.GetPosition());
    }
    return positions;
}

}

TEST(BusyProgressSteps, BackAndForthTurnsAtBothEnds)
{
    CBusyProgressCtrl control(10, 0);
    EXPECT_EQ(Steps(control, 20),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2}));
}

TEST(BusyProgressSteps, RoundMotionsWrapAtTheEnd)
{
    CBusyProgressCtrl forward(10, 7);
    forward.SetMotion(CBusyProgressCtrl::kForwardRound);
    EXPECT_EQ(Steps(forward, 4), (std::vector<int>{8, 9, 0, 1}));

    CBusyProgressCtrl backward(10, 2);
    backward.SetMotion(CBusyProgressCtrl::kBackwardRound);
    EXPECT_EQ(backward.GetDirection(), -1);
    EXPECT_EQ(Steps(backward, 4), (std::vector<int>{1, 0, 9, 8}));
    backward.ResetPosition();
    EXPECT_EQ(backward.GetPosition(), 10);
    EXPECT_EQ(Steps(backward, 1), (std::vector<int>{9}));
}

TEST(BusyProgressSteps, TheFillStyleStepsThroughSubSteps)
{
    CBusyProgressCtrl control(4, 0);
    control.SetBusyStyle(CBusyProgressCtrl::kGrowingFill);
    EXPECT_EQ(control.GetFillPositions(), 20);
    control.SetMotion(CBusyProgressCtrl::kForwardRound);
    const auto positions = Steps(control, 21);
    EXPECT_EQ(positions[18], 19);
    EXPECT_EQ(positions[19], 0);
    control.SetPosition(7);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 1.4);
    control.SetSubSteps(0);  // counts as one
    EXPECT_EQ(control.GetFillPositions(), 4);
}

TEST(BusyProgressSteps, ProgressIsMeasuredFromTheLowerBoundAndClamped)
{
    CBusyProgressCtrl control(10, 0);
    control.SetMode(CBusyProgressCtrl::kProgress);
    control.SetRange(0, 100);
    control.SetPosition(50);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 5.0);
    control.SetRange(100, 200);
    control.SetPosition(150);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 5.0);
    control.SetPosition(50);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 0.0);
    control.SetPosition(500);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 10.0);
    control.SetRange(30, 30);
    EXPECT_DOUBLE_EQ(control.FilledBlocks(), 0.0);
    // In progress mode a step only moves by the direction.
    control.SetPosition(3);
    EXPECT_EQ(Steps(control, 2), (std::vector<int>{4, 5}));
    // An unknown mode is not taken.
    control.SetMode(7);
    EXPECT_EQ(control.GetMode(), CBusyProgressCtrl::kProgress);
}

TEST(BusyProgressSteps, ZeroBlocksCountAsOne)
{
    CBusyProgressCtrl control(0, 0);
    EXPECT_EQ(control.GetNumberOfBlocks(), 1);
    control.SetNumberOfBlocks(-3);
    EXPECT_EQ(control.GetNumberOfBlocks(), 1);
}

class BusyProgressWindow : public ::testing::Test {
protected:
    CScene scene{300, 100};
    CBusyProgressCtrl control{10, 0};

    void SetUp() override
    {
        ASSERT_TRUE(control.Create(WS_CHILD | WS_VISIBLE, Area(10, 10, 109, 20), &scene.parent, kBusy));
        control.SetBackgroundColor(RGB(255, 255, 255));
        control.SetBlockFillColor(RGB(0, 0, 200));
        control.SetHighlightFillColor(RGB(200, 0, 0));
        control.SetBlockOutlineColor(RGB(0, 0, 0));
        control.SetHighlightOutlineColor(RGB(0, 0, 0));
    }
    COLORREF BlockCentre(int block) const
    {
        const int x = static_cast<int>(block * (control.GetBlockWidth() + 1) + control.GetBlockWidth() / 2);
        control.GetSafeHwnd();
        InvalidateRect(control.GetSafeHwnd(), nullptr, FALSE);
        return scene.PixelOf(control.GetSafeHwnd(), {x, 10});
    }
};

TEST_F(BusyProgressWindow, TheLayoutSplitsTheWidthIntoBlocksAndGaps)
{
    CString text;
    control.GetWindowText(text);
    EXPECT_EQ(text, CString(L"BusyProgressCtrl"));
    EXPECT_DOUBLE_EQ(control.GetBlockWidth(), 9.9);
    EXPECT_EQ(control.GetBlockHeight(), 20);
    control.SendMessage(CBusyProgressCtrl::kSetGap, 0);
    EXPECT_DOUBLE_EQ(control.GetBlockWidth(), 10.9);
    control.SendMessage(CBusyProgressCtrl::kSetBlocks, 5);
    EXPECT_EQ(control.GetNumberOfBlocks(), 5);
}

TEST_F(BusyProgressWindow, TheSingleBlockShowsThePosition)
{
    control.SendMessage(CBusyProgressCtrl::kSetPosition, 3);
    EXPECT_EQ(BlockCentre(3), RGB(200, 0, 0));
    EXPECT_EQ(BlockCentre(2), RGB(0, 0, 200));
    EXPECT_EQ(BlockCentre(4), RGB(0, 0, 200));
}

TEST_F(BusyProgressWindow, ProgressHighlightsTheFilledBlocks)
{
    control.SendMessage(CBusyProgressCtrl::kSetMode, CBusyProgressCtrl::kProgress);
    control.SendMessage(CBusyProgressCtrl::kSetRange, 0, 100);
    control.SendMessage(CBusyProgressCtrl::kSetPosition, 50);
    for (int block = 0; block < 5; ++block)
        EXPECT_EQ(BlockCentre(block), RGB(200, 0, 0)) << block;
    for (int block = 5; block < 10; ++block)
        EXPECT_EQ(BlockCentre(block), RGB(0, 0, 200)) << block;
    // An empty range highlights nothing.
    control.SendMessage(CBusyProgressCtrl::kSetRange, 10, 10);
    EXPECT_EQ(BlockCentre(0), RGB(0, 0, 200));
}

TEST_F(BusyProgressWindow, APartialBlockShowsTheRestOfTheFill)
{
    control.SendMessage(CBusyProgressCtrl::kSetBlocks, 4);
    control.SendMessage(CBusyProgressCtrl::kSetBusyStyle, CBusyProgressCtrl::kGrowingFill);
    control.SendMessage(CBusyProgressCtrl::kSetPosition, 7);
    const double width = control.GetBlockWidth();
    InvalidateRect(control.GetSafeHwnd(), nullptr, FALSE);
    const int secondLeft = static_cast<int>(width + 1);
    EXPECT_EQ(scene.PixelOf(control.GetSafeHwnd(), {secondLeft + 2, 10}), RGB(200, 0, 0));
    EXPECT_EQ(scene.PixelOf(control.GetSafeHwnd(), {secondLeft + static_cast<int>(width) - 3, 10}), RGB(0, 0, 200));
}

TEST_F(BusyProgressWindow, TheAnimationStepsOnItsOwnThreadAndStops)
{
    control.SendMessage(CBusyProgressCtrl::kSetInterval, 5);
    control.SendMessage(CBusyProgressCtrl::kStart);
    ASSERT_TRUE(control.IsRunning());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (control.GetPosition() < 3 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GE(control.GetPosition(), 3);
    control.SendMessage(CBusyProgressCtrl::kStop);
    EXPECT_FALSE(control.IsRunning());
    const int stopped = control.GetPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(control.GetPosition(), stopped);
    UiTest::Drain();
}

TEST_F(BusyProgressWindow, AStopRightAfterAStartLeavesNoThread)
{
    for (int i = 0; i < 50; ++i) {
        control.Start();
        control.Stop();
        ASSERT_FALSE(control.IsRunning());
    }
    // A second start while running replaces the thread.
    control.Start();
    control.Start();
    EXPECT_TRUE(control.IsRunning());
    control.Stop();
    EXPECT_FALSE(control.IsRunning());
    // Progress mode has no animation.
    control.SetMode(CBusyProgressCtrl::kProgress);
    control.Start();
    EXPECT_FALSE(control.IsRunning());
}

TEST(BusyProgressLifetime, StartStopAndDestroyAThousandTimes)
{
    CScene scene(300, 60);
    for (int i = 0; i < 1000; ++i) {
        auto control = std::make_unique<CBusyProgressCtrl>(8, 0);
        ASSERT_TRUE(control->Create(WS_CHILD | WS_VISIBLE, Area(0, 0, 80, 10), &scene.parent, kBusy));
        control->SetInterval(1);
        control->Start();
        if (i % 3 == 0)
            control->Stop();
        if (i % 3 == 1)
            control->DestroyWindow();
        // The rest goes with the running thread: the destructor ends it.
        control.reset();
        if (i % 50 == 0)
            UiTest::Drain();
    }
    UiTest::Drain();
}
