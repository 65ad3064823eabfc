// The main dialog after a read on a real X server (a private Xvfb) must look
// like the same dialog on the headless display, whose picture the start
// tests keep as a golden one.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

#include <string>

namespace Corvane {

namespace {

// The dialog's raised edge: on a server without a window manager the window
// paints it inside itself, where the headless display draws it outside.
constexpr int kEdge = 2;

// The picture without its outer edge, as a surface of its own (the caller
// destroys it); null when the file cannot be read.
cairo_surface_t* Interior(const std::string& png)
{
    cairo_surface_t* whole = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(whole) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(whole);
        return nullptr;
    }
    const int width = cairo_image_surface_get_width(whole) - 2 * kEdge;
    const int height = cairo_image_surface_get_height(whole) - 2 * kEdge;
    cairo_surface_t* inner = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width > 0 ? width : 1, height > 0 ? height : 1);
    cairo_t* cr = cairo_create(inner);
    cairo_set_source_surface(cr, whole, -kEdge, -kEdge);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(whole);
    return inner;
}

}

TEST(X11CorvaneMainDialog, TheDialogAfterAReadLooksAsOnTheHeadlessDisplay)
{
    const std::string output = ZELL_X11_OUTPUT_DIR;
    const std::string name = "main-dialog-after-read";
    const X11Test::ScreenRun run =
        X11Test::CompareWithHeadless(ZELL_X11_CORVANE_MAIN_DIALOG, output, name, {"--after-read"});
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(run.same.sameSize);

    cairo_surface_t* screen = Interior(output + "/" + name + "-screen.png");
    cairo_surface_t* headless = Interior(output + "/" + name + "-headless.png");
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(headless, nullptr);
    const X11Test::Comparison inside = X11Test::Compare(screen, headless, 8);
    cairo_surface_destroy(screen);
    cairo_surface_destroy(headless);
    EXPECT_TRUE(inside.sameSize);
    EXPECT_GE(inside.closeShare, 0.995) << "see " << output << "/" << name << "-screen.png";
}

}  // namespace Corvane
