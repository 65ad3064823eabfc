#pragma once
// The list box.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/ListControlStyles.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"ListBox", nullptr, style, rect, parent, id);
    }
    int AddString(LPCWSTR text) { return Int(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    int InsertString(int index, LPCWSTR text) { return Int(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)); }
    int DeleteString(UINT index) { return Int(LB_DELETESTRING, index, 0); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return Int(LB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return Int(LB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return Int(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    int GetSel(int index) const { return Int(LB_GETSEL, static_cast<WPARAM>(index), 0); }
    int SetSel(int index, BOOL select = TRUE) { return Int(LB_SETSEL, static_cast<WPARAM>(select), index); }
    int GetSelCount() const { return Int(LB_GETSELCOUNT, 0, 0); }
    int GetTextLen(int index) const { return Int(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0); }
    void GetText(int index, CString& text) const;
    int FindString(int startAfter, LPCWSTR text) const { return Int(LB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)); }
    int FindStringExact(int startAfter, LPCWSTR text) const
    {
        return Int(LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    int SelectString(int startAfter, LPCWSTR text) { return Int(LB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) { return Int(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)); }
    int GetTopIndex() const { return Int(LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return Int(LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); }
    int SetItemHeight(int index, UINT height) { return Int(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), static_cast<LPARAM>(height)); }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
