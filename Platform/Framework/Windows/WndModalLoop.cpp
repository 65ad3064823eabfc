// CWnd: the framework's modal loop, with idle processing, and the walk of
// PreTranslateMessage up the window tree that every loop shares.
#include "Platform/Base/Invariant.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Windows/Wnd.h"

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg, bool* reachedStop)
{
    if (reachedStop)
        *reachedStop = false;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = FromHandlePermanent(hwnd); wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (hwnd == stop) {
            if (reachedStop)
                *reachedStop = true;
            break;
        }
    }
    return FALSE;
}

BOOL CWnd::ContinueModal() { return m_bContinueModal && ::IsWindow(m_hWnd); }

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_bContinueModal.exchange(false)) {
        // Wakes the loop should it be waiting for a message.
        PostMessage(WM_NULL);
    }
}

// False on WM_QUIT, which is posted again for the loop outside.
bool CWnd::RunModalMessage(MSG& msg)
{
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (::CallMsgFilterW(&msg, MSGF_DIALOGBOX) || WalkPreTranslateTree(m_hWnd, &msg))
        return true;
    if (!::IsDialogMessageW(m_hWnd, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

int CWnd::RunModalLoop(DWORD flags)
{
    // A second loop would take over the first one's result and end flag.
    ZELL_INVARIANT(!m_bContinueModal, "a window's modal loop is not entered while it runs");
    m_bContinueModal = true;
    m_nModalResult = -1;
    const HWND owner = (flags & MLF_NOIDLEMSG) ? nullptr : ::GetWindow(m_hWnd, GW_OWNER);
    bool idle = true;
    LONG idleCount = 0;
    MSG msg{};
    while (ContinueModal()) {
        while (idle && ContinueModal() && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (owner && idleCount == 0)
                ::SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if ((flags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) {
                idle = false;
                // Nobody below holds a temporary pointer when no handler is running.
                if (!AfxIsHandlingMessage())
                    AfxDeleteTempObjects();
            }
        }
        if (!ContinueModal() || !RunModalMessage(msg))
            break;
        if (msg.message != WM_PAINT && msg.message != WM_NULL && msg.message != WM_MOUSEMOVE) {
            idle = true;
            idleCount = 0;
        }
    }
    m_bContinueModal = false;
    return m_nModalResult;
}
