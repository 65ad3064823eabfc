#include "Platform/Base/LastError.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Files/File.h"
#include "Platform/Framework/Files/FileFind.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Files/StdioFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class FileTest : public ::testing::Test {
protected:
    CString Path(const std::string& name) const { return CString(Text::Utf8ToWide((m_Folder / name).string())); }
    void WriteRaw(const std::string& name, const std::string& bytes) const { m_Temp.Write(name, bytes); }
    std::string ReadRaw(const std::string& name) const { return m_Temp.Read(name); }

    TestSupport::CTempFolder m_Temp{"framework-files"};
    const fs::path m_Folder = fs::canonical(m_Temp.Path());  // as the working folder reports it
};

// The cause and path of the CFileException `operation` raises.
struct Failure {
    int cause = -1;
    CString fileName;
};
Failure FileFailure(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (CFileException* e) {
        Failure failure{e->m_cause, e->m_strFileName};
        e->Delete();
        return failure;
    }
    return {};
}

}  // namespace

TEST_F(FileTest, BytesRoundTripWithSeekingAndResizing)
{
    const CString path = Path("data.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
        EXPECT_EQ(file.GetFilePath(), path);
        EXPECT_EQ(file.GetFileName(), L"data.bin");
        EXPECT_EQ(file.GetFileTitle(), L"data");
        const char bytes[] = "0123456789";
        file.Write(bytes, 10);
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
        char tail[8] = {};
        EXPECT_EQ(file.Read(tail, 8), 3u) << "a read at the end returns what there is";
        EXPECT_STREQ(tail, "789");
        EXPECT_EQ(file.Read(tail, 8), 0u);
        file.SeekToBegin();
        file.Seek(2, CFile::current);
        file.Write("ab", 2);
        EXPECT_EQ(file.GetPosition(), 4u);
        file.SetLength(6);
        EXPECT_EQ(file.SeekToEnd(), 6u);
        file.SetLength(8);  // grows with zeros
        file.Flush();
        CFileStatus status;
        ASSERT_TRUE(file.GetStatus(status));
        EXPECT_EQ(status.m_size, 8u);
        EXPECT_EQ(CString(status.m_szFullName), path);
        file.Close();
        file.Close();  // a second close does nothing
    }
    EXPECT_EQ(ReadRaw("data.bin"), std::string("01ab45\0\0", 8));

    CFile append;
    ASSERT_TRUE(append.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    EXPECT_EQ(append.GetLength(), 8u) << "modeNoTruncate keeps the content";
    append.SeekToEnd();
    append.Write("Z", 1);
    append.Close();
    EXPECT_EQ(ReadRaw("data.bin").back(), 'Z');
}

TEST_F(FileTest, PathsBecomeFullAndLoseDotParts)
{
    fs::create_directory(m_Folder / "sub");
    CFile dotted(Path("sub/.././/Mixed.Case.bin"), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(dotted.GetFilePath(), Path("Mixed.Case.bin"));
    EXPECT_EQ(dotted.GetFileTitle(), L"Mixed.Case");

    const fs::path before = fs::current_path();
    fs::current_path(m_Folder / "sub");
    CFile relative;
    const BOOL opened = relative.Open(L"../Mixed.Case.bin", CFile::modeRead);
    fs::current_path(before);
    ASSERT_TRUE(opened);
    EXPECT_EQ(relative.GetFilePath(), Path("Mixed.Case.bin"));
    EXPECT_EQ(relative.GetFileName(), L"Mixed.Case.bin");
}

TEST_F(FileTest, FailuresNameTheirCauseAndPath)
{
    const CString missing = Path("Missing.TXT");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(missing, CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, missing) << "the path as given, case kept";
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    const Failure thrown = FileFailure([&] { CFile opened(missing, CFile::modeRead); });
    EXPECT_EQ(thrown.cause, CFileException::fileNotFound);
    EXPECT_EQ(thrown.fileName, missing);

    EXPECT_EQ(FileFailure([&] { CFile(Path("no/such/folder/x"), CFile::modeCreate | CFile::modeWrite); }).cause,
              CFileException::fileNotFound);
    EXPECT_EQ(FileFailure([&] { CFile(Path(""), CFile::modeRead); }).cause, CFileException::accessDenied)
        << "a folder is not a file";
    EXPECT_EQ(FileFailure([&] { CFile(L"", CFile::modeRead); }).cause, CFileException::badPath);

    WriteRaw("read-only.bin", "abc");
    CFile reader(Path("read-only.bin"), CFile::modeRead);
    EXPECT_EQ(FileFailure([&] { reader.Write("x", 1); }).cause, CFileException::accessDenied);
    EXPECT_EQ(FileFailure([&] { reader.Seek(-1, CFile::begin); }).cause, CFileException::badSeek);
    reader.Close();
    EXPECT_EQ(FileFailure([&] { reader.Read(nullptr, 0); }).cause, CFileException::invalidFile)
        << "a closed file refuses to be used";
}

TEST_F(FileTest, RenameNeverReplacesAndRemoveReportsMissingFiles)
{
    WriteRaw("a.txt", "A");
    WriteRaw("b.txt", "B");
    const Failure exists = FileFailure([&] { CFile::Rename(Path("a.txt"), Path("b.txt")); });
    EXPECT_EQ(exists.cause, CFileException::accessDenied);
    EXPECT_EQ(exists.fileName, Path("a.txt"));
    EXPECT_EQ(ReadRaw("b.txt"), "B");
    CFile::Rename(Path("a.txt"), Path("c.txt"));
    EXPECT_EQ(ReadRaw("c.txt"), "A");
    CFile::Remove(Path("c.txt"));
    EXPECT_FALSE(fs::exists(m_Folder / "c.txt"));
    EXPECT_EQ(FileFailure([&] { CFile::Remove(Path("c.txt")); }).cause, CFileException::fileNotFound);
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus(Path("c.txt"), status));
    ASSERT_TRUE(CFile::GetStatus(Path("b.txt"), status));
    EXPECT_EQ(status.m_size, 1u);
}

TEST_F(FileTest, TextLinesReadWithEitherLineEndAndWriteAsGiven)
{
    WriteRaw("in.txt", "first\r\nzweite Zeile \xC3\xA4\nlast");
    CStdioFile in(Path("in.txt"), CFile::modeRead);
    CString line;
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(line, L"first");
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(line, L"zweite Zeile \u00e4");
    EXPECT_EQ(in.GetPosition(), 23u) << "the position is the reader's, not the read-ahead's";
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(line, L"last") << "a last line without its end";
    EXPECT_FALSE(in.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    in.SeekToBegin();
    wchar_t buffer[4];
    ASSERT_NE(in.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, L"fir");
    ASSERT_NE(in.ReadString(buffer, 4), nullptr);
    EXPECT_STREQ(buffer, L"st\n") << "the rest of the cut line, then its end";
    try {
        in.ReadString(buffer, 1);
        FAIL() << "a buffer without room for a character would never move on";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    char raw[3] = {};
    EXPECT_EQ(in.Read(raw, 2), 2u) << "bytes and lines mix";
    EXPECT_STREQ(raw, "zw");
    in.Close();

    {
        CStdioFile out(Path("out.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        out.WriteString(L"eins\n");
        out.WriteString(L"\u00fc\n");
    }
    EXPECT_EQ(ReadRaw("out.txt"), "eins\n\xC3\xBC\n");

    WriteRaw("binary.txt", "a\r\nb");
    CStdioFile binary(Path("binary.txt"), CFile::modeRead | CFile::typeBinary);
    ASSERT_TRUE(binary.ReadString(line));
    EXPECT_EQ(line, L"a\r") << "binary mode keeps the carriage return";
}

TEST_F(FileTest, FindWalksMatchingEntriesInNameOrder)
{
    WriteRaw("b.TXT", "12345");
    WriteRaw("a.txt", "1");
    WriteRaw("c.log", "");
    WriteRaw("noext", "");
    fs::create_directory(m_Folder / "sub.txt");

    CFileFind finder;
    std::vector<std::wstring> names;
    for (BOOL more = finder.FindFile(Path("*.txt")); more;) {
        more = finder.FindNextFile();
        names.push_back(finder.GetFileName().GetString());
        if (finder.GetFileName() == L"b.TXT") {
            EXPECT_EQ(finder.GetLength(), 5u);
            EXPECT_EQ(finder.GetFileTitle(), L"b");
            EXPECT_EQ(finder.GetFilePath(), Path("b.TXT"));
            FILETIME written{};
            EXPECT_TRUE(finder.GetLastWriteTime(&written));
            EXPECT_NE(written.dwHighDateTime, 0u);
        }
        if (finder.GetFileName() == L"sub.txt") {
            EXPECT_TRUE(finder.IsDirectory());
        }
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"b.TXT", L"sub.txt"})) << "case-blind match, case kept";

    names.clear();
    for (BOOL more = finder.FindFile(Path("*.*")); more;) {
        more = finder.FindNextFile();
        if (!finder.IsDots())
            names.push_back(finder.GetFileName().GetString());
        else
            EXPECT_TRUE(finder.IsDirectory());
    }
    EXPECT_EQ(names.size(), 5u) << "*.* matches names without a dot too";

    ASSERT_TRUE(finder.FindFile(Path("?.log")));
    EXPECT_FALSE(finder.FindNextFile()) << "the only match is the last";
    EXPECT_EQ(finder.GetFileName(), L"c.log");
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);

    EXPECT_FALSE(finder.FindFile(Path("*.xml")));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(finder.FindFile(Path("gone/*")));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(finder.GetFileName().IsEmpty()) << "no entry is current after a failed search";
    EXPECT_TRUE(finder.FindFile(Path("noext")));
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFileTitle(), L"noext");

    const fs::path before = fs::current_path();
    fs::current_path(m_Folder / "sub.txt");
    const BOOL found = finder.FindFile(L"../?.txt");
    fs::current_path(before);
    ASSERT_TRUE(found);
    EXPECT_EQ(finder.GetRoot(), CString(Text::Utf8ToWide(m_Folder.string()))) << "a relative search reports full paths";
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFilePath(), Path("a.txt"));
    finder.Close();
    EXPECT_TRUE(finder.GetFilePath().IsEmpty());
}
