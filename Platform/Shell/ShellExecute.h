#pragma once
// Opening documents, folders and links in the desktop's programs, and
// starting programs. Documents and links go to `xdg-open`, which gets the
// one path or link as its one argument; a program file (an ELF binary or a
// script with "#!") is started itself with the parameters split by the
// platform's quoting rules. Nothing ever passes through a shell.
//
// A failure is said in a message box over the caller's window when one is
// given (not with SEE_MASK_FLAG_NO_UI); the code is returned either way. The
// show command is passed on to nobody: the desktop's
// program places its own window.

#include "Platform/Base/Types.h"

#include <string>

// Results at or below 32 of ShellExecute (and of SHELLEXECUTEINFOW::hInstApp).
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_SHARE = 26;
constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
constexpr int SE_ERR_DDETIMEOUT = 28;
constexpr int SE_ERR_DDEFAIL = 29;
constexpr int SE_ERR_DDEBUSY = 30;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int SE_ERR_DLLNOTFOUND = 32;

constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

constexpr ULONG SEE_MASK_DEFAULT = 0x00000000;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFOW {
    DWORD cbSize = sizeof(SHELLEXECUTEINFOW);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;
    LPCWSTR lpFile = nullptr;
    LPCWSTR lpParameters = nullptr;
    LPCWSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;  // out: the ShellExecute result
    void* lpIDList = nullptr;
    LPCWSTR lpClass = nullptr;
    HKEY hkeyClass = nullptr;
    DWORD dwHotKey = 0;
    union {
        HANDLE hIcon = nullptr;
        HANDLE hMonitor;
    };
    HANDLE hProcess = nullptr;  // out with SEE_MASK_NOCLOSEPROCESS; the caller closes it
};
using SHELLEXECUTEINFO = SHELLEXECUTEINFOW;
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;

// The verbs are "open" and the default (null or empty), which is "open";
// another gives SE_ERR_NOASSOC. A result above 32 is success. `xdg-open` is
// waited for a few seconds so that its failure can be reported; one that is
// still busy then counts as started.
HINSTANCE ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show);
// FALSE with the last error (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_NO_ASSOCIATION, ERROR_ACCESS_DENIED, ERROR_BAD_FORMAT ...) on failure.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
// The narrow form takes UTF-8.
HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show);
inline HINSTANCE ShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show)
{
    return ShellExecuteW(window, verb, file, parameters, directory, show);
}
inline BOOL ShellExecuteEx(SHELLEXECUTEINFOW* info) { return ShellExecuteExW(info); }

// Starts the program of a UTF-8 command line (split by the platform's rules)
// without waiting for it. Above 31 on success; 0, ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED or ERROR_BAD_FORMAT otherwise.
UINT WinExec(LPCSTR commandLine, UINT show);

namespace ZELL::Shell {

// A file the system can run itself (an ELF binary or a script with "#!"),
// rather than a document that happens to carry an execute bit, as everything
// on some removable media does.
bool IsProgramFile(const std::wstring& path);

}  // namespace ZELL::Shell
