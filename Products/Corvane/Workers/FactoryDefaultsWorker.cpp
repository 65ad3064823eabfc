#include "Products/Corvane/Workers/FactoryDefaultsWorker.h"

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

namespace {

constexpr DWORD kSettleAfterRestartMs = 5000;

bool ResetCoupler(CWorkerContext& context, CDeviceResetSteps& steps, const CString& article)
{
    const bool serial = !context.IsTcpIp();
    bool ok = context.Check(steps.SaveDeviceParameters(), L"SERVICE_SAVE_PARAMS_FAILED");
    if (ok && context.Capabilities().HasFileSystem(article))
        ok = context.Check(steps.FormatFlashDiskWithPolling(), L"SERVICE_FORMAT_FILES_FAILED") &&
             context.Check(steps.ExtractFilesWithPolling(), L"SERVICE_EXTRACT_FILES_FAILED");
    if (ok)
        ok = context.Check(serial ? steps.SoftwareReset(article) : steps.RestartDevice(article),
                           L"SERVICE_SW_RESET_FAILED");
    return ok;
}

}

UINT CFactoryDefaultsWorker::DoneMessage() const { return CWorkerMessages::Get().FactoryDefaultsDone; }

WPARAM CFactoryDefaultsWorker::Run(CWorkerContext& context)
{
    CWorkerConnection connection(context);
    if (const auto refused = OpenForChange(context, connection, ENThreadAction::FactoryDefaults))
        return *refused;

    const CString article = context.Data().ArticleNo;
    const bool serial = !context.IsTcpIp();
    CDeviceResetSteps steps(context, connection);
    if (!context.Check(steps.ResetToFactoryDefaults(article), L"SERVICE_DEFAULT_FAILED"))
        return kResultFailed;
    bool ok = true;
    if (context.Capabilities().IsPlcController(article)) {
        if (serial)
            ok = context.Check(steps.SoftwareReset(article), L"SERVICE_SW_RESET_FAILED");
    } else {
        ok = ResetCoupler(context, steps, article);
    }
    connection.Close();
    if (!ok)
        return kResultFailed;
    // Over TCP/IP the device comes back on its own, maybe at another address.
    if (!serial)
        return kResultStarted;
    ok = context.Check(connection.CheckConnection(10, true), L"STATE_CONNECT_FAILED_AFTER_SW_RESET") &&
         context.Check(connection.OpenIfClosed(), L"STATE_CONNECT_FAILED_AFTER_SW_RESET") &&
         context.Wait().Sleep(kSettleAfterRestartMs) && CDeviceDataReader(context).ReadAllDeviceData();
    return ok ? kResultSucceeded : kResultFailed;
}

}  // namespace Corvane
