#pragma once
// Resources of a module: typed, named by number or by text, per language,
// held as the bytes of the platform's formats. Every module (the program,
// each shared library) registers its own compiled-in tables (see
// ResourceTable.h) under its own HINSTANCE, so a look-up through one
// module's handle never sees another module's resources.
//
// Language choice of FindResourceW and of the loaders built on it, first
// match wins:
//   1. the thread's UI language (SetThreadUILanguage; en-US until set)
//   2. that language's primary language with SUBLANG_NEUTRAL
//   3. LANG_NEUTRAL (0x0000)
//   4. the neutral user default (0x0400), then the neutral system default (0x0800)
//   5. en-US (0x0409)
//   6. whichever language the resource has with the lowest number
// FindResourceExW with a language takes that language, then its primary
// language with SUBLANG_NEUTRAL, and nothing else; with LANG_NEUTRAL it
// searches as FindResourceW does.
//
// String names compare without regard to case, and "#123" names the id 123.
// A null module is the program. Handles and the bytes behind them stay valid
// while the module is loaded; FreeResource does nothing.
#include "Platform/Base/Types.h"
#include "Platform/Base/WinError.h"

ZELL_DECLARE_HANDLE(HRSRC);
using HGLOBAL = HANDLE;

#define ZELL_RESOURCE_TYPE(n) reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(n))
#define RT_CURSOR ZELL_RESOURCE_TYPE(1)
#define RT_BITMAP ZELL_RESOURCE_TYPE(2)
#define RT_ICON ZELL_RESOURCE_TYPE(3)
#define RT_MENU ZELL_RESOURCE_TYPE(4)
#define RT_DIALOG ZELL_RESOURCE_TYPE(5)
#define RT_STRING ZELL_RESOURCE_TYPE(6)
#define RT_ACCELERATOR ZELL_RESOURCE_TYPE(9)
#define RT_RCDATA ZELL_RESOURCE_TYPE(10)
#define RT_GROUP_CURSOR ZELL_RESOURCE_TYPE(12)
#define RT_GROUP_ICON ZELL_RESOURCE_TYPE(14)
#define RT_VERSION ZELL_RESOURCE_TYPE(16)
#define RT_TOOLBAR ZELL_RESOURCE_TYPE(241)

constexpr DWORD ERROR_RESOURCE_LANG_NOT_FOUND = 1815;

// Languages
constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD LANG_ENGLISH = 0x09;
constexpr WORD LANG_GERMAN = 0x07;
constexpr WORD LANG_FRENCH = 0x0C;
constexpr WORD LANG_ITALIAN = 0x10;
constexpr WORD LANG_SPANISH = 0x0A;
constexpr WORD LANG_JAPANESE = 0x11;
constexpr WORD LANG_CHINESE = 0x04;
constexpr WORD SUBLANG_NEUTRAL = 0x00;
constexpr WORD SUBLANG_DEFAULT = 0x01;
constexpr WORD SUBLANG_SYS_DEFAULT = 0x02;
constexpr WORD SUBLANG_ENGLISH_US = 0x01;
constexpr WORD SUBLANG_ENGLISH_UK = 0x02;
constexpr WORD SUBLANG_GERMAN = 0x01;
constexpr WORD SUBLANG_GERMAN_SWISS = 0x02;
constexpr WORD SUBLANG_GERMAN_AUSTRIAN = 0x03;
constexpr WORD SUBLANG_FRENCH = 0x01;
constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(LANGID language) { return static_cast<WORD>(language & 0x3FF); }
constexpr WORD SUBLANGID(LANGID language) { return static_cast<WORD>(language >> 10); }

// The language the resource loaders of this thread look for first.
LANGID GetThreadUILanguage();
// 0 goes back to the default; gives the language now in force.
LANGID SetThreadUILanguage(LANGID language);

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
#define FindResource FindResourceW
#define FindResourceEx FindResourceExW

// The string `id` of the module's string tables. Copies at most size - 1
// characters and a terminator and gives the number copied; 0 for a missing
// or empty string. With size 0, *(LPWSTR*)buffer gets a read-only pointer to
// the text, which is not terminated, and the result is its length.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
#define LoadString LoadStringW
