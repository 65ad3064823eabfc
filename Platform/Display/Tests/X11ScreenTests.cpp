// The demo window on a real X server (a private Xvfb), driven with synthetic
// input, must look like the same window rendered by the headless display.

#include "X11DemoLayout.h"
#include "X11UiDemoLayout.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <string>
#include <thread>

#include "Platform/Display/X11Xlib.h"
// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

namespace {

using X11Test::CLines;
using X11Test::Comparison;
using X11Test::Compare;
using X11Test::Screenshot;

const std::string kOutput = ZELL_X11_OUTPUT_DIR;

// One demo program and what the test needs to know of its window.
struct DemoCase {
    std::string program;
    std::string name;  // prefix of the pictures left in the build folder
    POINT clientOrigin; // screen position of the client area
    SIZE clientSize;
    POINT click;        // screen point on the switch
    POINT switchProbe;  // client point inside the switch, away from its text
};

int Headless(const DemoCase& demo, const std::string& png, bool input)
{
    std::vector<std::string> argv{demo.program, "--headless", png};
    if (!input)
        argv.push_back("--no-input");
    return X11Test::RunWithDisplay("", argv, 20000);
}

void RunScreenCase(const DemoCase& demo)
{
    X11Test::CXvfbServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    XDisplay* display = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(display, nullptr);

    X11Test::CChildProcess child;
    ASSERT_TRUE(child.Start(server.Name(), {demo.program}));
    CLines lines(child);
    std::string ready;
    ASSERT_TRUE(lines.WaitFor("READY ", 10000, &ready));
    const Window window = std::strtoul(ready.c_str() + 6, nullptr, 10);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(lines.WaitFor("FOCUS", 5000));

    // The window sits where it asked to be, at its size: no window manager moves it.
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.x, demo.clientOrigin.x);
    EXPECT_EQ(attributes.y, demo.clientOrigin.y);
    EXPECT_EQ(attributes.width, demo.clientSize.cx);
    EXPECT_EQ(attributes.height, demo.clientSize.cy);
    EXPECT_EQ(attributes.map_state, IsViewable);

    ASSERT_EQ(X11Test::RunWithDisplay(server.Name(), {"xdotool", "mousemove", std::to_string(demo.click.x),
                                                      std::to_string(demo.click.y), "click", "1"}),
              0);
    ASSERT_TRUE(lines.WaitFor("CLICKED", 5000));
    ASSERT_EQ(X11Test::RunWithDisplay(server.Name(), {"xdotool", "key", "k"}), 0);
    ASSERT_TRUE(lines.WaitFor("KEY", 5000));
    // Out of the way, so that no cursor could ever be part of the picture.
    X11Test::RunWithDisplay(server.Name(), {"xdotool", "mousemove", "1000", "750"});

    // The key's repaint may still be on its way to the server.
    cairo_surface_t* shot = nullptr;
    // Per process: two runs of the test at once must not read each other's half-written files.
    const std::string stem = kOutput + "/" + demo.name + "-" + std::to_string(getpid());
    const std::string expectedPng = stem + "-headless.png";
    const std::string initialPng = stem + "-headless-initial.png";
    ASSERT_EQ(Headless(demo, expectedPng, true), 0);
    ASSERT_EQ(Headless(demo, initialPng, false), 0);
    cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPng.c_str());
    cairo_surface_t* initial = cairo_image_surface_create_from_png(initialPng.c_str());
    ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_status(initial), CAIRO_STATUS_SUCCESS);
    Comparison same;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (shot)
            cairo_surface_destroy(shot);
        shot = Screenshot(display, window);
        ASSERT_NE(shot, nullptr);
        same = Compare(shot, expected, 8);
        if (same.closeShare >= 0.99)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    cairo_surface_write_to_png(shot, (kOutput + "/" + demo.name + "-screen.png").c_str());

    // The user's close button: WM_DELETE_WINDOW ends the program.
    X11Test::RequestClose(display, window);
    EXPECT_TRUE(lines.WaitFor("CLOSED", 5000));
    EXPECT_EQ(child.Wait(5000), 0);
    XCloseDisplay(display);
    server.Stop();

    EXPECT_TRUE(same.sameSize);
    EXPECT_GE(same.closeShare, 0.99) << "see " << kOutput << "/" << demo.name << "-screen.png";
    // And the input did change what is shown: the switch and the texts.
    const Comparison before = Compare(shot, initial, 8);
    EXPECT_TRUE(before.sameSize);
    EXPECT_LT(before.closeShare, 0.95);
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(shot) +
                                                             demo.switchProbe.y * cairo_image_surface_get_stride(shot));
    const std::uint32_t green = row[demo.switchProbe.x];
    EXPECT_GT((green >> 8) & 0xFF, 150u);
    EXPECT_LT((green >> 16) & 0xFF, 80u);

    // The screenshot and the rendering it is compared with stay for a person to look at.
    cairo_surface_write_to_png(expected, (kOutput + "/" + demo.name + "-headless.png").c_str());
    std::remove(expectedPng.c_str());
    std::remove(initialPng.c_str());
    cairo_surface_destroy(initial);
    cairo_surface_destroy(expected);
    cairo_surface_destroy(shot);
}

}

// The back end alone: a cairo drawing that the program presents itself.
TEST(X11Screen, PresentedDrawingMatchesItsHeadlessRendering)
{
    DemoCase demo;
    demo.program = ZELL_X11_DEMO;
    demo.name = "x11-backend";
    demo.clientOrigin = {X11Demo::kWindowRect.left, X11Demo::kWindowRect.top};
    demo.clientSize = {X11Demo::Width(), X11Demo::Height()};
    demo.click = X11Demo::SwitchCentreOnScreen();
    demo.switchProbe = {(X11Demo::kSwitchRect.left + X11Demo::kSwitchRect.right) / 2, X11Demo::kSwitchRect.top + 5};
    RunScreenCase(demo);
}

#ifdef ZELL_X11_UI_DEMO
// The window layer on top: child windows painted through the drawing layer.
TEST(X11Screen, WindowLayerDemoMatchesItsHeadlessRendering)
{
    DemoCase demo;
    demo.program = ZELL_X11_UI_DEMO;
    demo.name = "x11-ui";
    demo.clientOrigin = {X11UiDemo::kClientOnScreen.left, X11UiDemo::kClientOnScreen.top};
    demo.clientSize = {X11UiDemo::kClientOnScreen.right - X11UiDemo::kClientOnScreen.left,
                       X11UiDemo::kClientOnScreen.bottom - X11UiDemo::kClientOnScreen.top};
    demo.click = X11UiDemo::SwitchCentreOnScreen();
    demo.switchProbe = {(X11UiDemo::kSwitchRect.left + X11UiDemo::kSwitchRect.right) / 2, X11UiDemo::kSwitchRect.top + 5};
    RunScreenCase(demo);
}
#endif
