#include "Common/Grid/GridCellButton.h"

#include "Common/Grid/SavedDC.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Drawing/DC.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCellButton, CGridCell)

namespace {
constexpr UINT kCaptionFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CRect CGridCellButton::ButtonRectOf(const CRect& cell)
{
    const int size = ::GetSystemMetrics(SM_CYHSCROLL);
    CRect button = cell;
    if (cell.Width() > size && cell.Height() > size)
        button.left = button.right - ::GetSystemMetrics(SM_CXVSCROLL);
    return button;
}

CRect CGridCellButton::TextRectOf(const CRect& cell)
{
    CRect text = cell;
    text.right = ButtonRectOf(cell).left - 2;
    return text;
}

void CGridCellButton::SetPosition(int row, int col)
{
    m_row = row;
    m_col = col;
}

BOOL CGridCellButton::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground)
{
    if (dc == nullptr)
        return FALSE;
    SetPosition(row, col);
    m_buttonRect = ButtonRectOf(rect);
    {
        CSavedDC saved(dc);
        CRect face = m_buttonRect;
        dc->DrawFrameControl(face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (m_pressed ? DFCS_PUSHED : 0));
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        dc->DrawText(m_buttonText, face, kCaptionFormat);
    }
    const CRect text = TextRectOf(rect);
    if (text.Width() <= 0)
        return TRUE;
    return CGridCell::Draw(dc, row, col, text, eraseBackground);
}

BOOL CGridCellButton::GetTextRect(LPRECT rect)
{
    if (rect == nullptr)
        return FALSE;
    *rect = TextRectOf(*rect);
    return CGridCell::GetTextRect(rect);
}

CSize CGridCellButton::GetCellExtent(CDC* dc)
{
    CSize size = CGridCell::GetCellExtent(dc);
    size.cx += ::GetSystemMetrics(SM_CXVSCROLL);
    size.cy += ::GetSystemMetrics(SM_CYHSCROLL);
    return size;
}

BOOL CGridCellButton::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar)
{
    return CGridCell::Edit(row, col, TextRectOf(rect), point, id, firstChar);
}

void CGridCellButton::OnButtonDown(CPoint point)
{
    const CRect button(0, 0, m_buttonRect.Width(), m_buttonRect.Height());
    if (button.PtInRect(point))
        SetPressed(TRUE);
}

void CGridCellButton::OnClick(CPoint point)
{
    CRect cell;
    if (m_grid != nullptr && m_grid->GetCellRect(m_row, m_col, cell)) {
        CRect button = ButtonRectOf(cell);
        button.OffsetRect(-cell.left, -cell.top);
        if (button.PtInRect(point)) {
            SetPressed(TRUE);
            if (m_notifyWindow != nullptr)
                ::SendMessageW(m_notifyWindow, kButtonClicked, 0, reinterpret_cast<LPARAM>(this));
        }
    }
    m_pressed = FALSE;
    if (m_grid != nullptr && m_grid->IsValid(m_row, m_col))
        m_grid->RedrawCell(m_row, m_col);
}

BOOL CGridCellButton::SetPressed(BOOL pressed)
{
    const BOOL old = m_pressed;
    m_pressed = pressed;
    RedrawButton();
    return old;
}

void CGridCellButton::RedrawButton()
{
    if (m_grid == nullptr || m_grid->GetSafeHwnd() == nullptr || m_buttonRect.IsRectEmpty())
        return;
    m_grid->InvalidateRect(m_buttonRect, FALSE);
    m_grid->UpdateWindow();
}

}  // namespace ZELL::Grid
