#pragma once
// The combo box.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/EditStyles.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"ComboBox", nullptr, style, rect, parent, id);
    }
    int AddString(LPCWSTR text) { return Int(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    int InsertString(int index, LPCWSTR text)
    {
        return Int(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    }
    int DeleteString(UINT index) { return Int(CB_DELETESTRING, index, 0); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return Int(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return Int(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return Int(CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    int GetLBTextLen(int index) const { return Int(CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0); }
    void GetLBText(int index, CString& text) const;
    int FindString(int startAfter, LPCWSTR text) const
    {
        return Int(CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    int FindStringExact(int startAfter, LPCWSTR text) const
    {
        return Int(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    int SelectString(int startAfter, LPCWSTR text)
    {
        return Int(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text));
    }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return Int(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }
    BOOL LimitText(int maxChars) { return Int(CB_LIMITTEXT, static_cast<WPARAM>(maxChars), 0); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
    BOOL GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
