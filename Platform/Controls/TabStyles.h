#pragma once
// The tab control's class name, styles, messages, item records and
// notifications, with the platform's numbers.
// CommCtrl.h includes this header (through TipAndTabStyles.h) at its end.
#include "Platform/Controls/NotifyHeader.h"
#include "Platform/Controls/CommonNotify.h"

#define WC_TABCONTROLW L"SysTabControl32"
#define WC_TABCONTROL WC_TABCONTROLW

constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
constexpr DWORD TCS_BOTTOM = 0x0002;
constexpr DWORD TCS_FLATBUTTONS = 0x0008;
constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_SINGLELINE = 0x0000;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_FOCUSNEVER = 0x8000;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
constexpr UINT TCM_HIGHLIGHTITEM = TCM_FIRST + 51;
constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
constexpr UINT TCM_SETITEMW = TCM_FIRST + 61;
constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;
constexpr UINT TCM_GETITEM = TCM_GETITEMW;
constexpr UINT TCM_SETITEM = TCM_SETITEMW;
constexpr UINT TCM_INSERTITEM = TCM_INSERTITEMW;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_RTLREADING = 0x0004;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

struct TCITEMW {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};
using LPTCITEMW = TCITEMW*;
using TCITEM = TCITEMW;

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEMICON = 0x0002;
constexpr UINT TCHT_ONITEMLABEL = 0x0004;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

struct TCHITTESTINFO {
    POINT pt{};
    UINT flags = 0;
};
using LPTCHITTESTINFO = TCHITTESTINFO*;

constexpr UINT TCN_FIRST = 0u - 550u;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

namespace ZELL::Controls {

// Moves the selection of the tab control `tab` one item forwards or
// backwards, wrapping round, as Ctrl+Tab and Ctrl+Shift+Tab (Ctrl+PageDown,
// Ctrl+PageUp) do: with TCN_SELCHANGING, which may refuse, and
// TCN_SELCHANGE. False when `tab` is no tab control, holds fewer than two
// items or the parent refused.
bool StepTabSelection(HWND tab, bool forward);

}
