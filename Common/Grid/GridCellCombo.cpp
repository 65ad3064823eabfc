#include "Common/Grid/GridCellCombo.h"

#include "Common/Skin/Support/ThemeHelper.h"
#include "Common/Grid/InPlaceList.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Drawing/DC.h"

#include <algorithm>

using namespace ZELL::Skin;

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

void CGridCellCombo::SetOptionTexts(const std::vector<CString>& texts, BOOL showButton)
{
    m_showButton = showButton;
    m_options = texts;
}

bool CGridCellCombo::ButtonRect(const CRect& cell, CRect& button) const
{
    const int size = ::GetSystemMetrics(SM_CYHSCROLL);
    if (cell.Width() <= size || cell.Height() <= size)
        return false;
    button = CRect(cell.right - ::GetSystemMetrics(SM_CXVSCROLL) - 3, cell.top, cell.right - 1, cell.top + size + 4);
    button.bottom = std::min(button.bottom, static_cast<int>(cell.bottom));
    return true;
}

void CGridCellCombo::DrawButton(CDC* dc, CRect button)
{
    CThemeHelper themes;
    if (themes.IsAppThemed()) {
        if (HTHEME theme = themes.OpenThemeData(m_grid->GetSafeHwnd(), L"Combobox")) {
            const HRESULT drawn = themes.DrawThemeBackground(theme, nullptr, dc->GetSafeHdc(), 1, 1, button, nullptr);
            themes.CloseThemeData(theme);
            if (SUCCEEDED(drawn))
                return;
        }
    }
    dc->DrawFrameControl(button, DFC_SCROLL, DFCS_SCROLLDOWN);
}

BOOL CGridCellCombo::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground)
{
    CRect button;
    if (m_showButton && m_grid != nullptr && m_grid->GetFocusCell() == CCellID(row, col) && !m_editing &&
        m_grid->IsCellVisible(row, col) && ButtonRect(rect, button)) {
        const BOOL drawn = CGridCell::Draw(dc, row, col, CRect(rect.left, rect.top, button.left - 1, rect.bottom),
                                           eraseBackground);
        DrawButton(dc, button);
        return drawn;
    }
    if (!m_editing)
        return CGridCell::Draw(dc, row, col, rect, eraseBackground);
    // While the box lies over the cell, the cell's text stays under it unseen.
    const CString text = m_text;
    m_text.Empty();
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBackground);
    m_text = text;
    return drawn;
}

CSize CGridCellCombo::GetCellExtent(CDC* dc)
{
    CSize size = CGridCell::GetCellExtent(dc);
    size.cx += ::GetSystemMetrics(SM_CXVSCROLL);
    size.cy = std::max(static_cast<int>(size.cy), ::GetSystemMetrics(SM_CYHSCROLL));
    return size;
}

BOOL CGridCellCombo::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar)
{
    if (m_editing) {
        if (m_editWindow != nullptr)
            m_editWindow->SendMessage(WM_CHAR, firstChar);
        return TRUE;
    }
    m_editing = TRUE;
    m_editWindow = CInPlaceList::Start(m_grid, rect, m_comboStyle, id, row, col, m_options, GetText(), firstChar);
    if (m_editWindow == nullptr)
        m_editing = FALSE;
    return m_editing;
}

void CGridCellCombo::EndEdit()
{
    if (auto* list = dynamic_cast<CInPlaceList*>(m_editWindow))
        list->EndEdit();
}

void CGridCellCombo::OnClick(CPoint)
{
    if (m_grid == nullptr)
        return;
    const CCellID focus = m_grid->GetFocusCell();
    if (m_grid->GetCellAt(focus.row, focus.col) == this)
        m_grid->OnEditCell(focus.row, focus.col, CPoint(-1, -1), VK_LBUTTON);
}

}  // namespace ZELL::Grid
