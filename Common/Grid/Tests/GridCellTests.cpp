#include "Common/Grid/GridCell.h"
#include "Common/Grid/GridDefaultCell.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/Drawing/DC.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

namespace {

// A cell class of its own, to replace plain cells with.
class CMarkedCell : public CGridCell {
    DECLARE_DYNCREATE(CMarkedCell)
};
IMPLEMENT_DYNCREATE(CMarkedCell, CGridCell)

}

TEST(GridCells, UnsetLooksComeFromTheDefaultCellOfTheCellsKind)
{
    CZellGrid grid(3, 3, 1, 1);
    grid.GetDefaultCell(TRUE, FALSE)->SetFormat(DT_CENTER);
    grid.GetDefaultCell(FALSE, FALSE)->SetFormat(DT_RIGHT);
    grid.GetDefaultCell(TRUE, FALSE)->SetMargin(7);
    CGridCellBase* heading = grid.GetCellAt(0, 1);
    heading->SetFormat(static_cast<DWORD>(-1));
    heading->SetMargin(static_cast<UINT>(-1));
    EXPECT_EQ(heading->GetFormat(), static_cast<DWORD>(DT_CENTER));
    EXPECT_EQ(heading->GetMargin(), 7u);

    // The same cell no longer in a fixed row takes the normal defaults.
    heading->SetState(heading->GetState() & ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW));
    EXPECT_EQ(heading->GetFormat(), static_cast<DWORD>(DT_RIGHT));

    // Colours stay unset; drawing resolves them.
    EXPECT_EQ(heading->GetTextColour(), CLR_DEFAULT);
    // A cell of its own font uses it; without, the default cell's.
    EXPECT_TRUE(heading->IsDefaultFont());
    EXPECT_EQ(heading->GetFont(), grid.GetDefaultCell(FALSE, FALSE)->GetFont());
    LOGFONTW own = *heading->GetFont();
    own.lfHeight = -30;
    heading->SetFont(&own);
    EXPECT_EQ(heading->GetFont()->lfHeight, -30);
    EXPECT_NE(heading->GetFontObject(), grid.GetDefaultCell(FALSE, FALSE)->GetFontObject());
}

TEST(GridCells, DefaultCellsAreReadOnlyAndNeverFallBackOnThemselves)
{
    CZellGrid grid;
    CGridDefaultCell* defaults = grid.GetDefaultCell(FALSE, FALSE);
    defaults->SetState(0);
    EXPECT_TRUE(defaults->IsReadOnly());
    defaults->SetUserValue(42);
    EXPECT_EQ(defaults->GetUserValue(), 0);
    // Unset format and margin on the default cell itself end, not recurse.
    defaults->SetFormat(static_cast<DWORD>(-1));
    defaults->SetMargin(static_cast<UINT>(-1));
    EXPECT_EQ(defaults->GetFormat(), 0u);
    EXPECT_EQ(defaults->GetMargin(), 0u);
    EXPECT_GT(defaults->GetDefaultWidth(), 30);
    EXPECT_GT(defaults->GetDefaultHeight(), 10);
}

TEST(GridCells, CopyCarriesEverythingAndAssignmentToItselfKeepsIt)
{
    CZellGrid grid(2, 2);
    CGridCell source;
    source.SetGrid(&grid);
    source.SetText(L"text");
    source.SetImage(3);
    source.SetUserValue(static_cast<LPARAM>(0x1234567890LL));
    source.SetTextColour(RGB(1, 2, 3));
    source.SetBackColour(RGB(4, 5, 6));
    source.SetMargin(9);
    CGridCell target;
    target.CopyFrom(source);
    EXPECT_STREQ(target.GetText(), L"text");
    EXPECT_EQ(target.GetImage(), 3);
    EXPECT_EQ(target.GetUserValue(), static_cast<LPARAM>(0x1234567890LL));
    EXPECT_EQ(target.GetTextColour(), RGB(1, 2, 3));
    EXPECT_EQ(target.GetBackColour(), RGB(4, 5, 6));
    EXPECT_EQ(target.GetMargin(), 9u);
    EXPECT_TRUE(target.IsDefaultFont());
    CGridCellBase& same = target;
    same = target;
    EXPECT_STREQ(target.GetText(), L"text");
}

