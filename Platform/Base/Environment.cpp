#include "Platform/Base/Environment.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <optional>
#include <string>

namespace {

std::mutex& EnvironmentMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::optional<std::string> ReadVariable(const std::string& name)
{
    std::lock_guard lock(EnvironmentMutex());
    const char* value = std::getenv(name.c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
}

DWORD CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size)
{
    if (!buffer || text.size() >= size)
        return static_cast<DWORD>(text.size() + 1);
    std::wmemcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

bool IsValidName(LPCWSTR name)
{
    return name && *name && !std::wcschr(name, L'=');
}

template <typename Char>
errno_t Duplicate(Char** value, std::size_t* length, const std::basic_string<Char>& text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(Char);
    auto* copy = static_cast<Char*>(std::malloc(bytes));
    if (!copy)
        return ENOMEM;
    std::memcpy(copy, text.c_str(), bytes);
    *value = copy;
    if (length)
        *length = text.size() + 1;
    return 0;
}

}

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size)
{
    if (!IsValidName(name)) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const auto value = ReadVariable(Text::WideToUtf8(name));
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return CopyOut(Text::FileNameToWide(*value), buffer, size);
}

BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value)
{
    if (!IsValidName(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string narrowName = Text::WideToUtf8(name);
    std::lock_guard lock(EnvironmentMutex());
    const int result = value ? setenv(narrowName.c_str(), Text::WideToFileName(value).c_str(), 1)
                             : unsetenv(narrowName.c_str());
    if (result != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

errno_t _dupenv_s(char** value, std::size_t* length, const char* name)
{
    if (!value || !name)
        return EINVAL;
    *value = nullptr;
    if (length)
        *length = 0;
    const auto text = ReadVariable(name);
    return text ? Duplicate(value, length, *text) : 0;
}

errno_t _wdupenv_s(wchar_t** value, std::size_t* length, const wchar_t* name)
{
    if (!value || !name)
        return EINVAL;
    *value = nullptr;
    if (length)
        *length = 0;
    const auto text = ReadVariable(Text::WideToUtf8(name));
    return text ? Duplicate(value, length, Text::FileNameToWide(*text)) : 0;
}

DWORD GetTempPathW(DWORD size, LPWSTR buffer)
{
    std::string path = ReadVariable("TMPDIR").value_or("");
    if (path.empty())
        path = "/tmp";
    if (path.back() != '/')
        path += '/';
    return CopyOut(Text::FileNameToWide(path), buffer, size);
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer)
{
    std::string path(256, '\0');
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE || path.size() > (1u << 20)) {
            SetLastError(Win32ErrorFromErrno(errno));
            return 0;
        }
        path.resize(path.size() * 2);
    }
    path.resize(std::strlen(path.c_str()));
    return CopyOut(Text::FileNameToWide(path), buffer, size);
}
