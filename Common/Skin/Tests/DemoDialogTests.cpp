// The demonstration window of the skinned controls against its golden pictures.
#include "Common/Skin/Tests/DemoDialog.h"

#include "Common/Skin/Tests/ControlsTestSupport.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <filesystem>

namespace {

void ExpectGolden(HWND window, const std::string& name)
{
    namespace fs = std::filesystem;
    UpdateWindow(window);
    UiTest::Drain();
    const fs::path outputs = ZELL_CONTROLS_OUTPUT_DIR;
    fs::create_directories(outputs);
    const fs::path shown = outputs / (name + ".png");
    ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(window), shown.string()));
    EXPECT_TRUE(UiTest::MatchesGolden(shown.string(), name, ZELL_CONTROLS_GOLDEN_DIR));
}

}

TEST(DemoDialog, EveryControlInItsStateLooksAsKept)
{
    Platform::ManualClockScope clock(30000000);
    ControlsTest::CDemoDialog demo;
    ASSERT_TRUE(demo.Create(100, 100));
    UiTest::Drain();
    ExpectGolden(demo.m_hWnd, "demo-dialog");
    demo.DestroyWindow();
    UiTest::Drain();
}

TEST(DemoDialog, HoverFocusAnimationAndStepsLookAsKept)
{
    Platform::ManualClockScope clock(30000000);
    ControlsTest::CDemoDialog demo;
    ASSERT_TRUE(demo.Create(100, 100));
    UiTest::Drain();
    POINT over{20, 10};
    ClientToScreen(demo.flat.m_hWnd, &over);
    UiTest::Headless().InjectMouseMove(over);
    demo.plain.SetFocus();
    demo.animated.StartAnimation(TRUE, 100);
    Platform::Clock::Advance(100);
    UiTest::Drain();
    demo.busy.Step();
    demo.fill.Step();
    demo.label.FlashText(TRUE);
    UiTest::Drain();
    ExpectGolden(demo.m_hWnd, "demo-dialog-active");
    demo.animated.StopAnimation();
    demo.DestroyWindow();
    UiTest::Drain();
}
