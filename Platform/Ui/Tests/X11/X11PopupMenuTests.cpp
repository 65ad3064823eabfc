// The owner-drawn sample pop-up menu on a real X server (a private Xvfb)
// must look like the same menu on the headless display.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"
#include "X11TestServer.h"

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string kOutput = ZELL_X11_OUTPUT_DIR;
const std::string kProgram = ZELL_X11_POPUP_MENU;

}

TEST(X11PopupMenu, AnOpenOwnerDrawnMenuLooksAsOnTheHeadlessDisplay)
{
    const std::string expectedPng = kOutput + "/popup-menu-" + std::to_string(getpid()) + "-headless.png";
    ASSERT_EQ(X11Test::RunWithDisplay("", {kProgram, "--headless", expectedPng}, 20000), 0);
    cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPng.c_str());
    ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS);

    X11Test::CXvfbServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    XDisplay* display = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(display, nullptr);
    X11Test::CChildProcess child;
    ASSERT_TRUE(child.Start(server.Name(), {kProgram}));
    X11Test::CLines lines(child);
    std::string ready;
    ASSERT_TRUE(lines.WaitFor("READY ", 10000, &ready));
    const Window window = std::strtoul(ready.c_str() + 6, nullptr, 10);
    ASSERT_NE(window, 0u);

    cairo_surface_t* shot = nullptr;
    const X11Test::Comparison same = X11Test::CaptureCloseTo(display, window, expected, shot);
    ASSERT_NE(shot, nullptr);
    cairo_surface_write_to_png(shot, (kOutput + "/popup-menu-screen.png").c_str());
    cairo_surface_write_to_png(expected, (kOutput + "/popup-menu-headless.png").c_str());
    std::remove(expectedPng.c_str());
    XCloseDisplay(display);

    EXPECT_TRUE(same.sameSize);
    EXPECT_GE(same.closeShare, 0.995) << "see " << kOutput << "/popup-menu-screen.png";
    cairo_surface_destroy(shot);
    cairo_surface_destroy(expected);
}
