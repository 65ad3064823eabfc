#include "Platform/Framework/Windows/WndCreationHook.h"

#include "Platform/Base/Thread.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <utility>

namespace {

thread_local CWnd* t_creating = nullptr;

}

CWndCreationHook::CWndCreationHook(CWnd* wnd) : m_pOuter(std::exchange(t_creating, wnd))
{
    m_hHook = ::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
}

CWndCreationHook::~CWndCreationHook()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    t_creating = m_pOuter;
}

// The first window made after the hook is the CWnd's; the ones it makes
// itself (a dialog's controls) are not.
LRESULT CWndCreationHook::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating)
        std::exchange(t_creating, nullptr)->AttachForCreation(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
