#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"

namespace Corvane {

CProtocolCodec::CProtocolCodec(const CDeviceCapabilityFile& file)
    : HttpPortLimits(file.GetLimits(L"PROTOCOL", L"HttpPort", {0, 0xFFFF, 80})), HttpPort(HttpPortLimits.Def)
{
}

void CProtocolCodec::Load(const CDeviceBlock& block, bool wideFormat, bool severalPorts)
{
    if (!block.IsPresent())
        return;
    if (wideFormat) {
        LoadWide(block, severalPorts);
        return;
    }
    WebServer = block.Read(kWebServerWord).value_or(0) != 0;
    Authentication = Ftp = Plc = ModbusTcp = ModbusUdp = EthernetIP = Https = false;
    HttpsAvailable = false;
    if (const std::optional<WORD> port = block.Read(kHttpPortWord))
        HttpPort = *port;
}

void CProtocolCodec::LoadWide(const CDeviceBlock& block, bool severalPorts)
{
    const WORD bits = block.Read(kProtocolWord).value_or(0);
    Ftp = bits & kFtpBit;
    WebServer = bits & kWebServerBit;
    ModbusTcp = bits & kModbusTcpBit;
    ModbusUdp = bits & kModbusUdpBit;
    EthernetIP = bits & kEthernetIPBit;
    Authentication = bits & kAuthenticationBit;
    Plc = bits & kPlcBit;
    Https = bits & kHttpsBit;
    if (severalPorts)
        Https = Https || block.ReadFlag(kSecondPortWord, kHttpsBit).value_or(false);
    if (const std::optional<WORD> port = block.Read(kWideHttpPortWord))
        HttpPort = *port;
    HttpsAvailable = block.ReadFlag(kFeatureWord, kHttpsAvailableBit).value_or(false);
}

bool CProtocolCodec::Store(CDeviceBlock& block, bool wideFormat, bool severalPorts) const
{
    if (!block.IsPresent() || !Validate())
        return false;
    if (!wideFormat) {
        block.Write(kWebServerWord, WebServer ? 1 : 0);
        block.Write(kHttpPortWord, static_cast<WORD>(HttpPort));
        return true;
    }
    block.WriteBits(kProtocolWord, kOwnBits, SwitchBits());
    if (severalPorts)
        block.WriteFlag(kSecondPortWord, kHttpsBit, Https);
    block.Write(kWideHttpPortWord, static_cast<WORD>(HttpPort));
    return true;
}

WORD CProtocolCodec::SwitchBits() const
{
    WORD bits = 0;
    const auto set = [&bits](bool on, WORD bit) {
        if (on)
            bits |= bit;
    };
    set(Ftp, kFtpBit);
    set(WebServer, kWebServerBit);
    set(ModbusTcp, kModbusTcpBit);
    set(ModbusUdp, kModbusUdpBit);
    set(EthernetIP, kEthernetIPBit);
    set(Authentication, kAuthenticationBit);
    set(Plc, kPlcBit);
    set(Https, kHttpsBit);
    return bits;
}

std::vector<CFieldRange> CProtocolCodec::RangeChecks() const
{
    return {{kHttpPortControl, L"TT_HTTP_PORT_HEADER", CFieldRange::kDecimalMode, HttpPort, HttpPortLimits.Min,
             HttpPortLimits.Max}};
}

bool CProtocolCodec::IsHttpsInUse(const CDeviceBlock& block)
{
    const bool switchedOn =
        block.ReadFlag(kProtocolWord, kHttpsBit).value_or(false) || block.ReadFlag(kSecondPortWord, kHttpsBit).value_or(false);
    return switchedOn && block.ReadFlag(kFeatureWord, kHttpsAvailableBit).value_or(false);
}

}  // namespace Corvane
