#pragma once
// The application profile: values under the key
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>, read and written the way the application object's
// profile functions do (strings as REG_SZ, integers as REG_DWORD, binary
// blocks as REG_BINARY). A value of another type reads as missing.

#include "Platform/Base/Types.h"

#include <string>
#include <vector>

namespace Registry {

class CProfileStore {
public:
    CProfileStore(std::wstring company, std::wstring application);

    // "Software\<company>\<application>", or empty when either name is empty
    // (no profile can be kept then: reads give the defaults, writes fail).
    std::wstring ApplicationKeyPath() const;

    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
        const std::wstring& defaultValue = {}) const;
    UINT GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const;
    // False (and `data` empty) when the entry is missing or not binary.
    bool GetBinary(const std::wstring& section, const std::wstring& entry, std::vector<BYTE>& data) const;

    // A null entry removes the whole section, a null value removes the entry.
    bool WriteString(const std::wstring& section, const wchar_t* entry, const wchar_t* value);
    bool WriteInt(const std::wstring& section, const std::wstring& entry, int value);
    bool WriteBinary(const std::wstring& section, const std::wstring& entry, const BYTE* data, UINT size);

private:
    std::wstring SectionPath(const std::wstring& section) const;
    bool Query(const std::wstring& section, const std::wstring& entry, DWORD& type, std::vector<BYTE>& data) const;
    bool Set(const std::wstring& section, const std::wstring& entry, DWORD type, const BYTE* data, DWORD size);

    std::wstring m_company;
    std::wstring m_application;
};

// Removes a key with everything below it; true when it is gone afterwards
// (also when it never existed).
bool DeleteKeyTree(HKEY parent, const std::wstring& subKey);

}
