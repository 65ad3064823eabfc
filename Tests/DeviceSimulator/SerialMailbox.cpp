#include "Tests/DeviceSimulator/SerialMailbox.h"

#include <algorithm>
#include <string>

// Device-side choices where the service descriptions leave the device open:
// - A request whose word count runs past the mailbox, or that lacks the
//   arguments of its service, is answered with status 0x8210.
// - A service the device does not know, or one the model lists as
//   unsupported (by group << 8 | service), is answered with 0x8212; one it
//   lists as refused, with the status it names.
// - On a failure the answer holds the status only.
// - Texts are packed as bytes into the data words, low byte first, and are
//   cut to fit the 41 answer words of the text services.

namespace DevSim {

namespace {

constexpr uint16_t kWriteAccessCode = 0x5C3B;
constexpr size_t kTextAnswerBytes = 41 * 2;

std::vector<uint16_t> PackBytes(const std::vector<uint8_t>& bytes)
{
    std::vector<uint16_t> words((bytes.size() + 1) / 2, 0);
    for (size_t i = 0; i < bytes.size(); ++i)
        words[i / 2] = static_cast<uint16_t>(words[i / 2] | (bytes[i] << (8 * (i % 2))));
    return words;
}

std::vector<uint8_t> UnpackBytes(const std::vector<uint16_t>& words, size_t from, size_t count)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count && from + i / 2 < words.size(); ++i)
        bytes.push_back(static_cast<uint8_t>(words[from + i / 2] >> (8 * (i % 2))));
    return bytes;
}

// Length bytes in front, then the texts back to back, all cut to fit.
std::vector<uint16_t> Texts(const std::vector<std::string>& texts)
{
    std::vector<uint8_t> bytes(texts.size(), 0);
    for (size_t i = 0; i < texts.size(); ++i) {
        const size_t room = kTextAnswerBytes - bytes.size();
        const size_t n = std::min({texts[i].size(), room, size_t{255}});
        bytes[i] = static_cast<uint8_t>(n);
        bytes.insert(bytes.end(), texts[i].begin(), texts[i].begin() + static_cast<std::ptrdiff_t>(n));
    }
    return PackBytes(bytes);
}

std::string Item(const tDeviceData& d, const std::string& key)
{
    for (const auto& [k, v] : d.identItems)
        if (k == key)
            return v;
    return {};
}

std::vector<uint16_t> Seconds(uint32_t seconds)
{
    return {static_cast<uint16_t>(seconds & 0xFFFF), static_cast<uint16_t>(seconds >> 16)};
}

} // namespace

bool CSerialMailbox::Write(tDeviceData& device, uint16_t start, const std::vector<uint16_t>& words)
{
    for (size_t i = 0; i < words.size() && start + i < kWords; ++i)
        words_[start + i] = words[i];
    if (start != 0)
        return false;
    const uint16_t code = words_[0];
    const size_t count = words_[1];
    tResult result;
    if (count + 2 > kWords) {
        result.status = STATUS_ARGUMENT_COUNT;
    } else {
        const std::vector<uint16_t> args(words_.begin() + 2, words_.begin() + 2 + static_cast<std::ptrdiff_t>(count));
        result = Run(device, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8), args);
    }
    const auto raw = device.serialRawAnswers.find(static_cast<uint16_t>((code & 0xFF) << 8 | code >> 8));
    if (raw != device.serialRawAnswers.end()) {
        const size_t n = std::min(raw->second.size(), kWords - 1);
        words_[0] = code;
        std::copy(raw->second.begin(), raw->second.begin() + static_cast<std::ptrdiff_t>(n), words_.begin() + 1);
        answerWords_ = 1 + n;
        return true;
    }
    if (result.status != STATUS_OK)
        result.data.clear();
    result.data.resize(std::min(result.data.size(), kWords - 3));
    words_[0] = code;
    words_[1] = static_cast<uint16_t>(1 + result.data.size());
    words_[2] = result.status;
    std::copy(result.data.begin(), result.data.end(), words_.begin() + 3);
    answerWords_ = 3 + result.data.size();
    return true;
}

std::vector<uint16_t> CSerialMailbox::Read(uint16_t start, uint16_t count) const
{
    if (start >= answerWords_)
        return {};
    const size_t n = std::min<size_t>(count, answerWords_ - start);
    return {words_.begin() + start, words_.begin() + start + static_cast<std::ptrdiff_t>(n)};
}

void CSerialMailbox::SetStatus(uint16_t status)
{
    words_[2] = status;
}

