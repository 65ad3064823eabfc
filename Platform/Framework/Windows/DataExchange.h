#pragma once
// Moving values between a dialog's members and its controls: DoDataExchange
// calls the DDX_ and DDV_ functions, UpdateData(TRUE) reads the controls
// into the members, UpdateData(FALSE) writes the members into the controls.
// A control whose text does not give a valid value shows the reason, takes
// the focus and ends the exchange with Fail(), which throws CUserException.
#include "Platform/Base/CString.h"
#include "Platform/Framework/Windows/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate = FALSE;
    CWnd* m_pDlgWnd = nullptr;
    HWND m_hWndLastControl = nullptr;  // the control the last DDX_ function reached
    BOOL m_bEditLastControl = FALSE;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last control (selecting an edit's text) and throws.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
// UINT is DWORD here: one exchange serves both.
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, BYTE& value);
void DDX_Text(CDataExchange* dx, int id, short& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// `value` is the index of the checked button of the group that starts at `id`, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Subclasses the control with `control` on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue);
void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minValue, BYTE maxValue);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

// The message a failed exchange shows, with %1 and %2 put in.
CString AfxFormatString1(LPCWSTR format, LPCWSTR first);
CString AfxFormatString2(LPCWSTR format, LPCWSTR first, LPCWSTR second);
