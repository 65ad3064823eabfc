#include "Common/SystemHelper/Values/Conversions.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <iomanip>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

const char* const kInputEmpty = "Input is empty";
const char* const kFormatInvalid = "Input format is not valid";
const char* const kOutOfRange = "Value is out of range";
const char* const kInconsistent = "Input values are inconsistent";
const char* const kOddHexText = "Invalid argument at CConversions::to_byte_array";
const char* const kInvalidIp = "Invalid IP address";

[[noreturn]] void ThrowFormat() { throw std::runtime_error(kFormatInvalid); }
[[noreturn]] void ThrowRange() { throw std::runtime_error(kOutOfRange); }

void RequireText(const wchar_t* text)
{
    if (!text || !*text)
        throw std::invalid_argument(kInputEmpty);
}

// wcstoul reads "-1" as the largest value; a sign is refused up front, after
// the white space that the runtime function would skip anyway.
void RejectMinusSign(const wchar_t* text)
{
    while (std::iswspace(static_cast<wint_t>(*text)))
        ++text;
    if (*text == L'-')
        ThrowFormat();
}

void CheckRangeError()
{
    if (errno == ERANGE) {
        errno = 0;
        ThrowRange();
    }
}

// Formats into a fixed buffer; every caller's largest result fits with room.
template <typename... Args>
_bstr_t FormatNumber(const wchar_t* format, Args... args)
{
    wchar_t buffer[64] = {};
    std::swprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args...);
    return _bstr_t(buffer);
}

long ReadSigned(const wchar_t* text, const wchar_t** end, int base)
{
    RequireText(text);
    errno = 0;
    wchar_t* stop = nullptr;
    const long value = std::wcstol(text, &stop, base);
    *end = stop;
    return value;
}

// `long` is 64 bits here; the values are 32-bit, so a value beyond 32 bits is
// the same out-of-range report the runtime would give for a 32-bit long.
LONG NarrowToLong(long value)
{
    CheckRangeError();
    if (value < INT32_MIN || value > INT32_MAX)
        ThrowRange();
    return static_cast<LONG>(value);
}

bool IsHexDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

BYTE HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return static_cast<BYTE>(c - L'0');
    if (c >= L'a' && c <= L'f')
        return static_cast<BYTE>(c - L'a' + 10);
    return static_cast<BYTE>(c - L'A' + 10);
}

// One decimal digit step in 64 bits; an overflow is a format error.
template <typename T>
T AddDigit(T value, wchar_t c, bool negative)
{
    if (c < L'0' || c > L'9')
        ThrowFormat();
    const T digit = static_cast<T>(c - L'0');
    T result{};
    if (__builtin_mul_overflow(value, T{10}, &result))
        ThrowFormat();
    if (negative ? __builtin_sub_overflow(result, digit, &result) : __builtin_add_overflow(result, digit, &result))
        ThrowFormat();
    return result;
}

template <typename T>
T ParseDecimal64(const wchar_t* text)
{
    RequireText(text);
    bool negative = false;
    if (*text == L'+') {
        ++text;
    } else if (*text == L'-') {
        if constexpr (!std::numeric_limits<T>::is_signed)
            ThrowFormat();
        negative = true;
        ++text;
    }
    T value{};
    for (; *text; ++text)
        value = AddDigit(value, *text, negative);
    return value;
}

unsigned long ReadUnsignedWhole(const wchar_t* text, int base)
{
    RequireText(text);
    RejectMinusSign(text);
    errno = 0;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text, &end, base);
    if (*end != L'\0')
        ThrowFormat();
    CheckRangeError();
    if (value > UINT32_MAX)
        ThrowRange();
    return value;
}

} // namespace

namespace SystemHelperDetail {
void ThrowGenStrToNumberFailed(const std::wstring& text)
{
    throw std::string("GenStrToNumber failed: '") + Text::WideToUtf8(text) + "'";
}
}

template <>
signed char GenStrToNumber<signed char>(const std::wstring& text, std::ios_base& (*manipulator)(std::ios_base&))
{
    const int value = GenStrToNumber<int>(text, manipulator);
    if (value < SCHAR_MIN)
        return SCHAR_MIN;
    if (value > SCHAR_MAX)
        return SCHAR_MAX;
    return static_cast<signed char>(value);
}

