#include "Platform/Base/Environment.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

std::wstring Variable(const wchar_t* name)
{
    std::vector<wchar_t> buffer(512);
    const DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

// Restores an environment variable at the end of a test.
class VariableScope {
public:
    explicit VariableScope(const char* name) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
    }
    ~VariableScope()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

TEST(Environment, SetGetAndRemove)
{
    VariableScope scope("ZELL_TEST_VARIABLE");
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", L"Ger\u00e4t \u65e5"));
    EXPECT_EQ(Variable(L"ZELL_TEST_VARIABLE"), L"Ger\u00e4t \u65e5");
    EXPECT_STREQ(std::getenv("ZELL_TEST_VARIABLE"), "Ger\xc3\xa4t \xe6\x97\xa5"); // UTF-8 outside

    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", L""));
    wchar_t buffer[4] = {L'#'};
    SetLastError(ERROR_GEN_FAILURE);
    EXPECT_EQ(GetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", buffer, 4), 0u);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS); // set, but empty

    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", nullptr));
    EXPECT_EQ(GetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", buffer, 4), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
    EXPECT_EQ(GetEnvironmentVariableW(L"zell_test_variable", buffer, 4), 0u);
}

TEST(Environment, SmallBufferGetsTheNeededSizeAndNoText)
{
    VariableScope scope("ZELL_TEST_VARIABLE");
    SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", L"abcdef");
    wchar_t buffer[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(GetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", buffer, 6), 7u);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(GetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", nullptr, 0), 7u);
    wchar_t exact[7];
    EXPECT_EQ(GetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", exact, 7), 6u);
    EXPECT_STREQ(exact, L"abcdef");
}

TEST(Environment, BadNamesAreRefused)
{
    EXPECT_FALSE(SetEnvironmentVariableW(L"A=B", L"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetEnvironmentVariableW(L"", L"x"));
    EXPECT_FALSE(SetEnvironmentVariableW(nullptr, L"x"));
    EXPECT_EQ(GetEnvironmentVariableW(nullptr, nullptr, 0), 0u);
}

TEST(Environment, DupenvCopiesOrGivesNull)
{
    VariableScope scope("ZELL_TEST_VARIABLE");
    SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", L"x\u00e9");
    char* narrow = nullptr;
    std::size_t length = 0;
    ASSERT_EQ(_dupenv_s(&narrow, &length, "ZELL_TEST_VARIABLE"), 0);
    EXPECT_STREQ(narrow, "x\xc3\xa9");
    EXPECT_EQ(length, 4u);
    std::free(narrow);
    wchar_t* wide = nullptr;
    ASSERT_EQ(_wdupenv_s(&wide, &length, L"ZELL_TEST_VARIABLE"), 0);
    EXPECT_STREQ(wide, L"x\u00e9");
    EXPECT_EQ(length, 3u);
    std::free(wide);

    SetEnvironmentVariableW(L"ZELL_TEST_VARIABLE", nullptr);
    narrow = reinterpret_cast<char*>(&length);
    EXPECT_EQ(_dupenv_s(&narrow, &length, "ZELL_TEST_VARIABLE"), 0);
    EXPECT_EQ(narrow, nullptr);
    EXPECT_EQ(length, 0u);
}

TEST(Environment, TempPathEndsWithASlash)
{
    VariableScope scope("TMPDIR");
    wchar_t buffer[MAX_PATH];
    setenv("TMPDIR", "/var/zell-tmp", 1);
    EXPECT_EQ(GetTempPathW(MAX_PATH, buffer), 14u);
    EXPECT_STREQ(buffer, L"/var/zell-tmp/");
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempPathW(MAX_PATH, buffer), 5u);
    EXPECT_STREQ(buffer, L"/tmp/");
    EXPECT_EQ(GetTempPathW(5, buffer), 6u); // needs room for the terminator
}

TEST(Environment, CurrentDirectory)
{
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::wstring expected(cwd, cwd + std::strlen(cwd)); // test folders are ASCII
    std::vector<wchar_t> buffer(expected.size() + 1);
    EXPECT_EQ(GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data()), expected.size());
    EXPECT_EQ(std::wstring(buffer.data()), expected);
    EXPECT_EQ(GetCurrentDirectoryW(static_cast<DWORD>(expected.size()), buffer.data()), expected.size() + 1);
}

}
