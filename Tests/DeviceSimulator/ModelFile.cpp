#include "Tests/DeviceSimulator/ModelFile.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

namespace DevSim {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(Trim(part));
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

bool ParseNumber(const std::string& text, uint64_t limit, uint64_t& out)
{
    if (text.empty())
        return false;
    int base = 10;
    size_t pos = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        pos = 2;
    }
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return false;
    }
    out = value;
    return true;
}

template <typename T>
bool Number(const std::string& text, T& out)
{
    uint64_t value = 0;
    if (!ParseNumber(text, std::numeric_limits<T>::max(), value))
        return false;
    out = static_cast<T>(value);
    return true;
}

// Signed 16-bit: an optional minus sign in front.
bool Signed16(const std::string& text, int16_t& out)
{
    const bool negative = !text.empty() && text[0] == '-';
    uint64_t value = 0;
    if (!ParseNumber(negative ? text.substr(1) : text, negative ? 32768 : 32767, value))
        return false;
    out = static_cast<int16_t>(negative ? -static_cast<int32_t>(value) : static_cast<int32_t>(value));
    return true;
}

bool Words(const std::string& text, std::vector<uint16_t>& out)
{
    out.clear();
    if (Trim(text).empty())
        return true;
    for (const auto& part : Split(text, ',')) {
        uint16_t value = 0;
        if (!Number(part, value))
            return false;
        out.push_back(value);
    }
    return true;
}

bool NetId(const std::string& name, uint16_t& id)
{
    static const char* const names[NET_PARAM_COUNT] = {"source", "ip",     "mask",   "gateway", "dns1", "dns2",
                                                       "param6", "host",   "domain", "param9",  "mac",  "sntp"};
    for (uint16_t i = 0; i < NET_PARAM_COUNT; ++i)
        if (name == names[i]) {
            id = i;
            return true;
        }
    return false;
}

} // namespace

bool CModelFile::Load(const std::string& path, tDeviceData& data, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open model file '" + path + "'";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return Apply(text.str(), data, error);
}

const std::vector<std::string>& CModelFile::Kinds()
{
    static const std::vector<std::string> kinds{"coupler", "controller"};
    return kinds;
}

bool CModelFile::LoadKind(const std::string& folder, const std::string& kind, tDeviceData& data, std::string& error)
{
    if (std::find(Kinds().begin(), Kinds().end(), kind) == Kinds().end()) {
        error = "unknown device kind '" + kind + "'";
        return false;
    }
    return Load(folder + "/" + kind + ".model", data, error);
}

bool CModelFile::Apply(const std::string& text, tDeviceData& data, std::string& error)
{
    tDeviceData working = data;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            error = "line " + std::to_string(number) + ": missing '='";
            return false;
        }
        std::string message;
        if (!ApplyLine(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), working, message)) {
            error = "line " + std::to_string(number) + ": " + message;
            return false;
        }
    }
    data = std::move(working);
    return true;
}

// register.<p>.<t>=words, register.<p>.<t>.protected=0|1,
// register.<p>.<t>.size=N and register.<p>.<t>.at.<index>=words.
bool CModelFile::ApplyRegisterLine(const std::string& key, const std::string& value, tDeviceData& d,
                                   std::string& error)
{
    auto bad = [&](const std::string& what) {
        error = what + " for '" + key + "': '" + value + "'";
        return false;
    };
    const auto parts = Split(key, '.');
    uint16_t position = 0, table = 0;
    const bool known = parts.size() == 3 || (parts.size() == 4 && (parts[3] == "protected" || parts[3] == "size")) ||
                       (parts.size() == 5 && parts[3] == "at");
    if (!known || !Number(parts[1], position) || !Number(parts[2], table))
        return bad("expected register.<position>.<table>[.protected|.size|.at.<index>]");
    tRegisterTable& entry = d.registers[{position, table}];
    std::vector<uint16_t> words;
    if (parts.size() == 3) {
        if (!Words(value, words) || words.size() > 0xFFFF)
            return bad("bad word list");
        entry.words = std::move(words);
        return true;
    }
    if (parts[3] == "protected") {
        if (value != "0" && value != "1")
            return bad("expected 0 or 1");
        entry.writeProtected = value == "1";
        return true;
    }
    uint16_t number = 0;
    if (parts[3] == "size") {
        if (!Number(value, number))
            return bad("bad number");
        entry.words.resize(number, 0);
        return true;
    }
    if (!Number(parts[4], number) || !Words(value, words))
        return bad("bad index or word list");
    if (static_cast<size_t>(number) + words.size() > entry.words.size())
        return bad("words beyond the table's size");
    std::copy(words.begin(), words.end(), entry.words.begin() + number);
    return true;
}

