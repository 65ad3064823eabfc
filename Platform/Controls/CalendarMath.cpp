#include "Platform/Controls/CalendarMath.h"

#include "Platform/Base/SystemTime.h"

#include <algorithm>
#include <tuple>

namespace ZELL::Controls {

namespace {

// Days since 0000-03-01 of the proleptic calendar.
long long DayNumber(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int shifted = (month + 9) % 12;
    const int dayOfYear = (153 * shifted + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long long>(era) * 146097 + dayOfEra;
}

void FromDayNumber(long long number, SYSTEMTIME& time)
{
    const long long era = (number >= 0 ? number : number - 146096) / 146097;
    const long long dayOfEra = number - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const long long month = shifted < 10 ? shifted + 3 : shifted - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    time.wYear = static_cast<WORD>(std::clamp<long long>(year, kFirstCalendarYear, kLastCalendarYear));
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    SetDayOfWeek(time);
}

}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int DayOfWeek(int year, int month, int day)
{
    // 0000-03-01 was a Wednesday.
    return static_cast<int>(((DayNumber(year, month, day) + 3) % 7 + 7) % 7);
}

bool IsValidTime(const SYSTEMTIME& t)
{
    return t.wYear >= kFirstCalendarYear && t.wYear <= kLastCalendarYear && t.wMonth >= 1 && t.wMonth <= 12 &&
           t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60;
}

int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    const auto key = [](const SYSTEMTIME& t) {
        return std::make_tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    };
    return key(a) < key(b) ? -1 : (key(b) < key(a) ? 1 : 0);
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

SYSTEMTIME AddDays(SYSTEMTIME time, int days)
{
    FromDayNumber(DayNumber(time.wYear, time.wMonth, time.wDay) + days, time);
    return time;
}

SYSTEMTIME AddMonths(SYSTEMTIME time, int months)
{
    const int index = time.wYear * 12 + (time.wMonth - 1) + months;
    const int year = std::clamp(index / 12, kFirstCalendarYear, kLastCalendarYear);
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(index / 12 == year ? index % 12 + 1 : (year == kFirstCalendarYear ? 1 : 12));
    time.wDay = static_cast<WORD>(std::min<int>(time.wDay, DaysInMonth(time.wYear, time.wMonth)));
    SetDayOfWeek(time);
    return time;
}

void SetDayOfWeek(SYSTEMTIME& time)
{
    time.wDayOfWeek = static_cast<WORD>(DayOfWeek(time.wYear, time.wMonth, time.wDay));
}

SYSTEMTIME Today()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

}
