// The connection-settings dialog with each form, and the scan dialog with
// its results, on a real X server (a private Xvfb) must look like the same
// dialogs on the headless display.

#include <gtest/gtest.h>

#include "Common/Tessel/Tests/X11/ScreenComparison.h"

TEST(X11PelorusDialogs, TheSettingsDialogWithItsNetworkFormLooksAsOnTheHeadlessDisplay)
{
    ScreenTest::ExpectSameOnScreen(ZELL_X11_PELORUS_DIALOGS, ZELL_X11_OUTPUT_DIR, "--settings-tcpip", "settings-tcpip");
}

TEST(X11PelorusDialogs, TheSettingsDialogWithItsSerialFormLooksAsOnTheHeadlessDisplay)
{
    ScreenTest::ExpectSameOnScreen(ZELL_X11_PELORUS_DIALOGS, ZELL_X11_OUTPUT_DIR, "--settings-rs232", "settings-rs232");
}

TEST(X11PelorusDialogs, TheScanDialogWithTheDevicesItFoundLooksAsOnTheHeadlessDisplay)
{
    ScreenTest::ExpectSameOnScreen(ZELL_X11_PELORUS_DIALOGS, ZELL_X11_OUTPUT_DIR, "--scan", "scan-results");
}
