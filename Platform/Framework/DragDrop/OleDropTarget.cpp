#include "Platform/Framework/DragDrop/OleDropTarget.h"

#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Shell/DragDrop.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

namespace {

constexpr DROPEFFECT kLeaveToOnDrop = static_cast<DROPEFFECT>(-1);

}

// Passes the drag loop's calls to the framework object.
class COleDropTargetSite : public IDropTarget {
public:
    explicit COleDropTargetSite(COleDropTarget& owner) : m_Owner(owner) {}
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        return m_Owner.Enter(data, keyState, point, effect);
    }
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override { return m_Owner.Over(keyState, point, effect); }
    HRESULT DragLeave() override { return m_Owner.Leave(); }
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        return m_Owner.Drop(data, keyState, point, effect);
    }

private:
    COleDropTarget& m_Owner;
};

COleDropTarget::COleDropTarget() : m_pSite(std::make_unique<COleDropTargetSite>(*this)) {}

COleDropTarget::~COleDropTarget()
{
    // Not the virtual: a derived class is gone by now.
    if (m_hWnd != nullptr)
        RevokeDragDrop(m_hWnd);
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (wnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    if (FAILED(RegisterDragDrop(wnd->GetSafeHwnd(), m_pSite.get())))
        return FALSE;
    m_hWnd = wnd->GetSafeHwnd();
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == nullptr)
        return;
    RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_DataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return kLeaveToOnDrop; }

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

HRESULT COleDropTarget::Enter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    m_DataObject.Attach(data);
    m_dwLastEffect = OnDragEnter(CWnd::FromHandle(m_hWnd), &m_DataObject, keyState, ClientPoint(point));
    *effect = m_dwLastEffect;
    return S_OK;
}

HRESULT COleDropTarget::Over(DWORD keyState, POINTL point, DWORD* effect)
{
    CWnd* wnd = CWnd::FromHandle(m_hWnd);
    const CPoint client = ClientPoint(point);
    DROPEFFECT chosen = OnDragScroll(wnd, keyState, client);
    if ((chosen & DROPEFFECT_SCROLL) == 0)
        chosen = OnDragOver(wnd, &m_DataObject, keyState, client);
    m_dwLastEffect = chosen;
    *effect = chosen;
    return S_OK;
}

HRESULT COleDropTarget::Leave()
{
    OnDragLeave(CWnd::FromHandle(m_hWnd));
    m_DataObject.Release();
    m_dwLastEffect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT COleDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect)
{
    m_DataObject.Attach(data);
    CWnd* wnd = CWnd::FromHandle(m_hWnd);
    const CPoint client = ClientPoint(point);
    const DROPEFFECT dropDefault = m_dwLastEffect & ~DROPEFFECT_SCROLL;
    DROPEFFECT done = OnDropEx(wnd, &m_DataObject, dropDefault, *effect, client);
    if (done == kLeaveToOnDrop)
        done = OnDrop(wnd, &m_DataObject, dropDefault, client) ? dropDefault : DROPEFFECT_NONE;
    *effect = done;
    m_DataObject.Release();
    m_dwLastEffect = DROPEFFECT_NONE;
    return S_OK;
}

CPoint COleDropTarget::ClientPoint(POINTL screen) const
{
    POINT client{screen.x, screen.y};
    ::ScreenToClient(m_hWnd, &client);
    return CPoint(client);
}
