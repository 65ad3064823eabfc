#pragma once
// The write worker: holds the data set against the connected device, writes
// it, saves and restarts the device, follows a changed address and reads the
// device back; ends with "WM_WRITE_SETTINGS_DONE".

#include "Products/Corvane/Workers/WorkerJob.h"

namespace Corvane {

class CWriteSettingsWorker : public CWorkerJob {
public:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};

}  // namespace Corvane
