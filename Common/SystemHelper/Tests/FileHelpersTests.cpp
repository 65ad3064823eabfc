#include "Common/SystemHelper/System/FileHelpers.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileHelpersTest : public ::testing::Test {
protected:
    // A folder the test locked is opened again, so that it can be removed.
    void TearDown() override
    {
        std::error_code error;
        fs::permissions(m_dir / "locked", fs::perms::owner_all, error);
    }
    std::wstring W(const std::string& relative) const { return m_wdir + L"/" + Text::Utf8ToWide(relative); }
    void Touch(const std::string& relative, const std::string& content = "x") const
    {
        std::ofstream(m_dir / relative, std::ios::binary) << content;
    }

    TestSupport::CTempFolder m_folder{"zell-files"};
    fs::path m_dir = m_folder.Path();
    std::wstring m_wdir = Text::Utf8ToWide(m_dir.string());
};

}

TEST_F(FileHelpersTest, TextFilesRoundTripAndWriteFailureIsReported)
{
    const std::wstring path = W("Ger\xc3\xa4t.txt");
    const std::wstring text = L"Zeile 1\nGer\u00e4t \u65e5\u672c\n";
    EXPECT_TRUE(WriteTextFile(path, text));
    EXPECT_EQ(ReadTextFile(path), text);
    EXPECT_TRUE(WriteTextFile(path, L"short"));
    EXPECT_EQ(ReadTextFile(path), L"short");

    EXPECT_FALSE(WriteTextFile(W("missing/folder/file.txt"), L"lost"));
    EXPECT_FALSE(WriteTextFile(m_wdir, L"a folder"));
    EXPECT_EQ(ReadTextFile(W("nothing.txt")), L"");
}

TEST_F(FileHelpersTest, FileNameFromPathSplitsAtBothSeparators)
{
    EXPECT_EQ(GetFileNameFromPath(L"/home/user/Config.XML"), L"Config.XML");
    EXPECT_EQ(GetFileNameFromPath(L"C:\\Data\\ file.txt "), L"file.txt");
    EXPECT_EQ(GetFileNameFromPath(L"dir/sub\\name"), L"name");
    EXPECT_EQ(GetFileNameFromPath(L"folder/"), L"folder");
    EXPECT_EQ(GetFileNameFromPath(L""), L"");
    EXPECT_EQ(GetFileNameFromPath(L"///"), L"");
}

TEST_F(FileHelpersTest, CreateDirectoryPathStaysAbsoluteAndKeepsCase)
{
    const std::wstring path = W("One/Two\\Three");
    const char* previous = ::getenv("PWD");
    (void)previous;
    EXPECT_TRUE(CreateDirectoryPath(path));
    EXPECT_TRUE(fs::is_directory(m_dir / "One" / "Two" / "Three"));
    EXPECT_FALSE(fs::exists(fs::current_path() / m_dir.relative_path()));

    // Existing path: true, nothing new.
    const auto before = std::distance(fs::recursive_directory_iterator(m_dir), fs::recursive_directory_iterator());
    EXPECT_TRUE(CreateDirectoryPath(path));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(m_dir), fs::recursive_directory_iterator()), before);

    // A file in the way makes the creation fail.
    Touch("Blocker");
    EXPECT_FALSE(CreateDirectoryPath(W("Blocker/Inner")));
}

