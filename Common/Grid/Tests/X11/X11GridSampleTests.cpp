// The page grids on a real X server (a private Xvfb) must look like the same
// window on the headless display, whose picture the grid's own tests keep as
// a golden one.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

#include <string>

TEST(X11GridSample, ThePageGridsLookAsOnTheHeadlessDisplay)
{
    const std::string output = ZELL_X11_OUTPUT_DIR;
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(ZELL_X11_GRID_SAMPLE, output, "grid-pages");
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << output << "/grid-pages-screen.png";
}
