#include "Common/SystemHelper/System/RegistryEx.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace wutils {

namespace {

struct HiveName {
    const wchar_t* longName;
    const wchar_t* shortName;
    HKEY root;
};

const HiveName* FindHive(const std::wstring& name)
{
    static const HiveName kHives[] = {
        {L"HKEY_CLASSES_ROOT", L"HKCR", HKEY_CLASSES_ROOT},
        {L"HKEY_CURRENT_CONFIG", L"HKCC", HKEY_CURRENT_CONFIG},
        {L"HKEY_CURRENT_USER", L"HKCU", HKEY_CURRENT_USER},
        {L"HKEY_LOCAL_MACHINE", L"HKLM", HKEY_LOCAL_MACHINE},
        {L"HKEY_USERS", L"HKU", HKEY_USERS},
    };
    for (const HiveName& hive : kHives) {
        if (CompareNoCase(name, hive.longName) == 0 || CompareNoCase(name, hive.shortName) == 0)
            return &hive;
    }
    return nullptr;
}

std::wstring StripSeparators(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L'\\');
    if (first == std::wstring::npos)
        return std::wstring();
    const std::size_t last = text.find_last_not_of(L'\\');
    return text.substr(first, last - first + 1);
}

// Closes the key on every way out.
class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Key trees of the store are finite, but a bound keeps a damaged one from
// recursing without end.
constexpr int kMaxDeleteDepth = 512;

}

CRegistryEx::CRegistryEx(const std::wstring& path)
{
    SetPath(path);
}

void CRegistryEx::TraceError(const wchar_t* errorLine)
{
    std::wstring banner = L"\n*************************** ERROR ***************************\n";
    banner += L"  Class:\t\tCRegistryEx\n";
    banner += L"  Function:\tSetPath( )\n";
    banner += errorLine;
    banner += L"*************************************************************\n\n";
    DebugTrace(L"%s", banner);
}

bool CRegistryEx::SetPath(const std::wstring& path)
{
    if (path.empty()) {
        m_hive = HKEY_CURRENT_USER;
        m_keyPath = L"Software\\Zell Software";
        std::wstring banner = L"\n*************************** INFO ****************************\n";
        banner += L"  Class:\t\tCRegistryEx\n";
        banner += L"  Function:\tSetPath( )\n";
        banner += L"  Message:\tEmpty path parameter: \n";
        banner += L"  -> handle for the hive will be set to HKEY_CURRENT_USER and \n";
        banner += L"  -> path to the sub key will be set to \"Software\\Zell software\". \n";
        banner += L"*************************************************************\n\n";
        DebugTrace(L"%s", banner);
        return false;
    }

    std::vector<std::wstring> parts;
    if (SplitString(path, L"\\", parts) == 0) {
        TraceError(L"  Error:\tFaild to split path parameter\n");
        return false;
    }
    const HiveName* hive = FindHive(parts.front());
    if (!hive) {
        TraceError(L"  Error:\tInvalid registry hive\n");
        return false;
    }
    // Only the leading hive name goes: a later key part that happens to end in
    // the hive's name stays as it is.
    const std::size_t hiveStart = path.find(parts.front());
    m_hive = hive->root;
    m_keyPath = StripSeparators(path.substr(hiveStart + parts.front().size()));
    return true;
}

std::wstring CRegistryEx::FullKey(const std::wstring& subKey) const
{
    const std::wstring sub = StripSeparators(subKey);
    if (m_keyPath.empty())
        return sub;
    if (sub.empty())
        return m_keyPath;
    return m_keyPath + L"\\" + sub;
}

DWORD CRegistryEx::GetDWordValue(const std::wstring& subKey, const std::wstring& valueName, DWORD defaultValue) const
{
    OpenKey key;
    if (RegOpenKeyExW(m_hive, FullKey(subKey).c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        return defaultValue;
    DWORD value = 0;
    size = sizeof(value);
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)
            != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return value;
}

DWORD CRegistryEx::GetDWordValueOr(const std::wstring& subKey, const std::wstring& valueName, WORD defaultValue) const
{
    return GetDWordValue(subKey, valueName, static_cast<DWORD>(defaultValue));
}

std::wstring CRegistryEx::GetStringValue(const std::wstring& subKey, const std::wstring& valueName,
    const std::wstring& defaultValue) const
{
    OpenKey key;
    if (RegOpenKeyExW(m_hive, FullKey(subKey).c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || type != REG_SZ)
        return defaultValue;
    // Sized by the value itself, with room for a terminator the data may lack:
    // a text that fills the buffer exactly still ends where the data ends.
    constexpr DWORD kMinimumBuffer = 2048;
    std::vector<wchar_t> buffer(std::max(size, kMinimumBuffer) / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
            &capacity)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return defaultValue;
    std::size_t length = std::min<std::size_t>(capacity / sizeof(wchar_t), buffer.size() - 1);
    std::wstring text(buffer.data(), length);
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

bool CRegistryEx::SetDWordValue(const std::wstring& subKey, const std::wstring& valueName, DWORD value) const
{
    OpenKey key;
    if (RegCreateKeyExW(m_hive, FullKey(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
            key.Out(), nullptr)
        != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
               sizeof(value))
        == ERROR_SUCCESS;
}

bool CRegistryEx::SetStringValue(const std::wstring& subKey, const std::wstring& valueName,
    const std::wstring& value) const
{
    const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    if (bytes > 0xFFFFFFFFu)
        return false;
    OpenKey key;
    if (RegCreateKeyExW(m_hive, FullKey(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
            key.Out(), nullptr)
        != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>(bytes))
        == ERROR_SUCCESS;
}

bool CRegistryEx::DeleteKey(const std::wstring& subKey) const
{
    const std::wstring key = FullKey(subKey);
    // A cut key text would name a different, shorter key: refuse it instead.
    if (key.size() > kMaxDeletePathLength)
        return false;
    // The hive itself is never deleted wholesale through an empty key text.
    if (key.empty())
        return false;
    return DeleteTree(key, 0);
}

bool CRegistryEx::DeleteTree(const std::wstring& key, int depth) const
{
    if (RegDeleteKeyW(m_hive, key.c_str()) == ERROR_SUCCESS)
        return true;
    if (depth >= kMaxDeleteDepth)
        return false;

    OpenKey open;
    const LSTATUS status = RegOpenKeyExW(m_hive, key.c_str(), 0, KEY_READ, open.Out());
    if (status == ERROR_FILE_NOT_FOUND) {
        std::fputs("Key not found.\n", stdout);
        std::fflush(stdout);
        return true;
    }
    if (status != ERROR_SUCCESS) {
        std::fputs("Error opening key.\n", stdout);
        std::fflush(stdout);
        return false;
    }

    DWORD subKeys = 0;
    if (RegQueryInfoKeyW(open.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr)
        != ERROR_SUCCESS)
        subKeys = 0;
    // Each round removes sub-key 0, so the initial count (plus one for a key
    // added meanwhile) bounds the loop even if a delete keeps reporting success.
    const std::wstring prefix = key + L"\\";
    for (DWORD round = 0; round <= subKeys; ++round) {
        wchar_t name[260] = {};
        DWORD nameLength = 260;
        if (RegEnumKeyExW(open.Get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteTree(prefix + std::wstring(name, std::min<DWORD>(nameLength, 259)), depth + 1))
            break;
    }
    RegCloseKey(*open.Out());
    *open.Out() = nullptr;
    return RegDeleteKeyW(m_hive, key.c_str()) == ERROR_SUCCESS;
}

}
