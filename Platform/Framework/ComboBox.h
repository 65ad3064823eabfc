#pragma once
// The combo box.
#include "Platform/Framework/Wnd.h"
#include "Platform/Framework/PendingControlMessages.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"ComboBox", nullptr, style, rect, parent, id);
    }
    int AddString(LPCWSTR text) { return Int(ZellControlMessages::CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    int InsertString(int index, LPCWSTR text)
    {
        return Int(ZellControlMessages::CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    }
    int DeleteString(UINT index) { return Int(ZellControlMessages::CB_DELETESTRING, index, 0); }
    void ResetContent() { SendMessage(ZellControlMessages::CB_RESETCONTENT); }
    int GetCount() const { return Int(ZellControlMessages::CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return Int(ZellControlMessages::CB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return Int(ZellControlMessages::CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    int GetLBTextLen(int index) const { return Int(ZellControlMessages::CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0); }
    void GetLBText(int index, CString& text) const;
    int FindString(int startAfter, LPCWSTR text) const
    {
        return Int(ZellControlMessages::CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    int FindStringExact(int startAfter, LPCWSTR text) const
    {
        return Int(ZellControlMessages::CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    int SelectString(int startAfter, LPCWSTR text)
    {
        return Int(ZellControlMessages::CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessage(ZellControlMessages::CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return Int(ZellControlMessages::CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }
    BOOL LimitText(int maxChars) { return Int(ZellControlMessages::CB_LIMITTEXT, static_cast<WPARAM>(maxChars), 0); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(ZellControlMessages::CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
    BOOL GetDroppedState() const { return SendMessage(ZellControlMessages::CB_GETDROPPEDSTATE) != 0; }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
