#pragma once
// The restart worker: restarts the device and reads it again; ends with
// "WM_SOFTWARE_RESET_DONE".

#include "Products/Corvane/Workers/WorkerJob.h"

namespace Corvane {

class CSoftwareResetWorker : public CWorkerJob {
public:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};

}  // namespace Corvane
