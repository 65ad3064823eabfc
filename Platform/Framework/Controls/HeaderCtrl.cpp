#include "Platform/Framework/Controls/HeaderCtrl.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

#include "Platform/Framework/Core/TempHandleMap.h"

CHeaderCtrl* CHeaderCtrl::FromHandle(HWND hwnd)
{
    if (CHeaderCtrl* own = DYNAMIC_DOWNCAST(CHeaderCtrl, CWnd::FromHandlePermanent(hwnd)))
        return own;
    return CTempHandleMap<CHeaderCtrl, HWND, &CHeaderCtrl::m_hWnd>::FromHandle(hwnd);
}

CImageList* CHeaderCtrl::SetImageList(CImageList* list)
{
    const LPARAM handle = reinterpret_cast<LPARAM>(list != nullptr ? list->GetSafeHandle() : nullptr);
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, handle)));
}

void CHeaderCtrl::SetSortArrow(int position, int arrow)
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        HDITEMW item;
        item.mask = HDI_FORMAT;
        if (!GetItem(i, &item))
            continue;
        const int format = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | (i == position ? arrow : 0);
        if (format == item.fmt)
            continue;
        item.fmt = format;
        SetItem(i, &item);
    }
}
