// The super tip on a real X server (a private Xvfb) must look like the same
// tip on the headless display, and that like the kept golden picture.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

TEST(X11SuperTip, TheTipLooksAsOnTheHeadlessDisplayAndAsKept)
{
    const std::string output = ZELL_X11_OUTPUT_DIR;
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(ZELL_X11_SUPER_TIP, output, "super-tip");
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << output << "/super-tip-screen.png";

    cairo_surface_t* headless = cairo_image_surface_create_from_png((output + "/super-tip-headless.png").c_str());
    cairo_surface_t* golden = cairo_image_surface_create_from_png(ZELL_X11_SUPER_TIP_GOLDEN);
    const X11Test::Comparison kept = X11Test::Compare(headless, golden, 8);
    cairo_surface_destroy(headless);
    cairo_surface_destroy(golden);
    EXPECT_TRUE(kept.sameSize);
    EXPECT_GE(kept.closeShare, 0.995);
}
