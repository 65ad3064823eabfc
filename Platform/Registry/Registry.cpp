#include "Platform/Registry/Registry.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/RegistryStore.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Registry::CRegistryKey;
using Registry::CRegistryStore;
using Registry::CRegistryValue;
using Registry::Hive;

struct COpenKey {
    Hive hive = Hive::CurrentUser;
    std::vector<std::wstring> path;
    REGSAM access = 0;
};

Platform::HandleTable<COpenKey, HKEY>& OpenKeys()
{
    static Platform::HandleTable<COpenKey, HKEY> table(Platform::HandleKind::RegistryKey);
    return table;
}

std::optional<COpenKey> Resolve(HKEY key)
{
    static const struct {
        HKEY handle;
        Hive hive;
    } predefined[] = {
        {HKEY_CLASSES_ROOT, Hive::ClassesRoot},
        {HKEY_CURRENT_USER, Hive::CurrentUser},
        {HKEY_LOCAL_MACHINE, Hive::LocalMachine},
        {HKEY_USERS, Hive::Users},
        {HKEY_CURRENT_CONFIG, Hive::CurrentConfig},
    };
    for (const auto& entry : predefined) {
        if (entry.handle == key)
            return COpenKey{entry.hive, {}, KEY_ALL_ACCESS};
    }
    if (const auto open = OpenKeys().Lookup(key))
        return *open;
    return std::nullopt;
}

// Splits a sub-key text into its names. Empty parts (a trailing or doubled
// backslash) are skipped; a leading backslash is refused as the platform does.
DWORD SplitSubKey(LPCWSTR subKey, std::vector<std::wstring>& names)
{
    names.clear();
    if (!subKey || !*subKey)
        return ERROR_SUCCESS;
    if (*subKey == L'\\')
        return ERROR_BAD_PATHNAME;
    std::wstring current;
    for (const wchar_t* p = subKey;; ++p) {
        if (*p == L'\\' || *p == L'\0') {
            if (!current.empty()) {
                if (current.size() > kRegistryMaxKeyName)
                    return ERROR_INVALID_PARAMETER;
                names.push_back(std::move(current));
                current.clear();
            }
            if (*p == L'\0')
                break;
        } else {
            current += *p;
        }
    }
    return ERROR_SUCCESS;
}

