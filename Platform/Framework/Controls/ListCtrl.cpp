#include "Platform/Framework/Controls/ListCtrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

#include <vector>

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem)
{
    LVCOLUMNW info;
    info.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    info.fmt = format;
    info.pszText = const_cast<LPWSTR>(heading);
    info.iSubItem = subItem == -1 ? column : subItem;
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    return InsertColumn(column, &info);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return CHeaderCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}

int CListCtrl::InsertItem(UINT mask, int index, LPCWSTR text, UINT state, UINT stateMask, int image, LPARAM data)
{
    LVITEMW item;
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.state = state;
    item.stateMask = stateMask;
    item.iImage = image;
    item.lParam = data;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCWSTR text)
{
    LVITEMW item;
    item.iSubItem = subItem;
    item.pszText = const_cast<LPWSTR>(text);
    return Int(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// The control answers with the characters it copied; a full buffer may mean
// a longer text, so it is read again into one twice the size.
CString CListCtrl::GetItemText(int index, int subItem) const
{
    std::vector<wchar_t> buffer(256, L'\0');
    for (;;) {
        LVITEMW item;
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const int copied = Int(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (copied < static_cast<int>(buffer.size()) - 1 || buffer.size() >= (1u << 20))
            return CString(buffer.data());
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item;
    item.state = state;
    item.stateMask = mask;
    return Int(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int CListCtrl::HitTest(POINT at, UINT* flags) const
{
    LVHITTESTINFO info;
    info.pt = at;
    const int index = HitTest(&info);
    if (flags != nullptr)
        *flags = info.flags;
    return index;
}

// The control reads which part to measure from the rectangle it fills.
BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const
{
    if (rect == nullptr)
        return FALSE;
    rect->left = static_cast<LONG>(code);
    return Int(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int code, RECT& rect) const
{
    rect.top = subItem;
    rect.left = code;
    return Int(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind)
{
    const LPARAM handle = reinterpret_cast<LPARAM>(list != nullptr ? list->GetSafeHandle() : nullptr);
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), handle)));
}
