// Sorting the rows below the fixed ones by one column. Whole rows move, so
// every column follows the sort column; rows with equal keys keep their order.
#include "Common/Grid/ZellGrid.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <numeric>

int CZellGrid::CompareText(const CGridCellBase* first, const CGridCellBase* second, LPARAM)
{
    if (first == nullptr || second == nullptr)
        return 0;
    return std::wcscoll(first->GetText(), second->GetText());
}

int CZellGrid::CompareNumbers(const CGridCellBase* first, const CGridCellBase* second, LPARAM)
{
    if (first == nullptr || second == nullptr)
        return 0;
    const long a = std::wcstol(first->GetText(), nullptr, 10);
    const long b = std::wcstol(second->GetText(), nullptr, 10);
    return a < b ? -1 : (a > b ? 1 : 0);
}

BOOL CZellGrid::SortItems(GRIDCOMPARE compare, int col, BOOL ascending, LPARAM userValue)
{
    SetSortColumn(col);
    m_sortAscending = ascending;
    ClearSelection();
    if (col < 0 || col >= m_colCount || compare == nullptr || m_virtualMode || m_rowCount - m_fixedRows < 2)
        return FALSE;
    const int first = m_fixedRows;
    const int count = m_rowCount - first;
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compare(m_cells[a][col], m_cells[b][col], userValue);
        return ascending ? result < 0 : result > 0;
    });
    std::vector<CellRow> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (int row : order) {
        rows.push_back(std::move(m_cells[row]));
        heights.push_back(m_rowHeights[row]);
    }
    for (int i = 0; i < count; ++i) {
        m_cells[first + i] = std::move(rows[i]);
        m_rowHeights[first + i] = heights[i];
        for (int c = 0; c < m_colCount; ++c)
            if (CGridCellBase* cell = m_cells[first + i][c])
                cell->SetPosition(first + i, c);
    }
    m_topLeftCache = CCellID();
    return TRUE;
}

BOOL CZellGrid::SortTextItems(int col, BOOL ascending, LPARAM userValue)
{
    return SortItems(&CZellGrid::CompareText, col, ascending, userValue);
}

BOOL CZellGrid::Sort(int col, BOOL ascending, LPARAM userValue)
{
    return SortItems(m_compare != nullptr ? m_compare : &CZellGrid::CompareText, col, ascending, userValue);
}