TEST(GridCells, ExtentsMeasureTheWidestLineOnlyWhenWrapping)
{
    CZellGrid grid(2, 2);
    CGridCellBase* cell = grid.GetCellAt(1, 1);
    const auto* defaults = grid.GetDefaultCell(FALSE, FALSE);
    // Without a text the default size, without measuring anything.
    EXPECT_EQ(cell->GetTextExtent(nullptr).cx, defaults->GetDefaultWidth());
    EXPECT_EQ(cell->GetTextExtent(nullptr).cy, defaults->GetDefaultHeight());

    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.SelectObject(defaults->GetFontObject());
    cell->SetFormat(DT_WORDBREAK);
    const CSize wrapped = cell->GetTextExtent(L"short\na much longer line", &dc);
    const CSize longLine = cell->GetTextExtent(L"a much longer line", &dc);
    EXPECT_EQ(wrapped.cx, longLine.cx);
    EXPECT_GT(wrapped.cy, longLine.cy);
    cell->SetFormat(DT_SINGLELINE);
    EXPECT_GT(cell->GetTextExtent(L"short\na much longer line", &dc).cx, longLine.cx);
}

TEST(GridCells, DrawingNothingOrWithoutGridFails)
{
    CZellGrid grid(2, 2);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CGridCellBase* cell = grid.GetCellAt(1, 1);
    const int saved = dc.SaveDC();
    EXPECT_FALSE(cell->Draw(&dc, 1, 1, CRect(5, 5, 5, 20)));
    EXPECT_FALSE(cell->Draw(&dc, 1, 1, CRect(5, 5, 20, 5)));
    EXPECT_FALSE(cell->PrintCell(&dc, 1, 1, CRect(5, 5, 5, 5)));
    CGridCell orphan;
    EXPECT_FALSE(orphan.Draw(&dc, 0, 0, CRect(0, 0, 10, 10)));
    // Every way out leaves the context as it found it.
    EXPECT_EQ(dc.SaveDC(), saved + 1);
}

TEST(GridModel, CountsFixedCountsAndSizes)
{
    CZellGrid grid(5, 4, 2, 1);
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_EQ(grid.GetCellState(0, 0) & 0x70u, 0x70u);
    EXPECT_EQ(grid.GetCellState(1, 2) & 0x70u, 0x30u);
    EXPECT_EQ(grid.GetCellState(3, 0) & 0x70u, 0x50u);
    EXPECT_EQ(grid.GetCellState(3, 2) & 0x70u, 0u);

    // Fewer rows than fixed ones lowers the fixed count for good.
    EXPECT_TRUE(grid.SetRowTotal(1));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_TRUE(grid.SetRowTotal(6));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetRowHeight(5), grid.GetDefaultCell(FALSE, FALSE)->GetDefaultHeight());
    EXPECT_TRUE(grid.SetColumnTotal(6));
    EXPECT_EQ(grid.GetColumnWidth(5), grid.GetDefaultCell(FALSE, TRUE)->GetDefaultWidth());
    EXPECT_EQ(grid.GetRowHeight(6), -1);
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_FALSE(grid.SetRowHeight(6, 10));
    EXPECT_FALSE(grid.SetColumnWidth(0, -1));

    // Rows that stop being fixed lose the bits and their colours.
    grid.SetFixedRowTotal(3);
    grid.SetCellBackColour(2, 2, RGB(9, 9, 9));
    grid.SetFixedRowTotal(1);
    EXPECT_EQ(grid.GetCellState(2, 2) & 0x70u, 0u);
    EXPECT_EQ(grid.GetCellState(2, 0) & 0x70u, 0x50u);
    EXPECT_EQ(grid.GetCellBackColour(2, 2), CLR_DEFAULT);
}

