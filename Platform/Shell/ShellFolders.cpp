#include "Platform/Shell/ShellFolders.h"

#include "Platform/Base/Module.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/XdgFolders.h"

#include <cwchar>
#include <filesystem>
#include <optional>

namespace Xdg = ZELL::Shell::Xdg;

namespace {

// The folder above the program's "bin" folder, else the program's folder.
std::wstring InstallationPrefix()
{
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer))
        return {};
    const std::filesystem::path folder = ZELL::Shell::FsPath(std::wstring(buffer, length)).parent_path();
    return ZELL::Shell::WidePath(folder.filename() == "bin" ? folder.parent_path() : folder);
}

std::optional<std::wstring> FolderPath(int folder)
{
    switch (folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return Xdg::UserFolder("XDG_DESKTOP_DIR", L"/Desktop");
    case CSIDL_PERSONAL: return Xdg::UserFolder("XDG_DOCUMENTS_DIR", L"/Documents");
    case CSIDL_APPDATA: return Xdg::BaseFolder(L"XDG_CONFIG_HOME", L"/.config");
    case CSIDL_LOCAL_APPDATA: return Xdg::BaseFolder(L"XDG_DATA_HOME", L"/.local/share");
    case CSIDL_COMMON_APPDATA: return Xdg::FirstOfList(L"XDG_CONFIG_DIRS", L"/etc/xdg");
    case CSIDL_PROFILE: return Xdg::HomeFolder();
    case CSIDL_PROGRAM_FILES: return InstallationPrefix();
    case CSIDL_WINDOWS: return std::wstring(L"/usr");
    case CSIDL_SYSTEM: return std::wstring(L"/usr/lib");
    case CSIDL_FONTS: return std::wstring(L"/usr/share/fonts");
    default: return std::nullopt;
    }
}

bool MakeFolder(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::create_directories(ZELL::Shell::FsPath(path), error);
    return std::filesystem::is_directory(ZELL::Shell::FsPath(path), error);
}

}  // namespace

HRESULT SHGetFolderPathW(HWND, int folder, HANDLE, DWORD, LPWSTR path)
{
    if (!path)
        return E_INVALIDARG;
    path[0] = L'\0';
    const std::optional<std::wstring> found = FolderPath(folder & ~CSIDL_FLAG_MASK);
    if (!found)
        return E_INVALIDARG;
    if (found->empty() || found->size() >= MAX_PATH)
        return E_FAIL;
    std::error_code error;
    const bool exists = std::filesystem::is_directory(ZELL::Shell::FsPath(*found), error);
    if (!exists && (folder & CSIDL_FLAG_DONT_VERIFY) == 0) {
        if ((folder & CSIDL_FLAG_CREATE) == 0 || !MakeFolder(*found))
            return E_FAIL;
    }
    std::wmemcpy(path, found->c_str(), found->size() + 1);
    return S_OK;
}

BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int folder, BOOL create)
{
    const int flags = create ? folder | CSIDL_FLAG_CREATE : folder;
    return SHGetFolderPathW(owner, flags, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? TRUE : FALSE;
}
