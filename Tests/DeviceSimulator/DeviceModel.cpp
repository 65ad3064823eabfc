#include "Tests/DeviceSimulator/DeviceModel.h"

#include <cctype>
#include <cstdlib>

namespace DevSim {

namespace {

bool ParseDotted(const std::string& text, std::array<uint8_t, 4>& out)
{
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos])))
            return false;
        unsigned value = 0;
        int digits = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            if (++digits > 3 || value > 255)
                return false;
            ++pos;
        }
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(value);
        if (i < 3) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
    }
    return pos == text.size();
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool tDeviceData::SetNetAddress(uint16_t port, uint16_t kind, uint16_t id, const std::string& dotted)
{
    std::array<uint8_t, 4> bytes{};
    if (!ParseDotted(dotted, bytes))
        return false;
    network[{port, kind, id}] = {bytes[3], bytes[2], bytes[1], bytes[0]};
    return true;
}

bool tDeviceData::SetNetMac(uint16_t port, uint16_t kind, const std::string& hex12)
{
    if (hex12.size() != 12)
        return false;
    std::vector<uint8_t> bytes(6);
    for (size_t i = 0; i < 6; ++i) {
        const int high = HexValue(hex12[2 * i]);
        const int low = HexValue(hex12[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[5 - i] = static_cast<uint8_t>(high * 16 + low);
    }
    network[{port, kind, NET_MAC_ADDRESS}] = bytes;
    return true;
}

void tDeviceData::SetNetName(uint16_t port, uint16_t kind, uint16_t id, const std::string& text)
{
    network[{port, kind, id}] = std::vector<uint8_t>(text.begin(), text.end());
}

void tDeviceData::SetNetSource(uint16_t port, uint16_t kind, uint16_t source)
{
    network[{port, kind, NET_ADDRESS_SOURCE}] = {static_cast<uint8_t>(source & 0xFF),
                                                 static_cast<uint8_t>(source >> 8)};
}

void tDeviceData::AddDefaultPort(uint16_t port, const std::string& ip)
{
    for (uint16_t kind : {NET_ACTUAL, NET_STATIC}) {
        SetNetSource(port, kind, 3);
        SetNetAddress(port, kind, NET_IP_ADDRESS, ip);
        SetNetAddress(port, kind, NET_SUBNET_MASK, "255.255.255.0");
        SetNetAddress(port, kind, NET_GATEWAY, "0.0.0.0");
        SetNetAddress(port, kind, NET_DNS1, "0.0.0.0");
        SetNetAddress(port, kind, NET_DNS2, "0.0.0.0");
        SetNetAddress(port, kind, NET_PARAM6, "0.0.0.0");
        SetNetName(port, kind, NET_HOST_NAME, "coupler");
        SetNetName(port, kind, NET_DOMAIN_NAME, "local");
        SetNetAddress(port, kind, NET_PARAM9, "0.0.0.0");
        SetNetMac(port, kind, port == 0 ? "025AE1000001" : "025AE1000002");
        SetNetName(port, kind, NET_SNTP_NAME, "");
    }
}

std::optional<std::vector<uint8_t>> tDeviceData::NetParam(uint16_t port, uint16_t kind, uint16_t id) const
{
    const auto it = network.find({port, kind, id});
    if (it == network.end())
        return std::nullopt;
    return it->second;
}

uint32_t tDeviceData::ClockNow() const
{
    if (!clockRunning)
        return clockSeconds;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockSetAt);
    // The device's counter wraps as a 32-bit one does.
    return clockSeconds + static_cast<uint32_t>(elapsed.count());
}

void tDeviceData::SetClock(uint32_t seconds)
{
    clockSeconds = seconds;
    clockSetAt = std::chrono::steady_clock::now();
}

tMonitorEntry tDeviceData::NextMonitorEntry()
{
    tMonitorEntry entry;
    entry.errorCode = -1;
    if (monitorReadPos < monitor.size())
        entry = monitor[monitorReadPos++];
    return entry;
}

std::string tDeviceData::IdentificationText() const
{
    if (identTextOverride)
        return *identTextOverride;
    std::string text;
    for (const auto& [key, value] : identItems) {
        if (!text.empty())
            text += ';';
        text += key + "=" + value;
    }
    return text;
}

void CDeviceModel::Set(const tDeviceData& data)
{
    std::lock_guard lock(mutex_);
    data_ = data;
    // A running clock runs from the moment the device has it.
    data_.clockSetAt = std::chrono::steady_clock::now();
}

tDeviceData CDeviceModel::Get() const
{
    std::lock_guard lock(mutex_);
    return data_;
}

void CDeviceModel::Update(const std::function<void(tDeviceData&)>& change)
{
    std::lock_guard lock(mutex_);
    change(data_);
}

void CDeviceModel::Read(const std::function<void(const tDeviceData&)>& look) const
{
    std::lock_guard lock(mutex_);
    look(data_);
}

void CDeviceModel::ReleaseSession(uint32_t sessionId)
{
    std::lock_guard lock(mutex_);
    if (data_.exclusiveOwnerSession != sessionId || data_.exclusiveIdent == 0)
        return;
    data_.exclusiveOwnerSession = 0;
    if (data_.permanentMode != 0)
        return;
    data_.exclusiveIdent = 0;
    data_.exclusiveState = 0;
    data_.exclusiveMode = 0;
}

} // namespace DevSim
