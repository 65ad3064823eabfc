#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include "Common/PelorusDLL/PelorusErrorHandler.h"
#include "Platform/Gdi/SysColors.h"

using namespace ZELL::Grid;

BEGIN_MESSAGE_MAP(CGridPageBase, CCouplerSettingsPageBase)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CGridPageBase::CGridPageBase() { CZellGrid::RegisterWindowClass(); }

CGridPageBase::CGridPageBase(UINT templateId, UINT captionId) : CCouplerSettingsPageBase(templateId, captionId)
{
    CZellGrid::RegisterWindowClass();
}

CGridPageBase::CGridPageBase(LPCWSTR templateName, UINT captionId) : CCouplerSettingsPageBase(templateName, captionId)
{
    CZellGrid::RegisterWindowClass();
}

void CGridPageBase::OnSize(UINT type, int cx, int cy)
{
    CCouplerSettingsPageBase::OnSize(type, cx, cy);
    FitGridToPage();
}

void CGridPageBase::FitGridToPage()
{
    if (m_grid.GetSafeHwnd() == nullptr)
        return;
    CRect page;
    GetClientRect(page);
    CRect grid;
    m_grid.GetWindowRect(grid);
    ScreenToClient(grid);
    const int margin = grid.left;
    bool below = false;
    for (CWnd* control = GetWindow(GW_CHILD); control != nullptr; control = control->GetWindow(GW_HWNDNEXT)) {
        CRect bounds;
        control->GetWindowRect(bounds);
        ScreenToClient(bounds);
        below = below || (control->m_hWnd != m_grid.m_hWnd && bounds.top >= grid.bottom);
    }
    const int width = page.right - margin - grid.left;
    const int height = below ? grid.Height() : page.bottom - margin - grid.top;
    if (width <= 0 || height <= 0 || (width == grid.Width() && height == grid.Height()))
        return;
    m_grid.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_gridSetUp && m_grid.GetColumnCount() > 0)
        m_grid.StretchLastColumn();
}

void CGridPageBase::SetUpGrid(int rows, int columns, int fixedRows, int fixedColumns)
{
    m_grid.RemoveAllCells();
    if (columns >= fixedColumns)
        m_grid.SetFixedColumnTotal(fixedColumns);
    if (rows >= fixedRows)
        m_grid.SetFixedRowTotal(fixedRows);
    m_grid.SetColumnTotal(columns);
    m_grid.SetRowTotal(rows);
    m_grid.SetTrackFocusCell(FALSE);
    m_grid.SetFrameFocusCell(FALSE);
    m_grid.EnableEditing(FALSE);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (BOOL fixedRow : {FALSE, TRUE})
        for (BOOL fixedColumn : {FALSE, TRUE})
            if (fixedRow || fixedColumn)
                m_grid.GetDefaultCell(fixedRow, fixedColumn)->SetBackColour(face);
    m_grid.SetGridLineColour(face);
    m_grid.SetGridBackColour(RGB(255, 255, 255));
    m_grid.SetHighlightColours(kSelectedBack, kSelectedText, static_cast<COLORREF>(-1), static_cast<COLORREF>(-1));
    if (m_grid.GetSafeHwnd())
        m_grid.SetFont(&GetPageFont());
    m_grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(RGB(255, 255, 255));
    m_grid.EnableRowResize(FALSE);
    m_grid.EnableColumnResize(FALSE);
    m_grid.SetHeaderSort(FALSE);
    m_grid.EnableSelection(FALSE);
    m_gridSetUp = true;
}

void CGridPageBase::RedrawGrid(bool stretch)
{
    m_grid.FitAllColumnWidths();
    m_grid.FitAllRowHeights();
    if (stretch)
        m_grid.StretchLastColumn();
    if (m_grid.GetSafeHwnd())
        m_grid.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CGridPageBase::ShowGridState(int state, LPCWSTR text)
{
    SetUpGrid(1, 3, 0, 1);
    InitGridRow(0, true);
    CString shown = text ? text : L"";
    if (shown.IsEmpty()) {
        if (state == kRowIdentifying)
            shown = Text(L"STATE_GRID_IDENTIFY");
        else if (state == kRowReading)
            shown = Text(L"STATE_GRID_READ");
        else if (state == kRowError)
            shown = LastCommunicationErrorText();
    }
    FillGrid(0, L"", shown, state);
    RedrawGrid(true);
}

void CGridPageBase::ShowGridStateById(int state, UINT stringId)
{
    const CString text = LoadResourceString(stringId);
    ShowGridState(state, text);
}

void CGridPageBase::InitGridRow(int row, bool readOnlyValue)
{
    if (row < 0)
        return;
    if (m_grid.GetRowCount() < row + 1)
        m_grid.SetRowTotal(row + 1);
    m_grid.SetCellUserValue(row, 0, 0);
    m_grid.SetCellImage(row, 0, kImageNormal);
    m_grid.SetCellBackColour(row, 0, ::GetSysColor(COLOR_BTNFACE));
    m_grid.SetCellReadOnly(row, 0);
    m_grid.SetCellFormat(row, 1, kValueFormat);
    m_grid.SetCellReadOnly(row, 1);
    if (m_grid.GetColumnCount() >= 3)
        m_grid.SetCellReadOnly(row, 2, readOnlyValue ? TRUE : FALSE);
}

void CGridPageBase::ResetRowImage(int row) { SetRowImage(row, kImageNormal); }

void CGridPageBase::SetRowImage(int row, int image)
{
    m_grid.SetCellImage(row, 0, image);
    if (m_grid.GetSafeHwnd())
        m_grid.RedrawCell(row, 0);
}

int CGridPageBase::ImageOfState(int state)
{
    switch (state) {
    case kRowError: return kImageError;
    case kRowReading:
    case kRowIdentifying: return kImageBusy;
    case kRowMarked: return kImageMarked;
    default: return kImageNormal;
    }
}

void CGridPageBase::FillGrid(int row, LPCWSTR name, LPCWSTR value, int state)
{
    m_grid.SetCellText(row, 1, name);
    m_grid.SetCellText(row, 2, value);
    const bool named = name != nullptr && name[0] != L'\0';
    const bool faced = state == kRowReading || state == kRowIdentifying || state == kRowMarked ||
                       (state == kRowError && !named);
    m_grid.SetCellBackColour(row, 1, faced ? ::GetSysColor(COLOR_BTNFACE) : CLR_DEFAULT);
    const COLORREF text = state == kRowError ? kErrorTextColour : CLR_DEFAULT;
    m_grid.SetCellTextColour(row, 2, text);
    if (named)
        m_grid.SetCellTextColour(row, 1, text);
    m_grid.SetCellImage(row, 0, ImageOfState(state));
    if (m_grid.GetSafeHwnd())
        m_grid.RedrawRow(row);
}

CString CGridPageBase::LastCommunicationErrorText() const
{
    tErrorMessage message;
    CPelorusErrorHandler().Evaluate(&message);
    return message.strText;
}
