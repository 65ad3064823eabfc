#pragma once
// The restart worker: restarts the device and reads it again; ends with
// "WM_SOFTWARE_RESET_DONE".

#include "Products/Corvane/Workers/DeviceWorker.h"

class CSoftwareResetWorker : public CDeviceWorker {
public:
    using CDeviceWorker::CDeviceWorker;

protected:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};