bool CModelFile::ApplyLine(const std::string& key, const std::string& value, tDeviceData& d, std::string& error)
{
    auto bad = [&](const std::string& what) {
        error = what + " for '" + key + "': '" + value + "'";
        return false;
    };
    auto number = [&](auto& field) { return Number(value, field) ? true : bad("bad number"); };
    auto flag = [&](bool& field) {
        if (value != "0" && value != "1")
            return bad("expected 0 or 1");
        field = value == "1";
        return true;
    };
    auto words = [&](std::vector<uint16_t>& field) { return Words(value, field) ? true : bad("bad word list"); };
    auto fixedWords = [&](auto& array) {
        std::vector<uint16_t> list;
        if (!Words(value, list) || list.size() != array.size())
            return bad("expected " + std::to_string(array.size()) + " words");
        std::copy(list.begin(), list.end(), array.begin());
        return true;
    };

    if (key.rfind("ident.", 0) == 0) {
        const std::string item = key.substr(6);
        if (item.empty())
            return bad("empty identification key");
        for (auto& entry : d.identItems)
            if (entry.first == item) {
                entry.second = value;
                return true;
            }
        d.identItems.emplace_back(item, value);
        return true;
    }
    if (key.rfind("register.", 0) == 0)
        return ApplyRegisterLine(key, value, d, error);
    if (key.rfind("net.", 0) == 0) {
        const auto parts = Split(key, '.');
        uint16_t port = 0, id = 0;
        if (parts.size() != 4 || !Number(parts[1], port) || (parts[2] != "actual" && parts[2] != "static") ||
            !NetId(parts[3], id))
            return bad("expected net.<port>.<actual|static>.<name>");
        const uint16_t kind = parts[2] == "actual" ? NET_ACTUAL : NET_STATIC;
        if (id == NET_ADDRESS_SOURCE) {
            uint16_t source = 0;
            if (!Number(value, source))
                return bad("bad number");
            d.SetNetSource(port, kind, source);
            return true;
        }
        if (id == NET_HOST_NAME || id == NET_DOMAIN_NAME || id == NET_SNTP_NAME) {
            if (value.size() > (id == NET_SNTP_NAME ? 256u : 32u))
                return bad("name too long");
            d.SetNetName(port, kind, id, value);
            return true;
        }
        if (id == NET_MAC_ADDRESS)
            return d.SetNetMac(port, kind, value) ? true : bad("expected twelve hex digits");
        return d.SetNetAddress(port, kind, id, value) ? true : bad("expected a dotted address");
    }

    if (key == "protocolId") return number(d.protocolId);
    if (key == "checksumLength") {
        if (value != "0" && value != "2")
            return bad("expected 0 or 2");
        return number(d.checksumLength);
    }
    if (key == "bufferSize") return number(d.protocolBufferSize);
    if (key == "maxBufferSize") return number(d.maxProtocolBufferSize);
    if (key == "frameTimeoutMs") return number(d.frameTimeoutMs);
    if (key == "identText") {
        d.identTextOverride = value;
        return true;
    }
    if (key == "identWords") return fixedWords(d.identWords);
    if (key == "id.order") return d.orderNumber = value, true;
    if (key == "id.description") return d.userDescription = value, true;
    if (key == "id.mediaAddress") return d.mediaAddress = value, true;
    if (key == "id.serial") return d.serialNumber = value, true;
    if (key == "id.connectionType") return d.connectionType = value, true;
    if (key == "id.protocols") return d.supportedProtocols = value, true;
    if (key == "id.collection") return d.identCollection = value, true;
    if (key == "id.activeConnections") return d.activeConnections = value, true;
    if (key == "id.vendor") return number(d.vendorId);
    if (key == "id.state") return number(d.identDeviceState);
    if (key == "id.version") return number(d.identVersion);
    if (key == "id.serverTimeout") return number(d.serverTimeout);
    if (key == "id.revisions") {
        std::vector<uint16_t> list;
        if (!Words(value, list) || list.size() != d.revisions.size())
            return bad("expected 9 bytes");
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i] > 255)
                return bad("expected 9 bytes");
            d.revisions[i] = static_cast<uint8_t>(list[i]);
        }
        return true;
    }
    if (key == "networkId") return d.networkId = value, true;
    if (key == "internalVariables") return d.internalVariables = value, true;
    if (key == "states") return words(d.stateWords);
    if (key == "terminalBusState") return fixedWords(d.terminalBusState);
    if (key == "addressSwitch") return number(d.addressSwitch);
    if (key == "ethernetMode") return number(d.ethernetMode);
    if (key == "clock.seconds") {
        if (value != "now")
            return number(d.clockSeconds);
        d.clockSeconds = static_cast<uint32_t>(std::time(nullptr));
        return true;
    }
    if (key == "clock.running") return flag(d.clockRunning);
    if (key == "clock.zoneMinutes") return Signed16(value, d.zoneMinutes) ? true : bad("bad number");
    if (key == "clock.daylightSaving") return Signed16(value, d.daylightSaving) ? true : bad("bad number");
    if (key == "sdcard.inserted") return flag(d.sdCard.inserted);
    if (key == "sdcard.type") return number(d.sdCard.type);
    if (key == "sdcard.writeProtected") return flag(d.sdCard.writeProtected);
    if (key == "sdcard.capacity") return number(d.sdCard.capacity);
    if (key == "sdcard.free") return number(d.sdCard.freeMemory);
    if (key == "sdcard.serial") return number(d.sdCard.serialNumber);
    if (key == "plcRoot") return number(d.plcRootLocation);
    if (key == "runtimes") return words(d.runtimeSystems);
    if (key == "activeRuntime") return number(d.activeRuntime);
    if (key == "unsupported") {
        std::vector<uint16_t> list;
        if (!Words(value, list))
            return bad("bad word list");
        d.unsupportedServices = {list.begin(), list.end()};
        return true;
    }
    if (key == "restartSeconds") return number(d.restartSeconds);
    if (key == "resetSeconds") return number(d.factoryResetSeconds);
    if (key == "storeSeconds") return number(d.storeSeconds);
    if (key == "writeAccessRequired") return flag(d.writeAccessRequired);
    error = "unknown key '" + key + "'";
    return false;
}

} // namespace DevSim
