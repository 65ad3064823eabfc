#include "Platform/Registry/ProfileStore.h"

#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"

#include <cstring>

namespace Registry {
namespace {

class CKeyCloser {
public:
    explicit CKeyCloser(HKEY key) : m_key(key) {}
    ~CKeyCloser()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CKeyCloser(const CKeyCloser&) = delete;
    CKeyCloser& operator=(const CKeyCloser&) = delete;

private:
    HKEY m_key = nullptr;
};

// Deeper than any key can nest, so a recursion never runs away.
constexpr int kMaxTreeDepth = 520;

bool DeleteTree(HKEY parent, const std::wstring& subKey, int depth)
{
    const LSTATUS first = RegDeleteKeyW(parent, subKey.c_str());
    if (first == ERROR_SUCCESS || first == ERROR_FILE_NOT_FOUND)
        return true;
    if (depth > kMaxTreeDepth)
        return false;
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    {
        CKeyCloser closer(key);
        wchar_t name[kRegistryMaxKeyName + 1] = {};
        for (;;) {
            DWORD length = kRegistryMaxKeyName + 1;
            const LSTATUS rc = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc != ERROR_SUCCESS || !DeleteTree(key, std::wstring(name, length), depth + 1))
                return false;
        }
    }
    return RegDeleteKeyW(parent, subKey.c_str()) == ERROR_SUCCESS;
}

}

bool DeleteKeyTree(HKEY parent, const std::wstring& subKey)
{
    return DeleteTree(parent, subKey, 0);
}

CProfileStore::CProfileStore(std::wstring company, std::wstring application)
    : m_company(std::move(company)), m_application(std::move(application))
{
}

std::wstring CProfileStore::ApplicationKeyPath() const
{
    if (m_company.empty() || m_application.empty())
        return {};
    return L"Software\\" + m_company + L"\\" + m_application;
}

std::wstring CProfileStore::SectionPath(const std::wstring& section) const
{
    const std::wstring application = ApplicationKeyPath();
    if (application.empty() || section.empty())
        return {};
    return application + L"\\" + section;
}

bool CProfileStore::Query(const std::wstring& section, const std::wstring& entry, DWORD& type,
    std::vector<BYTE>& data) const
{
    data.clear();
    const std::wstring path = SectionPath(section);
    if (path.empty())
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    CKeyCloser closer(key);
    // Another process may grow the value between the size query and the
    // read; a few rounds settle it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key, entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.resize(size);
        const LSTATUS rc = RegQueryValueExW(key, entry.c_str(), nullptr, &type, data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA)
            return false;
    }
    return false;
}

bool CProfileStore::Set(const std::wstring& section, const std::wstring& entry, DWORD type, const BYTE* data,
    DWORD size)
{
    const std::wstring path = SectionPath(section);
    if (path.empty())
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
            &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    CKeyCloser closer(key);
    return RegSetValueExW(key, entry.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

std::wstring CProfileStore::GetString(const std::wstring& section, const std::wstring& entry,
    const std::wstring& defaultValue) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!Query(section, entry, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

UINT CProfileStore::GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!Query(section, entry, type, data) || type != REG_DWORD || data.size() != sizeof(DWORD))
        return static_cast<UINT>(defaultValue);
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

bool CProfileStore::GetBinary(const std::wstring& section, const std::wstring& entry,
    std::vector<BYTE>& data) const
{
    DWORD type = 0;
    if (Query(section, entry, type, data) && type == REG_BINARY)
        return true;
    data.clear();
    return false;
}

bool CProfileStore::WriteString(const std::wstring& section, const wchar_t* entry, const wchar_t* value)
{
    const std::wstring path = SectionPath(section);
    if (path.empty())
        return false;
    if (!entry)
        return DeleteKeyTree(HKEY_CURRENT_USER, path);
    if (!value) {
        HKEY key = nullptr;
        const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key);
        if (opened == ERROR_FILE_NOT_FOUND)
            return true;
        if (opened != ERROR_SUCCESS)
            return false;
        CKeyCloser closer(key);
        const LSTATUS rc = RegDeleteValueW(key, entry);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    const auto bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return Set(section, entry, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
}

bool CProfileStore::WriteInt(const std::wstring& section, const std::wstring& entry, int value)
{
    const auto data = static_cast<DWORD>(value);
    return Set(section, entry, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool CProfileStore::WriteBinary(const std::wstring& section, const std::wstring& entry, const BYTE* data, UINT size)
{
    return Set(section, entry, REG_BINARY, data, size);
}

}
