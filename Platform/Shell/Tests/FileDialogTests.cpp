// The open and save dialogs over a real folder tree, driven from the keyboard
// in the headless display, with the message boxes they open answered the
// same way.
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Shell/CommDlg.h"
#include "Platform/Shell/FileNameDialog.h"
#include "Platform/Shell/LastFolderStore.h"
#include "Platform/Shell/PathText.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using ZELL::Shell::CFileNameDialog;
using ShellTest::Key;
using UiTest::CDialogDriver;
using UiTest::kAlt;
using UiTest::kShift;

namespace {

std::wstring W(const std::filesystem::path& path) { return ZELL::Shell::WidePath(path); }

std::vector<std::wstring> Rows(const CDialogDriver& driver)
{
    HWND list = driver.Control(CFileNameDialog::kFileList);
    std::vector<std::wstring> rows;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[260] = {};
        LVITEMW item;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

bool IsOpen(const CDialogDriver& driver) { return IsWindow(driver.Dialog()) && IsWindowVisible(driver.Dialog()); }

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // root/ Docs/{Report.txt, notes.md, Inner/}  Older/  alpha.txt  Beta.TXT  image.png  readme.md
        //       Größe.txt  日本語.txt  .hidden.txt  locked/ (no permissions)
        std::filesystem::create_directories(m_temp / "Docs" / "Inner");
        std::filesystem::create_directory(m_temp / "Older");
        for (const char* name : {"Docs/Report.txt", "Docs/notes.md", "alpha.txt", "Beta.TXT", "image.png", "readme.md",
                                 "Größe.txt", "日本語.txt", ".hidden.txt"})
            std::ofstream(m_temp / name) << "content";
        std::filesystem::create_directory(m_temp / "locked");
        std::filesystem::permissions(m_temp / "locked", std::filesystem::perms::none);
        m_root = W(m_temp.Path());
        m_ofn.hwndOwner = m_script.Owner();
        m_ofn.lpstrFile = m_file;
        m_ofn.nMaxFile = MAX_PATH;
        m_ofn.lpstrInitialDir = m_root.c_str();
        m_ofn.lpstrFilter = L"Text files (*.txt)\0*.txt\0Pictures\0*.png;*.jpg\0All files\0*.*\0";
        m_ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    }
    void TearDown() override { std::filesystem::permissions(m_temp / "locked", std::filesystem::perms::owner_all); }

    // The list has the focus (Shift+Tab from the name field) with its first row selected.
    static void FocusList(CDialogDriver& driver)
    {
        Key(driver, VK_TAB, kShift);
        Key(driver, VK_HOME);
    }
    static void TypeName(CDialogDriver& driver, const std::wstring& name)
    {
        Key(driver, 'N', kAlt);
        driver.Type(name);
        Key(driver, VK_RETURN);
    }

    ShellTest::CTempFolder m_temp;
    ShellTest::ModalScript m_script;
    std::wstring m_root;
    wchar_t m_file[MAX_PATH] = {};
    OPENFILENAMEW m_ofn;
};

}  // namespace

