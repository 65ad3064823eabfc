// The grid's cell storage: counts, creation and destruction of cells, cell
// access by id, rows and columns inserted and deleted.
#include "Common/Grid/ZellGrid.h"

#include "Platform/Framework/App/WinApp.h"

#include <algorithm>

namespace ZELL::Grid {

BOOL CZellGrid::IsValid(const CCellRange& range) const
{
    return range.IsValid() && range.maxRow < m_rowCount && range.maxCol < m_colCount;
}

CGridCellBase* CZellGrid::CreateCell(int row, int col)
{
    if (m_cellClass == nullptr || !m_cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return nullptr;
    auto* cell = static_cast<CGridCellBase*>(m_cellClass->CreateObject());
    if (cell == nullptr)
        return nullptr;
    cell->SetGrid(this);
    cell->SetPosition(row, col);
    DWORD state = cell->GetState();
    if (col < m_fixedCols)
        state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
    if (row < m_fixedRows)
        state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
    cell->SetState(state);
    cell->SetFormat(cell->GetDefaultCell()->GetFormat());
    return cell;
}

void CZellGrid::DestroyCell(int row, int col)
{
    SetCellState(row, col, 0);
    if (row < static_cast<int>(m_cells.size()) && col < static_cast<int>(m_cells[row].size())) {
        delete m_cells[row][col];
        m_cells[row][col] = nullptr;
    }
}

CGridCellBase* CZellGrid::GetCellAt(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    if (m_virtualMode) {
        FillVirtualCell(row, col);
        return &m_virtualCell;
    }
    if (row >= static_cast<int>(m_cells.size()) || col >= static_cast<int>(m_cells[row].size()))
        return nullptr;
    return m_cells[row][col];
}

void CZellGrid::FillVirtualCell(int row, int col) const
{
    NMGRIDDISPINFO info;
    GRIDITEM& item = info.item;
    item.row = row;
    item.col = col;
    item.mask = 0xFFFFFFFF;
    item.state = 0;
    if (m_selected.count(CellKey(row, col)) != 0)
        item.state |= GRIDSTATE_SELECTED;
    if (row < m_fixedRows)
        item.state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
    if (col < m_fixedCols)
        item.state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
    if (CCellID(row, col) == m_focusCell)
        item.state |= GRIDSTATE_FOCUSED;
    const CGridDefaultCell* defaults = GetDefaultCell(row < m_fixedRows, col < m_fixedCols);
    item.format = defaults->GetFormat();
    item.image = defaults->GetImage();
    item.userValue = 0;
    item.textColour = defaults->GetTextColour();
    item.backColour = defaults->GetBackColour();
    item.font = *defaults->GetFont();
    item.margin = defaults->GetMargin();
    if (m_callback != nullptr) {
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.code = static_cast<UINT>(GRIDN_GETDISPINFO);
        m_callback(&info, m_callbackValue);
    } else {
        SendDisplayRequestToParent(&item);
    }
    m_virtualCell.Reset();
    m_virtualCell.SetGrid(const_cast<CZellGrid*>(this));
    m_virtualCell.SetState(item.state);
    m_virtualCell.SetFormat(item.format);
    m_virtualCell.SetImage(item.image);
    m_virtualCell.SetUserValue(item.userValue);
    m_virtualCell.SetTextColour(item.textColour);
    m_virtualCell.SetBackColour(item.backColour);
    m_virtualCell.SetFont(&item.font);
    m_virtualCell.SetMargin(item.margin);
    m_virtualCell.SetText(item.text);
}

// --- counts ------------------------------------------------------------------------

void CZellGrid::AfterCountChange()
{
    MarkModified(TRUE);
    ResetScrollBars();
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
}

// New rows get cells; if any of them cannot be had, the rows made so far go
// again and the grid keeps its old shape.
bool CZellGrid::GrowRows(int rows)
{
    const int oldCount = m_rowCount;
    try {
        m_rowHeights.resize(static_cast<std::size_t>(rows), m_defaultNormal.GetDefaultHeight());
        if (!m_virtualMode) {
            m_cells.reserve(static_cast<std::size_t>(rows));
            for (int row = oldCount; row < rows; ++row) {
                m_cells.emplace_back(static_cast<std::size_t>(m_colCount), nullptr);
                m_rowCount = row + 1;
                for (int col = 0; col < m_colCount; ++col)
                    if ((m_cells[row][col] = CreateCell(row, col)) == nullptr)
                        throw std::bad_alloc();
            }
        }
        m_rowCount = rows;
        return true;
    } catch (const std::bad_alloc&) {
        ShrinkRows(oldCount);
        m_rowHeights.resize(static_cast<std::size_t>(oldCount));
        return false;
    }
}

void CZellGrid::ShrinkRows(int rows)
{
    for (int row = static_cast<int>(m_cells.size()) - 1; row >= rows; --row) {
        for (int col = 0; col < static_cast<int>(m_cells[row].size()); ++col)
            if (m_cells[row][col] != nullptr)
                DestroyCell(row, col);
        m_cells.pop_back();
    }
    m_rowCount = rows;
    m_rowHeights.resize(static_cast<std::size_t>(rows));
}

bool CZellGrid::GrowColumns(int cols)
{
    const int oldCount = m_colCount;
    try {
        m_colWidths.resize(static_cast<std::size_t>(cols), m_defaultFixedCol.GetDefaultWidth());
        if (!m_virtualMode) {
            for (CellRow& cells : m_cells)
                cells.resize(static_cast<std::size_t>(cols), nullptr);
            m_colCount = cols;
            for (int row = 0; row < static_cast<int>(m_cells.size()); ++row)
                for (int col = oldCount; col < cols; ++col)
                    if ((m_cells[row][col] = CreateCell(row, col)) == nullptr)
                        throw std::bad_alloc();
        }
        m_colCount = cols;
        return true;
    } catch (const std::bad_alloc&) {
        m_colCount = std::max(m_colCount, oldCount);
        ShrinkColumns(oldCount);
        m_colWidths.resize(static_cast<std::size_t>(oldCount));
        return false;
    }
}

void CZellGrid::ShrinkColumns(int cols)
{
    for (int row = 0; row < static_cast<int>(m_cells.size()); ++row) {
        for (int col = static_cast<int>(m_cells[row].size()) - 1; col >= cols; --col)
            if (m_cells[row][col] != nullptr)
                DestroyCell(row, col);
        m_cells[row].resize(std::min(m_cells[row].size(), static_cast<std::size_t>(cols)));
    }
    m_colCount = cols;
    m_colWidths.resize(static_cast<std::size_t>(cols));
}

BOOL CZellGrid::SetRowTotal(int rows)
{
    if (rows < 0)
        return FALSE;
    if (rows == m_rowCount)
        return TRUE;
    m_topLeftCache = CCellID();
    if (rows < m_fixedRows)
        m_fixedRows = rows;
    if (m_focusCell.row >= rows)
        SetFocusCell(-1, -1);
    BOOL result = TRUE;
    if (rows < m_rowCount)
        ShrinkRows(rows);
    else
        result = GrowRows(rows) ? TRUE : FALSE;
    AfterCountChange();
    return result;
}

BOOL CZellGrid::SetColumnTotal(int cols)
{
    if (cols < 0)
        return FALSE;
    if (cols == m_colCount)
        return TRUE;
    m_topLeftCache = CCellID();
    if (cols < m_fixedCols)
        m_fixedCols = cols;
    if (m_focusCell.col >= cols)
        SetFocusCell(-1, -1);
    BOOL result = TRUE;
    if (cols < m_colCount)
        ShrinkColumns(cols);
    else
        result = GrowColumns(cols) ? TRUE : FALSE;
    AfterCountChange();
    return result;
}

void CZellGrid::ResetColourSet(int row, int col)
{
    SetCellTextColour(row, col, CLR_DEFAULT);
    SetCellBackColour(row, col, CLR_DEFAULT);
}

BOOL CZellGrid::SetFixedRowTotal(int fixedRows)
{
    if (fixedRows == m_fixedRows)
        return TRUE;
    if (fixedRows < 0)
        return FALSE;
    ClearSelection();
    m_topLeftCache = CCellID();
    if (fixedRows > m_rowCount && !SetRowTotal(fixedRows))
        return FALSE;
    if (m_focusCell.row < fixedRows)
        SetFocusCell(-1, -1);
    if (!m_virtualMode) {
        for (int row = std::min(fixedRows, m_fixedRows); row < std::max(fixedRows, m_fixedRows); ++row) {
            const bool becomesFixed = row < fixedRows;
            for (int col = 0; col < m_colCount; ++col) {
                CGridCellBase* cell = GetCellAt(row, col);
                if (cell == nullptr)
                    continue;
                DWORD state = cell->GetState();
                if (becomesFixed)
                    state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
                else
                    state &= col < m_fixedCols ? ~GRIDSTATE_FIXEDROW : ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW);
                cell->SetState(state);
                ResetColourSet(row, col);
            }
        }
    }
    m_fixedRows = fixedRows;
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
    return TRUE;
}

BOOL CZellGrid::SetFixedColumnTotal(int fixedCols)
{
    if (fixedCols == m_fixedCols)
        return TRUE;
    if (fixedCols < 0)
        return FALSE;
    ClearSelection();
    m_topLeftCache = CCellID();
    if (fixedCols > m_colCount && !SetColumnTotal(fixedCols))
        return FALSE;
    if (m_focusCell.col < fixedCols)
        SetFocusCell(-1, -1);
    if (!m_virtualMode) {
        for (int col = std::min(fixedCols, m_fixedCols); col < std::max(fixedCols, m_fixedCols); ++col) {
            const bool becomesFixed = col < fixedCols;
            for (int row = 0; row < m_rowCount; ++row) {
                CGridCellBase* cell = GetCellAt(row, col);
                if (cell == nullptr)
                    continue;
                DWORD state = cell->GetState();
                if (becomesFixed)
                    state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
                else
                    state &= row < m_fixedRows ? ~GRIDSTATE_FIXEDCOL : ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL);
                cell->SetState(state);
                ResetColourSet(row, col);
            }
        }
    }
    m_fixedCols = fixedCols;
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
    return TRUE;
}

