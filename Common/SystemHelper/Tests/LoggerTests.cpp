#include "Common/SystemHelper/System/AutoLock.h"
#include "Common/SystemHelper/Logging/DefaultLogger.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "LanguageSupportTestFiles.h"
#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/Thread.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string ReadFile(const std::wstring& path) { return TestSupport::ReadFile(Text::WideToUtf8(path)); }

std::wstring FileConfiguration(const std::wstring& path, const std::wstring& extra = L"")
{
    return L"<Configuration outFile=\"" + path + L"\" " + extra + L"/>";
}

// Routes the debug trace into a file for the test's duration.
class DebugCapture : public TestSupport::CDebugOutputFile {
public:
    DebugCapture() { SetDebugTraceEnabled(true); }
    ~DebugCapture() { SetDebugTraceEnabled(false); }
};

const std::regex kLinePrefix(R"(\[\d{4}-\d{2}-\d{2} [ \d]\d:\d{2}:\d{2}\.\d{3}\] \[TID=\d+\] )");

}

TEST(AutoLock, HoldsUntilScopeEndOrUnlock)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    {
        CAutoLock lock(&section);
        EXPECT_EQ(section.Owner(), GetCurrentThreadId());
        bool takenElsewhere = true;
        std::thread([&] { takenElsewhere = TryEnterCriticalSection(&section) != FALSE; }).join();
        EXPECT_FALSE(takenElsewhere);
        lock.Unlock();
        EXPECT_EQ(section.Owner(), 0u);
        lock.Unlock();
    }
    EXPECT_EQ(section.Owner(), 0u);
    {
        // Re-entrant for its owner, as the loaders rely on.
        CAutoLock outer(&section);
        CAutoLock inner(&section);
        EXPECT_EQ(section.RecursionCount(), 2);
    }
    EXPECT_EQ(section.Owner(), 0u);
    DeleteCriticalSection(&section);
}

TEST(DefaultLogger, SilentUntilConfigured)
{
    CDefaultLogger logger;
    EXPECT_FALSE(logger.Write(L"text"));
    EXPECT_FALSE(logger.Log(1, L"", L"a", L"b", L"c"));
    EXPECT_EQ(logger.GetLevel(), LOG_LEVEL_WARNING);
}

TEST(DefaultLogger, FileLinesHaveTimeStampAndThreadId)
{
    ScratchFolder folder;
    const std::wstring path = folder.Path("log.txt");
    CDefaultLogger logger;
    ASSERT_TRUE(logger.Configure(FileConfiguration(path, L"truncate=\"1\"")));
    EXPECT_TRUE(logger.Write(L"hello Ä"));
    const std::string text = ReadFile(path);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(text, match, kLinePrefix)) << text;
    EXPECT_EQ(match.position(0), 0);
    EXPECT_EQ(text.substr(static_cast<std::size_t>(match.length(0))), "hello Ä\n");
    EXPECT_NE(text.find("[TID=" + std::to_string(GetCurrentThreadId()) + "] "), std::string::npos);
}

TEST(DefaultLogger, LevelFilterAndEntryFormat)
{
    ScratchFolder folder;
    const std::wstring path = folder.Path("log.txt");
    CDefaultLogger logger;
    ASSERT_TRUE(logger.Configure(FileConfiguration(path)));
    EXPECT_TRUE(logger.Log(2, L"", L"one", L"two", L"three"));
    EXPECT_TRUE(logger.Log(1, L"Net", L"a", L"", L"c"));
    EXPECT_FALSE(logger.Log(3, L"Net", L"hidden", L"", L""));
    const std::string text = std::regex_replace(ReadFile(path), kLinePrefix, "");
    EXPECT_EQ(text, "Level: 2\none\ntwo\nthree\nLevel: 1, Net\na\n\nc\n");
}

TEST(DefaultLogger, TruncateOrAppend)
{
    ScratchFolder folder;
    const std::wstring path = folder.Write("log.txt", "old line\n");
    {
        CDefaultLogger logger;
        ASSERT_TRUE(logger.Configure(FileConfiguration(path, L"truncate=\"0\"")));
        logger.Write(L"new");
    }
    EXPECT_EQ(ReadFile(path).rfind("old line\n", 0), 0u);
    {
        // Only exactly "1" truncates.
        CDefaultLogger logger;
        ASSERT_TRUE(logger.Configure(FileConfiguration(path, L"truncate=\"true\"")));
    }
    EXPECT_EQ(ReadFile(path).rfind("old line\n", 0), 0u);
    {
        CDefaultLogger logger;
        // The first truncate attribute anywhere decides.
        ASSERT_TRUE(logger.Configure(L"<Root><Other truncate=\"1\"/><Configuration outFile=\"" + path + L"\"/></Root>"));
        logger.Write(L"only");
    }
    EXPECT_EQ(std::regex_replace(ReadFile(path), kLinePrefix, ""), "only\n");
}

TEST(DefaultLogger, ConfiguredOnceOnly)
{
    ScratchFolder folder;
    const std::wstring first = folder.Path("first.txt");
    const std::wstring second = folder.Path("second.txt");
    CDefaultLogger logger;
    ASSERT_TRUE(logger.Configure(FileConfiguration(first, L"logLevel=\"LOG_LEVEL_TRACE\"")));
    EXPECT_TRUE(logger.Configure(FileConfiguration(second, L"logLevel=\"1\"")));
    EXPECT_EQ(logger.GetLevel(), LOG_LEVEL_TRACE);
    logger.Write(L"x");
    EXPECT_FALSE(ReadFile(first).empty());
    EXPECT_FALSE(std::filesystem::exists(Text::WideToUtf8(second)));
}

