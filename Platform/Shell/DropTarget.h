#pragma once
// A window's side of a drop: told when a drag enters, moves over, leaves or
// drops on it. Points are in screen coordinates. On entry `effect` holds the
// effects the source allows; the target leaves there the one a drop would
// have now (DROPEFFECT_NONE to refuse), DROPEFFECT_SCROLL added while it
// scrolls.

#include "Platform/Shell/DataObject.h"

class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
};
using LPDROPTARGET = IDropTarget*;
