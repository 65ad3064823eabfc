#pragma once
// The private-profile functions that read initialisation files, with the
// platform's return values: a text is cut to fit the buffer (result
// size - 1), a double-NUL-terminated list is cut with its last name
// (result size - 2), a missing key gives the default.

#include "Platform/Base/Types.h"

// A null section lists the section names, a null key the section's keys.
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
    LPCWSTR fileName);
// The leading decimal number of the value (a sign allowed, "12abc" gives 12);
// the default when the key is missing or empty; 0 when no digit leads.
UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName);
DWORD GetPrivateProfileSectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR fileName);
// The "key=value" lines of a section as a double-NUL-terminated list.
DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR fileName);

inline DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
    LPCWSTR fileName)
{
    return GetPrivateProfileStringW(section, key, defaultValue, buffer, size, fileName);
}
inline UINT GetPrivateProfileInt(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName)
{
    return GetPrivateProfileIntW(section, key, defaultValue, fileName);
}
inline DWORD GetPrivateProfileSectionNames(LPWSTR buffer, DWORD size, LPCWSTR fileName)
{
    return GetPrivateProfileSectionNamesW(buffer, size, fileName);
}
inline DWORD GetPrivateProfileSection(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR fileName)
{
    return GetPrivateProfileSectionW(section, buffer, size, fileName);
}
