#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

// Keys in column 1, the original row number in column 2.
void FillKeys(CZellGrid& grid, const std::vector<const wchar_t*>& keys)
{
    grid.SetRowTotal(static_cast<int>(keys.size()) + 1);
    grid.SetColumnTotal(3);
    grid.SetFixedRowTotal(1);
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
        grid.SetCellText(i + 1, 1, keys[i]);
        grid.SetCellTextFormat(i + 1, 2, L"%d", i + 1);
        grid.SetRowHeight(i + 1, 10 + i);
    }
}

CString Column(const CZellGrid& grid, int col)
{
    CString joined;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
        joined += grid.GetCellText(row, col) + L" ";
    return joined;
}

int ByLength(const CGridCellBase* first, const CGridCellBase* second, LPARAM userValue)
{
    const int difference =
        static_cast<int>(std::wcslen(first->GetText())) - static_cast<int>(std::wcslen(second->GetText()));
    return userValue != 0 ? -difference : difference;
}

}

TEST(GridSort, RowsMoveWholeAndEqualKeysKeepTheirOrder)
{
    CZellGrid grid;
    FillKeys(grid, {L"b", L"a", L"c", L"a", L"b", L"a"});
    EXPECT_TRUE(grid.SortTextItems(1, TRUE));
    EXPECT_EQ(Column(grid, 1), CString(L"a a a b b c "));
    EXPECT_EQ(Column(grid, 2), CString(L"2 4 6 1 5 3 "));
    // Heights travel with their rows.
    EXPECT_EQ(grid.GetRowHeight(1), 11);
    EXPECT_EQ(grid.GetRowHeight(6), 12);
    EXPECT_TRUE(grid.SortTextItems(1, FALSE));
    EXPECT_EQ(Column(grid, 1), CString(L"c b b a a a "));
    EXPECT_EQ(Column(grid, 2), CString(L"3 1 5 2 4 6 "));
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_FALSE(grid.GetSortAscending());
    EXPECT_FALSE(grid.SortTextItems(3, TRUE));
}

TEST(GridSort, CompareFunctionsTakeTheirUserValue)
{
    CZellGrid grid;
    FillKeys(grid, {L"10", L"9", L"100", L"-1"});
    EXPECT_TRUE(grid.SortItems(&CZellGrid::CompareNumbers, 1, TRUE));
    EXPECT_EQ(Column(grid, 1), CString(L"-1 9 10 100 "));
    EXPECT_TRUE(grid.SortItems(&ByLength, 1, TRUE, 1));
    EXPECT_EQ(Column(grid, 1), CString(L"100 -1 10 9 "));
    grid.SetCompareFunction(&ByLength);
    EXPECT_TRUE(grid.Sort(1, TRUE));
    EXPECT_EQ(Column(grid, 1), CString(L"9 -1 10 100 "));
    CZellGrid single;
    FillKeys(single, {L"x"});
    EXPECT_FALSE(single.SortTextItems(1, TRUE));
}

TEST(GridSort, HeadingClicksSortAndASecondClickReverses)
{
    CGridScene scene;
    CZellGrid grid;
    ASSERT_TRUE(scene.Make(grid));
    FillKeys(grid, {L"b", L"c", L"a"});
    grid.SetColumnWidth(1, 80);
    grid.SetRowHeight(0, 20);
    grid.SetHeaderSort(TRUE);
    grid.EnableTitleTips(FALSE);
    scene.Click(grid.m_hWnd, CentreOf(grid, 0, 1));
    EXPECT_EQ(Column(grid, 1), CString(L"a b c "));
    scene.Click(grid.m_hWnd, CentreOf(grid, 0, 1));
    EXPECT_EQ(Column(grid, 1), CString(L"c b a "));
    // Changing a cell of the sort column ends its sorted state.
    grid.SetCellText(1, 1, L"z");
    EXPECT_EQ(grid.GetSortColumn(), -1);
}
