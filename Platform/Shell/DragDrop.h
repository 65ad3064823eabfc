#pragma once
// Drag and drop between the windows of this process.

#include "Platform/Shell/DataObject.h"
#include "Platform/Shell/DropSource.h"
#include "Platform/Shell/DropTarget.h"
#include "Platform/Ui/WinUser.h"

// The window takes drops through the target until it is revoked; the caller
// keeps the target alive until then. E_INVALIDARG, DRAGDROP_E_INVALIDHWND or
// DRAGDROP_E_ALREADYREGISTERED when it cannot.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
// DRAGDROP_E_NOTREGISTERED or DRAGDROP_E_INVALIDHWND when there is nothing to revoke.
HRESULT RevokeDragDrop(HWND window);

// Runs a drag of the data until the source drops or cancels it (Esc, by
// default). The mouse is captured meanwhile by the window that has it, or
// else by the calling thread's window under the pointer, with the focus, or
// the active one; E_FAIL when there is none. DRAGDROP_S_DROP with the effect
// the target chose (DROPEFFECT_NONE where nobody took it), DRAGDROP_S_CANCEL
// with DROPEFFECT_NONE, E_INVALIDARG for a missing argument.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect);

// Whether a drag starts: the pointer leaves `still` (screen coordinates;
// null: the SM_CXDRAG x SM_CYDRAG rectangle round where the message being
// handled happened) with a button held. FALSE when the buttons are released
// first (the window then still sees its button go up), Esc is pressed or the
// capture is lost.
BOOL WaitForDragStart(const RECT* still);
