// The grid that takes drops only in its drop column, below the first row.
#include "Common/Grid/DragDropGrid.h"
#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/OleDataObject.h"

#include <gtest/gtest.h>

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
