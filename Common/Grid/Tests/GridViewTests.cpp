#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/ImageList.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

class GridView : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void Make(int rows, int cols, int fixedRows = 1, int fixedCols = 1)
    {
        ASSERT_TRUE(scene.Make(grid));
        grid.SetRowTotal(rows);
        grid.SetColumnTotal(cols);
        grid.SetFixedRowTotal(fixedRows);
        grid.SetFixedColumnTotal(fixedCols);
        for (int row = 0; row < rows; ++row)
            grid.SetRowHeight(row, 20);
        for (int col = 0; col < cols; ++col)
            grid.SetColumnWidth(col, 60);
        GridTest::FillNames(grid);
        grid.SetFocus();
        CGridScene::Settle();
    }
};

}

TEST_F(GridView, TheVerticalBarShowsOnlyWhileRowsDoNotFit)
{
    Make(5, 3);
    EXPECT_FALSE(grid.IsScrollBarShown(SB_VERT));
    EXPECT_EQ(grid.GetScrollRangeMax(SB_VERT), 0);
    EXPECT_FALSE(grid.GetStyle() & WS_VSCROLL);
    grid.SetRowTotal(40);
    for (int row = 5; row < 40; ++row)
        grid.SetRowHeight(row, 20);
    EXPECT_TRUE(grid.IsScrollBarShown(SB_VERT));
    EXPECT_GT(grid.GetScrollRangeMax(SB_VERT), 0);
    grid.SetRowTotal(3);
    EXPECT_FALSE(grid.IsScrollBarShown(SB_VERT));
}

TEST_F(GridView, CellRectanglesAndHitTestsAgreeAndSkipHiddenColumns)
{
    Make(6, 5);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(2, 3, rect));
    EXPECT_EQ(rect, CRect(180, 40, 239, 59));
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(185, 45)), CCellID(2, 3));
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(5, 5)), CCellID(0, 0));
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(5, 45), FALSE), CCellID(2, -1));
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(395, 45)), CCellID(2, -1));

    grid.SetColumnWidth(2, 0);
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(125, 45)), CCellID(2, 3));
    grid.SetFocusCell(2, 1);
    scene.Key(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    scene.Key(VK_LEFT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
}

TEST_F(GridView, RowsUnderFixedHeadingsHaveTheirPlaceWhenEveryColumnIsFixed)
{
    Make(6, 2, 2, 2);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(2, 1, rect));
    EXPECT_EQ(rect, CRect(60, 40, 119, 59));
    grid.SetFocusCell(2, 1); // redraws through the same origins
    EXPECT_TRUE(grid.GetCellRect(5, 0, rect));
    EXPECT_EQ(rect.top, 100);
}

TEST_F(GridView, ScrollingMovesTheTopLeftCellAndStopsAtTheEnds)
{
    Make(60, 4);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell(), CCellID(1, 1));
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell(), CCellID(2, 1));
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 20);
    CRect rect;
    EXPECT_FALSE(grid.GetCellRect(1, 1, rect));
    EXPECT_EQ(grid.GetCellFromPoint(CPoint(70, 25)), CCellID(2, 1));

    grid.SendMessage(WM_VSCROLL, SB_BOTTOM);
    const int bottom = grid.GetScrollPos32(SB_VERT);
    EXPECT_EQ(bottom, grid.GetScrollRangeMax(SB_VERT));
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), bottom);
    ASSERT_TRUE(grid.GetCellRect(59, 1, rect));
    CRect client;
    grid.GetClientRect(client);
    EXPECT_LE(rect.bottom, client.bottom);
    grid.SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    grid.SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
}

TEST_F(GridView, TheWheelScrollsLinesOrPages)
{
    Make(80, 4);
    grid.SetWheelScrollLines(3);
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    const int start = grid.GetScrollPos32(SB_VERT);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(150, 150));
    CGridScene::Settle();
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), start - 60);
    grid.SetWheelScrollLines(-1);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(150, 150));
    CGridScene::Settle();
    CRect client;
    grid.GetClientRect(client);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), start - 60 + client.Height() - 20);
}

TEST_F(GridView, PaintsFixedCellsGridLinesSelectionAndFocus)
{
    Make(6, 5);
    grid.SetGridLineColour(RGB(200, 0, 0));
    grid.SetHighlightColours(RGB(0, 0, 160), RGB(255, 255, 255), RGB(0, 160, 0), RGB(0, 0, 0));
    grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(RGB(250, 250, 250));
    grid.SetCellText(2, 2, L"");
    grid.SetCellText(2, 0, L"");
    grid.SetCellText(3, 3, L"");
    grid.SetCellText(4, 4, L"");
    grid.SetSelectedRange(3, 3, 3, 3);
    grid.Invalidate();
    const HWND hwnd = grid.m_hWnd;
    // The grid line at the right and bottom edge of a normal cell.
    EXPECT_EQ(scene.PixelOf(hwnd, {179, 45}), RGB(200, 0, 0));
    EXPECT_EQ(scene.PixelOf(hwnd, {150, 59}), RGB(200, 0, 0));
    EXPECT_EQ(scene.PixelOf(hwnd, {150, 50}), RGB(250, 250, 250));
    // Fixed cells in the button face.
    EXPECT_EQ(scene.PixelOf(hwnd, {30, 50}), GetSysColor(COLOR_BTNFACE));
    // A selected cell in the selected colour whatever its own.
    grid.SetCellBackColour(3, 3, RGB(1, 2, 3));
    grid.RedrawCell(3, 3);
    EXPECT_EQ(scene.PixelOf(hwnd, {210, 70}), RGB(0, 0, 160));
    // The focus cell, also selected, in the focus colours, framed.
    grid.SetSelectedRange(4, 4, 4, 4);
    grid.SetFocusCell(4, 4);
    grid.RedrawCell(4, 4);
    EXPECT_EQ(scene.PixelOf(hwnd, {270, 90}), RGB(0, 160, 0));
    // Right of and below the cells: the grid's background.
    grid.SetGridBackColour(RGB(7, 7, 7));
    grid.Invalidate();
    EXPECT_EQ(scene.PixelOf(hwnd, {350, 200}), RGB(7, 7, 7));
}

TEST_F(GridView, ImagesFromTheImageListAreDrawnWhereTheyFit)
{
    Make(4, 4);
    CImageList images;
    ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32, 1, 1));
    CBitmap bitmap;
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, nullptr));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(CRect(0, 0, 8, 8), RGB(0, 200, 200));
    dc.SelectObject(old);
    ASSERT_EQ(images.Add(&bitmap, static_cast<CBitmap*>(nullptr)), 0);
    grid.SetImageList(&images);
    grid.SetCellImage(2, 2, 0);
    grid.Invalidate();
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    const int margin = static_cast<int>(grid.GetCellAt(2, 2)->GetMargin());
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, {cell.left + margin + 3, cell.top + margin + 3}), RGB(0, 200, 200));
    grid.SetImageList(nullptr);
}
