#pragma once
// A dialog with every standard control in each of its states, made from a
// template in dialog units: the headless golden test and the X11 screen
// test both show it.
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/WinUser.h"

namespace ControlTest {

namespace SampleIds {
constexpr int kDefault = 1;  // IDOK
constexpr int kPush = 2;     // IDCANCEL
constexpr int kPushDisabled = 100;
constexpr int kPushPressed = 101;
constexpr int kCheckOn = 110;
constexpr int kCheckOff = 111;
constexpr int kThreeState = 112;
constexpr int kCheckDisabled = 113;
constexpr int kRadioFirst = 120;
constexpr int kRadioSecond = 121;
constexpr int kRadioDisabled = 122;
constexpr int kProgressBlocks = 130;
constexpr int kProgressSmooth = 131;
constexpr int kProgressDisabled = 132;
constexpr int kBuddy = 140;
constexpr int kSpin = 141;
constexpr int kSpinDisabled = 142;
}

Ui::CDialogTemplate SampleDialogTemplate();
// Creates the dialog (modeless, shown and active at a fixed place on the
// screen) and puts its controls into their states; the focus is on the
// checked check box, one push button is held down.
HWND CreateSampleDialog();

}
