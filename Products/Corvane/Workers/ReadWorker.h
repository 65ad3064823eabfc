#pragma once
// The read worker: checks and opens the connection, reads the whole device
// into the data set and ends with "WM_IDENTIFY_DONE".

#include "Products/Corvane/Workers/DeviceWorker.h"

class CReadWorker : public CDeviceWorker {
public:
    using CDeviceWorker::CDeviceWorker;

protected:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};
