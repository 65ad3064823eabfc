#pragma once
// While a CWnd makes its window (CreateEx, a dialog's creation), the
// thread's CBT hook attaches the new window to it before its first message,
// so WM_NCCREATE already reaches the CWnd's map.
#include "Platform/Ui/WinUser.h"

class CWnd;

class CWndCreationHook {
public:
    explicit CWndCreationHook(CWnd* wnd);
    ~CWndCreationHook();
    CWndCreationHook(const CWndCreationHook&) = delete;
    CWndCreationHook& operator=(const CWndCreationHook&) = delete;

private:
    static LRESULT Hook(int code, WPARAM wParam, LPARAM lParam);

    CWnd* m_pOuter = nullptr;
    HHOOK m_hHook = nullptr;
};
