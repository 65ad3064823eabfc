#include "Platform/Base/LastError.h"
#include "Platform/Base/SystemTime.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

SYSTEMTIME MakeTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0)
{
    SYSTEMTIME time;
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = ms;
    return time;
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Sets TZ for one test and puts the old value back.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        _tzset();
    }
    ~TimeZoneScope()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        _tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST(FileTime, KnownInstants)
{
    FILETIME time;
    const SYSTEMTIME epoch1970 = MakeTime(1970, 1, 1);
    ASSERT_TRUE(SystemTimeToFileTime(&epoch1970, &time));
    EXPECT_EQ(Ticks(time), 116444736000000000ull);
    const SYSTEMTIME start = MakeTime(1601, 1, 1);
    ASSERT_TRUE(SystemTimeToFileTime(&start, &time));
    EXPECT_EQ(Ticks(time), 0u);
}

TEST(FileTime, RoundTripKeepsEveryFieldAndFillsTheWeekday)
{
    for (const SYSTEMTIME& input : {MakeTime(2024, 2, 29, 23, 59, 59, 999), MakeTime(1601, 1, 1),
             MakeTime(2000, 12, 31, 12, 0, 0, 1), MakeTime(30827, 12, 31, 23, 59, 59, 999)}) {
        FILETIME file;
        ASSERT_TRUE(SystemTimeToFileTime(&input, &file)) << input.wYear;
        SYSTEMTIME output;
        ASSERT_TRUE(FileTimeToSystemTime(&file, &output));
        EXPECT_EQ(output.wYear, input.wYear);
        EXPECT_EQ(output.wMonth, input.wMonth);
        EXPECT_EQ(output.wDay, input.wDay);
        EXPECT_EQ(output.wHour, input.wHour);
        EXPECT_EQ(output.wMinute, input.wMinute);
        EXPECT_EQ(output.wSecond, input.wSecond);
        EXPECT_EQ(output.wMilliseconds, input.wMilliseconds);
    }
    const SYSTEMTIME leapDay = MakeTime(2024, 2, 29);
    FILETIME file;
    SYSTEMTIME output;
    SystemTimeToFileTime(&leapDay, &file);
    FileTimeToSystemTime(&file, &output);
    EXPECT_EQ(output.wDayOfWeek, 4); // a Thursday
}

TEST(FileTime, OutOfRangeFieldsAreRefused)
{
    FILETIME file;
    for (const SYSTEMTIME& bad : {MakeTime(2023, 2, 29), MakeTime(2024, 13, 1), MakeTime(2024, 0, 1),
             MakeTime(2024, 1, 0), MakeTime(2024, 1, 1, 24), MakeTime(2024, 1, 1, 0, 60),
             MakeTime(2024, 1, 1, 0, 0, 60), MakeTime(2024, 1, 1, 0, 0, 0, 1000), MakeTime(1600, 12, 31)}) {
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&bad, &file)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    FILETIME tooLarge;
    tooLarge.dwHighDateTime = 0x80000000u;
    SYSTEMTIME output;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &output));
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &file));
}

TEST(SystemTime, SystemTimeAgreesWithTime64)
{
    const __time64_t before = _time64(nullptr);
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME file;
    ASSERT_TRUE(SystemTimeToFileTime(&now, &file));
    const auto seconds = static_cast<__time64_t>((Ticks(file) - 116444736000000000ull) / 10000000ull);
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, _time64(nullptr));
    EXPECT_LT(now.wMilliseconds, 1000);
}

TEST(SystemTime, LocalTimeFollowsTheZone)
{
    TimeZoneScope zone("XST-2"); // two hours east of UTC, no daylight saving
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    const int difference = ((local.wHour - utc.wHour) + 24) % 24;
    EXPECT_TRUE(difference == 2 || (difference == 3 && local.wMinute == 0)); // may straddle an hour
    long seconds = 0;
    EXPECT_EQ(_get_timezone(&seconds), 0);
    EXPECT_EQ(seconds, -7200);
    int daylight = 1;
    EXPECT_EQ(_get_daylight(&daylight), 0);
    EXPECT_EQ(daylight, 0);
}

TEST(Time64, ConversionsAndTheirLimits)
{
    TimeZoneScope zone("UTC0");
    std::tm tm{};
    __time64_t time = 0;
    ASSERT_EQ(_gmtime64_s(&tm, &time), 0);
    EXPECT_EQ(tm.tm_year, 70);
    EXPECT_EQ(tm.tm_mday, 1);

    time = _MAX__TIME64_T;
    ASSERT_EQ(_localtime64_s(&tm, &time), 0);
    EXPECT_EQ(tm.tm_year + 1900, 3000);
    EXPECT_EQ(tm.tm_mon, 11);
    EXPECT_EQ(tm.tm_sec, 59);

    for (const __time64_t bad : {static_cast<__time64_t>(-1), _MAX__TIME64_T + 1}) {
        time = bad;
        EXPECT_EQ(_localtime64_s(&tm, &time), EINVAL);
        EXPECT_EQ(tm.tm_year, -1);
        EXPECT_EQ(tm.tm_mday, -1);
        EXPECT_EQ(_gmtime64_s(&tm, &time), EINVAL);
    }
    EXPECT_EQ(_localtime64_s(&tm, nullptr), EINVAL);
    EXPECT_EQ(_localtime64_s(nullptr, &time), EINVAL);
}

TEST(Time64, MktimeNormalisesAndRoundTrips)
{
    TimeZoneScope zone("XST-2");
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 0;
    tm.tm_mday = 32; // 1 February
    tm.tm_hour = 2;
    tm.tm_isdst = -1;
    const __time64_t time = _mktime64(&tm);
    EXPECT_EQ(tm.tm_mon, 1);
    EXPECT_EQ(tm.tm_mday, 1);
    std::tm back{};
    ASSERT_EQ(_gmtime64_s(&back, &time), 0);
    EXPECT_EQ(back.tm_hour, 0); // 02:00 two hours east is midnight UTC
    EXPECT_EQ(back.tm_mday, 1);

    std::tm early{};
    early.tm_year = 60;
    early.tm_mday = 1;
    EXPECT_EQ(_mktime64(&early), -1);
    EXPECT_EQ(_difftime64(10, 4), 6.0);
}

}
