#include "Common/Grid/GridCellCaption.h"

#include "Common/Grid/ZellGrid.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCellCaption, CGridCell)

CRect CGridCellCaption::SpanOf(int col, CRect rect) const
{
    if (m_grid == nullptr || m_grid->GetSafeHwnd() == nullptr)
        return rect;
    CRect client;
    m_grid->GetClientRect(client);
    rect.right = rect.left + client.Width() - 1;
    if (col != 0)
        rect.left = rect.right;
    return rect;
}

BOOL CGridCellCaption::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground)
{
    return CGridCell::Draw(dc, row, col, SpanOf(col, rect), eraseBackground);
}

BOOL CGridCellCaption::PrintCell(CDC* dc, int row, int col, CRect rect)
{
    return CGridCell::Draw(dc, row, col, SpanOf(col, rect), TRUE);
}

}  // namespace ZELL::Grid
