#pragma once
// The clipboard seen as data to read: each GetData opens the clipboard,
// copies the block of the format and closes it again, so the copy is the
// caller's and the clipboard is never held open in between.

#include "Platform/Shell/DataObject.h"

constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0u);

class CClipboardDataObject : public IDataObject {
public:
    // CLIPBRD_E_CANT_OPEN while another window or thread has the clipboard open.
    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT QueryGetData(const FORMATETC* format) override;
};
