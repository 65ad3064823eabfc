#include "Platform/Framework/App/WinThread.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Windows/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* t_thread = nullptr;

}

CWinThread* ZellCurrentThread() { return t_thread; }

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize)
{
    if (m_hThread)
        return FALSE;
    m_hThread = ::CreateThread(nullptr, stackSize, &CWinThread::ThreadStart, this, createFlags, &m_nThreadID);
    return m_hThread != nullptr;
}

DWORD CWinThread::ThreadStart(LPVOID self)
{
    auto* thread = static_cast<CWinThread*>(self);
    t_thread = thread;
    DWORD exitCode = 0;
    if (thread->m_pfnThreadProc)
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    else
        exitCode = static_cast<DWORD>(thread->InitInstance() ? thread->Run() : thread->ExitInstance());
    AfxDeleteTempObjects();
    t_thread = nullptr;
    if (thread->m_bAutoDelete)
        delete thread;
    return exitCode;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinThread::OnIdle(LONG count)
{
    if (count == 0) {
        if (CWnd* main = GetMainWnd(); main && main->m_hWnd && main->IsWindowVisible()) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
        }
        return TRUE;
    }
    AfxDeleteTempObjects();
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    const HWND main = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    bool reachedMain = false;
    if (CWnd::WalkPreTranslateTree(main, msg, &reachedMain))
        return TRUE;
    // A window outside the main window's tree: the main window still sees it.
    if (main && msg->hwnd && !reachedMain) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(main))
            return wnd->PreTranslateMessage(msg);
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

// Paints and mouse moves that do not move do not end the idle state.
BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->pt.x == m_ptLastMouse.x && msg->pt.y == m_ptLastMouse.y)
            return FALSE;
        m_ptLastMouse = msg->pt;
        return TRUE;
    }
    return msg->message != WM_PAINT;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

// Started suspended, so the caller gets the object before the thread can end and delete it.
CWinThread* ZellStartThread(CWinThread* thread, int priority, UINT stackSize, DWORD createFlags)
{
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize)) {
        delete thread;
        return nullptr;
    }
    if (priority != 0)
        ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED))
        ::ResumeThread(thread->m_hThread);
    return thread;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES)
{
    if (!proc)
        return nullptr;
    return ZellStartThread(new CWinThread(proc, parameter), priority, stackSize, createFlags);
}

CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES)
{
    if (!threadClass || !threadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return nullptr;
    CObject* object = threadClass->CreateObject();
    if (!object)
        return nullptr;
    return ZellStartThread(static_cast<CWinThread*>(object), priority, stackSize, createFlags);
}
