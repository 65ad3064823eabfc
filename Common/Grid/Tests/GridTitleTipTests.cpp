#include "Common/Grid/TitleTip.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

class GridTitleTip : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 6, 4, 22, 50);
        grid.EnableTitleTips(TRUE);
        grid.SetCellText(2, 2, L"a text much too long for its cell");
        grid.SetCellText(3, 2, L"ok");
        grid.SetFocus();
        CGridScene::Settle();
    }
    static HWND Tip() { return FindWindowW(CTitleTip::kClassName, nullptr); }
    static bool TipShown() { return Tip() != nullptr && IsWindowVisible(Tip()); }
};

}

TEST_F(GridTitleTip, ACutTextShowsItsTipAndAFittingOneDoesNot)
{
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 3, 2));
    EXPECT_FALSE(TipShown());
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 2));
    ASSERT_TRUE(TipShown());
    RECT tip;
    GetWindowRect(Tip(), &tip);
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    EXPECT_GT(tip.right - tip.left, cell.Width());
}

TEST_F(GridTitleTip, LeavingTheCellHidesTheTipAndTheGridGetsTheMove)
{
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 2));
    ASSERT_TRUE(TipShown());
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    // Inside the cell the tip stays; one pixel below it goes.
    scene.MoveTo(grid.m_hWnd, {cell.left + 3, cell.bottom});
    EXPECT_TRUE(TipShown());
    scene.parent.notes.clear();
    scene.MoveTo(grid.m_hWnd, {cell.left + 10, cell.bottom + 8});
    EXPECT_FALSE(TipShown());
    const GridTest::Note* over = scene.parent.Last(GRIDN_MOUSEOVER);
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->row, 3);
}

TEST_F(GridTitleTip, AClickThroughTheTipReachesTheGridAndAKeyHidesIt)
{
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 2));
    ASSERT_TRUE(TipShown());
    scene.Click(grid.m_hWnd, CentreOf(grid, 2, 2));
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 1));
    grid.SetCellText(2, 1, L"another text that does not fit");
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 1));
    ASSERT_TRUE(TipShown());
    // A key that reaches the tip goes on to the grid.
    SendMessageW(Tip(), WM_KEYDOWN, VK_DOWN, 0);
    CGridScene::Settle();
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    // And one the grid gets while the tip shows hides it too.
    grid.SetFocus();
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 2));
    scene.MoveTo(grid.m_hWnd, CentreOf(grid, 2, 1));
    ASSERT_TRUE(TipShown());
    scene.Key(VK_DOWN);
    EXPECT_FALSE(TipShown());
}
