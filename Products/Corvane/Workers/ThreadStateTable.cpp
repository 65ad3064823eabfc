#include "Products/Corvane/Workers/ThreadStateTable.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include <array>
#include <iterator>

namespace Corvane {

namespace {

constexpr std::array<const wchar_t*, 22> kActionKeys = {
    L"STATE_SOFTWARE_RESET",
    L"STATE_EXTRACT_FILES",
    L"STATE_FORMAT_FLASH",
    L"STATE_RESET_FILESYSTEM",
    L"STATE_SAVE_PARAMETER",
    L"STATE_FACTORY_DEFAULTS",
    L"STATE_IDENTIFY_DEVICE",
    L"STATE_CONNECT_DEVICE",
    L"STATE_WRITE_SETTINGS",
    L"STATE_ENABLE_PARAM",
    L"STATE_WRITE_NETWORK_PARAMETERS",
    L"STATE_WRITE_NETWORK_PARAMETERS_X1",
    L"STATE_WRITE_NETWORK_PARAMETERS_X2",
    L"STATE_GET_SCDCARD_STATUS",
    L"STATE_SET_PLC_ROOT_LOCATION",
    L"STATE_ENABLE_TERMINALBUS_EXTENSION",
    L"STATE_DISABLE_TERMINALBUS_EXTENSION",
    L"STATE_CHANGE_RUNTIME_SYSTEM",
    L"STATE_DEACTIVATE_RUNTIME_SYSTEM",
    L"STATE_WRITE_SPECIFIC",
    L"STATE_SET_ETH_INTERFACE_SWITCHED",
    L"STATE_SET_ETH_INTERFACE_SEPARATED",
};

struct tStateRow {
    ENThreadState state;
    const wchar_t* key;
    ENStateEffect effect;
};

constexpr tStateRow kStateRows[] = {
    {ENThreadState::Failed, L"STATE_TS_FAILED", ENStateEffect::Failed},
    {ENThreadState::Done, L"STATE_TS_DONE", ENStateEffect::Succeeded},
    {ENThreadState::Working, L"STATE_TS_WORKING", ENStateEffect::Working},
    {ENThreadState::NotAllDatasetParamsWritten, L"STATE_NOT_ALL_DATASET_PARAMS_WRITTEN", ENStateEffect::Succeeded},
    {ENThreadState::NotAllDeviceParamsWritten, L"STATE_NOT_ALL_DEVICE_PARAMS_WRITTEN", ENStateEffect::Succeeded},
    {ENThreadState::Started, L"STATE_TS_STARTED", ENStateEffect::Succeeded},
};

constexpr wchar_t kUnknownStateKey[] = L"STATE_THREAD_UNKNOWN";

const tStateRow* FindState(int state)
{
    for (const tStateRow& row : kStateRows) {
        if (static_cast<int>(row.state) == state)
            return &row;
    }
    return nullptr;
}

}

CString CThreadStateTable::ActionKey(int action)
{
    if (action < 1 || action > static_cast<int>(kActionKeys.size()))
        return {};
    return kActionKeys[static_cast<std::size_t>(action - 1)];
}

CString CThreadStateTable::StateKey(int state)
{
    const tStateRow* row = FindState(state);
    return row != nullptr ? CString(row->key) : CString(kUnknownStateKey);
}

CString CThreadStateTable::ActionText(int action)
{
    const CString key = ActionKey(action);
    if (!key.IsEmpty())
        return GetLanguageText(key);
    CString text;
    text.Format(L"Unknown Action %d", action);
    return text;
}

tThreadStateView CThreadStateTable::Interpret(WPARAM wParam, LPARAM lParam)
{
    tThreadStateView view;
    view.action = static_cast<int>(wParam & 0xFFFF);
    view.state = static_cast<int>(static_cast<DWORD>(lParam) & 0xFFFF);
    view.subStep = (static_cast<DWORD>(lParam) & kSubStepBit) != 0;
    view.actionKey = ActionKey(view.action);
    view.stateKey = StateKey(view.state);

    const tStateRow* row = FindState(view.state);
    view.effect = row != nullptr ? row->effect : ENStateEffect::Ended;
    view.succeeded = view.effect == ENStateEffect::Succeeded && !view.subStep;
    view.notAllDatasetParams = view.state == static_cast<int>(ENThreadState::NotAllDatasetParamsWritten);
    view.notAllDeviceParams = view.state == static_cast<int>(ENThreadState::NotAllDeviceParamsWritten);
    if (view.effect == ENStateEffect::Failed)
        view.icon = kIconFailed;
    else if (view.effect == ENStateEffect::Working)
        view.icon = view.action == static_cast<int>(ENThreadAction::ConnectDevice) && !view.subStep ? kIconConnecting
                                                                                                    : kIconWorking;
    return view;
}

}  // namespace Corvane
