#pragma once
// One key of a hive held in memory: its values in the order they were first
// written, and its sub-keys ordered by their folded names (the order the
// platform enumerates them in).

#include "Platform/Base/Types.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Registry {

struct CRegistryValue {
    std::wstring name;
    DWORD type = 0;
    // The bytes as the wide registry functions hand them out; string types
    // are arrays of wchar_t that end in a NUL.
    std::vector<BYTE> data;

    friend bool operator==(const CRegistryValue&, const CRegistryValue&) = default;
};

class CRegistryKey {
public:
    CRegistryKey() = default;
    explicit CRegistryKey(std::wstring name) : m_name(std::move(name)) {}
    CRegistryKey(const CRegistryKey& other);
    CRegistryKey& operator=(const CRegistryKey& other);

    const std::wstring& Name() const { return m_name; }

    CRegistryKey* FindSubKey(std::wstring_view name);
    const CRegistryKey* FindSubKey(std::wstring_view name) const;
    // Returns the existing key of that name, or a new one; `created` tells which.
    CRegistryKey& CreateSubKey(std::wstring_view name, bool& created);
    bool RemoveSubKey(std::wstring_view name);
    std::size_t SubKeyCount() const { return m_subKeys.size(); }
    const CRegistryKey* SubKeyAt(std::size_t index) const;
    template <typename Fn>
    void ForEachSubKey(Fn&& fn) const
    {
        for (const auto& [folded, key] : m_subKeys)
            fn(*key);
    }

    const CRegistryValue* FindValue(std::wstring_view name) const;
    // Replaces the data and type of a value of that name (keeping its place
    // and the case of its first writing) or appends a new one.
    void SetValue(CRegistryValue value);
    bool RemoveValue(std::wstring_view name);
    const std::vector<CRegistryValue>& Values() const { return m_values; }

    bool operator==(const CRegistryKey& other) const;

private:
    std::wstring m_name;
    std::vector<CRegistryValue> m_values;
    std::map<std::wstring, std::unique_ptr<CRegistryKey>> m_subKeys;
};

}
