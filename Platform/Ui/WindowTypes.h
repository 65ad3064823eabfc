#pragma once
// The window layer's callbacks and structures, the standard cursors and the
// integer resource names. Included through WinUser.h.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

#include <cstdint>

// ---------------------------------------------------------------------------
// Callbacks and structures
// ---------------------------------------------------------------------------
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
using MONITORENUMPROC = BOOL (*)(HMONITOR, HDC, LPRECT, LPARAM);

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt{};
};
using LPMSG = MSG*;

struct WNDCLASSEXW {
    UINT cbSize = sizeof(WNDCLASSEXW);
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCWSTR lpszMenuName = nullptr;
    LPCWSTR lpszClassName = nullptr;
    HICON hIconSm = nullptr;
};
using WNDCLASSEX = WNDCLASSEXW;
struct WNDCLASSW {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCWSTR lpszMenuName = nullptr;
    LPCWSTR lpszClassName = nullptr;
};
using WNDCLASS = WNDCLASSW;

struct CREATESTRUCTW {
    LPVOID lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    LPCWSTR lpszName = nullptr;
    LPCWSTR lpszClass = nullptr;
    DWORD dwExStyle = 0;
};
using CREATESTRUCT = CREATESTRUCTW;
using LPCREATESTRUCT = CREATESTRUCTW*;

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};
using LPWINDOWPOS = WINDOWPOS*;

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3]{};
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    POINT ptReserved{};
    POINT ptMaxSize{};
    POINT ptMaxPosition{};
    POINT ptMinTrackSize{};
    POINT ptMaxTrackSize{};
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint{};
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32]{};
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition{};
    POINT ptMaxPosition{};
    RECT rcNormalPosition{};
};

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    RECT rcMonitor{};
    RECT rcWork{};
    DWORD dwFlags = 0;
};
constexpr int CCHDEVICENAME = 32;
struct MONITORINFOEXW : MONITORINFO {
    WCHAR szDevice[CCHDEVICENAME]{};
};
using MONITORINFOEX = MONITORINFOEXW;
using LPMONITORINFO = MONITORINFO*;

struct NONCLIENTMETRICSW {
    UINT cbSize = sizeof(NONCLIENTMETRICSW);
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTW lfCaptionFont{};
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTW lfSmCaptionFont{};
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTW lfMenuFont{};
    LOGFONTW lfStatusFont{};
    LOGFONTW lfMessageFont{};
    int iPaddedBorderWidth = 0;
};
using NONCLIENTMETRICS = NONCLIENTMETRICSW;

struct CWPSTRUCT {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = nullptr;
};
struct MOUSEHOOKSTRUCT {
    POINT pt{};
    HWND hwnd = nullptr;
    UINT wHitTestCode = 0;
    ULONG_PTR dwExtraInfo = 0;
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

// Standard cursors (LoadCursor with a null instance).
#define ZELL_CURSOR_ID(n) reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(n))
#define IDC_ARROW ZELL_CURSOR_ID(32512)
#define IDC_IBEAM ZELL_CURSOR_ID(32513)
#define IDC_WAIT ZELL_CURSOR_ID(32514)
#define IDC_CROSS ZELL_CURSOR_ID(32515)
#define IDC_UPARROW ZELL_CURSOR_ID(32516)
#define IDC_SIZENWSE ZELL_CURSOR_ID(32642)
#define IDC_SIZENESW ZELL_CURSOR_ID(32643)
#define IDC_SIZEWE ZELL_CURSOR_ID(32644)
#define IDC_SIZENS ZELL_CURSOR_ID(32645)
#define IDC_SIZEALL ZELL_CURSOR_ID(32646)
#define IDC_NO ZELL_CURSOR_ID(32648)
#define IDC_HAND ZELL_CURSOR_ID(32649)
#define IDC_APPSTARTING ZELL_CURSOR_ID(32650)
#define IDC_HELP ZELL_CURSOR_ID(32651)
#define MAKEINTRESOURCEW(i) reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i)))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
inline bool IS_INTRESOURCE(const void* p) { return reinterpret_cast<std::uintptr_t>(p) >> 16 == 0; }
