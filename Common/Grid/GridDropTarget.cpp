#include "Common/Grid/GridDropTarget.h"

#include "Common/Grid/ZellGrid.h"

namespace ZELL::Grid {

BOOL CGridDropTarget::Register(CZellGrid* grid)
{
    if (m_registered || grid == nullptr || !grid->IsKindOf(RUNTIME_CLASS(CZellGrid)))
        return m_registered;
    m_grid = grid;
    m_registered = COleDropTarget::Register(grid);
    return m_registered;
}

void CGridDropTarget::Revoke()
{
    m_registered = FALSE;
    COleDropTarget::Revoke();
}

bool CGridDropTarget::IsOurs(const CWnd* wnd) const
{
    return m_grid != nullptr && wnd != nullptr && wnd->GetSafeHwnd() == m_grid->GetSafeHwnd();
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return IsOurs(wnd) ? m_grid->OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return IsOurs(wnd) ? m_grid->OnDragOver(data, keyState, point) : DROPEFFECT_NONE;
}

BOOL CGridDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    return IsOurs(wnd) ? m_grid->OnDrop(data, effect, point) : FALSE;
}

void CGridDropTarget::OnDragLeave(CWnd* wnd)
{
    if (IsOurs(wnd))
        m_grid->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint)
{
    if (!IsOurs(wnd))
        return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

}  // namespace ZELL::Grid
