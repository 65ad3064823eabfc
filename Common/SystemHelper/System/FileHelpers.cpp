#include "Common/SystemHelper/System/FileHelpers.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Narrow(const std::wstring& path)
{
    return Text::WideToFileName(path);
}

// Nested folders deeper than this are a loop or a hostile tree.
constexpr int kMaxFolderDepth = 256;

DWORD ErrorOfErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    default: return ERROR_GEN_FAILURE;
    }
}

DWORD FindFilesIn(std::vector<std::wstring>& files, const std::wstring& folder, const std::wstring& extension,
    bool recursive, int depth)
{
    if (depth > kMaxFolderDepth)
        return ERROR_GEN_FAILURE;
    DIR* directory = ::opendir(Narrow(folder).c_str());
    if (!directory)
        return ErrorOfErrno(errno);
    DWORD result = 0;
    const std::wstring wanted = ToLower(extension);
    while (const dirent* entry = ::readdir(directory)) {
        const std::wstring name = Text::FileNameToWide(entry->d_name);
        if (name.empty() || name.front() == L'.')
            continue;
        const std::wstring path = folder + L"/" + name;
        struct stat info {};
        // Links to folders are not followed, so a loop cannot recurse.
        if (::lstat(Narrow(path).c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            if (recursive && (result = FindFilesIn(files, path, extension, recursive, depth + 1)) != 0)
                break;
            continue;
        }
        const std::size_t dot = name.find(L'.');
        if (dot != std::wstring::npos && ToLower(name.substr(dot + 1)) == wanted)
            files.push_back(path);
    }
    ::closedir(directory);
    return result;
}

}

bool FileExists(const std::wstring& path)
{
    struct stat info {};
    return !path.empty() && ::stat(Narrow(path).c_str(), &info) == 0;
}

bool PathExists(const std::wstring& path)
{
    return FileExists(path);
}

bool CopyFileTo(const std::wstring& source, const std::wstring& target, bool failIfExists)
{
    std::error_code error;
    const auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(fs::path(Narrow(source)), fs::path(Narrow(target)), options, error) && !error;
}

bool MoveFileTo(const std::wstring& source, const std::wstring& target)
{
    const std::string from = Narrow(source);
    const std::string to = Narrow(target);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: look first.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0)
        return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

LONGLONG GetFileSizeByPath(const std::wstring& path)
{
    struct stat info {};
    if (path.empty() || ::stat(Narrow(path).c_str(), &info) != 0)
        return -1;
    return static_cast<LONGLONG>(info.st_size);
}

int GetFileSize64(const std::wstring& path, LONGLONG& size)
{
    const int fd = ::open(Narrow(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info {};
    const bool sized = ::fstat(fd, &info) == 0;
    ::close(fd);
    if (!sized)
        return 0;
    size = static_cast<LONGLONG>(info.st_size);
    return 1;
}

std::wstring GetFileNameFromPath(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    if (SplitString(path, L"/\\", parts, true) == 0)
        return std::wstring();
    return parts.back();
}

bool CreateDirectoryPath(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    SplitString(path, L"/\\", parts);
    // An absolute path starts at the root, not in the current folder.
    std::wstring current = !path.empty() && (path.front() == L'/' || path.front() == L'\\') ? L"/" : L"";
    bool ok = true;
    for (const std::wstring& part : parts) {
        current += part;
        current += L"/";
        if (!FileExists(current) && ::mkdir(Narrow(current).c_str(), 0777) != 0 && errno != EEXIST)
            ok = false;
    }
    return ok;
}

bool DeleteDirectoryFiles(const std::wstring& folder)
{
    const std::string base = Narrow(folder);
    if (DIR* directory = ::opendir(base.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string path = base + "/" + entry->d_name;
            struct stat info {};
            if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
                ::unlink(path.c_str());
        }
        ::closedir(directory);
    }
    return ::rmdir(base.c_str()) == 0;
}

DWORD FindFiles(std::vector<std::wstring>& files, const std::wstring& folder, const std::wstring& extension,
    bool recursive)
{
    return FindFilesIn(files, folder, extension, recursive, 0);
}

std::wstring ReadTextFile(const std::wstring& path)
{
    std::ifstream stream(Narrow(path), std::ios::binary);
    if (!stream)
        return std::wstring();
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    return Text::Utf8ToWide(bytes.str());
}

bool WriteTextFile(const std::wstring& path, const std::wstring& text)
{
    std::ofstream stream(Narrow(path), std::ios::binary | std::ios::trunc);
    if (!stream.is_open())
        return false;
    stream << Text::WideToUtf8(text);
    stream.close();
    return !stream.fail();
}

std::wstring GetTempDirectory()
{
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    if (error)
        return std::wstring();
    // With its trailing separator, as the platform gives it.
    std::wstring text = Text::WidePath(folder);
    if (text.empty() || text.back() != L'/')
        text += L'/';
    return text;
}

std::wstring GetCurrentDirectoryText()
{
    std::error_code error;
    const fs::path folder = fs::current_path(error);
    return error ? std::wstring() : Text::WidePath(folder);
}

std::wstring GetEnvironmentText(const std::wstring& name)
{
    if (name.empty())
        return std::wstring();
    const char* value = std::getenv(Narrow(name).c_str());
    return value ? Text::FileNameToWide(value) : std::wstring();
}