int CZellGrid::GetRowHeight(int row) const
{
    if (row < 0 || row >= m_rowCount || row >= static_cast<int>(m_rowHeights.size()))
        return -1;
    return m_rowHeights[row];
}

int CZellGrid::GetColumnWidth(int col) const
{
    if (col < 0 || col >= m_colCount || col >= static_cast<int>(m_colWidths.size()))
        return -1;
    return m_colWidths[col];
}

BOOL CZellGrid::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rowCount || height < 0)
        return FALSE;
    m_rowHeights[row] = height;
    ResetScrollBars();
    return TRUE;
}

BOOL CZellGrid::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_colCount || width < 0)
        return FALSE;
    m_colWidths[col] = width;
    ResetScrollBars();
    return TRUE;
}

// --- cell setters and getters ---------------------------------------------------

BOOL CZellGrid::SetCellText(int row, int col, LPCWSTR text)
{
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    cell->SetText(text);
    MarkModified(TRUE, row, col);
    return TRUE;
}

CString CZellGrid::LoadFormat(UINT id)
{
    return ZellLoadString(AfxGetResourceHandle(), id);
}

BOOL CZellGrid::SetCellUserValue(int row, int col, LPARAM value)
{
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    cell->SetUserValue(value);
    MarkModified(TRUE, row, col);
    return TRUE;
}

