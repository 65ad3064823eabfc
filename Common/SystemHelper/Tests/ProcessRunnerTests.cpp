#include "Common/SystemHelper/System/ProcessRunner.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

TEST(ProcessRunner, RunsToTheEndWithEachArgumentWhole)
{
    const TestSupport::CTempFolder folder("zell-runner");
    const std::filesystem::path out = folder / "out.txt";
    std::wstring error = L"kept: ";
    const std::wstring script = L"sleep 0.2; printf '%s|' \"$@\" > " + Text::Utf8ToWide(out.string());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(RunProcess(L"/bin/sh", {L"-c", script, L"sh", L"two words", L"\u00e4"}, error));
    // It has ended: waited for, and its output is complete.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(error, L"kept: ");
    EXPECT_EQ(folder.Read("out.txt"), "two words|\xc3\xa4|");
}

TEST(ProcessRunner, EndedWithFailureStillCountsAsRun)
{
    std::wstring error;
    EXPECT_TRUE(RunProcess(L"false", {}, error));
    EXPECT_EQ(error, L"");
}

TEST(ProcessRunner, MissingProgramAppendsTheSystemMessage)
{
    std::wstring error = L"Start: ";
    EXPECT_FALSE(RunProcess(L"/nonexistent/zell-no-such-program", {L"x"}, error));
    EXPECT_EQ(error, L"Start: " + Text::Utf8ToWide(std::strerror(ENOENT)));

    std::wstring second;
    EXPECT_FALSE(RunProcess(L"", {}, second));
    EXPECT_FALSE(second.empty());
}

TEST(ProcessRunner, ChildInheritsNoOpenDescriptors)
{
    // Without close-on-exec this descriptor would reach the child.
    const int fd = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(fd, 3);
    const TestSupport::CTempFolder folder("zell-runner");
    const std::filesystem::path out = folder / "out.txt";
    std::wstring error;
    const std::wstring script = L"if [ -e /proc/self/fd/" + std::to_wstring(fd) + L" ]; then echo open; else echo closed; fi > "
        + Text::Utf8ToWide(out.string());
    EXPECT_TRUE(RunProcess(L"/bin/sh", {L"-c", script}, error));
    ::close(fd);
    std::ifstream stream(out);
    std::string text;
    std::getline(stream, text);
    EXPECT_EQ(text, "closed");
}
