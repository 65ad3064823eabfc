// Cell texts across the clipboard and drag and drop: a block of cells is
// text with fields separated by Tab and rows by CR LF.
#include "Common/Grid/ZellGrid.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Core/CmdUI.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/DragDrop/OleDataObject.h"
#include "Platform/Framework/DragDrop/OleDataSource.h"
#include "Platform/Ui/Clipboard.h"

#include <algorithm>
#include <cwctype>

namespace ZELL::Grid {

namespace {

HGLOBAL TextBlock(const CString& text)
{
    const SIZE_T bytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (block == nullptr)
        return nullptr;
    if (auto* chars = static_cast<wchar_t*>(::GlobalLock(block))) {
        std::copy_n(text.GetString(), text.GetLength(), chars);
        chars[text.GetLength()] = L'\0';
        ::GlobalUnlock(block);
    }
    return block;
}

CString TextOf(COleDataObject* data)
{
    HGLOBAL block = data->GetGlobalData(CF_UNICODETEXT);
    if (block == nullptr)
        return {};
    CString text;
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block))) {
        const SIZE_T limit = ::GlobalSize(block) / sizeof(wchar_t);
        text = CString(chars, static_cast<int>(std::find(chars, chars + limit, L'\0') - chars));
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);
    return text;
}

CString Trimmed(const CString& field)
{
    CString text = field;
    text.Trim();
    return text;
}

// The text's lines; a last line that is empty (text ending with a line
// end, as other programs copy it) is no line of its own.
std::vector<CString> SplitLines(const CString& text)
{
    std::vector<CString> lines;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find(L'\n', start);
        if (end < 0)
            end = text.GetLength();
        lines.push_back(text.Mid(start, end - start));
        start = end + 1;
    }
    if (!lines.empty() && Trimmed(lines.back()).IsEmpty())
        lines.pop_back();
    return lines;
}

std::vector<CString> SplitFields(const CString& line)
{
    std::vector<CString> fields;
    int start = 0;
    while (true) {
        const int tab = line.Find(L'\t', start);
        const int comma = line.Find(L',', start);
        int end = tab < 0 ? comma : (comma < 0 ? tab : std::min(tab, comma));
        if (end < 0) {
            fields.push_back(Trimmed(line.Mid(start)));
            return fields;
        }
        fields.push_back(Trimmed(line.Mid(start, end - start)));
        start = end + 1;
    }
}

}

COleDataSource* CZellGrid::CopyTextFromGrid()
{
    CCellRange range = GetSelectedCellRange();
    if (!IsValid(range)) {
        if (!IsValid(m_focusCell))
            return nullptr;
        range = CCellRange(m_focusCell.row, m_focusCell.col, m_focusCell.row, m_focusCell.col);
    }
    if (m_virtualMode)
        SendCacheHintToParent(range);
    CString text;
    bool firstRow = true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (m_rowHeights[row] <= 0)
            continue;
        if (!firstRow)
            text += L"\r\n";
        firstRow = false;
        bool firstField = true;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (m_colWidths[col] <= 0)
                continue;
            if (!firstField)
                text += L"\t";
            firstField = false;
            const bool wanted = !m_selection || IsCellSelected(row, col) || range.RowSpan() * range.ColSpan() == 1;
            if (wanted)
                text += GetCellText(row, col);
        }
    }
    if (m_virtualMode)
        SendCacheHintToParent(CCellRange());
    HGLOBAL block = TextBlock(text);
    if (block == nullptr)
        return nullptr;
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_UNICODETEXT, block);
    return source;
}

void CZellGrid::OnEditCopy()
{
    if (COleDataSource* source = CopyTextFromGrid())
        source->SetClipboard();
}

void CZellGrid::OnEditCut()
{
    if (!m_editing)
        return;
    COleDataSource* source = CopyTextFromGrid();
    if (source == nullptr)
        return;
    source->SetClipboard();
    ClearSelectedTexts();
}

void CZellGrid::OnUpdateEditCut(CCmdUI* ui) { ui->Enable(m_editing && GetSelectedCount() > 0); }

void CZellGrid::OnUpdateEditCopy(CCmdUI* ui) { ui->Enable(GetSelectedCount() > 0); }

