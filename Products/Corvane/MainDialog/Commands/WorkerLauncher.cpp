#include "Products/Corvane/MainDialog/Commands/WorkerLauncher.h"

#include "Products/Corvane/Workers/FactoryDefaultsWorker.h"
#include "Products/Corvane/Workers/ReadWorker.h"
#include "Products/Corvane/Workers/ResetFileSystemWorker.h"
#include "Products/Corvane/Workers/SoftwareResetWorker.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WriteSettingsWorker.h"

namespace Corvane {

CWorkerLauncher::~CWorkerLauncher()
{
    StopAndWait();
}

bool CWorkerLauncher::Launch(ENWorkerKind kind, const tWorkerParams& params)
{
    CWorkerBusyFlag& busy = BusyOf(params);
    if (!busy.TryAcquire())
        return false;
    // The previous worker cleared the flag just before its end message, so
    // it is ending and the wait is short.
    ReleaseEnded();
    m_pWorker = std::make_unique<CDeviceWorker>(params, MakeJob(kind));
    if (StartThread(*m_pWorker))
        return true;
    m_pWorker.reset();
    busy.Release();
    return false;
}

void CWorkerLauncher::StopAndWait()
{
    if (!m_pWorker)
        return;
    m_pWorker->RequestStop();
    m_pWorker->Join();
    m_pWorker.reset();
}

void CWorkerLauncher::ReleaseEnded()
{
    if (m_pWorker && m_pWorker->HasEnded()) {
        m_pWorker->Join();
        m_pWorker.reset();
    }
}

bool CWorkerLauncher::IsRunning() const
{
    return m_pWorker && !m_pWorker->HasEnded();
}

CString CWorkerLauncher::StartTextKey(ENWorkerKind kind, bool controller)
{
    switch (kind) {
    case ENWorkerKind::Read:
        return L"STATE_GRID_IDENTIFY";
    case ENWorkerKind::Write:
        return L"STATE_GRID_WRITE";
    case ENWorkerKind::FactoryDefaults:
        return controller ? L"STATE_GRID_DEFAULT_ORBIS200" : L"STATE_GRID_DEFAULT";
    case ENWorkerKind::SoftwareReset:
        return L"STATE_GRID_RESTART";
    case ENWorkerKind::ResetFileSystem:
        return L"STATE_GRID_RESET_FILESYSTEM";
    }
    return CString();
}

std::unique_ptr<CWorkerJob> CWorkerLauncher::MakeJob(ENWorkerKind kind)
{
    switch (kind) {
    case ENWorkerKind::Read:
        return std::make_unique<CReadWorker>();
    case ENWorkerKind::Write:
        return std::make_unique<CWriteSettingsWorker>();
    case ENWorkerKind::FactoryDefaults:
        return std::make_unique<CFactoryDefaultsWorker>();
    case ENWorkerKind::SoftwareReset:
        return std::make_unique<CSoftwareResetWorker>();
    case ENWorkerKind::ResetFileSystem:
        return std::make_unique<CResetFileSystemWorker>();
    }
    return nullptr;
}

CWorkerBusyFlag& CWorkerLauncher::BusyOf(const tWorkerParams& params)
{
    return params.busy != nullptr ? *params.busy : GetWorkerBusyFlag();
}

}  // namespace Corvane