TEST_F(FileDialogTest, ListsFoldersFirstThenTheFilesOfTheTypeAndGoesInAndUpByKeyboard)
{
    std::vector<std::wstring> top, inDocs, afterUp;
    std::wstring folderShown;
    m_script.Then([&](CDialogDriver& d) {
        top = Rows(d);
        FocusList(d);
        Key(d, VK_RETURN);  // "Docs", the first row
        inDocs = Rows(d);
        folderShown = d.Text(CFileNameDialog::kFolderEdit);
        Key(d, VK_BACK);
        afterUp = Rows(d);
        Key(d, VK_RETURN);  // "Docs" is selected again after going up
        Key(d, VK_END);     // Report.txt
        Key(d, VK_RETURN);
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(top, (std::vector<std::wstring>{L"Docs", L"locked", L"Older", L"alpha.txt", L"Beta.TXT", L"Größe.txt",
                                              L"日本語.txt"}));
    EXPECT_EQ(inDocs, (std::vector<std::wstring>{L"Inner", L"Report.txt"}));
    EXPECT_EQ(folderShown, m_root + L"/Docs");
    EXPECT_EQ(afterUp, top);
    const std::wstring chosen = m_root + L"/Docs/Report.txt";
    EXPECT_EQ(std::wstring(m_file), chosen);
    EXPECT_EQ(std::wstring(m_file + m_ofn.nFileOffset), L"Report.txt");
    EXPECT_EQ(std::wstring(m_file + m_ofn.nFileExtension), L"txt");
    EXPECT_EQ(m_ofn.nFilterIndex, 1u);
}

TEST_F(FileDialogTest, FiltersByTheChosenTypeAndByATypedWildcard)
{
    std::vector<std::wstring> pictures, typed, folderTyped;
    m_script.Then([&](CDialogDriver& d) {
        Key(d, 'T', kAlt);
        Key(d, VK_DOWN);
        pictures = Rows(d);
        TypeName(d, L"*.md");
        typed = Rows(d);
        TypeName(d, L"Docs/*.MD");
        folderTyped = Rows(d);
        Key(d, VK_ESCAPE);
    });
    wcscpy(m_file, L"keep");
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(m_file, L"keep");
    EXPECT_EQ(pictures, (std::vector<std::wstring>{L"Docs", L"locked", L"Older", L"image.png"}));
    EXPECT_EQ(typed, (std::vector<std::wstring>{L"Docs", L"locked", L"Older", L"readme.md"}));
    EXPECT_EQ(folderTyped, (std::vector<std::wstring>{L"Inner", L"notes.md"}));
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionKeepsCaseAndNonAsciiNames)
{
    m_ofn.lpstrDefExt = L"wes";
    m_ofn.lpstrFilter = L"Settings (*.wes)\0*.wes\0\0";
    m_ofn.lpstrTitle = L"Einstellungen speichern";
    wchar_t title[64] = {};
    m_ofn.lpstrFileTitle = title;
    m_ofn.nMaxFileTitle = 64;
    m_script.Then([&](CDialogDriver& d) { TypeName(d, L"Mein Gerät Ü"); });
    ASSERT_TRUE(GetSaveFileNameW(&m_ofn));
    EXPECT_EQ(std::wstring(m_file), m_root + L"/Mein Gerät Ü.wes");
    EXPECT_STREQ(title, L"Mein Gerät Ü.wes");
    EXPECT_EQ(m_script.Captions(), (std::vector<std::wstring>{L"Einstellungen speichern"}));
}

TEST_F(FileDialogTest, OverwriteQuestionNoKeepsTheDialogYesTakesTheFile)
{
    m_ofn.lpstrDefExt = L"txt";
    m_ofn.Flags |= OFN_OVERWRITEPROMPT;
    bool openAfterNo = false;
    std::wstring question;
    m_script.Then([&](CDialogDriver& d) {
        TypeName(d, L"alpha");  // the box comes up and is answered inside
        openAfterNo = IsOpen(d);
        TypeName(d, L"alpha");
    });
    m_script.Then([&](CDialogDriver& box) {
        question = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);  // No is the default
    });
    m_script.Then([&](CDialogDriver& box) { Key(box, 'Y'); });
    ASSERT_TRUE(GetSaveFileNameW(&m_ofn));
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(question, L"alpha.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(std::wstring(m_file), m_root + L"/alpha.txt");
    EXPECT_EQ(m_script.Left(), 0u);
}

TEST_F(FileDialogTest, FileMustExistAndPathMustExistAreReportedAndTheDialogGoesOn)
{
    m_ofn.Flags |= OFN_FILEMUSTEXIST;
    std::wstring notFound, noPath;
    bool stillOpen = false;
    m_script.Then([&](CDialogDriver& d) {
        TypeName(d, L"missing.txt");
        TypeName(d, L"nowhere/x.txt");
        stillOpen = IsOpen(d);
        Key(d, VK_ESCAPE);
    });
    m_script.Then([&](CDialogDriver& box) {
        notFound = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    m_script.Then([&](CDialogDriver& box) {
        noPath = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(notFound, L"missing.txt\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(noPath, m_root + L"/nowhere/x.txt\nThe path does not exist.\nCheck the path and try again.");
}

TEST_F(FileDialogTest, UnreadableFolderIsReportedAndTheDialogStaysWhereItWas)
{
    if (::access((m_temp / "locked").c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not hold for this user";
    std::wstring problem, folderAfter;
    std::vector<std::wstring> rowsAfter;
    m_script.Then([&](CDialogDriver& d) {
        TypeName(d, L"locked");
        folderAfter = d.Text(CFileNameDialog::kFolderEdit);
        rowsAfter = Rows(d);
        TypeName(d, L"alpha.txt");
    });
    m_script.Then([&](CDialogDriver& box) {
        problem = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_NE(problem.find(L"locked\n\nThe folder cannot be opened: "), std::wstring::npos) << problem;
    EXPECT_EQ(folderAfter, m_root);
    EXPECT_EQ(rowsAfter.size(), 7u);
    EXPECT_EQ(std::wstring(m_file), m_root + L"/alpha.txt");
}

TEST_F(FileDialogTest, UnreadableStartFolderIsReportedOnceTheDialogIsUp)
{
    if (::access((m_temp / "locked").c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not hold for this user";
    const std::wstring locked = m_root + L"/locked";
    m_ofn.lpstrInitialDir = locked.c_str();
    std::wstring problem;
    m_script.Then([&](CDialogDriver& d) {
        d.PumpUntilIdle();
        Key(d, VK_ESCAPE);
    });
    m_script.Then([&](CDialogDriver& box) {
        problem = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(problem.find(locked + L"\n\nThe folder cannot be opened: "), 0u) << problem;
}

TEST_F(FileDialogTest, StartsInTheFolderOfTheInitialNameWithItsWildcardAsFilter)
{
    const std::wstring initial = m_root + L"/Docs/*.md";
    wcscpy(m_file, initial.c_str());
    std::vector<std::wstring> rows;
    std::wstring name;
    m_script.Then([&](CDialogDriver& d) {
        rows = Rows(d);
        name = d.Text(CFileNameDialog::kNameEdit);
        Key(d, VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Inner", L"notes.md"}));
    EXPECT_EQ(name, L"*.md");
}

TEST_F(FileDialogTest, RemembersTheLastFolderOfTheProgram)
{
    const std::wstring older = m_root + L"/Older";
    m_ofn.lpstrInitialDir = older.c_str();
    m_script.Then([&](CDialogDriver& d) { TypeName(d, L"new.txt"); });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(ZELL::Shell::CLastFolderStore::Load(), older);

    m_ofn.lpstrInitialDir = nullptr;
    m_file[0] = L'\0';
    std::wstring shown;
    m_script.Then([&](CDialogDriver& d) {
        shown = d.Text(CFileNameDialog::kFolderEdit);
        Key(d, VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(shown, older);
}

TEST_F(FileDialogTest, ReadOnlyBoxShowsWithoutHideReadOnlyAndReportsItsState)
{
    m_ofn.Flags &= ~OFN_HIDEREADONLY;
    bool shown = false;
    m_script.Then([&](CDialogDriver& d) {
        shown = d.IsVisible(CFileNameDialog::kReadOnlyCheck);
        Key(d, 'R', kAlt);
        TypeName(d, L"alpha.txt");
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_TRUE(shown);
    EXPECT_NE(m_ofn.Flags & OFN_READONLY, 0u);

    m_ofn.Flags |= OFN_HIDEREADONLY;
    m_ofn.Flags &= ~OFN_READONLY;
    m_script.Then([&](CDialogDriver& d) {
        shown = d.Control(CFileNameDialog::kReadOnlyCheck) != nullptr;
        TypeName(d, L"alpha.txt");
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_FALSE(shown);
    EXPECT_EQ(m_ofn.Flags & OFN_READONLY, 0u);
}

TEST_F(FileDialogTest, ChangesTheCurrentFolderUnlessAskedNotTo)
{
    const std::filesystem::path before = std::filesystem::current_path();
    m_ofn.Flags &= ~OFN_NOCHANGEDIR;
    m_script.Then([&](CDialogDriver& d) { TypeName(d, L"Docs/Report.txt"); });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(W(std::filesystem::current_path()), m_root + L"/Docs");
    std::filesystem::current_path(before);
}

TEST_F(FileDialogTest, NewFolderButtonMakesAFolderAndSelectsIt)
{
    std::vector<std::wstring> rows;
    m_script.Then([&](CDialogDriver& d) {
        Key(d, 'W', kAlt);
        Key(d, 'W', kAlt);
        rows = Rows(d);
        Key(d, VK_RETURN);  // the list has the focus and "New folder (2)" selected: go in
        TypeName(d, L"inside.txt");
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Docs", L"locked", L"New folder", L"New folder (2)", L"Older",
                                               L"alpha.txt", L"Beta.TXT", L"Größe.txt", L"日本語.txt"}));
    EXPECT_EQ(std::wstring(m_file), m_root + L"/New folder (2)/inside.txt");
}

TEST_F(FileDialogTest, TooSmallBufferFailsWithTheSizeNeeded)
{
    m_ofn.nMaxFile = 8;
    m_script.Then([&](CDialogDriver& d) { TypeName(d, L"alpha.txt"); });
    EXPECT_FALSE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(static_cast<std::size_t>(m_file[0]), (m_root + L"/alpha.txt").size() + 1);
}

TEST_F(FileDialogTest, BadRecordsFailWithoutADialog)
{
    OPENFILENAMEW bad = m_ofn;
    bad.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameW(&bad));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    bad = m_ofn;
    bad.lpstrFile = nullptr;
    EXPECT_FALSE(GetSaveFileNameW(&bad));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);
    EXPECT_FALSE(GetOpenFileNameW(nullptr));
    EXPECT_EQ(m_script.Captions().size(), 0u);
}

TEST_F(FileDialogTest, PlacesOfferHomeAndItsUserFoldersAndGoThere)
{
    ShellTest::CTempFolder home;
    std::filesystem::create_directory(home / "Documents");
    std::filesystem::create_directory(home / "Music");
    std::ofstream(home / "Documents" / "Brief.txt") << "text";
    ShellTest::CScopedVariable homeVariable(L"HOME", W(home.Path()));
    std::vector<std::wstring> places;
    std::wstring shown;
    m_script.Then([&](CDialogDriver& d) {
        HWND list = d.Control(CFileNameDialog::kPlacesList);
        for (int i = 0; i < static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[64] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            places.emplace_back(text);
        }
        Key(d, VK_TAB, kShift);  // the file list
        Key(d, VK_TAB, kShift);  // the places
        Key(d, VK_HOME);         // Home
        Key(d, VK_DOWN);         // Documents
        shown = d.Text(CFileNameDialog::kFolderEdit);
        TypeName(d, L"Brief.txt");
    });
    ASSERT_TRUE(GetOpenFileNameW(&m_ofn));
    EXPECT_EQ(places, (std::vector<std::wstring>{L"Home", L"Documents", L"Music", L"File system"}));
    EXPECT_EQ(shown, W(home / "Documents"));
    EXPECT_EQ(std::wstring(m_file), W(home / "Documents" / "Brief.txt"));
}
