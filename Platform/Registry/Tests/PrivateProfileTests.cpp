#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/IniFile.h"
#include "Platform/Registry/PrivateProfile.h"
#include "Platform/Base/Tests/FileOpenCounter.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <string>

namespace {

class PrivateProfile : public ::testing::Test {
protected:
    TempConfigHome m_home;
    std::wstring m_path;

    void SetUp() override { Write("corvane.ini", std::string()); }

    void Write(const std::string& name, const std::string& bytes)
    {
        const auto file = m_home.Dir() / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        const std::string narrow = file.string();
        m_path.assign(narrow.begin(), narrow.end());
    }

    std::wstring Get(const wchar_t* section, const wchar_t* key, const wchar_t* dflt = L"EOL", DWORD size = 64,
        DWORD* result = nullptr)
    {
        std::wstring buffer(size + 1, L'#');
        const DWORD n = GetPrivateProfileStringW(section, key, dflt, buffer.data(), size, m_path.c_str());
        if (result)
            *result = n;
        EXPECT_EQ(L'#', buffer[size]) << "wrote past the buffer";
        return buffer.substr(0, n);
    }

    // The whole list as written, terminators included.
    std::wstring List(const wchar_t* section, DWORD size, DWORD& result)
    {
        std::wstring buffer(size + 1, L'#');
        result = GetPrivateProfileStringW(section, nullptr, L"", buffer.data(), size, m_path.c_str());
        EXPECT_EQ(L'#', buffer[size]);
        return buffer.substr(0, size);
    }
};

TEST_F(PrivateProfile, LookupIgnoresCaseAndBlanksAndRemovesQuotes)
{
    Write("device.ini",
        "; capability file\r\n"
        "orphan=before any section\r\n"
        "  [ 614-352 ]  \r\n"
        "  FBC =  1  \r\n"
        "Version=\"01.02.03(04)\"\r\n"
        "Single='x'\r\n"
        "Mixed=\"a'\r\n"
        ";PAGE01=hidden\r\n"
        "NoEquals\r\n"
        "Empty=\r\n"
        "[614-352]\r\n"
        "FBC=second section is never read\r\n");
    EXPECT_EQ(L"1", Get(L"614-352", L"fbc"));
    EXPECT_EQ(L"01.02.03(04)", Get(L"614-352", L"VERSION"));
    EXPECT_EQ(L"x", Get(L"614-352", L"Single"));
    EXPECT_EQ(L"\"a'", Get(L"614-352", L"Mixed"));
    EXPECT_EQ(L"EOL", Get(L"614-352", L"PAGE01"));
    EXPECT_EQ(L"", Get(L"614-352", L"Empty"));
    EXPECT_EQ(L"", Get(L"614-352", L"NoEquals"));
    EXPECT_EQ(L"EOL", Get(L"", L"orphan"));
    EXPECT_EQ(L"dflt", Get(L"Missing", L"FBC", L"dflt   "));
    EXPECT_EQ(L"", Get(L"Missing", L"FBC", nullptr));
}

TEST_F(PrivateProfile, IntegersTakeTheLeadingDecimalNumber)
{
    Write("n.ini",
        "[N]\nplain=42\nsuffix=12abc\nnegative=-7\nplus=+5\nhex=0x10\nwords=abc\nempty=\nquoted=\"9\"\n"
        "huge=4294967297\nblank=   \n");
    const auto get = [&](const wchar_t* key, int dflt = -1) {
        return GetPrivateProfileIntW(L"n", key, dflt, m_path.c_str());
    };
    EXPECT_EQ(42u, get(L"plain"));
    EXPECT_EQ(12u, get(L"suffix"));
    EXPECT_EQ(static_cast<UINT>(-7), get(L"negative"));
    EXPECT_EQ(5u, get(L"plus"));
    EXPECT_EQ(0u, get(L"hex"));
    EXPECT_EQ(0u, get(L"words"));
    EXPECT_EQ(static_cast<UINT>(-1), get(L"empty"));
    EXPECT_EQ(static_cast<UINT>(-1), get(L"blank"));
    EXPECT_EQ(9u, get(L"quoted"));
    EXPECT_EQ(1u, get(L"huge")); // wraps at 32 bits
    EXPECT_EQ(0xFFFFu, get(L"missing", 0xFFFF));
    EXPECT_EQ(3u, GetPrivateProfileIntW(L"n", L"plain", 3, L"/nonexistent/file.ini"));
}

TEST_F(PrivateProfile, TextIsCutToTheBuffer)
{
    Write("t.ini", "[S]\nkey=abcdef\n");
    DWORD n = 0;
    EXPECT_EQ(L"abc", Get(L"S", L"key", L"", 4, &n));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(L"abcdef", Get(L"S", L"key", L"", 7, &n));
    EXPECT_EQ(6u, n);
    EXPECT_EQ(L"", Get(L"S", L"key", L"", 1, &n));
    EXPECT_EQ(0u, n);
    EXPECT_EQ(L"de", Get(L"S", L"none", L"default", 3, &n));
    EXPECT_EQ(0u, GetPrivateProfileStringW(L"S", L"key", L"", nullptr, 0, m_path.c_str()));
}

TEST_F(PrivateProfile, ListsEndInTwoNulsAndAreCutWithTheirLastName)
{
    Write("l.ini", "[SUPPORTED_FBC]\nS00=1\nS01=2\n[Common]\n[MODBUS]\nkey=1\n");
    DWORD n = 0;
    EXPECT_EQ(std::wstring(L"SUPPORTED_FBC\0Common\0MODBUS\0\0", 29), List(nullptr, 29, n));
    EXPECT_EQ(28u, n);
    // One character short: the last name is cut and the list still ends in two NULs.
    EXPECT_EQ(std::wstring(L"SUPPORTED_FBC\0Common\0MODB\0\0", 27), List(nullptr, 27, n));
    EXPECT_EQ(25u, n);
    EXPECT_EQ(std::wstring(L"S00\0S01\0\0", 9), List(L"supported_fbc", 9, n));
    EXPECT_EQ(8u, n);
    EXPECT_EQ(std::wstring(L"\0\0", 2), List(L"Common", 2, n));
    EXPECT_EQ(0u, n);
    EXPECT_EQ(std::wstring(L"\0\0", 2), List(L"Nothing", 2, n));

    std::wstring section(32, L'#');
    n = GetPrivateProfileSectionW(L"SUPPORTED_FBC", section.data(), 32, m_path.c_str());
    EXPECT_EQ(12u, n);
    EXPECT_EQ(std::wstring(L"S00=1\0S01=2\0\0", 13), section.substr(0, 13));
    n = GetPrivateProfileSectionW(L"SUPPORTED_FBC", section.data(), 8, m_path.c_str());
    EXPECT_EQ(6u, n);
    std::wstring names(40, L'#');
    EXPECT_EQ(28u, GetPrivateProfileSectionNamesW(names.data(), 40, m_path.c_str()));

    // The first name fills the buffer but for the list's end: the second one
    // does not fit at all.
    Write("full.ini", "[ab]\n[c]\n");
    EXPECT_EQ(std::wstring(L"ab\0\0", 4), List(nullptr, 4, n));
    EXPECT_EQ(2u, n);
}

TEST_F(PrivateProfile, MissingFileGivesDefaultsAndFileNotFound)
{
    m_path = (m_home.Dir() / "absent.ini").wstring();
    SetLastError(0);
    EXPECT_EQ(L"EOL", Get(L"SUPPORTED_FBC", L"S00"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
    DWORD n = 7;
    EXPECT_EQ(std::wstring(L"\0\0", 2), List(nullptr, 2, n));
    EXPECT_EQ(0u, n);
}

TEST_F(PrivateProfile, FilesAreDecodedByTheirBytes)
{
    // "Gerät" in each encoding.
    Write("utf8.ini", "[S]\nk=Ger\xC3\xA4t\n");
    EXPECT_EQ(L"Ger\u00E4t", Get(L"S", L"k"));
    Write("bom.ini", "\xEF\xBB\xBF[S]\nk=Ger\xC3\xA4t\n");
    EXPECT_EQ(L"Ger\u00E4t", Get(L"S", L"k"));
    Write("latin1.ini", "[S]\nk=Ger\xE4t\n");
    EXPECT_EQ(L"Ger\u00E4t", Get(L"S", L"k"));
    const std::u16string utf16 = u"\uFEFF[S]\r\nk=Ger\u00E4t \u65E5\r\n";
    std::string bytes;
    for (const char16_t c : utf16) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    Write("utf16.ini", bytes);
    EXPECT_EQ(L"Ger\u00E4t \u65E5", Get(L"s", L"K"));
}

TEST(IniFile, DecodingPrefersValidUtf8AndFallsBackToLatin1)
{
    EXPECT_EQ(L"\u00E4", Registry::CIniFile::DecodeText("\xC3\xA4"));
    EXPECT_EQ(L"\u00C3", Registry::CIniFile::DecodeText("\xC3")); // cut sequence: Latin-1
    EXPECT_EQ(L"\u00ED\u00A0\u0080", Registry::CIniFile::DecodeText("\xED\xA0\x80")); // encoded surrogate
    EXPECT_EQ(L"", Registry::CIniFile::DecodeText(""));
}

}

namespace {

// Files are backdated as a program's own files are: settled, so their
// parse may be kept by their stamp.
void Settle(const std::wstring& path)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, std::string(path.begin(), path.end()).c_str(), times, 0));
}

TEST_F(PrivateProfile, AFileIsReadOnceWhileUnchangedAndAgainAfterAChange)
{
    Write("capabilities.ini", "[Device]\nCount=7\n");
    Settle(m_path);
    TestSupport::CFileOpenCounter opens(std::string(m_path.begin(), m_path.end()));
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(7u, GetPrivateProfileIntW(L"Device", L"Count", 0, m_path.c_str()));
        EXPECT_EQ(L"7", Get(L"device", L"count"));
    }
    EXPECT_EQ(1, opens.Take());

    Write("capabilities.ini", "[Device]\nCount=8\n");
    EXPECT_EQ(8u, GetPrivateProfileIntW(L"Device", L"Count", 0, m_path.c_str()));
    Write("capabilities.ini", "[Device]\nCount=9\n");
    EXPECT_EQ(9u, GetPrivateProfileIntW(L"Device", L"Count", 0, m_path.c_str())) << "a fresh file is never kept";
}

}
