#pragma once
// The waits of a worker, cut short when its owner asks it to stop (the
// window it reports to is going away). Each wait sleeps on the platform
// clock in short slices, so that tests on the manual clock cost no time.

#include "Platform/Base/Types.h"

#include <atomic>

namespace Corvane {

class CWorkerWait {
public:
    // False when a stop was asked for before or during the wait.
    bool Sleep(DWORD milliseconds) const;
    void RequestStop() { m_bStop.store(true); }
    bool StopRequested() const { return m_bStop.load(); }

private:
    static constexpr DWORD kSliceMs = 50;
    std::atomic<bool> m_bStop{false};
};

}  // namespace Corvane
