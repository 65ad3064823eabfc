#pragma once
// CRITICAL_SECTION: a lock that its owner may enter again (each Enter needs
// its Leave), as the platform's. It is usable from construction on;
// Initialize and Delete keep their place in the code that calls them.
// A Leave by a thread that does not own the section is ignored instead of
// unlocking someone else's lock.

#include "Platform/Base/Types.h"

#include <atomic>
#include <mutex>

class CRITICAL_SECTION {
public:
    CRITICAL_SECTION() = default;
    CRITICAL_SECTION(const CRITICAL_SECTION&) = delete;
    CRITICAL_SECTION& operator=(const CRITICAL_SECTION&) = delete;

    void Enter();
    bool TryEnter();
    void Leave();
    // The thread id of the owner, 0 when free.
    DWORD Owner() const { return m_owner.load(); }
    LONG RecursionCount() const { return m_recursion; }

private:
    std::mutex m_mutex;
    std::atomic<DWORD> m_owner{0};
    std::atomic<LONG> m_recursion{0}; // changed by the owner only
};

using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
