#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"

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
    WebServer = block.Read(WebServerWord).value_or(0) != 0;
    Authentication = Ftp = Plc = ModbusTcp = ModbusUdp = EthernetIP = Https = false;
    HttpsAvailable = false;
    if (const std::optional<WORD> port = block.Read(HttpPortWord))
        HttpPort = *port;
}

void CProtocolCodec::LoadWide(const CDeviceBlock& block, bool severalPorts)
{
    const WORD bits = block.Read(ProtocolWord).value_or(0);
    Ftp = bits & FtpBit;
    WebServer = bits & WebServerBit;
    ModbusTcp = bits & ModbusTcpBit;
    ModbusUdp = bits & ModbusUdpBit;
    EthernetIP = bits & EthernetIPBit;
    Authentication = bits & AuthenticationBit;
    Plc = bits & PlcBit;
    Https = bits & HttpsBit;
    if (severalPorts)
        Https = Https || block.ReadFlag(SecondPortWord, HttpsBit).value_or(false);
    if (const std::optional<WORD> port = block.Read(WideHttpPortWord))
        HttpPort = *port;
    HttpsAvailable = block.ReadFlag(FeatureWord, HttpsAvailableBit).value_or(false);
}

bool CProtocolCodec::Store(CDeviceBlock& block, bool wideFormat, bool severalPorts) const
{
    if (!block.IsPresent() || !Validate())
        return false;
    if (!wideFormat) {
        block.Write(WebServerWord, WebServer ? 1 : 0);
        block.Write(HttpPortWord, static_cast<WORD>(HttpPort));
        return true;
    }
    block.WriteBits(ProtocolWord, OwnBits, SwitchBits());
    if (severalPorts)
        block.WriteFlag(SecondPortWord, HttpsBit, Https);
    block.Write(WideHttpPortWord, static_cast<WORD>(HttpPort));
    return true;
}

WORD CProtocolCodec::SwitchBits() const
{
    WORD bits = 0;
    const auto set = [&bits](bool on, WORD bit) {
        if (on)
            bits |= bit;
    };
    set(Ftp, FtpBit);
    set(WebServer, WebServerBit);
    set(ModbusTcp, ModbusTcpBit);
    set(ModbusUdp, ModbusUdpBit);
    set(EthernetIP, EthernetIPBit);
    set(Authentication, AuthenticationBit);
    set(Plc, PlcBit);
    set(Https, HttpsBit);
    return bits;
}

std::vector<CFieldRange> CProtocolCodec::RangeChecks() const
{
    return {{HttpPortControl, L"TT_HTTP_PORT_HEADER", CFieldRange::DecimalMode, HttpPort, HttpPortLimits.Min,
             HttpPortLimits.Max}};
}

bool CProtocolCodec::IsHttpsInUse(const CDeviceBlock& block)
{
    const bool switchedOn =
        block.ReadFlag(ProtocolWord, HttpsBit).value_or(false) || block.ReadFlag(SecondPortWord, HttpsBit).value_or(false);
    return switchedOn && block.ReadFlag(FeatureWord, HttpsAvailableBit).value_or(false);
}
