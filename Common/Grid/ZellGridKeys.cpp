// Keyboard input: moving the focus cell, extending the selection with
// Shift, the clipboard keys, and typing that starts an edit.
#include "Common/Grid/ZellGrid.h"

#include <algorithm>

namespace ZELL::Grid {

namespace {

bool KeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// The standard Edit commands.
constexpr UINT kEditCopy = 0xE122;
constexpr UINT kEditCut = 0xE123;
constexpr UINT kEditPaste = 0xE125;
constexpr UINT kEditSelectAll = 0xE12A;

bool IsNavigationKey(UINT key)
{
    return key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN);
}

}

int CZellGrid::NextVisibleRow(int row, int step) const
{
    for (int next = row + step; next >= m_fixedRows && next < m_rowCount; next += step)
        if (m_rowHeights[next] > 0)
            return next;
    return -1;
}

int CZellGrid::NextVisibleColumn(int col, int step) const
{
    for (int next = col + step; next >= m_fixedCols && next < m_colCount; next += step)
        if (m_colWidths[next] > 0)
            return next;
    return -1;
}

CCellID CZellGrid::NextCellForKey(UINT key, bool shift, bool control)
{
    CCellID next = m_focusCell;
    switch (key) {
    case VK_RIGHT:
        if (int col = NextVisibleColumn(next.col, 1); col >= 0)
            next.col = col;
        break;
    case VK_LEFT:
        if (int col = NextVisibleColumn(next.col, -1); col >= 0)
            next.col = col;
        break;
    case VK_DOWN:
        if (int row = NextVisibleRow(next.row, 1); row >= 0)
            next.row = row;
        break;
    case VK_UP:
        if (int row = NextVisibleRow(next.row, -1); row >= 0)
            next.row = row;
        break;
    case VK_TAB:
        if (!shift) {
            if (int col = NextVisibleColumn(next.col, 1); col >= 0) {
                next.col = col;
            } else if (int row = NextVisibleRow(next.row, 1); row >= 0) {
                next.row = row;
                next.col = NextVisibleColumn(m_fixedCols - 1, 1);
            } else {
                return {};
            }
        } else if (int col = NextVisibleColumn(next.col, -1); col >= 0) {
            next.col = col;
        } else if (int row = NextVisibleRow(next.row, -1); row >= 0) {
            next.row = row;
            next.col = NextVisibleColumn(m_colCount, -1);
        }
        break;
    case VK_NEXT:
    case VK_PRIOR: {
        const CCellID before = GetTopLeftNonFixedCell();
        ScrollAxis(SB_VERT, key == VK_NEXT ? SB_PAGEDOWN : SB_PAGEUP);
        const CCellID after = GetTopLeftNonFixedCell();
        if (after.row != before.row)
            next.row = std::clamp(next.row + after.row - before.row, m_fixedRows, m_rowCount - 1);
        else
            next.row = key == VK_NEXT ? m_rowCount - 1 : m_fixedRows;
        break;
    }
    case VK_HOME:
        ScrollAxis(SB_HORZ, SB_TOP);
        next.col = std::max(NextVisibleColumn(m_fixedCols - 1, 1), m_fixedCols);
        if (control) {
            ScrollAxis(SB_VERT, SB_TOP);
            next.row = std::max(NextVisibleRow(m_fixedRows - 1, 1), m_fixedRows);
        }
        break;
    case VK_END:
        ScrollAxis(SB_HORZ, SB_BOTTOM);
        next.col = std::max(NextVisibleColumn(m_colCount, -1), m_fixedCols);
        if (control) {
            ScrollAxis(SB_VERT, SB_BOTTOM);
            next.row = std::max(NextVisibleRow(m_rowCount, -1), m_fixedRows);
        }
        break;
    default:
        break;
    }
    return next;
}