template <>
char GenStrToNumber<char>(const std::wstring& text, std::ios_base& (*manipulator)(std::ios_base&))
{
    return static_cast<char>(GenStrToNumber<signed char>(text, manipulator));
}

std::int64_t ParseInt64Text(const std::wstring& text)
{
    const bool hex = text.rfind(L"0x", 0) == 0 || text.rfind(L"0X", 0) == 0;
    return GenStrToNumber<std::int64_t>(text, hex ? std::hex : std::dec);
}

_bstr_t CConversions::int_to_text(int value) { return FormatNumber(L"%d", value); }
_bstr_t CConversions::uint_to_text(unsigned int value) { return FormatNumber(L"%u", value); }
_bstr_t CConversions::long_to_text(LONG value) { return FormatNumber(L"%d", static_cast<int>(value)); }
_bstr_t CConversions::ulong_to_text(ULONG value) { return FormatNumber(L"%u", static_cast<unsigned int>(value)); }
_bstr_t CConversions::char_to_text(signed char value) { return FormatNumber(L"%d", static_cast<int>(value)); }
_bstr_t CConversions::uchar_to_text(unsigned char value) { return FormatNumber(L"%d", static_cast<int>(value)); }
_bstr_t CConversions::int64_to_text(std::int64_t value) { return FormatNumber(L"%lld", static_cast<long long>(value)); }

_bstr_t CConversions::uint64_to_text(std::uint64_t value)
{
    return FormatNumber(L"%llu", static_cast<unsigned long long>(value));
}

_bstr_t CConversions::double_to_text(double value) { return FormatNumber(L"%.18g", value); }

_bstr_t CConversions::double_to_text(double value, int precision)
{
    std::wostringstream stream;
    stream << std::fixed << std::setprecision(precision) << value;
    return _bstr_t(stream.str());
}

_bstr_t CConversions::bool_to_text(bool value) { return _bstr_t(value ? L"1" : L"0"); }

_bstr_t CConversions::VARIANT_BOOL_to_text(VARIANT_BOOL value)
{
    return _bstr_t(value == VARIANT_TRUE ? L"VARIANT_TRUE" : L"VARIANT_FALSE");
}

_bstr_t CConversions::bytes_to_text(const BYTE* bytes, std::size_t length)
{
    if (!bytes && length == 0)
        return _bstr_t();
    if (!bytes || length == 0)
        throw std::invalid_argument(kInconsistent);
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return _bstr_t(std::move(text));
}

_bstr_t CConversions::systemtime_to_text(const SYSTEMTIME* time, bool withTime)
{
    if (!time)
        throw std::invalid_argument(kInputEmpty);
    // The buffer holds every field at its widest (a record from a device may
    // carry any 16-bit value).
    _bstr_t text = FormatNumber(L"%04u-%02u-%02u", unsigned{time->wYear}, unsigned{time->wMonth}, unsigned{time->wDay});
    if (withTime)
        text += FormatNumber(L"T%02u:%02u:%02u.%03u", unsigned{time->wHour}, unsigned{time->wMinute},
                             unsigned{time->wSecond}, unsigned{time->wMilliseconds});
    return text;
}

_bstr_t CConversions::ulong_to_ip_text(DWORD address)
{
    return FormatNumber(L"%u.%u.%u.%u", unsigned{(address >> 24) & 0xFFu}, unsigned{(address >> 16) & 0xFFu},
                        unsigned{(address >> 8) & 0xFFu}, unsigned{address & 0xFFu});
}

int CConversions::text_to_BOOL(const _bstr_t& text)
{
    const std::wstring& value = text.wstr();
    if (value == L"0")
        return 0;
    if (value == L"1" || value == L"TRUE")
        return 1;
    if (value == L"FALSE" || value.empty())
        return 0;
    ThrowFormat();
}

bool CConversions::text_to_bool(const _bstr_t& text)
{
    const std::wstring& value = text.wstr();
    if (value == L"0")
        return false;
    if (value == L"1" || value == L"true")
        return true;
    if (value == L"false" || value.empty())
        return false;
    ThrowFormat();
}

LONG CConversions::text_to_long(const wchar_t* text, int base)
{
    const wchar_t* end = nullptr;
    const long value = ReadSigned(text, &end, base);
    if (*end != L'\0')
        ThrowFormat();
    return NarrowToLong(value);
}

