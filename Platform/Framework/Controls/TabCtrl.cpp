#include "Platform/Framework/Controls/TabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

#include <array>

LONG CTabCtrl::InsertItem(int index, LPCWSTR text, int image)
{
    TCITEMW item;
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0u);
    item.pszText = const_cast<LPWSTR>(text);
    item.iImage = image;
    return InsertItem(index, &item);
}

CString CTabCtrl::GetItemText(int index) const
{
    std::array<wchar_t, 256> buffer{};
    TCITEMW item;
    item.mask = TCIF_TEXT;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    if (!GetItem(index, &item) || item.pszText == nullptr)
        return CString();
    return CString(item.pszText);
}

BOOL CTabCtrl::SetItemText(int index, LPCWSTR text)
{
    TCITEMW item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(text);
    return SetItem(index, &item);
}

CImageList* CTabCtrl::SetImageList(CImageList* list)
{
    const LPARAM handle = reinterpret_cast<LPARAM>(list != nullptr ? list->GetSafeHandle() : nullptr);
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, handle)));
}

SIZE CTabCtrl::SetItemSize(SIZE size)
{
    const LRESULT previous = SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
    return SIZE{LOWORD(previous), HIWORD(previous)};
}
