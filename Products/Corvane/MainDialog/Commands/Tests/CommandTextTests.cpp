// The texts of the connection-settings failure and the status log file.
#include "Products/Corvane/MainDialog/Commands/ConnectionSettingsError.h"
#include "Products/Corvane/MainDialog/Commands/SettingsFileMessages.h"
#include "Products/Corvane/MainDialog/Commands/StatusLogFile.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Common/Communication/ConnectionException.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace Corvane {

namespace {

template <typename T>
CString MessageOfThrown(T value)
{
    try {
        throw value;
    } catch (...) {
        return CConnectionSettingsError::MessageOfCurrent();
    }
}

TEST(ConnectionSettingsErrorTest, TextExceptionsAddTheirText)
{
    EXPECT_EQ(MessageOfThrown(CString(L"port busy")), L"Error in communication settings dialog!\n\nport busy");
    EXPECT_EQ(MessageOfThrown(std::wstring(L"no XML")), L"Error in communication settings dialog!\n\nno XML");
    EXPECT_EQ(MessageOfThrown(static_cast<const wchar_t*>(L"gone")), L"Error in communication settings dialog!\n\ngone");
    EXPECT_EQ(MessageOfThrown(std::runtime_error("bad alloc")),
              L"Error in communication settings dialog!\n\nbad alloc");
}

TEST(ConnectionSettingsErrorTest, OtherExceptionsGiveTheFixedTextAlone)
{
    EXPECT_EQ(MessageOfThrown(42), L"Error in communication settings dialog!");
    EXPECT_EQ(MessageOfThrown(static_cast<const wchar_t*>(nullptr)), L"Error in communication settings dialog!");
    EXPECT_EQ(CConnectionSettingsError::MessageOf(nullptr), L"Error in communication settings dialog!");
}

TEST(ConnectionSettingsErrorTest, ConnectionExceptionShowsItsText)
{
    ZELL::CConnectionException error(L"COM7 cannot be opened", 0x20000001);
    const CString message = MessageOfThrown(error);
    EXPECT_EQ(message, L"Error in communication settings dialog!\n\nCOM7 cannot be opened");
}

TEST(StatusLogFileTest, OnlyALogBeyondTheReadyLineIsWorthSaving)
{
    EXPECT_FALSE(CStatusLogFile::IsWorthSaving(L"", L"Ready"));
    EXPECT_FALSE(CStatusLogFile::IsWorthSaving(L"Ready", L"Ready"));
    EXPECT_TRUE(CStatusLogFile::IsWorthSaving(L"Ready\r\nRead done", L"Ready"));
}

TEST(StatusLogFileTest, WholeLogReplacesTheFile)
{
    CTempFolder folder;
    const auto path = folder.Write("log.txt", "old content that is longer than the log");
    EXPECT_EQ(CStatusLogFile::Write(CString(path.wstring()), L"Read\r\n    Check order \u00e4"),
              ENStatusLogWrite::Written);
    EXPECT_EQ(folder.Read("log.txt"), "Read\r\n    Check order \xc3\xa4");
}

TEST(StatusLogFileTest, FailuresAreTold)
{
    CTempFolder folder;
    EXPECT_EQ(CStatusLogFile::Write(CString((folder.Path() / "missing" / "log.txt").wstring()), L"x"),
              ENStatusLogWrite::CannotOpen);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(CStatusLogFile::Write(L"/dev/full", L"x"), ENStatusLogWrite::WriteFailed);
    }
}

}

// Each way a file is refused has its own text, naming the file by its name.
TEST(SettingsFileMessagesTest, EachRefusalNamesTheFileAndWhatIsWrong)
{
    for (const auto& [key, text] : {std::pair{L"MSG_SETTINGS_FILE_DAMAGED", L"%s damaged"},
                                    std::pair{L"MSG_SETTINGS_FILE_DAMAGED_LINE", L"%s damaged at %d"},
                                    std::pair{L"MSG_SETTINGS_FILE_FOREIGN", L"%s foreign"},
                                    std::pair{L"MSG_SETTINGS_FILE_BAD_VALUE", L"%s: %s=%s"},
                                    std::pair{L"MSG_SETTINGS_FILE_MISSING", L"%s missing"}})
        GetLanguageSupport().SetText(key, text);
    CTempFolder folder;
    const std::pair<std::string, const wchar_t*> cases[] = {
        {"", L"f.wes damaged"},
        {"<application>\n<device>", L"f.wes damaged at 2"},
        {"<other><device/></other>", L"f.wes foreign"},
        {"<application><device><Status><S>0xZZ</S></Status></device></application>", L"f.wes: S=0xZZ"},
    };
    for (const auto& [bytes, expected] : cases) {
        const CString path((folder.Write("f.wes", bytes)).wstring());
        CFBCData data;
        CSettingsFileReader reader;
        ASSERT_FALSE(reader.Load(std::filesystem::path(path.str()), data)) << bytes;
        EXPECT_EQ(CSettingsFileMessages::ReadFailure(reader, path), expected) << bytes;
    }
    CSettingsFileReader reader;
    CFBCData data;
    EXPECT_FALSE(reader.Load(folder.Path() / "gone.wes", data));
    EXPECT_EQ(CSettingsFileMessages::ReadFailure(reader, CString((folder.Path() / "gone.wes").wstring())),
              L"gone.wes missing");
}

}  // namespace Corvane
