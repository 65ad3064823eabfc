#pragma once
// The SNTP client of the device: on/off in word 0 bit 3 (and word 83 bit 3 on
// two-port devices), interval (word 6), time-out (word 7), word 8 carried,
// and the time server. Devices with per-port network parameters keep the
// server in the data set (the static record of port 0 is the one edited, the
// actual record of port 0 the one in use, and a stored server goes into the
// static record of every port); others keep its IPv4 address in bytes 38-41.
//
// The server text is cleaned as the user types: host names where the device
// takes names, IPv4 addresses otherwise.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <string>
#include <vector>

namespace Corvane {

class CSntpCodec {
public:
    static constexpr DWORD kSwitchWord = 0;
    static constexpr DWORD kIntervalWord = 6;
    static constexpr DWORD kTimeoutWord = 7;
    static constexpr DWORD kKeptWord = 8;
    static constexpr DWORD kAddressWord = 19;
    static constexpr DWORD kSecondPortWord = 83;
    static constexpr WORD kSntpBit = 0x0008;
    static constexpr std::size_t kMaxServerLength = 255;
    static constexpr UINT kIntervalControl = 1096;
    static constexpr UINT kTimeoutControl = 1098;

    enum class EFailure { None, TooLong, NotAnAddress };

    // What checking a server text came to, for the view to act on.
    struct CServerCheck {
        bool Passed = false;
        EFailure Failure = EFailure::None;
        // Put Text into the edit (moving the selection by LengthChange),
        // unless LeaveEditAlone.
        bool Replace = false;
        bool LeaveEditAlone = false;
        std::wstring Text;
        int LengthChange = 0;
        // A host name although no name server is known.
        bool WarnNoNameServer = false;
    };

    CSntpCodec() = default;
    explicit CSntpCodec(const CDeviceCapabilityFile& file);

    // `data` is null when the device has no per-port parameters.
    void Load(const CDeviceBlock& block, const CFBCData* data, bool severalPorts);
    // Writes whatever the checks say, except a server text that fails its
    // check, and returns their result; false, and nothing written, without
    // a block.
    bool Store(CDeviceBlock& block, CFBCData* data, bool severalPorts);

    // From the text-change handler (typing) and from validation; validation
    // takes the cleaned text as the server.
    CServerCheck CheckServerText(const std::wstring& text, bool typing);
    std::vector<CFieldRange> RangeChecks() const;
    // The server check, then the numbers; the first failure ends it.
    bool Validate();

    static std::wstring CleanHostName(const std::wstring& text, bool typing);
    static std::wstring CleanAddressText(const std::wstring& text, bool typing);
    static bool HasRecords(const CFBCData* data);

    bool SntpOn = false;
    CDeviceCapabilityFile::CLimits IntervalLimits{0, 0xFFFF, 0};
    CDeviceCapabilityFile::CLimits TimeoutLimits{0, 0xFFFF, 2000};
    int Interval = 0;
    int Timeout = 2000;
    // -1 until a block holding word 8 was loaded; it is then written back.
    int Word8 = -1;
    std::wstring ServerText;
    std::wstring LastAcceptedText;
    std::wstring CurrentServerText;
    bool HostNamesAllowed = false;
    bool NameServerKnown = true;

private:
    void LoadServer(const CDeviceBlock& block, const CFBCData* data);
    void StoreServer(CDeviceBlock& block, CFBCData* data) const;
    static bool IsNameServerKnown(const CFBCData& data);
    void Put(CServerCheck& check, std::wstring text, std::size_t typedLength, bool leaveEditAlone);

    // The server as last loaded or stored: the reference after a bad entry.
    std::wstring m_strStoredServerText;
};

}  // namespace Corvane
