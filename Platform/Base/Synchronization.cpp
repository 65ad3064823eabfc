#include "Platform/Base/Synchronization.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

namespace {

class Event : public Platform::WaitableObject {
public:
    Event(bool manualReset, bool signalled) : m_manualReset(manualReset), m_signalled(signalled) {}

    bool IsSignalled() const override { return m_signalled; }

    void OnWaitSatisfied() override
    {
        if (!m_manualReset)
            m_signalled = false;
    }

    void Set()
    {
        std::lock_guard lock(StateLock());
        m_signalled = true;
        NotifyWaiters();
    }

    void Reset()
    {
        std::lock_guard lock(StateLock());
        m_signalled = false;
    }

private:
    bool m_manualReset = false;
    bool m_signalled = false; // guarded by StateLock
};

}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR)
{
    HANDLE handle = Platform::AddKernelObject(std::make_shared<Event>(manualReset != FALSE, initialState != FALSE));
    if (handle)
        SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL SetEvent(HANDLE event)
{
    const auto object = Platform::FindKernelObject<Event>(event);
    if (!object)
        return FALSE;
    object->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE event)
{
    const auto object = Platform::FindKernelObject<Event>(event);
    if (!object)
        return FALSE;
    object->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    return Platform::WaitForObjectsOrWake(1, &handle, FALSE, milliseconds, nullptr);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds)
{
    return Platform::WaitForObjectsOrWake(count, handles, waitAll, milliseconds, nullptr);
}
