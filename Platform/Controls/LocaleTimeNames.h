#pragma once
// The user's date and time conventions (LC_TIME of the environment): the
// month and day names, the AM and PM marks, and the short date, long date
// and time as format pictures of the date-time picker.
#include <array>
#include <string>

namespace ZELL::Controls {

struct LocaleTimeNames {
    std::array<std::wstring, 12> months;
    std::array<std::wstring, 12> shortMonths;
    std::array<std::wstring, 7> days;  // from Sunday
    std::array<std::wstring, 7> shortDays;
    std::wstring am;
    std::wstring pm;
    std::wstring shortDate;
    std::wstring longDate;
    std::wstring time;

    // Read anew on each call, so that a changed environment is seen.
    static LocaleTimeNames FromUser();
};

// A strftime format as a picture: %d as dd, %e as d, %m as MM, %b as MMM,
// %B as MMMM, %y as yy, %Y as yyyy, %a as ddd, %A as dddd, %H as HH, %I as
// hh, %M as mm, %S as ss, %p as tt, %D, %T, %R, %r and %F by their parts;
// other text quoted, conversions without a picture left out.
std::wstring PictureFromStrftime(const std::wstring& format);

}
