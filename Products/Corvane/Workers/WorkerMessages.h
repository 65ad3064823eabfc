#pragma once
// The window messages the program registers by name at start-up: worker
// progress and results for the main dialog, and the pages' notifications.

#include "Platform/Ui/WinUser.h"

namespace Corvane {

class CWorkerMessages {
public:
    // Registers every name on the first call; the ids hold for the process.
    static const CWorkerMessages& Get();

    UINT FirstShow = 0;
    UINT UpdateSettingsMenu = 0;
    UINT ShowThreadState = 0;
    UINT IdentifyDone = 0;
    UINT WriteSettingsDone = 0;
    UINT FactoryDefaultsDone = 0;
    UINT SoftwareResetDone = 0;
    UINT ResetFileSystemDone = 0;
    UINT FbcSettingsChanged = 0;
    UINT IsModified = 0;
    UINT IsOfflineConfig = 0;
    UINT IsPageInList = 0;
    UINT ReadSettings = 0;
    UINT WriteSettings = 0;
    UINT SoftwareReset = 0;
    UINT EvaluateShortcuts = 0;
    UINT ShowConnectionState = 0;
    UINT EditCell = 0;

private:
    CWorkerMessages();
};

}  // namespace Corvane
