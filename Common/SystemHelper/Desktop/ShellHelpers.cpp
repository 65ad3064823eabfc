#include "Common/SystemHelper/Desktop/ShellHelpers.h"

#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Shell/ShellLink.h"
#include "Platform/Shell/ShellFolders.h"
#include "Platform/Shell/UrlText.h"

#include <filesystem>

namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

// Line breaks of a mail body travel as CR LF.
std::wstring WithMailLineBreaks(const std::wstring& text)
{
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            result += L'\r';
        result += text[i];
    }
    return result;
}

bool FullPath(const std::wstring& target, std::wstring& full)
{
    if (target.empty())
        return false;
    if (ZELL::Shell::IsUrl(target)) {
        full = target;
        return true;
    }
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(ZELL::Shell::FsPath(target), error);
    if (error)
        return false;
    full = ZELL::Shell::WidePath(path.lexically_normal());
    return true;
}

}  // namespace

std::wstring GetSpecialFolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? std::wstring(path) : std::wstring();
}

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& description, const std::wstring& linkFile,
                       const std::wstring& arguments, const std::wstring& iconFile, int iconIndex,
                       const std::wstring& workingFolder)
{
    std::wstring full;
    if (!FullPath(target, full))
        return E_FAIL;
    ZELL::Shell::ShellLink link;
    const HRESULT set = link.SetPath(full);
    if (FAILED(set))
        return set;
    link.SetDescription(description);
    if (!arguments.empty())
        link.SetArguments(arguments);
    if (!iconFile.empty())
        link.SetIconLocation(iconFile, iconIndex);
    if (!workingFolder.empty())
        link.SetWorkingDirectory(workingFolder);
    return link.Save(linkFile);
}

HRESULT ResolveShortcut(const std::wstring& linkFile, std::wstring& target, std::wstring* arguments,
                        std::wstring* workingFolder)
{
    ZELL::Shell::ShellLink link;
    const HRESULT loaded = link.Load(linkFile);
    if (FAILED(loaded))
        return loaded;
    target = link.Path();
    if (arguments)
        *arguments = link.Arguments();
    if (workingFolder)
        *workingFolder = link.WorkingDirectory();
    return S_OK;
}

std::wstring MakeMailToLink(const std::wstring& address, const std::wstring& subject, const std::wstring& body)
{
    // The address keeps what addresses and recipient lists are made of.
    std::wstring link = L"mailto:" + ZELL::Shell::PercentEncode(address, L"@!$'()*+,;=:");
    if (!subject.empty())
        link += L"?subject=" + ZELL::Shell::PercentEncode(WithMailLineBreaks(subject));
    if (!body.empty())
        link += (subject.empty() ? L"?body=" : L"&body=") + ZELL::Shell::PercentEncode(WithMailLineBreaks(body));
    return link;
}

bool SendMailTo(const std::wstring& address, const std::wstring& subject, const std::wstring& body)
{
    const std::wstring link = MakeMailToLink(address, subject, body);
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, kShowNormal);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
