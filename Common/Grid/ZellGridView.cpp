// Geometry of the grid: where each cell lies in the client area at the
// current scroll position, which cells are visible, and hit testing.
#include "Common/Grid/ZellGrid.h"

#include <algorithm>
#include <numeric>

namespace ZELL::Grid {

int CZellGrid::GetFixedRowHeight() const
{
    return std::accumulate(m_rowHeights.begin(), m_rowHeights.begin() + std::min<std::size_t>(m_fixedRows, m_rowHeights.size()), 0);
}

int CZellGrid::GetFixedColumnWidth() const
{
    return std::accumulate(m_colWidths.begin(), m_colWidths.begin() + std::min<std::size_t>(m_fixedCols, m_colWidths.size()), 0);
}

long CZellGrid::GetVirtualHeight() const
{
    return std::accumulate(m_rowHeights.begin(), m_rowHeights.end(), 0L);
}

long CZellGrid::GetVirtualWidth() const
{
    return std::accumulate(m_colWidths.begin(), m_colWidths.end(), 0L);
}

namespace {

// The first index from `first` whose start is not above `position`, never
// past the last: a part-scrolled row or column is passed.
int IndexAtOffset(const std::vector<int>& sizes, int first, int count, int position)
{
    int index = first;
    int passed = 0;
    while (index < count - 1 && passed < position) {
        passed += sizes[index];
        ++index;
    }
    return index;
}

}

CCellID CZellGrid::GetTopLeftNonFixedCell(BOOL forceRecalc) const
{
    if (m_topLeftCache.IsValid() && !forceRecalc)
        return m_topLeftCache;
    m_topLeftCache = CCellID(IndexAtOffset(m_rowHeights, m_fixedRows, m_rowCount, m_vScrollPos),
                             IndexAtOffset(m_colWidths, m_fixedCols, m_colCount, m_hScrollPos));
    if (m_topLeftCache.row >= m_rowCount || m_topLeftCache.col >= m_colCount)
        m_topLeftCache = CCellID();
    return m_topLeftCache;
}

CCellRange CZellGrid::GetVisibleNonFixedCellRange(LPRECT rect, BOOL forceRecalc) const
{
    CRect client;
    if (m_hWnd != nullptr)
        GetClientRect(client);
    const CCellID topLeft = GetTopLeftNonFixedCell(forceRecalc);
    int bottom = GetFixedRowHeight();
    int row = topLeft.row;
    for (; row >= 0 && row < m_rowCount; ++row) {
        bottom += m_rowHeights[row];
        if (bottom >= client.bottom)
            break;
    }
    int right = GetFixedColumnWidth();
    int col = topLeft.col;
    for (; col >= 0 && col < m_colCount; ++col) {
        right += m_colWidths[col];
        if (right >= client.right)
            break;
    }
    if (rect != nullptr)
        *rect = CRect(0, 0, std::min(right, static_cast<int>(client.right)), std::min(bottom, static_cast<int>(client.bottom)));
    return {topLeft.row, topLeft.col, std::min(row, m_rowCount - 1), std::min(col, m_colCount - 1)};
}

CCellRange CZellGrid::GetUnobstructedNonFixedCellRange(BOOL forceRecalc) const
{
    CRect client;
    GetClientRect(client);
    CCellRange range = GetVisibleNonFixedCellRange(nullptr, forceRecalc);
    CPoint origin;
    if (range.maxRow > 0 && GetCellOrigin(range.maxRow, range.minCol, &origin) &&
        origin.y + m_rowHeights[range.maxRow] > client.bottom)
        range.maxRow--;
    if (range.maxCol > 0 && GetCellOrigin(range.minRow, range.maxCol, &origin) &&
        origin.x + m_colWidths[range.maxCol] > client.right)
        range.maxCol--;
    return range;
}

BOOL CZellGrid::GetCellOrigin(int row, int col, LPPOINT origin) const
{
    if (!IsValid(row, col))
        return FALSE;
    CCellID topLeft = (row >= m_fixedRows || col >= m_fixedCols) ? GetTopLeftNonFixedCell() : CCellID(0, 0);
    // With every row or every column fixed there is no non-fixed cell, yet
    // the other direction still scrolls: each direction is taken on its own.
    if (!topLeft.IsValid())
        topLeft = CCellID(IndexAtOffset(m_rowHeights, m_fixedRows, m_rowCount, m_vScrollPos),
                          IndexAtOffset(m_colWidths, m_fixedCols, m_colCount, m_hScrollPos));
    if ((row >= m_fixedRows && row < topLeft.row) || (col >= m_fixedCols && col < topLeft.col))
        return FALSE;
    int x = 0;
    if (col < m_fixedCols) {
        for (int i = 0; i < col; ++i)
            x += m_colWidths[i];
    } else {
        x = GetFixedColumnWidth();
        for (int i = topLeft.col; i < col; ++i)
            x += m_colWidths[i];
    }
    int y = 0;
    if (row < m_fixedRows) {
        for (int i = 0; i < row; ++i)
            y += m_rowHeights[i];
    } else {
        y = GetFixedRowHeight();
        for (int i = topLeft.row; i < row; ++i)
            y += m_rowHeights[i];
    }
    origin->x = x;
    origin->y = y;
    return TRUE;
}

BOOL CZellGrid::GetCellRect(int row, int col, LPRECT rect) const
{
    CPoint origin;
    if (!GetCellOrigin(row, col, &origin))
        return FALSE;
    rect->left = origin.x;
    rect->top = origin.y;
    rect->right = origin.x + m_colWidths[col] - 1;
    rect->bottom = origin.y + m_rowHeights[row] - 1;
    return TRUE;
}

BOOL CZellGrid::GetCellRangeRect(const CCellRange& range, LPRECT rect) const
{
    CRect first;
    CRect last;
    if (!GetCellRect(range.minRow, range.minCol, first) || !GetCellRect(range.maxRow, range.maxCol, last))
        return FALSE;
    *rect = CRect(first.left, first.top, last.right, last.bottom);
    return TRUE;
}

BOOL CZellGrid::GetTextRect(int row, int col, LPRECT rect)
{
    CGridCellBase* cell = GetCellAt(row, col);
    if (cell == nullptr || !GetCellRect(row, col, rect))
        return FALSE;
    return cell->GetTextRect(rect);
}

CCellID CZellGrid::GetCellFromPoint(CPoint point, BOOL allowFixed) const
{
    const CCellID topLeft = GetTopLeftNonFixedCell();
    if (!allowFixed && !topLeft.IsValid())
        return {};
    CCellID cell;
    const int fixedWidth = GetFixedColumnWidth();
    if (point.x < 0) {
        cell.col = -1;
    } else if (point.x < fixedWidth) {
        if (allowFixed) {
            int x = 0;
            for (int col = 0; col < m_fixedCols; ++col) {
                x += m_colWidths[col];
                if (x > point.x) {
                    cell.col = col;
                    break;
                }
            }
        }
    } else {
        int x = fixedWidth;
        for (int col = std::max(topLeft.col, 0); col < m_colCount; ++col) {
            x += m_colWidths[col];
            if (x > point.x) {
                cell.col = col;
                break;
            }
        }
    }
    const int fixedHeight = GetFixedRowHeight();
    if (point.y < 0) {
        cell.row = -1;
    } else if (point.y < fixedHeight) {
        if (allowFixed) {
            int y = 0;
            for (int row = 0; row < m_fixedRows; ++row) {
                y += m_rowHeights[row];
                if (y > point.y) {
                    cell.row = row;
                    break;
                }
            }
        }
    } else {
        int y = fixedHeight;
        for (int row = std::max(topLeft.row, 0); row < m_rowCount; ++row) {
            y += m_rowHeights[row];
            if (y > point.y) {
                cell.row = row;
                break;
            }
        }
    }
    return cell;
}

BOOL CZellGrid::IsCellVisible(int row, int col) const
{
    if (!IsValid(row, col) || m_hWnd == nullptr)
        return FALSE;
    const CCellID topLeft = GetTopLeftNonFixedCell();
    if ((row >= m_fixedRows && row < topLeft.row) || (col >= m_fixedCols && col < topLeft.col))
        return FALSE;
    CRect client;
    GetClientRect(client);
    CPoint origin;
    if (!GetCellOrigin(row, col, &origin))
        return FALSE;
    return origin.x < client.right && origin.y < client.bottom;
}

BOOL CZellGrid::InvalidateCellRect(int row, int col)
{
    if (m_hWnd == nullptr || !m_drawing || !IsValid(row, col) || !IsCellVisible(row, col))
        return FALSE;
    CRect rect;
    if (!GetCellRect(row, col, rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL CZellGrid::InvalidateCellRect(const CCellRange& range)
{
    if (m_hWnd == nullptr || !m_drawing || !IsValid(range))
        return FALSE;
    const CCellRange visible = range.Intersect(GetVisibleNonFixedCellRange());
    CRect rect;
    if (!visible.IsValid() || !GetCellRangeRect(visible, rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

}  // namespace ZELL::Grid
