// The program started where no display can be opened: it must end at once
// with one line that names the display and a failing status, instead of
// running headless with a dialog nobody can see or answer.
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct tFinished {
    bool ended = false;  // false: still running at the deadline (then killed)
    int status = -1;
    std::string errorOutput;
    std::chrono::milliseconds took{0};
};

// Runs the program with exactly the given environment; its standard error is
// collected until it ends or the deadline passes.
tFinished RunProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                     std::chrono::milliseconds deadline)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv{const_cast<char*>(CORVANE_PROGRAM)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, CORVANE_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    tFinished result;
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        throw std::runtime_error("cannot start " CORVANE_PROGRAM);
    }
    for (bool open = true; open;) {
        const auto left = deadline - (std::chrono::steady_clock::now() - start);
        pollfd readable{pipeEnds[0], POLLIN, 0};
        if (left <= std::chrono::milliseconds(0)
            || ::poll(&readable, 1, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count())) <= 0)
            break;
        char buffer[512];
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        open = got > 0;
        if (open)
            result.errorOutput.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    while (std::chrono::steady_clock::now() - start < deadline && !result.ended) {
        result.ended = ::waitpid(child, &result.status, WNOHANG) == child;
        if (!result.ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (!result.ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &result.status, 0);
    }
    return result;
}

struct tNoDisplayCase {
    const char* what;
    std::vector<std::string> arguments;
    const char* display;       // nullptr: DISPLAY not set
    const char* lineNames;     // what the one line must name
};

class CorvaneWithoutDisplay : public ::testing::TestWithParam<tNoDisplayCase> {
protected:
    TestSupport::CTempFolder m_Config;
};

TEST_P(CorvaneWithoutDisplay, EndsAtOnceWithOneLineNamingTheDisplay)
{
    const tNoDisplayCase& c = GetParam();
    std::vector<std::string> environment{"XDG_CONFIG_HOME=" + m_Config.Path().string(), "HOME=" + m_Config.Path().string(),
                                         "PATH=/usr/bin:/bin"};
    if (c.display != nullptr)
        environment.push_back(std::string("DISPLAY=") + c.display);
    for (const char* kept : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(kept))
            environment.push_back(std::string(kept) + "=" + value);
    // Sanitized builds start slower; a hang still shows at once.
    const tFinished run = RunProgram(c.arguments, environment, std::chrono::seconds(20));
    ASSERT_TRUE(run.ended) << "still running after " << run.took.count() << " ms";
    EXPECT_LT(run.took, std::chrono::seconds(5));
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_NE(WEXITSTATUS(run.status), 0);
    ASSERT_FALSE(run.errorOutput.empty());
    EXPECT_EQ(run.errorOutput.find('\n'), run.errorOutput.size() - 1) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(c.lineNames), std::string::npos) << run.errorOutput;
}

INSTANTIATE_TEST_SUITE_P(Starts, CorvaneWithoutDisplay, ::testing::Values(
    tNoDisplayCase{"help_unset", {"--help"}, nullptr, "DISPLAY"},
    tNoDisplayCase{"plain_unset", {}, nullptr, "DISPLAY"},
    tNoDisplayCase{"help_no_server", {"--help"}, ":9731", ":9731"},
    tNoDisplayCase{"question_no_server", {"/?"}, ":9731", ":9731"},
    tNoDisplayCase{"offline_file_no_server", {"/PARAMFILE:/nowhere/Pr\xC3\xBC" "fung.wes", "/ArticleNumber:612-001"},
                   ":9731.0", ":9731.0"}),
    [](const ::testing::TestParamInfo<tNoDisplayCase>& info) { return std::string(info.param.what); });

}  // namespace