void CZellGrid::OnUpdateEditPaste(CCmdUI* ui)
{
    // Every text form on the clipboard is offered as wide text too.
    ui->Enable(IsValid(m_focusCell) && IsCellEditable(m_focusCell.row, m_focusCell.col) &&
               IsClipboardFormatAvailable(CF_UNICODETEXT));
}

void CZellGrid::OnUpdateEditSelectAll(CCmdUI* ui) { ui->Enable(m_selection); }

void CZellGrid::ClearSelectedTexts()
{
    if (!m_editing)
        return;
    const auto selected = m_selected;
    for (const auto& [key, cell] : selected)
        SetTextByEdit(cell.row, cell.col, L"");
}

void CZellGrid::ClearCellTexts(int minRow, int minCol, int maxRow, int maxCol)
{
    for (int row = std::max(minRow, 0); row <= maxRow && row < m_rowCount; ++row)
        for (int col = std::max(minCol, 0); col <= maxCol && col < m_colCount; ++col)
            if (m_rowHeights[row] > 0 && m_colWidths[col] > 0)
                SetTextByEdit(row, col, L"");
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
}

void CZellGrid::OnEditPaste()
{
    if (!m_editing)
        return;
    CCellID target = GetSelectedCellRange().TopLeft();
    if (!IsValid(GetSelectedCellRange()))
        target = m_focusCell;
    if (!IsValid(target))
        target = GetTopLeftNonFixedCell();
    if (!IsValid(target))
        return;
    CGridCellBase* cell = GetCellAt(target.row, target.col);
    if (cell != nullptr && cell->IsEditing() && cell->GetEditWindow() != nullptr) {
        cell->GetEditWindow()->SendMessage(WM_PASTE);
        return;
    }
    COleDataObject data;
    if (data.AttachClipboard())
        PasteTextToGrid(target, &data, TRUE);
}

BOOL CZellGrid::PasteTextToGrid(CCellID target, COleDataObject* data, BOOL select)
{
    if (data == nullptr || !IsCellEditable(target.row, target.col) || !data->IsDataAvailable(CF_UNICODETEXT))
        return FALSE;
    const std::vector<CString> lines = SplitLines(TextOf(data));
    int maxRow = target.row;
    int maxCol = target.col;
    int row = target.row;
    for (const CString& line : lines) {
        while (row < m_rowCount && m_rowHeights[row] <= 0)
            ++row;
        if (row >= m_rowCount)
            break;
        int col = target.col;
        for (const CString& field : SplitFields(line)) {
            while (col < m_colCount && m_colWidths[col] <= 0)
                ++col;
            if (col >= m_colCount)
                break;
            SetTextByEdit(row, col, field);
            SetSelectedState(row, col, false);
            maxRow = std::max(maxRow, row);
            maxCol = std::max(maxCol, col);
            ++col;
        }
        ++row;
    }
    if (select) {
        SetSelectedRange(target.row, target.col, maxRow, maxCol, TRUE, TRUE);
    } else {
        ClearSelection();
        if (m_hWnd != nullptr && m_drawing)
            Invalidate();
    }
    return TRUE;
}

// --- drag and drop -------------------------------------------------------------

void CZellGrid::OnBeginDrag()
{
    if (!m_dragAndDrop)
        return;
    COleDataSource* source = CopyTextFromGrid();
    if (source == nullptr)
        return;
    const CCellID topLeft = GetSelectedCellRange().TopLeft();
    SendMessageToParent(topLeft.row, topLeft.col, GRIDN_BEGINDRAG);
    m_mouseMode = kDragging;
    m_leftButtonDown = FALSE;
    // The cells that leave on a move: a drop inside this grid changes the
    // selection before the move is known.
    m_draggedCells.clear();
    for (const auto& [key, cell] : m_selected)
        m_draggedCells.push_back(cell);
    if (m_draggedCells.empty() && IsValid(m_focusCell))
        m_draggedCells.push_back(m_focusCell);
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, m_dropSource);
    if (effect == DROPEFFECT_MOVE)
        for (const CCellID& cell : m_draggedCells)
            if (IsValid(cell) && !m_droppedAt.InRange(cell))
                SetTextByEdit(cell.row, cell.col, L"");
    m_draggedCells.clear();
    m_droppedAt = CCellRange();
    m_mouseMode = kNothing;
    delete source;
}

