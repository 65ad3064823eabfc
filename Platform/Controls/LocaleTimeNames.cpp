#include "Platform/Controls/LocaleTimeNames.h"

#include "Platform/Base/TextConversion.h"

#include <cctype>
#include <langinfo.h>
#include <locale.h>

namespace ZELL::Controls {

namespace {

std::wstring Item(locale_t locale, nl_item item)
{
    const char* text = locale != nullptr ? nl_langinfo_l(item, locale) : nl_langinfo(item);
    return Text::Utf8ToWide(text != nullptr ? text : "");
}

// The picture of one conversion; empty for one without.
std::wstring PictureOf(wchar_t conversion)
{
    switch (conversion) {
    case L'd': return L"dd";
    case L'e': return L"d";
    case L'm': return L"MM";
    case L'b':
    case L'h': return L"MMM";
    case L'B': return L"MMMM";
    case L'y': return L"yy";
    case L'Y': return L"yyyy";
    case L'a': return L"ddd";
    case L'A': return L"dddd";
    case L'H': return L"HH";
    case L'I': return L"hh";
    case L'M': return L"mm";
    case L'S': return L"ss";
    case L'p': return L"tt";
    case L'D': return L"MM/dd/yy";
    case L'T': return L"HH:mm:ss";
    case L'R': return L"HH:mm";
    case L'r': return L"hh:mm:ss tt";
    case L'F': return L"yyyy-MM-dd";
    case L'n':
    case L't': return L" ";
    default: return {};
    }
}

// The long date follows the order of the short one's day, month and year.
std::wstring LongDateFor(const std::wstring& shortDate)
{
    const auto day = shortDate.find(L'd');
    const auto month = shortDate.find(L'M');
    const auto year = shortDate.find(L'y');
    if (year != std::wstring::npos && (month == std::wstring::npos || year < month))
        return L"dddd, yyyy MMMM d";
    if (day != std::wstring::npos && month != std::wstring::npos && day < month)
        return L"dddd, d MMMM yyyy";
    return L"dddd, MMMM d, yyyy";
}

}

std::wstring PictureFromStrftime(const std::wstring& format)
{
    std::wstring picture;
    std::wstring quoted;
    const auto flush = [&] {
        if (quoted.empty())
            return;
        picture += L'\'' + quoted + L'\'';
        quoted.clear();
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        wchar_t ch = format[i];
        if (ch == L'%' && i + 1 < format.size()) {
            ch = format[++i];
            // Flags and the E and O modifiers do not change the picture.
            while ((ch == L'E' || ch == L'O' || ch == L'-' || ch == L'_' || ch == L'0' || ch == L'^' || ch == L'#') &&
                   i + 1 < format.size())
                ch = format[++i];
            if (ch == L'%') {
                quoted += L'%';
                continue;
            }
            const std::wstring part = PictureOf(ch);
            if (part == L" ") {
                quoted += part;
            } else if (!part.empty()) {
                flush();
                picture += part;
            }
        } else if (ch == L'\'') {
            flush();
            picture += L"''";
        } else if (std::isalpha(static_cast<unsigned char>(ch & 0x7F)) != 0 || ch > 0x7F) {
            quoted += ch;
        } else {
            flush();
            picture += ch;
        }
    }
    flush();
    return picture;
}

LocaleTimeNames LocaleTimeNames::FromUser()
{
    locale_t locale = newlocale(LC_TIME_MASK, "", nullptr);
    if (locale == nullptr)
        locale = newlocale(LC_TIME_MASK, "C", nullptr);
    LocaleTimeNames names;
    for (int i = 0; i < 12; ++i) {
        names.months[static_cast<std::size_t>(i)] = Item(locale, static_cast<nl_item>(MON_1 + i));
        names.shortMonths[static_cast<std::size_t>(i)] = Item(locale, static_cast<nl_item>(ABMON_1 + i));
    }
    for (int i = 0; i < 7; ++i) {
        names.days[static_cast<std::size_t>(i)] = Item(locale, static_cast<nl_item>(DAY_1 + i));
        names.shortDays[static_cast<std::size_t>(i)] = Item(locale, static_cast<nl_item>(ABDAY_1 + i));
    }
    names.am = Item(locale, AM_STR);
    names.pm = Item(locale, PM_STR);
    names.shortDate = PictureFromStrftime(Item(locale, D_FMT));
    names.time = PictureFromStrftime(Item(locale, T_FMT));
    if (names.shortDate.empty())
        names.shortDate = L"MM/dd/yy";
    if (names.time.empty())
        names.time = L"HH:mm:ss";
    if (names.am.empty())
        names.am = L"AM";
    if (names.pm.empty())
        names.pm = L"PM";
    names.longDate = LongDateFor(names.shortDate);
    if (locale != nullptr)
        freelocale(locale);
    return names;
}

}
