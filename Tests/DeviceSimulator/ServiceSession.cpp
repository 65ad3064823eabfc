#include "Tests/DeviceSimulator/ServiceSession.h"

#include <algorithm>
#include <random>

#include "Tests/DeviceSimulator/ByteOrder.h"

// How the device speaks the fragment protocol where the wire description
// leaves the device side open (the plain reading, written down once):
// - Every answer echoes command, transaction, fragment number and count of the
//   frame it answers. A good answer carries flag 0x0004; it carries 0x1000 and
//   echoes the Exclusive-ID when the request had one.
// - A frame with a wrong checksum is answered with flags 0x0003 and status 10,
//   so the host sends it again.
// - A fragment count of 0, a fragment number of 0 or above the count, a length
//   field above the device's buffer size, or flag 0x1000 with fewer than 4
//   counted bytes: flag 0x0001 with status 0x8213. A command the device does
//   not speak: 0x0001 with 0x8212. While exclusive mode is on, a frame without
//   the right Exclusive-ID: 0x0001 with 0x8214; identification requests
//   (command 1) are always served so other hosts can still find the device.
// - A multi-fragment request is collected slice by slice. Fragment k replaces
//   everything from k on, so a host that goes back after a resend request
//   overwrites what it sends again. A fragment that skips ahead, or a
//   continuation of a transfer the device does not know, is answered with a
//   resend request naming the fragment the device needs (data: code, 0,
//   fragment number). Intermediate fragments are acknowledged with 0x0004
//   and no data.
// - An answer longer than one fragment (buffer size minus the Exclusive-ID
//   part) is announced with flags 0x0004|0x4000 and the data: echoed code,
//   status, total fragment count. The host then fetches fragment n of total
//   with the same transaction number; each fetched fragment carries 0x4000
//   while more follow. The long answer stays available until a frame with
//   another transaction number arrives.

