#include "Products/Corvane/Workers/DeviceWorker.h"

#include "Common/Communication/ConnectionBase.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerContext.h"

#include <system_error>
#include <utility>

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

void CDeviceWorker::RequestStop()
{
    m_Wait.RequestStop();
    // A receive that waits for the device would hold the owner (and a
    // quitting program) until its time-out.
    if (!m_bEnded && m_Params.connection != nullptr && m_Thread.joinable()) {
        m_bAbortedConnection = true;
        m_Params.connection->AbortTransfers();
    }
}

void CDeviceWorker::Join()
{
    if (!m_Thread.joinable() || m_Thread.get_id() == std::this_thread::get_id())
        return;
    m_Thread.join();
    if (std::exchange(m_bAbortedConnection, false))
        m_Params.connection->ResumeTransfers();
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
