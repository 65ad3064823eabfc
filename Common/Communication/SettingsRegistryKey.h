#pragma once
// The registry key below which a settings element keeps its values: the
// element's sub-key of a full path that starts with the hive name. Reads
// fall back to the current value; writes say whether they worked, so that a
// failed save is not reported as success.

#include "Common/SystemHelper/System/RegistryEx.h"

#include <cstdint>
#include <string>

namespace ZELL {

class CSettingsRegistryKey {
public:
    // path is "HKEY_CURRENT_USER\Software\...", element the sub-key below it.
    CSettingsRegistryKey(const std::wstring& path, const std::wstring& element);

    // False when the path names no hive; nothing is read or written then.
    bool IsValid() const { return m_valid; }

    // A missing value (or one of another type) leaves the target as it is.
    void ReadString(const wchar_t* name, std::wstring& value) const;
    void ReadDword(const wchar_t* name, std::uint32_t& value) const;
    void ReadBool(const wchar_t* name, bool& value) const;
    template <typename Small>
    void ReadNarrow(const wchar_t* name, Small& value) const
    {
        std::uint32_t wide = static_cast<std::uint32_t>(value);
        ReadDword(name, wide);
        value = static_cast<Small>(wide);
    }

    bool WriteString(const wchar_t* name, const std::wstring& value) const;
    bool WriteDword(const wchar_t* name, std::uint32_t value) const;
    bool WriteBool(const wchar_t* name, bool value) const { return WriteDword(name, value ? 1u : 0u); }

private:
    wutils::CRegistryEx m_registry;
    std::wstring m_element;
    bool m_valid = false;
};

}
