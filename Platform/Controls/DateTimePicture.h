#pragma once
// A date-time format picture cut into its parts: the fields (d dd ddd dddd,
// M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt) and the literal
// text between them ('quoted' text, '' for a quote, anything else as it
// stands), and each part written out for a time.
#include "Platform/Base/Types.h"
#include "Platform/Controls/LocaleTimeNames.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

enum class PictureField { Literal, Day, DayName, Month, Year, Hour12, Hour24, Minute, Second, AmPm };

struct PicturePart {
    PictureField field = PictureField::Literal;
    int letters = 0;     // how many pattern letters
    std::wstring text;   // a literal's text
};

std::vector<PicturePart> ParsePicture(const std::wstring& picture);
std::wstring FormatPart(const PicturePart& part, const SYSTEMTIME& time, const LocaleTimeNames& names);
std::wstring FormatPicture(const std::vector<PicturePart>& parts, const SYSTEMTIME& time, const LocaleTimeNames& names);

}
