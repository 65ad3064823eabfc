#include "Products/Corvane/Workers/ResetFileSystemWorker.h"

#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

UINT CResetFileSystemWorker::DoneMessage() const { return CWorkerMessages::Get().ResetFileSystemDone; }

WPARAM CResetFileSystemWorker::Run(CWorkerContext& context)
{
    CWorkerConnection connection(context);
    if (const auto refused = OpenForChange(context, connection, ENThreadAction::ResetFileSystem))
        return *refused;
    CDeviceResetSteps steps(context, connection);
    const bool ok = context.Check(steps.FormatFlashDiskWithPolling(), L"SERVICE_FORMAT_FILES_FAILED") &&
                    context.Check(steps.ExtractFilesWithPolling(), L"SERVICE_EXTRACT_FILES_FAILED");
    return ok ? kResultSucceeded : kResultFailed;
}

}  // namespace Corvane
