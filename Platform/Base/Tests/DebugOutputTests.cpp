#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Tests/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class DebugOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("zell-debug-output-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }

    void TearDown() override
    {
        ::unsetenv("ZELL_DEBUG_OUTPUT");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }

    static std::string ReadFile(const std::string& path) { return TestSupport::ReadFile(path); }

    std::filesystem::path m_folder;
};

}

TEST_F(DebugOutputTest, SilentWithoutTheVariable)
{
    ::unsetenv("ZELL_DEBUG_OUTPUT");
    testing::internal::CaptureStderr();
    OutputDebugStringW(L"nobody hears this\n");
    OutputDebugStringA("nor this\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(DebugOutputTest, StandardErrorGetsUtf8Lines)
{
    ::setenv("ZELL_DEBUG_OUTPUT", "stderr", 1);
    testing::internal::CaptureStderr();
    OutputDebugStringW(L"Ger\u00e4t bereit\n");
    OutputDebugString(L"no line feed");
    OutputDebugStringA("narrow\n");
    OutputDebugStringW(nullptr);
    OutputDebugStringA("");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ger\xc3\xa4t bereit\nno line feed\nnarrow\n");
}

TEST_F(DebugOutputTest, FileIsAppendedAndFollowsTheVariable)
{
    const std::string first = PathOf("first.log");
    const std::string second = PathOf("second.log");
    { std::ofstream(first) << "kept\n"; }
    ::setenv("ZELL_DEBUG_OUTPUT", first.c_str(), 1);
    OutputDebugStringW(L"one\n");
    ::setenv("ZELL_DEBUG_OUTPUT", second.c_str(), 1);
    OutputDebugStringW(L"two\n");
    ::unsetenv("ZELL_DEBUG_OUTPUT");
    OutputDebugStringW(L"three\n");
    EXPECT_EQ(ReadFile(first), "kept\none\n");
    EXPECT_EQ(ReadFile(second), "two\n");
}

TEST_F(DebugOutputTest, FileRemovedUnderTheSameNameIsMadeAgain)
{
    const std::string path = PathOf("trace.log");
    ::setenv("ZELL_DEBUG_OUTPUT", path.c_str(), 1);
    OutputDebugStringW(L"before\n");
    std::filesystem::remove(path);
    OutputDebugStringW(L"after\n");
    EXPECT_EQ(ReadFile(path), "after\n");
}

TEST_F(DebugOutputTest, UnwritablePathIsIgnored)
{
    ::setenv("ZELL_DEBUG_OUTPUT", PathOf("missing/folder/out.log").c_str(), 1);
    OutputDebugStringW(L"dropped\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
}

TEST_F(DebugOutputTest, LinesOfManyThreadsStayWhole)
{
    const std::string path = PathOf("threads.log");
    ::setenv("ZELL_DEBUG_OUTPUT", path.c_str(), 1);
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    const std::wstring padding(300, L'.');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &padding] {
            for (int i = 0; i < kLines; ++i) {
                const std::wstring line =
                    L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(i) + L" " + padding + L"|\n";
                OutputDebugStringW(line.c_str());
            }
        });
    }
    for (auto& thread : threads)
        thread.join();

    std::istringstream lines(ReadFile(path));
    std::map<int, int> nextLine;
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        int thread = -1;
        int index = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d", &thread, &index), 2) << line;
        ASSERT_EQ(line.size(), line.find(' ', line.find("line ") + 5) + 1 + 300 + 1) << line;
        EXPECT_EQ(line.back(), '|');
        // Each thread's lines come in its own order.
        EXPECT_EQ(index, nextLine[thread]++);
        ++count;
    }
    EXPECT_EQ(count, kThreads * kLines);
}
