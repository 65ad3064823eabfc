// The demonstration window of the skinned controls on a real X server (a
// private Xvfb) must look like the same window on the headless display.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

TEST(X11DemoDialog, EverySkinnedControlLooksAsOnTheHeadlessDisplay)
{
    const std::string output = ZELL_X11_OUTPUT_DIR;
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(ZELL_X11_DEMO_DIALOG, output, "demo-dialog");
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << output << "/demo-dialog-screen.png";
}
