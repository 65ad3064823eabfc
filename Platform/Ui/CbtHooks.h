#pragma once
// The computer-based-training hook (WH_CBT), which may refuse what the layer
// is about to do to a window, and the message-filter hook (WH_MSGFILTER) that
// modal loops pass their messages through.
#include "Platform/Base/Types.h"

struct MSG;
struct CREATESTRUCTW;

constexpr int WH_MSGFILTER = -1;

// WH_CBT codes; a hook that answers non-zero refuses the action.
constexpr int HCBT_MOVESIZE = 0;
constexpr int HCBT_MINMAX = 1;      // wParam the window, LOWORD(lParam) the SW_ command
constexpr int HCBT_QS = 2;
constexpr int HCBT_CREATEWND = 3;   // wParam the new window, lParam CBT_CREATEWNDW*
constexpr int HCBT_DESTROYWND = 4;  // wParam the window
constexpr int HCBT_ACTIVATE = 5;    // wParam the window, lParam CBTACTIVATESTRUCT*
constexpr int HCBT_CLICKSKIPPED = 6;
constexpr int HCBT_KEYSKIPPED = 7;
constexpr int HCBT_SYSCOMMAND = 8;
constexpr int HCBT_SETFOCUS = 9;    // wParam the window to get the focus, lParam the one losing it

struct CBT_CREATEWNDW {
    CREATESTRUCTW* lpcs = nullptr;
    HWND hwndInsertAfter = nullptr;
};
using CBT_CREATEWND = CBT_CREATEWNDW;

struct CBTACTIVATESTRUCT {
    BOOL fMouse = FALSE;
    HWND hWndActive = nullptr;
};

// WH_MSGFILTER codes: where the message comes from.
constexpr int MSGF_DIALOGBOX = 0;
constexpr int MSGF_MESSAGEBOX = 1;
constexpr int MSGF_MENU = 2;
constexpr int MSGF_SCROLLBAR = 5;
constexpr int MSGF_NEXTWINDOW = 6;
constexpr int MSGF_USER = 4096;

// Passes a message of a modal loop to the thread's WH_MSGFILTER hooks; TRUE
// when one of them handled it, so that the loop does not dispatch it.
BOOL CallMsgFilterW(MSG* msg, int code);
#define CallMsgFilter CallMsgFilterW
