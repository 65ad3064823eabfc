#include "Products/Corvane/Workers/DeviceWorker.h"

#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <system_error>

namespace Corvane {

CDeviceWorker::~CDeviceWorker()
{
    RequestStop();
    Join();
}

bool CDeviceWorker::Start()
{
    try {
        m_Thread = std::thread([this] { ThreadMain(); });
        return true;
    } catch (const std::system_error&) {
        CWorkerBusyFlag& busy = m_Params.busy != nullptr ? *m_Params.busy : GetWorkerBusyFlag();
        busy.Release();
        m_bEnded = true;
        return false;
    }
}

void CDeviceWorker::Join()
{
    if (m_Thread.joinable() && m_Thread.get_id() != std::this_thread::get_id())
        m_Thread.join();
}

void CDeviceWorker::ThreadMain()
{
    CWorkerContext context(m_Params, m_Wait);
    WPARAM result = CWorkerJob::kResultFailed;
    if (context.IsComplete()) {
        try {
            result = m_pJob->Run(context);
        } catch (...) {
            // A device step must not take the process down with it.
            result = CWorkerJob::kResultFailed;
        }
    }
    m_bEnded = true;
    context.Reporter().Done(m_pJob->DoneMessage(), result, reinterpret_cast<LPARAM>(m_Params.data));
}

}  // namespace Corvane
