#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/Core/CmdUI.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Core/StandardCommands.h"
#include "Platform/Ui/Clipboard.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;
using GridTest::kControl;
using GridTest::kShift;

namespace {

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<not open>";
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const auto* chars = static_cast<const wchar_t*>(GlobalLock(block));
        text = chars != nullptr ? chars : L"";
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

void PutClipboardText(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* chars = static_cast<wchar_t*>(GlobalLock(block));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, chars);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

class GridEditing : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 8, 5, 22, 70);
        grid.MarkModified(FALSE);
        CGridScene::Settle();
    }
    void ClickCell(int row, int col, unsigned modifiers = GridTest::kNone)
    {
        scene.Click(grid.m_hWnd, CentreOf(grid, row, col), modifiers);
    }
    HWND Editor() const { return GetDlgItem(grid.m_hWnd, IDC_INPLACE_CONTROL); }
    std::wstring EditorText() const { return UiTest::TextOf(Editor()); }
};

}

TEST_F(GridEditing, TypingOnTheFocusCellReplacesItsTextAndEnterTakesIt)
{
    ClickCell(2, 2);
    scene.Type(L"x");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(EditorText(), L"x");
    EXPECT_EQ(scene.parent.Count(GRIDN_BEGINLABELEDIT), 1);
    scene.Type(L"yz");
    scene.Key(VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"xyz"));
    EXPECT_TRUE(grid.IsCellModified(2, 2));
    ASSERT_NE(scene.parent.Last(GRIDN_ENDLABELEDIT), nullptr);
    EXPECT_EQ(scene.parent.Last(GRIDN_ENDLABELEDIT)->row, 2);
    EXPECT_FALSE(grid.GetCellAt(2, 2)->IsEditing());
}

TEST_F(GridEditing, AClickOnTheFocusCellKeepsTheTextWithTheCaretAtTheEnd)
{
    ClickCell(3, 1);
    ClickCell(3, 1);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(EditorText(), L"r3c1");
    scene.Type(L"!");
    scene.Key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(3, 1), CString(L"r3c1!"));
    scene.Key(VK_F2);
    ASSERT_NE(Editor(), nullptr);
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditing, EscapeRestoresTheTextAndRefusalsKeepTheOldOne)
{
    ClickCell(2, 3);
    scene.Type(L"gone");
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 3), CString(L"r2c3"));
    EXPECT_FALSE(grid.IsCellModified(2, 3));

    scene.parent.replies[GRIDN_ENDLABELEDIT] = -1;
    scene.Type(L"refused");
    scene.Key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(2, 3), CString(L"r2c3"));
    scene.parent.replies[GRIDN_BEGINLABELEDIT] = -1;
    scene.Type(L"q");
    EXPECT_EQ(Editor(), nullptr);
    // Escape on the grid itself never starts an edit.
    scene.parent.replies.clear();
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditing, TabAndArrowsEndingAnEditContinueInTheNextCell)
{
    ClickCell(2, 1);
    scene.Type(L"a");
    scene.Key(VK_TAB);
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"a"));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    ASSERT_NE(Editor(), nullptr);
    scene.Type(L"b");
    scene.Key(VK_DOWN, kControl);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"b"));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    ASSERT_NE(Editor(), nullptr);
    scene.Key(VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditing, TheEditorGrowsWithItsTextUpToTheGridsEdge)
{
    ClickCell(2, 4);
    scene.Type(L"w");
    ASSERT_NE(Editor(), nullptr);
    RECT before;
    GetWindowRect(Editor(), &before);
    scene.Type(std::wstring(60, L'w'));
    RECT after;
    GetWindowRect(Editor(), &after);
    RECT client;
    GetClientRect(grid.m_hWnd, &client);
    MapWindowPoints(grid.m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_GT(after.right, before.right);
    EXPECT_LE(after.right, client.right);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(GridEditing, LosingTheFocusEndsEditingOnce)
{
    ClickCell(4, 2);
    scene.Type(L"k");
    ASSERT_NE(Editor(), nullptr);
    const int ends = scene.parent.Count(GRIDN_ENDLABELEDIT);
    scene.parent.SetFocus();
    CGridScene::Settle();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(scene.parent.Count(GRIDN_ENDLABELEDIT), ends + 1);
    EXPECT_EQ(grid.GetCellText(4, 2), CString(L"k"));
}

TEST_F(GridEditing, ReadOnlyCellsAndDisabledEditingOpenNoEditor)
{
    grid.SetCellReadOnly(2, 2);
    ClickCell(2, 2);
    scene.Type(L"x");
    EXPECT_EQ(Editor(), nullptr);
    grid.EnableEditing(FALSE);
    ClickCell(3, 3);
    scene.Type(L"x");
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(3, 3), CString(L"r3c3"));
}

TEST_F(GridEditing, CopyGivesTabbedLinesOfTheSelection)
{
    ClickCell(2, 2);
    scene.Key('C', kControl);
    EXPECT_EQ(ClipboardText(), L"r2c2");
    ClickCell(3, 3, kShift);
    scene.Key('C', kControl);
    EXPECT_EQ(ClipboardText(), L"r2c2\tr2c3\r\nr3c2\tr3c3");
    // Hidden rows are left out.
    grid.SetRowHeight(2, 0);
    scene.Key(VK_INSERT, kControl);
    EXPECT_EQ(ClipboardText(), L"r3c2\tr3c3");
}

TEST_F(GridEditing, PasteSpreadsLinesAndFieldsAndSelectsWhatItWrote)
{
    ClickCell(2, 1);
    PutClipboardText(L"1,2\n3");
    scene.Key('V', kControl);
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"1"));
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"2"));
    EXPECT_EQ(grid.GetCellText(3, 1), CString(L"3"));
    EXPECT_EQ(grid.GetCellText(3, 2), CString(L"r3c2"));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 3, 2));
    EXPECT_TRUE(grid.IsCellModified(3, 1));
}

