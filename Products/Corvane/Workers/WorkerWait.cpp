#include "Products/Corvane/Workers/WorkerWait.h"

#include "Platform/Base/Clock.h"

#include <algorithm>

namespace Corvane {

bool CWorkerWait::Sleep(DWORD milliseconds) const
{
    DWORD left = milliseconds;
    while (left > 0) {
        if (StopRequested())
            return false;
        const DWORD slice = std::min(left, kSliceMs);
        ::Sleep(slice);
        left -= slice;
    }
    return !StopRequested();
}

}  // namespace Corvane
