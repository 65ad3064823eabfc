#pragma once
// Wall-clock time: the system-time calls and the run-time library's 64-bit
// time functions. "Now" comes from Platform::Clock::WallNow (Clock.h), so a
// test's manual clock shifts it forward.

#include "Platform/Base/Types.h"

#include <cstdint>
#include <ctime>

using __time64_t = std::int64_t;
using errno_t = int;
using LPSYSTEMTIME = SYSTEMTIME*;
using LPFILETIME = FILETIME*;

// The latest time the 64-bit conversions take: 3000-12-31 23:59:59 UTC.
constexpr __time64_t _MAX__TIME64_T = 32535215999LL;

void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);

// FILETIME counts 100 ns since 1601-01-01 UTC. A SYSTEMTIME with a field out
// of range (month 13, 30 February, hour 24, year before 1601 ...) and a
// FILETIME of 2^63 or more fail with ERROR_INVALID_PARAMETER; the day of the
// week of the input is not looked at.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);

// Seconds since 1970-01-01 UTC; also stored through `destination` unless null.
__time64_t _time64(__time64_t* destination);
double _difftime64(__time64_t end, __time64_t start);
// Local broken-down time to seconds; the structure is normalised. -1 for a
// time before 1970 or after _MAX__TIME64_T.
__time64_t _mktime64(std::tm* localTime);
// EINVAL for a null argument or a time outside 0.._MAX__TIME64_T; the
// result's fields are then all -1.
errno_t _localtime64_s(std::tm* result, const __time64_t* time);
errno_t _gmtime64_s(std::tm* result, const __time64_t* time);

// Re-reads the time-zone settings (TZ) for the conversions above.
void _tzset();
// Seconds west of UTC of the standard time, as the platform's run-time
// library reports it (UTC+1 gives -3600).
errno_t _get_timezone(long* seconds);
// Non-zero when the zone has a daylight-saving rule.
errno_t _get_daylight(int* hours);