BOOL CZellGrid::SetCellImage(int row, int col, int image)
{
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    cell->SetImage(image);
    MarkModified(TRUE, row, col);
    return TRUE;
}

#define ZELL_GRID_CELL_SETTER(Name, Type, Call)                          \
    BOOL CZellGrid::Name(int row, int col, Type value)                   \
    {                                                                    \
        CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col); \
        if (cell == nullptr)                                             \
            return FALSE;                                                \
        cell->Call(value);                                               \
        return TRUE;                                                     \
    }
ZELL_GRID_CELL_SETTER(SetCellFormat, DWORD, SetFormat)
ZELL_GRID_CELL_SETTER(SetCellTextColour, COLORREF, SetTextColour)
ZELL_GRID_CELL_SETTER(SetCellBackColour, COLORREF, SetBackColour)
ZELL_GRID_CELL_SETTER(SetCellFont, const LOGFONTW*, SetFont)
ZELL_GRID_CELL_SETTER(SetCellMargin, UINT, SetMargin)
#undef ZELL_GRID_CELL_SETTER

BOOL CZellGrid::SetCellState(int row, int col, UINT state)
{
    if (!IsValid(row, col))
        return FALSE;
    const DWORD key = CellKey(row, col);
    if (state & GRIDSTATE_SELECTED)
        m_selected.try_emplace(key, CCellID(row, col));
    else
        m_selected.erase(key);
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    cell->SetState(state);
    return TRUE;
}

