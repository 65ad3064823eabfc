#include "Products/Corvane/MainDialog/Commands/ThreadResult.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <array>

namespace Corvane {

namespace {

struct tStatusKeys {
    ENThreadResultType type;
    const wchar_t* failed;
    const wchar_t* succeeded;
};

constexpr std::array<tStatusKeys, 10> kStatusKeys{{
    {ENThreadResultType::Restart, L"STATE_RESTART_FAILED", L"STATE_RESTART_DONE"},
    {ENThreadResultType::ResetFileSystem, L"STATE_RESET_FILESYSTEM_FAILED", L"STATE_RESET_FILESYSTEM_DONE"},
    {ENThreadResultType::FactoryDefaults, L"STATE_DEFAULT_FAILED", L"STATE_DEFAULT_DONE"},
    {ENThreadResultType::Read, L"STATE_IDENTIFY_FAILED", L"STATE_IDENTIFY_DONE"},
    {ENThreadResultType::Write, L"STATE_WRITE_FAILED", L"STATE_WRITE_DONE"},
    {ENThreadResultType::WriteCanceled, L"STATE_WRITE_CANCELED", L"STATE_WRITE_CANCELED"},
    {ENThreadResultType::RestartCanceled, L"STATE_RESTART_CANCELED", L"STATE_RESTART_CANCELED"},
    {ENThreadResultType::FactoryDefaultsCanceled, L"STATE_DEFAULT_CANCELED", L"STATE_DEFAULT_CANCELED"},
    {ENThreadResultType::ResetFileSystemCanceled, L"STATE_RESET_FILESYSTEM_CANCELED",
     L"STATE_RESET_FILESYSTEM_CANCELED"},
    {ENThreadResultType::FactoryDefaultsStarted, L"STATE_DEFAULT_STARTED", L"STATE_DEFAULT_STARTED"},
}};

int TypeNumber(ENThreadResultType type)
{
    return static_cast<int>(type);
}

int FactoryDefaultsType(WPARAM result)
{
    if (CThreadResult::Canceled(result))
        return TypeNumber(ENThreadResultType::FactoryDefaultsCanceled);
    if (result == 6)
        return TypeNumber(ENThreadResultType::FactoryDefaultsStarted);
    return TypeNumber(ENThreadResultType::FactoryDefaults);
}

// The done result picks the cancelled type or the command's own type.
int CancelableType(WPARAM result, ENThreadResultType canceled, ENThreadResultType done)
{
    return TypeNumber(CThreadResult::Canceled(result) ? canceled : done);
}

}

std::optional<int> CThreadResult::TypeOfDone(UINT message, WPARAM result)
{
    const CWorkerMessages& messages = CWorkerMessages::Get();
    if (message == messages.IdentifyDone)
        return TypeNumber(ENThreadResultType::Read);
    if (message == messages.WriteSettingsDone)
        return CancelableType(result, ENThreadResultType::WriteCanceled, ENThreadResultType::Write);
    if (message == messages.FactoryDefaultsDone)
        return FactoryDefaultsType(result);
    if (message == messages.SoftwareResetDone)
        return CancelableType(result, ENThreadResultType::RestartCanceled, ENThreadResultType::Restart);
    if (message == messages.ResetFileSystemDone)
        return CancelableType(result, ENThreadResultType::ResetFileSystemCanceled,
                              ENThreadResultType::ResetFileSystem);
    return std::nullopt;
}

CString CThreadResult::StatusKey(int type, bool succeeded)
{
    for (const tStatusKeys& keys : kStatusKeys) {
        if (TypeNumber(keys.type) == type)
            return succeeded ? keys.succeeded : keys.failed;
    }
    return CString();
}

CString CThreadResult::StatusText(int type, bool succeeded)
{
    const CString key = StatusKey(type, succeeded);
    if (key.IsEmpty())
        return kInvalidTypeText;
    return GetLanguageText(key);
}

std::optional<bool> CThreadResult::SaveButtonAfterResult(bool valid, bool changeIPMode, const CFBCData& data,
                                                         const CString& commandLineConnection)
{
    if (!changeIPMode)
        return valid;
    if (!data.HasNetworkParams)
        return std::nullopt;
    const CFBCData::tNetworkParams* port1 = data.GetActualNetworkParams(0);
    if (port1 == nullptr || CString(port1->strIPAddress.c_str()) == commandLineConnection)
        return std::nullopt;
    return valid;
}

}  // namespace Corvane
