#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include "Common/PelorusDLL/PelorusErrorHandler.h"
#include "Platform/Gdi/SysColors.h"

namespace Corvane {

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
    if (m_Grid.GetSafeHwnd() == nullptr)
        return;
    CRect page;
    GetClientRect(page);
    CRect grid;
    m_Grid.GetWindowRect(grid);
    ScreenToClient(grid);
    const int margin = grid.left;
    bool below = false;
    for (CWnd* control = GetWindow(GW_CHILD); control != nullptr; control = control->GetWindow(GW_HWNDNEXT)) {
        CRect bounds;
        control->GetWindowRect(bounds);
        ScreenToClient(bounds);
        below = below || (control->m_hWnd != m_Grid.m_hWnd && bounds.top >= grid.bottom);
    }
    const int width = page.right - margin - grid.left;
    const int height = below ? grid.Height() : page.bottom - margin - grid.top;
    if (width <= 0 || height <= 0 || (width == grid.Width() && height == grid.Height()))
        return;
    m_Grid.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_bGridSetUp && m_Grid.GetColumnCount() > 0)
        m_Grid.StretchLastColumn();
}

void CGridPageBase::SetUpGrid(int rows, int columns, int fixedRows, int fixedColumns)
{
    m_Grid.RemoveAllCells();
    if (columns >= fixedColumns)
        m_Grid.SetFixedColumnTotal(fixedColumns);
    if (rows >= fixedRows)
        m_Grid.SetFixedRowTotal(fixedRows);
    m_Grid.SetColumnTotal(columns);
    m_Grid.SetRowTotal(rows);
    m_Grid.SetTrackFocusCell(FALSE);
    m_Grid.SetFrameFocusCell(FALSE);
    m_Grid.EnableEditing(FALSE);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (BOOL fixedRow : {FALSE, TRUE})
        for (BOOL fixedColumn : {FALSE, TRUE})
            if (fixedRow || fixedColumn)
                m_Grid.GetDefaultCell(fixedRow, fixedColumn)->SetBackColour(face);
    m_Grid.SetGridLineColour(face);
    m_Grid.SetGridBackColour(RGB(255, 255, 255));
    m_Grid.SetHighlightColours(kSelectedBack, kSelectedText, static_cast<COLORREF>(-1), static_cast<COLORREF>(-1));
    if (m_Grid.GetSafeHwnd())
        m_Grid.SetFont(&GetPageFont());
    m_Grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(RGB(255, 255, 255));
    m_Grid.EnableRowResize(FALSE);
    m_Grid.EnableColumnResize(FALSE);
    m_Grid.SetHeaderSort(FALSE);
    m_Grid.EnableSelection(FALSE);
    m_bGridSetUp = true;
}

void CGridPageBase::RedrawGrid(bool stretch)
{
    m_Grid.FitAllColumnWidths();
    m_Grid.FitAllRowHeights();
    if (stretch)
        m_Grid.StretchLastColumn();
    if (m_Grid.GetSafeHwnd())
        m_Grid.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
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
    if (m_Grid.GetRowCount() < row + 1)
        m_Grid.SetRowTotal(row + 1);
    m_Grid.SetCellUserValue(row, 0, 0);
    m_Grid.SetCellImage(row, 0, kImageNormal);
    m_Grid.SetCellBackColour(row, 0, ::GetSysColor(COLOR_BTNFACE));
    m_Grid.SetCellReadOnly(row, 0);
    m_Grid.SetCellFormat(row, 1, kValueFormat);
    m_Grid.SetCellReadOnly(row, 1);
    if (m_Grid.GetColumnCount() >= 3)
        m_Grid.SetCellReadOnly(row, 2, readOnlyValue ? TRUE : FALSE);
}

void CGridPageBase::ResetRowImage(int row) { SetRowImage(row, kImageNormal); }

void CGridPageBase::SetRowImage(int row, int image)
{
    m_Grid.SetCellImage(row, 0, image);
    if (m_Grid.GetSafeHwnd())
        m_Grid.RedrawCell(row, 0);
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
    m_Grid.SetCellText(row, 1, name);
    m_Grid.SetCellText(row, 2, value);
    const bool named = name != nullptr && name[0] != L'\0';
    const bool faced = state == kRowReading || state == kRowIdentifying || state == kRowMarked ||
                       (state == kRowError && !named);
    m_Grid.SetCellBackColour(row, 1, faced ? ::GetSysColor(COLOR_BTNFACE) : CLR_DEFAULT);
    const COLORREF text = state == kRowError ? kErrorTextColour : CLR_DEFAULT;
    m_Grid.SetCellTextColour(row, 2, text);
    if (named)
        m_Grid.SetCellTextColour(row, 1, text);
    m_Grid.SetCellImage(row, 0, ImageOfState(state));
    if (m_Grid.GetSafeHwnd())
        m_Grid.RedrawRow(row);
}

CString CGridPageBase::LastCommunicationErrorText() const
{
    tErrorMessage message;
    CPelorusErrorHandler().Evaluate(&message);
    return message.strText;
}

}  // namespace Corvane
