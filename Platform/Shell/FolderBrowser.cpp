#include "Platform/Shell/FolderBrowser.h"

#include "Platform/Shell/FolderBrowserDialog.h"
#include "Platform/Shell/TypedFileName.h"

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info)
{
    if (info == nullptr)
        return nullptr;
    ZELL::Shell::CFolderBrowserDialog dialog(*info);
    if (dialog.Run() != IDOK)
        return nullptr;
    const std::wstring& folder = dialog.ChosenFolder();
    if (info->pszDisplayName != nullptr) {
        const std::wstring name = folder == L"/" ? folder : ZELL::Shell::CTypedFileName::NameOf(folder);
        const std::size_t length = name.size() < MAX_PATH - 1 ? name.size() : MAX_PATH - 1;
        name.copy(info->pszDisplayName, length);
        info->pszDisplayName[length] = L'\0';
    }
    return ZELL::Shell::MakeItemIdList(folder);
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path)
{
    if (path == nullptr)
        return FALSE;
    path[0] = L'\0';
    const auto folder = ZELL::Shell::PathOfItemIdList(list);
    if (!folder || folder->size() >= MAX_PATH)
        return FALSE;
    folder->copy(path, folder->size());
    path[folder->size()] = L'\0';
    return TRUE;
}
