// The sample dialogs and the sample property sheet on a real X server (a
// private Xvfb) must look like the same windows on the headless display,
// frame aside.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"
#include "X11TestServer.h"

#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const std::string kOutput = ZELL_X11_OUTPUT_DIR;
const std::string kProgram = ZELL_X11_SAMPLE_DIALOG;

// The window's screenshot once it matches the expected picture (the last
// repaints may still be on their way to the server), or the last one taken;
// both are kept as <name>-screen.png and <name>-headless.png to look at.
X11Test::Comparison CompareWithShot(XDisplay* display, Window window, cairo_surface_t* expected, const std::string& name)
{
    cairo_surface_t* shot = nullptr;
    const X11Test::Comparison same = X11Test::CaptureCloseTo(display, window, expected, shot);
    if (shot != nullptr) {
        cairo_surface_write_to_png(shot, (kOutput + "/" + name + "-screen.png").c_str());
        cairo_surface_destroy(shot);
    }
    cairo_surface_write_to_png(expected, (kOutput + "/" + name + "-headless.png").c_str());
    return same;
}

std::vector<Window> WindowsOf(const std::string& ready)
{
    std::istringstream words(ready.substr(6));
    std::vector<Window> windows;
    for (unsigned long id = 0; words >> id;)
        windows.push_back(id);
    return windows;
}

// Runs the sample program (with `options`) headless and on Xvfb and
// compares the two pictures of its one window.
void ExpectSameOnScreen(const std::string& name, const std::vector<std::string>& options)
{
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(kProgram, kOutput, name, options);
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << kOutput << "/" << name << "-screen.png";
}

}

TEST(X11SampleDialog, EveryControlLooksAsOnTheHeadlessDisplay)
{
    ExpectSameOnScreen("sample-dialog", {});
}

TEST(X11SampleDialog, ThePropertySheetLooksAsOnTheHeadlessDisplay)
{
    ExpectSameOnScreen("sample-sheet", {"--sheet"});
}

TEST(X11SampleDialog, TheCommonControlsWithTheOpenCalendarAndTheBalloonLookAsOnTheHeadlessDisplay)
{
    const std::string prefix = kOutput + "/common-sample-" + std::to_string(getpid());
    ASSERT_EQ(X11Test::RunWithDisplay("", {kProgram, "--common", "--headless", prefix}, 20000), 0);
    const std::vector<std::string> names = {"common-sample-dialog", "common-sample-calendar", "common-sample-balloon"};
    const std::vector<std::string> suffixes = {"-dialog.png", "-calendar.png", "-balloon.png"};

    X11Test::CXvfbServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    XDisplay* display = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(display, nullptr);
    X11Test::CChildProcess child;
    ASSERT_TRUE(child.Start(server.Name(), {kProgram, "--common"}));
    X11Test::CLines lines(child);
    std::string ready;
    ASSERT_TRUE(lines.WaitFor("READY ", 10000, &ready));
    const std::vector<Window> windows = WindowsOf(ready);
    ASSERT_EQ(windows.size(), 3u) << ready;

    std::vector<X11Test::Comparison> results;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::string expectedPng = prefix + suffixes[i];
        cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPng.c_str());
        EXPECT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS) << expectedPng;
        results.push_back(CompareWithShot(display, windows[i], expected, names[i]));
        cairo_surface_destroy(expected);
        std::remove(expectedPng.c_str());
    }

    X11Test::RequestClose(display, windows.front());
    EXPECT_TRUE(lines.WaitFor("CLOSED", 5000));
    EXPECT_EQ(child.Wait(5000), 0);
    XCloseDisplay(display);
    server.Stop();

    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_TRUE(results[i].sameSize) << names[i];
        EXPECT_GE(results[i].closeShare, 0.995) << "see " << kOutput << "/" << names[i] << "-screen.png";
    }
}
