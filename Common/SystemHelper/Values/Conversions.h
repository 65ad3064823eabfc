#pragma once
// Strict conversions between values and texts. Every failure is an exception
// with one of a few fixed texts, so callers can tell bad input apart from a
// value that merely does not fit.

#include "Platform/Base/BStr.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/Types.h"

#include <cstdint>
#include <ios>
#include <sstream>
#include <string>

class CConversions {
public:
    // Value to text.
    static _bstr_t int_to_text(int value);
    static _bstr_t uint_to_text(unsigned int value);
    static _bstr_t long_to_text(LONG value);
    static _bstr_t ulong_to_text(ULONG value);
    static _bstr_t char_to_text(signed char value);
    static _bstr_t uchar_to_text(unsigned char value);
    static _bstr_t int64_to_text(std::int64_t value);
    static _bstr_t uint64_to_text(std::uint64_t value);
    static _bstr_t double_to_text(double value);
    static _bstr_t double_to_text(double value, int precision);
    static _bstr_t bool_to_text(bool value);
    static _bstr_t VARIANT_BOOL_to_text(VARIANT_BOOL value);
    static _bstr_t bytes_to_text(const BYTE* bytes, std::size_t length);
    static _bstr_t systemtime_to_text(const SYSTEMTIME* time, bool withTime);
    static _bstr_t ulong_to_ip_text(DWORD address);

    static VARIANT_BOOL bool_to_VARIANT_BOOL(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
    static bool VARIANT_BOOL_to_bool(VARIANT_BOOL value) { return value == VARIANT_TRUE; }

    // Text to value.
    static int text_to_BOOL(const _bstr_t& text);
    static bool text_to_bool(const _bstr_t& text);

    static LONG text_to_long(const wchar_t* text, int base = 10);
    // Reads as far as a number goes and leaves the rest to the caller.
    static LONG text_to_long(const wchar_t* text, const wchar_t** end, int base);
    static int text_to_int(const wchar_t* text, int base = 10);
    static SHORT text_to_short(const wchar_t* text, int base = 10);
    static signed char text_to_char(const wchar_t* text, int base = 10);
    static signed char text_to_char(const _bstr_t& text, int base = 10);

    static ULONG text_to_ulong(const wchar_t* text, int base = 10);
    static unsigned int text_to_uint(const wchar_t* text, int base = 10);
    static USHORT text_to_ushort(const wchar_t* text, int base = 10);
    static unsigned char text_to_uchar(const wchar_t* text, int base = 10);
    static unsigned char text_to_uchar(const _bstr_t& text, int base = 10);

    static double text_to_double(const wchar_t* text);
    static double text_to_double(const wchar_t* text, const wchar_t** end);

    static std::int64_t text_to_int64(const wchar_t* text);
    static std::uint64_t text_to_uint64(const wchar_t* text);

    // "a.b.c.d" with each part 0..255; the empty text is 0.
    static DWORD ip_text_to_ulong(const wchar_t* text);

    // Two hexadecimal digits per byte. The array is the caller's (delete[]);
    // null with length 0 for an empty text.
    static BYTE* to_byte_array(const _bstr_t& text, std::size_t& length, bool copy);
};

namespace SystemHelperDetail {
[[noreturn]] void ThrowGenStrToNumberFailed(const std::wstring& text);
}

// Reads one number from the start of the text; what follows the number is
// not looked at ("12ab" gives 12). The empty text gives 0.
template <typename T>
T GenStrToNumber(const std::wstring& text, std::ios_base& (*manipulator)(std::ios_base&) = std::dec)
{
    if (text.empty())
        return T{};
    std::wistringstream stream(text);
    manipulator(stream);
    T value{};
    stream >> value;
    if (stream.fail())
        SystemHelperDetail::ThrowGenStrToNumberFailed(text);
    return value;
}

// A char is read as an int and saturated, so a byte field never wraps.
template <>
signed char GenStrToNumber<signed char>(const std::wstring& text, std::ios_base& (*manipulator)(std::ios_base&));
template <>
char GenStrToNumber<char>(const std::wstring& text, std::ios_base& (*manipulator)(std::ios_base&));

template <typename T>
T GenStrToNumber(const wchar_t* text, std::ios_base& (*manipulator)(std::ios_base&) = std::dec)
{
    return GenStrToNumber<T>(std::wstring(text ? text : L""), manipulator);
}

// Hexadecimal when the text starts with "0x" or "0X", decimal otherwise.
std::int64_t ParseInt64Text(const std::wstring& text);
