#pragma once

// Faults the device injects instead of (or into) its regular answer. A test
// adds rules; each received frame is matched against them in the order they
// were added and the first rule that matches and has firings left is used.
// The faults that change the service answer itself (ServiceStatus,
// WrongServiceEcho, ZeroAnswerTotal, LongAnswer) only match the frame that completes a
// request, so a multi-fragment request does not use them up early.

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace DevSim {

enum class ENFault {
    Delay,               // answer normally after delayMs (Stop cuts the wait short)
    Busy,                // flags 0x0003, status 10: the host must send the same fragment again
    ErrorStatus,         // flags 0x0001 with `status` (not 10): the host must abort
    ServiceStatus,       // regular answer, but the service status word is `status`
    WrongServiceEcho,    // the answer data echo another service code (`value`, or code + 1)
    WrongCommandEcho,    // the header echoes another command (`value`, or command + 1)
    WrongTransaction,    // the header echoes transaction + 1
    WrongFragmentNumber, // the header echoes fragment number + 1
    ZeroFragmentCount,   // the header's fragment count is 0
    ZeroAnswerTotal,     // the answer announces continuation fragments, with a total of 0
    BadChecksum,         // the checksum is off by one (without checksums a data byte is flipped)
    ShortFrame,          // only `value` bytes (0: half) of the answer, then the connection closes
    Close,               // no answer; the connection is closed
    Reset,               // no answer; the connection is reset (RST)
    CloseAfterAnswer,    // answer normally, then close
    ResendRequest,       // flags 0x0002 naming fragment `value` (0: the received one)
    // Serial register telegrams (BadChecksum, ShortFrame and Delay apply there too).
    NoAnswer,            // the telegram is swallowed; the host times out
    MailboxBusy,         // a mailbox read answers device error `status` (0: 0x821D)
    WrongWordCount,      // the answer's word-count byte is `value` (0: count + 1)
    MailboxOverCount,    // the mailbox answer claims `value` (0: 1) more words than it holds
    RegisterError,       // the telegram is answered with device error `status`
    // Answers that arrive but cannot be taken; the connection stays open.
    AnnouncedLength,     // the answer's length field says `value`, whatever follows it
    GarbageAnswer,       // `value` (0: 64) pseudo-random bytes instead of the answer
    LongAnswer           // the answer announces `value` (0: 65535) read-back slices, each served full
};

// What a rule can match on. Unset fields match everything.
struct tFaultMatch {
    std::optional<uint32_t> frameNumber;    // 1-based count of frames received since the plan's reset
    std::optional<uint16_t> command;        // header command word
    std::optional<uint16_t> serviceCode;    // first data word of the transaction's request
    std::optional<uint16_t> fragmentNumber; // header fragment number
    std::optional<bool> readBack;           // fragment fetch of a long answer
};

struct tFaultRule {
    ENFault kind = ENFault::Delay;
    tFaultMatch match;
    int times = 1; // firings left; negative: always
    int skip = 0;  // matching frames let through before the rule fires
    uint32_t delayMs = 0;
    uint16_t status = 0;
    uint16_t value = 0;
};

// Facts about one received frame, as the session knows them.
struct tFrameFacts {
    uint32_t frameNumber = 0;
    uint16_t command = 0;
    uint16_t serviceCode = 0;
    uint16_t fragmentNumber = 0;
    bool readBack = false;
    bool completesRequest = false; // the frame's answer carries the service answer
};

class CFaultPlan {
public:
    void Add(const tFaultRule& rule);
    // Shorthand: one rule of `kind` for the service code, firing `times` times.
    void AddForService(ENFault kind, uint16_t serviceCode, int times = 1);
    void Clear();         // rules only

    uint32_t NextFrameNumber();
    // The rule that applies to the frame, consumed by one firing.
    std::optional<tFaultRule> Take(const tFrameFacts& facts);
    unsigned FiredCount() const;

private:
    static bool AnswerLevel(ENFault kind);
    static bool Matches(const tFaultMatch& match, const tFrameFacts& facts);

    mutable std::mutex mutex_;
    std::vector<tFaultRule> rules_;
    uint32_t frameCounter_ = 0;
    unsigned fired_ = 0;
};

} // namespace DevSim
