// Mouse input: selection by pressing and dragging (with auto-scroll past
// the edges), heading clicks, divider dragging, clicks handed to cells.
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/TitleTip.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/App/WaitCursor.h"

#include <algorithm>

namespace ZELL::Grid {

namespace {

// The point in the coordinates of the rectangle's corner.
CPoint RelativeTo(CPoint point, const CRect& rect)
{
    return {point.x - rect.left, point.y - rect.top};
}

}

bool CZellGrid::OverColumnDivider(CPoint point) const
{
    const CCellID cell = GetCellFromPoint(point);
    CRect rect;
    if (!IsValid(cell) || !GetCellRect(cell, rect))
        return false;
    return (cell.col != 0 && point.x < rect.left + m_resizeCaptureRange) ||
           point.x > rect.right - m_resizeCaptureRange;
}

bool CZellGrid::OverRowDivider(CPoint point) const
{
    const CCellID cell = GetCellFromPoint(point);
    CRect rect;
    if (!IsValid(cell) || !GetCellRect(cell, rect))
        return false;
    return (cell.row != 0 && point.y < rect.top + m_resizeCaptureRange) ||
           point.y > rect.bottom - m_resizeCaptureRange;
}

void CZellGrid::DrawSizingLine(CPoint point)
{
    CDC* dc = GetDC();
    if (dc == nullptr)
        return;
    CRect client;
    GetClientRect(client);
    if (m_mouseMode == kSizingColumn)
        dc->InvertRect(CRect(point.x, client.top, point.x + 2, client.bottom));
    else
        dc->InvertRect(CRect(client.left, point.y, client.right, point.y + 2));
    ReleaseDC(dc);
}

void CZellGrid::StartSizing(CPoint point)
{
    const bool columns = m_mouseMode == kOverColumnDivider;
    m_mouseMode = columns ? kSizingColumn : kSizingRow;
    CCellID cell = GetCellFromPoint(point);
    CRect rect;
    if (!GetCellRect(cell, rect))
        return;
    int index = columns ? cell.col : cell.row;
    const int edge = columns ? rect.left : rect.top;
    const int at = columns ? point.x : point.y;
    if (at < edge + m_resizeCaptureRange && index > 0) {
        --index;
        const std::vector<int>& sizes = columns ? m_colWidths : m_rowHeights;
        const bool passHidden = columns ? !m_resizePassesHiddenCols : !m_resizePassesHiddenRows;
        while (passHidden && index > 0 && sizes[index] == 0)
            --index;
    }
    m_sizingIndex = index;
    DrawSizingLine(point);
}

void CZellGrid::FinishSizing(CPoint point)
{
    DrawSizingLine(m_lastMousePoint);
    const bool columns = m_mouseMode == kSizingColumn;
    if (point == m_buttonDownPoint || (point.x == 0 && point.y == 0) || m_sizingIndex < 0)
        return;
    CPoint origin;
    const int index = m_sizingIndex;
    int size = 0;
    if (columns) {
        int left = 0;
        if (GetCellOrigin(0, index, &origin))
            left = origin.x;
        size = std::max(point.x - left, m_resizeHidesCols ? 0 : 1);
        SetColumnWidth(index, size);
    } else {
        int top = 0;
        if (GetCellOrigin(index, 0, &origin))
            top = origin.y;
        size = std::max(point.y - top, m_resizeHidesRows ? 0 : 1);
        SetRowHeight(index, size);
    }
    ResetScrollBars();
    Invalidate();
}

void CZellGrid::OnLButtonDown(UINT flags, CPoint point)
{
    m_focusByMouse = true;
    SetFocus();
    m_focusByMouse = false;
    m_buttonDownPoint = point;
    m_leftButtonDown = TRUE;
    m_pressedCell = GetCellFromPoint(point);
    if (!IsValid(m_pressedCell))
        return;
    const bool shift = (flags & MK_SHIFT) != 0;
    const bool control = (flags & MK_CONTROL) != 0;
    if (!shift)
        m_selectionStart = m_pressedCell;
    else if (!IsValid(m_selectionStart))
        m_selectionStart = m_focusCell;
    EndEditing();
    CRect cellRect;
    GetCellRect(m_pressedCell, cellRect);
    if (CGridCellBase* cell = GetCellAt(m_pressedCell.row, m_pressedCell.col))
        cell->OnClickDown(RelativeTo(point, cellRect));
    CRect textRect;
    if (m_pressedCell == m_focusCell && !control && GetTextRect(m_pressedCell.row, m_pressedCell.col, textRect) &&
        textRect.PtInRect(point) && IsCellEditable(m_pressedCell.row, m_pressedCell.col)) {
        m_mouseMode = kPreparingEdit;
        return;
    }
    if (IsCellSelected(m_pressedCell.row, m_pressedCell.col)) {
        SetFocusCell(m_pressedCell);
        if (control) {
            const CCellID from = shift ? m_selectionStart : m_pressedCell;
            if (m_listMode)
                SetSelectedRange(std::min(from.row, m_pressedCell.row), m_fixedCols,
                                 std::max(from.row, m_pressedCell.row), m_colCount - 1, TRUE, FALSE);
            else
                SetSelectedRange(std::min(from.row, m_pressedCell.row), std::min(from.col, m_pressedCell.col),
                                 std::max(from.row, m_pressedCell.row), std::max(from.col, m_pressedCell.col), TRUE,
                                 FALSE);
            return;
        }
        if (m_dragAndDrop)
            m_mouseMode = kPreparingDrag;
    } else if (m_mouseMode != kOverRowDivider && m_mouseMode != kOverColumnDivider) {
        SetFocusCell(IsCellFixed(m_pressedCell.row, m_pressedCell.col) ? CCellID() : m_pressedCell);
    }
    SetCapture();
    if (m_mouseMode == kNothing) {
        if (m_colResize && OverColumnDivider(point)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            m_mouseMode = kOverColumnDivider;
        } else if (m_rowResize && OverRowDivider(point)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
            m_mouseMode = kOverRowDivider;
        }
    }
    if (m_mouseMode == kOverColumnDivider || m_mouseMode == kOverRowDivider) {
        StartSizing(point);
    } else if (m_mouseMode != kPreparingDrag) {
        SendMessageToParent(m_pressedCell.row, m_pressedCell.col, GRIDN_SELCHANGING);
        m_previousSelection.clear();
        if (control)
            m_previousSelection = m_selected;
        if (m_pressedCell.row < m_fixedRows) {
            OnFixedRowClick(m_pressedCell);
        } else if (m_pressedCell.col < m_fixedCols) {
            OnFixedColumnClick(m_pressedCell);
        } else {
            m_mouseMode = m_listMode ? kSelectingRows : kSelectingCells;
            OnSelecting(m_pressedCell);
            m_autoScrollTimer = SetTimer(kAutoScrollTimer, m_autoScrollInterval);
        }
    }
    m_lastMousePoint = point;
}

void CZellGrid::OnMouseMove(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(client);
    if (!client.PtInRect(point) && m_mouseMode != kDragging) {
        m_lastMousePoint = point;
        return;
    }
    if ((flags & MK_LBUTTON) == 0 || m_mouseMode == kNothing) {
        if (m_colResize && OverColumnDivider(point)) {
            m_mouseMode = kOverColumnDivider;
        } else if (m_rowResize && OverRowDivider(point)) {
            m_mouseMode = kOverRowDivider;
        } else if (m_mouseMode != kNothing) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            m_mouseMode = kNothing;
        }
        if (m_mouseMode == kNothing) {
            const CCellID cell = GetCellFromPoint(point);
            if (IsValid(cell) && (!m_virtualMode || m_titleTips)) {
                if (CGridCellBase* over = GetCellAt(cell.row, cell.col))
                    over->OnMouseOver();
                SendMessageToParent(cell.row, cell.col, GRIDN_MOUSEOVER);
                if (m_titleTips)
                    ShowTitleTip(cell);
            }
        }
    } else if ((flags & MK_LBUTTON) && IsValid(m_pressedCell)) {
        switch (m_mouseMode) {
        case kSelectingColumns:
        case kSelectingRows:
        case kSelectingCells: {
            const CCellID cell = GetCellFromPoint(point);
            if (IsValid(cell) && !(cell == m_focusCell)) {
                OnSelecting(cell);
                if (m_mouseMode != kSelectingCells || !IsCellFixed(cell.row, cell.col))
                    SetFocusCell(cell);
            }
            break;
        }
        case kSizingColumn:
        case kSizingRow:
            DrawSizingLine(m_lastMousePoint);
            DrawSizingLine(point);
            break;
        case kPreparingEdit:
        case kPreparingDrag:
            m_mouseMode = kPreparingDrag;
            OnBeginDrag();
            break;
        default:
            break;
        }
    }
    m_lastMousePoint = point;
}

