#include "Common/SystemHelper/Values/StringUtils.h"

#include "Common/SystemHelper/Values/Conversions.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WideRuntime.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {

const wchar_t* const kBlanks = L" \t\f\v\n\r";
constexpr std::size_t kIpPartCount = 4;

std::atomic<bool> g_debugTraceEnabled{false};

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// atoi: leading blanks, a sign, digits; anything else ends the number, and a
// value beyond 32 bits saturates.
LONG LeadingNumber(const std::wstring& text)
{
    return _wtol(text.c_str());
}

bool IsSpaceOrControl(wchar_t c)
{
    return std::iswspace(static_cast<wint_t>(c)) || std::iswcntrl(static_cast<wint_t>(c));
}

std::vector<std::wstring> SplitIpParts(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    SplitString(text, L".", parts, true);
    return parts;
}

void FillIpParts(std::vector<std::wstring>& parts)
{
    while (parts.size() < kIpPartCount)
        parts.push_back(L"0");
}

// scanf's "%u": white space, an optional sign, decimal digits.
bool ScanUnsigned(const wchar_t*& position, unsigned int& value)
{
    wchar_t* end = nullptr;
    const unsigned long read = std::wcstoul(position, &end, 10);
    if (end == position)
        return false;
    value = static_cast<unsigned int>(read);
    position = end;
    return true;
}

bool ScanLiteral(const wchar_t*& position, const wchar_t* literal)
{
    const std::size_t length = std::wcslen(literal);
    if (std::wcsncmp(position, literal, length) != 0)
        return false;
    position += length;
    return true;
}

} // namespace

std::wstring TrimLeft(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::wstring::npos ? text : text.substr(first);
}

std::wstring TrimRight(const std::wstring& text)
{
    const std::size_t last = text.find_last_not_of(kBlanks);
    return last == std::wstring::npos ? text : text.substr(0, last + 1);
}

std::wstring Trim(const std::wstring& text)
{
    return TrimRight(TrimLeft(text));
}

std::wstring TrimSpacesAndControls(const std::wstring& text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), IsSpaceOrControl);
    if (first == text.end())
        return std::wstring();
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsSpaceOrControl).base();
    return std::wstring(first, last);
}

std::wstring ToLower(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = Text::ToLowerChar(c);
    return result;
}

std::wstring ToUpper(const std::wstring& text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = Text::ToUpperChar(c);
    return result;
}

int CompareNoCase(const std::wstring& left, const std::wstring& right)
{
    return ToLower(left).compare(ToLower(right));
}

std::wstring StrLeft(const std::wstring& text, std::size_t count)
{
    return text.substr(0, count);
}

std::wstring StrRight(const std::wstring& text, std::size_t count)
{
    return count >= text.size() ? text : text.substr(text.size() - count);
}

std::wstring StrBeforeAnyOf(const std::wstring& text, const std::wstring& characters)
{
    return text.substr(0, text.find_first_of(characters));
}

std::wstring StrAfterLastOf(const std::wstring& text, const std::wstring& characters)
{
    const std::size_t position = text.find_last_of(characters);
    return position == std::wstring::npos ? text : text.substr(position + 1);
}

std::wstring EraseAll(const std::wstring& text, const std::wstring& part)
{
    // An empty part would be found at the same place for ever.
    if (part.empty())
        return text;
    std::wstring result(text);
    std::size_t position = 0;
    while ((position = result.find(part, position)) != std::wstring::npos)
        result.erase(position, part.size());
    return result;
}

std::wstring EraseLast(const std::wstring& text, const std::wstring& part)
{
    std::wstring result(text);
    const std::size_t position = part.empty() ? std::wstring::npos : result.rfind(part);
    if (position != std::wstring::npos)
        result.erase(position, part.size());
    return result;
}

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search, const std::wstring& replacement)
{
    if (search.empty())
        return text;
    // Built anew rather than replaced in place, so a text full of matches costs linear time.
    std::wstring result;
    std::size_t start = 0;
    for (std::size_t at = text.find(search); at != std::wstring::npos; at = text.find(search, start)) {
        result.append(text, start, at - start);
        result += replacement;
        start = at + search.size();
    }
    result.append(text, start, std::wstring::npos);
    return result;
}

