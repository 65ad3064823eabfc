#pragma once
// The network services of the protocol page: switches in word 0 (wide-format
// devices) or word 3, the HTTP port in word 59 or word 4, HTTPS of a second
// port in word 83 and its availability in word 68.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <vector>

namespace Corvane {

class CProtocolCodec {
public:
    static constexpr DWORD kProtocolWord = 0;
    static constexpr DWORD kWebServerWord = 3;
    static constexpr DWORD kHttpPortWord = 4;
    static constexpr DWORD kWideHttpPortWord = 59;
    static constexpr DWORD kFeatureWord = 68;
    static constexpr DWORD kSecondPortWord = 83;
    static constexpr WORD kFtpBit = 0x0001;
    static constexpr WORD kWebServerBit = 0x0002;
    static constexpr WORD kModbusTcpBit = 0x0010;
    static constexpr WORD kModbusUdpBit = 0x0020;
    static constexpr WORD kEthernetIPBit = 0x0040;
    static constexpr WORD kAuthenticationBit = 0x1000;
    static constexpr WORD kPlcBit = 0x2000;
    static constexpr WORD kHttpsBit = 0x8000;
    // The bits of word 0 that belong to this page; the others are kept.
    static constexpr WORD kOwnBits = 0xB073;
    static constexpr WORD kHttpsAvailableBit = 0x0010;
    static constexpr UINT kHttpPortControl = 1072;

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

}  // namespace Corvane
