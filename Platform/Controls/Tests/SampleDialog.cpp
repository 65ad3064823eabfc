#include "SampleDialog.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/StandardControls.h"
#include "TemplateItems.h"

#include <initializer_list>
#include <vector>

namespace ControlTest {

namespace {

using namespace SampleIds;

constexpr DWORD kEditStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kListStyle = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
constexpr DWORD kComboStyle = WS_TABSTOP;

Ui::DialogItemTemplate Edit(const wchar_t* text, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Item(Ui::NameOrOrdinal::Ordinal(Ui::kClassEdit), text, id, style, x, y, cx, cy);
}

void Fill(HWND control, UINT add, std::initializer_list<const wchar_t*> texts)
{
    for (const wchar_t* text : texts)
        SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(text));
}

void FillListsAndCombos(HWND dialog)
{
    for (int id : {kList, kListDisabled})
        Fill(GetDlgItem(dialog, id), LB_ADDSTRING, {L"Ethernet", L"Serial line", L"Modem", L"Fibre"});
    SendDlgItemMessageW(dialog, kList, LB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, kListDisabled, LB_SETCURSEL, 2, 0);
    for (int id : {kComboList, kComboEdit, kComboDisabled}) {
        Fill(GetDlgItem(dialog, id), CB_ADDSTRING, {L"Ethernet", L"Serial line", L"Modem"});
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, 0, 0);
    }
    SetDlgItemTextW(dialog, kComboEdit, L"Typed text");
}

void SetScrollBars(HWND dialog)
{
    for (int id : {kScrollHorz, kScrollHorzDisabled, kScrollVert})
        SetScrollRange(GetDlgItem(dialog, id), SB_CTL, 0, 100, FALSE);
    SetScrollPos(GetDlgItem(dialog, kScrollHorz), SB_CTL, 30, TRUE);
    SetScrollPos(GetDlgItem(dialog, kScrollHorzDisabled), SB_CTL, 60, TRUE);
    SetScrollPos(GetDlgItem(dialog, kScrollVert), SB_CTL, 50, TRUE);
}

}

