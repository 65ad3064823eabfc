#pragma once
// A date and time as the platform's variant date holds it: days since
// 30 December 1899 with the time of day as the fraction (for days before
// that date the fraction still counts forward into the day), and whether
// the value is usable at all. The print footer stamps pages with it.
#include "Platform/Base/CString.h"
#include "Platform/Base/SystemTime.h"

namespace ZELL::Grid {

struct GridDateTime {
    enum Status { kValid = 0, kInvalid = 1, kNull = 2 };

    double value = 0.0;
    int status = kNull;
};

// Converts, converts back and checks that year, month, day, hour, minute and
// second came through unchanged; false (value untouched) otherwise, and for
// a null value.
BOOL GridDateTimeFromSystemTime(const SYSTEMTIME& systemTime, double* value);
// The local time of a 64-bit time value; invalid when it has none.
GridDateTime GridDateTimeFromTime64(__time64_t time);
GridDateTime CurrentGridDateTime();
// strftime-style formatting of the local time; the empty text for a null
// value, "Invalid DateTime" for an invalid one or a null format.
CString FormatGridDateTime(const GridDateTime& dateTime, LPCWSTR format);

}  // namespace ZELL::Grid
