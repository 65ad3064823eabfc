#include "Products/Corvane/Workers/DeviceWorker.h"

#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <system_error>

CDeviceWorker::~CDeviceWorker()
{
    RequestStop();
    Join();
}

bool CDeviceWorker::Start()
{
    try {
        m_thread = std::thread([this] { ThreadMain(); });
        return true;
    } catch (const std::system_error&) {
        CWorkerBusyFlag& busy = m_params.busy != nullptr ? *m_params.busy : GetWorkerBusyFlag();
        busy.Release();
        m_ended = true;
        return false;
    }
}

void CDeviceWorker::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void CDeviceWorker::ThreadMain()
{
    CWorkerContext context(m_params, m_wait);
    WPARAM result = CWorkerJob::ResultFailed;
    if (context.IsComplete()) {
        try {
            result = m_job->Run(context);
        } catch (...) {
            // A device step must not take the process down with it.
            result = CWorkerJob::ResultFailed;
        }
    }
    m_ended = true;
    context.Reporter().Done(m_job->DoneMessage(), result, reinterpret_cast<LPARAM>(m_params.data));
}
