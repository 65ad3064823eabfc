#pragma once
// The network services of the protocol page: switches in word 0 (wide-format
// devices) or word 3, the HTTP port in word 59 or word 4, HTTPS of a second
// port in word 83 and its availability in word 68.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <vector>

class CProtocolCodec {
public:
    static constexpr DWORD ProtocolWord = 0;
    static constexpr DWORD WebServerWord = 3;
    static constexpr DWORD HttpPortWord = 4;
    static constexpr DWORD WideHttpPortWord = 59;
    static constexpr DWORD FeatureWord = 68;
    static constexpr DWORD SecondPortWord = 83;
    static constexpr WORD FtpBit = 0x0001;
    static constexpr WORD WebServerBit = 0x0002;
    static constexpr WORD ModbusTcpBit = 0x0010;
    static constexpr WORD ModbusUdpBit = 0x0020;
    static constexpr WORD EthernetIPBit = 0x0040;
    static constexpr WORD AuthenticationBit = 0x1000;
    static constexpr WORD PlcBit = 0x2000;
    static constexpr WORD HttpsBit = 0x8000;
    // The bits of word 0 that belong to this page; the others are kept.
    static constexpr WORD OwnBits = 0xB073;
    static constexpr WORD HttpsAvailableBit = 0x0010;
    static constexpr UINT HttpPortControl = 1072;

    CProtocolCodec() = default;
    explicit CProtocolCodec(const CDeviceCapabilityFile& file);

    void Load(const CDeviceBlock& block, bool wideFormat, bool severalPorts);
    // Nothing is stored when a check fails or the block is missing.
    bool Store(CDeviceBlock& block, bool wideFormat, bool severalPorts) const;

    std::vector<CFieldRange> RangeChecks() const;
    bool Validate() const { return CFieldRange::AllPass(RangeChecks()); }

    // HTTPS switched on for either port and offered by the device.
    static bool IsHttpsInUse(const CDeviceBlock& block);

    bool WebServer = false;
    bool Authentication = false;
    bool Ftp = false;
    bool Plc = false;
    bool ModbusTcp = false;
    bool ModbusUdp = false;
    bool EthernetIP = false;
    bool Https = false;
    bool HttpsAvailable = false;
    CDeviceCapabilityFile::CLimits HttpPortLimits{0, 0xFFFF, 80};
    int HttpPort = 80;

private:
    void LoadWide(const CDeviceBlock& block, bool severalPorts);
    WORD SwitchBits() const;
};
