#include "Platform/Shell/XdgFolders.h"

#include "Platform/Base/Environment.h"
#include "Platform/Base/FileSystemPath.h"

#include <fstream>
#include <iterator>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace ZELL::Shell::Xdg {

namespace {

std::wstring Variable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<wchar_t> buffer(size + 1);
    const DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    return length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::wstring WithoutTrailingSlashes(std::wstring path)
{
    while (path.size() > 1 && path.back() == L'/')
        path.pop_back();
    return path;
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream stream(Text::WideToFileName(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

// The quoted value after `name=` on a line of its own; backslash escapes resolved.
std::optional<std::string> QuotedValue(std::string_view line, std::string_view name)
{
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos || line.substr(at, name.size()) != name)
        return std::nullopt;
    at = line.find_first_not_of(" \t", at + name.size());
    if (at == std::string_view::npos || line[at] != '=')
        return std::nullopt;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string_view::npos || line[at] != '"')
        return std::nullopt;
    std::string value;
    for (++at; at < line.size(); ++at) {
        if (line[at] == '"')
            return value;
        if (line[at] == '\\' && at + 1 < line.size())
            ++at;
        value += line[at];
    }
    return std::nullopt;  // no closing quote
}

}  // namespace

std::wstring HomeFolder()
{
    const std::wstring home = Variable(L"HOME");
    if (!home.empty() && home.front() == L'/')
        return WithoutTrailingSlashes(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return WithoutTrailingSlashes(Text::FileNameToWide(found->pw_dir));
    return {};
}

std::wstring BaseFolder(const wchar_t* variable, const wchar_t* homeFallback)
{
    const std::wstring value = Variable(variable);
    if (!value.empty() && value.front() == L'/')
        return WithoutTrailingSlashes(value);
    const std::wstring home = HomeFolder();
    return home.empty() ? std::wstring() : home + homeFallback;
}

std::wstring FirstOfList(const wchar_t* variable, const wchar_t* fallback)
{
    const std::wstring value = Variable(variable);
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(L':', start), value.size());
        const std::wstring entry = value.substr(start, end - start);
        if (!entry.empty() && entry.front() == L'/')
            return WithoutTrailingSlashes(entry);
        start = end + 1;
    }
    return fallback;
}

std::optional<std::wstring> ParseUserFolder(std::string_view fileText, std::string_view name, const std::wstring& home)
{
    std::optional<std::wstring> result;
    std::size_t start = 0;
    while (start < fileText.size()) {
        const std::size_t end = std::min(fileText.find('\n', start), fileText.size());
        const std::optional<std::string> value = QuotedValue(fileText.substr(start, end - start), name);
        start = end + 1;
        if (!value)
            continue;
        // The last valid entry wins, as a shell reading the file would have it.
        if (value->rfind("$HOME", 0) == 0 && (value->size() == 5 || (*value)[5] == '/'))
            result = WithoutTrailingSlashes(home + Text::FileNameToWide(value->substr(5)));
        else if (!value->empty() && value->front() == '/')
            result = WithoutTrailingSlashes(Text::FileNameToWide(*value));
    }
    return result;
}

std::wstring UserFolder(std::string_view name, const wchar_t* homeFallback)
{
    const std::wstring home = HomeFolder();
    if (home.empty())
        return {};
    const std::string text = ReadFile(BaseFolder(L"XDG_CONFIG_HOME", L"/.config") + L"/user-dirs.dirs");
    return ParseUserFolder(text, name, home).value_or(home + homeFallback);
}

}  // namespace ZELL::Shell::Xdg
