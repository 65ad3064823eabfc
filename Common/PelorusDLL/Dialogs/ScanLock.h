#pragma once
// The one lock of all network scans in the process: it guards the
// outstanding-worker counts and the dialogs' result lists. Made on first use,
// which the language makes safe from any thread, and never torn down while a
// worker could still take it.

#include "Platform/Base/CriticalSection.h"

class CScanLock {
public:
    static CRITICAL_SECTION* Section();
};
