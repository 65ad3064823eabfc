#pragma once
// Holds a critical section for a scope; Unlock leaves it early.

#include "Platform/Base/CriticalSection.h"

class CAutoLock {
public:
    explicit CAutoLock(CRITICAL_SECTION* section);
    CAutoLock(const CAutoLock&) = delete;
    CAutoLock& operator=(const CAutoLock&) = delete;
    virtual ~CAutoLock();

    void Unlock();

private:
    CRITICAL_SECTION* m_section = nullptr;
};
