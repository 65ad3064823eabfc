// The selection and the focus cell. The selected cells are kept in a map
// from cell key to id, so that virtual mode needs no cell objects for it.
#include "Common/Grid/ZellGrid.h"

#include "Platform/Framework/App/WaitCursor.h"

#include <algorithm>

namespace ZELL::Grid {

void CZellGrid::SetSelectedState(int row, int col, bool selected)
{
    const UINT state = GetCellState(row, col);
    SetCellState(row, col, selected ? state | GRIDSTATE_SELECTED : state & ~GRIDSTATE_SELECTED);
}

void CZellGrid::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRedraw, BOOL select)
{
    if (!m_selection)
        return;
    CWaitCursor wait;
    if (minRow >= 0)
        minRow = std::max(minRow, m_fixedRows);
    if (maxRow >= 0)
        maxRow = std::max(maxRow, m_fixedRows);
    if (minCol >= 0)
        minCol = std::max(minCol, m_fixedCols);
    if (maxCol >= 0)
        maxCol = std::max(maxCol, m_fixedCols);
    const CCellRange range(minRow, minCol, maxRow, maxCol);
    CDC* dc = forceRedraw && m_hWnd != nullptr ? GetDC() : nullptr;
    const auto redraw = [&](int row, int col) {
        if (!IsCellVisible(row, col))
            return;
        if (dc != nullptr)
            RedrawCell(row, col, dc);
        else
            InvalidateCellRect(row, col);
    };
    if (select) {
        const auto previous = m_selected;
        for (const auto& [key, cell] : previous) {
            if (!IsValid(cell)) {
                m_selected.erase(key);
                continue;
            }
            SetSelectedState(cell.row, cell.col, false);
            if (!range.InRange(cell))
                redraw(cell.row, cell.col);
        }
        if (!(m_listMode && m_singleRow) && minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0) {
            for (const auto& [key, cell] : m_previousSelection) {
                if (!IsValid(cell))
                    continue;
                SetSelectedState(cell.row, cell.col, true);
                redraw(cell.row, cell.col);
            }
        }
    }
    if (IsValid(range)) {
        for (int row = minRow; row <= maxRow; ++row)
            for (int col = minCol; col <= maxCol; ++col) {
                if (((GetCellState(row, col) & GRIDSTATE_SELECTED) != 0) == (select != FALSE) &&
                    (m_selected.count(CellKey(row, col)) != 0) == (select != FALSE))
                    continue;
                SetSelectedState(row, col, select != FALSE);
                redraw(row, col);
            }
    }
    if (dc != nullptr)
        ReleaseDC(dc);
}

void CZellGrid::SelectAllCells()
{
    SetSelectedRange(m_fixedRows, m_fixedCols, m_rowCount - 1, m_colCount - 1);
}

void CZellGrid::SelectCells(CCellID cell, BOOL forceRedraw, BOOL select)
{
    if (!IsValid(cell) || IsCellFixed(cell.row, cell.col))
        return;
    SetSelectedRange(std::min(m_selectionStart.row, cell.row), std::min(m_selectionStart.col, cell.col),
                     std::max(m_selectionStart.row, cell.row), std::max(m_selectionStart.col, cell.col), forceRedraw,
                     select);
}

void CZellGrid::SelectColumns(CCellID cell, BOOL forceRedraw, BOOL select)
{
    if (!IsValid(cell) || cell.col < m_fixedCols)
        return;
    if (m_singleCol)
        SetSelectedRange(m_fixedRows, cell.col, m_rowCount - 1, cell.col, forceRedraw, select);
    else
        SetSelectedRange(m_fixedRows, std::min(m_selectionStart.col, cell.col), m_rowCount - 1,
                         std::max(m_selectionStart.col, cell.col), forceRedraw, select);
}

void CZellGrid::SelectRows(CCellID cell, BOOL forceRedraw, BOOL select)
{
    if (!IsValid(cell) || cell.row < m_fixedRows)
        return;
    if (m_listMode && m_singleRow)
        SetSelectedRange(cell.row, m_fixedCols, cell.row, m_colCount - 1, forceRedraw, select);
    else
        SetSelectedRange(std::min(m_selectionStart.row, cell.row), m_fixedCols,
                         std::max(m_selectionStart.row, cell.row), m_colCount - 1, forceRedraw, select);
}

void CZellGrid::OnSelecting(const CCellID& cell)
{
    switch (m_mouseMode) {
    case kSelectingAll:
        SelectAllCells();
        break;
    case kSelectingColumns:
        SelectColumns(cell, FALSE);
        break;
    case kSelectingRows:
        SelectRows(cell, FALSE);
        break;
    case kSelectingCells:
        SelectCells(cell, FALSE);
        break;
    default:
        break;
    }
}

void CZellGrid::DeselectAll()
{
    m_previousSelection.clear();
    SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
}

void CZellGrid::ClearSelection()
{
    DeselectAll();
    SetFocusCell(-1, -1);
}

CCellRange CZellGrid::GetSelectedCellRange() const
{
    CCellRange range(m_rowCount, m_colCount, -1, -1);
    for (const auto& [key, cell] : m_selected) {
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
}

BOOL CZellGrid::IsCellSelected(int row, int col) const
{
    if (!m_selection)
        return FALSE;
    if (m_virtualMode)
        return m_selected.count(CellKey(row, col)) != 0;
    return (GetCellState(row, col) & GRIDSTATE_SELECTED) != 0;
}

CCellID CZellGrid::SetFocusCell(int row, int col)
{
    const CCellID previous = m_focusCell;
    CCellID cell(row, col);
    if (cell == m_focusCell)
        return previous;
    if (cell.row != -1)
        cell.row = std::max(cell.row, m_fixedRows);
    if (cell.col != -1)
        cell.col = std::max(cell.col, m_fixedCols);
    if (IsValid(previous)) {
        if (CGridCellBase* old = m_virtualMode ? nullptr : GetCellAt(previous.row, previous.col))
            old->SetState(old->GetState() & ~GRIDSTATE_FOCUSED);
        RedrawCell(previous.row, previous.col);
    }
    m_focusCell = cell;
    if (IsValid(cell)) {
        if (CGridCellBase* now = m_virtualMode ? nullptr : GetCellAt(cell.row, cell.col))
            now->SetState(now->GetState() | GRIDSTATE_FOCUSED);
        RedrawCell(cell.row, cell.col);
    }
    if (m_trackFocus && m_hWnd != nullptr) {
        if (previous.col != cell.col)
            for (int row2 = 0; row2 < m_fixedRows; ++row2) {
                RedrawCell(row2, previous.col);
                RedrawCell(row2, cell.col);
            }
        if (previous.row != cell.row)
            for (int col2 = 0; col2 < m_fixedCols; ++col2) {
                RedrawCell(previous.row, col2);
                RedrawCell(cell.row, col2);
            }
    }
    return previous;
}

void CZellGrid::OnEditSelectAll()
{
    SendMessageToParent(m_pressedCell.row, m_pressedCell.col, GRIDN_SELCHANGING);
    SelectAllCells();
    SendMessageToParent(m_focusCell.row, m_focusCell.col, GRIDN_SELCHANGED);
}

}  // namespace ZELL::Grid
