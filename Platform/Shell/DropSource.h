#pragma once
// The side that started a drag: it decides, on every change of the mouse
// and keys, whether the drag goes on, drops or is cancelled, and how the
// cursor shows the effect a drop would have.

#include "Platform/Shell/DragDropTypes.h"

class IDropSource {
public:
    virtual ~IDropSource() = default;
    // S_OK to go on, DRAGDROP_S_DROP, DRAGDROP_S_CANCEL, or an error that ends the drag.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS leaves the cursor to the drag loop; S_OK
    // means the source has set one itself.
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};
using LPDROPSOURCE = IDropSource*;