BOOL CZellGrid::SetCellReadOnly(int row, int col, BOOL readOnly)
{
    const CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col);
    if (cell == nullptr)
        return FALSE;
    const DWORD state = cell->GetState();
    return SetCellState(row, col, readOnly ? state | GRIDSTATE_READONLY : state & ~GRIDSTATE_READONLY);
}

CString CZellGrid::GetCellText(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? CString(cell->GetText()) : CString();
}

LPARAM CZellGrid::GetCellUserValue(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetUserValue() : 0;
}

int CZellGrid::GetCellImage(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetImage() : -1;
}

UINT CZellGrid::GetCellState(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetState() : 0;
}

DWORD CZellGrid::GetCellFormat(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetFormat() : 0;
}

COLORREF CZellGrid::GetCellTextColour(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetTextColour() : CLR_DEFAULT;
}

COLORREF CZellGrid::GetCellBackColour(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetBackColour() : CLR_DEFAULT;
}

UINT CZellGrid::GetCellMargin(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr ? cell->GetMargin() : 0;
}

const LOGFONTW* CZellGrid::GetCellFont(int row, int col) const
{
    const CGridCellBase* cell = GetCellAt(row, col);
    if (cell != nullptr)
        return cell->GetFont();
    return GetDefaultCell(row >= 0 && row < m_fixedRows, col >= 0 && col < m_fixedCols)->GetFont();
}

BOOL CZellGrid::IsCellEditable(int row, int col) const
{
    return m_editing && IsValid(row, col) && (GetCellState(row, col) & GRIDSTATE_READONLY) == 0;
}

BOOL CZellGrid::GetItem(GRIDITEM* item) const
{
    const CGridCellBase* cell = item != nullptr ? GetCellAt(item->row, item->col) : nullptr;
    if (cell == nullptr)
        return FALSE;
    if (item->mask & GRIDIF_TEXT)
        item->text = cell->GetText();
    if (item->mask & GRIDIF_IMAGE)
        item->image = cell->GetImage();
    if (item->mask & GRIDIF_PARAM)
        item->userValue = cell->GetUserValue();
    if (item->mask & GRIDIF_STATE)
        item->state = cell->GetState();
    if (item->mask & GRIDIF_BKCLR)
        item->backColour = cell->GetBackColour();
    if (item->mask & GRIDIF_FGCLR)
        item->textColour = cell->GetTextColour();
    if (item->mask & GRIDIF_FORMAT)
        item->format = cell->GetFormat();
    if ((item->mask & GRIDIF_FONT) && cell->GetFont() != nullptr)
        item->font = *cell->GetFont();
    if (item->mask & GRIDIF_MARGIN)
        item->margin = cell->GetMargin();
    return TRUE;
}

