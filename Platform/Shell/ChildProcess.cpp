#include "Platform/Shell/ChildProcess.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/Thread.h"
#include "Platform/Base/WinError.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ZELL::Shell {

namespace {

// The environment with the message language forced to the untranslated one.
std::vector<std::string> CLocaleEnvironment()
{
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("LC_ALL=", 0) != 0 && text.rfind("LANGUAGE=", 0) != 0)
            result.push_back(text);
    }
    result.push_back("LC_ALL=C");
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    result.reserve(texts.size() + 1);
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
};

DWORD ExitCodeOf(int status)
{
    if (WIFEXITED(status))
        return static_cast<DWORD>(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return 128u + static_cast<DWORD>(WTERMSIG(status));
    return 255;
}

}  // namespace

std::shared_ptr<ChildProcess> ChildProcess::Start(const ChildStart& start, int& error)
{
    error = 0;
    if (start.arguments.empty() || start.arguments.front().empty()) {
        error = ENOENT;
        return nullptr;
    }
    std::vector<std::string> texts;
    for (const std::wstring& argument : start.arguments)
        texts.push_back(Text::WideToFileName(argument));
    std::vector<char*> argv = Pointers(texts);
    std::vector<std::string> environment;
    std::vector<char*> envp;
    if (start.cLocale) {
        environment = CLocaleEnvironment();
        envp = Pointers(environment);
    }

    int pipeFds[2] = {-1, -1};
    if (start.captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = errno;
        return nullptr;
    }
    SpawnActions actions;
    if (start.captureOutput) {
        ::posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_adddup2(actions.Get(), pipeFds[1], 1);
        if (start.captureErrors)
            ::posix_spawn_file_actions_adddup2(actions.Get(), pipeFds[1], 2);
        else
            ::posix_spawn_file_actions_addopen(actions.Get(), 2, "/dev/null", O_WRONLY, 0);
    }
    // The program inherits no descriptors beyond the standard three.
    ::posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
    const std::string folder = Text::WideToFileName(start.workingFolder);
    if (!folder.empty())
        ::posix_spawn_file_actions_addchdir_np(actions.Get(), folder.c_str());

    std::shared_ptr<ChildProcess> child(new ChildProcess());
    error = ::posix_spawnp(&child->m_pid, argv[0], actions.Get(), nullptr, argv.data(),
                           start.cLocale ? envp.data() : environ);
    if (start.captureOutput) {
        ::close(pipeFds[1]);
        if (error == 0)
            child->m_outputFd = pipeFds[0];
        else
            ::close(pipeFds[0]);
    }
    if (error != 0)
        return nullptr;
    std::thread(Watch, child).detach();
    return child;
}

ChildProcess::~ChildProcess()
{
    if (m_outputFd >= 0)
        ::close(m_outputFd);
}

void ChildProcess::Watch(std::shared_ptr<ChildProcess> self)
{
    int status = 0;
    pid_t result = 0;
    do
        result = ::waitpid(self->m_pid, &status, 0);
    while (result < 0 && errno == EINTR);
    {
        std::lock_guard<std::mutex> state(StateLock());
        self->m_exitCode = result < 0 ? 255u : ExitCodeOf(status);
        self->m_ended = true;
        self->NotifyWaiters();
    }
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_endedSignal.notify_all();
}

bool ChildProcess::WaitForExit(DWORD milliseconds)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_endedSignal.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_ended.load(); });
}

std::string ChildProcess::ReadOutput(DWORD milliseconds)
{
    std::string output;
    if (m_outputFd < 0)
        return output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd entry{m_outputFd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[4096];
        const ssize_t count = ::read(m_outputFd, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(count));
    }
    return output;
}

void ChildProcess::Kill()
{
    // The watcher reaps only after the program has ended, so the process id
    // cannot have been handed to another process yet.
    if (!m_ended)
        ::kill(m_pid, SIGKILL);
}

ChildResult RunChild(const ChildStart& start, DWORD milliseconds)
{
    ChildResult result;
    auto child = ChildProcess::Start(start, result.startError);
    if (!child)
        return result;
    const auto begin = std::chrono::steady_clock::now();
    result.output = child->ReadOutput(milliseconds);
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
    const DWORD left = spent.count() >= milliseconds ? 0 : milliseconds - static_cast<DWORD>(spent.count());
    if (!child->WaitForExit(left)) {
        result.timedOut = true;
        child->Kill();
        child->WaitForExit(1000);
    }
    result.exitCode = child->ExitCode();
    return result;
}

}  // namespace ZELL::Shell

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode)
{
    auto child = Platform::FindKernelObject<ZELL::Shell::ChildProcess>(process);
    if (!child)
        return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *exitCode = child->ExitCode();
    return TRUE;
}
