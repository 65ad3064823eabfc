#pragma once
// What a device worker works on. The starter fills the block; the objects
// it points to belong to the starter and outlive the worker (the worker's
// owner joins it before they go).

#include "Platform/Ui/WinUser.h"

class CServiceBase;
namespace ZELL {
class CConnectionBase;
}

namespace Corvane {

class CFBCData;
class CDeviceCapabilityFile;
class CWorkerPrompt;
class CWorkerBusyFlag;

struct tWorkerParams {
    // The window the progress and the end message go to.
    HWND window = nullptr;
    ZELL::CConnectionBase* connection = nullptr;
    CServiceBase* service = nullptr;
    CFBCData* data = nullptr;
    const CDeviceCapabilityFile* capabilities = nullptr;
    // Null: questions are answered No, error messages are not shown.
    CWorkerPrompt* prompt = nullptr;
    // Null: the process-wide flag.
    CWorkerBusyFlag* busy = nullptr;
};

}  // namespace Corvane