void CZellGrid::OnLButtonUp(UINT flags, CPoint point)
{
    CWnd::OnLButtonUp(flags, point);
    // A release whose press went elsewhere (it closed an editor's open
    // list) is no click: it must not edit or click the focus cell.
    if (!m_leftButtonDown)
        return;
    m_leftButtonDown = FALSE;
    if (GetCapture() == this)
        ::ReleaseCapture();
    if (m_autoScrollTimer != 0) {
        KillTimer(m_autoScrollTimer);
        m_autoScrollTimer = 0;
    }
    CRect focusRect;
    GetCellRect(m_focusCell, focusRect);
    const CPoint inFocus = RelativeTo(point, focusRect);
    CGridCellBase* focusCell = GetCellAt(m_focusCell.row, m_focusCell.col);
    switch (m_mouseMode) {
    case kPreparingEdit:
        OnEditCell(m_focusCell.row, m_focusCell.col, inFocus, VK_LBUTTON);
        break;
    case kPreparingDrag:
        if (focusCell != nullptr)
            focusCell->OnClick(inFocus);
        SendMessageToParent(m_pressedCell.row, m_pressedCell.col, GRIDN_CLICK);
        SendMessageToParent(m_pressedCell.row, m_pressedCell.col, GRIDN_SELCHANGING);
        ClearSelection();
        SendMessageToParent(m_focusCell.row, m_focusCell.col, GRIDN_SELCHANGED);
        break;
    case kSizingColumn:
    case kSizingRow:
        FinishSizing(point);
        break;
    default:
        SendMessageToParent(m_focusCell.row, m_focusCell.col, GRIDN_SELCHANGED);
        if (focusCell != nullptr)
            focusCell->OnClick(inFocus);
        SendMessageToParent(m_pressedCell.row, m_pressedCell.col, GRIDN_CLICK);
        break;
    }
    m_mouseMode = kNothing;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (IsValid(m_pressedCell) && m_hWnd != nullptr) {
        HWND target = NotifyTarget();
        if (target != nullptr)
            ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CZellGrid::OnLButtonDblClk(UINT flags, CPoint point)
{
    const CCellID cell = GetCellFromPoint(point);
    if (!IsValid(cell))
        return;
    if (m_mouseMode == kOverColumnDivider || m_mouseMode == kOverRowDivider) {
        CRect rect;
        GetCellRect(cell, rect);
        if (m_mouseMode == kOverColumnDivider) {
            int col = cell.col;
            if (point.x < rect.left + m_resizeCaptureRange && col > 0)
                --col;
            while (col > 0 && m_colWidths[col] == 0)
                --col;
            FitColumnWidth(col, m_autoSizeScope);
        } else {
            int row = cell.row;
            if (point.y < rect.top + m_resizeCaptureRange && row > 0)
                --row;
            while (row > 0 && m_rowHeights[row] == 0)
                --row;
            FitRowHeight(row);
        }
        Invalidate();
        return;
    }
    if (m_mouseMode != kNothing)
        return;
    CRect cellRect;
    GetCellRect(cell, cellRect);
    CRect textRect;
    if (!IsCellFixed(cell.row, cell.col) && IsValid(m_pressedCell) && GetTextRect(cell.row, cell.col, textRect) &&
        textRect.PtInRect(point))
        OnEditCell(cell.row, cell.col, RelativeTo(point, cellRect), VK_LBUTTON);
    if (CGridCellBase* target = GetCellAt(cell.row, cell.col))
        target->OnDblClick(RelativeTo(point, cellRect));
    SendMessageToParent(cell.row, cell.col, GRIDN_DBLCLK);
}

void CZellGrid::OnRButtonUp(UINT flags, CPoint point)
{
    CWnd::OnRButtonUp(flags, point);
    EndEditing();
    CCellID cell = GetCellFromPoint(point);
    if (!IsValid(cell)) {
        SendMessageToParent(-1, -1, GRIDN_RCLICK);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_fixedRows), std::max(cell.col, m_fixedCols));
    CRect rect;
    GetCellRect(cell, rect);
    if (CGridCellBase* target = GetCellAt(cell.row, cell.col))
        target->OnRClick(RelativeTo(point, rect));
    SendMessageToParent(cell.row, cell.col, GRIDN_RCLICK);
}

void CZellGrid::AutoScrollStep()
{
    CPoint point;
    if (!::GetCursorPos(&point))
        return;
    ScreenToClient(&point);
    CRect client;
    GetClientRect(client);
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    CPoint edge = point;
    if (point.y > client.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        edge.y = client.bottom - 1;
    } else if (point.y < fixedHeight) {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        edge.y = fixedHeight + 1;
    }
    if (point.x > client.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        edge.x = client.right - 1;
    } else if (point.x < fixedWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        edge.x = fixedWidth + 1;
    }
    if (edge == point)
        return;
    const CCellID cell = GetCellFromPoint(edge);
    if (IsValid(cell) && !IsCellFixed(cell.row, cell.col)) {
        OnSelecting(cell);
        SetFocusCell(cell);
    }
}

void CZellGrid::OnTimer(UINT_PTR id)
{
    if (id != kAutoScrollTimer) {
        CWnd::OnTimer(id);
        return;
    }
    if (!m_leftButtonDown)
        return;
    AutoScrollStep();
}

BOOL CZellGrid::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT)
        return CWnd::OnSetCursor(window, hitTest, message);
    switch (m_mouseMode) {
    case kOverRowDivider:
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
        return TRUE;
    case kOverColumnDivider:
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    case kDragging:
        return TRUE;
    default:
        break;
    }
    if (!m_virtualMode) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        const CCellID cell = GetCellFromPoint(point);
        if (CGridCellBase* target = IsValid(cell) ? GetCellAt(cell.row, cell.col) : nullptr)
            return target->OnSetCursor();
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void CZellGrid::OnCaptureChanged(CWnd* window)
{
    if (window == this)
        return;
    if (m_autoScrollTimer != 0) {
        KillTimer(m_autoScrollTimer);
        m_autoScrollTimer = 0;
    }
    if (m_mouseMode == kDragging)
        m_mouseMode = kNothing;
}

