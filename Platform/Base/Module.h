#pragma once
// Modules: the executable and the shared libraries, behind HMODULE handles
// of their own table.
//
// - LoadLibraryW takes the absolute UTF-8 path of a shared object; a bare or
//   relative name loads nothing (ERROR_MOD_NOT_FOUND), so that no file planted
//   beside the program or in the current folder runs as code. The name's case
//   is kept. Loading the same
//   library again gives the same HMODULE; each load needs its FreeLibrary,
//   and the last one unloads it and retires the handle. Failure gives null
//   with ERROR_MOD_NOT_FOUND.
// - GetModuleHandleW(nullptr) is the executable. A name finds a library that
//   is loaded already (a bare name beside the executable first, then by the
//   loader's names), without loading it.
//   Handles of modules that were not loaded through LoadLibraryW stay valid
//   for the life of the process and FreeLibrary on them does nothing.
// - GetModuleFileNameW copies the module's full path. When it does not fit,
//   the path is cut to size - 1 characters, terminated, the result is size
//   and the last error ERROR_INSUFFICIENT_BUFFER.

#include "Platform/Base/Types.h"

// Callers cast it to the function's real type; void (*)() is the type the
// compiler accepts such casts from without a warning.
using FARPROC = void (*)();

constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
constexpr DWORD LOAD_WITH_ALTERED_SEARCH_PATH = 0x00000008;

HMODULE LoadLibraryW(LPCWSTR fileName);
HMODULE LoadLibraryA(LPCSTR fileName);
// The flags are accepted and not applied: every library is loaded as code.
HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE reserved, DWORD flags);
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE reserved, DWORD flags);
inline HMODULE LoadLibrary(LPCWSTR fileName)
{
    return LoadLibraryW(fileName);
}

BOOL FreeLibrary(HMODULE module);
// Null with ERROR_PROC_NOT_FOUND when the library has no such symbol, and
// with ERROR_MOD_NOT_FOUND for a handle that is not a loaded module.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

HMODULE GetModuleHandleW(LPCWSTR moduleName);
inline HMODULE GetModuleHandle(LPCWSTR moduleName)
{
    return GetModuleHandleW(moduleName);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
inline DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size)
{
    return GetModuleFileNameW(module, fileName, size);
}

namespace Platform {

// The module that holds the given code or data address (a function of a
// library, for "beside the library" look-ups); null with ERROR_MOD_NOT_FOUND
// when no module maps it.
HMODULE GetModuleOfAddress(const void* address);

}
