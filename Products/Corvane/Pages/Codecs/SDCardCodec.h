#pragma once
// The memory-card page's model: the texts shown for the card record of the
// data set, the card status reply of the device, the program-root choice, and
// the bounded wait while the device creates the root folder on the card.

#include "Products/Corvane/Core/FBCData.h"

#include <functional>
#include <string>
#include <vector>

namespace Corvane {

class CSDCardCodec {
public:
    using tSDCardInfo = CFBCData::tSDCardInfo;

    static constexpr wchar_t kNotSupportedText[] = L"Service not supported!";
    static constexpr wchar_t kFallbackTypeKey[] = L"SDCARD_TYPE_00";
    // Words of the status reply: inserted, type, write protected, capacity,
    // free memory, serial number low and high word.
    static constexpr std::size_t kStatusReplyWords = 7;
    // State the device reports while it is still creating the root folder.
    static constexpr WORD kBusyState = 0x821D;
    static constexpr DWORD kBusyErrorCode = 0x2008821D;
    static constexpr int kMaxWaitPolls = 60;

    enum class EWaitOutcome { Done, InvalidState, QueryFailed, TimedOut };

    struct CWaitResult {
        EWaitOutcome Outcome = EWaitOutcome::TimedOut;
        WORD State = 0;
        int Polls = 0;
    };

    static std::wstring StatusKey(const tSDCardInfo& info);
    static std::wstring TypeKey(WORD type);
    static std::wstring FormatMegabytes(WORD megabytes);
    static std::wstring FormatSerialNumber(DWORD serialNumber);

    // False, and the record unchanged, for a reply shorter than the words used.
    static bool ParseStatusReply(const std::vector<WORD>& reply, tSDCardInfo& info);
    // Index 0 internal flash, 1 memory card; false for no or another choice.
    static bool ChooseRootLocation(CFBCData& data, int index);

    // Asks for the service state after each pause until it is no longer the
    // busy state, the query fails or `maxPolls` queries were made.
    static CWaitResult WaitWhileBusy(const std::function<bool(WORD& state)>& queryState,
                                     const std::function<void()>& pause, int maxPolls = kMaxWaitPolls);
    // The status line after the wait.
    static std::wstring WaitResultText(const CWaitResult& result, DWORD lastErrorCode);
};

}  // namespace Corvane