std::wstring ReplaceLast(const std::wstring& text, const std::wstring& search, const std::wstring& replacement)
{
    std::wstring result(text);
    const std::size_t position = search.empty() ? std::wstring::npos : result.rfind(search);
    if (position != std::wstring::npos)
        result.replace(position, search.size(), replacement);
    return result;
}

std::size_t SplitString(const std::wstring& text, const std::wstring& delimiters, std::vector<std::wstring>& parts,
                        bool trim, bool append)
{
    if (!append)
        parts.clear();
    std::size_t position = 0;
    while ((position = text.find_first_not_of(delimiters, position)) != std::wstring::npos) {
        const std::size_t end = text.find_first_of(delimiters, position);
        if (end == std::wstring::npos) {
            parts.push_back(text.substr(position));
            break;
        }
        parts.push_back(text.substr(position, end - position));
        position = end;
    }
    if (trim) {
        for (std::wstring& part : parts)
            part = Trim(part);
    }
    return parts.size();
}

std::wstring InsertEveryN(const std::wstring& text, const std::wstring& separator, int count)
{
    if (count < 1)
        throw std::invalid_argument("InsertEveryN: the piece length must be at least 1");
    const std::size_t pieceLength = static_cast<std::size_t>(count);
    std::wstring result;
    for (std::size_t position = 0; position < text.size(); position += pieceLength) {
        if (position > 0)
            result += separator;
        result += text.substr(position, pieceLength);
    }
    return result;
}

std::wstring RepeatSpaces(int count)
{
    return count > 0 ? std::wstring(static_cast<std::size_t>(count), L' ') : std::wstring();
}

void AppendWithSeparator(std::wstring& text, const std::wstring& part, wchar_t separator)
{
    if (text.empty()) {
        text += part;
        return;
    }
    const bool textHasIt = text.back() == separator;
    const bool partHasIt = !part.empty() && part.front() == separator;
    if (textHasIt && partHasIt)
        text.append(part, 1, std::wstring::npos);
    else if (textHasIt || partHasIt)
        text += part;
    else
        (text += separator) += part;
}

bool AppendWithSeparator(wchar_t* buffer, std::size_t bufferSize, const wchar_t* part, wchar_t separator)
{
    if (!buffer || bufferSize == 0)
        return false;
    const std::size_t length = wcsnlen(buffer, bufferSize);
    if (length == bufferSize)
        return false; // not terminated inside its size: nothing is trusted
    std::wstring joined(buffer, length);
    AppendWithSeparator(joined, part ? std::wstring(part) : std::wstring(), separator);
    if (joined.size() >= bufferSize)
        return false;
    std::copy(joined.begin(), joined.end(), buffer);
    buffer[joined.size()] = L'\0';
    return true;
}

wchar_t* StrToCharArray(const std::wstring& text)
{
    wchar_t* copy = new wchar_t[text.size() + 1];
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = L'\0';
    return copy;
}

std::wstring StringFromBytes(const BYTE* bytes, std::size_t length)
{
    if (!bytes)
        return std::wstring();
    return std::wstring(bytes, bytes + length);
}

bool ContainsHexDigit(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return std::iswxdigit(static_cast<wint_t>(c)) != 0; });
}

std::wstring GetComputerNameText()
{
    // A computer name is at most 15 characters and has no domain part; the
    // host name is cut the same way.
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
        return std::wstring();
    std::wstring name = Text::Utf8ToWide(host);
    name = name.substr(0, name.find(L'.'));
    return name.substr(0, 15);
}

bool IsFileReadable(const std::wstring& fileName)
{
    const std::filesystem::path path = Text::FsPath(fileName);
    std::error_code error;
    // A folder opens as a stream here but is no readable file.
    if (std::filesystem::is_directory(path, error))
        return false;
    std::ifstream stream(path, std::ios::in | std::ios::binary);
    return stream.is_open();
}

