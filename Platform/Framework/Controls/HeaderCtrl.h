#pragma once
// The header control: the column headings above a list view.
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/HeaderStyles.h"

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    // The framework object of a header window, or a temporary one.
    static CHeaderCtrl* FromHandle(HWND hwnd);

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_HEADERW, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return Int(HDM_GETITEMCOUNT, 0, 0); }
    int InsertItem(int position, const HDITEMW* item)
    {
        return Int(HDM_INSERTITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(item));
    }
    BOOL DeleteItem(int position) { return Int(HDM_DELETEITEM, static_cast<WPARAM>(position), 0); }
    BOOL GetItem(int position, HDITEMW* item) const
    {
        return Int(HDM_GETITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(item));
    }
    BOOL SetItem(int position, const HDITEMW* item)
    {
        return Int(HDM_SETITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(item));
    }
    BOOL GetItemRect(int position, LPRECT rect) const
    {
        return Int(HDM_GETITEMRECT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(rect));
    }
    int HitTest(HDHITTESTINFO* info) const { return Int(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(info)); }
    BOOL Layout(HDLAYOUT* layout) { return Int(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(layout)); }
    int OrderToIndex(int order) const { return Int(HDM_ORDERTOINDEX, static_cast<WPARAM>(order), 0); }
    BOOL GetOrderArray(int* order, int count) const
    {
        return Int(HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
    }
    BOOL SetOrderArray(int count, int* order)
    {
        return Int(HDM_SETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
    }
    CImageList* SetImageList(CImageList* list);
    CImageList* GetImageList() const
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(HDM_GETIMAGELIST)));
    }
    // Shows the sort arrow of one column (HDF_SORTUP, HDF_SORTDOWN or 0) and
    // takes it off every other.
    void SetSortArrow(int position, int arrow);

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
