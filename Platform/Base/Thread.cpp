#include "Platform/Base/Thread.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <atomic>
#include <functional>
#include <system_error>
#include <thread>

#include <unistd.h>

namespace {

std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD g_threadId = 0;

DWORD NewThreadId()
{
    return g_nextThreadId.fetch_add(1);
}

class Thread : public Platform::WaitableObject, public std::enable_shared_from_this<Thread> {
public:
    Thread(std::function<DWORD()> routine, DWORD id) : m_routine(std::move(routine)), m_id(id) {}

    DWORD Id() const { return m_id; }

    bool IsSignalled() const override { return m_ended; }

    DWORD ExitCode() const
    {
        std::lock_guard lock(StateLock());
        return m_ended ? m_exitCode : STILL_ACTIVE;
    }

    // Starts the system thread once; false when the system refused it.
    bool Start()
    {
        try {
            // The running thread keeps its object, whatever happens to the handle.
            std::thread([self = shared_from_this()] { self->Run(); }).detach();
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    // 1 when this call took the thread out of the suspended state.
    DWORD Resume()
    {
        if (m_started.exchange(true))
            return 0;
        if (!Start()) {
            Finish(ERROR_NOT_ENOUGH_MEMORY);
            return static_cast<DWORD>(-1);
        }
        return 1;
    }

    void MarkStarted() { m_started = true; }

private:
    void Run()
    {
        g_threadId = m_id;
        const DWORD code = m_routine();
        m_routine = nullptr; // the routine's captures go before the waiters wake
        Finish(code);
    }

    void Finish(DWORD code)
    {
        std::lock_guard lock(StateLock());
        m_exitCode = code;
        m_ended = true;
        NotifyWaiters();
    }

    std::function<DWORD()> m_routine;
    DWORD m_id = 0;
    std::atomic<bool> m_started{false};
    DWORD m_exitCode = STILL_ACTIVE; // both guarded by StateLock
    bool m_ended = false;
};

HANDLE StartThread(std::function<DWORD()> routine, DWORD flags, DWORD* threadId)
{
    auto thread = std::make_shared<Thread>(std::move(routine), NewThreadId());
    HANDLE handle = Platform::AddKernelObject(thread);
    if (!handle)
        return nullptr;
    if ((flags & CREATE_SUSPENDED) == 0) {
        thread->MarkStarted();
        if (!thread->Start()) {
            Platform::KernelHandles().Remove(handle);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    if (threadId)
        *threadId = thread->Id();
    return handle;
}

bool IsThreadHandle(HANDLE handle)
{
    return handle == GetCurrentThread() || Platform::FindKernelObject<Thread>(handle) != nullptr;
}

}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
    DWORD creationFlags, LPDWORD threadId)
{
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return StartThread([start, parameter] { return start(parameter); }, creationFlags, threadId);
}

std::uintptr_t _beginthreadex(void*, unsigned, unsigned (*start)(void*), void* argument, unsigned initFlag,
    unsigned* threadId)
{
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DWORD id = 0;
    HANDLE handle = StartThread([start, argument] { return static_cast<DWORD>(start(argument)); }, initFlag, &id);
    if (handle && threadId)
        *threadId = id;
    return reinterpret_cast<std::uintptr_t>(handle);
}

DWORD ResumeThread(HANDLE thread)
{
    const auto object = Platform::FindKernelObject<Thread>(thread);
    if (!object)
        return static_cast<DWORD>(-1);
    return object->Resume();
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode)
{
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (thread == GetCurrentThread()) {
        *exitCode = STILL_ACTIVE;
        return TRUE;
    }
    const auto object = Platform::FindKernelObject<Thread>(thread);
    if (!object)
        return FALSE;
    *exitCode = object->ExitCode();
    return TRUE;
}

DWORD GetCurrentThreadId()
{
    if (g_threadId == 0)
        g_threadId = NewThreadId();
    return g_threadId;
}

HANDLE GetCurrentThread()
{
    return Platform::CurrentThreadPseudoHandle();
}

BOOL SetThreadPriority(HANDLE thread, int)
{
    return IsThreadHandle(thread) ? TRUE : FALSE;
}

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(getpid());
}
