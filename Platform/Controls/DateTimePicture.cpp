#include "Platform/Controls/DateTimePicture.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {


// The field a run of pattern letters stands for; Literal for other letters.
PictureField FieldOf(wchar_t letter, int count)
{
    switch (letter) {
    case L'd': return count >= 3 ? PictureField::DayName : PictureField::Day;
    case L'M': return PictureField::Month;
    case L'y': return PictureField::Year;
    case L'h': return PictureField::Hour12;
    case L'H': return PictureField::Hour24;
    case L'm': return PictureField::Minute;
    case L's': return PictureField::Second;
    case L't': return PictureField::AmPm;
    default: return PictureField::Literal;
    }
}

int MostLetters(wchar_t letter)
{
    switch (letter) {
    case L'd':
    case L'M':
    case L'y': return 4;
    case L'h':
    case L'H':
    case L'm':
    case L's':
    case L't': return 2;
    default: return 0;
    }
}

void AddLiteral(std::vector<PicturePart>& parts, const std::wstring& text)
{
    if (text.empty())
        return;
    if (!parts.empty() && parts.back().field == PictureField::Literal)
        parts.back().text += text;
    else
        parts.push_back({PictureField::Literal, 0, text});
}

std::wstring Number(int value, int width)
{
    std::wstring text = std::to_wstring(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), L'0');
    return text;
}

}

std::vector<PicturePart> ParsePicture(const std::wstring& picture)
{
    std::vector<PicturePart> parts;
    std::size_t i = 0;
    while (i < picture.size()) {
        const wchar_t ch = picture[i];
        if (ch == L'\'') {
            std::wstring text;
            ++i;
            while (i < picture.size()) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        text += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += picture[i++];
            }
            // Only a pair inside a quoted run stands for a quote: a pair
            // outside one is an empty run, as the pictures " ''yyyy" and
            // "dd'" rely on to show no quote at all.
            AddLiteral(parts, text);
            continue;
        }
        if (ch == L'X') {
            std::size_t end = i;
            while (end < picture.size() && picture[end] == L'X')
                ++end;
            parts.push_back({PictureField::Callback, static_cast<int>(end - i), picture.substr(i, end - i)});
            i = end;
            continue;
        }
        const int most = MostLetters(ch);
        if (most == 0) {
            AddLiteral(parts, std::wstring(1, ch));
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < picture.size() && picture[end] == ch)
            ++end;
        // A longer run than the letter knows is taken as several fields.
        int count = static_cast<int>(end - i);
        while (count > 0) {
            int take = std::min(count, most);
            if (ch == L'y' && take == 3)
                take = 2;
            parts.push_back({FieldOf(ch, take), take, {}});
            count -= take;
        }
        i = end;
    }
    return parts;
}

std::wstring FormatPart(const PicturePart& part, const SYSTEMTIME& t, const LocaleTimeNames& names)
{
    const int width = part.letters;
    switch (part.field) {
    case PictureField::Literal: return part.text;
    case PictureField::Callback: return {};
    case PictureField::Day: return Number(t.wDay, width);
    case PictureField::DayName: {
        const std::size_t day = t.wDayOfWeek % 7u;
        return width >= 4 ? names.days[day] : names.shortDays[day];
    }
    case PictureField::Month: {
        const std::size_t month = (std::max<WORD>(t.wMonth, 1) - 1u) % 12u;
        if (width >= 4)
            return names.months[month];
        if (width == 3)
            return names.shortMonths[month];
        return Number(t.wMonth, width);
    }
    case PictureField::Year: return width >= 4 ? Number(t.wYear, 4) : Number(t.wYear % 100, width);
    case PictureField::Hour12: return Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, width);
    case PictureField::Hour24: return Number(t.wHour, width);
    case PictureField::Minute: return Number(t.wMinute, width);
    case PictureField::Second: return Number(t.wSecond, width);
    case PictureField::AmPm: {
        const std::wstring& mark = t.wHour < 12 ? names.am : names.pm;
        return width >= 2 ? mark : mark.substr(0, 1);
    }
    }
    return {};
}

std::wstring FormatPicture(const std::vector<PicturePart>& parts, const SYSTEMTIME& time, const LocaleTimeNames& names)
{
    std::wstring text;
    for (const PicturePart& part : parts)
        text += FormatPart(part, time, names);
    return text;
}

}
