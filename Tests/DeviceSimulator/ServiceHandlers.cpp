#include "Tests/DeviceSimulator/ServiceHandlers.h"

#include <algorithm>

#include "Tests/DeviceSimulator/ByteOrder.h"

// Device-side choices where the wire description leaves the device open:
// - Every answer starts with the echoed code and the status word; on a
//   failure the answer ends there (the register services: behind the status
//   at offset 10), so a host never finds stale result words.
// - A request too short for its arguments is answered with status 0x8210
//   (invalid number of arguments); a code the device does not know, or one
//   the model lists as unsupported, with 0x8212; one the model lists as
//   refused, with the status it names.
// - Register services: request words a, b, c are node position, table and
//   first register; the answer echoes a, b, c and the count at offsets 2-9.
//   An unknown table gives 0x8200, a range beyond the table 0x8215, a
//   write-protected table 0x821C.
// - Network parameters: request words a, b, c are port, parameter id and set
//   (0 actual, 1 static); the answer echoes them at offsets 4-9. A parameter
//   the model does not hold gives 0x8213; a write of the wrong size 0x8213,
//   of the MAC address 0x8214. Values are the raw service bytes.
// - Text answers (identification, network id, internal variables) carry no
//   terminating zero: their end is the end of the answer data.
// - Identification API: SetExclusiveMode takes (permanent, exclusive mode);
//   another session's exclusive mode is refused with 0x8214.
//   CloseExclusiveMode with the current ident ends it and answers ident 0.
//   SetProtocolBufferSize clamps to 16..maxProtocolBufferSize and answers the
//   size it took.

