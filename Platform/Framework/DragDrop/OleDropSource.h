#pragma once
// The source's side of a drag that a data source runs: when it starts (the
// pointer leaves the start rectangle), when it drops (the button that
// started it goes up), when it is cancelled (Esc or the other button) and
// which cursor shows. Derived classes change any of that.

#include "Platform/Framework/Core/CmdTarget.h"
#include "Platform/Framework/Geometry/Rect.h"
#include "Platform/Shell/DropSource.h"

#include <memory>

class CWnd;

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override;

    // S_OK to go on, DRAGDROP_S_DROP or DRAGDROP_S_CANCEL.
    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    // DRAGDROP_S_USEDEFAULTCURSORS: the drag's own cursors.
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Waits until the pointer leaves m_rectStartDrag with the button held:
    // TRUE when the drag is to start.
    virtual BOOL OnBeginDrag(CWnd* wnd);

    // The source as the drag loop calls it.
    IDropSource* GetDropSource() const { return m_pSite.get(); }

    CRect m_rectStartDrag;   // screen coordinates; empty: round the press
    BOOL m_bDragStarted = FALSE;
    DWORD m_dwButtonDrop = MK_LBUTTON;
    DWORD m_dwButtonCancel = MK_RBUTTON;

private:
    std::unique_ptr<IDropSource> m_pSite;
};
