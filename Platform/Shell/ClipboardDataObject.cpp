#include "Platform/Shell/ClipboardDataObject.h"

#include "Platform/Ui/WinUser.h"

HRESULT CClipboardDataObject::GetData(const FORMATETC* format, STGMEDIUM* medium)
{
    if (medium == nullptr)
        return E_INVALIDARG;
    const HRESULT offered = QueryGetData(format);
    if (offered != S_OK)
        return offered;
    if (!OpenClipboard(nullptr))
        return CLIPBRD_E_CANT_OPEN;
    HGLOBAL copy = CopyGlobalBlock(GetClipboardData(format->cfFormat));
    CloseClipboard();
    if (copy == nullptr)
        return DV_E_FORMATETC;  // gone meanwhile, or no block to copy
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT CClipboardDataObject::QueryGetData(const FORMATETC* format)
{
    const HRESULT checked = CheckGlobalFormat(format);
    if (checked != S_OK)
        return checked;
    return IsClipboardFormatAvailable(format->cfFormat) ? S_OK : DV_E_FORMATETC;
}
