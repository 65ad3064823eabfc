#include "Platform/Shell/ShellExecute.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Shell/ChildProcess.h"
#include "Platform/Shell/CommandLine.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/UrlText.h"

#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace ZELL::Shell;

namespace {

constexpr int kStarted = 42;
// Long enough for xdg-open to find that nothing opens the target; a program it
// runs in the foreground (a browser started for the first time) is then taken
// as started. The caller's window waits for this, so it stays short.
constexpr DWORD kOpenWaitMs = 2000;

HINSTANCE AsInstance(int code) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code)); }

std::wstring TextOf(LPCWSTR text) { return text ? std::wstring(text) : std::wstring(); }

bool IsVerbOpen(LPCWSTR verb)
{
    if (!verb || !*verb)
        return true;
    const std::wstring text = verb;
    return text.size() == 4 && std::towlower(text[0]) == L'o' && std::towlower(text[1]) == L'p' &&
           std::towlower(text[2]) == L'e' && std::towlower(text[3]) == L'n';
}

int StartErrorCode(int error)
{
    switch (error) {
    case ENOENT: return SE_ERR_FNF;
    case ENOTDIR: return SE_ERR_PNF;
    case EACCES:
    case EPERM: return SE_ERR_ACCESSDENIED;
    case ENOEXEC: return static_cast<int>(ERROR_BAD_FORMAT);
    case ENOMEM: return SE_ERR_OOM;
    default: return SE_ERR_NOASSOC;
    }
}

// xdg-open: 1 bad command line, 2 the file does not exist, 3 a tool it
// needs is missing, 4 the action failed (no program for the type).
int OpenerExitCode(DWORD exitCode)
{
    switch (exitCode) {
    case 0: return kStarted;
    case 1: return static_cast<int>(ERROR_BAD_FORMAT);
    case 2: return SE_ERR_FNF;
    default: return SE_ERR_NOASSOC;
    }
}

DWORD LastErrorOf(int code)
{
    switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case static_cast<int>(ERROR_BAD_FORMAT): return ERROR_BAD_FORMAT;
    default: return ERROR_NO_ASSOCIATION;
    }
}

struct Launch {
    int code = SE_ERR_NOASSOC;
    std::shared_ptr<ChildProcess> process;
};

Launch StartProgram(const ChildStart& start)
{
    Launch launch;
    int error = 0;
    launch.process = ChildProcess::Start(start, error);
    launch.code = launch.process ? kStarted : StartErrorCode(error);
    return launch;
}

Launch OpenWithDesktop(const std::wstring& target, const std::wstring& folder)
{
    ChildStart start;
    start.arguments = {L"xdg-open", target};
    start.workingFolder = folder;
    int error = 0;
    Launch launch;
    launch.process = ChildProcess::Start(start, error);
    if (!launch.process) {
        // Without the opener nothing is associated with anything.
        launch.code = error == ENOENT ? SE_ERR_NOASSOC : StartErrorCode(error);
        return launch;
    }
    launch.code = launch.process->WaitForExit(kOpenWaitMs) ? OpenerExitCode(launch.process->ExitCode()) : kStarted;
    return launch;
}

Launch Execute(LPCWSTR verb, LPCWSTR fileText, LPCWSTR parameters, LPCWSTR directory)
{
    const std::wstring file = TextOf(fileText);
    const std::wstring folder = TextOf(directory);
    if (file.empty())
        return {SE_ERR_FNF, nullptr};
    if (!IsVerbOpen(verb))
        return {SE_ERR_NOASSOC, nullptr};
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(FsPath(folder), error))
        return {SE_ERR_PNF, nullptr};
    if (IsUrl(file))
        return OpenWithDesktop(file, folder);

    std::filesystem::path path = FsPath(file);
    if (path.is_relative())
        path = (folder.empty() ? std::filesystem::current_path(error) : FsPath(folder)) / path;
    if (!std::filesystem::exists(path, error))
        return {path.parent_path().empty() || std::filesystem::is_directory(path.parent_path(), error) ? SE_ERR_FNF
                                                                                                   : SE_ERR_PNF,
                nullptr};
    if (IsProgramFile(WidePath(path))) {
        ChildStart start;
        start.arguments = SplitCommandLine(TextOf(parameters), false);
        start.arguments.insert(start.arguments.begin(), WidePath(path));
        start.workingFolder = folder;
        return StartProgram(start);
    }
    return OpenWithDesktop(WidePath(path.lexically_normal()), folder);
}