DWORD IpTextToUInt(const std::wstring& text)
{
    std::vector<std::wstring> parts = SplitIpParts(text);
    if (parts.empty())
        return 0;
    // Like the validation and normalisation: at most four parts, the missing
    // ones are zeros at the end.
    parts.resize(std::min(parts.size(), kIpPartCount));
    FillIpParts(parts);
    DWORD address = 0;
    for (const std::wstring& part : parts)
        address = (address << 8) | (static_cast<DWORD>(LeadingNumber(part)) & 0xFFu);
    return address;
}

std::wstring UIntToIpText(DWORD value, int width)
{
    const std::wstring spaces = RepeatSpaces(width);
    std::wstring text = spaces;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (shift < 24)
            text += L"." + spaces;
        text += std::to_wstring((value >> shift) & 0xFFu) + spaces;
    }
    return text;
}

bool IsValidIpText(const std::wstring& text)
{
    if (text.empty())
        return true;
    if (text.size() > 15)
        return false;
    std::vector<std::wstring> parts = SplitIpParts(text);
    if (parts.size() == kIpPartCount && text.back() == L'.')
        return false;
    FillIpParts(parts);
    if (parts.size() != kIpPartCount)
        return false;
    if (!std::all_of(text.begin(), text.end(), [](wchar_t c) { return IsAsciiDigit(c) || c == L'.'; }))
        return false;
    return std::all_of(parts.begin(), parts.end(), [](const std::wstring& part) { return LeadingNumber(part) <= 255; });
}

std::wstring NormalizeIpText(const std::wstring& text)
{
    std::wstring filtered;
    std::copy_if(text.begin(), text.end(), std::back_inserter(filtered),
                 [](wchar_t c) { return IsAsciiDigit(c) || c == L'.'; });
    std::vector<std::wstring> parts = SplitIpParts(filtered);
    parts.resize(std::min(parts.size(), kIpPartCount));
    FillIpParts(parts);
    std::wstring result;
    for (std::wstring& part : parts) {
        const LONG value = LeadingNumber(part);
        if (value > 255)
            part = L"255";
        else if (value < 1)
            part = L"0";
        if (!result.empty())
            result += L'.';
        result += part;
    }
    return result;
}

std::wstring GetDottedPart(const std::wstring& text, std::size_t index)
{
    const std::vector<std::wstring> parts = SplitIpParts(text);
    return index < parts.size() ? parts[index] : std::wstring(L"0");
}

unsigned int ParseNumberInParentheses(const std::wstring& text)
{
    const std::wstring compact = ToUpper(EraseAll(text, L" "));
    const std::size_t open = compact.find(L'(');
    // Without a parenthesis the first two characters are taken.
    const std::size_t origin = open == std::wstring::npos ? 0 : open;
    const std::size_t first = open == std::wstring::npos ? 0 : open + 1;
    std::wstring digits = L"0";
    if (compact.size() >= origin + 2)
        digits = compact.substr(first, 2);
    try {
        return GenStrToNumber<unsigned int>(digits, std::dec);
    } catch (const std::string&) {
        return 0;
    }
}

COLORREF ParseRgbText(const std::wstring& text)
{
    const wchar_t* position = text.c_str();
    unsigned int components[3] = {0, 0, 0};
    const bool framed = text.find(L"RGB(") != std::wstring::npos;
    if (!framed || ScanLiteral(position, L"RGB(")) {
        for (int i = 0; i < 3; ++i) {
            if (i > 0 && !ScanLiteral(position, L","))
                break;
            if (!ScanUnsigned(position, components[i]))
                break;
        }
    }
    return RGB(static_cast<BYTE>(components[0]), static_cast<BYTE>(components[1]), static_cast<BYTE>(components[2]));
}

void SetDebugTraceEnabled(bool enabled)
{
    g_debugTraceEnabled.store(enabled);
}

bool IsDebugTraceEnabled()
{
    return g_debugTraceEnabled.load();
}
