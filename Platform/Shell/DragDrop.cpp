#include "Platform/Shell/DragDrop.h"

#include "Platform/Base/Thread.h"
#include "Platform/Shell/DragInput.h"
#include "Platform/Shell/DragLoop.h"
#include "Platform/Shell/DropTargetRegistry.h"

namespace {

constexpr DWORD kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

HWND WindowUnderPointerOfThisThread()
{
    HWND under = WindowFromPoint(MessagePoint());
    return under != nullptr && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId() ? under : nullptr;
}

RECT ThresholdAround(POINT start)
{
    const int halfWidth = GetSystemMetrics(SM_CXDRAG) / 2;
    const int halfHeight = GetSystemMetrics(SM_CYDRAG) / 2;
    return RECT{start.x - halfWidth, start.y - halfHeight, start.x + halfWidth + 1, start.y + halfHeight + 1};
}

HWND DragCaptureWindow()
{
    if (HWND capture = GetCapture())
        return capture;
    if (HWND under = WindowUnderPointerOfThisThread())
        return under;
    if (HWND focus = GetFocus())
        return focus;
    return GetActiveWindow();
}

BOOL FollowUntilDragStarts(CDragInput& input, const RECT& still)
{
    for (;;) {
        const DragStep step = input.Next();
        switch (step.kind) {
        case DragStep::Kind::Moved:
            if (!PtInRect(&still, step.screen))
                return TRUE;
            break;
        case DragStep::Kind::KeysChanged:
            if ((step.keyState & kButtons) == 0) {
                input.GiveBackLastMouseMessage();
                return FALSE;
            }
            break;
        case DragStep::Kind::Escape:
        case DragStep::Kind::Lost: return FALSE;
        }
    }
}

}

HRESULT RegisterDragDrop(HWND window, IDropTarget* target)
{
    return CDropTargetRegistry::Get().Register(window, target);
}

HRESULT RevokeDragDrop(HWND window)
{
    return CDropTargetRegistry::Get().Revoke(window);
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect)
{
    if (data == nullptr || source == nullptr || effect == nullptr)
        return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    HWND capture = DragCaptureWindow();
    if (capture == nullptr)
        return E_FAIL;
    return CDragLoop(data, source, allowedEffects).Run(capture, effect);
}

BOOL WaitForDragStart(const RECT* still)
{
    HWND capture = DragCaptureWindow();
    if (capture == nullptr)
        return FALSE;
    const bool captured = GetCapture() == capture;
    CDragInput input(capture);
    if ((input.KeyState() & kButtons) == 0)
        return FALSE;
    if (!captured)
        SetCapture(capture);
    const BOOL started = FollowUntilDragStarts(input, still != nullptr ? *still : ThresholdAround(input.Point()));
    if (!started && !captured && GetCapture() == capture)
        ReleaseCapture();
    return started;
}
