#pragma once
// The folder browser as programs call it: SHBrowseForFolder with a
// BROWSEINFOW record gives the chosen folder as an item-id list (null on
// cancel), SHGetPathFromIDList turns it into a path, and the caller frees it
// with CoTaskMemFree or ILFree.

#include "Platform/Shell/ItemIdList.h"
#include "Platform/Ui/WindowMessages.h"

constexpr UINT BIF_RETURNONLYFSDIRS = 0x00000001;
constexpr UINT BIF_DONTGOBELOWDOMAIN = 0x00000002;
constexpr UINT BIF_STATUSTEXT = 0x00000004;
constexpr UINT BIF_RETURNFSANCESTORS = 0x00000008;
constexpr UINT BIF_EDITBOX = 0x00000010;
constexpr UINT BIF_VALIDATE = 0x00000020;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x00000040;
constexpr UINT BIF_USENEWUI = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
constexpr UINT BIF_NONEWFOLDERBUTTON = 0x00000200;

// What the browser tells its callback.
constexpr UINT BFFM_INITIALIZED = 1;
constexpr UINT BFFM_SELCHANGED = 2;
// What the callback may send to the browser's window.
constexpr UINT BFFM_ENABLEOK = WM_USER + 101;
constexpr UINT BFFM_SETSELECTIONW = WM_USER + 103;  // wParam TRUE: lParam a path, FALSE: an item-id list
constexpr UINT BFFM_SETSTATUSTEXTW = WM_USER + 104;
constexpr UINT BFFM_SETOKTEXT = WM_USER + 105;
constexpr UINT BFFM_SETSELECTION = BFFM_SETSELECTIONW;
constexpr UINT BFFM_SETSTATUSTEXT = BFFM_SETSTATUSTEXTW;

using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM lParam, LPARAM data);

struct BROWSEINFOW {
    HWND hwndOwner = nullptr;
    PCIDLIST_ABSOLUTE pidlRoot = nullptr;  // the browser always starts at the file system's root
    LPWSTR pszDisplayName = nullptr;       // MAX_PATH characters: the chosen folder's name
    LPCWSTR lpszTitle = nullptr;
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0;
};
using BROWSEINFO = BROWSEINFOW;
using LPBROWSEINFOW = BROWSEINFOW*;
using LPBROWSEINFO = BROWSEINFOW*;

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
// `path` takes MAX_PATH characters; FALSE (and `path` empty) for a list that
// names no folder or a path that does not fit.
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
#define SHBrowseForFolder SHBrowseForFolderW
#define SHGetPathFromIDList SHGetPathFromIDListW
