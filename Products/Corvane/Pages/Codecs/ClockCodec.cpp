#include "Products/Corvane/Pages/Codecs/ClockCodec.h"

#include "Common/SystemHelper/Values/StringUtils.h"

#include <cstdlib>

namespace Corvane {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValid(const CClockCodec::CDateTime& value)
{
    return value.Month >= 1 && value.Month <= 12 && value.Day >= 1 && value.Day <= DaysInMonth(value.Year, value.Month) &&
           value.Hour >= 0 && value.Hour < 24 && value.Minute >= 0 && value.Minute < 60 && value.Second >= 0 &&
           value.Second < 60;
}

}

const std::array<CClockCodec::CZone, CClockCodec::kZoneCount>& CClockCodec::Zones()
{
    static constexpr std::array<CZone, kZoneCount> zones = {{
        {-720, L"UTC -12:00"}, {-660, L"UTC -11:00"}, {-600, L"UTC -10:00"}, {-570, L"UTC -09:30"},
        {-540, L"UTC -09:00"}, {-480, L"UTC -08:00"}, {-420, L"UTC -07:00"}, {-360, L"UTC -06:00"},
        {-300, L"UTC -05:00"}, {-240, L"UTC -04:00"}, {-210, L"UTC -03:30"}, {-180, L"UTC -03:00"},
        {-120, L"UTC -02:00"}, {-60, L"UTC -01:00"},   {0, L"UTC"},           {60, L"UTC +01:00"},
        {120, L"UTC +02:00"},  {180, L"UTC +03:00"},   {210, L"UTC +03:30"},  {240, L"UTC +04:00"},
        {270, L"UTC +04:30"},  {300, L"UTC +05:00"},   {330, L"UTC +05:30"},  {345, L"UTC +05:45"},
        {360, L"UTC +06:00"},  {390, L"UTC +06:30"},   {420, L"UTC +07:00"},  {480, L"UTC +08:00"},
        {525, L"UTC +08:45"},  {540, L"UTC +09:00"},   {570, L"UTC +09:30"},  {600, L"UTC +10:00"},
        {630, L"UTC +10:30"},  {660, L"UTC +11:00"},   {690, L"UTC +11:30"},  {720, L"UTC +12:00"},
        {765, L"UTC +12:45"},  {780, L"UTC +13:00"},   {840, L"UTC +14:00"},
    }};
    return zones;
}

int CClockCodec::FindZone(int minutes)
{
    const auto& zones = Zones();
    for (std::size_t i = 0; i < zones.size(); ++i)
        if (zones[i].Minutes == minutes)
            return static_cast<int>(i);
    return -1;
}

std::wstring CClockCodec::PcZoneText(int minutesEastOfUtc)
{
    if (minutesEastOfUtc == 0)
        return L"UTC";
    const int magnitude = std::abs(minutesEastOfUtc);
    const std::wstring sign = minutesEastOfUtc < 0 ? L"-" : L"+";
    return L"UTC " + sign + FormatString(L"%02d:%02d", magnitude / 60, magnitude % 60);
}

CClockCodec::CDateTime CClockCodec::FromSeconds(std::int64_t seconds)
{
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    // Civil date of a day count (the inverse of DaysFromCivil).
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    CDateTime value;
    value.Day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    value.Month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    value.Year = static_cast<int>(yearOfEra + era * 400 + (value.Month <= 2 ? 1 : 0));
    value.Hour = static_cast<int>(rest / 3600);
    value.Minute = static_cast<int>(rest / 60 % 60);
    value.Second = static_cast<int>(rest % 60);
    return value;
}

std::int64_t CClockCodec::ToSeconds(const CDateTime& value)
{
    return DaysFromCivil(value.Year, value.Month, value.Day) * kSecondsPerDay + value.Hour * 3600 +
           value.Minute * 60 + value.Second;
}

std::optional<DWORD> CClockCodec::DeviceSeconds(const CDateTime& dateTime)
{
    if (!IsValid(dateTime))
        return std::nullopt;
    const std::int64_t seconds = ToSeconds(dateTime);
    if (seconds < 0 || seconds > kMaxDeviceSeconds)
        return std::nullopt;
    return static_cast<DWORD>(seconds);
}

std::int64_t CClockCodec::DeviceLocalSeconds(const tDateTime& dateTime)
{
    std::int64_t local = static_cast<std::int64_t>(dateTime.dwSeconds) + dateTime.sZoneMinutes * 60ll;
    if (HasDaylightSaving(dateTime))
        local += dateTime.sDaylightSaving * 3600ll;
    return local;
}

std::optional<CClockCodec::tDateTime> CClockCodec::SyncRecord(std::int64_t utcSeconds, int zoneMinutes,
                                                              bool daylightSaving)
{
    if (utcSeconds < 0 || utcSeconds > kMaxDeviceSeconds)
        return std::nullopt;
    tDateTime record;
    record.dwSeconds = static_cast<DWORD>(utcSeconds);
    record.sZoneMinutes = static_cast<short>(zoneMinutes);
    record.sDaylightSaving = daylightSaving ? 1 : 0;
    return record;
}

}  // namespace Corvane
