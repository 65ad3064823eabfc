#include "Platform/Base/KernelObject.h"

#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/SpinWait.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace Platform {
namespace {

// What a wait on the calling thread's pseudo-handle sees: the thread cannot
// end while it waits for itself, so the object never becomes signalled.
class NeverSignalled : public WaitableObject {
public:
    bool IsSignalled() const override { return false; }
};

// The state lock for the waits and wakes of message round trips, which hold
// it briefly and often from two processors at once.
std::unique_lock<std::mutex> TakeStateLock()
{
    std::unique_lock lock(WaitableObject::StateLock(), std::defer_lock);
    LockAwake(lock);
    return lock;
}

std::shared_ptr<WaitableObject> ResolveWaitable(HANDLE handle)
{
    if (handle == CurrentThreadPseudoHandle()) {
        static auto* self = new std::shared_ptr<WaitableObject>(std::make_shared<NeverSignalled>());
        return *self;
    }
    return FindKernelObject<WaitableObject>(handle);
}

}

// The waiters that are waiting right now. A move of the manual clock wakes
// them all, so that each looks at its manual deadline again.
class WaitRegistry : public ClockListener {
public:
    static WaitRegistry& Instance()
    {
        static auto* registry = new WaitRegistry;
        return *registry;
    }

    // Both with StateLock held.
    void Add(Waiter* waiter) { m_active.push_back(waiter); }
    void Remove(Waiter* waiter) { std::erase(m_active, waiter); }

    void OnClockChanged(ULONGLONG) override
    {
        std::lock_guard lock(WaitableObject::StateLock());
        for (Waiter* waiter : m_active)
            waiter->m_condition.notify_all();
    }

private:
    WaitRegistry() { Clock::AddListener(this); }
    std::vector<Waiter*> m_active;
};

// When a timed wait gives up; see Clock.h for the two deadlines.
class WaitDeadline {
public:
    explicit WaitDeadline(DWORD milliseconds)
        : m_infinite(milliseconds == INFINITE)
        , m_real(std::chrono::steady_clock::now() + std::chrono::milliseconds(m_infinite ? 0 : milliseconds))
        , m_manual(Clock::IsManual())
        , m_manualEnd(Clock::NowMs() + milliseconds)
        , m_modeSerial(Clock::ModeSerial())
    {
    }

    bool Passed() const
    {
        if (m_infinite)
            return false;
        if (std::chrono::steady_clock::now() >= m_real)
            return true;
        return m_manual && Clock::ModeSerial() == m_modeSerial && Clock::NowMs() >= m_manualEnd;
    }

    void Sleep(std::condition_variable& condition, std::unique_lock<std::mutex>& lock) const
    {
        if (m_infinite)
            condition.wait(lock);
        else
            condition.wait_until(lock, m_real);
    }

private:
    bool m_infinite = false;
    std::chrono::steady_clock::time_point m_real;
    bool m_manual = false;
    ULONGLONG m_manualEnd = 0;
    std::uint32_t m_modeSerial = 0;
};

// One wait, from its registration with the objects to its result.
class WaitOperation {
public:
    WaitOperation(std::vector<std::shared_ptr<WaitableObject>> objects, bool waitAll, Waiter& waiter, bool wakeEnds)
        : m_objects(std::move(objects)), m_waitAll(waitAll), m_waiter(waiter), m_wakeEnds(wakeEnds)
    {
    }

    DWORD Run(DWORD milliseconds)
    {
        WaitRegistry& registry = WaitRegistry::Instance(); // before the lock: it registers with the clock
        const WaitDeadline deadline(milliseconds);
        auto lock = TakeStateLock();
        for (auto& object : m_objects)
            object->AddWaiter(&m_waiter);
        registry.Add(&m_waiter);
        const DWORD result = Loop(deadline, lock);
        registry.Remove(&m_waiter);
        for (auto& object : m_objects)
            object->RemoveWaiter(&m_waiter);
        return result;
    }

private:
    DWORD Loop(const WaitDeadline& deadline, std::unique_lock<std::mutex>& lock)
    {
        for (;;) {
            if (const auto satisfied = TrySatisfy())
                return *satisfied;
            if (m_wakeEnds && m_waiter.m_woken) {
                m_waiter.m_woken = false;
                return WAIT_OBJECT_0 + static_cast<DWORD>(m_objects.size());
            }
            if (deadline.Passed())
                return WAIT_TIMEOUT;
            deadline.Sleep(m_waiter.m_condition, lock);
        }
    }

