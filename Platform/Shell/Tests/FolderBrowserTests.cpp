// The folder browser over a real folder tree, from the keyboard, with the
// caller's callback seeing the start and each selection and steering them.
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Shell/FolderBrowser.h"
#include "Platform/Shell/FolderBrowserDialog.h"
#include "Platform/Shell/PathText.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

using ZELL::Shell::CFolderBrowserDialog;
using ShellTest::Key;
using UiTest::CDialogDriver;
using UiTest::kAlt;

namespace {

std::wstring W(const std::filesystem::path& path) { return ZELL::Shell::WidePath(path); }

std::wstring SelectedRow(const CDialogDriver& driver)
{
    HWND list = driver.Control(CFolderBrowserDialog::kLevelList);
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    wchar_t text[260] = {};
    if (row >= 0 && SendMessageW(list, LB_GETTEXTLEN, row, 0) < 260)
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
}

// What the callback saw, and what it was told to do at the start.
struct Callback {
    std::vector<std::pair<UINT, std::wstring>> seen;  // message and the selection's path
    std::wstring startAt;
    bool disableOk = false;
    BOOL selectionAnswer = -1;

    static int Proc(HWND window, UINT message, LPARAM lParam, LPARAM data)
    {
        auto* self = reinterpret_cast<Callback*>(data);
        std::wstring path;
        if (message == BFFM_SELCHANGED) {
            wchar_t text[MAX_PATH] = {};
            SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), text);
            path = text;
        }
        self->seen.emplace_back(message, path);
        if (message == BFFM_INITIALIZED && !self->startAt.empty())
            self->selectionAnswer = static_cast<BOOL>(
                SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->startAt.c_str())));
        if (message == BFFM_INITIALIZED && self->disableOk)
            SendMessageW(window, BFFM_ENABLEOK, 0, FALSE);
        return 0;
    }
};

class FolderBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_temp / "Alpha" / "Inner Ö");
        std::filesystem::create_directories(m_temp / "Beta");
        m_root = W(m_temp.Path());
        m_callback.startAt = m_root;
        m_info.hwndOwner = m_script.Owner();
        m_info.pszDisplayName = m_name;
        m_info.lpszTitle = L"Pick the export folder";
        m_info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        m_info.lpfn = &Callback::Proc;
        m_info.lParam = reinterpret_cast<LPARAM>(&m_callback);
    }

    // The chosen path, or "<none>" when the browser gave nothing.
    std::wstring Browse()
    {
        PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&m_info);
        if (list == nullptr)
            return L"<none>";
        wchar_t path[MAX_PATH] = {};
        EXPECT_TRUE(SHGetPathFromIDListW(list, path));
        ILFree(list);
        return path;
    }

    ShellTest::CTempFolder m_temp;
    ShellTest::ModalScript m_script;
    std::wstring m_root;
    wchar_t m_name[MAX_PATH] = {};
    Callback m_callback;
    BROWSEINFOW m_info;
};

}  // namespace

TEST_F(FolderBrowserTest, PicksANestedFolderByKeyboardFromTheCallersStart)
{
    std::wstring startRow, afterDown, afterOpen;
    m_script.Then([&](CDialogDriver& d) {
        startRow = SelectedRow(d);
        Key(d, VK_DOWN);  // the first sub-folder, Alpha
        afterDown = SelectedRow(d);
        Key(d, VK_RETURN);  // open Alpha
        Key(d, VK_DOWN);    // Inner Ö
        Key(d, VK_RETURN);  // open it
        afterOpen = SelectedRow(d);
        Key(d, VK_RETURN);  // take the open folder
    });
    EXPECT_EQ(Browse(), m_root + L"/Alpha/Inner Ö");
    EXPECT_STREQ(m_name, L"Inner Ö");
    EXPECT_EQ(m_callback.selectionAnswer, TRUE);
    ASSERT_FALSE(m_callback.seen.empty());
    EXPECT_EQ(m_callback.seen.front().first, BFFM_INITIALIZED);
    // The start the callback chose is the first selection it hears of.
    EXPECT_EQ(m_callback.seen.at(1), std::make_pair(BFFM_SELCHANGED, m_root));
    EXPECT_EQ(m_callback.seen.back(), std::make_pair(BFFM_SELCHANGED, m_root + L"/Alpha/Inner Ö"));
    EXPECT_EQ(startRow.substr(startRow.find_first_not_of(L' ')), W(m_temp.Path().filename()));
    EXPECT_EQ(afterDown.substr(afterDown.find_first_not_of(L' ')), L"Alpha");
    EXPECT_EQ(afterOpen.substr(afterOpen.find_first_not_of(L' ')), L"Inner Ö");
    const auto selChanged = std::count_if(m_callback.seen.begin(), m_callback.seen.end(),
                                          [&](const auto& s) { return s == std::make_pair(BFFM_SELCHANGED, m_root + L"/Alpha"); });
    EXPECT_GE(selChanged, 1);
}

TEST_F(FolderBrowserTest, EscapeGivesNothing)
{
    m_script.Then([&](CDialogDriver& d) { Key(d, VK_ESCAPE); });
    EXPECT_EQ(Browse(), L"<none>");
}

TEST_F(FolderBrowserTest, CallbackCanDisableOkAndRefusesAMissingStart)
{
    m_callback.disableOk = true;
    m_callback.startAt = m_root + L"/missing";
    bool okEnabled = true;
    bool stillOpen = false;
    m_script.Then([&](CDialogDriver& d) {
        okEnabled = d.IsEnabled(IDOK);
        Key(d, VK_RETURN);
        stillOpen = IsWindow(d.Dialog()) && IsWindowVisible(d.Dialog());
        Key(d, VK_ESCAPE);
    });
    EXPECT_EQ(Browse(), L"<none>");
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(m_callback.selectionAnswer, FALSE);
}

TEST_F(FolderBrowserTest, EditBoxTakesATypedFolderAndMakeNewFolderAddsOne)
{
    m_info.ulFlags |= BIF_EDITBOX;
    std::wstring newRow;
    m_script.Then([&](CDialogDriver& d) {
        Key(d, 'M', kAlt);  // a new folder inside the selected one
        newRow = SelectedRow(d);
        Key(d, 'L', kAlt);
        d.Type(m_root + L"/Beta");
        Key(d, VK_RETURN);
    });
    EXPECT_EQ(Browse(), m_root + L"/Beta");
    EXPECT_STREQ(m_name, L"Beta");
    EXPECT_EQ(newRow.substr(newRow.find_first_not_of(L' ')), L"New folder");
    EXPECT_TRUE(std::filesystem::is_directory(m_temp / "New folder"));
}

TEST_F(FolderBrowserTest, EditBoxRefusesAFolderThatDoesNotExist)
{
    m_info.ulFlags |= BIF_EDITBOX;
    std::wstring problem;
    m_script.Then([&](CDialogDriver& d) {
        Key(d, 'L', kAlt);
        d.Type(L"nothing here");
        Key(d, VK_RETURN);
        Key(d, VK_ESCAPE);
    });
    m_script.Then([&](CDialogDriver& box) {
        problem = ShellTest::ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    EXPECT_EQ(Browse(), L"<none>");
    EXPECT_EQ(problem, m_root + L"/nothing here\n\nThe folder does not exist.");
}
