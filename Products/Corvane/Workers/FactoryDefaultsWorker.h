#pragma once
// The factory-defaults worker: resets the device to its factory settings
// (and a coupler's file system), restarts it and, over a serial line, reads
// it again; ends with "WM_FACTORY_DEFAULTS_DONE".

#include "Products/Corvane/Workers/WorkerJob.h"

namespace Corvane {

class CFactoryDefaultsWorker : public CWorkerJob {
public:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};

}  // namespace Corvane
