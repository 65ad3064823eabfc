#include "Common/Grid/GridDateTime.h"

#include <cmath>
#include <cwchar>

namespace ZELL::Grid {

namespace {

constexpr LPCWSTR kInvalidText = L"Invalid DateTime";
constexpr int kSecondsPerDay = 86400;
// Variant dates cover the years 100 to 9999: whole days from -657434
// (1 January 100) to 2958465 (31 December 9999).
constexpr long long kMinDay = -657434;
constexpr long long kMaxDay = 2958465;

// Days between 1970-01-01 and a civil date (proleptic Gregorian).
constexpr long long DaysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kVariantEpoch = DaysFromCivil(1899, 12, 30);

bool InRange(const SYSTEMTIME& time)
{
    static constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.wYear < 100 || time.wYear > 9999 || time.wMonth < 1 || time.wMonth > 12 || time.wDay < 1)
        return false;
    if (time.wDay > kMonthDays[time.wMonth - 1] || time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59)
        return false;
    const bool leap = (time.wYear % 4 == 0 && time.wYear % 100 != 0) || time.wYear % 400 == 0;
    return !(time.wMonth == 2 && time.wDay == 29 && !leap);
}

double ToVariant(const SYSTEMTIME& time)
{
    const long long days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) - kVariantEpoch;
    const double fraction = (time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond) / kSecondsPerDay;
    // Before the epoch the day is negative but the time still runs forward.
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

// Broken-down time of a variant date, rounded to the second.
bool FromVariant(double value, std::tm& result)
{
    if (!std::isfinite(value) || value <= kMinDay - 1.0 || value >= kMaxDay + 1.0)
        return false;
    long long days = static_cast<long long>(std::trunc(value));
    long long seconds = std::llround(std::fabs(value - static_cast<double>(days)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        days += value < 0 ? -1 : 1;
    }
    if (days < kMinDay || days > kMaxDay)
        return false;
    int year = 0, month = 0, day = 0;
    const long long civil = days + kVariantEpoch;
    CivilFromDays(civil, year, month, day);
    result = std::tm{};
    result.tm_year = year - 1900;
    result.tm_mon = month - 1;
    result.tm_mday = day;
    result.tm_hour = static_cast<int>(seconds / 3600);
    result.tm_min = static_cast<int>(seconds / 60 % 60);
    result.tm_sec = static_cast<int>(seconds % 60);
    result.tm_wday = static_cast<int>(((civil % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    result.tm_yday = static_cast<int>(civil - DaysFromCivil(year, 1, 1));
    result.tm_isdst = -1;
    return true;
}

}

BOOL GridDateTimeFromSystemTime(const SYSTEMTIME& systemTime, double* value)
{
    if (value == nullptr || !InRange(systemTime))
        return FALSE;
    const double converted = ToVariant(systemTime);
    std::tm back{};
    if (!FromVariant(converted, back))
        return FALSE;
    const bool same = back.tm_year + 1900 == systemTime.wYear && back.tm_mon + 1 == systemTime.wMonth &&
                      back.tm_mday == systemTime.wDay && back.tm_hour == systemTime.wHour &&
                      back.tm_min == systemTime.wMinute && back.tm_sec == systemTime.wSecond;
    if (!same)
        return FALSE;
    *value = converted;
    return TRUE;
}

GridDateTime GridDateTimeFromTime64(__time64_t time)
{
    GridDateTime result;
    result.status = GridDateTime::kInvalid;
    std::tm local{};
    if (_localtime64_s(&local, &time) != 0)
        return result;
    SYSTEMTIME systemTime{};
    systemTime.wYear = static_cast<WORD>(local.tm_year + 1900);
    systemTime.wMonth = static_cast<WORD>(local.tm_mon + 1);
    systemTime.wDay = static_cast<WORD>(local.tm_mday);
    systemTime.wHour = static_cast<WORD>(local.tm_hour);
    systemTime.wMinute = static_cast<WORD>(local.tm_min);
    systemTime.wSecond = static_cast<WORD>(local.tm_sec);
    if (GridDateTimeFromSystemTime(systemTime, &result.value))
        result.status = GridDateTime::kValid;
    return result;
}

GridDateTime CurrentGridDateTime()
{
    return GridDateTimeFromTime64(_time64(nullptr));
}

CString FormatGridDateTime(const GridDateTime& dateTime, LPCWSTR format)
{
    if (dateTime.status == GridDateTime::kNull)
        return CString();
    std::tm broken{};
    if (format == nullptr || dateTime.status != GridDateTime::kValid || !FromVariant(dateTime.value, broken))
        return CString(kInvalidText);
    wchar_t buffer[256] = {};
    std::wcsftime(buffer, 256, format, &broken);
    return CString(buffer);
}

}  // namespace ZELL::Grid