LONG CConversions::text_to_long(const wchar_t* text, const wchar_t** end, int base)
{
    const wchar_t* stop = nullptr;
    const long value = ReadSigned(text, &stop, base);
    if (end)
        *end = stop;
    if (stop == text)
        ThrowFormat();
    return NarrowToLong(value);
}

int CConversions::text_to_int(const wchar_t* text, int base) { return text_to_long(text, base); }

SHORT CConversions::text_to_short(const wchar_t* text, int base)
{
    const LONG value = text_to_long(text, base);
    if (value < INT16_MIN || value > INT16_MAX)
        ThrowRange();
    return static_cast<SHORT>(value);
}

signed char CConversions::text_to_char(const wchar_t* text, int base)
{
    const LONG value = text_to_long(text, base);
    if (value < SCHAR_MIN || value > SCHAR_MAX)
        ThrowRange();
    return static_cast<signed char>(value);
}

signed char CConversions::text_to_char(const _bstr_t& text, int base)
{
    return text_to_char(static_cast<const wchar_t*>(text), base);
}

ULONG CConversions::text_to_ulong(const wchar_t* text, int base)
{
    return static_cast<ULONG>(ReadUnsignedWhole(text, base));
}

unsigned int CConversions::text_to_uint(const wchar_t* text, int base) { return text_to_ulong(text, base); }

USHORT CConversions::text_to_ushort(const wchar_t* text, int base)
{
    const ULONG value = text_to_ulong(text, base);
    if (value > UINT16_MAX)
        ThrowRange();
    return static_cast<USHORT>(value);
}

unsigned char CConversions::text_to_uchar(const wchar_t* text, int base)
{
    const ULONG value = text_to_ulong(text, base);
    if (value > UCHAR_MAX)
        ThrowRange();
    return static_cast<unsigned char>(value);
}

unsigned char CConversions::text_to_uchar(const _bstr_t& text, int base)
{
    return text_to_uchar(static_cast<const wchar_t*>(text), base);
}

double CConversions::text_to_double(const wchar_t* text)
{
    RequireText(text);
    errno = 0;
    wchar_t* end = nullptr;
    const double value = std::wcstod(text, &end);
    if (*end != L'\0')
        ThrowFormat();
    CheckRangeError();
    return value;
}

double CConversions::text_to_double(const wchar_t* text, const wchar_t** end)
{
    RequireText(text);
    errno = 0;
    wchar_t* stop = nullptr;
    const double value = std::wcstod(text, &stop);
    if (end)
        *end = stop;
    if (stop == text)
        ThrowFormat();
    CheckRangeError();
    return value;
}

std::int64_t CConversions::text_to_int64(const wchar_t* text) { return ParseDecimal64<std::int64_t>(text); }
std::uint64_t CConversions::text_to_uint64(const wchar_t* text) { return ParseDecimal64<std::uint64_t>(text); }

DWORD CConversions::ip_text_to_ulong(const wchar_t* text)
{
    if (!text || !*text)
        return 0;
    DWORD address = 0;
    const wchar_t* position = text;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            // The separator may be any character, but there must be one and
            // a part after it: a short text ends here, not past its end.
            if (*position == L'\0' || position[1] == L'\0')
                ThrowFormat();
            ++position;
        }
        const LONG value = text_to_long(position, &position, 10);
        if (static_cast<ULONG>(value) > 255u)
            ThrowRange();
        address = (address << 8) | static_cast<DWORD>(value);
    }
    if (*position != L'\0')
        throw std::invalid_argument(kInvalidIp);
    return address;
}

BYTE* CConversions::to_byte_array(const _bstr_t& text, std::size_t& length, bool copy)
{
    // Reading never changes the text, so a private copy would give the same
    // result; the flag is kept for the callers that pass it.
    (void)copy;
    const std::wstring& digits = text.wstr();
    length = 0;
    if (digits.empty())
        return nullptr;
    if (digits.size() % 2 != 0)
        throw std::invalid_argument(kOddHexText);
    const std::size_t count = digits.size() / 2;
    auto bytes = std::make_unique<BYTE[]>(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Exactly two hexadecimal digits: no blank, sign or prefix that the
        // runtime parser would let through.
        const wchar_t high = digits[2 * i];
        const wchar_t low = digits[2 * i + 1];
        if (!IsHexDigit(high) || !IsHexDigit(low))
            ThrowFormat();
        bytes[i] = static_cast<BYTE>((HexValue(high) << 4) | HexValue(low));
    }
    length = count;
    return bytes.release();
}
