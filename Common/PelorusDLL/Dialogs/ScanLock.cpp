#include "Common/PelorusDLL/Dialogs/ScanLock.h"

CRITICAL_SECTION* CScanLock::Section()
{
    // Deliberately leaked: workers of a closed dialog may still take it while
    // the process ends.
    static CRITICAL_SECTION* const section = [] {
        auto* made = new CRITICAL_SECTION;
        InitializeCriticalSection(made);
        return made;
    }();
    return section;
}
