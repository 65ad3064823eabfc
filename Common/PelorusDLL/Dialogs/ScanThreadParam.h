#pragma once
// What the dialog gives one scan worker; the worker deletes it once read.

#include "Common/PelorusDLL/Dialogs/ScanContext.h"

#include <memory>

class CDeviceInfo;

struct tScanThreadParam {
    HWND dialog = nullptr;
    bool byName = false;          // the address, not the host name, is pinged
    CDeviceInfo* record = nullptr; // the worker's until the dialog takes it
    bool checkSupported = false;
    std::shared_ptr<CScanContext> scan;
};
