#pragma once
// The progress a worker reports with "WM_SHOW_THREAD_STATE": an action code
// in the low 16 bits of wParam, a state code in the low 16 bits of lParam
// and bit 31 of lParam for a step inside the action. The table gives each
// code its text key and what the state means for the progress display.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

namespace Corvane {

enum class ENThreadAction : WORD {
    SoftwareReset = 1,
    ExtractFiles = 2,
    FormatFlash = 3,
    ResetFileSystem = 4,
    SaveParameter = 5,
    FactoryDefaults = 6,
    IdentifyDevice = 7,
    ConnectDevice = 8,
    WriteSettings = 9,
    EnableParam = 10,
    WriteNetworkParameters = 11,
    WriteNetworkParametersX1 = 12,
    WriteNetworkParametersX2 = 13,
    GetSDCardStatus = 14,
    SetPlcRootLocation = 15,
    EnableTerminalBusExtension = 16,
    DisableTerminalBusExtension = 17,
    ChangeRuntimeSystem = 18,
    DeactivateRuntimeSystem = 19,
    WriteSpecific = 20,
    SetEthInterfaceSwitched = 21,
    SetEthInterfaceSeparated = 22
};

enum class ENThreadState : WORD {
    Failed = 0,
    Done = 1,
    Working = 2,
    NotAllDatasetParamsWritten = 3,
    NotAllDeviceParamsWritten = 4,
    Unknown = 5,
    Started = 6
};

// What a state means for the progress display.
enum class ENStateEffect { Failed, Succeeded, Working, Ended };

struct tThreadStateView {
    int action = 0;
    int state = 0;
    bool subStep = false;
    // Empty for an action outside the table (its text is then
    // "Unknown Action %d").
    CString actionKey;
    CString stateKey;
    ENStateEffect effect = ENStateEffect::Ended;
    // Counts as a success of the step (never for a sub-step).
    bool succeeded = false;
    // Adds to the not-all-parameters-written counters.
    bool notAllDatasetParams = false;
    bool notAllDeviceParams = false;
    // Connection-state icon the state shows; 0 leaves the icon.
    int icon = 0;
};

class CThreadStateTable {
public:
    static constexpr DWORD kSubStepBit = 0x80000000u;
    static constexpr int kIconFailed = 271;
    static constexpr int kIconWorking = 269;
    static constexpr int kIconConnecting = 270;

    static WPARAM MakeWParam(ENThreadAction action) { return static_cast<WPARAM>(action); }
    static LPARAM MakeLParam(ENThreadState state, bool subStep) { return MakeLParam(static_cast<WORD>(state), subStep); }
    static LPARAM MakeLParam(WORD state, bool subStep)
    {
        return static_cast<LPARAM>(static_cast<DWORD>(state) | (subStep ? kSubStepBit : 0u));
    }

    // Empty for a code outside the table.
    static CString ActionKey(int action);
    static CString StateKey(int state);
    // The text of the action: its language text, or "Unknown Action %d".
    static CString ActionText(int action);

    static tThreadStateView Interpret(WPARAM wParam, LPARAM lParam);
};

}  // namespace Corvane
