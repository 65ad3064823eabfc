#pragma once
// A property sheet of two pages, the first changed: the headless golden test
// and the X11 screen test both show it.
#include "Platform/Ui/WinUser.h"

namespace ControlTest {

namespace SampleSheetIds {
constexpr int kAddress = 301;
constexpr int kVerbose = 302;
constexpr int kName = 321;
}

// Creates the sheet (modeless, shown and active at a fixed place on the
// screen) with the first page's address filled in and Apply enabled.
HWND CreateSampleSheet();

}
