#pragma once
// Small text helpers used all over the system: trimming, splitting,
// replacing and case, the dotted IPv4 texts of the settings pages and the
// colour texts of the GUI file.

#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>
#include <vector>

// Blank characters are " \t\f\v\n\r". A text of blanks only is returned as it
// stands by the three Trim functions.
std::wstring TrimLeft(const std::wstring& text);
std::wstring TrimRight(const std::wstring& text);
std::wstring Trim(const std::wstring& text);
// From the first to the last character that is neither a control character
// nor a space; the empty text when there is none.
std::wstring TrimSpacesAndControls(const std::wstring& text);

std::wstring ToLower(const std::wstring& text);
std::wstring ToUpper(const std::wstring& text);
int CompareNoCase(const std::wstring& left, const std::wstring& right);

std::wstring StrLeft(const std::wstring& text, std::size_t count);
std::wstring StrRight(const std::wstring& text, std::size_t count);
std::wstring StrBeforeAnyOf(const std::wstring& text, const std::wstring& characters);
std::wstring StrAfterLastOf(const std::wstring& text, const std::wstring& characters);

std::wstring EraseAll(const std::wstring& text, const std::wstring& part);
std::wstring EraseLast(const std::wstring& text, const std::wstring& part);
// A replacement that contains the search text is not searched again.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search, const std::wstring& replacement);
std::wstring ReplaceLast(const std::wstring& text, const std::wstring& search, const std::wstring& replacement);

// Runs of delimiters give no empty elements. With `trim` every element of the
// vector, earlier ones included, is trimmed. Returns the element count.
std::size_t SplitString(const std::wstring& text, const std::wstring& delimiters, std::vector<std::wstring>& parts,
                        bool trim = false, bool append = false);

// Every text is followed by the separator, the last one too.
template <typename Range>
std::wstring JoinStrings(const Range& texts, const std::wstring& separator)
{
    std::wstring result;
    for (const auto& text : texts) {
        result += text;
        result += separator;
    }
    return result;
}

// Pieces of `count` characters joined by the separator. Throws
// std::invalid_argument for a count below 1, which could never end.
std::wstring InsertEveryN(const std::wstring& text, const std::wstring& separator, int count);
std::wstring RepeatSpaces(int count);

// Appends so that exactly one separator stands between text and part.
void AppendWithSeparator(std::wstring& text, const std::wstring& part, wchar_t separator);
// The same on a terminated buffer of `bufferSize` characters. When the result
// and its terminator do not fit, the buffer is left as it was and the result
// is false.
bool AppendWithSeparator(wchar_t* buffer, std::size_t bufferSize, const wchar_t* part, wchar_t separator);
template <std::size_t N>
bool AppendWithSeparator(wchar_t (&buffer)[N], const wchar_t* part, wchar_t separator)
{
    return AppendWithSeparator(buffer, N, part, separator);
}

// printf-style with the wide rules of the platform (%s is wide text); a
// format that does not match its arguments renders harmlessly.
template <typename... Args>
std::wstring FormatString(std::wstring format, const Args&... args)
{
    return FormatW(format.c_str(), args...);
}

// A new[] copy with a terminator; the caller frees it with delete[].
wchar_t* StrToCharArray(const std::wstring& text);
// One character per byte.
std::wstring StringFromBytes(const BYTE* bytes, std::size_t length);
bool ContainsHexDigit(const std::wstring& text);
std::wstring GetComputerNameText();
bool IsFileReadable(const std::wstring& fileName);

// Dotted IPv4 texts. The readers agree on texts of fewer than four parts:
// the missing parts are zeros at the end ("10.1" is 10.1.0.0).
DWORD IpTextToUInt(const std::wstring& text);
std::wstring UIntToIpText(DWORD value, int width = 0);
bool IsValidIpText(const std::wstring& text);
std::wstring NormalizeIpText(const std::wstring& text);
std::wstring GetDottedPart(const std::wstring& text, std::size_t index);

// "Port (12)" gives 12: the two characters after "(" (or the first two when
// there is none) read as a decimal number; 0 when that fails.
unsigned int ParseNumberInParentheses(const std::wstring& text);
// "RGB(r,g,b)" or "r,g,b"; components that cannot be read are 0.
COLORREF ParseRgbText(const std::wstring& text);

// Process-wide switch of the debug trace, off at start.
void SetDebugTraceEnabled(bool enabled);
bool IsDebugTraceEnabled();

namespace SystemHelperDetail {
constexpr std::size_t kDebugTraceLength = 4096;
}

// Writes one formatted line to the debug output while the switch is on; the
// text is cut to 4096 characters.
template <typename... Args>
void DebugTrace(const wchar_t* format, const Args&... args)
{
    if (!IsDebugTraceEnabled() || !format)
        return;
    wchar_t buffer[SystemHelperDetail::kDebugTraceLength] = {};
    _snwprintf_s(buffer, _TRUNCATE, format, args...);
    OutputDebugStringW(buffer);
}
