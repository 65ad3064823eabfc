#include "Common/Grid/GridCellIpAddr.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCellIpAddr, CGridCell)

void CGridCellIpAddr::SetAddress(int b1, int b2, int b3, int b4)
{
    m_address.Format(L"%d.%d.%d.%d", b1 & 0xFF, b2 & 0xFF, b3 & 0xFF, b4 & 0xFF);
    SetText(m_address);
}

}  // namespace ZELL::Grid
