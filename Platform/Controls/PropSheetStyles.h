#pragma once
// The property sheet's records, flags, messages and notifications, with the
// platform's numbers, and its three entry points.
// CommCtrl.h includes this header at its end.
#include "Platform/Controls/NotifyHeader.h"

#include <cstddef>

struct ZellPropSheetPage;
using HPROPSHEETPAGE = ZellPropSheetPage*;

struct PROPSHEETPAGEW;
using LPFNPSPCALLBACKW = UINT (*)(HWND hwnd, UINT message, PROPSHEETPAGEW* page);
using PFNPROPSHEETCALLBACK = int (*)(HWND sheet, UINT message, LPARAM lParam);

// A page: its template (a resource or one in memory), its title and icon,
// its dialog procedure and what it hands that procedure. The caller may
// append its own data behind the record and count it in dwSize: the page
// keeps a copy of all dwSize bytes and gives that copy to WM_INITDIALOG.
struct PROPSHEETPAGEW {
    DWORD dwSize = sizeof(PROPSHEETPAGEW);
    DWORD dwFlags = 0;
    HINSTANCE hInstance = nullptr;
    union {
        LPCWSTR pszTemplate;
        LPCDLGTEMPLATEW pResource;
    };
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszTitle = nullptr;
    DLGPROC pfnDlgProc = nullptr;
    LPARAM lParam = 0;
    LPFNPSPCALLBACKW pfnCallback = nullptr;
    UINT* pcRefParent = nullptr;
    LPCWSTR pszHeaderTitle = nullptr;
    LPCWSTR pszHeaderSubTitle = nullptr;
    HANDLE hActCtx = nullptr;

    PROPSHEETPAGEW() : pszTemplate(nullptr), hIcon(nullptr) {}
};
using LPPROPSHEETPAGEW = PROPSHEETPAGEW*;
using LPCPROPSHEETPAGEW = const PROPSHEETPAGEW*;
using PROPSHEETPAGE = PROPSHEETPAGEW;
using LPCPROPSHEETPAGE = LPCPROPSHEETPAGEW;
// The sizes of the record's versions: the first ends before the header
// texts, the third (the whole record) holds the activation context.
constexpr DWORD PROPSHEETPAGEW_V1_SIZE = static_cast<DWORD>(offsetof(PROPSHEETPAGEW, pszHeaderTitle));
constexpr DWORD PROPSHEETPAGEW_V2_SIZE = static_cast<DWORD>(offsetof(PROPSHEETPAGEW, hActCtx));
constexpr DWORD PROPSHEETPAGEW_V3_SIZE = static_cast<DWORD>(sizeof(PROPSHEETPAGEW));
constexpr DWORD PROPSHEETPAGE_V1_SIZE = PROPSHEETPAGEW_V1_SIZE;
constexpr DWORD PROPSHEETPAGE_V2_SIZE = PROPSHEETPAGEW_V2_SIZE;
constexpr DWORD PROPSHEETPAGE_V3_SIZE = PROPSHEETPAGEW_V3_SIZE;

// The sheet: its owner, caption and icon, its pages (records or made
// pages) and the one that opens first.
struct PROPSHEETHEADERW {
    DWORD dwSize = sizeof(PROPSHEETHEADERW);
    DWORD dwFlags = 0;
    HWND hwndParent = nullptr;
    HINSTANCE hInstance = nullptr;
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszCaption = nullptr;
    UINT nPages = 0;
    union {
        UINT nStartPage;
        LPCWSTR pStartPage;
    };
    union {
        LPCPROPSHEETPAGEW ppsp;
        HPROPSHEETPAGE* phpage;
    };
    PFNPROPSHEETCALLBACK pfnCallback = nullptr;

    PROPSHEETHEADERW() : hIcon(nullptr), pStartPage(nullptr), ppsp(nullptr) {}
};
using LPPROPSHEETHEADERW = PROPSHEETHEADERW*;
using LPCPROPSHEETHEADERW = const PROPSHEETHEADERW*;
using PROPSHEETHEADER = PROPSHEETHEADERW;
constexpr DWORD PROPSHEETHEADERW_V1_SIZE = static_cast<DWORD>(sizeof(PROPSHEETHEADERW));

// Page flags.
constexpr DWORD PSP_DEFAULT = 0x0000;
constexpr DWORD PSP_DLGINDIRECT = 0x0001;
constexpr DWORD PSP_USEHICON = 0x0002;
constexpr DWORD PSP_USEICONID = 0x0004;
constexpr DWORD PSP_USETITLE = 0x0008;
constexpr DWORD PSP_RTLREADING = 0x0010;
constexpr DWORD PSP_HASHELP = 0x0020;
constexpr DWORD PSP_USEREFPARENT = 0x0040;
constexpr DWORD PSP_USECALLBACK = 0x0080;
constexpr DWORD PSP_PREMATURE = 0x0400;
constexpr DWORD PSP_HIDEHEADER = 0x0800;
constexpr DWORD PSP_USEHEADERTITLE = 0x1000;
constexpr DWORD PSP_USEHEADERSUBTITLE = 0x2000;

