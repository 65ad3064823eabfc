#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <string>
#include <vector>

using namespace ZELL::Grid;

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

// The grid's own comparisons sort by a key per row: the order must be the
// one a stable sort by the comparison itself gives, in both directions,
// ties and cells without text included, under the C collation and under a
// language's where the machine has one.
class GridKeyedSort : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        m_saved = std::setlocale(LC_COLLATE, nullptr);
        if (std::setlocale(LC_COLLATE, GetParam()) == nullptr)
            GTEST_SKIP() << GetParam() << " is not installed";
    }
    void TearDown() override { std::setlocale(LC_COLLATE, m_saved.c_str()); }

private:
    std::string m_saved;
};

INSTANTIATE_TEST_SUITE_P(Collations, GridKeyedSort, ::testing::Values("C", "en_US.UTF-8", "de_DE.UTF-8"));

TEST_P(GridKeyedSort, OrdersAsItsComparison)
{
    const std::vector<const wchar_t*> keys = {L"b10", L"", L"B2", L"b10", L"-7", L"\u00e9t\u00e9", L"12abc", L"e",
                                              L"0", L"12", L" 3", L"-7x", L"", L"a", L"\u00c9t\u00e9", L"ete"};
    for (GRIDCOMPARE compare : {&CZellGrid::CompareText, &CZellGrid::CompareNumbers}) {
        for (BOOL ascending : {TRUE, FALSE}) {
            CZellGrid grid;
            FillKeys(grid, keys);
            std::vector<int> expected(keys.size());
            for (int i = 0; i < static_cast<int>(keys.size()); ++i)
                expected[static_cast<std::size_t>(i)] = i + 1;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const int result = compare(grid.GetCell(a, 1), grid.GetCell(b, 1), 0);
                return ascending ? result < 0 : result > 0;
            });
            CString joined;
            for (int row : expected)
                joined.AppendFormat(L"%d ", row);
            EXPECT_TRUE(grid.SortItems(compare, 1, ascending));
            EXPECT_EQ(Column(grid, 2), joined) << (compare == &CZellGrid::CompareText ? "text" : "numbers")
                                               << (ascending ? " ascending" : " descending");
        }
    }
}