namespace DevSim {

namespace {

constexpr uint16_t kRegisterEchoEnd = 10; // status offset of the register services

class CReply {
public:
    CReply(uint16_t code, uint16_t status = STATUS_OK)
    {
        AppendU16(data_, code);
        AppendU16(data_, status);
    }
    CReply& Word(uint16_t value)
    {
        AppendU16(data_, value);
        return *this;
    }
    CReply& DWord(uint32_t value)
    {
        AppendU32(data_, value);
        return *this;
    }
    CReply& Byte(uint8_t value)
    {
        data_.push_back(value);
        return *this;
    }
    CReply& Bytes(const std::vector<uint8_t>& bytes)
    {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    CReply& Text(const std::string& text)
    {
        data_.insert(data_.end(), text.begin(), text.end());
        return *this;
    }
    // A length byte and at most 255 text bytes.
    CReply& ShortText(const std::string& text)
    {
        const size_t n = std::min<size_t>(text.size(), 255);
        data_.push_back(static_cast<uint8_t>(n));
        data_.insert(data_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        return *this;
    }
    tAnswer Done(size_t statusOffset = 2) { return tAnswer{std::move(data_), statusOffset}; }

private:
    std::vector<uint8_t> data_;
};

// Argument words behind the code word.
class CArgs {
public:
    explicit CArgs(const std::vector<uint8_t>& request) : request_(request) {}
    bool HasWords(size_t count) const { return request_.size() >= 2 + 2 * count; }
    bool HasBytes(size_t offset, size_t count) const { return request_.size() >= offset + count; }
    uint16_t Word(size_t index) const { return WordAt(request_, 2 + 2 * index); }
    uint32_t DWordAt(size_t offset) const
    {
        return HasBytes(offset, 4) ? GetU32(request_.data() + offset) : 0;
    }
    uint8_t ByteAt(size_t offset) const { return offset < request_.size() ? request_[offset] : 0; }

private:
    const std::vector<uint8_t>& request_;
};

size_t ExpectedNetSize(uint16_t id)
{
    switch (id) {
    case NET_ADDRESS_SOURCE: return 2;
    case NET_MAC_ADDRESS: return 6;
    case NET_HOST_NAME:
    case NET_DOMAIN_NAME: return 32; // upper limit
    case NET_SNTP_NAME: return 256;  // upper limit
    default: return 4;
    }
}

bool IsNameParam(uint16_t id)
{
    return id == NET_HOST_NAME || id == NET_DOMAIN_NAME || id == NET_SNTP_NAME;
}

// The three identification words and the text, as the service and the
// update API both answer them.
tAnswer IdentificationReply(uint16_t code, const tDeviceData& d)
{
    return CReply(code)
        .Word(d.identWords[0])
        .Word(d.identWords[1])
        .Word(d.identWords[2])
        .Text(d.IdentificationText())
        .Done();
}

// The state of the command named by the first argument word; 0 for one the
// device has not run.
tAnswer CommandStateReply(uint16_t code, const CArgs& args, const tDeviceData& d)
{
    if (!args.HasWords(1))
        return CReply(code, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t command = args.Word(0);
    const auto it = d.commandStates.find(command);
    return CReply(code).Word(command).Word(it == d.commandStates.end() ? 0 : it->second).Done();
}

// Takes the first argument word into `field` and echoes it.
tAnswer SetWordReply(uint16_t code, const CArgs& args, uint16_t& field)
{
    if (!args.HasWords(1))
        return CReply(code, STATUS_ARGUMENT_COUNT).Done();
    field = args.Word(0);
    return CReply(code).Word(field).Done();
}

} // namespace

std::optional<tAnswer> CServiceHandlers::Handle(uint16_t command, const std::vector<uint8_t>& request)
{
    std::optional<tAnswer> answer;
    model_.Update([&](tDeviceData& device) {
        if (command == device.protocolId)
            answer = ServiceApi(device, request);
        else if (command == COMMAND_IDENTIFICATION)
            answer = IdentificationApi(device, request);
        else if (command == COMMAND_UPDATE)
            answer = UpdateApi(device, request);
    });
    return answer;
}

tAnswer CServiceHandlers::ServiceApi(tDeviceData& d, const std::vector<uint8_t>& request)
{
    if (request.size() < 2)
        return CReply(0, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t code = GetU16(request.data());
    const CArgs args(request);
    if (d.unsupportedServices.count(code) != 0)
        return CReply(code, STATUS_NOT_SUPPORTED).Done();
    if (const auto refused = d.refusedServices.find(code); refused != d.refusedServices.end())
        return CReply(code, refused->second).Done();

    auto need = [&](size_t words) { return args.HasWords(words); };
    auto tooShort = [&] { return CReply(code, STATUS_ARGUMENT_COUNT).Done(); };

    switch (code) {
    case 0x101: { // EnableWriteAccess
        if (!need(1))
            return tooShort();
        const uint16_t key = args.Word(0);
        if (key != 0 && key != 0x5C3B)
            return CReply(code, STATUS_INVALID_ARGUMENT).Done();
        d.writeAccess = key == 0x5C3B;
        return CReply(code).Word(d.writeAccess ? 1 : 0).Done();
    }
    case 0x102:
        ++d.restartCount;
        return CReply(code).Word(d.restartSeconds).Done();
    case 0x104:
        ++d.factoryResetCount;
        return CReply(code).Word(d.factoryResetSeconds).Done();
    case 0x105:
        ++d.storeCount;
        return CReply(code).Word(d.storeSeconds).Done();
    case 0x106: { // GetDeviceState: the words as the model holds them
        CReply reply(code);
        for (size_t i = 0; i < d.stateWords.size() && i < 64; ++i)
            reply.Word(d.stateWords[i]);
        return reply.Done();
    }
    case 0x107:
        return CReply(code).Word(d.addressSwitch).Done();
    case 0x108:
        return IdentificationReply(code, d);
    case 0x10A: // EnableMonitorMode
    case 0x10B: { // EnableControlMode
        if (!need(1))
            return tooShort();
        const bool on = args.Word(0) != 0;
        if (d.stateWords.size() < 5)
            d.stateWords.resize(5, 0);
        const size_t word = code == 0x10A ? 3 : 4;
        d.stateWords[word] = on ? 1 : 0;
        const uint16_t echo = on ? (code == 0x10A ? 1 : 2) : 0;
        return CReply(code).Word(echo).Done();
    }
    case 0x10C:
        return CReply(code).Text(d.networkId).Done();
    case 0x10E:
        return SetWordReply(code, args, d.factoryTestMode);
    case 0x10F: {
        CReply reply(code);
        for (uint16_t w : d.terminalBusState)
            reply.Word(w);
        return reply.Done();
    }
    case 0x111:
        return CReply(code).Text(d.internalVariables).Done();
    case 0x113: { // GetTableInfo: the tables of node position 0
        std::vector<std::pair<uint16_t, uint16_t>> tables;
        if (d.tableInfoOverride)
            tables = *d.tableInfoOverride;
        else
            for (const auto& [key, table] : d.registers)
                if (key.first == 0)
                    tables.emplace_back(key.second,
                                        static_cast<uint16_t>(std::min<size_t>(table.words.size(), 0xFFFF)));
        tables.resize(std::min<size_t>(tables.size(), 0xFFFF));
        CReply reply(code);
        reply.Word(static_cast<uint16_t>(tables.size()));
        for (const auto& [number, count] : tables)
            reply.Word(number).Word(count);
        return reply.Done();
    }
    case 0x115:
        return SetWordReply(code, args, d.terminalBusExtension);
    case 0x116: // GetRealTimeClock: zone in hours
        return CReply(code).DWord(d.ClockNow()).Word(static_cast<uint16_t>(d.zoneMinutes / 60)).Done();
    case 0x117:
        if (!args.HasBytes(2, 6))
            return tooShort();
        d.SetClock(args.DWordAt(2));
        d.zoneMinutes = static_cast<int16_t>(static_cast<int16_t>(WordAt(request, 6)) * 60);
        return CReply(code).Done();
    case 0x118:
        return CReply(code)
            .DWord(d.ClockNow())
            .Word(static_cast<uint16_t>(d.zoneMinutes))
            .Word(static_cast<uint16_t>(d.daylightSaving))
            .Done();
    case 0x119:
        if (!args.HasBytes(2, 8))
            return tooShort();
        d.SetClock(args.DWordAt(2));
        d.zoneMinutes = static_cast<int16_t>(WordAt(request, 6));
        d.daylightSaving = static_cast<int16_t>(WordAt(request, 8));
        return CReply(code).Done();
    case 0x120: // words arrive as a, c, b
        if (!need(3))
            return tooShort();
        d.paramSequence = {args.Word(0), args.Word(2), args.Word(1)};
        return CReply(code).Done();
    case 0x121: {
        if (!need(4))
            return tooShort();
        const uint16_t length = args.Word(3);
        if (!args.HasBytes(10, length))
            return tooShort();
        d.terminalControl = {args.Word(0), args.Word(1), args.Word(2)};
        d.terminalControlData.assign(request.begin() + 10, request.begin() + 10 + length);
        return CReply(code).Done();
    }
    case 0x122:
        return CReply(code)
            .Word(d.terminalControlStatus[0])
            .Word(d.terminalControlStatus[1])
            .Word(d.terminalControlStatus[2])
            .Done();
    case 0x201:
        ++d.terminalBusRestartCount;
        return CReply(code).Word(d.terminalBusRestartSeconds).Done();
    case 0x221:
        return CommandStateReply(code, args, d);
    case 0x225:
        return CReply(code).Word(static_cast<uint16_t>(std::min<size_t>(d.monitor.size(), 0xFFFF))).Done();
    case 0x226:
        d.monitorReadPos = 0;
        return CReply(code).Word(0).Done();
    case 0x227: {
        const tMonitorEntry entry = d.NextMonitorEntry();
        return CReply(code)
            .DWord(entry.eventTime)
            .Word(static_cast<uint16_t>(entry.errorCode))
            .Byte(entry.argument)
            .Byte(entry.flags)
            .DWord(entry.referenceTime)
            .Done();
    }
    case 0x228:
        d.monitor.clear();
        d.monitorReadPos = 0;
        return CReply(code).Word(0).Done();
    case 0x301:
    case 0x302:
    case 0x303:
        if (!need(1))
            return tooShort();
        d.lastFileGroup = args.Word(0);
        if (code == 0x301)
            ++d.extractCount;
        else if (code == 0x302)
            ++d.formatCount;
        else
            ++d.refreshCount;
        return CReply(code).Word(d.fileSystemSeconds).Done();
    case 0x304:
        return CReply(code).Word(d.extractFilesState[0]).Word(d.extractFilesState[1]).Done();
    case 0x310:
        return CReply(code)
            .Word(d.sdCard.inserted ? 1 : 0)
            .Word(d.sdCard.type)
            .Word(d.sdCard.writeProtected ? 1 : 0)
            .Word(d.sdCard.capacity)
            .Word(d.sdCard.freeMemory)
            .DWord(d.sdCard.serialNumber)
            .Done();
    case 0x311:
        return CReply(code).Word(d.plcRootLocation).Done();
    case 0x312:
        if (!need(1))
            return tooShort();
        d.plcRootLocation = args.Word(0);
        return CReply(code).Word(d.plcRootSeconds).Word(d.plcRootLocation).Done();
    case 0x401:
    case 0x402:
        return Registers(d, code, request);
    case 0x501:
    case 0x502:
        return NetworkParameter(d, code, request);
    case 0x503:
        return CReply(code).Word(d.ethernetMode).Done();
    case 0x504:
        return SetWordReply(code, args, d.ethernetMode);
    case 0x601: {
        CReply reply(code);
        for (size_t i = 0; i < d.runtimeSystems.size() && i < 256; ++i)
            reply.Word(d.runtimeSystems[i]);
        return reply.Done();
    }
    case 0x602:
        return CReply(code).Word(d.activeRuntime).Done();
    case 0x603: {
        if (!need(1))
            return tooShort();
        const uint16_t id = args.Word(0);
        if (std::find(d.runtimeSystems.begin(), d.runtimeSystems.end(), id) == d.runtimeSystems.end())
            return CReply(code, STATUS_INVALID_ARGUMENT).Done();
        d.activeRuntime = id;
        return CReply(code).Word(id).Done();
    }
    default:
        return CReply(code, STATUS_NOT_SUPPORTED).Done();
    }
}

tAnswer CServiceHandlers::Registers(tDeviceData& d, uint16_t code, const std::vector<uint8_t>& request)
{
    const CArgs args(request);
    const uint16_t position = args.Word(0);
    const uint16_t tableNumber = args.Word(1);
    const uint16_t start = args.Word(2);
    const uint16_t count = args.Word(3);
    auto reply = [&](uint16_t status) {
        CReply r(code, position); // offsets 2-9 echo the four argument words
        r.Word(tableNumber).Word(start).Word(count).Word(status);
        return r;
    };
    if (!args.HasWords(4))
        return reply(STATUS_ARGUMENT_COUNT).Done(kRegisterEchoEnd);
    const auto it = d.registers.find({position, tableNumber});
    if (it == d.registers.end())
        return reply(STATUS_INVALID_TABLE).Done(kRegisterEchoEnd);
    tRegisterTable& table = it->second;
    if (static_cast<size_t>(start) + count > table.words.size())
        return reply(STATUS_ADDRESS_RANGE).Done(kRegisterEchoEnd);

    if (code == 0x401) {
        CReply r = reply(STATUS_OK);
        for (uint16_t i = 0; i < count; ++i)
            r.Word(table.words[static_cast<size_t>(start) + i]);
        return r.Done(kRegisterEchoEnd);
    }
    if (!args.HasWords(4 + static_cast<size_t>(count)))
        return reply(STATUS_ARGUMENT_COUNT).Done(kRegisterEchoEnd);
    if (table.writeProtected)
        return reply(STATUS_TABLE_PROTECTED).Done(kRegisterEchoEnd);
    if (d.writeAccessRequired && !d.writeAccess)
        return reply(STATUS_WRITE_DISABLED).Done(kRegisterEchoEnd);
    for (uint16_t i = 0; i < count; ++i)
        table.words[static_cast<size_t>(start) + i] = args.Word(4 + static_cast<size_t>(i));
    return reply(STATUS_OK).Done(kRegisterEchoEnd);
}

tAnswer CServiceHandlers::NetworkParameter(tDeviceData& d, uint16_t code, const std::vector<uint8_t>& request)
{
    const CArgs args(request);
    if (!args.HasWords(4))
        return CReply(code, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t port = args.Word(1);
    const uint16_t id = args.Word(2);
    const uint16_t kind = args.Word(3);
    const auto it = d.network.find({port, kind, id});
    if (it == d.network.end())
        return CReply(code, STATUS_INVALID_ARGUMENT).Done();

    if (code == 0x501) {
        const std::vector<uint8_t>& value = it->second;
        const size_t length = std::min<size_t>(value.size(), 0xFFFF);
        CReply reply(code);
        reply.Word(port).Word(id).Word(kind).Word(static_cast<uint16_t>(length));
        reply.Bytes(std::vector<uint8_t>(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(length)));
        return reply.Done();
    }
    if (!args.HasWords(5))
        return CReply(code, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t length = args.Word(4);
    if (!args.HasBytes(12, length))
        return CReply(code, STATUS_ARGUMENT_COUNT).Done();
    if (id == NET_MAC_ADDRESS)
        return CReply(code, STATUS_REJECTED).Done();
    const size_t expected = ExpectedNetSize(id);
    if (IsNameParam(id) ? length > expected : length != expected)
        return CReply(code, STATUS_INVALID_ARGUMENT).Done();
    it->second.assign(request.begin() + 12, request.begin() + 12 + length);
    return CReply(code).Done();
}

tAnswer CServiceHandlers::IdentificationApi(tDeviceData& d, const std::vector<uint8_t>& request)
{
    if (request.size() < 2)
        return CReply(0, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t code = GetU16(request.data());
    const CArgs args(request);
    auto exclusiveState = [&](uint16_t status) {
        return CReply(code, status)
            .DWord(d.exclusiveIdent)
            .Byte(d.exclusiveState)
            .Byte(d.permanentMode)
            .Byte(d.exclusiveMode)
            .Done();
    };

    switch (code) {
    case 1: return CReply(code).ShortText(d.orderNumber).Done();
    case 2: return CReply(code).ShortText(d.userDescription).Done();
    case 3: return CReply(code).ShortText(d.mediaAddress).Done();
    case 4: return CReply(code).ShortText(d.serialNumber).Done();
    case 5: return CReply(code).Word(d.vendorId).Done();
    case 6: return CReply(code).Word(d.identDeviceState).Done();
    case 7: return CReply(code).ShortText(d.connectionType).Done();
    case 8: return CReply(code).ShortText(d.supportedProtocols).Done();
    case 9: return exclusiveState(STATUS_OK);
    case 10: {
        if (!args.HasBytes(2, 2))
            return exclusiveState(STATUS_ARGUMENT_COUNT);
        if (d.exclusiveIdent != 0 && d.exclusiveOwnerSession != sessionId_)
            return exclusiveState(STATUS_REJECTED);
        if (d.nextExclusiveIdent == 0)
            d.nextExclusiveIdent = 1;
        d.exclusiveIdent = d.nextExclusiveIdent++;
        d.exclusiveState = 1;
        d.permanentMode = args.ByteAt(2);
        d.exclusiveMode = args.ByteAt(3);
        d.exclusiveOwnerSession = sessionId_;
        return exclusiveState(STATUS_OK);
    }
    case 11: {
        if (!args.HasBytes(2, 4))
            return CReply(code, STATUS_ARGUMENT_COUNT).DWord(d.exclusiveIdent).Byte(d.exclusiveState).Done();
        const uint32_t ident = args.DWordAt(2);
        if (d.exclusiveIdent != 0 && ident != d.exclusiveIdent)
            return CReply(code, STATUS_INVALID_ARGUMENT).DWord(d.exclusiveIdent).Byte(d.exclusiveState).Done();
        d.exclusiveIdent = 0;
        d.exclusiveState = 0;
        d.exclusiveMode = 0;
        d.permanentMode = 0;
        d.exclusiveOwnerSession = 0;
        return CReply(code).DWord(0).Byte(0).Done();
    }
    case 12: return CReply(code).ShortText(d.identCollection).Done();
    case 13: return CReply(code).Word(d.protocolBufferSize).Done();
    case 14: {
        if (!args.HasWords(1))
            return CReply(code, STATUS_ARGUMENT_COUNT).Word(d.protocolBufferSize).Done();
        const uint16_t upper = std::max<uint16_t>(16, d.maxProtocolBufferSize);
        d.protocolBufferSize = std::clamp<uint16_t>(args.Word(0), 16, upper);
        return CReply(code).Word(d.protocolBufferSize).Done();
    }
    case 15: return CReply(code).Word(d.serverTimeout).Done();
    case 16:
        if (!args.HasWords(1))
            return CReply(code, STATUS_ARGUMENT_COUNT).Word(d.serverTimeout).Done();
        d.serverTimeout = args.Word(0);
        return CReply(code).Word(d.serverTimeout).Done();
    case 17: return CReply(code).Word(d.identVersion).Done();
    case 18: return CReply(code).ShortText(d.activeConnections).Done();
    case 19: {
        CReply reply(code);
        for (uint8_t b : d.revisions)
            reply.Byte(b);
        return reply.Done();
    }
    case 0xFFFF:
        if (!args.HasWords(4))
            return CReply(code, STATUS_ARGUMENT_COUNT).Done();
        d.connectionInformation = {args.Word(0), args.Word(1), args.Word(2), args.Word(3)};
        return CReply(code).Done();
    default:
        return CReply(code, STATUS_NOT_SUPPORTED).Done();
    }
}

tAnswer CServiceHandlers::UpdateApi(tDeviceData& d, const std::vector<uint8_t>& request)
{
    if (request.size() < 2)
        return CReply(0, STATUS_ARGUMENT_COUNT).Done();
    const uint16_t code = GetU16(request.data());
    const CArgs args(request);
    switch (code) {
    case 1:
        return IdentificationReply(code, d);
    case 2:
        ++d.shutdownCount;
        return CReply(code).Word(0).Done();
    case 3:
    case 8:
        ++d.restartCount;
        return CReply(code).Word(d.restartSeconds).Done();
    case 5:
        d.uploadedImage.assign(request.begin() + 2, request.end());
        return CReply(code).Word(0).Done();
    case 6:
        ++d.flashSaveCount;
        return CReply(code).Done();
    case 7:
        return CReply(code).Word(d.flashState).Word(d.flashResult).Done();
    case 9:
        ++d.formatCount;
        return CReply(code).Word(d.fileSystemSeconds).Done();
    case 10:
        ++d.extractCount;
        return CReply(code).Word(d.fileSystemSeconds).Done();
    case 11:
        return CReply(code).Word(d.extractFilesState[0]).Word(d.extractFilesState[1]).Done();
    case 12:
        ++d.refreshCount;
        return CReply(code).Word(d.fileSystemSeconds).Done();
    case 31:
        ++d.eraseFlashCount;
        return CReply(code).Word(0).Done();
    case 0x666:
        return CommandStateReply(code, args, d);
    default:
        return CReply(code, STATUS_NOT_SUPPORTED).Done();
    }
}

} // namespace DevSim
