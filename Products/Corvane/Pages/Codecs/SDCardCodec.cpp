#include "Products/Corvane/Pages/Codecs/SDCardCodec.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace Corvane {

std::wstring CSDCardCodec::StatusKey(const tSDCardInfo& info)
{
    if (!info.bInserted)
        return L"SDCARD_STATUS_NO_CARD";
    return info.bWriteProtected ? L"SDCARD_STATUS_PROTECTED" : L"SDCARD_STATUS_READY";
}

std::wstring CSDCardCodec::TypeKey(WORD type)
{
    return FormatString(L"SDCARD_TYPE_%02d", static_cast<int>(type));
}

std::wstring CSDCardCodec::FormatMegabytes(WORD megabytes)
{
    return FormatString(L"%02d MB", static_cast<int>(megabytes));
}

std::wstring CSDCardCodec::FormatSerialNumber(DWORD serialNumber)
{
    return FormatString(L"%u", static_cast<unsigned int>(serialNumber));
}

bool CSDCardCodec::ParseStatusReply(const std::vector<WORD>& reply, tSDCardInfo& info)
{
    if (reply.size() < kStatusReplyWords)
        return false;
    info.bInserted = reply[0] == 1;
    info.wCardType = reply[1];
    info.bWriteProtected = reply[2] == 1;
    info.wCapacity = reply[3];
    info.wFreeMemory = reply[4];
    info.dwSerialNumber = static_cast<DWORD>(reply[5]) | (static_cast<DWORD>(reply[6]) << 16);
    return true;
}

bool CSDCardCodec::ChooseRootLocation(CFBCData& data, int index)
{
    if (index != 0 && index != 1)
        return false;
    data.SDCardInfo.wRootLocation = static_cast<WORD>(index);
    return true;
}

CSDCardCodec::CWaitResult CSDCardCodec::WaitWhileBusy(const std::function<bool(WORD& state)>& queryState,
                                                       const std::function<void()>& pause, int maxPolls)
{
    CWaitResult result;
    while (result.Polls < maxPolls) {
        pause();
        ++result.Polls;
        WORD state = 0;
        if (!queryState(state)) {
            result.Outcome = EWaitOutcome::QueryFailed;
            return result;
        }
        result.State = state;
        if (state != kBusyState) {
            result.Outcome = state == 0 ? EWaitOutcome::Done : EWaitOutcome::InvalidState;
            return result;
        }
    }
    result.Outcome = EWaitOutcome::TimedOut;
    return result;
}

std::wstring CSDCardCodec::WaitResultText(const CWaitResult& result, DWORD lastErrorCode)
{
    switch (result.Outcome) {
    case EWaitOutcome::Done:
        return L"PLC Root Location eingestellt";
    case EWaitOutcome::InvalidState:
        return FormatString(L"PLC Root Location nicht eingestellt! - Invalid state: %d", static_cast<int>(result.State));
    case EWaitOutcome::QueryFailed:
        return FormatString(L"PLC Root Location nicht eingestellt! - Errorcode: 0x%08X",
                            static_cast<unsigned int>(lastErrorCode));
    case EWaitOutcome::TimedOut:
    default:
        return FormatString(L"PLC Root Location nicht eingestellt! - Invalid state: %d", static_cast<int>(result.State));
    }
}

}  // namespace Corvane
