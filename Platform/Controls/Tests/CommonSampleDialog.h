#pragma once
// A dialog of the common controls in the states a person sees them in: a
// report list sorted by a column (the arrow in its header) with a selected
// row, stacked tab rows, an IP address, a date picker with its calendar
// open, and a balloon tip with a title pointing at the address. The headless
// golden test and the X11 screen test both show it.
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/WinUser.h"

namespace ControlTest {

namespace CommonSampleIds {
constexpr int kList = 200;
constexpr int kTabs = 201;
constexpr int kAddress = 202;
constexpr int kPicker = 203;
}

struct CommonSample {
    HWND dialog = nullptr;
    HWND calendar = nullptr;  // the picker's open drop-down
    HWND balloon = nullptr;
};

Ui::CDialogTemplate CommonSampleTemplate();
// Creates the dialog (modeless, shown and active at a fixed place, the C
// conventions for dates), fills it, opens the calendar on a fixed "today"
// and shows the balloon. Destroy with DestroyCommonSample.
CommonSample CreateCommonSample();
void DestroyCommonSample(CommonSample& sample);

}