// Page callback messages.
constexpr UINT PSPCB_ADDREF = 0;
constexpr UINT PSPCB_RELEASE = 1;
constexpr UINT PSPCB_CREATE = 2;

// Sheet flags.
constexpr DWORD PSH_DEFAULT = 0x0000;
constexpr DWORD PSH_PROPTITLE = 0x0001;
constexpr DWORD PSH_USEHICON = 0x0002;
constexpr DWORD PSH_USEICONID = 0x0004;
constexpr DWORD PSH_PROPSHEETPAGE = 0x0008;
constexpr DWORD PSH_WIZARDHASFINISH = 0x0010;
constexpr DWORD PSH_WIZARD = 0x0020;
constexpr DWORD PSH_USEPSTARTPAGE = 0x0040;
constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr DWORD PSH_USECALLBACK = 0x0100;
constexpr DWORD PSH_HASHELP = 0x0200;
constexpr DWORD PSH_MODELESS = 0x0400;
constexpr DWORD PSH_RTLREADING = 0x0800;

// Sheet callback messages: before the sheet's window is made (lParam is its
// template image, which the callback may change) and after its initialisation.
constexpr UINT PSCB_INITIALIZED = 1;
constexpr UINT PSCB_PRECREATE = 2;

// Messages to the sheet.
constexpr UINT PSM_SETCURSEL = WM_USER + 101;
constexpr UINT PSM_REMOVEPAGE = WM_USER + 102;
constexpr UINT PSM_ADDPAGE = WM_USER + 103;
constexpr UINT PSM_CHANGED = WM_USER + 104;
constexpr UINT PSM_RESTARTWINDOWS = WM_USER + 105;
constexpr UINT PSM_REBOOTSYSTEM = WM_USER + 106;
constexpr UINT PSM_CANCELTOCLOSE = WM_USER + 107;
constexpr UINT PSM_QUERYSIBLINGS = WM_USER + 108;
constexpr UINT PSM_UNCHANGED = WM_USER + 109;
constexpr UINT PSM_APPLY = WM_USER + 110;
constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;
constexpr UINT PSM_SETCURSELID = WM_USER + 114;
constexpr UINT PSM_GETTABCONTROL = WM_USER + 116;
constexpr UINT PSM_ISDIALOGMESSAGE = WM_USER + 117;
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
constexpr UINT PSM_INSERTPAGE = WM_USER + 119;
constexpr UINT PSM_SETTITLEW = WM_USER + 120;
constexpr UINT PSM_HWNDTOINDEX = WM_USER + 129;
constexpr UINT PSM_INDEXTOHWND = WM_USER + 130;
constexpr UINT PSM_PAGETOINDEX = WM_USER + 131;
constexpr UINT PSM_INDEXTOPAGE = WM_USER + 132;
constexpr UINT PSM_IDTOINDEX = WM_USER + 133;
constexpr UINT PSM_INDEXTOID = WM_USER + 134;
constexpr UINT PSM_GETRESULT = WM_USER + 135;
constexpr UINT PSM_SETTITLE = PSM_SETTITLEW;

// PSM_PRESSBUTTON's buttons.
constexpr int PSBTN_BACK = 0;
constexpr int PSBTN_NEXT = 1;
constexpr int PSBTN_FINISH = 2;
constexpr int PSBTN_OK = 3;
constexpr int PSBTN_APPLYNOW = 4;
constexpr int PSBTN_CANCEL = 5;
constexpr int PSBTN_HELP = 6;

// The ids of the sheet's own controls.
constexpr int ID_APPLY_NOW = 0x3021;
constexpr int IDC_TABCONTROL_SHEET = 0x3020;
// What a modal sheet answers besides 1 (changes saved) and 0 (none).
constexpr int ID_PSRESTARTWINDOWS = 0x2;
constexpr int ID_PSREBOOTSYSTEM = ID_PSRESTARTWINDOWS | 0x1;

// Notifications to the pages. A page answers through DWLP_MSGRESULT.
constexpr UINT PSN_FIRST = 0u - 200u;
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;
constexpr UINT PSN_APPLY = PSN_FIRST - 2;
constexpr UINT PSN_RESET = PSN_FIRST - 3;
constexpr UINT PSN_HELP = PSN_FIRST - 5;
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;

// PSN_APPLY's answers.
constexpr LRESULT PSNRET_NOERROR = 0;
constexpr LRESULT PSNRET_INVALID = 1;
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2;
constexpr LRESULT PSNRET_MESSAGEHANDLED = 3;

// The notification record: lParam is TRUE in PSN_APPLY when OK closes the
// sheet and in PSN_RESET when the close box does.
struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam = 0;
};
using LPPSHNOTIFY = PSHNOTIFY*;

// The modal sheet's answer (1 saved, 0 not, -1 failed), or the modeless
// sheet's window (as the number).
INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header);
HPROPSHEETPAGE CreatePropertySheetPageW(LPCPROPSHEETPAGEW page);
BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page);
#define PropertySheet PropertySheetW
#define CreatePropertySheetPage CreatePropertySheetPageW
