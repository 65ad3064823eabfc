#include "Platform/Base/TextConversion.h"

#include "Platform/Base/FileSystemPath.h"

namespace Text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// A byte of a file name that is not valid UTF-8 is kept as kEscapedByte + byte.
constexpr char32_t kEscapedByte = 0xDC00;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

enum class Utf8Fault { None, Malformed, CutShort };

// Decodes the code point at `pos` and moves past it; on a fault `pos` stays.
Utf8Fault DecodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return Utf8Fault::None;
    }
    std::size_t extra = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return Utf8Fault::Malformed;
    }
    if (text.size() - pos - 1 < extra)
        return Utf8Fault::CutShort;
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(next))
            return Utf8Fault::Malformed;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return Utf8Fault::Malformed;
    pos += extra + 1;
    return Utf8Fault::None;
}

void EncodeUtf8(char32_t cp, std::string& out)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

template<typename Unit>
std::wstring DecodeUtf16Units(std::size_t count, Unit unitAt)
{
    std::wstring out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        out += (unit >= 0xD800 && unit <= 0xDFFF) ? static_cast<wchar_t>(kReplacement) : static_cast<wchar_t>(unit);
    }
    return out;
}

// Decodes UTF-8, putting `substitute(byte)` for each byte that starts no
// valid sequence; skipping one byte lets the next lead byte start afresh.
template <typename Substitute>
std::wstring DecodeUtf8Lenient(std::string_view bytes, Substitute substitute)
{
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < bytes.size()) {
        if (DecodeUtf8(bytes, pos, cp) == Utf8Fault::None) {
            out += static_cast<wchar_t>(cp);
        } else {
            out += substitute(static_cast<unsigned char>(bytes[pos]));
            ++pos;
        }
    }
    return out;
}

}

std::wstring Utf8ToWide(std::string_view utf8)
{
    return DecodeUtf8Lenient(utf8, [](unsigned char) { return static_cast<wchar_t>(kReplacement); });
}

bool TryUtf8ToWide(std::string_view utf8, std::wstring& wide, CUtf8Error* error)
{
    wide.clear();
    wide.reserve(utf8.size());
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < utf8.size()) {
        const Utf8Fault fault = DecodeUtf8(utf8, pos, cp);
        if (fault != Utf8Fault::None) {
            if (error)
                *error = CUtf8Error{pos, fault == Utf8Fault::CutShort};
            return false;
        }
        wide += static_cast<wchar_t>(cp);
    }
    return true;
}

std::string WideToUtf8(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (wchar_t ch : wide)
        EncodeUtf8(static_cast<char32_t>(ch), out);
    return out;
}

std::wstring FileNameToWide(std::string_view bytes)
{
    return DecodeUtf8Lenient(bytes, [](unsigned char byte) { return static_cast<wchar_t>(kEscapedByte + byte); });
}

std::string WideToFileName(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (wchar_t ch : wide) {
        const auto cp = static_cast<char32_t>(ch);
        if (cp >= kEscapedByte + 0x80 && cp <= kEscapedByte + 0xFF)
            out += static_cast<char>(cp - kEscapedByte);
        else
            EncodeUtf8(cp, out);
    }
    return out;
}

std::wstring Utf16ToWide(std::u16string_view utf16)
{
    return DecodeUtf16Units(utf16.size(), [&](std::size_t i) { return static_cast<char32_t>(utf16[i]); });
}

std::u16string WideToUtf16(std::wstring_view wide)
{
    std::u16string out;
    out.reserve(wide.size());
    for (wchar_t ch : wide) {
        auto cp = static_cast<char32_t>(ch);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = kReplacement;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::wstring Utf16LeToWide(const BYTE* bytes, std::size_t byteCount)
{
    if (!bytes)
        return {};
    return DecodeUtf16Units(byteCount / 2, [&](std::size_t i) {
        return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    });
}

std::vector<BYTE> WideToUtf16Le(std::wstring_view wide)
{
    std::vector<BYTE> out;
    for (char16_t unit : WideToUtf16(wide)) {
        out.push_back(static_cast<BYTE>(unit & 0xFF));
        out.push_back(static_cast<BYTE>(unit >> 8));
    }
    return out;
}

std::wstring Latin1ToWide(std::string_view latin1)
{
    std::wstring out;
    out.reserve(latin1.size());
    for (char ch : latin1)
        out += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return out;
}

std::string WideToLatin1(std::wstring_view wide, bool* replaced)
{
    std::string out;
    out.reserve(wide.size());
    bool any = false;
    for (wchar_t ch : wide) {
        if (static_cast<char32_t>(ch) <= 0xFF) {
            out += static_cast<char>(static_cast<unsigned char>(ch));
        } else {
            out += '?';
            any = true;
        }
    }
    if (replaced)
        *replaced = any;
    return out;
}

}
