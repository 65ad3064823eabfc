// The grid that takes drops only in its drop column, below the first row.
#include "Common/Grid/DragDropGrid.h"
#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/DragDrop/OleDataObject.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

class DragDropGrid : public ::testing::Test {
protected:
    CGridScene scene;
    CDragDropGrid grid;
    COleDataObject text;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 6, 4, 22, 80);
        grid.EnableDragAndDrop(TRUE);
        // Text on the clipboard, offered as a drag would offer it.
        grid.SetFocusCell(2, 2);
        grid.OnEditCopy();
        ASSERT_TRUE(text.AttachClipboard());
    }
    bool Highlighted(int row, int col) const { return (grid.GetCellState(row, col) & GRIDSTATE_DROPHILITED) != 0; }
};

}

TEST_F(DragDropGrid, WithoutADropColumnNothingIsTaken)
{
    EXPECT_EQ(grid.GetDropColumn(), -1);
    EXPECT_EQ(grid.OnDragEnter(&text, 0, CentreOf(grid, 2, 2)), DROPEFFECT_NONE);
    EXPECT_EQ(grid.OnDragOver(&text, 0, CentreOf(grid, 2, 2)), DROPEFFECT_NONE);
    EXPECT_FALSE(Highlighted(2, 2));
}

TEST_F(DragDropGrid, OnlyCellsOfTheDropColumnBelowTheFirstRowTakeTheDrop)
{
    grid.SetDropColumn(2);
    EXPECT_EQ(grid.OnDragEnter(&text, 0, CentreOf(grid, 3, 2)), DROPEFFECT_MOVE);
    EXPECT_TRUE(Highlighted(3, 2));
    EXPECT_EQ(grid.OnDragOver(&text, MK_CONTROL, CentreOf(grid, 4, 2)), DROPEFFECT_COPY);
    EXPECT_FALSE(Highlighted(3, 2));
    EXPECT_TRUE(Highlighted(4, 2));

    // Another column refuses, and the last cell no longer shows it would take it.
    EXPECT_EQ(grid.OnDragOver(&text, 0, CentreOf(grid, 4, 1)), DROPEFFECT_NONE);
    EXPECT_FALSE(Highlighted(4, 2));
    EXPECT_FALSE(Highlighted(4, 1));
    EXPECT_EQ(grid.OnDragEnter(&text, 0, CentreOf(grid, 4, 3)), DROPEFFECT_NONE);
    // The heading row of the drop column refuses too.
    EXPECT_EQ(grid.OnDragEnter(&text, 0, CentreOf(grid, 0, 2)), DROPEFFECT_NONE);
    EXPECT_EQ(grid.OnDragOver(&text, 0, CentreOf(grid, 0, 2)), DROPEFFECT_NONE);
}

TEST_F(DragDropGrid, ADropInTheDropColumnWritesTheText)
{
    grid.SetDropColumn(3);
    ASSERT_EQ(grid.OnDragOver(&text, 0, CentreOf(grid, 5, 3)), DROPEFFECT_MOVE);
    EXPECT_TRUE(grid.OnDrop(&text, DROPEFFECT_COPY, CentreOf(grid, 5, 3)));
    EXPECT_EQ(grid.GetCellText(5, 3), CString(L"r2c2"));
    EXPECT_FALSE(Highlighted(5, 3));
}

TEST_F(DragDropGrid, TheDragImageIsTheFocusCellWithItsBackgroundSeeThrough)
{
    grid.SetCellBackColour(2, 2, RGB(255, 255, 255));
    CPoint size;
    std::unique_ptr<CImageList> image = grid.CreateDragImage(&size);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetImageCount(), 1);
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    EXPECT_EQ(size, CPoint(cell.Width(), cell.Height()));
    int width = 0;
    int height = 0;
    ASSERT_TRUE(image->GetIconSize(&width, &height));
    EXPECT_EQ(CSize(width, height), CSize(cell.Width(), cell.Height()));

    // Drawn over green: the background stays green, the text does not.
    constexpr COLORREF kGreen = RGB(0, 200, 0);
    CDC* screen = grid.GetDC();
    CDC memory;
    CBitmap picture;
    ASSERT_TRUE(memory.CreateCompatibleDC(screen));
    ASSERT_TRUE(picture.CreateCompatibleBitmap(screen, width, height));
    grid.ReleaseDC(screen);
    CBitmap* old = memory.SelectObject(&picture);
    memory.FillSolidRect(CRect(0, 0, width, height), kGreen);
    ASSERT_TRUE(image->Draw(&memory, 0, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_EQ(memory.GetPixel(width - 3, 3), kGreen);
    int text = 0;
    for (int x = 0; x < width; ++x)
        text += memory.GetPixel(x, height / 2) != kGreen ? 1 : 0;
    EXPECT_GT(text, 0);
    memory.SelectObject(old);
}

TEST_F(DragDropGrid, WithoutAFocusCellThereIsNoDragImage)
{
    grid.SetFocusCell(-1, -1);
    CPoint size(-5, -5);
    EXPECT_EQ(grid.CreateDragImage(&size), nullptr);
    EXPECT_EQ(size, CPoint(-5, -5));
}
