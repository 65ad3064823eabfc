#pragma once
// The drop target of a grid window: the drag loop's calls reach the grid's
// own drag operations, and only for the grid's own window.
#include "Platform/Framework/DragDrop/OleDropTarget.h"

namespace ZELL::Grid {

class CZellGrid;

class CGridDropTarget : public COleDropTarget {
public:
    CGridDropTarget() = default;
    ~CGridDropTarget() override = default;

    // Registers for the grid's window once; TRUE when registered.
    BOOL Register(CZellGrid* grid);
    void Revoke() override;
    BOOL IsRegistered() const { return m_registered; }

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;

private:
    bool IsOurs(const CWnd* wnd) const;

    CZellGrid* m_grid = nullptr;
    BOOL m_registered = FALSE;
};

}  // namespace ZELL::Grid
