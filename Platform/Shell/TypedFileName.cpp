#include "Platform/Shell/TypedFileName.h"

#include "Platform/Shell/FileTypeFilter.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/XdgFolders.h"

#include <filesystem>

namespace ZELL::Shell {

namespace {

std::wstring WithoutQuotesAndBlanks(const std::wstring& typed)
{
    const auto first = typed.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    std::wstring text = typed.substr(first, typed.find_last_not_of(L" \t") - first + 1);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::wstring CTypedFileName::FullPath(const std::wstring& typed, const std::wstring& folder)
{
    std::wstring text = typed;
    if (text == L"~" || text.starts_with(L"~/"))
        text = Xdg::HomeFolder() + text.substr(1);
    std::filesystem::path path = FsPath(text);
    if (path.is_relative())
        path = FsPath(folder) / path;
    std::wstring full = WidePath(path.lexically_normal());
    while (full.size() > 1 && full.back() == L'/')
        full.pop_back();
    return full;
}

bool CTypedFileName::HasExtension(const std::wstring& path)
{
    const std::wstring name = NameOf(path);
    const auto dot = name.rfind(L'.');
    return dot != std::wstring::npos && dot != 0;
}

std::wstring CTypedFileName::ParentOf(const std::wstring& path)
{
    const auto slash = path.rfind(L'/');
    if (slash == std::wstring::npos)
        return {};
    return slash == 0 ? std::wstring(L"/") : path.substr(0, slash);
}

std::wstring CTypedFileName::NameOf(const std::wstring& path)
{
    const auto slash = path.rfind(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool CTypedFileName::IsFolder(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::is_directory(FsPath(path), error);
}

bool CTypedFileName::Exists(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::exists(FsPath(path), error);
}

CTypedFileName CTypedFileName::Resolve(const std::wstring& typed, const std::wstring& shownFolder,
                                       const std::wstring& defaultExtension, bool keepExisting)
{
    CTypedFileName result;
    const std::wstring text = WithoutQuotesAndBlanks(typed);
    if (text.empty())
        return result;
    if (CFileTypeFilter::HasWildcard(NameOf(text))) {
        result.kind = Kind::Filter;
        result.pattern = NameOf(text);
        const std::wstring folderPart = ParentOf(text);
        result.path = folderPart.empty() ? shownFolder : FullPath(folderPart, shownFolder);
        return result;
    }
    result.path = FullPath(text, shownFolder);
    if (IsFolder(result.path)) {
        result.kind = Kind::Folder;
        return result;
    }
    result.kind = Kind::File;
    const bool keep = keepExisting && Exists(result.path);
    if (!keep && !defaultExtension.empty() && !HasExtension(result.path))
        result.path += L"." + defaultExtension;
    return result;
}

}  // namespace ZELL::Shell
