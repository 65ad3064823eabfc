#pragma once
// What a drag source offers and a drop target reads: data by format, each
// handed out as a fresh global-memory block that the receiver frees.

#include "Platform/Shell/DragDropTypes.h"

class IDataObject {
public:
    virtual ~IDataObject() = default;
    // Fills `medium` with a new block of the format; DV_E_FORMATETC when the
    // format is not offered, DV_E_TYMED when not asked for as TYMED_HGLOBAL.
    virtual HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) = 0;
    // S_OK when GetData would give the format.
    virtual HRESULT QueryGetData(const FORMATETC* format) = 0;
};
using LPDATAOBJECT = IDataObject*;