void CZellGrid::OnFixedColumnClick(CCellID& cell)
{
    if (!m_fixedColSelects)
        return;
    m_mouseMode = cell.row < m_fixedRows ? kSelectingAll : kSelectingRows;
    OnSelecting(cell);
}

void CZellGrid::OnFixedRowClick(CCellID& cell)
{
    if (m_headerSort) {
        CWaitCursor wait;
        const BOOL ascending = !(cell.col == m_sortColumn && m_sortAscending);
        Sort(cell.col, ascending);
        Invalidate();
    }
    if (m_fixedRowSelects) {
        m_mouseMode = cell.col < m_fixedCols ? kSelectingAll : kSelectingColumns;
        OnSelecting(cell);
    }
}

void CZellGrid::HideTitleTip()
{
    if (m_titleTip != nullptr && m_titleTip->GetSafeHwnd() != nullptr)
        m_titleTip->Hide();
}

void CZellGrid::ShowTitleTip(const CCellID& cell)
{
    CGridCellBase* target = GetCellAt(cell.row, cell.col);
    if (target == nullptr || *target->GetTipText() == L'\0' || target->IsEditing() || cell == m_focusCell)
        return;
    CRect rect;
    CRect tipRect;
    if (!GetCellRect(cell, rect))
        return;
    tipRect = rect;
    if (!target->GetTipTextRect(tipRect))
        return;
    if (m_titleTip == nullptr) {
        m_titleTip = new CTitleTip;
        m_titleTip->Create(this);
    }
    m_titleTip->Show(rect, target->GetTipText(), 0, tipRect, target->GetFont(),
                     m_titleTipText == CLR_DEFAULT ? target->GetTextColour() : m_titleTipText,
                     m_titleTipBack == CLR_DEFAULT ? target->GetBackColour() : m_titleTipBack);
}

}  // namespace ZELL::Grid
