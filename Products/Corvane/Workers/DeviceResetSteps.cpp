#include "Products/Corvane/Workers/DeviceResetSteps.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WriteStopText.h"

#include <string>

namespace Corvane {

namespace {

constexpr WORD kBusyState = 0x821D;
constexpr unsigned int kServiceStateTable = 127;
constexpr unsigned int kServiceStateRegister = 1;
constexpr DWORD kSettleMs = 500;
constexpr DWORD kFormatPollMs = 500;
constexpr DWORD kExtractPollMs = 3000;
constexpr DWORD kFactoryPollMs = 2000;

// The bounds of one poll loop: a request count and a time on the platform
// clock, whichever ends first.
class CPollBudget {
public:
    CPollBudget() : m_nDeadline(Platform::Clock::NowMs() + CDeviceResetSteps::kMaxPollMs) {}
    bool Next() { return ++m_nRequests <= CDeviceResetSteps::kMaxPollRequests && Platform::Clock::NowMs() < m_nDeadline; }

private:
    ULONGLONG m_nDeadline = 0;
    int m_nRequests = 0;
};

}

bool CDeviceResetSteps::LastErrorIs(DWORD code) const { return m_Context.Service().GetLastErrorCode() == code; }

bool CDeviceResetSteps::SaveDeviceParameters()
{
    const ENStoreOutcome outcome = StoreParameters().outcome;
    return outcome == ENStoreOutcome::Stored || outcome == ENStoreOutcome::NotSupported;
}

tStoreResult CDeviceResetSteps::StoreParameters()
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    CServiceBase& service = m_Context.Service();
    reporter.ShowState(ENThreadAction::SaveParameter, ENThreadState::Working);
    service.ResetLastErrorCode();
    tStoreResult result;
    const bool taken = service.SaveParameter();
    if (!taken || !PollServiceState(0)) {
        result.errorCode = service.GetLastErrorCode();
        if (result.errorCode == 0)
            result.errorCode = GetLastError();
        // A device without the save service keeps its parameters by itself.
        if (result.errorCode == PELORUS_ERROR_SERVICE_NOT_SUPPORTED)
            result.outcome = ENStoreOutcome::NotSupported;
        else if (!taken && CWriteStopText::IsDeviceStatus(result.errorCode))
            result.outcome = ENStoreOutcome::Refused;
        else
            result.outcome = ENStoreOutcome::Unknown;
    }
    const bool ok = result.outcome == ENStoreOutcome::Stored || result.outcome == ENStoreOutcome::NotSupported;
    reporter.ShowResult(ENThreadAction::SaveParameter, ok, true);
    return result;
}

bool CDeviceResetSteps::PollServiceState(DWORD intervalMs)
{
    CServiceBase& service = m_Context.Service();
    const CWorkerWait& wait = m_Context.Wait();
    CPollBudget budget;
    int settled = 0;
    bool ended = false;
    while (!ended) {
        if (!budget.Next() || !wait.Sleep(intervalMs))
            return false;
        WORD state = 0;
        if (!service.ReadRegister(0, kServiceStateTable, kServiceStateRegister, 1, &state))
            break;
        switch (state) {
        case 0:
            ended = settled == 3;
            if (!ended && !wait.Sleep(kSettleMs))
                return false;
            ++settled;
            break;
        case 1:
            ++settled;
            break;
        case 2:
            ended = settled != 0;
            if (!ended && !wait.Sleep(kSettleMs))
                return false;
            settled = 1;
            break;
        default:
            ended = true;
            break;
        }
    }
    WORD state = 0;
    return service.ReadRegister(0, kServiceStateTable, kServiceStateRegister, 1, &state);
}

int CDeviceResetSteps::SetRestartTimeout(const CString& article)
{
    const std::wstring text = m_Context.Connection().GetSettingsValue(L"RestartTimeoutSeconds");
    int old = 0;
    try {
        old = text.empty() ? 0 : std::stoi(text);
    } catch (...) {
        old = 0;
    }
    const int boot = m_Context.Capabilities().GetBootDelay(article);
    if (boot != -1 && old < boot)
        ApplyRestartTimeout(boot);
    return old;
}

void CDeviceResetSteps::RestoreRestartTimeout(int seconds) { ApplyRestartTimeout(seconds); }

