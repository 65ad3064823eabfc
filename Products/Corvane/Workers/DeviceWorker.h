#pragma once
// One device worker: a thread that works on the device through the
// parameter block, reports progress to the window and ends with one done
// message. Its owner keeps the object (and the data set, service and
// connection it points to) until the worker has ended; destroying it asks
// the worker to stop and waits for it, so nothing the worker uses goes away
// under it.

#include "Products/Corvane/Workers/WorkerParams.h"
#include "Products/Corvane/Workers/WorkerWait.h"

#include <atomic>
#include <thread>

class CWorkerContext;

class CDeviceWorker {
public:
    // Results of the done messages.
    static constexpr WPARAM ResultFailed = 0;
    static constexpr WPARAM ResultSucceeded = 1;
    static constexpr WPARAM ResultCanceled = 5;
    static constexpr WPARAM ResultStarted = 6;

    explicit CDeviceWorker(const tWorkerParams& params) : m_params(params) {}
    virtual ~CDeviceWorker();
    CDeviceWorker(const CDeviceWorker&) = delete;
    CDeviceWorker& operator=(const CDeviceWorker&) = delete;

    // Starts the thread. When it cannot start, the busy flag is cleared and
    // false comes back; the caller reports the failure.
    bool Start();
    // Ends the worker's waits early; its device steps then fail.
    void RequestStop() { m_wait.RequestStop(); }
    // Waits until the thread has ended.
    void Join();
    bool HasEnded() const { return m_ended.load(); }

protected:
    // The worker's steps; returns the result of its done message.
    virtual WPARAM Run(CWorkerContext& context) = 0;
    virtual UINT DoneMessage() const = 0;

private:
    void ThreadMain();

    tWorkerParams m_params;
    CWorkerWait m_wait;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
};
