#include "Common/PelorusDLL/FieldbusBaudrate.h"

#include <cmath>
#include <cwctype>

namespace ZELL {

namespace {

double UnitFactor(const std::wstring& text)
{
    struct Unit {
        const wchar_t* name;
        double factor;
    };
    static const Unit units[] = {
        {L"MBaud", 1e6}, {L"Mbit/s", 1e6}, {L"kBaud", 1e3}, {L"kbit/s", 1e3}, {L"GBaud", 1e9}, {L"Gbit/s", 1e9},
    };
    for (const Unit& unit : units)
        if (text.find(unit.name) != std::wstring::npos)
            return unit.factor;
    return 1.0;
}

}

bool ParseFieldbusBaudrate(const std::wstring& text, double& baud)
{
    if (text == L"--")
        return false;
    std::size_t start = 0;
    while (start < text.size() && std::iswspace(static_cast<wint_t>(text[start])))
        ++start;
    // Only plain decimal numbers: no sign, no hexadecimal, no exponent words.
    std::size_t end = start;
    bool digits = false;
    bool point = false;
    while (end < text.size()) {
        const wchar_t c = text[end];
        if (c >= L'0' && c <= L'9')
            digits = true;
        else if (c == L'.' && !point)
            point = true;
        else
            break;
        ++end;
    }
    if (!digits)
        return false;
    // Read by hand: the C library's reading follows the locale's decimal mark.
    double value = 0.0;
    double scale = 1.0;
    bool fraction = false;
    for (std::size_t i = start; i < end; ++i) {
        if (text[i] == L'.') {
            fraction = true;
            continue;
        }
        const double digit = text[i] - L'0';
        if (fraction) {
            scale /= 10.0;
            value += digit * scale;
        } else {
            value = value * 10.0 + digit;
        }
    }
    if (!std::isfinite(value))
        return false;
    baud = value * UnitFactor(text.substr(end));
    return true;
}

}