TEST(DefaultLogger, LevelNamesNumbersAndBadLevels)
{
    struct Case {
        const wchar_t* text;
        int level;
    };
    const Case cases[] = {
        {L"LOG_LEVEL_INFO", 3}, {L"3", 3}, {L"LOG_LEVEL_LIBRARY_TRACE", 5}, {L"5", 5}, {L"LOG_LEVEL_ERROR", 1},
        {L"log_level_info", 1}, {L"7", 1}, {L"0", 1}, {L"", 1}, {L"-3", 1}, {L"99999999999999", 1}, {L"bogus", 1},
    };
    for (const Case& c : cases) {
        CDefaultLogger logger;
        EXPECT_TRUE(logger.Configure(std::wstring(L"<Configuration logLevel=\"") + c.text + L"\"/>"));
        EXPECT_EQ(logger.GetLevel(), c.level) << Text::WideToUtf8(c.text);
    }
    CDefaultLogger untouched;
    EXPECT_TRUE(untouched.Configure(L"<Configuration/>"));
    EXPECT_EQ(untouched.GetLevel(), LOG_LEVEL_WARNING);
}

TEST(DefaultLogger, BadConfigurationChangesNothing)
{
    ScratchFolder folder;
    CDefaultLogger logger;
    EXPECT_FALSE(logger.Configure(L"<Configuration logLevel='5'"));
    EXPECT_FALSE(logger.Configure(L""));
    EXPECT_EQ(logger.GetLevel(), LOG_LEVEL_WARNING);
    EXPECT_FALSE(logger.Write(L"x"));
    // A file that cannot be opened keeps the logger silent but the level set.
    EXPECT_FALSE(logger.Configure(FileConfiguration(folder.Path("no/such/dir/log.txt"), L"logLevel=\"4\"")));
    EXPECT_EQ(logger.GetLevel(), LOG_LEVEL_TRACE);
    EXPECT_FALSE(logger.Write(L"x"));
    EXPECT_FALSE(logger.Configure(FileConfiguration(L"")));
    // It may still be configured later.
    EXPECT_TRUE(logger.Configure(FileConfiguration(folder.Path("log.txt"))));
    EXPECT_TRUE(logger.Write(L"x"));
}

TEST(DefaultLogger, DebugOutputPassesPercentUnchanged)
{
    DebugCapture capture;
    CDefaultLogger logger;
    ASSERT_TRUE(logger.Configure(L"<Configuration logLevel=\"LOG_LEVEL_INFO\"/>"));
    EXPECT_EQ(logger.GetLevel(), LOG_LEVEL_INFO);
    EXPECT_TRUE(logger.Write(L"100% %s %d %n done"));
    const std::string text = capture.Read();
    EXPECT_NE(text.find("100% %s %d %n done\n"), std::string::npos) << text;
    std::smatch match;
    EXPECT_TRUE(std::regex_search(text, match, kLinePrefix));
}

TEST(DefaultLogger, BadLevelLeavesATrace)
{
    DebugCapture capture;
    CDefaultLogger logger;
    logger.Configure(L"<Configuration logLevel=\"LOUD\"/>");
    EXPECT_NE(capture.Read().find("unknown log level 'LOUD'"), std::string::npos);
}

TEST(DefaultLogger, LinesOfManyThreadsDoNotMix)
{
    ScratchFolder folder;
    const std::wstring path = folder.Path("log.txt");
    CDefaultLogger logger;
    ASSERT_TRUE(logger.Configure(FileConfiguration(path, L"logLevel=\"5\"")));
    constexpr int kThreads = 4;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < kLines; ++i)
                logger.Write(FormatW(L"thread %d line %d", t, i));
        });
    }
    for (auto& thread : threads)
        thread.join();
    std::istringstream lines(ReadFile(path));
    std::string line;
    int count = 0;
    const std::regex whole(R"(\[[^\]]+\] \[TID=\d+\] thread \d line \d+)");
    while (std::getline(lines, line)) {
        EXPECT_TRUE(std::regex_match(line, whole)) << line;
        ++count;
    }
    EXPECT_EQ(count, kThreads * kLines);
}

TEST(LoggerInForce, SetLoggerAndRestore)
{
    class Recorder : public CLogger {
    public:
        bool Write(const _bstr_t& text) override
        {
            m_last = text.wstr();
            return true;
        }
        bool Log(int, const _bstr_t&, const _bstr_t&, const _bstr_t&, const _bstr_t&) override { return true; }
        bool Configure(const _bstr_t&) override { return true; }
        std::wstring m_last;
    } recorder;
    EXPECT_EQ(&GetLogger(), static_cast<CLogger*>(&GetDefaultLogger()));
    SetLogger(&recorder);
    GetLogger().Write(L"routed");
    EXPECT_EQ(recorder.m_last, L"routed");
    SetLogger(nullptr);
    EXPECT_EQ(&GetLogger(), static_cast<CLogger*>(&GetDefaultLogger()));
}
