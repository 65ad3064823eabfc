#pragma once
// The IP-address control's class name, messages, notification and the
// macros that pack and unpack an address and a field's range, with the
// platform's numbers.
#include "Platform/Controls/NotifyHeader.h"

#define WC_IPADDRESSW L"SysIPAddress32"
#define WC_IPADDRESS WC_IPADDRESSW

constexpr UINT IPM_CLEARADDRESS = WM_USER + 100;
constexpr UINT IPM_SETADDRESS = WM_USER + 101;
constexpr UINT IPM_GETADDRESS = WM_USER + 102;
constexpr UINT IPM_SETRANGE = WM_USER + 103;
constexpr UINT IPM_SETFOCUS = WM_USER + 104;
constexpr UINT IPM_ISBLANK = WM_USER + 105;

constexpr UINT IPN_FIRST = 0u - 860u;
constexpr UINT IPN_FIELDCHANGED = IPN_FIRST - 0;

// iField is 0..3 from the left; iValue is -1 for a blank field. The parent
// may change iValue to put another value into the field.
struct NMIPADDRESS {
    NMHDR hdr;
    int iField = 0;
    int iValue = 0;
};
using LPNMIPADDRESS = NMIPADDRESS*;

#define MAKEIPRANGE(low, high) ((LPARAM)(WORD)(((BYTE)(high) << 8) + (BYTE)(low)))
#define MAKEIPADDRESS(b1, b2, b3, b4) \
    ((LPARAM)(((DWORD)(b1) << 24) + ((DWORD)(b2) << 16) + ((DWORD)(b3) << 8) + ((DWORD)(b4))))
#define FIRST_IPADDRESS(x) ((((DWORD)(x)) >> 24) & 0xff)
#define SECOND_IPADDRESS(x) ((((DWORD)(x)) >> 16) & 0xff)
#define THIRD_IPADDRESS(x) ((((DWORD)(x)) >> 8) & 0xff)
#define FOURTH_IPADDRESS(x) (((DWORD)(x)) & 0xff)
