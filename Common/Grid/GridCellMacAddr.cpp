#include "Common/Grid/GridCellMacAddr.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCellMacAddr, CGridCell)

void CGridCellMacAddr::SetMacText(LPCWSTR text)
{
    m_mac = text != nullptr ? text : L"";
    SetText(m_mac);
}

void CGridCellMacAddr::EndEdit()
{
    m_mac = m_text;
    CGridCellMasked::EndEdit();
}

void CGridCellMacAddr::OnEndEdit()
{
    CGridCellMasked::OnEndEdit();
    // The grid has taken (or refused) the edited text by now.
    m_mac = m_text;
}

}  // namespace ZELL::Grid
