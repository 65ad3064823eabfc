#include "Platform/Shell/DragLoop.h"

#include "Platform/Shell/DragCursor.h"
#include "Platform/Shell/DropTargetRegistry.h"

namespace {

POINTL ToPointL(POINT point) { return POINTL{point.x, point.y}; }

IDropTarget* TargetUnder(POINT screen, HWND* registered)
{
    return CDropTargetRegistry::Get().TargetAt(WindowFromPoint(screen), registered);
}

}

CDragLoop::CDragLoop(IDataObject* data, IDropSource* source, DROPEFFECT allowed)
    : m_data(data), m_source(source), m_allowed(allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK))
{
}

HRESULT CDragLoop::Run(HWND capture, DROPEFFECT* effect)
{
    *effect = DROPEFFECT_NONE;
    m_capture = capture;
    const HCURSOR before = GetCursor();
    if (GetCapture() != capture)
        SetCapture(capture);
    CDragInput input(capture);
    MoveTo(input.Point(), input.KeyState());
    ShowFeedback();
    HRESULT result = Follow(input);
    if (result == DRAGDROP_S_DROP)
        result = DropAt(input.Point(), input.KeyState(), effect);
    else
        LeaveTarget();
    SetCursor(before);  // while the capture says where it shows
    if (GetCapture() == capture)
        ReleaseCapture();
    return result;
}

// Until the source drops or cancels; the capture going elsewhere cancels.
HRESULT CDragLoop::Follow(CDragInput& input)
{
    for (;;) {
        const DragStep step = input.Next();
        if (step.kind == DragStep::Kind::Lost)
            return DRAGDROP_S_CANCEL;
        const HRESULT answer = m_source->QueryContinueDrag(step.kind == DragStep::Kind::Escape, step.keyState);
        if (answer != S_OK)
            return answer;
        MoveTo(step.screen, step.keyState);
        ShowFeedback();
    }
}

void CDragLoop::MoveTo(POINT screen, DWORD keyState)
{
    HWND window = nullptr;
    IDropTarget* target = TargetUnder(screen, &window);
    if (window != m_targetWindow) {
        LeaveTarget();
        EnterTarget(window, target, screen, keyState);
        return;
    }
    if (target == nullptr)
        return;
    DROPEFFECT chosen = m_allowed;
    m_effect = SUCCEEDED(target->DragOver(keyState, ToPointL(screen), &chosen)) ? Allowed(chosen) : DROPEFFECT_NONE;
}

void CDragLoop::EnterTarget(HWND window, IDropTarget* target, POINT screen, DWORD keyState)
{
    if (target == nullptr)
        return;
    DROPEFFECT chosen = m_allowed;
    // A target that fails its entry is no target; the next move asks it again.
    if (FAILED(target->DragEnter(m_data, keyState, ToPointL(screen), &chosen)))
        return;
    m_targetWindow = window;
    m_effect = Allowed(chosen);
}

void CDragLoop::LeaveTarget()
{
    // The window may have gone or revoked its target meanwhile; then nobody is told.
    if (IDropTarget* target = CDropTargetRegistry::Get().TargetOf(m_targetWindow))
        target->DragLeave();
    m_targetWindow = nullptr;
    m_effect = DROPEFFECT_NONE;
}

HRESULT CDragLoop::DropAt(POINT screen, DWORD keyState, DROPEFFECT* effect)
{
    HWND window = nullptr;
    TargetUnder(screen, &window);
    if (window != m_targetWindow)
        MoveTo(screen, keyState);  // released where no move had been reported yet
    IDropTarget* target = CDropTargetRegistry::Get().TargetOf(m_targetWindow);
    if (target == nullptr || (m_effect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE) {
        LeaveTarget();
        return DRAGDROP_S_DROP;
    }
    DROPEFFECT chosen = m_allowed;
    const HRESULT dropped = target->Drop(m_data, keyState, ToPointL(screen), &chosen);
    m_targetWindow = nullptr;
    m_effect = DROPEFFECT_NONE;
    if (FAILED(dropped))
        return dropped;
    *effect = Allowed(chosen) & ~DROPEFFECT_SCROLL;
    return DRAGDROP_S_DROP;
}

void CDragLoop::ShowFeedback()
{
    if (m_source->GiveFeedback(m_effect) == DRAGDROP_S_USEDEFAULTCURSORS)
        ShowDragCursor(m_capture, m_effect);
}

DROPEFFECT CDragLoop::Allowed(DROPEFFECT chosen) const
{
    return chosen & (m_allowed | DROPEFFECT_SCROLL);
}
