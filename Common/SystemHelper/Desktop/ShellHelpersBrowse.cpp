// The folder browser of the shell helpers, apart from the others: it brings
// the dialogs and their drawing with it, which the other helpers do without.
#include "Common/SystemHelper/Desktop/ShellHelpers.h"

#include "Platform/Shell/FolderBrowser.h"
#include "Platform/Ui/WinUser.h"

#include <algorithm>
#include <cwchar>

namespace {

// Starts the browser at the caller's folder, which travels as the callback's data.
int SelectInitialFolder(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& initialFolder, const std::wstring& title)
{
    wchar_t folder[MAX_PATH] = {};
    initialFolder.copy(folder, std::min<std::size_t>(initialFolder.size(), MAX_PATH - 1));
    BROWSEINFOW info;
    info.hwndOwner = owner;
    info.lpszTitle = title.empty() ? L"Bitte wählen Sie einen Ordner aus." : title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(folder);
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, path))
            std::wcscpy(folder, path);
        CoTaskMemFree(chosen);
    }
    return folder;
}
