#include "Common/Grid/GridCellMasked.h"

#include "Common/Grid/InPlaceMaskedEdit.h"
#include "Common/Grid/ZellGrid.h"

namespace ZELL::Grid {

BOOL CGridCellMasked::Edit(int row, int col, CRect rect, CPoint, UINT id, UINT firstChar)
{
    if (m_editing) {
        if (m_editWindow != nullptr)
            m_editWindow->SendMessage(WM_CHAR, firstChar);
        return TRUE;
    }
    m_editing = TRUE;
    m_editWindow = CInPlaceMaskedEdit::Start(m_grid, rect, id, row, col, GetText(), firstChar, Format());
    if (m_editWindow == nullptr)
        m_editing = FALSE;
    return m_editing;
}

void CGridCellMasked::EndEdit()
{
    if (auto* editor = dynamic_cast<CInPlaceMaskedEdit*>(m_editWindow))
        editor->EndEdit();
}

}  // namespace ZELL::Grid
