#include "Common/SystemHelper/Values/NumericHelpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

const double kPowersOfTen[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr int kMaxFixedDecimals = 8;

}

double IntPower(double base, int exponent)
{
    // The magnitude in 64 bits, so the smallest int has one as well.
    std::uint64_t remaining = exponent < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(exponent))
                                           : static_cast<std::uint64_t>(exponent);
    double result = 1.0;
    double factor = base;
    while (remaining != 0) {
        if (remaining & 1u)
            result *= factor;
        factor *= factor;
        remaining >>= 1;
    }
    return exponent < 0 ? 1.0 / result : result;
}

double RoundingEpsilon(double value)
{
    if (!std::isfinite(value))
        return 0.0;
    // The exponent of the value as printed with 17 digits after the point, so
    // that a value that prints as an exact half is pushed over it. The
    // character conversions are locale independent.
    char printed[64] = {};
    const auto written = std::to_chars(printed, printed + sizeof(printed) - 1, value, std::chars_format::scientific, 17);
    const char* const end = written.ptr;
    const char* exponent = std::find(static_cast<const char*>(printed), end, 'e');
    if (written.ec != std::errc() || exponent == end)
        return 0.0;
    std::string unit = "0.0000000000000001";
    unit.append(exponent, end);
    double epsilon = 0.0;
    std::from_chars(unit.data(), unit.data() + unit.size(), epsilon);
    return epsilon;
}

double RoundToDecimals(double value, int decimals)
{
    if (value == 0.0 || !std::isfinite(value))
        return value;
    const double magnitude = std::fabs(value);
    const double factor = IntPower(10.0, decimals);
    if (factor == 0.0)
        return std::copysign(0.0, value); // a unit beyond the range of doubles
    const double scaled = factor * magnitude;
    if (!std::isfinite(scaled))
        return value; // far finer than the value's own precision
    const double rounded = std::floor(scaled + 0.5 + RoundingEpsilon(scaled)) / factor;
    return value < 0 ? -rounded : rounded;
}

double RoundToFixedDecimals(double value, int decimals)
{
    const double factor = kPowersOfTen[std::clamp(decimals, 0, kMaxFixedDecimals)];
    const double scaled = value * factor;
    if (!std::isfinite(scaled))
        return value;
    return std::floor(scaled + 0.5) / factor;
}

std::pair<WORD, WORD> GetIsoWeek(int year, int month, int day)
{
    // In 64 bits so that no date makes the day number overflow.
    const std::int64_t a = (14 - std::int64_t{month}) / 12;
    const std::int64_t y = std::int64_t{year} + 4800 - a;
    const std::int64_t m = std::int64_t{month} + 12 * a - 3;
    const std::int64_t julianDay = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    const std::int64_t d4 = (((julianDay + 31741 - (julianDay % 7)) % 146097) % 36524) % 1461;
    const std::int64_t leap = d4 / 1460;
    const std::int64_t d1 = ((d4 - leap) % 365) + leap;
    const std::int64_t week = d1 / 7 + 1;
    std::int64_t weekYear = year;
    if (week == 1 && month == 12)
        weekYear = year + 1;
    else if (month == 1 && week > 51)
        weekYear = year - 1;
    return {static_cast<WORD>(weekYear), static_cast<WORD>(week)};
}

WORD SwapBytes16(WORD value)
{
    return static_cast<WORD>((value >> 8) | (value << 8));
}

WORD SwapBytes16InPlace(WORD* value)
{
    if (!value)
        return 0;
    *value = SwapBytes16(*value);
    return *value;
}

BYTE HighByte(WORD value) { return static_cast<BYTE>(value >> 8); }
BYTE LowByte(WORD value) { return static_cast<BYTE>(value & 0xFF); }

WORD MakeWord(const BYTE* high, const BYTE* low)
{
    const unsigned highValue = high ? *high : 0u;
    const unsigned lowValue = low ? *low : 0u;
    return static_cast<WORD>(highValue * 256u + lowValue);
}

void ReverseBytes(BYTE* buffer, std::size_t length)
{
    if (buffer)
        std::reverse(buffer, buffer + length);
}

std::size_t XorBuffer(BYTE* buffer, std::size_t length, BYTE key)
{
    if (!buffer)
        return 0;
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = static_cast<BYTE>(buffer[i] ^ key);
    return length;
}

wchar_t* CopyToCharArray(std::wstring text)
{
    wchar_t* copy = new wchar_t[text.size()];
    std::copy(text.begin(), text.end(), copy);
    return copy;
}

bool IsTimeElapsed(std::int64_t start, DWORD milliseconds)
{
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    const auto seconds = static_cast<std::int64_t>(std::difftime(static_cast<std::time_t>(now), static_cast<std::time_t>(start)));
    return seconds >= static_cast<std::int64_t>(milliseconds / 1000);
}