BOOL CZellGrid::SetItem(const GRIDITEM* item)
{
    CGridCellBase* cell = item == nullptr || m_virtualMode ? nullptr : GetCellAt(item->row, item->col);
    if (cell == nullptr)
        return FALSE;
    MarkModified(TRUE, item->row, item->col);
    if (item->mask & GRIDIF_TEXT)
        cell->SetText(item->text);
    if (item->mask & GRIDIF_IMAGE)
        cell->SetImage(item->image);
    if (item->mask & GRIDIF_PARAM)
        cell->SetUserValue(item->userValue);
    if (item->mask & GRIDIF_STATE)
        SetCellState(item->row, item->col, item->state);
    if (item->mask & GRIDIF_BKCLR)
        cell->SetBackColour(item->backColour);
    if (item->mask & GRIDIF_FGCLR)
        cell->SetTextColour(item->textColour);
    if (item->mask & GRIDIF_FORMAT)
        cell->SetFormat(item->format);
    if (item->mask & GRIDIF_FONT)
        cell->SetFont(&item->font);
    if (item->mask & GRIDIF_MARGIN)
        cell->SetMargin(item->margin);
    return TRUE;
}

template<typename Setter> BOOL CZellGrid::ForRow(int row, BOOL includeFixed, Setter setter)
{
    BOOL result = FALSE;
    for (int col = includeFixed ? 0 : m_fixedCols; col < m_colCount; ++col)
        if (includeFixed || !IsCellFixed(row, col))
            result = setter(row, col);
    return result;
}

template<typename Setter> BOOL CZellGrid::ForColumn(int col, BOOL includeFixed, Setter setter)
{
    BOOL result = FALSE;
    for (int row = includeFixed ? 0 : m_fixedRows; row < m_rowCount; ++row)
        if (includeFixed || !IsCellFixed(row, col))
            result = setter(row, col);
    return result;
}

BOOL CZellGrid::SetRowTextColour(int row, COLORREF colour, BOOL includeFixed)
{
    return ForRow(row, includeFixed, [&](int r, int c) { return SetCellTextColour(r, c, colour); });
}

BOOL CZellGrid::SetRowBackColour(int row, COLORREF colour, BOOL includeFixed)
{
    return ForRow(row, includeFixed, [&](int r, int c) { return SetCellBackColour(r, c, colour); });
}

BOOL CZellGrid::SetRowFormat(int row, DWORD format, BOOL includeFixed)
{
    return ForRow(row, includeFixed, [&](int r, int c) { return SetCellFormat(r, c, format); });
}

BOOL CZellGrid::SetRowFont(int row, const LOGFONTW* font, BOOL includeFixed)
{
    return ForRow(row, includeFixed, [&](int r, int c) { return SetCellFont(r, c, font); });
}

BOOL CZellGrid::SetColumnBackColour(int col, COLORREF colour, BOOL includeFixed)
{
    return ForColumn(col, includeFixed, [&](int r, int c) { return SetCellBackColour(r, c, colour); });
}

BOOL CZellGrid::SetColumnFormat(int col, DWORD format, BOOL includeFixed)
{
    return ForColumn(col, includeFixed, [&](int r, int c) { return SetCellFormat(r, c, format); });
}

BOOL CZellGrid::SetColumnFont(int col, const LOGFONTW* font, BOOL includeFixed)
{
    return ForColumn(col, includeFixed, [&](int r, int c) { return SetCellFont(r, c, font); });
}

BOOL CZellGrid::EnableRowCells(int row, BOOL enable, BOOL includeFixed)
{
    return ForRow(row, includeFixed, [&](int r, int c) {
        SetCellTextColour(r, c, enable ? m_sysWindowText : ::GetSysColor(COLOR_GRAYTEXT));
        SetCellReadOnly(r, c, !enable);
        return RedrawCell(r, c);
    });
}

