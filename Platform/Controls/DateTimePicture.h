#pragma once
// A date-time format picture cut into its parts: the fields (d dd ddd dddd,
// M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt) and the literal
// text between them ('quoted' text, '' for a quote, anything else as it
// stands), runs of X for fields the parent fills in, and each part written
// out for a time.
#include "Platform/Base/Types.h"
#include "Platform/Controls/LocaleTimeNames.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

enum class PictureField { Literal, Day, DayName, Month, Year, Hour12, Hour24, Minute, Second, AmPm, Callback };

struct PicturePart {
    PictureField field = PictureField::Literal;
    int letters = 0;     // how many pattern letters
    std::wstring text;   // a literal's text; a callback field's run of X
};

std::vector<PicturePart> ParsePicture(const std::wstring& picture);
// A callback field writes as nothing here: its text is the parent's.
std::wstring FormatPart(const PicturePart& part, const SYSTEMTIME& time, const LocaleTimeNames& names);
std::wstring FormatPicture(const std::vector<PicturePart>& parts, const SYSTEMTIME& time, const LocaleTimeNames& names);

}