void CZellGrid::AfterKeyMove(const CCellID& next, UINT key, bool shift)
{
    if (m_mouseMode == kNothing) {
        m_previousSelection.clear();
        m_mouseMode = m_listMode ? kSelectingRows : kSelectingCells;
        if (!shift || key == VK_TAB)
            m_selectionStart = next;
        SendMessageToParent(next.row, next.col, GRIDN_SELCHANGING);
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, GRIDN_SELCHANGED);
        m_mouseMode = kNothing;
    }
    SetFocusCell(next);
    if (!IsCellVisible(next)) {
        switch (key) {
        case VK_RIGHT:
            ScrollAxis(SB_HORZ, SB_LINEDOWN);
            break;
        case VK_LEFT:
            ScrollAxis(SB_HORZ, SB_LINEUP);
            break;
        case VK_DOWN:
            ScrollAxis(SB_VERT, SB_LINEDOWN);
            break;
        case VK_UP:
            ScrollAxis(SB_VERT, SB_LINEUP);
            break;
        default:
            break;
        }
    }
    EnsureVisible(next);
    if (m_drawing && m_hWnd != nullptr)
        Invalidate();
}

void CZellGrid::MoveFocusByKey(UINT key, bool shift, bool control)
{
    if (!IsValid(m_focusCell))
        return;
    const int oldH = m_hScrollPos;
    const int oldV = m_vScrollPos;
    const CCellID next = NextCellForKey(key, shift, control);
    if (IsValid(next) && !(next == m_focusCell))
        AfterKeyMove(next, key, shift);
    if (m_hScrollPos != oldH)
        SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
    if (m_vScrollPos != oldV)
        SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void CZellGrid::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    HideTitleTip();
    if (!IsValid(m_focusCell)) {
        CWnd::OnKeyDown(key, repeat, flags);
        return;
    }
    const bool control = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    if (control && (key == 'C' || key == VK_INSERT)) {
        OnEditCopy();
    } else if (control && key == 'X') {
        OnEditCut();
    } else if ((control && key == 'V') || (shift && key == VK_INSERT)) {
        OnEditPaste();
    } else if (control && key == 'A') {
        OnEditSelectAll();
    } else if (key == VK_DELETE) {
        ClearSelectedTexts();
    } else if (key == VK_F2) {
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), VK_LBUTTON);
    } else if (key == VK_TAB && (!m_handleTab || !HasTabStep(shift))) {
        CWnd::OnKeyDown(key, repeat, flags);
    } else if (IsNavigationKey(key)) {
        MoveFocusByKey(key, shift, control);
    } else {
        CWnd::OnKeyDown(key, repeat, flags);
    }
}

// Whether Tab (or Shift+Tab) has a cell to go to, without moving anything.
// Where it has none, Tab is not the grid's: it goes on to the dialog's
// next (or previous) control, so that the grid is never a trap.
bool CZellGrid::HasTabStep(bool back) const
{
    if (!IsValid(m_focusCell))
        return false;
    const int step = back ? -1 : 1;
    return NextVisibleColumn(m_focusCell.col, step) >= 0 || NextVisibleRow(m_focusCell.row, step) >= 0;
}

void CZellGrid::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (!KeyDown(VK_CONTROL) && m_mouseMode == kNothing && ch != VK_ESCAPE && !(ch == VK_TAB && m_handleTab) &&
        IsValid(m_focusCell))
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), ch);
    CWnd::OnChar(ch, repeat, flags);
}

// The dialog manager asks with the key in hand: Enter is the grid's when it
// edits the focus cell, Tab while there is a cell to tab to.
UINT CZellGrid::DialogCode(const MSG* msg) const
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    const bool keyDown = msg != nullptr && msg->message == WM_KEYDOWN;
    if (m_handleTab && !KeyDown(VK_CONTROL) && !(keyDown && msg->wParam == VK_TAB && !HasTabStep(KeyDown(VK_SHIFT))))
        code |= DLGC_WANTTAB;
    if (keyDown && msg->wParam == VK_RETURN && IsValid(m_focusCell) &&
        IsCellEditable(m_focusCell.row, m_focusCell.col))
        code |= DLGC_WANTMESSAGE;
    return code;
}

// The current cell is where the keys act: a grid that gets the focus with
// none takes its first editable cell (else its first cell) so that the keys
// work at once, and shows it while it has the focus.
void CZellGrid::OnSetFocus(CWnd* old)
{
    CWnd::OnSetFocus(old);
    m_keyFocus = true;
    if (!IsValid(m_focusCell) && !m_focusByMouse)
        SetFocusCell(FirstFocusCell());
    else if (IsValid(m_focusCell))
        RedrawCell(m_focusCell.row, m_focusCell.col);
}

void CZellGrid::OnKillFocus(CWnd* next)
{
    CWnd::OnKillFocus(next);
    m_keyFocus = false;
    if (IsValid(m_focusCell))
        RedrawCell(m_focusCell.row, m_focusCell.col);
}

