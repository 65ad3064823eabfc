#include "Platform/Framework/DragDrop/OleDropSource.h"

#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Shell/DragDrop.h"

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

namespace {

// Passes the drag loop's questions to the framework object's virtuals.
class CDropSourceSite : public IDropSource {
public:
    explicit CDropSourceSite(COleDropSource& owner) : m_Owner(owner) {}
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        return m_Owner.QueryContinueDrag(escapePressed, keyState);
    }
    HRESULT GiveFeedback(DWORD effect) override { return m_Owner.GiveFeedback(effect); }

private:
    COleDropSource& m_Owner;
};

}

COleDropSource::COleDropSource() : m_pSite(std::make_unique<CDropSourceSite>(*this)) {}

COleDropSource::~COleDropSource() = default;

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed || (keyState & m_dwButtonCancel) != 0)
        return DRAGDROP_S_CANCEL;
    if ((keyState & m_dwButtonDrop) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd*)
{
    // The button held now drops; the other one cancels.
    const bool right = (GetKeyState(VK_RBUTTON) & 0x8000) != 0 && (GetKeyState(VK_LBUTTON) & 0x8000) == 0;
    m_dwButtonDrop = right ? MK_RBUTTON : MK_LBUTTON;
    m_dwButtonCancel = right ? MK_LBUTTON : MK_RBUTTON;
    m_bDragStarted = WaitForDragStart(m_rectStartDrag.IsRectEmpty() ? nullptr : &m_rectStartDrag);
    return m_bDragStarted;
}
