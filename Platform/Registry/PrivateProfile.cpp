#include "Platform/Registry/PrivateProfile.h"

#include "Platform/Base/FileStamp.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/IniFile.h"

#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Registry::CIniFile;

struct CachedIni {
    Platform::CFileStamp stamp;
    std::shared_ptr<const CIniFile> file;
};

// A program asks the same file for one key after the other: each file is
// parsed once and kept while its stamp holds, so a lookup costs a stat.
class CIniCache {
public:
    std::shared_ptr<const CIniFile> Find(const std::string& path, const Platform::CFileStamp& stamp)
    {
        std::lock_guard guard(m_mutex);
        const auto found = m_files.find(path);
        return found != m_files.end() && found->second.stamp == stamp ? found->second.file : nullptr;
    }
    void Keep(const std::string& path, const Platform::CFileStamp& stamp, std::shared_ptr<const CIniFile> file)
    {
        std::lock_guard guard(m_mutex);
        // A handful of files is what a program reads; a caller cycling through
        // many only costs re-parsing.
        if (m_files.size() >= kMaxFiles && m_files.find(path) == m_files.end())
            m_files.clear();
        m_files[path] = CachedIni{stamp, std::move(file)};
    }

private:
    static constexpr std::size_t kMaxFiles = 16;
    std::mutex m_mutex;
    std::map<std::string, CachedIni> m_files;
};

CIniCache& Cache()
{
    static CIniCache cache;
    return cache;
}

// The parsed file, or an empty one with the last error set when it cannot
// be read.
std::shared_ptr<const CIniFile> LoadIni(LPCWSTR fileName, bool& loaded)
{
    static const auto kEmpty = std::make_shared<const CIniFile>();
    loaded = false;
    if (!fileName || !*fileName) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return kEmpty;
    }
    const std::string path = Text::WideToFileName(fileName);
    const auto stamp = Platform::CFileStamp::Of(path);
    if (stamp) {
        if (auto cached = Cache().Find(path, *stamp)) {
            loaded = true;
            return cached;
        }
    }
    auto file = std::make_shared<CIniFile>();
    if (!file->Load(path))
        return kEmpty;
    loaded = true;
    if (stamp && stamp->IsSettled())
        Cache().Keep(path, *stamp, file);
    return file;
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
    bool loaded = false;
    const auto held = LoadIni(fileName, loaded);
    const CIniFile& file = *held;
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
    bool loaded = false;
    const auto file = LoadIni(fileName, loaded);
    if (!loaded)
        return static_cast<UINT>(defaultValue);
    const auto* entry = file->FindEntry(section, key);
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
    std::vector<std::wstring> lines;
    bool loaded = false;
    const auto file = section ? LoadIni(fileName, loaded) : nullptr;
    if (loaded) {
        if (const auto* found = file->FindSection(section)) {
            for (const auto& entry : found->entries)
                lines.push_back(entry.hasValue ? entry.key + L"=" + entry.value : entry.key);
        }
    }
    return CopyList(lines, buffer, size);
}
