#pragma once
// The objects behind HANDLE values (events, threads, and whatever other
// modules register: ports, files ...), the table that holds them, and the
// wait machinery that the wait functions and the message-queue layer share.
//
// Lifetime: the table holds one reference per open handle; every call that
// works on an object holds its own reference while it runs. CloseHandle only
// drops the table's reference, so closing a handle that another thread waits
// on or reads from is safe: that thread keeps the object until it is done,
// and every later use of the handle fails with ERROR_INVALID_HANDLE.
//
// Waiting: all state of waitable objects is guarded by one process-wide lock
// (WaitableObject::StateLock), which makes a wait for all of several objects
// atomic. A waiting thread registers a Waiter with each object it waits on;
// an object that becomes signalled wakes those waiters, and each waiter looks
// again at everything it waits for.
//
// Building MsgWaitForMultipleObjects on top (the message-queue layer):
// keep one Waiter per thread's queue, call Wake() on it whenever something
// is put into that queue (from any thread), and wait with
// WaitForObjectsOrWake(count, handles, waitAll, timeout, &queueWaiter). The
// wait returns WAIT_OBJECT_0 + count when the waiter was woken, either during
// the wait or at any time since the previous wait that returned for a wake;
// that kept wake is what makes "check the queue, then wait" free of lost
// wake-ups. A kept wake may be stale (the message it announced has already
// been taken), so the caller checks its queue again and waits again.

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/Types.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
// WAIT_TIMEOUT (258) is in WinError.h.

namespace Platform {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called by CloseHandle after the handle has left the table; other
    // threads may still hold references. An object that owns a device can
    // release it here; returning false makes CloseHandle fail with the last
    // error the object has set.
    virtual bool OnHandleClosed() { return true; }
};

class Waiter;

// An object that threads can wait for.
class WaitableObject : public KernelObject {
public:
    // The lock that guards the state of all waitable objects and waiters.
    static std::mutex& StateLock();

    // Both are called with StateLock held, by the waits only.
    // Whether a wait for this object would be satisfied now.
    virtual bool IsSignalled() const = 0;
    // A wait has been satisfied by this object (an auto-reset event resets).
    virtual void OnWaitSatisfied() {}

    // Called with StateLock held whenever the object may have become
    // signalled: every thread that waits for it looks again.
    void NotifyWaiters();

    void AddWaiter(Waiter* waiter);
    void RemoveWaiter(Waiter* waiter);

private:
    std::vector<Waiter*> m_waiters;
};

// The wake-up point of one waiting thread (see the top of this file). Only
// one thread waits on a given waiter at a time; any thread may wake it, as
// long as the waiter lives until Wake returns.
class Waiter {
public:
    Waiter() = default;
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;

    // Ends the current wait with WAIT_OBJECT_0 + count, or the next one at
    // once when no wait is running.
    void Wake();
    // Forgets a kept wake. Call it only just before looking at what the
    // wakes announce, never between that look and the wait.
    void ClearWake();
    bool IsWoken() const;
    // IsWoken without the lock, for a thread that polls before it waits; the
    // wait itself still decides under the lock.
    bool IsWokenNow() const { return m_woken.load(std::memory_order_acquire); }

private:
    friend class WaitOperation;
    friend class WaitableObject;
    friend class WaitRegistry;
    std::condition_variable m_condition;
    // Changed under WaitableObject::StateLock only; atomic for IsWokenNow.
    std::atomic<bool> m_woken = false;
};

HandleTable<KernelObject>& KernelHandles();

// A new handle for the object; null with ERROR_NOT_ENOUGH_MEMORY when the
// table is full.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);

// The object of the handle when it is open and of type T; null with
// ERROR_INVALID_HANDLE otherwise.
template <typename T>
std::shared_ptr<T> FindKernelObject(HANDLE handle);

void SetInvalidHandleError();

// What GetCurrentThread returns: a constant that stands for the calling
// thread and is not in the table.
inline HANDLE CurrentThreadPseudoHandle()
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));
}

template <typename T>
std::shared_ptr<T> FindKernelObject(HANDLE handle)
{
    auto object = std::dynamic_pointer_cast<T>(KernelHandles().Lookup(handle));
    if (!object)
        SetInvalidHandleError();
    return object;
}

// Waits like WaitForMultipleObjects; with a waiter, a wake of it (during the
// wait or kept from before) also ends the wait, with WAIT_OBJECT_0 + count,
// and is used up. Signalled objects are reported before a wake. With a
// waiter, count may be 0 (a wait for the wake or the time-out alone). A wake
// always ends the wait, also in wait-all mode.
DWORD WaitForObjectsOrWake(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, Waiter* waiter);

}

BOOL CloseHandle(HANDLE handle);
