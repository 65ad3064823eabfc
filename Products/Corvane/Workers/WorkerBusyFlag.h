#pragma once
// The one-worker-at-a-time flag. The user-interface thread sets it when it
// starts a worker; only that worker clears it, just before it reports its
// end, so that no second worker can start while the first still runs.

#include <atomic>

namespace Corvane {

class CWorkerBusyFlag {
public:
    // True when the flag was clear and is now set by the caller.
    bool TryAcquire()
    {
        bool expected = false;
        return m_bBusy.compare_exchange_strong(expected, true);
    }
    bool IsSet() const { return m_bBusy.load(); }
    void Release() { m_bBusy.store(false); }

private:
    std::atomic<bool> m_bBusy{false};
};

// The process-wide flag of the program's device workers.
CWorkerBusyFlag& GetWorkerBusyFlag();

}  // namespace Corvane
