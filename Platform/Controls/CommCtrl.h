#pragma once
// The common controls' part of the standard controls: the progress bar and
// the up-down control, with the platform's numbers.
// The other common controls' styles, messages and notifications are
// gathered at the end; those headers are leaves that build on NotifyHeader.h.
#include "Platform/Controls/NotifyHeader.h"

#define PROGRESS_CLASSW L"msctls_progress32"
#define PROGRESS_CLASS PROGRESS_CLASSW
#define UPDOWN_CLASSW L"msctls_updown32"
#define UPDOWN_CLASS UPDOWN_CLASSW

// ---------------------------------------------------------------------------
// Progress bar
// ---------------------------------------------------------------------------
constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;

struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};
using PPBRANGE = PBRANGE*;

// ---------------------------------------------------------------------------
// Up-down
// ---------------------------------------------------------------------------
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
constexpr DWORD UDS_HOTTRACK = 0x0100;

constexpr int UD_MAXVAL = 0x7FFF;
constexpr int UD_MINVAL = -UD_MAXVAL;

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETACCEL = WM_USER + 107;
constexpr UINT UDM_GETACCEL = WM_USER + 108;
constexpr UINT UDM_SETBASE = WM_USER + 109;
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 0;
};
using LPUDACCEL = UDACCEL*;

constexpr UINT UDN_FIRST = 0u - 721u;
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};
using LPNMUPDOWN = NMUPDOWN*;
#include "Platform/Controls/AddressAndDateStyles.h"
#include "Platform/Controls/TipAndTabStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Controls/PropSheetStyles.h"