CSerialMailbox::tResult CSerialMailbox::Run(tDeviceData& d, uint8_t group, uint8_t service,
                                            const std::vector<uint16_t>& args)
{
    const uint16_t code = static_cast<uint16_t>(group << 8 | service);
    auto needs = [&](size_t n) { return args.size() >= n; };
    auto ok = [](std::vector<uint16_t> data = {}) { return tResult{STATUS_OK, std::move(data)}; };
    auto fail = [](uint16_t status) { return tResult{status, {}}; };
    if (d.unsupportedServices.count(code) != 0)
        return fail(STATUS_NOT_SUPPORTED);
    if (const auto refused = d.refusedServices.find(code); refused != d.refusedServices.end())
        return fail(refused->second);

    switch (code) {
    case 0x0101:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        if (args[0] != 0 && args[0] != kWriteAccessCode)
            return fail(STATUS_INVALID_ARGUMENT);
        d.writeAccess = args[0] == kWriteAccessCode;
        return ok();
    case 0x0102:
        if (d.writeAccessRequired && !d.writeAccess)
            return fail(STATUS_WRITE_DISABLED);
        ++d.restartCount;
        return ok();
    case 0x0103: return ok({d.parameterChecksum});
    case 0x0104: ++d.factoryResetCount; return ok();
    case 0x0105: ++d.storeCount; return ok();
    case 0x0106: return ok(d.stateWords);
    case 0x00FF: // where older devices answer the address switch
    case 0x0107: return ok({d.addressSwitch});
    case 0x0108:
        return ok(Texts({Item(d, "ORDER"), Item(d, "DESCR"), Item(d, "HW-VER"), Item(d, "SW-VER")}));
    case 0x0109: return ok({d.fieldbusBaudrate[0], d.fieldbusBaudrate[1]});
    case 0x010A:
    case 0x010B:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        if (d.stateWords.size() < 5)
            d.stateWords.resize(5, 0);
        d.stateWords[code == 0x010A ? 3 : 4] = args[0] != 0 ? 1 : 0;
        return ok();
    case 0x010C: {
        const size_t split = std::min(d.networkId.find('='), d.networkId.size());
        const std::string rest = split < d.networkId.size() ? d.networkId.substr(split + 1) : std::string();
        return ok(Texts({d.networkId.substr(0, split), rest}));
    }
    case 0x010D: return ok(Texts({d.serialNumber}));
    case 0x010E:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        d.factoryTestMode = args[0];
        return ok();
    case 0x010F: return ok({d.terminalBusState.begin(), d.terminalBusState.end()});
    case 0x0110: return ok(Texts({d.productionMarking[0], d.productionMarking[1]}));
    case 0x0111: {
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        const auto it = d.serialInternalVariables.find(args[0]);
        return it == d.serialInternalVariables.end() ? fail(STATUS_INVALID_ARGUMENT) : ok(Texts({it->second}));
    }
    case 0x0114: return ok(Texts({Item(d, "FW-BURN-DATE"), Item(d, "PSN")}));
    case 0x0115:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        d.terminalBusExtension = args[0];
        return ok();
    case 0x0120: // words arrive as a, c, b
        if (!needs(3))
            return fail(STATUS_ARGUMENT_COUNT);
        d.paramSequence = {args[0], args[2], args[1]};
        return ok();
    case 0x0121:
        if (!needs(4) || args.size() < 4 + (static_cast<size_t>(args[3]) + 1) / 2)
            return fail(STATUS_ARGUMENT_COUNT);
        d.terminalControl = {args[0], args[1], args[2]};
        d.terminalControlData = UnpackBytes(args, 4, args[3]);
        return ok();
    case 0x0122: return ok({d.terminalControlStatus.begin(), d.terminalControlStatus.end()});
    case 0x0123: return ok(Texts({Item(d, "IMEI")}));
    case 0x0201: ++d.terminalBusRestartCount; return ok({d.terminalBusRestartSeconds, 0});
    case 0x0220: return needs(1) ? Monitor(d, args[0]) : fail(STATUS_ARGUMENT_COUNT);
    case 0x0221: {
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        const auto it = d.commandStates.find(args[0]);
        const uint16_t state = it == d.commandStates.end() ? 0 : it->second;
        return ok({args[0], state, static_cast<uint16_t>(d.serviceStateThirdWord)});
    }
    case 0x0301:
    case 0x0302:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        d.lastFileGroup = args[0];
        ++(code == 0x0301 ? d.extractCount : d.formatCount);
        return ok();
    case 0x0310: {
        const tSDCard& card = d.sdCard;
        return ok({static_cast<uint16_t>(card.inserted), card.type, static_cast<uint16_t>(card.writeProtected),
                   card.capacity, card.freeMemory, static_cast<uint16_t>(card.serialNumber & 0xFFFF),
                   static_cast<uint16_t>(card.serialNumber >> 16)});
    }
    case 0x0311: return ok({d.plcRootLocation});
    case 0x0312:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        d.plcRootLocation = args[0];
        return ok();
    case 0x0112: return ok(Texts({Item(d, "FWL-VER")}));
    case 0x0113: {
        std::vector<uint16_t> data{0};
        for (const auto& [key, table] : d.registers)
            if (key.first == 0 && key.second < 128 && data.size() < 41)
                data.push_back(static_cast<uint16_t>(key.second << 9 | (table.words.size() & 0x1FF)));
        data[0] = static_cast<uint16_t>(data.size() - 1);
        return ok(data);
    }
    case 0x0116: {
        auto data = Seconds(d.ClockNow());
        data.push_back(static_cast<uint16_t>(d.zoneMinutes / 60));
        return ok(data);
    }
    case 0x0117:
    case 0x0119:
        if (!needs(code == 0x0117 ? 3 : 4))
            return fail(STATUS_ARGUMENT_COUNT);
        d.SetClock(static_cast<uint32_t>(args[0] | (args[1] << 16)));
        d.zoneMinutes = static_cast<int16_t>(code == 0x0117 ? static_cast<int16_t>(args[2]) * 60 : static_cast<int16_t>(args[2]));
        if (code == 0x0119)
            d.daylightSaving = static_cast<int16_t>(args[3]);
        return ok();
    case 0x0118: {
        auto data = Seconds(d.ClockNow());
        data.push_back(static_cast<uint16_t>(d.zoneMinutes));
        data.push_back(static_cast<uint16_t>(d.daylightSaving));
        return ok(data);
    }
    case 0x0501: {
        if (!needs(3))
            return fail(STATUS_ARGUMENT_COUNT);
        const auto value = d.NetParam(args[0], args[2], args[1]);
        if (!value)
            return fail(STATUS_INVALID_ARGUMENT);
        std::vector<uint16_t> data{args[0], args[1], args[2], static_cast<uint16_t>(value->size())};
        const auto packed = PackBytes(*value);
        data.insert(data.end(), packed.begin(), packed.end());
        return ok(data);
    }
    case 0x0502: {
        if (!needs(4) || args.size() < 4 + (static_cast<size_t>(args[3]) + 1) / 2)
            return fail(STATUS_ARGUMENT_COUNT);
        const auto key = std::make_tuple(args[0], args[2], args[1]);
        if (d.network.count(key) == 0)
            return fail(STATUS_INVALID_ARGUMENT);
        d.network[key] = UnpackBytes(args, 4, args[3]);
        return ok();
    }
    case 0x0503: return ok({d.ethernetMode});
    case 0x0504:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        d.ethernetMode = args[0];
        return ok({0});
    case 0x0601: return ok(d.runtimeSystems);
    case 0x0602: return ok({d.activeRuntime});
    case 0x0603:
        if (!needs(1))
            return fail(STATUS_ARGUMENT_COUNT);
        if (std::find(d.runtimeSystems.begin(), d.runtimeSystems.end(), args[0]) == d.runtimeSystems.end())
            return fail(STATUS_INVALID_ARGUMENT);
        d.activeRuntime = args[0];
        return ok();
    default: return fail(STATUS_NOT_SUPPORTED);
    }
}

// Sub-commands of the terminal-bus monitor: 0 clear, 1 back to the first
// entry, 2 the next entry, 3 the number of entries. Past the last entry the
// device hands out empty entries (code 0xFFFF).
CSerialMailbox::tResult CSerialMailbox::Monitor(tDeviceData& d, uint16_t subCommand)
{
    switch (subCommand) {
    case 0:
        d.monitor.clear();
        d.monitorReadPos = 0;
        return {};
    case 1: d.monitorReadPos = 0; return {};
    case 2: {
        const tMonitorEntry entry = d.NextMonitorEntry();
        std::vector<uint16_t> data = Seconds(entry.eventTime);
        data.push_back(static_cast<uint16_t>(entry.errorCode));
        data.push_back(static_cast<uint16_t>(entry.argument | entry.flags << 8));
        const auto reference = Seconds(entry.referenceTime);
        data.insert(data.end(), reference.begin(), reference.end());
        return {STATUS_OK, data};
    }
    case 3: return {STATUS_OK, {static_cast<uint16_t>(std::min<size_t>(d.monitor.size(), 0xFFFF))}};
    default: return {STATUS_INVALID_ARGUMENT, {}};
    }
}

} // namespace DevSim
