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
constexpr int kEditPlain = 150;
constexpr int kEditSelected = 151;
constexpr int kEditPassword = 152;
constexpr int kEditReadOnly = 153;
constexpr int kEditDisabled = 154;
constexpr int kList = 160;
constexpr int kListDisabled = 161;
constexpr int kComboList = 170;
constexpr int kComboEdit = 171;
constexpr int kComboDisabled = 172;
constexpr int kScrollHorz = 180;
constexpr int kScrollHorzDisabled = 181;
constexpr int kScrollVert = 182;
}

Ui::CDialogTemplate SampleDialogTemplate();
// Creates the dialog (modeless, shown and active at a fixed place on the
// screen) and puts its controls into their states; the focus is on the
// checked check box, one push button is held down, the edit that is not
// focused still shows its selection and every drop-down list is closed.
HWND CreateSampleDialog();

}
