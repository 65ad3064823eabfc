// Settings files whose names go beyond ASCII, saved and opened through the
// main dialog in the plain C locale, the one a start without LANG gets.
#include "Products/Corvane/MainDialog/Tests/Commands/CommandsRig.h"

#include "Platform/Base/FileSystemPath.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <locale>
#include <string>

namespace Corvane {

using namespace CommandsTest;
using namespace CorvaneIds;

namespace {

// Puts the C library and the standard library into the "C" locale for one
// test, and back afterwards.
class CPlainLocale {
public:
    CPlainLocale() : m_Previous(std::setlocale(LC_ALL, nullptr)), m_Global(std::locale::global(std::locale::classic()))
    {
        std::setlocale(LC_ALL, "C");
    }
    ~CPlainLocale()
    {
        std::setlocale(LC_ALL, m_Previous.c_str());
        std::locale::global(m_Global);
    }
    CPlainLocale(const CPlainLocale&) = delete;
    CPlainLocale& operator=(const CPlainLocale&) = delete;

private:
    std::string m_Previous;
    std::locale m_Global;
};

struct tNamedFile {
    const char* what;
    std::string bytes;  // the name as the file system keeps it
};

class FileNameCommandTest : public CommandsTestBase, public ::testing::WithParamInterface<tNamedFile> {};

TEST_P(FileNameCommandTest, SavesAndOpensWhateverTheName)
{
    const CPlainLocale plain;
    const std::filesystem::path file = m_Files.Path() / GetParam().bytes;
    const CString path(Text::WidePath(file).c_str());
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            const CFBCData read = dialog->Data();
            ASSERT_TRUE(dialog->SaveSettingsFile(path));
            std::error_code error;
            EXPECT_TRUE(std::filesystem::is_regular_file(file, error)) << "saved under the very bytes of its name";
            ASSERT_TRUE(dialog->OpenSettingsFile(path));
            EXPECT_EQ(dialog->ConnectionState(), kStateOffline);
            EXPECT_EQ(dialog->Data().ArticleNo, read.ArticleNo);
            EXPECT_EQ(driver.Text(kStatusLine), path.str());
        });
}

INSTANTIATE_TEST_SUITE_P(Names, FileNameCommandTest, ::testing::Values(
    tNamedFile{"umlaut", "\xC3\x9C" "bergabe.wes"},
    tNamedFile{"cjk", "\xE8\xA8\xAD\xE5\xAE\x9A.wes"},
    tNamedFile{"not_utf8", "Pr\xFC" "fung.wes"}),
    [](const ::testing::TestParamInfo<tNamedFile>& info) { return std::string(info.param.what); });

}  // namespace

}  // namespace Corvane
