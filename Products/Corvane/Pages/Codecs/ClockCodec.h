#pragma once
// The clock page's arithmetic: the device's time-zone list, the PC zone text,
// the device's local time, and the conversion between the date and time
// pickers and the device's seconds since 1970-01-01 00:00:00 UTC. The device
// counts in an unsigned 32-bit number, so the pickers are limited to what it
// holds and a date outside is refused rather than wrapped.

#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace Corvane {

class CClockCodec {
public:
    using tDateTime = CServiceBase::tDateTime;

    struct CZone {
        int Minutes;
        const wchar_t* Text;
    };
    struct CDateTime {
        int Year = 1970;
        int Month = 1;
        int Day = 1;
        int Hour = 0;
        int Minute = 0;
        int Second = 0;
        friend bool operator==(const CDateTime&, const CDateTime&) = default;
    };

    static constexpr std::int64_t kMaxDeviceSeconds = 0xFFFFFFFFll;
    static constexpr std::size_t kZoneCount = 39;

    static const std::array<CZone, kZoneCount>& Zones();
    // The list index of the zone with this offset; -1 when the list has none.
    static int FindZone(int minutes);
    // "UTC", or "UTC +05:45" / "UTC -03:30" with hours and minutes.
    static std::wstring PcZoneText(int minutesEastOfUtc);

    static CDateTime FromSeconds(std::int64_t seconds);
    static std::int64_t ToSeconds(const CDateTime& dateTime);
    // The device's seconds of a picker date and time; none outside what the
    // device can count or for a date that does not exist.
    static std::optional<DWORD> DeviceSeconds(const CDateTime& dateTime);
    static CDateTime PickerMinimum() { return FromSeconds(0); }
    static CDateTime PickerMaximum() { return FromSeconds(kMaxDeviceSeconds); }

    // The device's local time: UTC plus the zone, plus the daylight-saving
    // hours when the device has daylight saving.
    static std::int64_t DeviceLocalSeconds(const tDateTime& dateTime);
    static bool HasDaylightSaving(const tDateTime& dateTime) { return dateTime.sDaylightSaving != -1; }
    // The synchronising record; none when the PC's time is outside the device's count.
    static std::optional<tDateTime> SyncRecord(std::int64_t utcSeconds, int zoneMinutes, bool daylightSaving);
};

}  // namespace Corvane