const CRegistryKey* FindKey(const CRegistryKey& root, const std::vector<std::wstring>& path)
{
    const CRegistryKey* key = &root;
    for (const auto& name : path) {
        key = key->FindSubKey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

CRegistryKey* FindKey(CRegistryKey& root, const std::vector<std::wstring>& path)
{
    return const_cast<CRegistryKey*>(FindKey(static_cast<const CRegistryKey&>(root), path));
}

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// String data are kept as whole wide characters that end in a NUL (a list in
// two), so that every reader gets a terminated text whatever the writer passed.
std::vector<BYTE> NormaliseData(DWORD type, const BYTE* data, DWORD size)
{
    std::vector<BYTE> bytes(data, data + size);
    if (!IsStringType(type))
        return bytes;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    if (text.empty() || text.back() != L'\0')
        text += L'\0';
    if (type == REG_MULTI_SZ && text.size() > 1 && text[text.size() - 2] != L'\0')
        text += L'\0';
    bytes.resize(text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

DWORD CopyName(const std::wstring& name, LPWSTR buffer, LPDWORD length)
{
    if (*length <= name.size())
        return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

DWORD CopyData(const CRegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    if (type)
        *type = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (!dataSize)
        return ERROR_SUCCESS;
    if (data) {
        if (*dataSize < size) {
            *dataSize = size;
            return ERROR_MORE_DATA;
        }
        if (size)
            std::memcpy(data, value.data.data(), size);
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

void ClearClass(LPWSTR keyClass, LPDWORD classLength)
{
    if (keyClass && classLength && *classLength > 0)
        keyClass[0] = L'\0';
    if (classLength)
        *classLength = 0;
}

// ERROR_SUCCESS with the key in `open` when the handle is valid and grants `access`.
DWORD ResolveFor(HKEY key, REGSAM access, std::optional<COpenKey>& open)
{
    open = Resolve(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    return (open->access & access) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// The handle and the names of a sub-key text below it.
DWORD ResolveSubKey(HKEY key, LPCWSTR subKey, std::optional<COpenKey>& base, std::vector<std::wstring>& names)
{
    base = Resolve(key);
    if (!base)
        return ERROR_INVALID_HANDLE;
    return SplitSubKey(subKey, names);
}

// Runs `action` on the key an open handle names; another handle may have
// deleted it in the meantime.
template <typename Action>
LSTATUS ReadKey(const COpenKey& open, Action action)
{
    return static_cast<LSTATUS>(CRegistryStore::Of(open.hive).Read([&](const CRegistryKey& root) -> DWORD {
        const CRegistryKey* target = FindKey(root, open.path);
        return target ? action(*target) : ERROR_KEY_DELETED;
    }));
}

template <typename Action>
LSTATUS WriteKey(const COpenKey& open, Action action)
{
    return static_cast<LSTATUS>(
        CRegistryStore::Of(open.hive).Write([&](CRegistryKey& root, bool& changed) -> DWORD {
            CRegistryKey* target = FindKey(root, open.path);
            return target ? action(*target, changed) : ERROR_KEY_DELETED;
        }));
}

// Opening and creating start alike: a place for the handle, the key it is
// relative to and the names below that.
DWORD BeginOpen(HKEY key, LPCWSTR subKey, PHKEY result, std::optional<COpenKey>& base, std::vector<std::wstring>& names)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return ResolveSubKey(key, subKey, base, names);
}

LSTATUS InsertOpenKey(COpenKey&& opened, PHKEY result)
{
    *result = OpenKeys().Insert(std::make_shared<COpenKey>(std::move(opened)));
    return *result ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY;
}

}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result)
{
    std::optional<COpenKey> base;
    std::vector<std::wstring> names;
    if (const DWORD rc = BeginOpen(key, subKey, result, base, names); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    COpenKey opened{base->hive, base->path, desired};
    const LSTATUS rc = ReadKey(*base, [&](const CRegistryKey& parent) -> DWORD {
        const CRegistryKey* target = FindKey(parent, names);
        if (!target)
            return ERROR_FILE_NOT_FOUND;
        const CRegistryKey* walk = &parent;
        for (const auto& name : names) {
            walk = walk->FindSubKey(name);
            opened.path.push_back(walk->Name());
        }
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS)
        return rc;
    return InsertOpenKey(std::move(opened), result);
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM desired,
    const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition)
{
    std::optional<COpenKey> base;
    std::vector<std::wstring> names;
    if (const DWORD rc = BeginOpen(key, subKey, result, base, names); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    COpenKey opened{base->hive, base->path, desired};
    bool createdAny = false;
    const LSTATUS rc = WriteKey(*base, [&](CRegistryKey& parent, bool& changed) -> DWORD {
        CRegistryKey* walk = &parent;
        for (const auto& name : names) {
            bool created = false;
            walk = &walk->CreateSubKey(name, created);
            createdAny = createdAny || created;
            opened.path.push_back(walk->Name());
        }
        changed = createdAny;
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS)
        return rc;
    if (disposition)
        *disposition = createdAny ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return InsertOpenKey(std::move(opened), result);
}

LSTATUS RegCloseKey(HKEY key)
{
    if (Resolve(key) && !OpenKeys().Contains(key))
        return ERROR_SUCCESS; // a predefined root key stays open
    return OpenKeys().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    if (reserved || (data && !dataSize))
        return ERROR_INVALID_PARAMETER;
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_QUERY_VALUE, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    const std::wstring name = valueName ? valueName : L"";
    return ReadKey(*open, [&](const CRegistryKey& target) -> DWORD {
        const CRegistryValue* value = target.FindValue(name);
        if (!value)
            return ERROR_FILE_NOT_FOUND;
        return CopyData(*value, type, data, dataSize);
    });
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize)
{
    if (!data && dataSize)
        return ERROR_NOACCESS;
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_SET_VALUE, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    CRegistryValue value{valueName ? valueName : L"", type, NormaliseData(type, data, dataSize)};
    if (value.name.size() > kRegistryMaxValueName)
        return ERROR_INVALID_PARAMETER;
    return WriteKey(*open, [&](CRegistryKey& target, bool& changed) -> DWORD {
        const CRegistryValue* existing = target.FindValue(value.name);
        if (existing && existing->type == value.type && existing->data == value.data)
            return ERROR_SUCCESS; // nothing to write
        target.SetValue(std::move(value));
        changed = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName)
{
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_SET_VALUE, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    const std::wstring name = valueName ? valueName : L"";
    return WriteKey(*open, [&](CRegistryKey& target, bool& changed) -> DWORD {
        if (!target.RemoveValue(name))
            return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey)
{
    if (!subKey)
        return ERROR_INVALID_PARAMETER;
    std::optional<COpenKey> base;
    std::vector<std::wstring> names;
    if (const DWORD rc = ResolveSubKey(key, subKey, base, names); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    std::vector<std::wstring> full = base->path;
    full.insert(full.end(), names.begin(), names.end());
    if (full.empty())
        return ERROR_ACCESS_DENIED; // a hive's root cannot go
    return static_cast<LSTATUS>(
        CRegistryStore::Of(base->hive).Write([&](CRegistryKey& root, bool& changed) -> DWORD {
            if (!FindKey(root, base->path))
                return ERROR_KEY_DELETED;
            const std::vector<std::wstring> parentPath(full.begin(), full.end() - 1);
            CRegistryKey* parent = FindKey(root, parentPath);
            const CRegistryKey* target = parent ? parent->FindSubKey(full.back()) : nullptr;
            if (!target)
                return ERROR_FILE_NOT_FOUND;
            if (target->SubKeyCount() > 0)
                return ERROR_ACCESS_DENIED;
            parent->RemoveSubKey(full.back());
            changed = true;
            return ERROR_SUCCESS;
        }));
}

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
    LPDWORD classLength, PFILETIME lastWriteTime)
{
    if (!name || !nameLength || reserved)
        return ERROR_INVALID_PARAMETER;
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_ENUMERATE_SUB_KEYS, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    return ReadKey(*open, [&](const CRegistryKey& target) -> DWORD {
        const CRegistryKey* sub = target.SubKeyAt(index);
        if (!sub)
            return ERROR_NO_MORE_ITEMS;
        if (const DWORD rc = CopyName(sub->Name(), name, nameLength); rc != ERROR_SUCCESS)
            return rc;
        ClearClass(keyClass, classLength);
        // Write times are not kept by the store.
        if (lastWriteTime)
            *lastWriteTime = FILETIME{};
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
    LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    if (!valueName || !valueNameLength || reserved || (data && !dataSize))
        return ERROR_INVALID_PARAMETER;
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_QUERY_VALUE, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    return ReadKey(*open, [&](const CRegistryKey& target) -> DWORD {
        if (index >= target.Values().size())
            return ERROR_NO_MORE_ITEMS;
        const CRegistryValue& value = target.Values()[index];
        if (const DWORD rc = CopyName(value.name, valueName, valueNameLength); rc != ERROR_SUCCESS)
            return rc;
        return CopyData(value, type, data, dataSize);
    });
}

LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
    LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
    LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime)
{
    if (reserved)
        return ERROR_INVALID_PARAMETER;
    std::optional<COpenKey> open;
    if (const DWORD rc = ResolveFor(key, KEY_QUERY_VALUE, open); rc != ERROR_SUCCESS)
        return static_cast<LSTATUS>(rc);
    return ReadKey(*open, [&](const CRegistryKey& target) -> DWORD {
        DWORD longestKey = 0;
        target.ForEachSubKey([&](const CRegistryKey& sub) {
            longestKey = std::max(longestKey, static_cast<DWORD>(sub.Name().size()));
        });
        DWORD longestName = 0;
        DWORD largestData = 0;
        for (const auto& value : target.Values()) {
            longestName = std::max(longestName, static_cast<DWORD>(value.name.size()));
            largestData = std::max(largestData, static_cast<DWORD>(value.data.size()));
        }
        ClearClass(keyClass, classLength);
        if (subKeys)
            *subKeys = static_cast<DWORD>(target.SubKeyCount());
        if (maxSubKeyLength)
            *maxSubKeyLength = longestKey;
        if (maxClassLength)
            *maxClassLength = 0;
        if (values)
            *values = static_cast<DWORD>(target.Values().size());
        if (maxValueNameLength)
            *maxValueNameLength = longestName;
        if (maxValueLength)
            *maxValueLength = largestData;
        if (securityDescriptorSize)
            *securityDescriptorSize = 0;
        if (lastWriteTime)
            *lastWriteTime = FILETIME{};
        return ERROR_SUCCESS;
    });
}
