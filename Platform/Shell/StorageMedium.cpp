#include "Platform/Shell/DragDropTypes.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <cstring>

HRESULT CheckGlobalFormat(const FORMATETC* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    if ((format->tymed & TYMED_HGLOBAL) == 0)
        return DV_E_TYMED;
    if (format->dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    return S_OK;
}

void ReleaseStgMedium(STGMEDIUM* medium)
{
    if (medium == nullptr)
        return;
    if (medium->tymed == TYMED_HGLOBAL && medium->hGlobal != nullptr)
        GlobalFree(medium->hGlobal);
    *medium = STGMEDIUM{};
}

HGLOBAL CopyGlobalBlock(HGLOBAL source)
{
    SetLastError(NO_ERROR);  // an empty block has size 0 too
    const SIZE_T size = GlobalSize(source);
    if (size == 0 && GetLastError() == ERROR_INVALID_HANDLE)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr || size == 0)
        return copy;
    const void* from = GlobalLock(source);
    void* to = GlobalLock(copy);
    if (from != nullptr && to != nullptr)
        std::memcpy(to, from, size);
    GlobalUnlock(source);
    GlobalUnlock(copy);
    if (from == nullptr || to == nullptr) {
        GlobalFree(copy);
        return nullptr;
    }
    return copy;
}
