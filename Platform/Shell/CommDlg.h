#pragma once
// The file dialogs as programs call them: GetOpenFileName and GetSaveFileName
// with an OPENFILENAMEW record, and CommDlgExtendedError for why the last one
// of the thread returned FALSE (0 after a cancel).

#include "Platform/Shell/CommonDialogError.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;
constexpr DWORD OFN_DONTADDTORECENT = 0x02000000;
constexpr DWORD OFN_FORCESHOWHIDDEN = 0x10000000;


using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize = sizeof(OPENFILENAMEW);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    // Pairs of description and pattern list ("*.txt;*.log"), each ended by
    // a null, the whole list by a second null.
    LPCWSTR lpstrFilter = nullptr;
    LPWSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;  // 1-based; 0 takes the first pair
    LPWSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPWSTR lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    LPCWSTR lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    LPCWSTR lpTemplateName = nullptr;
    void* pvReserved = nullptr;
    DWORD dwReserved = 0;
    DWORD FlagsEx = 0;
};
using OPENFILENAME = OPENFILENAMEW;
using LPOPENFILENAMEW = OPENFILENAMEW*;
using LPOPENFILENAME = OPENFILENAMEW*;

// TRUE when the user chose a file: its full path is in lpstrFile (with
// nFileOffset and nFileExtension set), its name in lpstrFileTitle when given,
// nFilterIndex names the file type shown last, and without OFN_HIDEREADONLY
// OFN_READONLY tells whether "Open as read-only" was checked. FALSE on cancel or
// failure; CommDlgExtendedError tells which. When lpstrFile is too small,
// FNERR_BUFFERTOOSMALL, and its first two characters' room holds the size
// needed (in characters) when there is room for it.
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);
#define GetOpenFileName GetOpenFileNameW
#define GetSaveFileName GetSaveFileNameW