LPCWSTR Pointer(const std::wstring& text, bool given) { return given ? text.c_str() : nullptr; }

std::wstring FailureText(const std::wstring& target, int code)
{
    switch (code) {
    case SE_ERR_FNF:
    case SE_ERR_PNF: return L"\"" + target + L"\" cannot be found.\nCheck the name and try again.";
    case SE_ERR_ACCESSDENIED: return L"\"" + target + L"\" cannot be opened: access is denied.";
    default:
        return L"\"" + target +
               L"\" cannot be opened: no program on this computer is set up to open it.\n"
               L"Install a web browser or a program for this type of file (xdg-open finds it), then try again.";
    }
}

// A failure to open what the user asked for is said in a box over the
// caller's window, as the desktop's shell does; without a window, or with
// SEE_MASK_FLAG_NO_UI, the caller alone has the code.
void ReportFailure(HWND window, LPCWSTR target, int code)
{
    if (window == nullptr || code > 32)
        return;
    const DWORD error = GetLastError();
    MessageBoxW(window, FailureText(TextOf(target), code).c_str(), L"Open", MB_OK | MB_ICONERROR);
    SetLastError(error);
}

}  // namespace

HINSTANCE ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int)
{
    const Launch launch = Execute(verb, file, parameters, directory);
    if (launch.code <= 32)
        SetLastError(LastErrorOf(launch.code));
    ReportFailure(window, file, launch.code);
    return AsInstance(launch.code);
}

HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show)
{
    const std::wstring texts[4] = {Text::Utf8ToWide(verb ? verb : ""), Text::FileNameToWide(file ? file : ""),
                                   Text::FileNameToWide(parameters ? parameters : ""),
                                   Text::FileNameToWide(directory ? directory : "")};
    return ShellExecuteW(window, Pointer(texts[0], verb), Pointer(texts[1], file), Pointer(texts[2], parameters),
                         Pointer(texts[3], directory), show);
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info)
{
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    Launch launch = Execute(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory);
    info->hInstApp = AsInstance(launch.code);
    if (launch.code <= 32) {
        SetLastError(LastErrorOf(launch.code));
        if (!(info->fMask & SEE_MASK_FLAG_NO_UI))
            ReportFailure(info->hwnd, info->lpFile, launch.code);
        return FALSE;
    }
    if ((info->fMask & SEE_MASK_NOCLOSEPROCESS) && launch.process)
        info->hProcess = Platform::AddKernelObject(launch.process);
    return TRUE;
}

UINT WinExec(LPCSTR commandLine, UINT)
{
    ChildStart start;
    start.arguments = SplitCommandLine(Text::FileNameToWide(commandLine ? commandLine : ""), true);
    if (start.arguments.empty() || start.arguments.front().empty())
        return ERROR_FILE_NOT_FOUND;
    const int code = StartProgram(start).code;
    if (code == kStarted)
        return static_cast<UINT>(code);
    switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return 0;
    default: return ERROR_BAD_FORMAT;
    }
}

bool ZELL::Shell::IsProgramFile(const std::wstring& pathText)
{
    const std::filesystem::path path = FsPath(pathText);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || ::access(path.c_str(), X_OK) != 0)
        return false;
    std::ifstream stream(path, std::ios::binary);
    char head[4] = {};
    stream.read(head, sizeof(head));
    const std::streamsize count = stream.gcount();
    return (count >= 2 && head[0] == '#' && head[1] == '!') ||
           (count == 4 && head[0] == '\x7f' && head[1] == 'E' && head[2] == 'L' && head[3] == 'F');
}
