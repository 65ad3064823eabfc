#pragma once
// The tooltip control's class name, styles, messages, tool records and
// notifications, with the platform's numbers.
// CommCtrl.h includes this header (through TipAndTabStyles.h) at its end.
#include "Platform/Controls/NotifyHeader.h"

#define TOOLTIPS_CLASSW L"tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;
constexpr DWORD TTS_NOANIMATE = 0x10;
constexpr DWORD TTS_NOFADE = 0x20;
constexpr DWORD TTS_BALLOON = 0x40;
constexpr DWORD TTS_CLOSE = 0x80;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_PARSELINKS = 0x1000;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_WINDOWFROMPOINT = WM_USER + 16;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;
constexpr UINT TTM_GETMARGIN = WM_USER + 27;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;
constexpr UINT TTM_SETTITLEW = WM_USER + 33;
constexpr UINT TTM_SETTITLE = TTM_SETTITLEW;
constexpr UINT TTM_POPUP = WM_USER + 34;

// TTM_SETTITLE's icons; any other value is an icon handle.
constexpr WPARAM TTI_NONE = 0;
constexpr WPARAM TTI_INFO = 1;
constexpr WPARAM TTI_WARNING = 2;
constexpr WPARAM TTI_ERROR = 3;
constexpr UINT TTM_ADDTOOLW = WM_USER + 50;
constexpr UINT TTM_DELTOOLW = WM_USER + 51;
constexpr UINT TTM_NEWTOOLRECTW = WM_USER + 52;
constexpr UINT TTM_GETTOOLINFOW = WM_USER + 53;
constexpr UINT TTM_SETTOOLINFOW = WM_USER + 54;
constexpr UINT TTM_HITTESTW = WM_USER + 55;
constexpr UINT TTM_GETTEXTW = WM_USER + 56;
constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;
constexpr UINT TTM_ENUMTOOLSW = WM_USER + 58;
constexpr UINT TTM_GETCURRENTTOOLW = WM_USER + 59;
constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLW;
constexpr UINT TTM_DELTOOL = TTM_DELTOOLW;
constexpr UINT TTM_NEWTOOLRECT = TTM_NEWTOOLRECTW;
constexpr UINT TTM_GETTOOLINFO = TTM_GETTOOLINFOW;
constexpr UINT TTM_SETTOOLINFO = TTM_SETTOOLINFOW;
constexpr UINT TTM_HITTEST = TTM_HITTESTW;
constexpr UINT TTM_GETTEXT = TTM_GETTEXTW;
constexpr UINT TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTW;
constexpr UINT TTM_ENUMTOOLS = TTM_ENUMTOOLSW;
constexpr UINT TTM_GETCURRENTTOOL = TTM_GETCURRENTTOOLW;


struct TTTOOLINFOW {
    UINT cbSize = sizeof(TTTOOLINFOW);
    UINT uFlags = 0;
    HWND hwnd = nullptr;
    UINT_PTR uId = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    LPWSTR lpszText = nullptr;
    LPARAM lParam = 0;
    void* lpReserved = nullptr;
};
using LPTTTOOLINFOW = TTTOOLINFOW*;
using TOOLINFOW = TTTOOLINFOW;
using TOOLINFO = TTTOOLINFOW;

struct TTHITTESTINFOW {
    HWND hwnd = nullptr;
    POINT pt{};
    TTTOOLINFOW ti;
};
using LPTTHITTESTINFOW = TTHITTESTINFOW*;

constexpr UINT TTN_FIRST = 0u - 520u;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
// A click on a link of a TTF_PARSELINKS tool, told to the tool's owner.
constexpr UINT TTN_LINKCLICK = TTN_FIRST - 3;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_GETDISPINFO = TTN_GETDISPINFOW;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
constexpr UINT TTN_NEEDTEXT = TTN_NEEDTEXTW;

struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText = nullptr;
    WCHAR szText[80]{};
    HINSTANCE hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};
using LPNMTTDISPINFOW = NMTTDISPINFOW*;
using NMTTDISPINFO = NMTTDISPINFOW;
