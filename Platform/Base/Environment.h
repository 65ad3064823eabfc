#pragma once
// The process environment, the temporary folder and the current folder.
//
// The buffer rules are the platform's: the result is the length without the
// terminator when the text fits; when it does not, nothing is copied and the
// result is the size needed including the terminator. Names are
// case-sensitive here. Calls through these functions are serialised among
// themselves; code that calls setenv behind their back is not.

#include "Platform/Base/SystemTime.h"
#include "Platform/Base/Types.h"

// 0 with ERROR_ENVVAR_NOT_FOUND when the variable is not set; 0 with
// ERROR_SUCCESS when it is set and empty.
DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);
// A null value removes the variable.
BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value);
inline DWORD GetEnvironmentVariable(LPCWSTR name, LPWSTR buffer, DWORD size)
{
    return GetEnvironmentVariableW(name, buffer, size);
}
inline BOOL SetEnvironmentVariable(LPCWSTR name, LPCWSTR value)
{
    return SetEnvironmentVariableW(name, value);
}

// The run-time library's copy of a variable, made with malloc (the caller
// frees it with free); null and 0 when the variable is not set.
errno_t _dupenv_s(char** value, std::size_t* length, const char* name);
errno_t _wdupenv_s(wchar_t** value, std::size_t* length, const wchar_t* name);

// $TMPDIR, else /tmp, always with a trailing "/".
DWORD GetTempPathW(DWORD size, LPWSTR buffer);
inline DWORD GetTempPath(DWORD size, LPWSTR buffer)
{
    return GetTempPathW(size, buffer);
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
inline DWORD GetCurrentDirectory(DWORD size, LPWSTR buffer)
{
    return GetCurrentDirectoryW(size, buffer);
}
