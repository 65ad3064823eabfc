#pragma once
// The system's well-known folders on the desktop's folders: the user folders
// of $XDG_CONFIG_HOME/user-dirs.dirs (desktop, documents), the XDG base
// folders (application data is $XDG_CONFIG_HOME, local application data
// $XDG_DATA_HOME, common application data the first of $XDG_CONFIG_DIRS),
// the installation prefix for the programs (the folder above the program's
// "bin" folder), /usr for the system root, /usr/lib for the system folder
// and /usr/share/fonts for the fonts. Paths have no trailing "/" and keep
// their case.

#include "Platform/Base/Types.h"

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_MYDOCUMENTS = CSIDL_PERSONAL;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_APPDATA = 0x001a;
constexpr int CSIDL_LOCAL_APPDATA = 0x001c;
constexpr int CSIDL_COMMON_APPDATA = 0x0023;
constexpr int CSIDL_WINDOWS = 0x0024;
constexpr int CSIDL_SYSTEM = 0x0025;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
constexpr int CSIDL_PROFILE = 0x0028;
constexpr int CSIDL_FLAG_CREATE = 0x8000;
constexpr int CSIDL_FLAG_DONT_VERIFY = 0x4000;
constexpr int CSIDL_FLAG_MASK = 0xFF00;

constexpr DWORD SHGFP_TYPE_CURRENT = 0;
constexpr DWORD SHGFP_TYPE_DEFAULT = 1;

// `path` takes MAX_PATH characters. S_OK; E_INVALIDARG for an unknown folder
// or a null buffer; E_FAIL when the folder does not exist (and could not be
// made with CSIDL_FLAG_CREATE) or its path does not fit. `path` is empty on
// failure. Missing folders on the way are made too.
HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
// `create` does what CSIDL_FLAG_CREATE does.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int folder, BOOL create);
inline HRESULT SHGetFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path)
{
    return SHGetFolderPathW(owner, folder, token, flags, path);
}
inline BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create)
{
    return SHGetSpecialFolderPathW(owner, path, folder, create);
}
