#pragma once
// One drag from its start to the drop or its cancelling: it follows the
// pointer from window to window, tells their drop targets, asks the source
// whether to go on and shows the effect a drop would have.

#include "Platform/Shell/DataObject.h"
#include "Platform/Shell/DragInput.h"
#include "Platform/Shell/DropSource.h"
#include "Platform/Shell/DropTarget.h"

class CDragLoop {
public:
    CDragLoop(IDataObject* data, IDropSource* source, DROPEFFECT allowed);

    // Runs the drag with the mouse captured by `capture` (released at the
    // end). DRAGDROP_S_DROP with the effect the target chose (none when it
    // refused), DRAGDROP_S_CANCEL with none, or the source's error.
    HRESULT Run(HWND capture, DROPEFFECT* effect);

private:
    HRESULT Follow(CDragInput& input);
    void MoveTo(POINT screen, DWORD keyState);
    void EnterTarget(HWND window, IDropTarget* target, POINT screen, DWORD keyState);
    void LeaveTarget();
    HRESULT DropAt(POINT screen, DWORD keyState, DROPEFFECT* effect);
    void ShowFeedback();
    DROPEFFECT Allowed(DROPEFFECT chosen) const;

    IDataObject* m_data = nullptr;
    IDropSource* m_source = nullptr;
    DROPEFFECT m_allowed = DROPEFFECT_NONE;
    HWND m_capture = nullptr;
    HWND m_targetWindow = nullptr;  // the registered window the pointer is over
    DROPEFFECT m_effect = DROPEFFECT_NONE;  // what a drop there would do now
};