TEST(GridModel, OutOfRangeAccessIsEmptyAndSettersRefuse)
{
    CZellGrid grid(3, 3);
    EXPECT_EQ(grid.GetCellAt(-1, 0), nullptr);
    EXPECT_EQ(grid.GetCellAt(3, 0), nullptr);
    EXPECT_EQ(grid.GetCellAt(0, 3), nullptr);
    EXPECT_TRUE(grid.GetCellText(3, 0).IsEmpty());
    EXPECT_EQ(grid.GetCellImage(0, 3), -1);
    EXPECT_EQ(grid.GetCellState(-1, -1), 0u);
    EXPECT_FALSE(grid.SetCellText(3, 3, L"x"));
    EXPECT_FALSE(grid.SetCellState(0, 5, GRIDSTATE_SELECTED));
    EXPECT_NE(grid.GetCellFont(9, 9), nullptr);
}

TEST(GridModel, InsertAndDeleteKeepFixedCountsAndFocusInStep)
{
    CZellGrid grid(3, 3, 1, 1);
    EXPECT_EQ(grid.InsertColumn(L"end", DT_LEFT, 3), 3);
    EXPECT_EQ(grid.GetCellText(0, 3), CString(L"end"));
    EXPECT_EQ(grid.GetCellFormat(2, 3), static_cast<DWORD>(DT_LEFT));
    EXPECT_EQ(grid.InsertColumn(L"into fixed", DT_LEFT, 0), -1);
    EXPECT_EQ(grid.InsertRow(L"at count", 3), -1);
    EXPECT_EQ(grid.InsertRow(L"appended"), 3);
    EXPECT_EQ(grid.GetCellText(3, 0), CString(L"appended"));

    grid.SetFocusCell(2, 2);
    EXPECT_EQ(grid.InsertRow(L"before", 1), 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    EXPECT_TRUE(grid.DeleteColumn(1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 1));
    EXPECT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_FALSE(grid.DeleteRow(grid.GetRowCount()));
    EXPECT_TRUE(grid.RemoveAllCells());
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount(), 0);
    // Inserting into an empty grid makes the row the heading needs.
    EXPECT_EQ(grid.InsertColumn(L"first"), 0);
    EXPECT_EQ(grid.GetRowCount(), 1);
}

TEST(GridModel, ModifiedMarksFollowTheSettersAndTheSortColumn)
{
    CZellGrid grid(3, 3, 1, 0);
    grid.MarkModified(FALSE);
    EXPECT_FALSE(grid.IsModified());
    grid.SetCellText(1, 1, L"x");
    EXPECT_TRUE(grid.IsCellModified(1, 1));
    EXPECT_TRUE(grid.IsCellModified(-1, -1));
    grid.SetCellFormat(1, 2, DT_LEFT);
    EXPECT_FALSE(grid.IsCellModified(1, 2));

    grid.SetSortColumn(2);
    grid.MarkModified(TRUE, 2, 1);
    EXPECT_EQ(grid.GetSortColumn(), 2);
    grid.MarkModified(TRUE, 2, 2);
    EXPECT_EQ(grid.GetSortColumn(), -1);

    grid.MarkModified(FALSE);
    EXPECT_FALSE(grid.IsCellModified(1, 1));
    EXPECT_FALSE(grid.IsCellModified(2, 2));
    // The search for modified cells looks at the cells' modified bit.
    grid.SetCellText(2, 1, L"y");
    EXPECT_EQ(grid.FindNextCell(CCellID(-1, -1), GRIDNI_MODIFIED | GRIDNI_BELOW | GRIDNI_TORIGHT), CCellID(2, 1));
    EXPECT_EQ(grid.FindNextCell(CCellID(1, 1), GRIDNI_MODIFIED | GRIDNI_BELOW), CCellID(2, 1));
    EXPECT_EQ(grid.FindNextCell(CCellID(2, 1), GRIDNI_MODIFIED | GRIDNI_TORIGHT), CCellID());
}

