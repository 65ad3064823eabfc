// Painting of the grid: backgrounds, the cells in their four areas, grid
// lines, and single cells drawn again at once.
#include "Common/Grid/ZellGrid.h"

#include "Platform/Framework/Drawing/PaintDC.h"
#include "Platform/Framework/Drawing/Pen.h"

#include <algorithm>

namespace ZELL::Grid {

// Every window here paints into its top-level window's back buffer, which
// reaches the screen only when painting is done: drawing never flickers, and
// a second buffer of the grid's own would cost a copy of the whole client
// area on every scroll step without changing a pixel.
void CZellGrid::OnPaint()
{
    CPaintDC dc(m_hWnd);
    OnDraw(&dc);
}

BOOL CZellGrid::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CZellGrid::FillBackground(CDC* dc, const CRect& clip, const CRect& visible)
{
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    CRect area;
    if (area.IntersectRect(clip, CRect(clip.left, clip.top, fixedWidth, fixedHeight)))
        dc->FillSolidRect(area, m_defaultCorner.GetBackColour());
    if (area.IntersectRect(clip, CRect(clip.left, fixedHeight, fixedWidth, visible.bottom)))
        dc->FillSolidRect(area, m_defaultFixedCol.GetBackColour());
    if (area.IntersectRect(clip, CRect(fixedWidth - 1, clip.top, visible.right, fixedHeight)))
        dc->FillSolidRect(area, m_defaultFixedRow.GetBackColour());
    if (area.IntersectRect(clip, CRect(fixedWidth, fixedHeight, visible.right, visible.bottom)))
        dc->FillSolidRect(area, m_defaultNormal.GetBackColour());
    if (area.IntersectRect(clip, CRect(visible.right, clip.top, clip.right, clip.bottom)))
        dc->FillSolidRect(area, m_backColour);
    if (area.IntersectRect(clip, CRect(clip.left, visible.bottom, visible.right, clip.bottom)))
        dc->FillSolidRect(area, m_backColour);
}

// Draws the cells of a block whose first cell's corner is (left, top),
// skipping hidden rows and columns and what lies outside the clip box.
void CZellGrid::DrawCellSpan(CDC* dc, const CRect& clip, int firstRow, int lastRow, int firstCol, int lastCol,
                             int top, int left)
{
    int y = top;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int height = m_rowHeights[row];
        if (height <= 0)
            continue;
        const int rowTop = y;
        y += height;
        if (y - 1 < clip.top)
            continue;
        if (rowTop > clip.bottom)
            break;
        int x = left;
        for (int col = firstCol; col <= lastCol; ++col) {
            const int width = m_colWidths[col];
            if (width <= 0)
                continue;
            const int colLeft = x;
            x += width;
            if (x - 1 < clip.left)
                continue;
            if (colLeft > clip.right)
                break;
            if (CGridCellBase* cell = GetCellAt(row, col)) {
                cell->SetPosition(row, col);
                cell->Draw(dc, row, col, CRect(colLeft, rowTop, x - 1, y - 1), FALSE);
            }
        }
    }
}

void CZellGrid::DrawGridLines(CDC* dc, const CCellRange& visible, const CRect& area)
{
    CPen pen(PS_SOLID, 0, m_gridLineColour);
    CPen* old = dc->SelectObject(&pen);
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    if (m_gridLines == GRIDLINES_VERT || m_gridLines == GRIDLINES_BOTH) {
        int x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol; ++col) {
            if (m_colWidths[col] <= 0)
                continue;
            x += m_colWidths[col];
            dc->MoveTo(x - 1, fixedHeight);
            dc->LineTo(x - 1, area.bottom);
        }
    }
    if (m_gridLines == GRIDLINES_HORZ || m_gridLines == GRIDLINES_BOTH) {
        int y = fixedHeight;
        for (int row = visible.minRow; row <= visible.maxRow; ++row) {
            if (m_rowHeights[row] <= 0)
                continue;
            y += m_rowHeights[row];
            dc->MoveTo(fixedWidth, y - 1);
            dc->LineTo(area.right, y - 1);
        }
    }
    dc->SelectObject(old);
}

