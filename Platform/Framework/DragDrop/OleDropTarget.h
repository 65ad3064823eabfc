#pragma once
// A window's drop target as framework object: registered for one window, it
// turns the drag loop's calls into virtual calls with the window, the data,
// the key state (MK_ bits) and the point in the window's client
// coordinates. The defaults take nothing.

#include "Platform/Framework/Core/CmdTarget.h"
#include "Platform/Framework/DragDrop/OleDataObject.h"
#include "Platform/Framework/Geometry/Point.h"
#include "Platform/Shell/DropTarget.h"

#include <memory>

class CWnd;

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;  // revokes

    // FALSE when the window is gone or already has a target.
    BOOL Register(CWnd* wnd);
    virtual void Revoke();

    // The effect a drop would have (DROPEFFECT_NONE: refused).
    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    // TRUE when the data was taken with `dropEffect`.
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point);
    // The effect of the drop, or -1 (the default) to leave it to OnDrop.
    virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                                CPoint point);
    // Asked before each OnDragOver: an effect with DROPEFFECT_SCROLL means
    // the window scrolls and decides the effect here, so OnDragOver is not called.
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

protected:
    HWND m_hWnd = nullptr;  // the registered window

private:
    friend class COleDropTargetSite;

    HRESULT Enter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    HRESULT Over(DWORD keyState, POINTL point, DWORD* effect);
    HRESULT Leave();
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    CPoint ClientPoint(POINTL screen) const;

    std::unique_ptr<IDropTarget> m_pSite;
    COleDataObject m_DataObject;  // the drag's data while one is over the window
    DROPEFFECT m_dwLastEffect = DROPEFFECT_NONE;
};