DROPEFFECT CZellGrid::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point)
{
    if (!m_dragAndDrop || data == nullptr || !data->IsDataAvailable(CF_UNICODETEXT))
        return DROPEFFECT_NONE;
    m_dropCell = GetCellFromPoint(point, FALSE);
    if (!IsValid(m_dropCell) || !IsCellEditable(m_dropCell.row, m_dropCell.col))
        return DROPEFFECT_NONE;
    SetCellState(m_dropCell.row, m_dropCell.col, GetCellState(m_dropCell.row, m_dropCell.col) | GRIDSTATE_DROPHILITED);
    RedrawCell(m_dropCell.row, m_dropCell.col);
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CZellGrid::OnDragOver(COleDataObject* data, DWORD keyState, CPoint point)
{
    if (!m_dragAndDrop || !m_editing || data == nullptr || !data->IsDataAvailable(CF_UNICODETEXT))
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPoint(point, FALSE);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_dropCell = CCellID();
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell.row, cell.col))
        return DROPEFFECT_NONE;
    if (!(cell == m_dropCell)) {
        OnDragLeave();
        m_dropCell = cell;
        SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GRIDSTATE_DROPHILITED);
        RedrawCell(cell.row, cell.col);
    }
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CZellGrid::OnDragLeave()
{
    if (!IsValid(m_dropCell))
        return;
    SetCellState(m_dropCell.row, m_dropCell.col, GetCellState(m_dropCell.row, m_dropCell.col) & ~GRIDSTATE_DROPHILITED);
    RedrawCell(m_dropCell.row, m_dropCell.col);
}

BOOL CZellGrid::OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    m_mouseMode = kNothing;
    if (!m_dragAndDrop || !IsCellEditable(m_dropCell.row, m_dropCell.col))
        return FALSE;
    OnDragLeave();
    const CCellID target = m_dropCell;
    const BOOL pasted = PasteTextToGrid(target, data, FALSE);
    if (pasted && !m_draggedCells.empty()) {
        // Dropped on its own grid: what was just written stays on a move.
        const CCellRange source = [this] {
            CCellRange r(m_rowCount, m_colCount, -1, -1);
            for (const CCellID& c : m_draggedCells) {
                r.minRow = std::min(r.minRow, c.row);
                r.minCol = std::min(r.minCol, c.col);
                r.maxRow = std::max(r.maxRow, c.row);
                r.maxCol = std::max(r.maxCol, c.col);
            }
            return r;
        }();
        m_droppedAt = CCellRange(target.row, target.col, target.row + source.RowSpan() - 1,
                                 target.col + source.ColSpan() - 1);
    }
    return pasted;
}

std::unique_ptr<CImageList> CZellGrid::CreateDragImage(CPoint* size)
{
    CRect rect;
    CGridCellBase* cell = GetCellAt(m_focusCell.row, m_focusCell.col);
    if (cell == nullptr || m_hWnd == nullptr || !GetCellRect(m_focusCell, rect) || rect.IsRectEmpty())
        return nullptr;
    rect.OffsetRect(-rect.left, -rect.top);
    CDC* screen = GetDC();
    CDC memory;
    CBitmap picture;
    const bool made = memory.CreateCompatibleDC(screen) &&
                      picture.CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
    ReleaseDC(screen);
    if (!made)
        return nullptr;
    CBitmap* old = memory.SelectObject(&picture);
    memory.FillSolidRect(rect, m_defaultNormal.GetBackColour());
    cell->Draw(&memory, m_focusCell.row, m_focusCell.col, rect);
    memory.SelectObject(old);
    auto images = std::make_unique<CImageList>();
    if (!images->Create(rect.Width(), rect.Height(), ILC_COLOR32 | ILC_MASK, 0, 1) ||
        images->Add(&picture, m_defaultNormal.GetBackColour()) < 0)
        return nullptr;
    if (size != nullptr)
        *size = CPoint(rect.Width(), rect.Height());
    return images;
}

}  // namespace ZELL::Grid
