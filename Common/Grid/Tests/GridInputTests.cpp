#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;
using GridTest::kControl;
using GridTest::kShift;

namespace {

class GridInput : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 30, 6, 20, 60);
        CGridScene::Settle();
    }
    void ClickCell(int row, int col, unsigned modifiers = GridTest::kNone)
    {
        scene.Click(grid.m_hWnd, CentreOf(grid, row, col), modifiers);
    }
    CCellRange Selected() const { return grid.GetSelectedCellRange(); }
};

}

TEST_F(GridInput, AClickSelectsTheCellAndTellsTheParent)
{
    ClickCell(3, 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    EXPECT_EQ(Selected(), CCellRange(3, 2, 3, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    const auto& parent = scene.parent;
    EXPECT_EQ(parent.Count(GRIDN_SELCHANGING), 1);
    EXPECT_EQ(parent.Count(GRIDN_SELCHANGED), 1);
    ASSERT_NE(parent.Last(GRIDN_CLICK), nullptr);
    EXPECT_EQ(parent.Last(GRIDN_CLICK)->row, 3);
    EXPECT_EQ(parent.Last(GRIDN_CLICK)->col, 2);
    EXPECT_EQ(parent.commands, 1);
    // A right click outside the cells says so with (-1, -1).
    grid.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(395, 295));
    ASSERT_NE(parent.Last(GRIDN_RCLICK), nullptr);
    EXPECT_EQ(parent.Last(GRIDN_RCLICK)->row, -1);
}

TEST_F(GridInput, ShiftExtendsFromTheStartAndControlTogglesSingleCells)
{
    ClickCell(2, 2);
    ClickCell(4, 3, kShift);
    EXPECT_EQ(Selected(), CCellRange(2, 2, 4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    ClickCell(6, 4, kControl);
    EXPECT_EQ(grid.GetSelectedCount(), 7);
    EXPECT_TRUE(grid.IsCellSelected(6, 4));
    // Ctrl+click on a selected cell takes only that one out.
    ClickCell(3, 3, kControl);
    EXPECT_FALSE(grid.IsCellSelected(3, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    EXPECT_TRUE(grid.IsCellSelected(6, 4));
}

TEST_F(GridInput, HeadingClicksSelectWholeColumnsAndRows)
{
    ClickCell(0, 2);
    EXPECT_EQ(Selected(), CCellRange(1, 2, 29, 2));
    ClickCell(0, 4, kShift);
    EXPECT_EQ(Selected(), CCellRange(1, 2, 29, 4));
    ClickCell(5, 0);
    EXPECT_EQ(Selected(), CCellRange(5, 1, 5, 5));
    ClickCell(0, 0);
    EXPECT_EQ(Selected(), CCellRange(1, 1, 29, 5));
    grid.SetSingleColumnSelection(TRUE);
    ClickCell(0, 2);
    ClickCell(0, 4, kShift);
    EXPECT_EQ(Selected(), CCellRange(1, 4, 29, 4));
}

TEST_F(GridInput, ListModeWithSingleRowsKeepsOneRow)
{
    grid.SetListMode(TRUE);
    grid.SetSingleRowSelection(TRUE);
    ClickCell(3, 2);
    EXPECT_EQ(Selected(), CCellRange(3, 1, 3, 5));
    ClickCell(6, 2, kShift);
    EXPECT_EQ(Selected(), CCellRange(6, 1, 6, 5));
    ClickCell(8, 2, kControl);
    EXPECT_EQ(Selected(), CCellRange(8, 1, 8, 5));
}

TEST_F(GridInput, DraggingBelowTheEdgeScrollsAndExtendsOnTheTimer)
{
    const HWND hwnd = grid.m_hWnd;
    scene.Press(hwnd, CentreOf(grid, 2, 2));
    scene.MoveTo(hwnd, CentreOf(grid, 4, 3));
    EXPECT_EQ(Selected(), CCellRange(2, 2, 4, 3));
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    CRect client;
    grid.GetClientRect(client);
    CGridScene::Display().InjectMouseMove(CGridScene::Screen(hwnd, {150, client.bottom + 15}));
    CGridScene::Settle();
    scene.Wait(200);
    EXPECT_GT(grid.GetScrollPos32(SB_VERT), 0);
    EXPECT_GT(Selected().maxRow, 14);
    EXPECT_EQ(Selected().minRow, 2);
    // Once released, time no longer scrolls.
    scene.Release(hwnd, {150, client.bottom + 15});
    const int after = grid.GetScrollPos32(SB_VERT);
    scene.Wait(200);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), after);
}

TEST_F(GridInput, ArrowKeysMoveTheFocusShiftGrowsFromTheStartTabResetsIt)
{
    ClickCell(2, 2);
    scene.Key(VK_DOWN, kShift);
    scene.Key(VK_RIGHT, kShift);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(Selected(), CCellRange(2, 2, 3, 3));
    scene.Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 4));
    EXPECT_EQ(Selected(), CCellRange(3, 4, 3, 4));
    scene.Key(VK_TAB);
    scene.Key(VK_TAB);
    // From the last column Tab wraps to the next row's first normal column.
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 1));
    scene.Key(VK_TAB, kShift);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 5));
    scene.Key(VK_UP);
    scene.Key(VK_UP);
    scene.Key(VK_UP);
    scene.Key(VK_UP);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 5));
    scene.Key(VK_HOME, kControl);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    scene.Key(VK_END, kControl);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(29, 5));
    EXPECT_TRUE(grid.IsCellVisible(29, 5));
    EXPECT_GT(grid.GetScrollPos32(SB_VERT), 0);
}

TEST_F(GridInput, PageKeysScrollAndMoveTheFocusWithTheTopRow)
{
    ClickCell(2, 1);
    scene.Key(VK_NEXT);
    const CCellID topLeft = grid.GetTopLeftNonFixedCell();
    EXPECT_GT(topLeft.row, 1);
    EXPECT_EQ(grid.GetFocusCell().row, 2 + topLeft.row - 1);
    scene.Key(VK_PRIOR);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 1);
    EXPECT_EQ(grid.GetFocusCell().row, 2);
}

TEST_F(GridInput, DraggingAColumnDividerResizesTheColumnDownToOnePixel)
{
    grid.SetResizeMayHide(FALSE, FALSE);
    const HWND hwnd = grid.m_hWnd;
    CRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 2, heading));
    scene.MoveTo(hwnd, {heading.right - 1, 10});
    scene.Press(hwnd, {heading.right - 1, 10});
    EXPECT_EQ(grid.GetMouseMode(), CZellGrid::kSizingColumn);
    scene.MoveTo(hwnd, {heading.right + 30, 10});
    scene.Release(hwnd, {heading.right + 30, 10});
    EXPECT_EQ(grid.GetColumnWidth(2), heading.right + 30 - heading.left);
    scene.MoveTo(hwnd, {heading.left + 88, 10});
    scene.Press(hwnd, {heading.left + 88, 10});
    scene.MoveTo(hwnd, {heading.left - 20, 10});
    scene.Release(hwnd, {heading.left - 20, 10});
    EXPECT_EQ(grid.GetColumnWidth(2), 1);
}

TEST_F(GridInput, SelectionOffOnlyMovesTheFocus)
{
    grid.EnableSelection(FALSE);
    ClickCell(3, 3);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    scene.Key(VK_DOWN, kShift);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}
