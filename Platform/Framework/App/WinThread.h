#pragma once
// A thread with a message loop: Run pumps messages, gives each one to the
// PreTranslateMessage chain (the window it is for and its parents up to the
// main window, then the thread), and does the idle work (command UI of the
// main window, freeing temporary wrappers) when the queue runs empty.
#include "Platform/Base/Thread.h"
#include "Platform/Framework/Core/CmdTarget.h"

class CWnd;

// WM_IDLEUPDATECMDUI: the main window and its descendants update their command UI.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

using AFX_THREADPROC = UINT (*)(LPVOID parameter);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC proc, LPVOID parameter) : m_pfnThreadProc(proc), m_pThreadParams(parameter) {}
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;  // a worker deletes its object when it ends

    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0);
    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL PumpMessage();
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

protected:
    MSG m_msgCur{};

private:
    static DWORD ThreadStart(LPVOID self);
    friend CWinThread* ZellStartThread(CWinThread*, int, UINT, DWORD);

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    POINT m_ptLastMouse{-1, -1};
};

// A worker thread running `proc(parameter)`; null when it could not start.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority = 0, UINT stackSize = 0,
                           DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
// A user-interface thread: an object of the class (made dynamically, a
// CWinThread subclass) runs InitInstance, then Run when it succeeded, else
// ExitInstance, on the new thread; their answer is the thread's exit code.
// Null when the class is not such a class or the thread could not start.
CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority = 0, UINT stackSize = 0,
                           DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
// The CWinThread whose thread is calling (null on threads not started by one).
CWinThread* ZellCurrentThread();