void CZellGrid::OnDraw(CDC* dc)
{
    if (!m_drawing)
        return;
    CRect clip;
    if (dc->GetClipBox(clip) == NULLREGION || clip.IsRectEmpty())
        return;
    clip.right--;
    clip.bottom--;
    CRect area;
    const CCellRange visible = GetVisibleNonFixedCellRange(area);
    FillBackground(dc, CRect(clip.left, clip.top, clip.right + 1, clip.bottom + 1), area);
    if (m_virtualMode)
        SendCacheHintToParent(visible);
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    DrawCellSpan(dc, clip, 0, m_fixedRows - 1, 0, m_fixedCols - 1, 0, 0);
    if (visible.minRow >= 0)
        DrawCellSpan(dc, clip, visible.minRow, visible.maxRow, 0, m_fixedCols - 1, fixedHeight, 0);
    if (visible.minCol >= 0)
        DrawCellSpan(dc, clip, 0, m_fixedRows - 1, visible.minCol, visible.maxCol, 0, fixedWidth);
    if (visible.minRow >= 0 && visible.minCol >= 0) {
        DrawCellSpan(dc, clip, visible.minRow, visible.maxRow, visible.minCol, visible.maxCol, fixedHeight, fixedWidth);
        DrawGridLines(dc, visible, area);
    }
    DrawFocusMark(dc);
    if (m_virtualMode)
        SendCacheHintToParent(CCellRange());
}

// While the grid has the keyboard focus its focus cell carries the focus
// rectangle, also where the cell draws no frame of its own (pages switch
// that off), so that a keyboard user always sees where the keys act.
void CZellGrid::DrawFocusMark(CDC* dc)
{
    if (m_hWnd == nullptr || !m_keyFocus || !IsValid(m_focusCell) || !IsCellVisible(m_focusCell))
        return;
    CRect rect;
    if (!GetCellRect(m_focusCell, rect) || rect.Width() < 3 || rect.Height() < 3)
        return;
    rect.DeflateRect(1, 1, 0, 0);
    dc->DrawFocusRect(rect);
}

void CZellGrid::DrawCellLines(CDC* dc, const CRect& rect)
{
    CPen pen(PS_SOLID, 0, m_gridLineColour);
    CPen* old = dc->SelectObject(&pen);
    if (m_gridLines == GRIDLINES_HORZ || m_gridLines == GRIDLINES_BOTH) {
        dc->MoveTo(rect.left, rect.bottom);
        dc->LineTo(rect.right + 1, rect.bottom);
    }
    if (m_gridLines == GRIDLINES_VERT || m_gridLines == GRIDLINES_BOTH) {
        dc->MoveTo(rect.right, rect.top);
        dc->LineTo(rect.right, rect.bottom + 1);
    }
    dc->SelectObject(old);
}

BOOL CZellGrid::RedrawCell(int row, int col, CDC* dc)
{
    if (!m_drawing || m_hWnd == nullptr || !IsCellVisible(row, col))
        return FALSE;
    CRect rect;
    if (!GetCellRect(row, col, rect) || rect.Width() < 0 || rect.Height() < 0)
        return FALSE;
    CDC* own = nullptr;
    if (dc == nullptr) {
        dc = own = GetDC();
        if (dc == nullptr) {
            InvalidateRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1), TRUE);
            return TRUE;
        }
    }
    BOOL result = FALSE;
    if (CGridCellBase* cell = GetCellAt(row, col)) {
        cell->SetPosition(row, col);
        result = cell->Draw(dc, row, col, rect, TRUE);
        if (!IsCellFixed(row, col))
            DrawCellLines(dc, rect);
        if (CCellID(row, col) == m_focusCell)
            DrawFocusMark(dc);
    }
    if (own != nullptr)
        ReleaseDC(own);
    return result;
}

BOOL CZellGrid::RedrawRow(int row)
{
    CDC* dc = m_hWnd != nullptr ? GetDC() : nullptr;
    BOOL result = TRUE;
    for (int col = 0; col < m_colCount; ++col)
        result = RedrawCell(row, col, dc) && result;
    if (dc != nullptr)
        ReleaseDC(dc);
    return result;
}

BOOL CZellGrid::RedrawColumn(int col)
{
    CDC* dc = m_hWnd != nullptr ? GetDC() : nullptr;
    BOOL result = TRUE;
    for (int row = 0; row < m_rowCount; ++row)
        result = RedrawCell(row, col, dc) && result;
    if (dc != nullptr)
        ReleaseDC(dc);
    return result;
}

}  // namespace ZELL::Grid
