// The library's dialogs on a real X server (a private Xvfb) must look like
// the same dialogs on the headless display.

#include <gtest/gtest.h>

#include "Common/Tessel/Tests/X11/ScreenComparison.h"

TEST(X11TesselDialogs, TheAboutDialogLooksAsOnTheHeadlessDisplay)
{
    ScreenTest::ExpectSameOnScreen(ZELL_X11_TESSEL_DIALOGS, ZELL_X11_OUTPUT_DIR, "--about", "about-dialog");
}

TEST(X11TesselDialogs, TheMessageBoxLooksAsOnTheHeadlessDisplay)
{
    ScreenTest::ExpectSameOnScreen(ZELL_X11_TESSEL_DIALOGS, ZELL_X11_OUTPUT_DIR, "--message-box", "message-box");
}
