#include "Platform/Registry/PrivateProfile.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/IniFile.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using Registry::CIniFile;

bool LoadIni(LPCWSTR fileName, CIniFile& file)
{
    if (!fileName || !*fileName) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return file.Load(Text::WideToUtf8(fileName));
}

DWORD CopyText(std::wstring_view text, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(buffer, text.data(), count);
    buffer[count] = L'\0';
    return static_cast<DWORD>(count);
}

// Names one after the other, each ending in a NUL, the list in a second NUL.
// A list that does not fit ends with its last name cut short and two NULs.
DWORD CopyList(const std::vector<std::wstring>& items, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    if (size < 2) {
        buffer[0] = L'\0';
        return 0;
    }
    std::size_t pos = 0;
    for (const auto& item : items) {
        // The item, its NUL and the list's final NUL must fit.
        if (pos + item.size() + 2 > size) {
            // The names before may already fill the buffer up to its last
            // character, leaving no room for any of this one.
            const std::size_t room = pos < size - 2 ? size - 2 - pos : 0;
            std::wmemcpy(buffer + pos, item.data(), room);
            buffer[size - 2] = L'\0';
            buffer[size - 1] = L'\0';
            return size - 2;
        }
        std::wmemcpy(buffer + pos, item.data(), item.size());
        pos += item.size();
        buffer[pos++] = L'\0';
    }
    buffer[pos] = L'\0';
    if (pos == 0 && size > 1)
        buffer[1] = L'\0';
    return static_cast<DWORD>(pos);
}

std::wstring_view Unquote(std::wstring_view value)
{
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::wstring DefaultText(LPCWSTR defaultValue)
{
    std::wstring text = defaultValue ? defaultValue : L"";
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

}

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
    LPCWSTR fileName)
{
    CIniFile file;
    const bool loaded = LoadIni(fileName, file);
    if (!section) {
        std::vector<std::wstring> names;
        for (const auto& s : file.Sections())
            names.push_back(s.name);
        return CopyList(names, buffer, size);
    }
    if (!key) {
        std::vector<std::wstring> keys;
        if (const auto* found = file.FindSection(section)) {
            for (const auto& entry : found->entries)
                keys.push_back(entry.key);
        }
        return CopyList(keys, buffer, size);
    }
    if (loaded) {
        if (const auto* entry = file.FindEntry(section, key)) {
            SetLastError(ERROR_SUCCESS);
            return CopyText(Unquote(entry->value), buffer, size);
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return CopyText(DefaultText(defaultValue), buffer, size);
}

UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName)
{
    if (!section || !key)
        return static_cast<UINT>(defaultValue);
    CIniFile file;
    if (!LoadIni(fileName, file))
        return static_cast<UINT>(defaultValue);
    const auto* entry = file.FindEntry(section, key);
    if (!entry)
        return static_cast<UINT>(defaultValue);
    const std::wstring_view text = Unquote(entry->value);
    if (text.empty())
        return static_cast<UINT>(defaultValue);
    std::size_t i = 0;
    bool negative = false;
    if (text[i] == L'-' || text[i] == L'+') {
        negative = text[i] == L'-';
        ++i;
    }
    // Wraps like the platform's conversion instead of overflowing.
    UINT value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = value * 10u + static_cast<UINT>(text[i] - L'0');
    return negative ? 0u - value : value;
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR fileName)
{
    return GetPrivateProfileStringW(nullptr, nullptr, nullptr, buffer, size, fileName);
}

DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR fileName)
{
    CIniFile file;
    std::vector<std::wstring> lines;
    if (section && LoadIni(fileName, file)) {
        if (const auto* found = file.FindSection(section)) {
            for (const auto& entry : found->entries)
                lines.push_back(entry.hasValue ? entry.key + L"=" + entry.value : entry.key);
        }
    }
    return CopyList(lines, buffer, size);
}
