#pragma once
// The IP-address control: four fields of 0 to 255.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/IPAddressStyles.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_IPADDRESSW, nullptr, style, rect, parent, id);
    }
    void SetAddress(DWORD address) { SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(address)); }
    void SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3)
    {
        SetAddress(static_cast<DWORD>(MAKEIPADDRESS(field0, field1, field2, field3)));
    }
    // The number of fields that are not blank; blank fields read as 0.
    int GetAddress(DWORD& address) const
    {
        return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
    }
    int GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const;
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    BOOL IsBlank() const { return SendMessage(IPM_ISBLANK) != 0; }
    void SetFieldRange(int field, BYTE lower, BYTE upper)
    {
        SendMessage(IPM_SETRANGE, static_cast<WPARAM>(field), MAKEIPRANGE(lower, upper));
    }
    void SetFieldFocus(WORD field) { SendMessage(IPM_SETFOCUS, field); }
};
