#pragma once
// String and DWORD values below one registry key, named by a single path text
// "hive\key\path" ("HKEY_LOCAL_MACHINE\Software\X" or "HKLM\Software\X").
// No operation throws: reads fall back to the caller's default, writes report
// false.

#include "Platform/Base/Types.h"
#include "Platform/Registry/RegistryTypes.h"

#include <cstddef>
#include <string>

namespace wutils {

class CRegistryEx {
public:
    // The longest key text (below the hive) that DeleteKey accepts, in characters.
    static constexpr std::size_t kMaxDeletePathLength = 519;

    explicit CRegistryEx(const std::wstring& path = std::wstring());
    virtual ~CRegistryEx() = default;

    // True when hive and key path were taken from the text. The empty text
    // selects HKEY_CURRENT_USER\Software\Zell Software and gives false; an
    // unknown hive gives false and leaves the object as it was.
    bool SetPath(const std::wstring& path);

    DWORD GetDWordValue(const std::wstring& subKey, const std::wstring& valueName, DWORD defaultValue) const;
    DWORD GetDWordValueOr(const std::wstring& subKey, const std::wstring& valueName, WORD defaultValue) const;
    std::wstring GetStringValue(const std::wstring& subKey, const std::wstring& valueName,
        const std::wstring& defaultValue) const;
    bool SetDWordValue(const std::wstring& subKey, const std::wstring& valueName, DWORD value) const;
    bool SetStringValue(const std::wstring& subKey, const std::wstring& valueName, const std::wstring& value) const;
    // True when the key and everything below it is gone afterwards (also when
    // it was never there).
    bool DeleteKey(const std::wstring& subKey) const;

    HKEY GetHive() const { return m_hive; }
    const std::wstring& GetKeyPath() const { return m_keyPath; }

private:
    std::wstring FullKey(const std::wstring& subKey) const;
    bool DeleteTree(const std::wstring& key, int depth) const;
    static void TraceError(const wchar_t* errorLine);

    HKEY m_hive = HKEY_CURRENT_USER;
    std::wstring m_keyPath = L"Software\\Zell Software";
};

}
