#include "Common/SystemHelper/System/AutoLock.h"

CAutoLock::CAutoLock(CRITICAL_SECTION* section)
    : m_section(section)
{
    if (m_section)
        EnterCriticalSection(m_section);
}

CAutoLock::~CAutoLock()
{
    Unlock();
}

void CAutoLock::Unlock()
{
    if (m_section) {
        LeaveCriticalSection(m_section);
        m_section = nullptr;
    }
}
