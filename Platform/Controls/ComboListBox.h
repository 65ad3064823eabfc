#pragma once
// The drop-down list of a combo box ("ComboLBox"): a list box made as a
// pop-up owned by the combo. Everything a list box tells its parent (the
// WM_COMMAND notifications, WM_MEASUREITEM, WM_DRAWITEM, WM_COMPAREITEM,
// WM_DELETEITEM, WM_CTLCOLORLISTBOX) goes to the combo instead, with
// CtlType ODT_LISTBOX and CtlID 0: the combo passes them on to its own
// parent under its own type and id. The selection notifications
// (LBN_SELCHANGE) come whether or not the style has LBS_NOTIFY. The list
// never takes the focus: the combo keeps it and sends the list the keys
// (WM_KEYDOWN, WM_CHAR) it wants handled there.
#include "Platform/Controls/ListBoxControl.h"

namespace ZELL::Controls {

inline constexpr LPCWSTR kComboListClass = L"ComboLBox";

// To the list: follow the pointer under capture. A move over an item selects
// it (LBN_SELCHANGE), a move beyond the top or bottom edge scrolls, a
// release over an item picks it (kListPicked), a release elsewhere goes on
// tracking, a press outside the list ends tracking with LBN_SELCANCEL.
// wParam: TRUE when the button is already down (the press that opened the
// list). Returns TRUE.
inline constexpr UINT LBCB_STARTTRACK = WM_USER + 0x100;
// To the list: stop following the pointer and give up the capture.
inline constexpr UINT LBCB_ENDTRACK = WM_USER + 0x101;
// WM_COMMAND code from the list to the combo: the user picked the selected item.
inline constexpr WORD kListPicked = 0x0100;

class CComboListBox : public CListBoxControl {
public:
    explicit CComboListBox(HWND hwnd) : CListBoxControl(hwnd) {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Makes the hidden drop-down list of `combo` at `screen` with the list-box
// styles `listStyle` (WS_POPUP, WS_BORDER and LBS_COMBOBOX are added); show
// it with ShowWindow(SW_SHOWNA) and SetWindowPos. Null on failure.
HWND CreateComboList(HWND combo, DWORD listStyle, const RECT& screen);

}
