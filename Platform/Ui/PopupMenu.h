#pragma once
// Menus on the screen: pop-up menus tracked in a modal loop of their own
// (TrackPopupMenu), the menu bar of a top-level (SetMenu), and the answers
// an owner gives while a menu is open (WM_MENUCHAR).
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;

// WM_MENUCHAR answers, in the result's high word.
constexpr WORD MNC_IGNORE = 0;
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

// WM_SYSCOMMAND of a click on the menu bar or the window menu's icon (the
// hit code is added).
constexpr WPARAM SC_MOUSEMENU = 0xF090;
constexpr LRESULT HTMENU = 5;

// Asks a menu window ("#32768") for the menu it shows.
constexpr UINT MN_GETHMENU = 0x01E1;

struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude{};
};
using LPTPMPARAMS = TPMPARAMS*;

// Shows the menu at (x, y) (screen) and tracks it until the user chooses or
// leaves; the owner gets the menu messages and WM_COMMAND. With
// TPM_RETURNCMD the chosen command is returned (0 for none) and no
// WM_COMMAND is posted. One menu loop per thread at a time.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* reserved2);
// The same; the menu keeps off `params->rcExclude` when given.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Closes the menu that the calling thread tracks.
BOOL EndMenu();
// Where an item of a menu on the screen is (screen coordinates): of an open
// pop-up menu, or of the window's menu bar.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);

// The menu bar of a top-level; the frame makes room for it.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

// Checks `check` and unchecks the others of first..last, with the radio
// mark (MFT_RADIOCHECK).
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
