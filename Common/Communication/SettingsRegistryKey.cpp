#include "Common/Communication/SettingsRegistryKey.h"

namespace ZELL {

CSettingsRegistryKey::CSettingsRegistryKey(const std::wstring& path, const std::wstring& element)
    : m_element(element)
{
    // The empty path would select the library's default key; a settings
    // object without a storage location must not write there.
    m_valid = !path.empty() && m_registry.SetPath(path);
}

void CSettingsRegistryKey::ReadString(const wchar_t* name, std::wstring& value) const
{
    if (m_valid)
        value = m_registry.GetStringValue(m_element, name, value);
}

void CSettingsRegistryKey::ReadDword(const wchar_t* name, std::uint32_t& value) const
{
    if (m_valid)
        value = m_registry.GetDWordValue(m_element, name, value);
}

void CSettingsRegistryKey::ReadBool(const wchar_t* name, bool& value) const
{
    if (m_valid)
        value = m_registry.GetDWordValue(m_element, name, value ? 1u : 0u) != 0;
}

bool CSettingsRegistryKey::WriteString(const wchar_t* name, const std::wstring& value) const
{
    return m_valid && m_registry.SetStringValue(m_element, name, value);
}

bool CSettingsRegistryKey::WriteDword(const wchar_t* name, std::uint32_t value) const
{
    return m_valid && m_registry.SetDWordValue(m_element, name, value);
}

}
