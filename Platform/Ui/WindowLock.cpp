#include "Platform/Ui/WindowLock.h"

#include "Platform/Base/SpinWait.h"

#include <cstdio>
#include <cstdlib>

namespace Ui {

namespace {

[[noreturn]] void Reentered()
{
    std::fputs("window layer: the window lock was taken again by the thread that holds it\n", stderr);
    std::abort();
}

}

void WindowLock::lock()
{
    if (HeldByThisThread())
        Reentered();
    Platform::LockAwake(m_mutex);
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

bool WindowLock::try_lock()
{
    if (HeldByThisThread())
        Reentered();
    if (!m_mutex.try_lock())
        return false;
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    return true;
}

void WindowLock::unlock()
{
    m_owner.store(std::thread::id{}, std::memory_order_relaxed);
    m_mutex.unlock();
}

bool WindowLock::HeldByThisThread() const
{
    return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

}
