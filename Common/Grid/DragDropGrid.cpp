#include "Common/Grid/DragDropGrid.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CDragDropGrid, CZellGrid)

bool CDragDropGrid::AcceptsDropAt(CPoint point) const
{
    const CCellID cell = GetCellFromPoint(point);
    return IsValid(cell) && cell.row > 0 && cell.col == m_dropColumn;
}

DROPEFFECT CDragDropGrid::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point)
{
    return AcceptsDropAt(point) ? CZellGrid::OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CDragDropGrid::OnDragOver(COleDataObject* data, DWORD keyState, CPoint point)
{
    if (AcceptsDropAt(point))
        return CZellGrid::OnDragOver(data, keyState, point);
    // The highlight stays with the last cell that would take the drop no longer.
    OnDragLeave();
    return DROPEFFECT_NONE;
}

}  // namespace ZELL::Grid