void CDeviceResetSteps::ApplyRestartTimeout(int seconds)
{
    ZELL::CConnectionBase& connection = m_Context.Connection();
    CString xml;
    xml.Format(L"<?xml version='1.0'?> <%s RestartTimeoutSeconds='%d'/>", connection.GetType().c_str(), seconds);
    connection.SetSettingsXML(xml.str());
}

bool CDeviceResetSteps::Restart(const CString& article, bool withoutWaiting, bool checkAfterFailure)
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::SoftwareReset, ENThreadState::Working);
    const int old = SetRestartTimeout(article);
    CServiceBase& service = m_Context.Service();
    bool ok = withoutWaiting ? service.RestartSystemWithoutWaiting() : service.RestartSystem();
    m_Connection.Close();
    RestoreRestartTimeout(old);
    if (!ok && checkAfterFailure)
        ok = m_Connection.CheckConnection(2, true);
    reporter.ShowResult(ENThreadAction::SoftwareReset, ok, true);
    return ok;
}

bool CDeviceResetSteps::SoftwareReset(const CString& article) { return Restart(article, false, true); }

bool CDeviceResetSteps::RestartDevice(const CString& article) { return Restart(article, true, false); }

bool CDeviceResetSteps::ResetToFactoryDefaults(const CString& article)
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    reporter.ShowState(ENThreadAction::FactoryDefaults, ENThreadState::Working);
    const bool controller = m_Context.Capabilities().IsPlcController(article);
    CServiceBase& service = m_Context.Service();
    if (controller && service.SendsRestartWithoutWaiting() && m_Context.Connection().RestartsByReconnecting()) {
        // The controller restarts at once and answers no more; whether the
        // request went out is all there is to know.
        const bool sent = service.SetFactoryDefaultsWithoutWaiting();
        reporter.ShowState(ENThreadAction::FactoryDefaults,
                           sent ? ENThreadState::Started : ENThreadState::Failed, true);
        return true;
    }
    bool ok = service.SetFactoryDefaults();
    if (ok && controller)
        ok = PollServiceState(kFactoryPollMs) || PollServiceState(kFactoryPollMs);
    reporter.ShowResult(ENThreadAction::FactoryDefaults, ok, true);
    return ok;
}

bool CDeviceResetSteps::FormatFlashDiskWithPolling()
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    CServiceBase& service = m_Context.Service();
    reporter.ShowState(ENThreadAction::FormatFlash, ENThreadState::Working);
    bool ok = service.FormatFlashDisk(0);
    if (!ok && LastErrorIs(ZELL::CServiceAPI::kBusy)) {
        CPollBudget budget;
        for (;;) {
            if (!budget.Next() || !m_Context.Wait().Sleep(kFormatPollMs)) {
                ok = false;
                break;
            }
            tServiceState state;
            ok = service.GetServiceState(3, 2, state);
            if (!ok || state.wState != kBusyState)
                break;
            reporter.ShowState(ENThreadAction::FormatFlash, ENThreadState::Working);
        }
    }
    reporter.ShowResult(ENThreadAction::FormatFlash, ok, true);
    return ok;
}

bool CDeviceResetSteps::ExtractFilesWithPolling()
{
    const CWorkerReporter& reporter = m_Context.Reporter();
    CServiceBase& service = m_Context.Service();
    reporter.ShowState(ENThreadAction::ExtractFiles, ENThreadState::Working);
    bool ok = service.ExtractFiles(0xFFFF);
    if (!ok && LastErrorIs(ZELL::CServiceAPI::kBusy)) {
        CPollBudget budget;
        for (;;) {
            if (!budget.Next() || !m_Context.Wait().Sleep(kExtractPollMs))
                break;
            tServiceState state;
            // The first answer after the wait can still be the old one.
            if (!service.GetServiceState(3, 1, state) || !service.GetServiceState(3, 1, state))
                break;
            if (state.wState != kBusyState) {
                ok = state.wState == 0;
                break;
            }
            reporter.ShowState(ENThreadAction::ExtractFiles, ENThreadState::Working);
        }
    }
    reporter.ShowResult(ENThreadAction::ExtractFiles, ok, true);
    return ok;
}

}  // namespace Corvane
