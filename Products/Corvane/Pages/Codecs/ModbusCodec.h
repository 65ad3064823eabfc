#pragma once
// The MODBUS/TCP settings of the device block. Devices with the 32-bit
// parameter layout keep close-socket (word 1), the watchdog configuration
// (2), its time-out (3), two coding masks (4, 5), the connection count (57)
// and the connection watchdog (58); other devices only the connection
// watchdog, in word 2.
//
// Word 2 is written only when this page changed its value since the last
// load, so that a page sharing the word never gets a stale value back; a
// configuration list with no selection keeps the word.

#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"
#include "Products/Corvane/Pages/Codecs/FieldRange.h"

#include <optional>
#include <vector>

namespace Corvane {

class CModbusCodec {
public:
    static constexpr DWORD kCloseSocketWord = 1;
    static constexpr DWORD kSharedWord = 2;
    static constexpr DWORD kWatchdogTimeoutWord = 3;
    static constexpr DWORD kMask1Word = 4;
    static constexpr DWORD kMask2Word = 5;
    static constexpr DWORD kMaxConnectionsWord = 57;
    static constexpr DWORD kConnectionWatchdogWord = 58;
    static constexpr UINT kConnectionWatchdogControl = 1066;
    static constexpr UINT kWatchdogTimeoutControl = 1071;
    static constexpr UINT kMask1Control = 1064;
    static constexpr UINT kMask2Control = 1070;

    CModbusCodec() = default;
    explicit CModbusCodec(const CDeviceCapabilityFile& file);

    void Load(const CDeviceBlock& block, bool wideFormat);
    // Writes the words whatever the checks say (a missing block takes
    // nothing) and returns the checks' result.
    bool Store(CDeviceBlock& block, bool wideFormat);

    std::vector<CFieldRange> RangeChecks(bool wideFormat) const;
    bool Validate(bool wideFormat) const { return CFieldRange::AllPass(RangeChecks(wideFormat)); }
    // The connection watchdog's default for the layout.
    int ConnectionWatchdogDefault(bool wideFormat) const;

    bool CloseSocket = false;
    // Index of the configuration list: 0 standard, 1 alternate, -1 none.
    int Configuration = 0;
    CDeviceCapabilityFile::CLimits WatchdogTimeoutLimits{0, 0xFFFF, 1};
    CDeviceCapabilityFile::CLimits Mask1Limits{0, 0xFFFF, 0xFFFF};
    CDeviceCapabilityFile::CLimits Mask2Limits{0, 0xFFFF, 0xFFFF};
    CDeviceCapabilityFile::CLimits ConnectionCountLimits{0, 5, 5};
    // Def holds the 32-bit layout's default, ConnectionWatchdogDef16 the other.
    CDeviceCapabilityFile::CLimits ConnectionWatchdogLimits{0, 0xFFFF, 600};
    int ConnectionWatchdogDef16 = 0;
    int WatchdogTimeout = 1;
    int Mask1 = 0xFFFF;
    int Mask2 = 0xFFFF;
    int MaxConnections = 5;
    int ConnectionWatchdog = 600;

private:
    std::optional<WORD> SharedWordValue(bool wideFormat) const;

    std::optional<WORD> m_wLoadedSharedWord;
};

}  // namespace Corvane
