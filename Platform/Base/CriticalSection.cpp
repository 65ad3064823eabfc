#include "Platform/Base/CriticalSection.h"

#include "Platform/Base/Thread.h"

void CRITICAL_SECTION::Enter()
{
    const DWORD self = GetCurrentThreadId();
    if (m_owner.load() == self) {
        ++m_recursion;
        return;
    }
    m_mutex.lock();
    m_owner = self;
    m_recursion = 1;
}

bool CRITICAL_SECTION::TryEnter()
{
    const DWORD self = GetCurrentThreadId();
    if (m_owner.load() == self) {
        ++m_recursion;
        return true;
    }
    if (!m_mutex.try_lock())
        return false;
    m_owner = self;
    m_recursion = 1;
    return true;
}

void CRITICAL_SECTION::Leave()
{
    if (m_owner.load() != GetCurrentThreadId() || m_recursion <= 0)
        return;
    if (--m_recursion == 0) {
        m_owner = 0;
        m_mutex.unlock();
    }
}

void InitializeCriticalSection(LPCRITICAL_SECTION)
{
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION, DWORD)
{
    return TRUE;
}

void EnterCriticalSection(LPCRITICAL_SECTION section)
{
    if (section)
        section->Enter();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section)
{
    return section && section->TryEnter() ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section)
{
    if (section)
        section->Leave();
}

void DeleteCriticalSection(LPCRITICAL_SECTION)
{
}
