// Fitting rows and columns to their cells and to the client area.
#include "Common/Grid/ZellGrid.h"

#include "Platform/Framework/Drawing/DC.h"

#include <algorithm>

namespace ZELL::Grid {

int CZellGrid::ExtentOf(int row, int col, CDC* dc, bool width) const
{
    CGridCellBase* cell = GetCellAt(row, col);
    if (cell == nullptr)
        return 0;
    const CSize size = cell->GetCellExtent(dc);
    return width ? size.cx : size.cy;
}

BOOL CZellGrid::FitColumnWidth(int col, int scope, BOOL resetScrollBars)
{
    if (col < 0 || col >= m_colCount || m_colWidths[col] <= 0)
        return FALSE;
    if (scope == 0)
        scope = m_autoSizeScope;
    const int firstRow = (scope & GRIDAUTOSIZE_FIXED) ? 0 : m_fixedRows;
    const int lastRow = (scope & GRIDAUTOSIZE_NORMAL) ? m_rowCount - 1 : m_fixedRows - 1;
    CDC* dc = m_hWnd != nullptr ? GetDC() : nullptr;
    if (m_virtualMode)
        SendCacheHintToParent(CCellRange(firstRow, col, lastRow, col));
    int width = 0;
    for (int row = firstRow; row <= lastRow; ++row)
        if (m_rowHeights[row] > 0)
            width = std::max(width, ExtentOf(row, col, dc, true));
    if (m_virtualMode)
        SendCacheHintToParent(CCellRange());
    if (dc != nullptr)
        ReleaseDC(dc);
    m_colWidths[col] = width;
    if (resetScrollBars)
        ResetScrollBars();
    return TRUE;
}

BOOL CZellGrid::FitRowHeight(int row, BOOL resetScrollBars)
{
    if (row < 0 || row >= m_rowCount || m_rowHeights[row] <= 0)
        return FALSE;
    CDC* dc = m_hWnd != nullptr ? GetDC() : nullptr;
    int height = 0;
    for (int col = 0; col < m_colCount; ++col)
        if (m_colWidths[col] > 0)
            height = std::max(height, ExtentOf(row, col, dc, false));
    if (dc != nullptr)
        ReleaseDC(dc);
    m_rowHeights[row] = height;
    if (resetScrollBars)
        ResetScrollBars();
    return TRUE;
}

void CZellGrid::FitAllColumnWidths(int scope)
{
    for (int col = 0; col < m_colCount; ++col)
        if (m_colWidths[col] > 0)
            FitColumnWidth(col, scope, FALSE);
    ResetScrollBars();
}

void CZellGrid::FitAllRowHeights()
{
    for (int row = 0; row < m_rowCount; ++row)
        if (m_rowHeights[row] > 0)
            FitRowHeight(row, FALSE);
    ResetScrollBars();
}

void CZellGrid::FitAllCells(int scope)
{
    if (scope == 0)
        scope = m_autoSizeScope;
    const int firstRow = (scope & GRIDAUTOSIZE_FIXED) ? 0 : m_fixedRows;
    const int lastRow = (scope & GRIDAUTOSIZE_NORMAL) ? m_rowCount - 1 : m_fixedRows - 1;
    CDC* dc = m_hWnd != nullptr ? GetDC() : nullptr;
    std::vector<int> widths(static_cast<std::size_t>(m_colCount), 0);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (m_rowHeights[row] <= 0)
            continue;
        int height = 1;
        for (int col = 0; col < m_colCount; ++col) {
            CGridCellBase* cell = GetCellAt(row, col);
            if (cell == nullptr)
                continue;
            const CSize size = cell->GetCellExtent(dc);
            widths[col] = std::max(widths[col], static_cast<int>(size.cx));
            height = std::max(height, static_cast<int>(size.cy));
        }
        m_rowHeights[row] = height;
    }
    for (int col = 0; col < m_colCount; ++col)
        if (m_colWidths[col] > 0)
            m_colWidths[col] = widths[col];
    if (dc != nullptr)
        ReleaseDC(dc);
    ResetScrollBars();
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
}

namespace {

// Spreads `difference` pixels evenly over the visible sizes from `first`,
// the remainder a pixel each to the first ones.
void Spread(std::vector<int>& sizes, int first, int difference)
{
    std::vector<int*> visible;
    for (std::size_t i = static_cast<std::size_t>(first); i < sizes.size(); ++i)
        if (sizes[i] > 0)
            visible.push_back(&sizes[i]);
    if (visible.empty())
        return;
    const int count = static_cast<int>(visible.size());
    const int share = difference / count;
    int remainder = difference % count;
    for (int* size : visible) {
        *size = std::max(0, *size + share + (remainder > 0 ? 1 : (remainder < 0 ? -1 : 0)));
        remainder += remainder > 0 ? -1 : (remainder < 0 ? 1 : 0);
    }
}

}

void CZellGrid::SpreadOverClient(bool columns, BOOL includeFixed)
{
    const int first = includeFixed ? 0 : (columns ? m_fixedCols : m_fixedRows);
    if (m_hWnd == nullptr || first >= (columns ? m_colCount : m_rowCount))
        return;
    const int bar = columns ? SB_HORZ : SB_VERT;
    if (IsScrollBarShown(bar)) {
        ShowScrollBar(static_cast<UINT>(bar), FALSE);
        m_barState &= columns ? ~1 : ~2;
    }
    CRect client;
    GetClientRect(client);
    if (columns)
        Spread(m_colWidths, first, client.Width() - static_cast<int>(GetVirtualWidth()));
    else
        Spread(m_rowHeights, first, client.Height() - static_cast<int>(GetVirtualHeight()));
    Invalidate();
    ResetScrollBars();
}

void CZellGrid::SpreadColumnsOverWidth(BOOL includeFixed)
{
    SpreadOverClient(true, includeFixed);
}

void CZellGrid::SpreadRowsOverHeight(BOOL includeFixed)
{
    SpreadOverClient(false, includeFixed);
}

void CZellGrid::ExpandToFit(BOOL includeFixed)
{
    SpreadColumnsOverWidth(includeFixed);
    SpreadRowsOverHeight(includeFixed);
    SpreadColumnsOverWidth(includeFixed);
    if (m_hWnd != nullptr)
        Invalidate();
}

void CZellGrid::StretchLastColumn()
{
    int last = m_colCount - 1;
    while (last > 0 && m_colWidths[last] == 0)
        --last;
    if (last <= 0 || m_hWnd == nullptr)
        return;
    if (IsScrollBarShown(SB_HORZ)) {
        ShowScrollBar(SB_HORZ, FALSE);
        m_barState &= ~1;
    }
    CRect client;
    GetClientRect(client);
    const int extra = client.Width() - static_cast<int>(GetVirtualWidth());
    if (extra > 0)
        m_colWidths[last] += extra;
    ResetScrollBars();
}

void CZellGrid::FillClientWithDefaultCells()
{
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(client);
    SetColumnTotal(client.Width() / m_defaultNormal.GetDefaultWidth() + 1);
    SetRowTotal(client.Height() / m_defaultNormal.GetDefaultHeight() + 1);
    SetFixedRowTotal(1);
    SetFixedColumnTotal(1);
    ExpandToFit(TRUE);
}

}  // namespace ZELL::Grid
