#include "Platform/Registry/IniFile.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/RegistryNames.h"

#include <fstream>
#include <iterator>

namespace Registry {
namespace {

// Larger files are refused rather than read whole into memory.
constexpr std::uintmax_t kMaxIniFileSize = 16 * 1024 * 1024;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}

std::wstring CIniFile::DecodeText(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return Text::Utf8ToWide(bytes.substr(3));
    if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE)
        return Text::Utf16LeToWide(reinterpret_cast<const BYTE*>(bytes.data()) + 2, bytes.size() - 2);
    if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        std::string swapped(bytes.substr(2));
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        return Text::Utf16LeToWide(reinterpret_cast<const BYTE*>(swapped.data()), swapped.size());
    }
    if (std::wstring text; Text::TryUtf8ToWide(bytes, text))
        return text;
    return Text::Latin1ToWide(bytes);
}

CIniFile CIniFile::Parse(std::wstring_view text)
{
    CIniFile file;
    CIniSection* current = nullptr;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(L'\n', pos);
        if (end == std::wstring_view::npos)
            end = text.size();
        const std::wstring_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == L';')
            continue;
        if (line.front() == L'[') {
            std::wstring_view name = line.substr(1);
            if (const auto close = name.find(L']'); close != std::wstring_view::npos)
                name = name.substr(0, close);
            file.m_sections.push_back(CIniSection{std::wstring(Trim(name)), {}});
            current = &file.m_sections.back();
            continue;
        }
        // Lines before the first section belong to no section anyone can ask for.
        if (!current)
            continue;
        CIniEntry entry;
        if (const auto equals = line.find(L'='); equals != std::wstring_view::npos) {
            entry.key = Trim(line.substr(0, equals));
            entry.value = Trim(line.substr(equals + 1));
            entry.hasValue = true;
        } else {
            entry.key = line;
        }
        current->entries.push_back(std::move(entry));
    }
    return file;
}

bool CIniFile::Load(const std::filesystem::path& path)
{
    m_sections.clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        SetLastError(Win32ErrorFromErrno(ec.value()));
        return false;
    }
    if (size > kMaxIniFileSize) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    *this = Parse(DecodeText(bytes));
    return true;
}

const CIniSection* CIniFile::FindSection(std::wstring_view name) const
{
    const std::wstring_view wanted = Trim(name);
    for (const auto& section : m_sections) {
        if (NamesEqual(section.name, wanted))
            return &section;
    }
    return nullptr;
}

const CIniEntry* CIniFile::FindEntry(std::wstring_view section, std::wstring_view key) const
{
    const CIniSection* found = FindSection(section);
    if (!found)
        return nullptr;
    const std::wstring_view wanted = Trim(key);
    for (const auto& entry : found->entries) {
        if (NamesEqual(entry.key, wanted))
            return &entry;
    }
    return nullptr;
}

}
