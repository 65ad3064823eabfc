#include "Products/Corvane/Workers/WorkerJob.h"

#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"

namespace Corvane {

std::optional<WPARAM> CWorkerJob::OpenForChange(CWorkerContext& context, CWorkerConnection& connection,
                                                ENThreadAction action)
{
    context.Reporter().ShowState(action, ENThreadState::Working);
    if (!connection.CheckAndOpen(1))
        return kResultFailed;
    // Nothing was changed: the user refused or was refused the data set, and
    // has seen why in the check's own message.
    if (!connection.ConnectAndCheckDataset())
        return kResultCanceled;
    return std::nullopt;
}

}  // namespace Corvane
