// Sorting the rows below the fixed ones by one column. Whole rows move, so
// every column follows the sort column; rows with equal keys keep their order.
#include "Common/Grid/ZellGrid.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <functional>
#include <cwchar>
#include <cwctype>
#include <numeric>
#include <string>
#include <utility>

namespace ZELL::Grid {

namespace {

LPCWSTR TextOf(const CGridCellBase* cell) { return cell != nullptr ? cell->GetText() : L""; }

// Two collation keys compare as plain wide texts the way wcscoll compares
// the texts they come from.
std::wstring CollationKey(LPCWSTR text)
{
    std::wstring key(std::wcsxfrm(nullptr, text, 0), L'\0');
    std::wcsxfrm(key.data(), text, key.size() + 1);
    return key;
}

// Where texts collate by their code points, a text is its own collation key
// and needs no copy: the cells keep their texts while the rows are sorted.
bool CollatesByCodePoint()
{
    const char* name = std::setlocale(LC_COLLATE, nullptr);
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
           std::strcmp(name, "C.UTF-8") == 0 || std::strcmp(name, "C.utf8") == 0;
}

bool TextBefore(LPCWSTR a, LPCWSTR b) { return std::wcscmp(a, b) < 0; }

// The rows `first`..`first + count - 1` in the order of their keys, each
// key computed once per row rather than once per comparison; rows with
// equal keys keep their order in either direction.
template <typename Key, typename KeyOf, typename Less = std::less<Key>>
std::vector<int> OrderByKey(int first, int count, bool ascending, KeyOf keyOf, Less less = Less())
{
    std::vector<std::pair<Key, int>> keyed;
    keyed.reserve(static_cast<std::size_t>(count));
    for (int row = first; row < first + count; ++row)
        keyed.emplace_back(keyOf(row), row);
    std::stable_sort(keyed.begin(), keyed.end(), [ascending, &less](const auto& a, const auto& b) {
        return ascending ? less(a.first, b.first) : less(b.first, a.first);
    });
    std::vector<int> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    return order;
}

}

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
    MoveRows(SortedOrder(compare, col, ascending != FALSE, userValue));
    m_topLeftCache = CCellID();
    return TRUE;
}

// The two comparisons of the grid's own sort by a key per row; a
// comparison of the caller's is asked per pair of rows.
std::vector<int> CZellGrid::SortedOrder(GRIDCOMPARE compare, int col, bool ascending, LPARAM userValue) const
{
    const int first = m_fixedRows;
    const int count = m_rowCount - first;
    if (compare == &CZellGrid::CompareText && CollatesByCodePoint())
        return OrderByKey<LPCWSTR>(first, count, ascending, [&](int row) { return TextOf(m_cells[row][col]); },
                                   &TextBefore);
    if (compare == &CZellGrid::CompareText)
        return OrderByKey<std::wstring>(first, count, ascending,
                                        [&](int row) { return CollationKey(TextOf(m_cells[row][col])); });
    if (compare == &CZellGrid::CompareNumbers)
        return OrderByKey<long>(first, count, ascending,
                                [&](int row) { return std::wcstol(TextOf(m_cells[row][col]), nullptr, 10); });
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compare(m_cells[a][col], m_cells[b][col], userValue);
        return ascending ? result < 0 : result > 0;
    });
    return order;
}

// The rows below the fixed ones take the places `order` gives them.
void CZellGrid::MoveRows(const std::vector<int>& order)
{
    const int first = m_fixedRows;
    const int count = static_cast<int>(order.size());
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
}

BOOL CZellGrid::SortTextItems(int col, BOOL ascending, LPARAM userValue)
{
    return SortItems(&CZellGrid::CompareText, col, ascending, userValue);
}

BOOL CZellGrid::Sort(int col, BOOL ascending, LPARAM userValue)
{
    return SortItems(m_compare != nullptr ? m_compare : &CZellGrid::CompareText, col, ascending, userValue);
}

}  // namespace ZELL::Grid
