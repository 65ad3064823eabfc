#include "Platform/Base/SystemTime.h"

#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <cerrno>
#include <chrono>

namespace {

using namespace std::chrono;

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86'400;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kDaysFrom1601To1970 = 134'774;

struct WallReading {
    std::time_t seconds = 0;
    WORD milliseconds = 0;
};

WallReading ReadWall()
{
    const auto ms = duration_cast<milliseconds>(Platform::Clock::WallNow().time_since_epoch()).count();
    auto seconds = ms / 1000;
    auto rest = ms % 1000;
    if (rest < 0) {
        rest += 1000;
        --seconds;
    }
    return {static_cast<std::time_t>(seconds), static_cast<WORD>(rest)};
}

void FromTm(const std::tm& tm, WORD milliseconds, SYSTEMTIME& time)
{
    time.wYear = static_cast<WORD>(tm.tm_year + 1900);
    time.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    time.wDay = static_cast<WORD>(tm.tm_mday);
    time.wHour = static_cast<WORD>(tm.tm_hour);
    time.wMinute = static_cast<WORD>(tm.tm_min);
    time.wSecond = static_cast<WORD>(tm.tm_sec);
    time.wMilliseconds = milliseconds;
}

void FillInvalid(std::tm& tm)
{
    tm.tm_sec = tm.tm_min = tm.tm_hour = tm.tm_mday = tm.tm_mon = tm.tm_year = -1;
    tm.tm_wday = tm.tm_yday = tm.tm_isdst = -1;
}

errno_t ConvertTime(std::tm* result, const __time64_t* time, bool local)
{
    if (!result)
        return EINVAL;
    if (!time || *time < 0 || *time > _MAX__TIME64_T) {
        FillInvalid(*result);
        return EINVAL;
    }
    const auto seconds = static_cast<std::time_t>(*time);
    if (!(local ? localtime_r(&seconds, result) : gmtime_r(&seconds, result))) {
        FillInvalid(*result);
        return EINVAL;
    }
    return 0;
}

}

void GetLocalTime(LPSYSTEMTIME time)
{
    if (!time)
        return;
    const WallReading now = ReadWall();
    std::tm tm{};
    localtime_r(&now.seconds, &tm);
    FromTm(tm, now.milliseconds, *time);
}

void GetSystemTime(LPSYSTEMTIME time)
{
    if (!time)
        return;
    const WallReading now = ReadWall();
    std::tm tm{};
    gmtime_r(&now.seconds, &tm);
    FromTm(tm, now.milliseconds, *time);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime)
{
    if (!systemTime || !fileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const SYSTEMTIME& st = *systemTime;
    const year_month_day date{year{st.wYear}, month{st.wMonth}, day{st.wDay}};
    if (st.wYear < 1601 || st.wYear > 30827 || !date.ok() || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59
        || st.wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t dayCount = sys_days{date}.time_since_epoch().count() + kDaysFrom1601To1970;
    const std::int64_t seconds = ((st.wHour * 60 + st.wMinute) * 60) + st.wSecond;
    const auto ticks = static_cast<std::uint64_t>(dayCount * kTicksPerDay + seconds * kTicksPerSecond
        + static_cast<std::int64_t>(st.wMilliseconds) * 10'000);
    fileTime->dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    fileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime)
{
    if (!fileTime || !systemTime || (fileTime->dwHighDateTime & 0x80000000u) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(fileTime->dwHighDateTime) << 32)
        | fileTime->dwLowDateTime);
    const std::int64_t dayCount = ticks / kTicksPerDay;
    std::int64_t rest = ticks % kTicksPerDay;
    const sys_days date{days{dayCount - kDaysFrom1601To1970}};
    const year_month_day ymd{date};
    SYSTEMTIME& st = *systemTime;
    st.wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
    st.wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
    st.wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
    st.wDayOfWeek = static_cast<WORD>(weekday{date}.c_encoding());
    st.wHour = static_cast<WORD>(rest / (3600 * kTicksPerSecond));
    rest %= 3600 * kTicksPerSecond;
    st.wMinute = static_cast<WORD>(rest / (60 * kTicksPerSecond));
    rest %= 60 * kTicksPerSecond;
    st.wSecond = static_cast<WORD>(rest / kTicksPerSecond);
    st.wMilliseconds = static_cast<WORD>((rest % kTicksPerSecond) / 10'000);
    return TRUE;
}

__time64_t _time64(__time64_t* destination)
{
    const __time64_t now = ReadWall().seconds;
    if (destination)
        *destination = now;
    return now;
}

double _difftime64(__time64_t end, __time64_t start)
{
    return static_cast<double>(end - start);
}

__time64_t _mktime64(std::tm* localTime)
{
    if (!localTime)
        return -1;
    std::tm copy = *localTime;
    const std::time_t result = std::mktime(&copy);
    if (result < 0 || result > _MAX__TIME64_T)
        return -1;
    *localTime = copy;
    return result;
}

errno_t _localtime64_s(std::tm* result, const __time64_t* time)
{
    return ConvertTime(result, time, true);
}

errno_t _gmtime64_s(std::tm* result, const __time64_t* time)
{
    return ConvertTime(result, time, false);
}

void _tzset()
{
    tzset();
}

errno_t _get_timezone(long* seconds)
{
    if (!seconds)
        return EINVAL;
    *seconds = timezone;
    return 0;
}

errno_t _get_daylight(int* hours)
{
    if (!hours)
        return EINVAL;
    *hours = daylight;
    return 0;
}