TEST(GridModel, TheStateSetterKeepsTheSelectionMapInStep)
{
    CZellGrid grid(4, 4, 1, 1);
    grid.SetCellState(2, 2, GRIDSTATE_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.IsCellSelected(2, 2));
    grid.SetCellState(2, 2, GRIDSTATE_READONLY);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    // Also for a cell that never carried the bit.
    grid.SetCellState(3, 3, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsCellEditable(2, 2));
    EXPECT_TRUE(grid.IsCellEditable(3, 3));
    grid.EnableEditing(FALSE);
    EXPECT_FALSE(grid.IsCellEditable(3, 3));
}

TEST(GridModel, CellClassesAreReplacedOnlyByCellClasses)
{
    CZellGrid grid(3, 3);
    grid.SetCellText(1, 1, L"kept");
    grid.SetCellUserValue(1, 1, 77);
    EXPECT_FALSE(grid.ReplaceCellClass(1, 1, RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(grid.GetCellAt(1, 1)->IsKindOf(RUNTIME_CLASS(CGridCell)));
    EXPECT_FALSE(grid.GetCellAt(1, 1)->IsKindOf(RUNTIME_CLASS(CMarkedCell)));
    EXPECT_TRUE(grid.ReplaceCellClass(1, 1, RUNTIME_CLASS(CMarkedCell)));
    EXPECT_TRUE(grid.GetCellAt(1, 1)->IsKindOf(RUNTIME_CLASS(CMarkedCell)));
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"kept"));
    EXPECT_EQ(grid.GetCellUserValue(1, 1), 77);
    EXPECT_FALSE(grid.ReplaceCellClass(3, 1, RUNTIME_CLASS(CMarkedCell)));

    EXPECT_FALSE(grid.SetDefaultCellClass(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(grid.SetDefaultCellClass(RUNTIME_CLASS(CMarkedCell)));
    grid.SetRowTotal(4);
    EXPECT_TRUE(grid.GetCellAt(3, 0)->IsKindOf(RUNTIME_CLASS(CMarkedCell)));
}

namespace {

// Runs out of cells after a number of them.
class CScarceGrid : public CZellGrid {
public:
    int budget = 1000;
    CGridCellBase* CreateCell(int row, int col) override
    {
        if (budget-- <= 0)
            return nullptr;
        return CZellGrid::CreateCell(row, col);
    }
};

}

TEST(GridModel, RunningOutOfCellsLeavesTheGridAsItWas)
{
    CScarceGrid grid;
    grid.SetColumnTotal(3);
    grid.SetRowTotal(2);
    grid.SetCellText(1, 2, L"before");
    grid.budget = 4;
    EXPECT_FALSE(grid.SetRowTotal(5));
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetRowHeight(2), -1);
    EXPECT_EQ(grid.GetCellText(1, 2), CString(L"before"));
    grid.budget = 1;
    EXPECT_FALSE(grid.SetColumnTotal(4));
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetCellAt(0, 3), nullptr);
    grid.budget = 1;
    EXPECT_EQ(grid.InsertColumn(L"x"), -1);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.InsertRow(L"x"), -1);
    EXPECT_EQ(grid.GetRowCount(), 2);
    // Every cell that remains is there to be used.
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            EXPECT_NE(grid.GetCellAt(row, col), nullptr);
    grid.budget = 100;
    EXPECT_TRUE(grid.SetRowTotal(5));
}

namespace {

BOOL FillByCallback(NMGRIDDISPINFO* info, LPARAM userValue)
{
    info->item.text.Format(L"%d:%d:%d", info->item.row, info->item.col, static_cast<int>(userValue));
    return TRUE;
}

}

