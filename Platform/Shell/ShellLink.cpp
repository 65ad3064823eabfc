#include "Platform/Shell/ShellLink.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Shell/CommandLine.h"
#include "Platform/Shell/DesktopEntry.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Shell/UrlText.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace ZELL::Shell {

namespace {

constexpr const wchar_t* kIconIndexKey = L"X-Zell-IconIndex";
constexpr std::uintmax_t kLargestEntry = 1 << 20;

HRESULT FromErrno(int error) { return HRESULT_FROM_WIN32(Win32ErrorFromErrno(error)); }

std::wstring KeyLine(const std::wstring& key, const std::wstring& value)
{
    return key + L"=" + DesktopEntry::EscapeValue(value) + L"\n";
}

std::wstring Value(const std::map<std::wstring, std::wstring>& keys, const wchar_t* key)
{
    const auto found = keys.find(key);
    return found == keys.end() ? std::wstring() : found->second;
}

}  // namespace

HRESULT ShellLink::SetPath(const std::wstring& target)
{
    if (target.empty())
        return E_INVALIDARG;
    m_target = target;
    return S_OK;
}

void ShellLink::SetIconLocation(const std::wstring& iconFile, int index)
{
    m_iconFile = iconFile;
    m_iconIndex = index;
}

HRESULT ShellLink::Save(const std::wstring& linkFile) const
{
    if (m_target.empty() || linkFile.empty())
        return E_INVALIDARG;
    const std::filesystem::path path = FsPath(linkFile);
    std::wstring text = L"[Desktop Entry]\n";
    const bool asApplication = !m_arguments.empty() || (!IsUrl(m_target) && IsProgramFile(m_target));
    if (asApplication) {
        std::vector<std::wstring> arguments = SplitCommandLine(m_arguments, false);
        arguments.insert(arguments.begin(), m_target);
        text += L"Type=Application\n" + KeyLine(L"Exec", DesktopEntry::BuildExec(arguments));
    } else {
        text += L"Type=Link\n" + KeyLine(L"URL", IsUrl(m_target) ? m_target : FileUrlFromPath(m_target));
    }
    const std::wstring stem = WidePath(path.stem());
    text += KeyLine(L"Name", stem.empty() ? m_target : stem);
    if (!m_description.empty())
        text += KeyLine(L"Comment", m_description);
    if (!m_workingFolder.empty())
        text += KeyLine(L"Path", m_workingFolder);
    if (!m_iconFile.empty()) {
        text += KeyLine(L"Icon", m_iconFile);
        text += KeyLine(kIconIndexKey, std::to_wstring(m_iconIndex));
    }

    std::error_code error;
    const std::filesystem::path parent = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    if (!std::filesystem::is_directory(parent, error))
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    const std::string bytes = Text::WideToUtf8(text);
    const std::filesystem::path temporary = path.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream)
            return FromErrno(errno ? errno : EACCES);
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        stream.flush();
        if (!stream) {
            stream.close();
            std::filesystem::remove(temporary, error);
            return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        const int failure = error.value();
        std::filesystem::remove(temporary, error);
        return FromErrno(failure);
    }
    return S_OK;
}

HRESULT ShellLink::Load(const std::wstring& linkFile)
{
    const std::filesystem::path path = FsPath(linkFile);
    std::error_code error;
    if (linkFile.empty() || !std::filesystem::is_regular_file(path, error))
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (std::filesystem::file_size(path, error) > kLargestEntry)
        return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    const std::string bytes((std::istreambuf_iterator<char>(stream)), {});
    const auto keys = DesktopEntry::ParseEntry(bytes);
    if (!keys)
        return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);

    ShellLink loaded;
    const std::wstring type = Value(*keys, L"Type");
    if (type == L"Application") {
        const auto arguments = DesktopEntry::ParseExec(Value(*keys, L"Exec"));
        if (!arguments)
            return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
        loaded.m_target = arguments->front();
        loaded.m_arguments = JoinCommandArguments({arguments->begin() + 1, arguments->end()});
    } else if (type == L"Link") {
        const std::wstring url = Value(*keys, L"URL");
        const std::wstring file = PathFromFileUrl(url);
        loaded.m_target = file.empty() ? url : file;
    }
    if (loaded.m_target.empty())
        return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    loaded.m_workingFolder = Value(*keys, L"Path");
    loaded.m_description = Value(*keys, L"Comment");
    loaded.m_iconFile = Value(*keys, L"Icon");
    const std::wstring index = Value(*keys, kIconIndexKey);
    loaded.m_iconIndex = index.empty() ? 0 : static_cast<int>(std::wcstol(index.c_str(), nullptr, 10));
    *this = loaded;
    return S_OK;
}

}  // namespace ZELL::Shell