BOOL CZellGrid::SetDefaultCellClass(const CRuntimeClass* cellClass)
{
    if (cellClass == nullptr || !cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return FALSE;
    m_cellClass = cellClass;
    return TRUE;
}

BOOL CZellGrid::ReplaceCellClass(int row, int col, const CRuntimeClass* cellClass)
{
    if (m_virtualMode || !IsValid(row, col) || cellClass == nullptr ||
        !cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return FALSE;
    auto* replacement = static_cast<CGridCellBase*>(cellClass->CreateObject());
    if (replacement == nullptr)
        return FALSE;
    CGridCellBase*& slot = m_cells[row][col];
    if (slot != nullptr)
        replacement->CopyFrom(*slot);
    else
        replacement->SetGrid(this);
    replacement->SetPosition(row, col);
    delete slot;
    slot = replacement;
    return TRUE;
}

// --- rows and columns --------------------------------------------------------

int CZellGrid::InsertColumn(LPCWSTR heading, DWORD format, int col)
{
    if (col >= 0 && (col < m_fixedCols || col > m_colCount))
        return -1;
    DeselectAll();
    m_topLeftCache = CCellID();
    if (m_rowCount < 1 && !SetRowTotal(1))
        return -1;
    if (col < 0 || col == m_colCount)
        col = m_colCount;
    bool widthAdded = false;
    bool slotsAdded = false;
    try {
        m_colWidths.insert(m_colWidths.begin() + col, 0);
        widthAdded = true;
        if (!m_virtualMode) {
            for (CellRow& cells : m_cells)
                cells.reserve(cells.size() + 1);
            for (CellRow& cells : m_cells)
                cells.insert(cells.begin() + col, nullptr);
            slotsAdded = true;
            ++m_colCount;
            for (int row = 0; row < m_rowCount; ++row)
                if ((m_cells[row][col] = CreateCell(row, col)) == nullptr)
                    throw std::bad_alloc();
        } else {
            ++m_colCount;
        }
    } catch (const std::bad_alloc&) {
        if (slotsAdded) {
            for (CellRow& cells : m_cells) {
                delete cells[col];
                cells.erase(cells.begin() + col);
            }
            --m_colCount;
        }
        if (widthAdded)
            m_colWidths.erase(m_colWidths.begin() + col);
        return -1;
    }
    SetCellText(0, col, heading);
    for (int row = 0; row < m_rowCount; ++row)
        SetCellFormat(row, col, format);
    if (CGridCellBase* cell = GetCellAt(0, col))
        m_colWidths[col] = cell->GetTextExtent(heading).cx;
    else
        m_colWidths[col] = m_defaultFixedCol.GetDefaultWidth();
    if (m_focusCell.col >= col && m_focusCell.IsValid())
        m_focusCell.col++;
    ResetScrollBars();
    MarkModified(TRUE);
    return col;
}

int CZellGrid::InsertRow(LPCWSTR heading, int row)
{
    if (row >= 0 && (row < m_fixedRows || row >= m_rowCount))
        return -1;
    DeselectAll();
    m_topLeftCache = CCellID();
    if (m_colCount < 1 && !SetColumnTotal(1))
        return -1;
    if (row < 0)
        row = m_rowCount;
    bool heightAdded = false;
    bool rowAdded = false;
    try {
        m_rowHeights.insert(m_rowHeights.begin() + row, 0);
        heightAdded = true;
        if (!m_virtualMode) {
            m_cells.insert(m_cells.begin() + row, CellRow(static_cast<std::size_t>(m_colCount), nullptr));
            rowAdded = true;
            ++m_rowCount;
            for (int col = 0; col < m_colCount; ++col)
                if ((m_cells[row][col] = CreateCell(row, col)) == nullptr)
                    throw std::bad_alloc();
        } else {
            ++m_rowCount;
        }
    } catch (const std::bad_alloc&) {
        if (rowAdded) {
            for (CGridCellBase* cell : m_cells[row])
                delete cell;
            m_cells.erase(m_cells.begin() + row);
            --m_rowCount;
        }
        if (heightAdded)
            m_rowHeights.erase(m_rowHeights.begin() + row);
        return -1;
    }
    SetCellText(row, 0, heading);
    const CGridCellBase* cell = GetCellAt(row, 0);
    if (heading != nullptr && *heading != L'\0' && cell != nullptr)
        m_rowHeights[row] = const_cast<CGridCellBase*>(cell)->GetTextExtent(heading).cy;
    else
        m_rowHeights[row] = m_defaultFixedRow.GetDefaultHeight();
    if (m_focusCell.row >= row && m_focusCell.IsValid())
        m_focusCell.row++;
    ResetScrollBars();
    MarkModified(TRUE);
    return row;
}

BOOL CZellGrid::DeleteColumn(int col)
{
    if (col < 0 || col >= m_colCount)
        return FALSE;
    DeselectAll();
    for (int row = 0; row < static_cast<int>(m_cells.size()); ++row) {
        DestroyCell(row, col);
        m_cells[row].erase(m_cells[row].begin() + col);
    }
    m_colWidths.erase(m_colWidths.begin() + col);
    --m_colCount;
    if (col < m_fixedCols)
        --m_fixedCols;
    if (col == m_focusCell.col)
        m_focusCell = CCellID();
    else if (col < m_focusCell.col)
        m_focusCell.col--;
    m_topLeftCache = CCellID();
    ResetScrollBars();
    MarkModified(TRUE);
    return TRUE;
}

BOOL CZellGrid::DeleteRow(int row)
{
    if (row < 0 || row >= m_rowCount)
        return FALSE;
    if (!m_virtualMode && row >= static_cast<int>(m_cells.size()))
        return FALSE;
    DeselectAll();
    if (!m_virtualMode) {
        for (int col = 0; col < m_colCount; ++col)
            DestroyCell(row, col);
        m_cells.erase(m_cells.begin() + row);
    }
    m_rowHeights.erase(m_rowHeights.begin() + row);
    --m_rowCount;
    if (row < m_fixedRows)
        --m_fixedRows;
    if (row == m_focusCell.row)
        m_focusCell = CCellID();
    else if (row < m_focusCell.row)
        m_focusCell.row--;
    m_topLeftCache = CCellID();
    ResetScrollBars();
    MarkModified(TRUE);
    return TRUE;
}

BOOL CZellGrid::DeleteNonFixedRows()
{
    for (int row = m_rowCount - 1; row >= m_fixedRows; --row)
        DeleteRow(row);
    return TRUE;
}

BOOL CZellGrid::RemoveAllCells()
{
    ClearSelection();
    m_rowHeights.clear();
    m_colWidths.clear();
    for (int row = 0; row < static_cast<int>(m_cells.size()); ++row)
        for (int col = 0; col < static_cast<int>(m_cells[row].size()); ++col)
            DestroyCell(row, col);
    m_cells.clear();
    m_focusCell = CCellID();
    m_rowCount = m_colCount = m_fixedRows = m_fixedCols = 0;
    m_topLeftCache = CCellID();
    ResetScrollBars();
    MarkModified(TRUE);
    return TRUE;
}

CCellID CZellGrid::FindNextCell(CCellID from, UINT flags) const
{
    // The search's "modified" flag stands for the cell's modified bit.
    UINT wanted = flags & 0x1F;
    if (flags & GRIDNI_MODIFIED)
        wanted |= GRIDSTATE_MODIFIED;
    const auto matches = [&](int row, int col) { return (GetCellState(row, col) & wanted) != 0; };
    if (!IsValid(from) && !((flags & GRIDNI_BELOW) && (flags & GRIDNI_TORIGHT)))
        return {};
    if ((flags & GRIDNI_BELOW) && (flags & GRIDNI_TORIGHT)) {
        int row = from.row < 1 ? m_fixedRows : from.row;
        int col = from.row < 1 ? m_fixedCols : from.col + 1;
        for (; row < m_rowCount; ++row, col = m_fixedCols)
            for (; col < m_colCount; ++col)
                if (matches(row, col))
                    return {row, col};
        return {};
    }
    if (flags & GRIDNI_ABOVE) {
        for (int row = from.row - 1; row >= m_fixedRows; --row)
            if (matches(row, from.col))
                return {row, from.col};
    } else if (flags & GRIDNI_BELOW) {
        for (int row = from.row + 1; row < m_rowCount; ++row)
            if (matches(row, from.col))
                return {row, from.col};
    } else if (flags & GRIDNI_TOLEFT) {
        for (int col = from.col - 1; col >= m_fixedCols; --col)
            if (matches(from.row, col))
                return {from.row, col};
    } else if (flags & GRIDNI_TORIGHT) {
        for (int col = from.col + 1; col < m_colCount; ++col)
            if (matches(from.row, col))
                return {from.row, col};
    }
    return {};
}

}  // namespace ZELL::Grid
