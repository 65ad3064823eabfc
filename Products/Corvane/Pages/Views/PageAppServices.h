#pragma once
// What the clock, network identification, controller, protocol, memory-card
// and state pages ask of the application: the device capability file and the
// article's features. Without an application object (a page shown on its
// own) every look-up gives the file's defaults.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"

namespace Corvane {

class CFBCData;

class CPageAppServices {
public:
    static const CDeviceCapabilityFile& Capabilities();
    // Whether the data set's article is a programmable controller; false
    // without a data set.
    static bool IsPlcController(const CFBCData* data);
};

}  // namespace Corvane
