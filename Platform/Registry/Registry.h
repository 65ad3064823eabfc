#pragma once
// The registry functions the system calls, with the platform's semantics and
// error codes, on top of the file-backed hive stores. Sizes of data are in
// bytes; string data of the wide functions are arrays of wchar_t, so a text of
// n characters with its NUL takes (n + 1) * sizeof(wchar_t) bytes.

#include "Platform/Base/Types.h"
#include "Platform/Registry/RegistryTypes.h"

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM desired,
    const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Fails with ERROR_ACCESS_DENIED for a key that still has sub-keys.
LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
    LPDWORD classLength, PFILETIME lastWriteTime);
LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
    LPDWORD type, LPBYTE data, LPDWORD dataSize);
LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
    LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
    LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime);

// Text is wide throughout, so the plain names are the wide functions.
inline LSTATUS RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result)
{
    return RegOpenKeyExW(key, subKey, options, desired, result);
}
inline LSTATUS RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
    REGSAM desired, const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition)
{
    return RegCreateKeyExW(key, subKey, reserved, keyClass, options, desired, security, result, disposition);
}
inline LSTATUS RegQueryValueEx(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
    LPDWORD dataSize)
{
    return RegQueryValueExW(key, valueName, reserved, type, data, dataSize);
}
inline LSTATUS RegSetValueEx(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
    DWORD dataSize)
{
    return RegSetValueExW(key, valueName, reserved, type, data, dataSize);
}
inline LSTATUS RegDeleteValue(HKEY key, LPCWSTR valueName)
{
    return RegDeleteValueW(key, valueName);
}
inline LSTATUS RegDeleteKey(HKEY key, LPCWSTR subKey)
{
    return RegDeleteKeyW(key, subKey);
}
inline LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
    LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime)
{
    return RegEnumKeyExW(key, index, name, nameLength, reserved, keyClass, classLength, lastWriteTime);
}
inline LSTATUS RegEnumValue(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
    LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    return RegEnumValueW(key, index, valueName, valueNameLength, reserved, type, data, dataSize);
}
inline LSTATUS RegQueryInfoKey(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
    LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
    LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime)
{
    return RegQueryInfoKeyW(key, keyClass, classLength, reserved, subKeys, maxSubKeyLength, maxClassLength, values,
        maxValueNameLength, maxValueLength, securityDescriptorSize, lastWriteTime);
}
