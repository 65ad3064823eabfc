#pragma once
// The lock of the window layer (WindowSystem::Lock()). It is not recursive:
// code that holds it must not call back into a function of the layer that
// takes it. A thread that tries anyway would wait for itself for ever, with
// its windows white and deaf to the user; the lock reports the fault and ends
// the process instead, so that such a path shows up in the tests that reach it.
#include <atomic>
#include <mutex>
#include <thread>

namespace Ui {

class WindowLock {
public:
    void lock();
    bool try_lock();
    void unlock();
    // Whether the calling thread holds it.
    bool HeldByThisThread() const;

private:
    std::mutex m_mutex;
    // The holder; only the holder ever finds its own id here.
    std::atomic<std::thread::id> m_owner{};
};

}
