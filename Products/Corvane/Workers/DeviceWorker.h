#pragma once
// One device worker: a thread that works on the device through the
// parameter block, reports progress to the window and ends with one done
// message. Its owner keeps the object (and the data set, service and
// connection it points to) until the worker has ended; destroying it asks
// the worker to stop and waits for it, so nothing the worker uses goes away
// under it.

#include "Products/Corvane/Workers/WorkerJob.h"
#include "Products/Corvane/Workers/WorkerParams.h"
#include "Products/Corvane/Workers/WorkerWait.h"

#include <atomic>
#include <memory>
#include <thread>

namespace Corvane {

class CWorkerContext;

class CDeviceWorker final {
public:
    CDeviceWorker(const tWorkerParams& params, std::unique_ptr<CWorkerJob> job)
        : m_Params(params), m_pJob(std::move(job))
    {
    }
    template <typename Job>
    static std::unique_ptr<CDeviceWorker> Create(const tWorkerParams& params)
    {
        return std::make_unique<CDeviceWorker>(params, std::make_unique<Job>());
    }
    ~CDeviceWorker();
    CDeviceWorker(const CDeviceWorker&) = delete;
    CDeviceWorker& operator=(const CDeviceWorker&) = delete;

    // Starts the thread. When it cannot start, the busy flag is cleared and
    // false comes back; the caller reports the failure.
    bool Start();
    // Ends the worker's waits early and cuts a transfer in flight short;
    // its device steps then fail at once.
    void RequestStop();
    // Waits until the thread has ended; a connection cut by RequestStop
    // takes transfers again afterwards.
    void Join();
    bool HasEnded() const { return m_bEnded.load(); }

private:
    void ThreadMain();

    tWorkerParams m_Params;
    std::unique_ptr<CWorkerJob> m_pJob;
    CWorkerWait m_Wait;
    std::thread m_Thread;
    std::atomic<bool> m_bEnded{false};
    bool m_bAbortedConnection = false;
};

}  // namespace Corvane
