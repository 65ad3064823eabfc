#include "Platform/Xml/XmlDecoder.h"

#include "Platform/Base/TextConversion.h"

#include <algorithm>
#include <cctype>

namespace Xml {
namespace {

enum class SourceEncoding { Utf8, Utf16Le, Utf16Be, Latin1, Windows1252 };

// The characters 0x80-0x9F of code page 1252; 0 marks the five unused bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

bool Fail(CParseError& error, std::wstring reason, std::size_t offset)
{
    error.reason = std::move(reason);
    error.offset = offset;
    return false;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The value of encoding="..." in an XML declaration at the start; empty when
// there is no declaration or it names no encoding.
std::string DeclaredEncoding(std::string_view bytes)
{
    if (!bytes.starts_with("<?xml"))
        return {};
    const auto end = bytes.find("?>");
    const std::string_view declaration = bytes.substr(0, std::min<std::size_t>(end, 512));
    auto pos = declaration.find("encoding");
    if (pos == std::string_view::npos)
        return {};
    pos += 8;
    while (pos < declaration.size() && (declaration[pos] == ' ' || declaration[pos] == '\t'
               || declaration[pos] == '\r' || declaration[pos] == '\n' || declaration[pos] == '='))
        ++pos;
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return {};
    const char quote = declaration[pos++];
    const auto close = declaration.find(quote, pos);
    if (close == std::string_view::npos)
        return {};
    return Lower(declaration.substr(pos, close - pos));
}

bool EncodingFromName(const std::string& name, SourceEncoding& encoding)
{
    static const char* const latin1[] = {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "latin-1", "l1",
        "iso-ir-100", "cp819", "ibm819", "iso_8859-1:1987", "csisolatin1"};
    if (name.empty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii"
        || name == "utf-16" || name == "unicode") {
        // A declaration that names UTF-16 in a text that is plainly 8-bit is
        // taken at its bytes.
        encoding = SourceEncoding::Utf8;
        return true;
    }
    for (const char* alias : latin1) {
        if (name == alias) {
            encoding = SourceEncoding::Latin1;
            return true;
        }
    }
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252") {
        encoding = SourceEncoding::Windows1252;
        return true;
    }
    return false;
}

bool FailCharacter(CParseError& error, char32_t c, std::size_t offset)
{
    return Fail(error, L"a character that XML does not allow (code " + std::to_wstring(static_cast<unsigned>(c)) + L")",
        offset);
}

bool Append(std::wstring& text, char32_t c, std::size_t offset, CParseError& error)
{
    if (!IsXmlChar(c))
        return FailCharacter(error, c, offset);
    text += static_cast<wchar_t>(c);
    return true;
}

bool DecodeUtf8(std::string_view bytes, std::wstring& text, CParseError& error)
{
    Text::CUtf8Error damage;
    const bool decoded = Text::TryUtf8ToWide(bytes, text, &damage);
    // A character XML refuses before the damage is the first fault.
    if (!CheckXmlChars(text, error)) {
        text.resize(error.offset);
        return false;
    }
    if (!decoded)
        return Fail(error, damage.cutShort ? L"UTF-8 byte sequence cut short" : L"invalid UTF-8 byte sequence", text.size());
    return true;
}

bool DecodeUtf16(std::string_view bytes, bool bigEndian, std::wstring& text, CParseError& error)
{
    if (bytes.size() % 2 != 0)
        return Fail(error, L"UTF-16 text cut short", bytes.size() / 2);
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return Fail(error, L"unpaired UTF-16 surrogate", text.size());
        }
        if (!Append(text, c, text.size(), error))
            return false;
    }
    return true;
}

bool DecodeSingleByte(std::string_view bytes, bool windows1252, std::wstring& text, CParseError& error)
{
    for (const char ch : bytes) {
        char32_t c = static_cast<unsigned char>(ch);
        if (windows1252 && c >= 0x80 && c <= 0x9F) {
            c = kCp1252High[c - 0x80];
            if (c == 0)
                return Fail(error, L"a byte that code page 1252 does not define", text.size());
        }
        if (!Append(text, c, text.size(), error))
            return false;
    }
    return true;
}

}

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

bool CheckXmlChars(std::wstring_view text, CParseError& error)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<char32_t>(text[i]);
        if (!IsXmlChar(c))
            return FailCharacter(error, c, i);
    }
    return true;
}

bool DecodeXmlBytes(std::string_view bytes, std::wstring& text, CParseError& error)
{
    text.clear();
    error = CParseError{};
    const auto at = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
    bool ok = false;
    if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        ok = DecodeUtf8(bytes.substr(3), text, error);
    } else if (at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0) {
        ok = Fail(error, L"UTF-32 is not supported", 0);
    } else if (at(0) == 0xFF && at(1) == 0xFE) {
        ok = DecodeUtf16(bytes.substr(2), false, text, error);
    } else if (at(0) == 0xFE && at(1) == 0xFF) {
        ok = DecodeUtf16(bytes.substr(2), true, text, error);
    } else if (at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) {
        ok = DecodeUtf16(bytes, false, text, error);
    } else if (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') {
        ok = DecodeUtf16(bytes, true, text, error);
    } else {
        const std::string name = DeclaredEncoding(bytes);
        SourceEncoding encoding = SourceEncoding::Utf8;
        if (!EncodingFromName(name, encoding))
            ok = Fail(error, L"unsupported encoding '" + Text::Latin1ToWide(name) + L"'", 0);
        else if (encoding == SourceEncoding::Utf8)
            ok = DecodeUtf8(bytes, text, error);
        else
            ok = DecodeSingleByte(bytes, encoding == SourceEncoding::Windows1252, text, error);
    }
    if (!ok)
        LocateOffset(text, error);
    return ok;
}

void LocateOffset(std::wstring_view text, CParseError& error)
{
    error.line = 1;
    error.column = 1;
    const std::size_t end = std::min(error.offset, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == L'\n') {
            ++error.line;
            error.column = 1;
        } else {
            ++error.column;
        }
    }
}

}
