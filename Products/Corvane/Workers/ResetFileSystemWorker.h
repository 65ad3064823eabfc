#pragma once
// The reset-file-system worker: formats the device's flash disk and
// extracts its files again; ends with "WM_RESET_FILESYSTEM_DONE".

#include "Products/Corvane/Workers/WorkerJob.h"

namespace Corvane {

class CResetFileSystemWorker : public CWorkerJob {
public:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};

}  // namespace Corvane
