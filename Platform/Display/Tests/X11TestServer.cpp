#include "X11TestServer.h"

#include "Platform/Display/X11Display.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace X11Test {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for the child up to `timeoutMs`; the exit status, or -1 if it is still running.
int WaitForChild(pid_t pid, int timeoutMs, bool& exited)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    exited = false;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exited = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        }
        if (done < 0 && errno != EINTR) {
            exited = true;
            return -1;
        }
        if (MsLeft(deadline) == 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A command line and environment made ready before fork. Between fork and
// exec the child of a threaded program must not allocate: another thread may
// have held the allocator's lock at the fork, and the child would wait on it
// for ever.
class CExecPlan {
public:
    // `display` empty: the child runs without DISPLAY.
    CExecPlan(const std::vector<std::string>& argv, const std::string& display, bool dropZellDisplay = false)
        : m_args(argv)
    {
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            if (variable.rfind("DISPLAY=", 0) == 0 || (dropZellDisplay && variable.rfind("ZELL_DISPLAY=", 0) == 0))
                continue;
            m_environment.push_back(variable);
        }
        if (!display.empty())
            m_environment.push_back("DISPLAY=" + display);
        for (std::string& arg : m_args)
            m_argv.push_back(arg.data());
        m_argv.push_back(nullptr);
        for (std::string& variable : m_environment)
            m_envp.push_back(variable.data());
        m_envp.push_back(nullptr);
    }

    [[noreturn]] void Exec() const
    {
        execvpe(m_argv[0], m_argv.data(), m_envp.data());
        _exit(127);
    }

private:
    std::vector<std::string> m_args;
    std::vector<std::string> m_environment;
    std::vector<char*> m_argv;
    std::vector<char*> m_envp;
};

}

CXvfbServer::~CXvfbServer()
{
    Stop();
}

bool CXvfbServer::Start(const std::string& screen, int timeoutMs)
{
    Stop();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_error = "pipe failed";
        return false;
    }
    const int serverEnd = fcntl(fds[1], F_DUPFD, 3); // without close-on-exec, for the server
    const CExecPlan plan({"Xvfb", "-displayfd", std::to_string(serverEnd), "-screen", "0", screen, "-nolisten", "tcp",
                          "-noreset"},
                         "");
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid < 0) {
        m_error = "fork failed";
        close(fds[0]);
        close(fds[1]);
        close(serverEnd);
        return false;
    }
    if (m_pid == 0) {
        // The server must not outlive a test that crashed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(1);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        plan.Exec();
    }
    close(fds[1]);
    close(serverEnd);
    // The server writes its display number and a line feed once it listens.
    std::string number;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (number.find('\n') == std::string::npos && MsLeft(deadline) > 0) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, MsLeft(deadline)) <= 0)
            continue;
        char buffer[16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, static_cast<std::size_t>(got));
        if (number.size() > 64)
            break;
    }
    close(fds[0]);
    const std::size_t end = number.find('\n');
    if (end == std::string::npos || end == 0 || number.find_first_not_of("0123456789") != end) {
        m_error = "Xvfb did not report a display number in time (is the xvfb package installed?)";
        Stop();
        return false;
    }
    m_name = ":" + number.substr(0, end);
    return true;
}

void CXvfbServer::Stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    bool exited = false;
    WaitForChild(m_pid, 3000, exited);
    if (!exited) {
        kill(m_pid, SIGKILL);
        WaitForChild(m_pid, 3000, exited);
    }
    m_pid = -1;
    m_name.clear();
}

int RunWithDisplay(const std::string& display, const std::vector<std::string>& argv, int timeoutMs)
{
    if (argv.empty())
        return -1;
    const CExecPlan plan(argv, display);
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // What the program says is of no interest here; the test output stays readable.
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            dup2(devnull, 1);
        plan.Exec();
    }
    bool exited = false;
    const int status = WaitForChild(pid, timeoutMs, exited);
    if (!exited) {
        kill(pid, SIGKILL);
        WaitForChild(pid, 3000, exited);
        return -1;
    }
    return status;
}

CChildProcess::~CChildProcess()
{
    if (m_pid > 0)
        Wait(0);
    if (m_output >= 0)
        close(m_output);
}

bool CChildProcess::Start(const std::string& display, const std::vector<std::string>& argv)
{
    int fds[2];
    if (argv.empty() || m_pid > 0 || pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const CExecPlan plan(argv, display, true);
    m_pid = fork();
    if (m_pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(fds[1], 1);
        plan.Exec();
    }
    close(fds[1]);
    m_output = fds[0];
    return true;
}

bool CChildProcess::ReadLine(std::string& line, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return true;
        }
        if (m_output < 0 || MsLeft(deadline) == 0)
            return false;
        pollfd p{m_output, POLLIN, 0};
        if (poll(&p, 1, MsLeft(deadline)) <= 0)
            continue;
        char buffer[256];
        const ssize_t got = read(m_output, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        m_pending.append(buffer, static_cast<std::size_t>(got));
    }
}

int CChildProcess::Wait(int timeoutMs)
{
    if (m_pid <= 0)
        return -1;
    bool exited = false;
    int status = WaitForChild(m_pid, timeoutMs, exited);
    if (!exited) {
        kill(m_pid, SIGKILL);
        WaitForChild(m_pid, 3000, exited);
        status = -1;
    }
    m_pid = -1;
    return status;
}

bool CLayerOnXvfb::Start()
{
    if (!m_server.Start()) {
        m_error = m_server.Error();
        return false;
    }
    auto display = std::make_unique<Display::CX11Display>();
    if (!display->Open(m_server.Name())) {
        m_error = "the X11 display could not open " + m_server.Name();
        return false;
    }
    Display::ReplaceDisplay(std::move(display));
    m_replaced = true;
    return true;
}

CLayerOnXvfb::~CLayerOnXvfb()
{
    // The display goes before the server it talks to.
    if (m_replaced)
        Display::ReplaceDisplay(nullptr);
}

}
