#pragma once
// The tab control.
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/TabStyles.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_TABCONTROLW, nullptr, style, rect, parent, id);
    }
    LONG InsertItem(int index, const TCITEMW* item)
    {
        return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
    }
    LONG InsertItem(int index, LPCWSTR text, int image = -1);
    BOOL DeleteItem(int index) { return Int(TCM_DELETEITEM, static_cast<WPARAM>(index), 0); }
    BOOL DeleteAllItems() { return Int(TCM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(int index, TCITEMW* item) const
    {
        return Int(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
    }
    BOOL SetItem(int index, const TCITEMW* item)
    {
        return Int(TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
    }
    CString GetItemText(int index) const;
    BOOL SetItemText(int index, LPCWSTR text);
    int GetItemCount() const { return Int(TCM_GETITEMCOUNT, 0, 0); }
    int GetCurSel() const { return Int(TCM_GETCURSEL, 0, 0); }
    // Selects without TCN_SELCHANGING/TCN_SELCHANGE, as the platform does; the
    // previous selection or -1.
    int SetCurSel(int index) { return Int(TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }
    int GetCurFocus() const { return Int(TCM_GETCURFOCUS, 0, 0); }
    void SetCurFocus(int index) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(index)); }
    BOOL GetItemRect(int index, LPRECT rect) const
    {
        return Int(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
    }
    // larger: the window rectangle for a display area; otherwise the display
    // area inside a window rectangle.
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), reinterpret_cast<LPARAM>(rect)); }
    int HitTest(TCHITTESTINFO* info) const { return Int(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(info)); }
    int GetRowCount() const { return Int(TCM_GETROWCOUNT, 0, 0); }
    CImageList* SetImageList(CImageList* list);
    CImageList* GetImageList() const
    {
        return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
    }
    SIZE SetItemSize(SIZE size);
    void SetPadding(SIZE padding) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(padding.cx, padding.cy)); }
    int SetMinTabWidth(int width) { return Int(TCM_SETMINTABWIDTH, 0, width); }
    BOOL HighlightItem(int index, BOOL highlight = TRUE)
    {
        return Int(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(index), MAKELPARAM(highlight, 0));
    }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
