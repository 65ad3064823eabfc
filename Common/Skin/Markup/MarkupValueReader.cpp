#include "Common/Skin/Markup/MarkupValueReader.h"

#include "Platform/Base/WideRuntime.h"

#include <climits>
#include <cwchar>
#include <cwctype>

namespace ZELL::Skin {

namespace {

int Saturate(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// Rounds half away from zero, like the platform's MulDiv, but saturates
// instead of failing: a huge percentage gives a huge length, not -1.
int Percent(int current, long long percent)
{
    if (percent > INT_MAX)
        percent = INT_MAX;
    if (percent < INT_MIN)
        percent = INT_MIN;
    const long long product = static_cast<long long>(current) * percent;
    long long result = product / 100;
    const long long remainder = product % 100;
    if (2 * (remainder < 0 ? -remainder : remainder) >= 100)
        result += product < 0 ? -1 : 1;
    return Saturate(result);
}

// strtoul with base 0, so "0x1F" and "017" read as the platform reads them.
unsigned long long ReadUnsigned(const std::wstring& text)
{
    return std::wcstoull(text.c_str(), nullptr, 0);
}

int HtmlFontSize(int size)
{
    static constexpr int kSizes[] = {8, 10, 12, 14, 18, 24, 36};
    return kSizes[size - 1];
}

bool IsHexDigits(const std::wstring& text)
{
    for (wchar_t c : text) {
        if (!std::iswxdigit(static_cast<wint_t>(c)) || c > 0x7F)
            return false;
    }
    return true;
}

} // namespace

int CMarkupValueReader::Length(const std::wstring& text, int current, bool fontSizeMode) const
{
    if (text.empty())
        return current;
    if (text.back() == L'%')
        return Percent(current, _wtoi64(text.substr(0, text.size() - 1).c_str()));

    std::wstring number = text;
    const bool negative = number[0] == L'-';
    if (number[0] == L'+' || negative)
        number.erase(0, 1);
    if (number.size() >= 2) {
        bool known = false;
        const int length = UnitLength(_wtoi64(number.c_str()), number.substr(number.size() - 2), known);
        if (known)
            return negative ? -length : length;
    }
    const unsigned long long raw = ReadUnsigned(number);
    const int value = raw > INT_MAX ? INT_MAX : static_cast<int>(raw);
    if (fontSizeMode && value >= 1 && value <= 7)
        return HtmlFontSize(value);
    return negative ? -value : value;
}

int CMarkupValueReader::UnitLength(long long number, const std::wstring& unit, bool& known) const
{
    // The number is already at most 2^63; keep it small enough that the
    // products below stay exact, and saturate the result.
    if (number > INT_MAX)
        number = INT_MAX;
    const long long dpi = m_metrics.pixelsPerInchY;
    known = true;
    if (unit == L"px")
        return Saturate(number);
    if (unit == L"ex")
        return Saturate(number * m_metrics.xHeight);
    if (unit == L"em")
        return Saturate(number * m_metrics.fontHeight);
    if (unit == L"in")
        return Saturate(number * dpi);
    if (unit == L"cm")
        return Saturate(number * dpi * 100 / 254);
    if (unit == L"mm")
        return Saturate(number * dpi * 10 / 254);
    if (unit == L"pt")
        return Saturate(number * dpi / 72);
    if (unit == L"pc")
        return Saturate(number * dpi / 6);
    known = false;
    return 0;
}

COLORREF CMarkupValueReader::Color(const std::wstring& text, COLORREF current) const
{
    if (text.empty())
        return current;
    COLORREF color = current;
    if (text[0] == L'#') {
        if (text.size() != 7 || !IsHexDigits(text.substr(1)))
            return current;
        const unsigned long long rgb = std::wcstoull(text.c_str() + 1, nullptr, 16);
        color = RGB(static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
    } else if (text[0] >= L'0' && text[0] <= L'9') {
        const unsigned long long raw = ReadUnsigned(text);
        color = raw > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<COLORREF>(raw);
    } else if (const auto named = m_colors.Find(text)) {
        color = *named;
    } else {
        return current;
    }
    return m_enabled ? color : m_disabledColor;
}

int CMarkupValueReader::FontWeight(const std::wstring& text) const
{
    if (text.empty() || text == L"normal")
        return kMarkupWeightNormal;
    if (text == L"bold")
        return kMarkupWeightBold;
    if (text == L"bolder")
        return kMarkupWeightMax;
    if (text == L"lighter")
        return 100;
    return _wtoi(text.c_str());
}

bool CMarkupValueReader::FontItalic(const std::wstring& text, bool current) const
{
    if (text.empty() || text == L"normal")
        return false;
    if (text == L"italic" || text == L"oblique")
        return true;
    return current;
}

MarkupAlign CMarkupValueReader::Align(const std::wstring& text, MarkupAlign current) const
{
    if (text.empty() || text == L"left")
        return MarkupAlign::Left;
    if (text == L"center")
        return MarkupAlign::Center;
    if (text == L"right")
        return MarkupAlign::Right;
    return current;
}

MarkupVAlign CMarkupValueReader::VAlign(const std::wstring& text, MarkupVAlign current) const
{
    if (text.empty() || text == L"baseline")
        return MarkupVAlign::Baseline;
    if (text == L"middle" || text == L"vcenter")
        return MarkupVAlign::Middle;
    if (text == L"top")
        return MarkupVAlign::Top;
    if (text == L"bottom")
        return MarkupVAlign::Bottom;
    return current;
}

MarkupTransform CMarkupValueReader::Transform(const std::wstring& text, MarkupTransform current) const
{
    if (text.empty() || text == L"none")
        return MarkupTransform::None;
    if (text == L"uppercase")
        return MarkupTransform::Upper;
    if (text == L"lowercase")
        return MarkupTransform::Lower;
    if (text == L"capitalize")
        return MarkupTransform::Capitalize;
    return current;
}

MarkupBorderStyle CMarkupValueReader::BorderStyle(const std::wstring& text, MarkupBorderStyle current) const
{
    if (text.empty() || text == L"none")
        return MarkupBorderStyle::None;
    if (text == L"solid")
        return MarkupBorderStyle::Solid;
    if (text == L"dotted")
        return MarkupBorderStyle::Dotted;
    if (text == L"dashed")
        return MarkupBorderStyle::Dashed;
    if (text == L"double")
        return MarkupBorderStyle::Double;
    return current;
}

int CMarkupValueReader::BorderWidth(const std::wstring& text, int current) const
{
    if (text == L"thin")
        return Percent(current, 75);
    if (text == L"thick")
        return Percent(current, 125);
    if (text == L"medium")
        return current;
    return Length(text, current);
}

int CMarkupValueReader::BackEffect(const std::wstring& text, int current) const
{
    static constexpr const wchar_t* kEffects[] = {
        L"solid", L"hgradient", L"vgradient", L"hcgradient", L"vcgradient", L"3hgradient", L"3vgradient",
        L"noise", L"diagshade", L"hshade", L"vshade", L"hbump", L"vbump", L"softbump", L"hardbump", L"metal"};
    if (text.empty())
        return current;
    if (text == L"transparent")
        return kMarkupEffectNone;
    for (int effect = 0; effect < static_cast<int>(std::size(kEffects)); ++effect) {
        if (text == kEffects[effect])
            return effect;
    }
    return Length(text, current);
}

void CMarkupValueReader::ApplyDecoration(const std::wstring& text, CMarkupStyle& style) const
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L' ', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring word = text.substr(start, end - start);
        if (word == L"none")
            style.underline = style.strikeOut = style.overline = false;
        else if (word == L"underline")
            style.underline = true;
        else if (word == L"line-through")
            style.strikeOut = true;
        else if (word == L"overline")
            style.overline = true;
        start = end + 1;
    }
}

void CMarkupValueReader::ApplyFontStyleLetters(const std::wstring& text, CMarkupStyle& style) const
{
    bool on = true;
    for (wchar_t letter : text) {
        if (letter == L'-' || letter == L'+') {
            on = letter == L'+';
            continue;
        }
        if (letter == L'b')
            style.fontWeight = on ? kMarkupWeightBold : kMarkupWeightNormal;
        else if (letter == L'i')
            style.italic = on;
        else if (letter == L'u')
            style.underline = on;
        else if (letter == L's')
            style.strikeOut = on;
        else if (letter == L'o')
            style.overline = on;
        on = true;
    }
}

void CMarkupValueReader::ApplyBackground(const std::wstring& text, CMarkupStyle& style) const
{
    if (text.empty() || text == L"transparent" || !m_enabled) {
        style.backMode = kMarkupBkModeTransparent;
        return;
    }
    style.backMode = kMarkupBkModeOpaque;
    style.backColor = Color(text, style.backColor);
}

}  // namespace ZELL::Skin
