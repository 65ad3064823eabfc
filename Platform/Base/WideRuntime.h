#pragma once
// The runtime's text functions that the system calls by their platform names:
// lengths and bounded copies, case-insensitive compares and the decimal readers.
// Null texts count as empty, never as a fault.

#include "Platform/Base/Types.h"

#include <cstddef>

namespace Text {

// Simple case mapping of one character (Latin, Greek, Cyrillic and the rest of
// Unicode), independent of the process locale.
wchar_t ToLowerChar(wchar_t ch);
wchar_t ToUpperChar(wchar_t ch);

}

int lstrlenW(LPCWSTR text);
int lstrlenA(LPCSTR text);
// Copies at most `maxLength` - 1 characters and always terminates; a length of
// 0 or less writes nothing.
LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength);

// Compare character by character after mapping to lower case; the result has
// the sign of the first difference.
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, std::size_t count);
// Narrow text is UTF-8: two valid UTF-8 texts compare by their characters,
// anything else byte by byte with ASCII letters folded.
int _stricmp(const char* a, const char* b);

// Decimal readers: leading blanks, an optional sign and the digits; what follows
// is ignored, and a value beyond the type's range saturates.
int _wtoi(const wchar_t* text);
LONG _wtol(const wchar_t* text);
INT64 _wtoi64(const wchar_t* text);