TEST_F(FileHelpersTest, FindFilesMatchesTheTextAfterTheFirstDot)
{
    Touch("a.XML");
    Touch("a.b.xml");
    Touch(".hidden.xml");
    Touch("plain");
    fs::create_directories(m_dir / "sub" / "deeper");
    Touch("sub/c.xml");
    Touch("sub/deeper/d.Xml");
    fs::create_directory_symlink(m_dir, m_dir / "sub" / "loop");

    std::vector<std::wstring> flat;
    EXPECT_EQ(FindFiles(flat, m_wdir, L"xml", false), 0u);
    ASSERT_EQ(flat.size(), 1u);
    EXPECT_EQ(flat[0], W("a.XML"));

    std::vector<std::wstring> deep;
    EXPECT_EQ(FindFiles(deep, m_wdir, L"XML", true), 0u);
    std::sort(deep.begin(), deep.end());
    const std::vector<std::wstring> expected = {W("a.XML"), W("sub/c.xml"), W("sub/deeper/d.Xml")};
    EXPECT_EQ(deep, expected);

    std::vector<std::wstring> none;
    EXPECT_EQ(FindFiles(none, W("absent"), L"xml", true), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(none.empty());
}

TEST_F(FileHelpersTest, SizesExistenceCopyAndMove)
{
    Touch("five", "12345");
    EXPECT_TRUE(FileExists(W("five")));
    EXPECT_TRUE(PathExists(m_wdir));
    EXPECT_FALSE(FileExists(W("six")));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_EQ(GetFileSizeByPath(W("five")), 5);
    EXPECT_EQ(GetFileSizeByPath(W("six")), -1);
    LONGLONG size = -7;
    EXPECT_EQ(GetFileSize64(W("five"), size), 1);
    EXPECT_EQ(size, 5);
    size = -7;
    EXPECT_EQ(GetFileSize64(W("six"), size), 0);
    EXPECT_EQ(size, -7);

    EXPECT_TRUE(CopyFileTo(W("five"), W("copy"), true));
    Touch("other", "abc");
    EXPECT_FALSE(CopyFileTo(W("other"), W("copy"), true));
    EXPECT_EQ(ReadTextFile(W("copy")), L"12345");
    EXPECT_TRUE(CopyFileTo(W("other"), W("copy"), false));
    EXPECT_EQ(ReadTextFile(W("copy")), L"abc");

    // A move never replaces what is there.
    EXPECT_FALSE(MoveFileTo(W("five"), W("copy")));
    EXPECT_EQ(ReadTextFile(W("copy")), L"abc");
    EXPECT_TRUE(MoveFileTo(W("five"), W("moved")));
    EXPECT_FALSE(FileExists(W("five")));
    EXPECT_EQ(ReadTextFile(W("moved")), L"12345");
    EXPECT_FALSE(MoveFileTo(W("five"), W("again")));
}

TEST_F(FileHelpersTest, DeleteDirectoryFilesLeavesSubFoldersAndDotFiles)
{
    fs::create_directories(m_dir / "del" / "inner");
    Touch("del/a");
    Touch("del/b.txt");
    EXPECT_FALSE(DeleteDirectoryFiles(W("del")));
    EXPECT_FALSE(fs::exists(m_dir / "del" / "a"));
    EXPECT_TRUE(fs::exists(m_dir / "del" / "inner"));

    fs::create_directories(m_dir / "dot");
    Touch("dot/.keep");
    Touch("dot/gone");
    EXPECT_FALSE(DeleteDirectoryFiles(W("dot")));
    EXPECT_TRUE(fs::exists(m_dir / "dot" / ".keep"));

    fs::create_directories(m_dir / "flat");
    Touch("flat/x");
    EXPECT_TRUE(DeleteDirectoryFiles(W("flat")));
    EXPECT_FALSE(fs::exists(m_dir / "flat"));
    EXPECT_FALSE(DeleteDirectoryFiles(W("flat")));
}

TEST_F(FileHelpersTest, EnvironmentAndFolders)
{
    ::setenv("ZELL_FILEHELPER_TEST", "Wert \xc3\xa4", 1);
    EXPECT_EQ(GetEnvironmentText(L"ZELL_FILEHELPER_TEST"), L"Wert \u00e4");
    ::unsetenv("ZELL_FILEHELPER_TEST");
    EXPECT_EQ(GetEnvironmentText(L"ZELL_FILEHELPER_TEST"), L"");
    EXPECT_EQ(GetEnvironmentText(L""), L"");

    const std::wstring temp = GetTempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'/');
    EXPECT_EQ(GetCurrentDirectoryText(), Text::Utf8ToWide(fs::current_path().string()));
}
