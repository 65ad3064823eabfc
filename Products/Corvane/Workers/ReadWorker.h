#pragma once
// The read worker: checks and opens the connection, reads the whole device
// into the data set and ends with "WM_IDENTIFY_DONE".

#include "Products/Corvane/Workers/WorkerJob.h"

namespace Corvane {

class CReadWorker : public CWorkerJob {
public:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};

}  // namespace Corvane
