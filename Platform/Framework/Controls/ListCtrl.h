#pragma once
// The list view, as the dialogs fill it in report mode: columns, rows of
// sub-item texts, states, item data and sorting through a callback.
#include "Platform/Framework/Controls/HeaderCtrl.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/CommCtrl.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
    }

    // --- columns --------------------------------------------------------
    // A width of -1 leaves the control's default; a sub-item of -1 takes the column's index.
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    int InsertColumn(int column, const LVCOLUMNW* info)
    {
        return Int(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(info));
    }
    BOOL DeleteColumn(int column) { return Int(LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0); }
    BOOL GetColumn(int column, LVCOLUMNW* info) const
    {
        return Int(LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(info));
    }
    BOOL SetColumn(int column, const LVCOLUMNW* info)
    {
        return Int(LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(info));
    }
    int GetColumnWidth(int column) const { return Int(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0); }
    // LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER fit the column to its texts.
    BOOL SetColumnWidth(int column, int width)
    {
        return Int(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
    }
    BOOL GetColumnOrderArray(int* order, int count) const
    {
        return Int(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
    }
    BOOL SetColumnOrderArray(int count, int* order)
    {
        return Int(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
    }
    CHeaderCtrl* GetHeaderCtrl() const;

    // --- items ----------------------------------------------------------
    int InsertItem(const LVITEMW* item) { return Int(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)); }
    int InsertItem(int index, LPCWSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }
    int InsertItem(int index, LPCWSTR text, int image) { return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0); }
    int InsertItem(UINT mask, int index, LPCWSTR text, UINT state, UINT stateMask, int image, LPARAM data);
    BOOL DeleteItem(int index) { return Int(LVM_DELETEITEM, static_cast<WPARAM>(index), 0); }
    BOOL DeleteAllItems() { return Int(LVM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return Int(LVM_GETITEMCOUNT, 0, 0); }
    // Room for this many rows ahead of a long run of insertions.
    BOOL SetItemCount(int count) { return Int(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0); }
    BOOL GetItem(LVITEMW* item) const { return Int(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)); }
    BOOL SetItem(const LVITEMW* item) { return Int(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)); }
    BOOL SetItemText(int index, int subItem, LPCWSTR text);
    CString GetItemText(int index, int subItem) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemState(int index, UINT state, UINT mask);
    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    // The check box of LVS_EX_CHECKBOXES: state image 2 is checked, 1 unchecked.
    BOOL GetCheck(int index) const { return (GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    BOOL SetCheck(int index, BOOL check = TRUE)
    {
        return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }

    // --- selection and search ------------------------------------------
    int GetNextItem(int start, int flags) const
    {
        return Int(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetSelectionMark() const { return Int(LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int index) { return Int(LVM_SETSELECTIONMARK, 0, index); }
    int FindItem(const LVFINDINFOW* find, int start = -1) const
    {
        return Int(LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(find));
    }
    int HitTest(POINT at, UINT* flags = nullptr) const;
    int HitTest(LVHITTESTINFO* info) const { return Int(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)); }
    int SubItemHitTest(LVHITTESTINFO* info) { return Int(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)); }

    // --- order and view -------------------------------------------------
    // The callback compares two items' data; SortItemsEx's compares their indexes.
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data)
    {
        return Int(LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare));
    }
    BOOL SortItemsEx(PFNLVCOMPARE compare, DWORD_PTR data)
    {
        return Int(LVM_SORTITEMSEX, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare));
    }
    BOOL EnsureVisible(int index, BOOL partialOk)
    {
        return Int(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), MAKELPARAM(partialOk, 0));
    }
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int code, RECT& rect) const;
    int GetTopIndex() const { return Int(LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return Int(LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL RedrawItems(int first, int last) { return Int(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last); }
    BOOL Update(int index) { return Int(LVM_UPDATE, static_cast<WPARAM>(index), 0); }
    BOOL Scroll(SIZE by) { return Int(LVM_SCROLL, static_cast<WPARAM>(by.cx), by.cy); }

    // --- looks ----------------------------------------------------------
    DWORD SetExtendedStyle(DWORD exStyle)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle)));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    CImageList* SetImageList(CImageList* list, int kind);
    CImageList* GetImageList(int kind) const
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(kind))));
    }
    BOOL SetBkColor(COLORREF color) { return Int(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(color)); }
    COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
    BOOL SetTextColor(COLORREF color) { return Int(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color)); }
    COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
    BOOL SetTextBkColor(COLORREF color) { return Int(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color)); }
    COLORREF GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
