// BrowseForFolder on the shell's folder browser: it starts at the caller's
// folder, gives the chosen one, and gives the start back on cancel.
#include "Common/SystemHelper/Desktop/ShellHelpers.h"
#include "Platform/Shell/PathText.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

using ShellTest::Key;
using UiTest::CDialogDriver;

namespace {

std::wstring Title(const CDialogDriver& driver)
{
    // The title is the first static text of the browser.
    return ShellTest::ModalScript::BoxText(driver.Dialog());
}

class BrowseForFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_temp / "Export" / "2024");
        m_start = ZELL::Shell::WidePath(m_temp / "Export");
    }

    ShellTest::CTempFolder m_temp;
    ShellTest::ModalScript m_script;
    std::wstring m_start;
};

}  // namespace

TEST_F(BrowseForFolderTest, StartsAtTheGivenFolderAndGivesTheChosenOne)
{
    std::wstring title, startPath;
    m_script.Then([&](CDialogDriver& d) {
        title = Title(d);
        Key(d, VK_DOWN);  // "2024", the start's only sub-folder
        Key(d, VK_RETURN);
        Key(d, VK_RETURN);
    });
    EXPECT_EQ(BrowseForFolder(m_script.Owner(), m_start, L"Ordner für den Export"), m_start + L"/2024");
    EXPECT_EQ(title, L"Ordner für den Export");
}

TEST_F(BrowseForFolderTest, CancelGivesTheStartBackAndTheDefaultTitleShows)
{
    std::wstring title;
    m_script.Then([&](CDialogDriver& d) {
        title = Title(d);
        Key(d, VK_DOWN);
        Key(d, VK_ESCAPE);
    });
    EXPECT_EQ(BrowseForFolder(m_script.Owner(), m_start), m_start);
    EXPECT_EQ(title, L"Bitte wählen Sie einen Ordner aus.");
}

TEST_F(BrowseForFolderTest, AStartTooLongForTheBufferIsCut)
{
    const std::wstring longStart = m_start + L"/" + std::wstring(400, L'x');
    m_script.Then([&](CDialogDriver& d) { Key(d, VK_ESCAPE); });
    EXPECT_EQ(BrowseForFolder(m_script.Owner(), longStart), longStart.substr(0, MAX_PATH - 1));
}
