#pragma once
// Conversions between wide text (the one text type in memory) and the byte
// encodings that files and wire formats name. Narrow text is UTF-8 unless a
// format says otherwise.

#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Text {

// Malformed UTF-8 becomes U+FFFD, so nothing read from outside is lost silently.
std::wstring Utf8ToWide(std::string_view utf8);

// Where strict decoding stopped.
struct CUtf8Error {
    std::size_t offset = 0; // the byte that starts the bad sequence
    bool cutShort = false;  // the text ends before the sequence does
};

// For text whose damage must be reported rather than patched: a malformed,
// overlong, surrogate or out-of-range sequence fails. On failure `wide` holds
// the text before the bad sequence.
bool TryUtf8ToWide(std::string_view utf8, std::wstring& wide, CUtf8Error* error = nullptr);
std::string WideToUtf8(std::wstring_view wide);

std::wstring Utf16ToWide(std::u16string_view utf16);
std::u16string WideToUtf16(std::wstring_view wide);

// UTF-16 little-endian bytes, as records and wire strings carry them. An odd
// trailing byte is dropped.
std::wstring Utf16LeToWide(const BYTE* bytes, std::size_t byteCount);
std::vector<BYTE> WideToUtf16Le(std::wstring_view wide);

std::wstring Latin1ToWide(std::string_view latin1);
// Characters outside ISO-8859-1 become '?'; `replaced` tells whether any did.
std::string WideToLatin1(std::wstring_view wide, bool* replaced = nullptr);

}
