// The library's dialogs on a real X server (a private Xvfb) must look like
// the same dialogs on the headless display.

#include <gtest/gtest.h>

// After the test framework, whose names the X headers' macros would spoil.
#include "X11ScreenCapture.h"

namespace {

void ExpectSameOnScreen(const char* option, const std::string& name)
{
    const std::string output = ZELL_X11_OUTPUT_DIR;
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(ZELL_X11_TESSEL_DIALOGS, output, name, {option});
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << output << "/" << name << "-screen.png";
}

}

TEST(X11TesselDialogs, TheAboutDialogLooksAsOnTheHeadlessDisplay)
{
    ExpectSameOnScreen("--about", "about-dialog");
}

TEST(X11TesselDialogs, TheMessageBoxLooksAsOnTheHeadlessDisplay)
{
    ExpectSameOnScreen("--message-box", "message-box");
}
