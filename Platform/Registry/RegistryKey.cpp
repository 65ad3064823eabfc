#include "Platform/Registry/RegistryKey.h"

#include "Platform/Registry/RegistryNames.h"

#include <iterator>

namespace Registry {

CRegistryKey::CRegistryKey(const CRegistryKey& other) : m_name(other.m_name), m_values(other.m_values)
{
    for (const auto& [folded, key] : other.m_subKeys)
        m_subKeys.emplace(folded, std::make_unique<CRegistryKey>(*key));
}

CRegistryKey& CRegistryKey::operator=(const CRegistryKey& other)
{
    if (this != &other) {
        CRegistryKey copy(other);
        m_name = std::move(copy.m_name);
        m_values = std::move(copy.m_values);
        m_subKeys = std::move(copy.m_subKeys);
    }
    return *this;
}

CRegistryKey* CRegistryKey::FindSubKey(std::wstring_view name)
{
    const auto it = m_subKeys.find(FoldName(name));
    return it == m_subKeys.end() ? nullptr : it->second.get();
}

const CRegistryKey* CRegistryKey::FindSubKey(std::wstring_view name) const
{
    const auto it = m_subKeys.find(FoldName(name));
    return it == m_subKeys.end() ? nullptr : it->second.get();
}

CRegistryKey& CRegistryKey::CreateSubKey(std::wstring_view name, bool& created)
{
    auto folded = FoldName(name);
    const auto it = m_subKeys.find(folded);
    if (it != m_subKeys.end()) {
        created = false;
        return *it->second;
    }
    created = true;
    auto& slot = m_subKeys[std::move(folded)];
    slot = std::make_unique<CRegistryKey>(std::wstring(name));
    return *slot;
}

bool CRegistryKey::RemoveSubKey(std::wstring_view name)
{
    return m_subKeys.erase(FoldName(name)) > 0;
}

const CRegistryKey* CRegistryKey::SubKeyAt(std::size_t index) const
{
    if (index >= m_subKeys.size())
        return nullptr;
    auto it = m_subKeys.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(index));
    return it->second.get();
}

const CRegistryValue* CRegistryKey::FindValue(std::wstring_view name) const
{
    for (const auto& value : m_values) {
        if (NamesEqual(value.name, name))
            return &value;
    }
    return nullptr;
}

void CRegistryKey::SetValue(CRegistryValue value)
{
    for (auto& existing : m_values) {
        if (NamesEqual(existing.name, value.name)) {
            existing.type = value.type;
            existing.data = std::move(value.data);
            return;
        }
    }
    m_values.push_back(std::move(value));
}

bool CRegistryKey::RemoveValue(std::wstring_view name)
{
    for (auto it = m_values.begin(); it != m_values.end(); ++it) {
        if (NamesEqual(it->name, name)) {
            m_values.erase(it);
            return true;
        }
    }
    return false;
}

bool CRegistryKey::operator==(const CRegistryKey& other) const
{
    if (m_name != other.m_name || m_values != other.m_values || m_subKeys.size() != other.m_subKeys.size())
        return false;
    auto a = m_subKeys.begin();
    auto b = other.m_subKeys.begin();
    for (; a != m_subKeys.end(); ++a, ++b) {
        if (a->first != b->first || !(*a->second == *b->second))
            return false;
    }
    return true;
}

}
