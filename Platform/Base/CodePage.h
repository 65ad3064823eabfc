#pragma once
// Code-page conversions with the platform's calling conventions. The ANSI, OEM
// and thread code pages are UTF-8 here; ISO-8859-1 (28591) and Windows-1252
// are there for the files and devices that name them. Wide counts are in
// wchar_t units. A count of -1 means "up to and including the NUL"; an output
// size of 0 asks for the size needed.

#include "Platform/Base/Types.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_MACCP = 2;
constexpr UINT CP_THREAD_ACP = 3;
constexpr UINT CP_WINDOWS_1252 = 1252;
constexpr UINT CP_ISO_8859_1 = 28591;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_COMPOSITE = 0x00000002;
constexpr DWORD MB_USEGLYPHCHARS = 0x00000004;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

constexpr DWORD WC_COMPOSITECHECK = 0x00000200;
constexpr DWORD WC_DISCARDNS = 0x00000010;
constexpr DWORD WC_SEPCHARS = 0x00000020;
constexpr DWORD WC_DEFAULTCHAR = 0x00000040;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;

// Error codes of these conversions (with the platform's numbers).
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

constexpr UINT MAX_LEADBYTES = 12;
constexpr UINT MAX_DEFAULTCHAR = 2;

struct CPINFO {
    UINT MaxCharSize = 0;
    BYTE DefaultChar[MAX_DEFAULTCHAR] = {};
    BYTE LeadByte[MAX_LEADBYTES] = {};
};
using LPCPINFO = CPINFO*;
using LPBOOL = BOOL*;

// Returns the wide characters written (or needed); 0 on failure with the
// reason in GetLastError: ERROR_INVALID_PARAMETER (null text, bad counts or
// code page), ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER, and, with
// MB_ERR_INVALID_CHARS, ERROR_NO_UNICODE_TRANSLATION for malformed UTF-8
// (which otherwise becomes U+FFFD).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount);

// Returns the bytes written (or needed). Characters that a single-byte code
// page cannot hold become the default character ('?' unless one is given) and
// set *usedDefaultChar; both must be null for UTF-8, as on the platform.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);

BOOL GetCPInfo(UINT codePage, LPCPINFO info);