    std::optional<DWORD> TrySatisfy()
    {
        if (m_objects.empty())
            return std::nullopt;
        if (m_waitAll) {
            if (!std::all_of(m_objects.begin(), m_objects.end(), [](const auto& o) { return o->IsSignalled(); }))
                return std::nullopt;
            for (auto& object : m_objects)
                object->OnWaitSatisfied();
            return WAIT_OBJECT_0;
        }
        for (std::size_t i = 0; i < m_objects.size(); ++i) {
            if (m_objects[i]->IsSignalled()) {
                m_objects[i]->OnWaitSatisfied();
                return WAIT_OBJECT_0 + static_cast<DWORD>(i);
            }
        }
        return std::nullopt;
    }

    std::vector<std::shared_ptr<WaitableObject>> m_objects;
    bool m_waitAll = false;
    Waiter& m_waiter;
    bool m_wakeEnds = false;
};

std::mutex& WaitableObject::StateLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

void WaitableObject::NotifyWaiters()
{
    for (Waiter* waiter : m_waiters)
        waiter->m_condition.notify_all();
}

void WaitableObject::AddWaiter(Waiter* waiter)
{
    m_waiters.push_back(waiter);
}

void WaitableObject::RemoveWaiter(Waiter* waiter)
{
    // A handle listed twice registers the waiter twice; take out one entry.
    const auto it = std::find(m_waiters.begin(), m_waiters.end(), waiter);
    if (it != m_waiters.end())
        m_waiters.erase(it);
}

void Waiter::Wake()
{
    {
        const auto lock = TakeStateLock();
        m_woken = true;
    }
    // Told once the lock is free, so that the woken thread does not wake
    // only to wait for the lock. A wait looks at the flag under the lock
    // before it sleeps, so no wake is lost; whoever wakes a waiter holds it.
    m_condition.notify_all();
}

void Waiter::ClearWake()
{
    const auto lock = TakeStateLock();
    m_woken = false;
}

bool Waiter::IsWoken() const
{
    const auto lock = TakeStateLock();
    return m_woken;
}

HandleTable<KernelObject>& KernelHandles()
{
    // Never destroyed: threads that outlive main may still close handles.
    static auto* table = new HandleTable<KernelObject>(HandleKind::Kernel);
    return *table;
}

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object)
{
    HANDLE handle = KernelHandles().Insert(std::move(object));
    if (!handle)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

void SetInvalidHandleError()
{
    SetLastError(ERROR_INVALID_HANDLE);
}

DWORD WaitForObjectsOrWake(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, Waiter* waiter)
{
    if (count > MAXIMUM_WAIT_OBJECTS || (count == 0 && !waiter) || (count != 0 && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<WaitableObject>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = ResolveWaitable(handles[i]);
        if (!object)
            return WAIT_FAILED;
        // Waiting for all of a list that names an object twice has no
        // meaning (an auto-reset event cannot be taken twice at once).
        if (waitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    Waiter ownWaiter;
    WaitOperation operation(std::move(objects), waitAll != FALSE, waiter ? *waiter : ownWaiter, waiter != nullptr);
    return operation.Run(milliseconds);
}

}

BOOL CloseHandle(HANDLE handle)
{
    const auto object = Platform::KernelHandles().Remove(handle);
    if (!object) {
        Platform::SetInvalidHandleError();
        return FALSE;
    }
    return object->OnHandleClosed() ? TRUE : FALSE;
}