CCellID CZellGrid::FirstFocusCell()
{
    CCellID first;
    for (int row = NextVisibleRow(m_fixedRows - 1, 1); row >= 0; row = NextVisibleRow(row, 1)) {
        for (int col = NextVisibleColumn(m_fixedCols - 1, 1); col >= 0; col = NextVisibleColumn(col, 1)) {
            if (!IsValid(first))
                first = CCellID(row, col);
            if (IsCellEditable(row, col))
                return CCellID(row, col);
        }
    }
    return first;
}

// --- editing hand-off ----------------------------------------------------------

void CZellGrid::OnEditCell(int row, int col, CPoint point, UINT key)
{
    HideTitleTip();
    if (!IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    if (!IsCellVisible(row, col))
        return;
    CRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    if (SendMessageToParent(row, col, GRIDN_BEGINLABELEDIT) < 0)
        return;
    if (CGridCellBase* cell = GetCellAt(row, col)) {
        cell->SetPosition(row, col);
        cell->Edit(row, col, rect, point, IDC_INPLACE_CONTROL, key);
    }
}

void CZellGrid::EndEditing()
{
    if (CGridCellBase* cell = GetCellAt(m_focusCell.row, m_focusCell.col))
        cell->EndEdit();
}

BOOL CZellGrid::ValidateEdit(int row, int col, LPCWSTR text)
{
    CGridCellBase* cell = GetCellAt(row, col);
    return cell == nullptr || cell->ValidateEdit(text);
}

// Takes an edited text: the cell and the parent may refuse it, and then
// the cell keeps the text it had.
void CZellGrid::OnEndEditCell(int row, int col, CString text)
{
    CGridCellBase* cell = GetCellAt(row, col);
    if (cell == nullptr)
        return;
    const CString old = cell->GetText();
    if (old != text) {
        SetCellText(row, col, text);
        if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDLABELEDIT) >= 0) {
            MarkModified(TRUE, row, col);
            RedrawCell(row, col);
        } else {
            cell->SetText(old);
        }
    }
    RedrawCell(row, col);
    cell->OnEndEdit();
}

BOOL CZellGrid::SetTextByEdit(int row, int col, LPCWSTR text)
{
    if (!IsCellEditable(row, col) || SendMessageToParent(row, col, GRIDN_BEGINLABELEDIT) < 0)
        return FALSE;
    CGridCellBase* cell = GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    const CString old = cell->GetText();
    SetCellText(row, col, text);
    if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDLABELEDIT) >= 0) {
        MarkModified(TRUE, row, col);
        RedrawCell(row, col);
        return TRUE;
    }
    cell->SetText(old);
    return FALSE;
}

void CZellGrid::ContinueEditing(UINT key)
{
    if (key != VK_TAB && !(key >= VK_PRIOR && key <= VK_DOWN))
        return;
    MoveFocusByKey(key, KeyDown(VK_SHIFT), false);
    if (IsValid(m_focusCell))
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), key);
}

UINT CZellGrid::ContinueEditMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"ZellGridContinueEdit");
    return message;
}

LRESULT CZellGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DialogCode(reinterpret_cast<const MSG*>(lParam));
    if (message == ContinueEditMessage()) {
        ContinueEditing(static_cast<UINT>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CZellGrid::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_INPLACE_CONTROL &&
        static_cast<int>(header->code) == GRIDN_ENDLABELEDIT) {
        const auto* info = reinterpret_cast<const NMGRIDDISPINFO*>(lParam);
        const int row = info->item.row;
        const int col = info->item.col;
        const CString text = info->item.text;
        const UINT key = static_cast<UINT>(info->item.userValue);
        OnEndEditCell(row, col, text);
        // The editor is still handing the focus on; the next cell's editor
        // opens once that has settled, so that it keeps the focus.
        if (key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN))
            PostMessage(ContinueEditMessage(), key);
        *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

BOOL CZellGrid::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case kEditCut:
        OnEditCut();
        return TRUE;
    case kEditCopy:
        OnEditCopy();
        return TRUE;
    case kEditPaste:
        OnEditPaste();
        return TRUE;
    case kEditSelectAll:
        OnEditSelectAll();
        return TRUE;
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}

}  // namespace ZELL::Grid
