#pragma once
// Gregorian date arithmetic on SYSTEMTIME for the picker and the calendar.
#include "Platform/Base/Types.h"

namespace ZELL::Controls {

// The earliest date the controls take, as the platform's calendar does.
constexpr int kFirstCalendarYear = 1752;
constexpr int kLastCalendarYear = 9999;

int DaysInMonth(int year, int month);
// 0 for Sunday.
int DayOfWeek(int year, int month, int day);
// The date and time fields are within their ranges (the day of the week
// and the milliseconds are not looked at).
bool IsValidTime(const SYSTEMTIME& time);
// <0, 0, >0 as `a` is before, at or after `b`, to the second.
int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b);
bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b);
// Moves the date by whole days or months (the day held to the new month's
// length), keeping the time; the day of the week is set anew.
SYSTEMTIME AddDays(SYSTEMTIME time, int days);
SYSTEMTIME AddMonths(SYSTEMTIME time, int months);
void SetDayOfWeek(SYSTEMTIME& time);
SYSTEMTIME Today();

}
