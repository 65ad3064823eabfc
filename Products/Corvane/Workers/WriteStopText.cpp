#include "Products/Corvane/Workers/WriteStopText.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"

namespace Corvane {

namespace {

// Device statuses come back as 0x2008xxxx (service status) or 0x2004xxxx
// (terminal-bus status), the status in the low word.
constexpr DWORD kFamilyMask = 0xFFFF0000u;
constexpr DWORD kServiceStatusFamily = 0x20080000u;
constexpr DWORD kBusStatusFamily = 0x20040000u;
constexpr DWORD kStatusMask = 0x0000FFFFu;

const wchar_t* MessageKey(ENWriteStop stop)
{
    switch (stop) {
    case ENWriteStop::NothingWritten:
        return L"MSG_WRITE_STOPPED_NOTHING_WRITTEN";
    case ENWriteStop::StoreUnknown:
        return L"MSG_WRITE_STOPPED_STORE_UNKNOWN";
    case ENWriteStop::NotRestarted:
        return L"MSG_WRITE_STOPPED_NOT_RESTARTED";
    case ENWriteStop::PartlyWritten:
        break;
    }
    return L"MSG_WRITE_STOPPED_PARTLY_WRITTEN";
}

}

bool CWriteStopText::IsDeviceStatus(DWORD errorCode)
{
    const DWORD family = errorCode & kFamilyMask;
    return (family == kServiceStatusFamily || family == kBusStatusFamily) && (errorCode & kStatusMask) != 0;
}

CString CWriteStopText::Cause(DWORD errorCode)
{
    CString cause;
    if (errorCode == 0)
        cause = GetLanguageText(L"TXT_WRITE_CAUSE_NOT_CONFIRMED");
    else if (IsDeviceStatus(errorCode))
        cause.Format(GetLanguageText(L"TXT_WRITE_CAUSE_DEVICE_STATUS"), static_cast<unsigned>(errorCode & kStatusMask));
    else
        cause.Format(GetLanguageText(L"TXT_WRITE_CAUSE_NO_ANSWER"), static_cast<unsigned>(errorCode));
    return cause;
}

CString CWriteStopText::Text(const tWriteStop& stop)
{
    CString text;
    text.Format(GetLanguageText(MessageKey(stop.stop)), GetLanguageText(stop.stepKey).GetString(),
                Cause(stop.errorCode).GetString());
    return text;
}

}  // namespace Corvane
