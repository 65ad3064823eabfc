#include "Products/Corvane/Workers/SoftwareResetWorker.h"

#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

UINT CSoftwareResetWorker::DoneMessage() const { return CWorkerMessages::Get().SoftwareResetDone; }

WPARAM CSoftwareResetWorker::Run(CWorkerContext& context)
{
    CWorkerConnection connection(context);
    if (const auto refused = OpenForChange(context, connection, ENThreadAction::SoftwareReset))
        return *refused;
    CDeviceResetSteps steps(context, connection);
    const CString article = context.Data().ArticleNo;
    const bool ok = context.Check(steps.SoftwareReset(article), L"SERVICE_SW_RESET_FAILED") &&
                    context.CheckReachable(connection.OpenIfClosed()) &&
                    CDeviceDataReader(context).ReadAllDeviceData();
    return ok ? kResultSucceeded : kResultFailed;
}

}  // namespace Corvane