namespace DevSim {

CServiceSession::CServiceSession(CDeviceModel& model, CFaultPlan& faults, CFrameLog* log, uint32_t sessionId)
    : model_(model), faults_(faults), log_(log), sessionId_(sessionId), handlers_(model, sessionId)
{
}

CServiceSession::tSettings CServiceSession::Settings() const
{
    tSettings settings;
    model_.Read([&](const tDeviceData& d) {
        settings.checksumLength = d.checksumLength;
        settings.bufferSize = d.protocolBufferSize;
        settings.exclusiveIdent = d.exclusiveIdent;
    });
    return settings;
}

size_t CServiceSession::BodySize(const uint8_t* header) const
{
    return CServiceFrame::BodySize(CServiceFrame::ParseHeader(header), Settings().checksumLength);
}

uint32_t CServiceSession::FrameTimeoutMs() const
{
    uint32_t timeout = 0;
    model_.Read([&](const tDeviceData& d) { timeout = d.frameTimeoutMs; });
    return timeout;
}

void CServiceSession::OnClosed()
{
    model_.ReleaseSession(sessionId_);
}

CServiceSession::tOut CServiceSession::Echo(const tServiceFrame& frame)
{
    tOut out;
    out.header.command = frame.header.command;
    out.header.transaction = frame.header.transaction;
    out.header.fragmentNumber = frame.header.fragmentNumber;
    out.header.fragmentCount = frame.header.fragmentCount;
    out.exclusiveId = frame.exclusiveId;
    return out;
}

CServiceSession::tOut CServiceSession::Accept(const tServiceFrame& frame)
{
    tOut out = Echo(frame);
    out.header.flags = FLAG_ACCEPTED;
    return out;
}

CServiceSession::tOut CServiceSession::Repeat(const tServiceFrame& frame)
{
    tOut out = Echo(frame);
    out.header.flags = FLAG_ERROR | FLAG_REPEAT;
    out.header.status = STATUS_REPEAT;
    return out;
}

CServiceSession::tOut CServiceSession::Error(const tServiceFrame& frame, uint16_t status)
{
    tOut out = Echo(frame);
    out.header.flags = FLAG_ERROR;
    out.header.status = status;
    return out;
}

CServiceSession::tOut CServiceSession::Resend(const tServiceFrame& frame, uint16_t serviceCode, uint16_t fragment)
{
    tOut out = Echo(frame);
    out.header.flags = FLAG_REPEAT;
    AppendU16(out.data, serviceCode);
    AppendU16(out.data, 0);
    AppendU16(out.data, fragment);
    return out;
}

bool CServiceSession::CompletesRequest(const tServiceFrame& frame) const
{
    const tFrameHeader& h = frame.header;
    if (answer_.active && h.transaction == answer_.transaction)
        return false;
    if (h.fragmentCount == 1)
        return (h.flags & FLAG_CONTINUED) == 0;
    return h.fragmentNumber == h.fragmentCount && request_.active && request_.transaction == h.transaction &&
           request_.count == h.fragmentCount && request_.slices.size() + 1 == h.fragmentNumber;
}

uint16_t CServiceSession::ServiceCodeOf(const tServiceFrame& frame, bool readBack) const
{
    if (readBack)
        return answer_.serviceCode;
    if (frame.header.fragmentNumber == 1)
        return WordAt(frame.data, 0);
    if (request_.active && request_.transaction == frame.header.transaction)
        return request_.serviceCode;
    return 0;
}

tReaction CServiceSession::OnFrame(const std::vector<uint8_t>& bytes)
{
    const tSettings settings = Settings();
    tServiceFrame frame;
    const ENFrameCheck check = CServiceFrame::Parse(bytes.data(), bytes.size(), settings.checksumLength, frame);
    const uint32_t frameNumber = faults_.NextFrameNumber();
    if (check == ENFrameCheck::SizeMismatch) // the transport cut the frame wrongly: give up the line
        return tReaction{{}, 0, ENAfterSend::Close};
    if (log_)
        log_->Add({frameNumber, sessionId_, frame.header, frame.exclusiveId, frame.data,
                   check != ENFrameCheck::ChecksumMismatch});

    const tFrameHeader& h = frame.header;
    if (check == ENFrameCheck::ChecksumMismatch)
        return Finish(Repeat(frame), settings, std::nullopt);
    if (check == ENFrameCheck::ExclusiveTooShort || h.fragmentCount == 0 || h.fragmentNumber == 0 ||
        h.fragmentNumber > h.fragmentCount || h.length > settings.bufferSize)
        return Finish(Error(frame, STATUS_INVALID_ARGUMENT), settings, std::nullopt);
    if (settings.exclusiveIdent != 0 && h.command != COMMAND_IDENTIFICATION &&
        frame.exclusiveId.value_or(0) != settings.exclusiveIdent)
        return Finish(Error(frame, STATUS_REJECTED), settings, std::nullopt);

    const bool readBack = answer_.active && h.transaction == answer_.transaction;
    if (!readBack && answer_.active)
        answer_ = tPendingAnswer{};
    tFrameFacts facts;
    facts.frameNumber = frameNumber;
    facts.command = h.command;
    facts.serviceCode = ServiceCodeOf(frame, readBack);
    facts.fragmentNumber = h.fragmentNumber;
    facts.readBack = readBack;
    facts.completesRequest = CompletesRequest(frame);
    const std::optional<tFaultRule> fault = faults_.Take(facts);

    uint32_t delayMs = 0;
    if (fault) {
        switch (fault->kind) {
        case ENFault::Close: return tReaction{{}, 0, ENAfterSend::Close};
        case ENFault::Reset: return tReaction{{}, 0, ENAfterSend::Reset};
        case ENFault::Busy: return Finish(Repeat(frame), settings, std::nullopt);
        case ENFault::ErrorStatus: return Finish(Error(frame, fault->status), settings, std::nullopt);
        case ENFault::ResendRequest:
            return Finish(Resend(frame, facts.serviceCode, fault->value ? fault->value : h.fragmentNumber),
                          settings, std::nullopt);
        case ENFault::Delay: delayMs = fault->delayMs; break;
        default: break;
        }
    }
    tReaction reaction = Finish(readBack ? ReadBack(frame) : Receive(frame, settings, fault), settings, fault);
    reaction.delayMs = delayMs;
    return reaction;
}

CServiceSession::tOut CServiceSession::Receive(const tServiceFrame& frame, const tSettings& settings,
                                               const std::optional<tFaultRule>& fault)
{
    const tFrameHeader& h = frame.header;
    if (h.fragmentCount == 1) {
        request_ = tPendingRequest{};
        if (h.flags & FLAG_CONTINUED) // a fetch of an answer the device does not hold
            return Error(frame, STATUS_INVALID_ARGUMENT);
        return Complete(frame, frame.data, settings, fault);
    }

    if (h.fragmentNumber == 1) {
        request_ = tPendingRequest{};
        request_.active = true;
        request_.transaction = h.transaction;
        request_.command = h.command;
        request_.count = h.fragmentCount;
        request_.serviceCode = WordAt(frame.data, 0);
    } else if (!request_.active || request_.transaction != h.transaction || request_.count != h.fragmentCount ||
               request_.command != h.command) {
        return Resend(frame, ServiceCodeOf(frame, false), 1);
    }
    if (h.fragmentNumber > request_.slices.size() + 1)
        return Resend(frame, request_.serviceCode, static_cast<uint16_t>(request_.slices.size() + 1));

    request_.slices.resize(h.fragmentNumber - 1u);
    size_t total = frame.data.size();
    for (const auto& slice : request_.slices)
        total += slice.size();
    if (total > kMaxRequestSize) {
        request_ = tPendingRequest{};
        return Error(frame, STATUS_INVALID_ARGUMENT);
    }
    request_.slices.push_back(frame.data);
    if (h.fragmentNumber < h.fragmentCount)
        return Accept(frame);

    std::vector<uint8_t> joined;
    joined.reserve(total);
    for (const auto& slice : request_.slices)
        joined.insert(joined.end(), slice.begin(), slice.end());
    request_ = tPendingRequest{};
    return Complete(frame, joined, settings, fault);
}

void CServiceSession::ApplyAnswerFault(tAnswer& answer, uint16_t serviceCode, const tFaultRule& fault)
{
    if (fault.kind == ENFault::ServiceStatus) {
        if (answer.data.size() < answer.statusOffset + 2)
            answer.data.resize(answer.statusOffset + 2, 0);
        PutU16(answer.data.data() + answer.statusOffset, fault.status);
    } else if (fault.kind == ENFault::WrongServiceEcho) {
        if (answer.data.size() < 2)
            answer.data.resize(2, 0);
        PutU16(answer.data.data(), fault.value ? fault.value : static_cast<uint16_t>(serviceCode + 1));
    }
}

CServiceSession::tOut CServiceSession::Complete(const tServiceFrame& frame, const std::vector<uint8_t>& request,
                                                const tSettings& settings, const std::optional<tFaultRule>& fault)
{
    std::optional<tAnswer> answer = handlers_.Handle(frame.header.command, request);
    if (!answer)
        return Error(frame, STATUS_NOT_SUPPORTED);
    const uint16_t serviceCode = WordAt(request, 0);
    if (fault)
        ApplyAnswerFault(*answer, serviceCode, *fault);

    const size_t exclusivePart = frame.exclusiveId ? CServiceFrame::kExclusiveSize : 0;
    const size_t perFragment = settings.bufferSize > exclusivePart + 1 ? settings.bufferSize - exclusivePart : 1;
    const bool zeroTotal = fault && fault->kind == ENFault::ZeroAnswerTotal;
    const bool longAnswer = fault && fault->kind == ENFault::LongAnswer;
    tOut out = Accept(frame);
    if (answer->data.size() <= perFragment && !zeroTotal && !longAnswer) {
        out.data = std::move(answer->data);
        return out;
    }

    size_t total = zeroTotal ? 0 : (answer->data.size() + perFragment - 1) / perFragment;
    if (longAnswer)
        total = fault->value != 0 ? fault->value : 0xFFFF;
    if (total > 0xFFFF)
        return Error(frame, STATUS_REJECTED);
    answer_ = tPendingAnswer{};
    answer_.active = true;
    answer_.transaction = frame.header.transaction;
    answer_.serviceCode = serviceCode;
    answer_.total = static_cast<uint16_t>(total);
    answer_.perFragment = perFragment;
    answer_.fullSlices = longAnswer;
    answer_.data = std::move(answer->data);

    out.header.flags |= FLAG_CONTINUED;
    out.data.assign(answer_.data.begin(), answer_.data.begin() + static_cast<std::ptrdiff_t>(
                                                                      std::min<size_t>(4, answer_.data.size())));
    out.data.resize(4, 0);
    AppendU16(out.data, answer_.total);
    return out;
}

CServiceSession::tOut CServiceSession::ReadBack(const tServiceFrame& frame)
{
    const tFrameHeader& h = frame.header;
    if (h.fragmentCount != answer_.total)
        return Error(frame, STATUS_INVALID_ARGUMENT);
    const size_t begin = std::min(answer_.data.size(), (h.fragmentNumber - 1u) * answer_.perFragment);
    const size_t end = std::min(answer_.data.size(), begin + answer_.perFragment);
    tOut out = Accept(frame);
    if (h.fragmentNumber < answer_.total)
        out.header.flags |= FLAG_CONTINUED;
    out.data.assign(answer_.data.begin() + static_cast<std::ptrdiff_t>(begin),
                    answer_.data.begin() + static_cast<std::ptrdiff_t>(end));
    if (answer_.fullSlices)
        out.data.resize(answer_.perFragment, 0);
    return out;
}

tReaction CServiceSession::Finish(tOut out, const tSettings& settings, const std::optional<tFaultRule>& fault)
{
    tReaction reaction;
    const ENFault kind = fault ? fault->kind : ENFault::Delay;
    if (fault) {
        switch (kind) {
        case ENFault::WrongCommandEcho:
            out.header.command = fault->value ? fault->value : static_cast<uint16_t>(out.header.command + 1);
            break;
        case ENFault::WrongTransaction: ++out.header.transaction; break;
        case ENFault::WrongFragmentNumber: ++out.header.fragmentNumber; break;
        case ENFault::ZeroFragmentCount: out.header.fragmentCount = 0; break;
        default: break;
        }
    }
    reaction.bytes = CServiceFrame::Build(out.header, out.exclusiveId, out.data, settings.checksumLength);
    if (fault)
        ApplyBytesFault(reaction, settings, *fault);
    return reaction;
}

void CServiceSession::ApplyBytesFault(tReaction& reaction, const tSettings& settings, const tFaultRule& fault)
{
    std::vector<uint8_t>& bytes = reaction.bytes;
    switch (fault.kind) {
    case ENFault::AnnouncedLength: PutU16(bytes.data() + 16, fault.value); break;
    case ENFault::GarbageAnswer: {
        // The same bytes on every run, so that a failure can be repeated.
        std::mt19937 random(fault.value);
        bytes.resize(fault.value != 0 ? fault.value : 64);
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random() & 0xFF);
        break;
    }
    case ENFault::BadChecksum:
        if (settings.checksumLength >= 2) {
            const size_t at = bytes.size() - settings.checksumLength;
            PutU16(bytes.data() + at, static_cast<uint16_t>(GetU16(bytes.data() + at) + 1));
        } else {
            bytes.back() ^= 0xFF;
        }
        break;
    case ENFault::ShortFrame: {
        size_t keep = fault.value ? fault.value : bytes.size() / 2;
        keep = std::clamp<size_t>(keep, 1, bytes.size() - 1);
        bytes.resize(keep);
        reaction.after = ENAfterSend::Close;
        break;
    }
    case ENFault::CloseAfterAnswer: reaction.after = ENAfterSend::Close; break;
    default: break;
    }
}

} // namespace DevSim
