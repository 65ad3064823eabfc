#pragma once
// Reads the records of a binary text file: a 32-bit header, then records of
// a 32-bit length and that many UTF-16 code units plus a zero, once for the
// key and once for the text, all little-endian. Reading stops at the first
// record that does not fit in the bytes; what was read before is kept.

#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

struct CLanguageSupportBinaryFile {
    bool hasHeader = false;
    DWORD header = 0;
    std::vector<std::pair<std::wstring, std::wstring>> records;
    // Where and why reading stopped early; empty when the records reached
    // the end exactly.
    std::wstring stopReason;

    static CLanguageSupportBinaryFile Parse(const BYTE* bytes, std::size_t size);
};
