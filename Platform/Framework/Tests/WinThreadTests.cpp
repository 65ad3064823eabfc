// User-interface threads made from their run-time class: InitInstance, Run
// and ExitInstance on the new thread, suspended creation, the exit code.
#include "Platform/Base/Synchronization.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Framework/App/WinApp.h"

#include <atomic>

namespace {

// What the thread saw of itself; the test reads it once the thread ended.
struct ThreadLog {
    HANDLE initialised = nullptr;
    DWORD initThreadId = 0;
    CWinThread* currentInInit = nullptr;
    CWnd* mainWndInInit = nullptr;
    HWND window = nullptr;
    int exitCalls = 0;
    bool fail = false;
    HANDLE deleted = nullptr;
};
ThreadLog g_Log;

class CWindowThread : public CWinThread {
    DECLARE_DYNCREATE(CWindowThread)
public:
    ~CWindowThread() override { ::SetEvent(g_Log.deleted); }

    BOOL InitInstance() override
    {
        g_Log.initThreadId = ::GetCurrentThreadId();
        g_Log.currentInInit = AfxGetThread();
        if (g_Log.fail) {
            ::SetEvent(g_Log.initialised);
            return FALSE;
        }
        m_wndThread.CreateEx(0, CWnd::DefaultClassName(), L"Thread window", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr,
                          nullptr);
        m_pMainWnd = &m_wndThread;
        g_Log.window = m_wndThread.m_hWnd;
        g_Log.mainWndInInit = AfxGetMainWnd();
        ::SetEvent(g_Log.initialised);
        return TRUE;
    }
    int ExitInstance() override
    {
        ++g_Log.exitCalls;
        m_wndThread.DestroyWindow();
        return CWinThread::ExitInstance() + 100;
    }

private:
    CWnd m_wndThread;
};
IMPLEMENT_DYNCREATE(CWindowThread, CWinThread)

class WindowThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Log = ThreadLog{};
        g_Log.initialised = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_Log.deleted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override
    {
        ::CloseHandle(g_Log.initialised);
        ::CloseHandle(g_Log.deleted);
    }

    static DWORD ExitCodeOf(CWinThread* thread)
    {
        EXPECT_EQ(::WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
        DWORD code = 0;
        ::GetExitCodeThread(thread->m_hThread, &code);
        return code;
    }
};

}

TEST_F(WindowThread, RunsItsInstanceOnTheNewThreadFromSuspendedToQuit)
{
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CWindowThread), 0, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(thread->IsKindOf(RUNTIME_CLASS(CWindowThread)));
    thread->m_bAutoDelete = FALSE;
    // Nothing runs before the caller lets it.
    EXPECT_EQ(::WaitForSingleObject(g_Log.initialised, 100), WAIT_TIMEOUT);

    ::ResumeThread(thread->m_hThread);
    ASSERT_EQ(::WaitForSingleObject(g_Log.initialised, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(g_Log.initThreadId, thread->m_nThreadID);
    EXPECT_NE(g_Log.initThreadId, ::GetCurrentThreadId());
    EXPECT_EQ(g_Log.currentInInit, thread);
    EXPECT_EQ(g_Log.mainWndInInit, thread->m_pMainWnd);
    EXPECT_EQ(::GetWindowThreadProcessId(g_Log.window, nullptr), thread->m_nThreadID);
    // This thread is none of the framework's.
    EXPECT_EQ(AfxGetThread(), AfxGetApp());

    // Its message loop ends with WM_QUIT, whose code ExitInstance turns into the exit code.
    ::PostThreadMessageW(thread->m_nThreadID, WM_QUIT, 7, 0);
    EXPECT_EQ(ExitCodeOf(thread), 107u);
    EXPECT_EQ(g_Log.exitCalls, 1);
    EXPECT_FALSE(::IsWindow(g_Log.window));
    delete thread;
}

TEST_F(WindowThread, AFailedInitInstanceSkipsRunAndGivesExitInstancesCode)
{
    g_Log.fail = true;
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CWindowThread), 0, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    ::ResumeThread(thread->m_hThread);
    EXPECT_EQ(ExitCodeOf(thread), 100u);
    EXPECT_EQ(g_Log.exitCalls, 1);
    delete thread;
}

TEST_F(WindowThread, AnAutoDeletingThreadDeletesItsObjectWhenItEnds)
{
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CWindowThread));
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(g_Log.initialised, 5000), WAIT_OBJECT_0);
    ::PostThreadMessageW(g_Log.initThreadId, WM_QUIT, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(g_Log.deleted, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(g_Log.exitCalls, 1);
}

TEST_F(WindowThread, OnlyCreatableThreadClassesStart)
{
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWinThread)), nullptr);
    EXPECT_EQ(AfxBeginThread(static_cast<const CRuntimeClass*>(nullptr)), nullptr);
}
