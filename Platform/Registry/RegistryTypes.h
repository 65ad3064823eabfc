#pragma once
// Types, value kinds, access rights and predefined root keys of the registry
// functions, with the platform's numbers.

#include "Platform/Base/Types.h"

using REGSAM = DWORD;
using LSTATUS = LONG;
using PHKEY = HKEY*;

// The predefined root keys are sign-extended 32-bit numbers, as on the
// platform; they are opaque constants and never dereferenced.
namespace Registry {
inline HKEY PredefinedKey(LONG value)
{
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(value));
}
}
inline const HKEY HKEY_CLASSES_ROOT = Registry::PredefinedKey(static_cast<LONG>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = Registry::PredefinedKey(static_cast<LONG>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = Registry::PredefinedKey(static_cast<LONG>(0x80000002u));
inline const HKEY HKEY_USERS = Registry::PredefinedKey(static_cast<LONG>(0x80000003u));
inline const HKEY HKEY_CURRENT_CONFIG = Registry::PredefinedKey(static_cast<LONG>(0x80000005u));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;
constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

constexpr DWORD REG_OPTION_RESERVED = 0x00000000;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0x00000000;
constexpr DWORD REG_OPTION_VOLATILE = 0x00000001;

constexpr DWORD REG_CREATED_NEW_KEY = 0x00000001;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x00000002;

constexpr REGSAM DELETE = 0x00010000;
constexpr REGSAM READ_CONTROL = 0x00020000;
constexpr REGSAM SYNCHRONIZE = 0x00100000;
constexpr REGSAM STANDARD_RIGHTS_READ = READ_CONTROL;
constexpr REGSAM STANDARD_RIGHTS_WRITE = READ_CONTROL;
constexpr REGSAM STANDARD_RIGHTS_ALL = 0x001F0000;
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = (STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & ~SYNCHRONIZE;
constexpr REGSAM KEY_WRITE = (STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & ~SYNCHRONIZE;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = (STANDARD_RIGHTS_ALL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY
                                      | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK)
    & ~SYNCHRONIZE;

// Limits of names, in characters without the terminator.
constexpr DWORD kRegistryMaxKeyName = 255;
constexpr DWORD kRegistryMaxValueName = 16383;

struct SECURITY_ATTRIBUTES {
    DWORD nLength = 0;
    LPVOID lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = FALSE;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using PFILETIME = FILETIME*;