Ui::CDialogTemplate SampleDialogTemplate()
{
    Ui::CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_ABSALIGN;
    dt.x = 60;
    dt.y = 40;
    dt.cx = 276;
    dt.cy = 297;
    dt.caption = L"Every control";
    dt.pointSize = 8;
    dt.faceName = L"MS Shell Dlg";
    dt.items = {
        // Texts in their alignments, disabled, and the shapes.
        Static(L"&Left aligned text", SS_LEFT, 7, 7, 80, 8),
        Static(L"Centred", SS_CENTER, 90, 7, 60, 8),
        Static(L"Right aligned", SS_RIGHT, 153, 7, 60, 8),
        Static(L"Disabled text", SS_LEFT | WS_DISABLED, 216, 7, 53, 8),
        Static(L"A sunken label that wraps onto a second line", SS_LEFT | SS_SUNKEN, 7, 19, 120, 18),
        Static(L"", SS_ETCHEDHORZ, 133, 22, 136, 1),
        Static(L"", SS_BLACKFRAME, 133, 28, 20, 10),
        Static(L"", SS_GRAYRECT, 158, 28, 20, 10),
        Static(L"", SS_ETCHEDFRAME, 183, 28, 20, 10),
        Static(L"Path: C:\\Very\\Long\\Folder\\Name\\settings.xml", SS_LEFT | SS_PATHELLIPSIS, 208, 28, 61, 8),
        // Check boxes in the group box on the left.
        Button(L"&Options", -1, BS_GROUPBOX, 7, 42, 126, 68),
        Button(L"&Checked", kCheckOn, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 54, 110, 10),
        Button(L"&Unchecked", kCheckOff, BS_AUTOCHECKBOX | WS_TABSTOP, 14, 67, 110, 10),
        Button(L"&Indeterminate", kThreeState, BS_AUTO3STATE | WS_TABSTOP, 14, 80, 110, 10),
        Button(L"Checked, disabled", kCheckDisabled, BS_AUTOCHECKBOX | WS_DISABLED, 14, 93, 110, 10),
        // Radio buttons in the group box on the right.
        Button(L"&Mode", -1, BS_GROUPBOX, 140, 42, 129, 68),
        Button(L"&First mode", kRadioFirst, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 147, 54, 110, 10),
        Button(L"&Second mode", kRadioSecond, BS_AUTORADIOBUTTON, 147, 67, 110, 10),
        Button(L"Third, disabled", kRadioDisabled, BS_AUTORADIOBUTTON | WS_DISABLED, 147, 80, 110, 10),
        // Progress bars: blocks, smooth, disabled.
        Static(L"Progress:", SS_LEFT, 7, 118, 40, 8),
        Common(L"msctls_progress32", kProgressBlocks, WS_BORDER, 50, 117, 100, 10),
        Common(L"msctls_progress32", kProgressSmooth, WS_BORDER | PBS_SMOOTH, 50, 131, 100, 10),
        Common(L"msctls_progress32", kProgressDisabled, WS_BORDER | WS_DISABLED, 50, 145, 100, 10),
        // Up-down with its buddy, and a disabled one.
        Static(L"Count:", SS_LEFT, 160, 118, 30, 8),
        Static(L"0", SS_RIGHT | SS_SUNKEN, 193, 116, 40, 12, kBuddy),
        Common(L"msctls_updown32", kSpin, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0, 0, 11,
               12),
        Common(L"msctls_updown32", kSpinDisabled, WS_DISABLED, 193, 133, 11, 14),
        // Edits: plain, a selection shown without the focus, password, read-only, disabled.
        Static(L"&Edit:", SS_LEFT, 7, 164, 40, 8),
        Edit(L"Plain text", kEditPlain, kEditStyle | WS_GROUP, 50, 162, 100, 12),
        Edit(L"Selected words", kEditSelected, kEditStyle | ES_NOHIDESEL, 50, 177, 100, 12),
        Edit(L"secret", kEditPassword, kEditStyle | ES_PASSWORD, 50, 192, 100, 12),
        Edit(L"Read only", kEditReadOnly, kEditStyle | ES_READONLY, 50, 207, 100, 12),
        Edit(L"Disabled", kEditDisabled, kEditStyle | WS_DISABLED, 50, 222, 100, 12),
        // List boxes with a selected item, the second one disabled, and a vertical scroll bar.
        Predefined(Ui::kClassListBox, kList, kListStyle | WS_GROUP, 160, 162, 50, 40),
        Predefined(Ui::kClassListBox, kListDisabled, kListStyle | WS_DISABLED, 214, 162, 40, 40),
        Predefined(Ui::kClassScrollBar, kScrollVert, SBS_VERT, 259, 162, 10, 40),
        // Combo boxes, all closed: a drop-down list, a drop-down with its edit, a disabled one.
        Predefined(Ui::kClassComboBox, kComboList, kComboStyle | CBS_DROPDOWNLIST | WS_GROUP, 160, 208, 109, 60),
        Predefined(Ui::kClassComboBox, kComboEdit, kComboStyle | CBS_DROPDOWN | CBS_AUTOHSCROLL, 160, 224, 109, 60),
        Predefined(Ui::kClassComboBox, kComboDisabled, kComboStyle | CBS_DROPDOWNLIST | WS_DISABLED, 160, 240, 109, 60),
        // Horizontal scroll bars, the second one disabled.
        Static(L"Scroll:", SS_LEFT, 7, 243, 40, 8),
        Predefined(Ui::kClassScrollBar, kScrollHorz, SBS_HORZ | WS_GROUP, 50, 242, 100, 10),
        Predefined(Ui::kClassScrollBar, kScrollHorzDisabled, SBS_HORZ | WS_DISABLED, 50, 256, 100, 10),
        // Push buttons: one held down, the default, a plain one and a disabled one.
        Button(L"&Pressed", kPushPressed, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 7, 276, 50, 14),
        Button(L"OK", kDefault, BS_DEFPUSHBUTTON | WS_TABSTOP, 102, 276, 50, 14),
        Button(L"Cancel", kPush, BS_PUSHBUTTON | WS_TABSTOP, 158, 276, 50, 14),
        Button(L"&Disabled", kPushDisabled, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 214, 276, 55, 14),
    };
    return dt;
}

namespace {

INT_PTR SampleProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CheckDlgButton(dialog, kCheckOn, BST_CHECKED);
    CheckDlgButton(dialog, kThreeState, BST_INDETERMINATE);
    CheckDlgButton(dialog, kCheckDisabled, BST_CHECKED);
    CheckRadioButton(dialog, kRadioFirst, kRadioDisabled, kRadioSecond);
    for (int id : {kProgressBlocks, kProgressSmooth, kProgressDisabled})
        SendDlgItemMessageW(dialog, id, PBM_SETPOS, id == kProgressBlocks ? 45 : 70, 0);
    SendDlgItemMessageW(dialog, kSpin, UDM_SETRANGE32, 0, 100);
    SendDlgItemMessageW(dialog, kSpin, UDM_SETPOS32, 0, 42);
    SendDlgItemMessageW(dialog, kSpinDisabled, UDM_SETRANGE32, 0, 100);
    SendDlgItemMessageW(dialog, kPushPressed, BM_SETSTATE, TRUE, 0);
    SendDlgItemMessageW(dialog, kEditSelected, EM_SETSEL, 0, 8);
    FillListsAndCombos(dialog);
    SetScrollBars(dialog);
    SetFocus(GetDlgItem(dialog, kCheckOn));
    return FALSE;
}

}

HWND CreateSampleDialog()
{
    if (!ZELL::Controls::RegisterStandardControls())
        return nullptr;
    static const std::vector<BYTE> image = SampleDialogTemplate().ToImage();
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), nullptr,
                                             &SampleProc, 0);
    if (dialog == nullptr)
        return nullptr;
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    UpdateWindow(dialog);
    return dialog;
}

}
