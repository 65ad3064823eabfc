#pragma once
// The basic types of the platform, with the widths the device formats and the
// range checks rely on: LONG and DWORD are 32 bits whatever `long` is here.

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using UINT = unsigned int;
using BOOL = int;
using BOOLEAN = BYTE;
using CHAR = char;
using UCHAR = unsigned char;
using WCHAR = wchar_t;
using TCHAR = wchar_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using INT64 = std::int64_t;
using UINT64 = std::uint64_t;
using DWORD64 = std::uint64_t;
using FLOAT = float;
using HRESULT = std::int32_t;
using VARIANT_BOOL = std::int16_t;
using LCID = DWORD;
using LANGID = WORD;
using COLORREF = DWORD;
using ATOM = WORD;

// Pointer-sized message arguments.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using SIZE_T = std::size_t;

using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPTSTR = wchar_t*;
using LPCTSTR = const wchar_t*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using PVOID = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define _T(x) L##x
#define TEXT(x) L##x

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error)
{
    return error == 0 ? 0 : static_cast<HRESULT>((error & 0xFFFFu) | 0x80070000u);
}

// Opaque handles: never dereferenced, only looked up in their handle tables.
#define ZELL_DECLARE_HANDLE(name) \
    struct name##__;             \
    using name = name##__*
ZELL_DECLARE_HANDLE(HANDLE);
ZELL_DECLARE_HANDLE(HINSTANCE);
using HMODULE = HINSTANCE;
ZELL_DECLARE_HANDLE(HWND);
ZELL_DECLARE_HANDLE(HDC);
ZELL_DECLARE_HANDLE(HGDIOBJ);
ZELL_DECLARE_HANDLE(HKEY);
ZELL_DECLARE_HANDLE(HMENU);
ZELL_DECLARE_HANDLE(HICON);
ZELL_DECLARE_HANDLE(HMONITOR);
ZELL_DECLARE_HANDLE(HHOOK);
ZELL_DECLARE_HANDLE(HIMAGELIST);
using HCURSOR = HICON;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

constexpr WORD MAKEWORD(BYTE low, BYTE high) { return static_cast<WORD>(low | (static_cast<WORD>(high) << 8)); }
constexpr LONG MAKELONG(WORD low, WORD high) { return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16)); }
constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(std::uintptr_t value) { return static_cast<BYTE>(value & 0xFF); }
constexpr BYTE HIBYTE(std::uintptr_t value) { return static_cast<BYTE>((value >> 8) & 0xFF); }

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r | (static_cast<DWORD>(g) << 8) | (static_cast<DWORD>(b) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPPOINT = POINT*;

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD MAX_PATH = 260;

// Numbers are written as in the platform's headers so that traces and error
// texts keep their meaning.
inline int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t result = product / denominator;
    const std::int64_t remainder = product % denominator;
    // Rounds half away from zero, like the platform.
    if (2 * (remainder < 0 ? -remainder : remainder) >= (denominator < 0 ? -denominator : denominator))
        result += ((product < 0) != (denominator < 0)) ? -1 : 1;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int>(result);
}
