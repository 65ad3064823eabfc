#pragma once
// The write worker: holds the data set against the connected device, writes
// it, saves and restarts the device, follows a changed address and reads the
// device back; ends with "WM_WRITE_SETTINGS_DONE".

#include "Products/Corvane/Workers/DeviceWorker.h"

class CWriteSettingsWorker : public CDeviceWorker {
public:
    using CDeviceWorker::CDeviceWorker;

protected:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};
