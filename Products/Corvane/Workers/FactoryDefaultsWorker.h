#pragma once
// The factory-defaults worker: resets the device to its factory settings
// (and a coupler's file system), restarts it and, over a serial line, reads
// it again; ends with "WM_FACTORY_DEFAULTS_DONE".

#include "Products/Corvane/Workers/DeviceWorker.h"

class CFactoryDefaultsWorker : public CDeviceWorker {
public:
    using CDeviceWorker::CDeviceWorker;

protected:
    WPARAM Run(CWorkerContext& context) override;
    UINT DoneMessage() const override;
};
