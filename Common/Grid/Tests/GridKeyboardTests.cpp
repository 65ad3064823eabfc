// The grid among other controls, driven by the keyboard alone through the
// dialog manager: Tab enters it at a current cell that shows, the keys act
// on that cell, and Tab and Shift+Tab leave it again at its ends.
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ZELL::Grid;

using GridTest::CGridScene;

namespace {

constexpr int kBefore = 301;
constexpr int kAfter = 302;

class GridKeyboard : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;
    UiTest::CDialogDriver driver{scene.parent.m_hWnd};

    void SetUp() override
    {
        // In tab order: an edit, the grid, a push button.
        Child(L"Edit", kBefore, ES_AUTOHSCROLL | WS_BORDER, {10, 5, 200, 30});
        ASSERT_TRUE(scene.Make(grid, {10, 40, 410, 280}));
        Child(L"Button", kAfter, BS_PUSHBUTTON, {10, 285, 110, 310});
        // As the settings pages set their grids up: 3 x 2 normal cells, no
        // selection, no frame of the cells' own round the focus cell.
        GridTest::Shape(grid, 4, 3, 22, 70);
        grid.EnableSelection(FALSE);
        grid.SetFrameFocusCell(FALSE);
        grid.SetCellReadOnly(1, 1);
        CGridScene::Settle();
        SetFocus(driver.Control(kBefore));
        driver.PumpUntilIdle();
    }
    void Child(const wchar_t* cls, int id, DWORD style, RECT r) const
    {
        CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, scene.parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        nullptr, nullptr);
    }
    void Press(UINT key, unsigned modifiers = UiTest::kNoModifier)
    {
        driver.Press(key, modifiers);
        driver.PumpUntilIdle();
    }
    // Where the keys are: the grid's focus cell while the grid has the
    // focus, else the focused control's id as (-id, 0).
    CCellID Where() const
    {
        if (GetFocus() == grid.m_hWnd)
            return grid.GetFocusCell();
        return CCellID(-driver.FocusId(), 0);
    }
    HWND Editor() const { return GetDlgItem(grid.m_hWnd, IDC_INPLACE_CONTROL); }
};

struct tStroke {
    UINT key;
    unsigned modifiers;
    CCellID where;
};

}

TEST_F(GridKeyboard, TabEntersAtTheFirstEditableCellMovesThroughTheCellsAndLeavesAtTheEnds)
{
    const CCellID before(-kBefore, 0);
    const CCellID after(-kAfter, 0);
    const UINT back = UiTest::kShift;
    const std::vector<tStroke> strokes{
        {VK_TAB, 0, {1, 2}},  // (1, 1) is read-only
        {VK_DOWN, 0, {2, 2}},     {VK_LEFT, 0, {2, 1}},    {VK_TAB, 0, {2, 2}},  {VK_TAB, 0, {3, 1}},
        {VK_TAB, 0, {3, 2}},      {VK_TAB, 0, after},      {VK_TAB, back, {3, 2}}, {VK_UP, 0, {2, 2}},
        {VK_HOME, UiTest::kControl, {1, 1}}, {VK_TAB, back, before}, {VK_TAB, 0, {1, 1}},
    };
    for (const tStroke& stroke : strokes) {
        Press(stroke.key, stroke.modifiers);
        EXPECT_EQ(Where(), stroke.where) << "key " << stroke.key << " modifiers " << stroke.modifiers;
    }
    EXPECT_EQ(UiTest::TextOf(driver.Control(kBefore)), L"") << "Tab typed nothing";
    EXPECT_EQ(Editor(), nullptr) << "moving edits nothing";
}

TEST_F(GridKeyboard, F2EnterAndTypingEditTheCurrentCell)
{
    Press(VK_TAB);
    ASSERT_EQ(Where(), CCellID(1, 2));
    // F2 keeps the text, the caret at its end; Enter takes it.
    Press(VK_F2);
    ASSERT_NE(Editor(), nullptr);
    driver.Type(L"x");
    driver.PumpUntilIdle();
    Press(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(1, 2), CString(L"r1c2x"));
    EXPECT_EQ(GetFocus(), grid.m_hWnd) << "Enter ended the edit, not the dialog";
    // Enter opens the editor as well.
    Press(VK_DOWN);
    Press(VK_RETURN);
    ASSERT_NE(Editor(), nullptr);
    Press(VK_ESCAPE);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"r2c2"));
    EXPECT_EQ(Where(), CCellID(2, 2)) << "Escape ended the edit and gave the grid the keys back";
    // Typing replaces the text.
    driver.Type(L"7");
    driver.PumpUntilIdle();
    Press(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"7"));
    EXPECT_EQ(Where(), CCellID(2, 2));
}

TEST_F(GridKeyboard, TheCurrentCellShowsItsFocusRectangleWhileTheGridHasTheFocus)
{
    Press(VK_TAB);
    ASSERT_EQ(Where(), CCellID(1, 2));
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(1, 2, cell));
    // The dotted rectangle runs along the cell's inside edge; a cell of the
    // same row without it stays white there.
    const auto inkAt = [&](int col) {
        CRect r;
        grid.GetCellRect(1, col, r);
        int ink = 0;
        for (int x = r.left + 1; x < r.left + 9; ++x)
            ink += scene.PixelOf(grid.m_hWnd, {x, r.top + 1}) != RGB(255, 255, 255) ? 1 : 0;
        return ink;
    };
    EXPECT_GE(inkAt(2), 3);
    Press(VK_TAB, UiTest::kShift);
    ASSERT_EQ(Where(), CCellID(1, 1));
    EXPECT_EQ(inkAt(2), 0) << "the mark moved with the current cell";
    EXPECT_GE(inkAt(1), 3);
    SetFocus(driver.Control(kAfter));
    driver.PumpUntilIdle();
    EXPECT_EQ(inkAt(1), 0) << "without the focus the grid shows no mark";
}
