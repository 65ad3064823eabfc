#include "Products/Corvane/Workers/ReadWorker.h"

#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

UINT CReadWorker::DoneMessage() const { return CWorkerMessages::Get().IdentifyDone; }

WPARAM CReadWorker::Run(CWorkerContext& context)
{
    CWorkerConnection connection(context);
    bool ok = context.CheckReachable(connection.CheckConnection(2, false));
    context.Reporter().ShowState(ENThreadAction::IdentifyDevice, ENThreadState::Working);
    if (ok)
        ok = context.CheckReachable(connection.OpenIfClosed());
    if (ok)
        ok = CDeviceDataReader(context).ReadAllDeviceData();
    connection.CloseIfOpenedHere();
    return ok ? kResultSucceeded : kResultFailed;
}

}  // namespace Corvane