TEST(GridModel, VirtualModeAsksForEveryCellAndHoldsNone)
{
    CZellGrid grid;
    grid.SetVirtualMode(TRUE);
    grid.SetVirtualModeCallback(&FillByCallback, 5);
    grid.SetRowTotal(1000);
    grid.SetColumnTotal(3);
    grid.SetFixedRowTotal(1);
    EXPECT_FALSE(grid.IsEditingEnabled());
    EXPECT_EQ(grid.GetCellText(999, 2), CString(L"999:2:5"));
    EXPECT_FALSE(grid.SetCellText(4, 1, L"x"));
    EXPECT_EQ(grid.GetCellState(0, 1) & GRIDSTATE_FIXEDROW, GRIDSTATE_FIXEDROW);
    grid.SetCellState(5, 1, GRIDSTATE_SELECTED);
    EXPECT_TRUE(grid.IsCellSelected(5, 1));
    EXPECT_NE(grid.GetCellState(5, 1) & GRIDSTATE_SELECTED, 0u);
    EXPECT_FALSE(grid.ReplaceCellClass(5, 1, RUNTIME_CLASS(CGridCell)));
    EXPECT_EQ(grid.GetCellAt(1, 1), grid.GetCellAt(2, 2));
}

TEST(GridModel, VirtualModeWithoutCallbackAsksTheParent)
{
    GridTest::CGridScene scene;
    CZellGrid grid;
    ASSERT_TRUE(scene.Make(grid));
    grid.SetVirtualMode(TRUE);
    grid.SetRowTotal(3);
    grid.SetColumnTotal(3);
    scene.parent.notes.clear();
    grid.GetCellText(2, 1);
    const GridTest::Note* asked = scene.parent.Last(GRIDN_GETDISPINFO);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->row, 2);
    EXPECT_EQ(asked->col, 1);
}

TEST(GridModel, ItemRecordsReadAndWriteByMask)
{
    CZellGrid grid(3, 3);
    GRIDITEM item;
    item.row = 1;
    item.col = 2;
    item.mask = GRIDIF_TEXT | GRIDIF_BKCLR | GRIDIF_PARAM;
    item.text = L"item";
    item.backColour = RGB(1, 1, 1);
    item.textColour = RGB(2, 2, 2);
    item.userValue = 3;
    EXPECT_TRUE(grid.SetItem(&item));
    EXPECT_EQ(grid.GetCellText(1, 2), CString(L"item"));
    EXPECT_EQ(grid.GetCellBackColour(1, 2), RGB(1, 1, 1));
    EXPECT_EQ(grid.GetCellTextColour(1, 2), CLR_DEFAULT);
    EXPECT_TRUE(grid.IsCellModified(1, 2));
    GRIDITEM read;
    read.row = 1;
    read.col = 2;
    read.mask = GRIDIF_PARAM | GRIDIF_TEXT;
    EXPECT_TRUE(grid.GetItem(&read));
    EXPECT_EQ(read.userValue, 3);
    EXPECT_EQ(read.text, CString(L"item"));
    read.row = 5;
    EXPECT_FALSE(grid.GetItem(&read));
}

TEST(GridModel, RowAndColumnSettersSkipFixedCellsUnlessAsked)
{
    CZellGrid grid(3, 3, 1, 1);
    grid.SetRowBackColour(1, RGB(5, 5, 5));
    EXPECT_EQ(grid.GetCellBackColour(1, 0), CLR_DEFAULT);
    EXPECT_EQ(grid.GetCellBackColour(1, 2), RGB(5, 5, 5));
    grid.SetColumnFormat(2, DT_RIGHT, TRUE);
    EXPECT_EQ(grid.GetCellFormat(0, 2), static_cast<DWORD>(DT_RIGHT));
    grid.EnableRowCells(2, FALSE);
    EXPECT_FALSE(grid.IsCellEditable(2, 1));
    EXPECT_TRUE(grid.GetCellState(2, 0) & GRIDSTATE_FIXED);
    grid.EnableRowCells(2, TRUE);
    EXPECT_TRUE(grid.IsCellEditable(2, 1));
}