TEST_F(GridEditing, APasteEndingWithALineEndLeavesTheRowBelowAlone)
{
    ClickCell(5, 1);
    PutClipboardText(L" a \t b \r\n");
    scene.Key(VK_INSERT, kShift);
    EXPECT_EQ(grid.GetCellText(5, 1), CString(L"a"));
    EXPECT_EQ(grid.GetCellText(5, 2), CString(L"b"));
    EXPECT_EQ(grid.GetCellText(6, 1), CString(L"r6c1"));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 1, 5, 2));
}

TEST_F(GridEditing, PasteSkipsHiddenRowsAndReadOnlyCells)
{
    grid.SetRowHeight(3, 0);
    grid.SetCellReadOnly(4, 2);
    ClickCell(2, 1);
    PutClipboardText(L"a\nb,c\nd");
    scene.Key('V', kControl);
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"a"));
    EXPECT_EQ(grid.GetCellText(3, 1), CString(L"r3c1"));
    EXPECT_EQ(grid.GetCellText(4, 1), CString(L"b"));
    EXPECT_EQ(grid.GetCellText(4, 2), CString(L"r4c2"));
    EXPECT_EQ(grid.GetCellText(5, 1), CString(L"d"));
}

TEST_F(GridEditing, CutAndDeleteClearTheSelectionOnlyWhileEditingIsOn)
{
    ClickCell(2, 2);
    ClickCell(2, 3, kShift);
    PutClipboardText(L"before");
    grid.EnableEditing(FALSE);
    scene.Key('X', kControl);
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"r2c2"));
    grid.EnableEditing(TRUE);
    scene.Key('X', kControl);
    EXPECT_EQ(ClipboardText(), L"r2c2\tr2c3");
    EXPECT_TRUE(grid.GetCellText(2, 2).IsEmpty());
    EXPECT_TRUE(grid.GetCellText(2, 3).IsEmpty());
    ClickCell(5, 4);
    scene.Key(VK_DELETE);
    EXPECT_TRUE(grid.GetCellText(5, 4).IsEmpty());
    EXPECT_EQ(grid.GetCellText(5, 3), CString(L"r5c3"));
}

// The Edit commands as a menu or tool bar reaches them: each item's state
// asked from the grid's command UI, a chosen item sent as WM_COMMAND.
class GridEditCommands : public GridEditing {
protected:
    CMenu menu;
    static constexpr UINT kCommands[] = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL};

    void SetUp() override
    {
        GridEditing::SetUp();
        ASSERT_TRUE(menu.CreatePopupMenu());
        for (UINT id : kCommands)
            menu.AppendMenu(MF_STRING, id, L"item");
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    // The enabled items, in menu order, after the grid updated them.
    std::vector<UINT> Enabled()
    {
        std::vector<UINT> enabled;
        for (UINT index = 0; index < std::size(kCommands); ++index) {
            CCmdUI ui;
            ui.m_nID = kCommands[index];
            ui.m_nIndex = index;
            ui.m_pMenu = &menu;
            EXPECT_TRUE(ui.DoUpdate(&grid, TRUE));
            if ((menu.GetMenuState(kCommands[index], MF_BYCOMMAND) & MF_GRAYED) == 0)
                enabled.push_back(kCommands[index]);
        }
        return enabled;
    }
    void Choose(UINT id)
    {
        grid.SendMessage(WM_COMMAND, id);
        CGridScene::Settle();
    }
};

TEST_F(GridEditCommands, ItemsFollowTheSelectionTheEditingSwitchAndTheClipboard)
{
    EXPECT_EQ(Enabled(), (std::vector<UINT>{ID_EDIT_SELECT_ALL})) << "nothing selected, clipboard empty";
    ClickCell(2, 2);
    EXPECT_EQ(Enabled(), (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_SELECT_ALL}));
    PutClipboardText(L"x");
    EXPECT_EQ(Enabled(), (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL}));
    grid.SetCellReadOnly(2, 2);
    EXPECT_EQ(Enabled(), (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_SELECT_ALL})) << "focus cell read-only";
    grid.EnableEditing(FALSE);
    EXPECT_EQ(Enabled(), (std::vector<UINT>{ID_EDIT_COPY, ID_EDIT_SELECT_ALL}));
    grid.EnableSelection(FALSE);
    EXPECT_EQ(Enabled(), (std::vector<UINT>{})) << "no selection: nothing to copy or select";
}

TEST_F(GridEditCommands, ChosenItemsCopyCutPasteAndSelectAll)
{
    ClickCell(2, 2);
    ClickCell(2, 3, kShift);
    Choose(ID_EDIT_COPY);
    EXPECT_EQ(ClipboardText(), L"r2c2\tr2c3");
    ClickCell(4, 1);
    Choose(ID_EDIT_PASTE);
    EXPECT_EQ(grid.GetCellText(4, 1), CString(L"r2c2"));
    EXPECT_EQ(grid.GetCellText(4, 2), CString(L"r2c3"));
    Choose(ID_EDIT_CUT);
    EXPECT_TRUE(grid.GetCellText(4, 1).IsEmpty());
    Choose(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 7, 4));
}
