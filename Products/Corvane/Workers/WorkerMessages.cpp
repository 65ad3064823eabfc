#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

const CWorkerMessages& CWorkerMessages::Get()
{
    static const CWorkerMessages messages;
    return messages;
}

CWorkerMessages::CWorkerMessages()
    : FirstShow(RegisterWindowMessageW(L"WM_FIRSTSHOW")),
      UpdateSettingsMenu(RegisterWindowMessageW(L"WM_UPDATE_SETTINGS_MENU")),
      ShowThreadState(RegisterWindowMessageW(L"WM_SHOW_THREAD_STATE")),
      IdentifyDone(RegisterWindowMessageW(L"WM_IDENTIFY_DONE")),
      WriteSettingsDone(RegisterWindowMessageW(L"WM_WRITE_SETTINGS_DONE")),
      FactoryDefaultsDone(RegisterWindowMessageW(L"WM_FACTORY_DEFAULTS_DONE")),
      SoftwareResetDone(RegisterWindowMessageW(L"WM_SOFTWARE_RESET_DONE")),
      ResetFileSystemDone(RegisterWindowMessageW(L"WM_RESET_FILESYSTEM_DONE")),
      FbcSettingsChanged(RegisterWindowMessageW(L"WM_FBC_SETTINGS_CHANGED")),
      IsModified(RegisterWindowMessageW(L"WM_IS_MODIFIED")),
      IsOfflineConfig(RegisterWindowMessageW(L"WM_IS_OFFLINE_CONFIG")),
      IsPageInList(RegisterWindowMessageW(L"WM_IS_PAGE_IN_LIST")),
      ReadSettings(RegisterWindowMessageW(L"WM_READ_SETTINGS")),
      WriteSettings(RegisterWindowMessageW(L"WM_WRITE_SETTINGS")),
      SoftwareReset(RegisterWindowMessageW(L"WM_SOFTWARE_RESET")),
      EvaluateShortcuts(RegisterWindowMessageW(L"WM_EVALUATE_SHORTCUTS")),
      ShowConnectionState(RegisterWindowMessageW(L"WM_SHOW_CONNECTION_STATE")),
      EditCell(RegisterWindowMessageW(L"WM_EDIT_CELL"))
{
}

}  // namespace Corvane
