#include "Platform/Shell/FolderListing.h"

#include "Platform/Base/WideRuntime.h"
#include "Platform/Shell/PathConversion.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace ZELL::Shell {

namespace {

// Latin-1 letters sort with their base letter ("Ärchiv" beside "Archiv"),
// as people look for them; the rest by their lower case.
wchar_t BaseLetter(wchar_t c)
{
    static constexpr wchar_t kBases[] = L"aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // U+00E0 to U+00FF
    return c >= 0xE0 && c <= 0xFF && c != 0xF7 ? kBases[c - 0xE0] : c;
}

std::wstring Folded(const std::wstring& text)
{
    std::wstring folded;
    folded.reserve(text.size());
    for (wchar_t c : text) {
        const wchar_t lower = Text::ToLowerChar(c);
        if (lower == 0xDF)
            folded += L"ss";
        else
            folded += BaseLetter(lower);
    }
    return folded;
}

// stat() follows links, so a link to a folder is listed as the folder it
// opens; a dangling link is listed as the file it names.
bool Describe(const std::filesystem::path& path, FolderEntry& entry)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && ::lstat(path.c_str(), &info) != 0)
        return false;
    entry.isFolder = S_ISDIR(info.st_mode);
    entry.size = entry.isFolder ? 0 : static_cast<std::uintmax_t>(info.st_size);
    entry.modified = info.st_mtime;
    return true;
}

}  // namespace

bool CFolderListing::Read(const std::wstring& folder, bool withHidden, std::error_code& error)
{
    m_entries.clear();
    std::filesystem::directory_iterator it(FsPath(folder), error);
    if (error)
        return false;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            return false;
        const std::string raw = it->path().filename().string();
        FolderEntry entry;
        entry.name = Text::FileNameToWide(raw);
        if (!withHidden && raw.front() == '.')
            continue;
        if (Describe(it->path(), entry))
            m_entries.push_back(std::move(entry));
    }
    Sort(m_entries);
    return true;
}

void CFolderListing::Sort(std::vector<FolderEntry>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        if (a.isFolder != b.isFolder)
            return a.isFolder;
        const std::wstring foldedA = Folded(a.name);
        const std::wstring foldedB = Folded(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
}

std::wstring CFolderListing::SizeText(const FolderEntry& entry)
{
    if (entry.isFolder)
        return {};
    // Whole kilobytes, rounded up, so a small file never shows as empty.
    const std::uintmax_t kilobytes = (entry.size + 1023) / 1024;
    return std::to_wstring(kilobytes) + L" KB";
}

std::wstring CFolderListing::DateText(std::time_t time)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return {};
    wchar_t text[32] = {};
    const std::size_t length = std::wcsftime(text, std::size(text), L"%Y-%m-%d %H:%M", &local);
    return std::wstring(text, length);
}

}  // namespace ZELL::Shell
