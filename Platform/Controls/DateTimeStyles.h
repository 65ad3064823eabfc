#pragma once
// The date-time picker's and the month calendar's class names, styles,
// messages and notifications, with the platform's numbers.
#include "Platform/Base/Types.h"
#include "Platform/Controls/NotifyHeader.h"

#define DATETIMEPICK_CLASSW L"SysDateTimePick32"
#define DATETIMEPICK_CLASS DATETIMEPICK_CLASSW
#define MONTHCAL_CLASSW L"SysMonthCal32"
#define MONTHCAL_CLASS MONTHCAL_CLASSW

// GETSYSTEMTIME's answers and SETSYSTEMTIME's flags.
constexpr LRESULT GDT_ERROR = -1;
constexpr DWORD GDT_VALID = 0;
constexpr DWORD GDT_NONE = 1;
// Which ends of a range are set.
constexpr DWORD GDTR_MIN = 0x0001;
constexpr DWORD GDTR_MAX = 0x0002;

// ---------------------------------------------------------------------------
// Date-time picker
// ---------------------------------------------------------------------------
constexpr DWORD DTS_UPDOWN = 0x0001;
constexpr DWORD DTS_SHOWNONE = 0x0002;
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
constexpr DWORD DTS_SHORTDATECENTURYFORMAT = 0x000C;
constexpr DWORD DTS_TIMEFORMAT = 0x0009;
constexpr DWORD DTS_APPCANPARSE = 0x0010;
constexpr DWORD DTS_RIGHTALIGN = 0x0020;

constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;
constexpr UINT DTM_GETRANGE = DTM_FIRST + 3;
constexpr UINT DTM_SETRANGE = DTM_FIRST + 4;
constexpr UINT DTM_SETMCCOLOR = DTM_FIRST + 6;
constexpr UINT DTM_GETMCCOLOR = DTM_FIRST + 7;
constexpr UINT DTM_GETMONTHCAL = DTM_FIRST + 8;
constexpr UINT DTM_SETFORMATW = DTM_FIRST + 50;
#define DTM_SETFORMAT DTM_SETFORMATW

constexpr UINT DTN_FIRST = 0u - 740u;
constexpr UINT DTN_FIRST2 = 0u - 753u;
constexpr UINT DTN_CLOSEUP = DTN_FIRST2;
constexpr UINT DTN_DROPDOWN = DTN_FIRST2 - 1;
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST2 - 6;
constexpr UINT DTN_WMKEYDOWNW = DTN_FIRST - 4;
constexpr UINT DTN_FORMATW = DTN_FIRST - 3;
constexpr UINT DTN_FORMATQUERYW = DTN_FIRST - 2;
constexpr UINT DTN_USERSTRINGW = DTN_FIRST - 5;
#define DTN_USERSTRING DTN_USERSTRINGW
#define DTN_WMKEYDOWN DTN_WMKEYDOWNW
#define DTN_FORMAT DTN_FORMATW
#define DTN_FORMATQUERY DTN_FORMATQUERYW

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st{};
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;

// DTN_USERSTRING (DTS_APPCANPARSE): the text the user typed for the parent
// to read; it writes the date into st and GDT_VALID, GDT_NONE or GDT_ERROR
// (keep the date) into dwFlags.
struct NMDATETIMESTRINGW {
    NMHDR nmhdr;
    LPCWSTR pszUserString = nullptr;
    SYSTEMTIME st{};
    DWORD dwFlags = GDT_VALID;
};
using LPNMDATETIMESTRINGW = NMDATETIMESTRINGW*;
using NMDATETIMESTRING = NMDATETIMESTRINGW;

// The callback fields: a run of X in the format picture, shown as the
// parent writes it (DTN_FORMAT), as wide as it says (DTN_FORMATQUERY) and
// changed by the keys it is given (DTN_WMKEYDOWN, which may change st).
struct NMDATETIMEFORMATW {
    NMHDR nmhdr;
    LPCWSTR pszFormat = nullptr;
    SYSTEMTIME st{};
    LPCWSTR pszDisplay = nullptr;
    WCHAR szDisplay[64]{};
};
using LPNMDATETIMEFORMATW = NMDATETIMEFORMATW*;
struct NMDATETIMEFORMATQUERYW {
    NMHDR nmhdr;
    LPCWSTR pszFormat = nullptr;
    SIZE szMax{};
};
using LPNMDATETIMEFORMATQUERYW = NMDATETIMEFORMATQUERYW*;
struct NMDATETIMEWMKEYDOWNW {
    NMHDR nmhdr;
    int nVirtKey = 0;
    LPCWSTR pszFormat = nullptr;
    SYSTEMTIME st{};
};
using LPNMDATETIMEWMKEYDOWNW = NMDATETIMEWMKEYDOWNW*;
using NMDATETIMEFORMAT = NMDATETIMEFORMATW;
using NMDATETIMEFORMATQUERY = NMDATETIMEFORMATQUERYW;
using NMDATETIMEWMKEYDOWN = NMDATETIMEWMKEYDOWNW;

// ---------------------------------------------------------------------------
// Month calendar
// ---------------------------------------------------------------------------
constexpr DWORD MCS_DAYSTATE = 0x0001;
constexpr DWORD MCS_MULTISELECT = 0x0002;
constexpr DWORD MCS_WEEKNUMBERS = 0x0004;
constexpr DWORD MCS_NOTODAYCIRCLE = 0x0008;
constexpr DWORD MCS_NOTODAY = 0x0010;

constexpr UINT MCM_FIRST = 0x1000;
constexpr UINT MCM_GETCURSEL = MCM_FIRST + 1;
constexpr UINT MCM_SETCURSEL = MCM_FIRST + 2;
constexpr UINT MCM_GETMINREQRECT = MCM_FIRST + 9;
constexpr UINT MCM_SETCOLOR = MCM_FIRST + 10;
constexpr UINT MCM_GETCOLOR = MCM_FIRST + 11;
constexpr UINT MCM_SETTODAY = MCM_FIRST + 12;
constexpr UINT MCM_GETTODAY = MCM_FIRST + 13;
constexpr UINT MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15;
constexpr UINT MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16;
constexpr UINT MCM_GETRANGE = MCM_FIRST + 17;
constexpr UINT MCM_SETRANGE = MCM_FIRST + 18;

// The colours of MCM_SETCOLOR and DTM_SETMCCOLOR.
constexpr int MCSC_BACKGROUND = 0;
constexpr int MCSC_TEXT = 1;
constexpr int MCSC_TITLEBK = 2;
constexpr int MCSC_TITLETEXT = 3;
constexpr int MCSC_MONTHBK = 4;
constexpr int MCSC_TRAILINGTEXT = 5;

constexpr UINT MCN_FIRST = 0u - 746u;
constexpr UINT MCN_SELECT = MCN_FIRST;
constexpr UINT MCN_SELCHANGE = MCN_FIRST - 3;

struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart{};
    SYSTEMTIME stSelEnd{};
};
using LPNMSELCHANGE = NMSELCHANGE*;
using NMSELECT = NMSELCHANGE;
using LPNMSELECT = NMSELECT*;
