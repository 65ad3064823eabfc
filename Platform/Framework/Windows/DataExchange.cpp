#include "Platform/Framework/Windows/DataExchange.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Exceptions/NotSupportedException.h"
#include "Platform/Framework/Exceptions/UserException.h"
#include "Platform/Framework/App/WinApp.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <string>

namespace {

constexpr LPCWSTR kEnterInteger = L"Please enter an integer.";
constexpr LPCWSTR kEnterUnsigned = L"Please enter a positive integer.";
constexpr LPCWSTR kIntegerBetween = L"Please enter an integer between %1 and %2.";
constexpr LPCWSTR kMaxChars = L"Please enter no more than %1 characters.";

void FailWith(CDataExchange* dx, const CString& message)
{
    // The dialog's own deliverable names the message box.
    const CDialog* dialog = DYNAMIC_DOWNCAST(CDialog, dx->m_pDlgWnd);
    ZellShowMessageBox(dialog ? dialog->GetApp() : nullptr, message.GetString(), MB_ICONEXCLAMATION, 0);
    dx->Fail();
}

// Whole text as a number in [minValue, maxValue]; spaces around are allowed.
bool ParseInteger(const CString& text, long long minValue, long long maxValue, long long& value)
{
    std::wstring digits(text.GetString());
    const auto first = digits.find_first_not_of(L" \t");
    const auto last = digits.find_last_not_of(L" \t");
    if (first == std::wstring::npos)
        return false;
    digits = digits.substr(first, last - first + 1);
    wchar_t* end = nullptr;
    errno = 0;
    const long long parsed = std::wcstoll(digits.c_str(), &end, 10);
    if (errno != 0 || end == digits.c_str() || *end != L'\0' || std::iswspace(static_cast<wint_t>(digits[0])))
        return false;
    if (parsed < minValue || parsed > maxValue)
        return false;
    value = parsed;
    return true;
}

template<typename T>
void ExchangeInteger(CDataExchange* dx, int id, T& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextW(control, std::to_wstring(value).c_str());
        return;
    }
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    long long parsed = 0;
    if (!ParseInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), parsed))
        FailWith(dx, std::numeric_limits<T>::is_signed ? kEnterInteger : kEnterUnsigned);
    value = static_cast<T>(parsed);
}

template<typename T>
void CheckRange(CDataExchange* dx, T value, T minValue, T maxValue)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    FailWith(dx, AfxFormatString2(kIntegerBetween, std::to_wstring(minValue).c_str(), std::to_wstring(maxValue).c_str()));
}

}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control)
        AfxThrowInvalidArgException();
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SendMessageW(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), TRUE);
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        ::SetWindowTextW(control, value.GetString());
}

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeInteger(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeInteger(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, long& value)
{
    // A long holds 32 bits on the platform; the text may not give more.
    std::int32_t narrow = static_cast<std::int32_t>(value);
    ExchangeInteger(dx, id, narrow);
    value = narrow;
}
void DDX_Text(CDataExchange* dx, int id, BYTE& value) { ExchangeInteger(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, short& value) { ExchangeInteger(dx, id, value); }

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    // The group runs from the first button to the next control with WS_GROUP.
    for (HWND button = control; button; button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (button != control && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP))
            break;
        if (!(::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        CWnd::FromHandle(control)->GetWindowText(value);
        return;
    }
    // The first item that starts with the text, else the text itself.
    if (::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(value.GetString())) == -1)
        ::SetWindowTextW(control, value.GetString());
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND window = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(window))
        AfxThrowNotSupportedException();
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) { CheckRange(dx, value, minValue, maxValue); }
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue) { CheckRange(dx, value, minValue, maxValue); }
void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue) { CheckRange(dx, value, minValue, maxValue); }
void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue) { CheckRange(dx, value, minValue, maxValue); }
void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minValue, BYTE maxValue)
{
    CheckRange(dx, static_cast<UINT>(value), static_cast<UINT>(minValue), static_cast<UINT>(maxValue));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate) {
        // The edit keeps the user from typing more.
        if (dx->m_hWndLastControl && dx->m_bEditLastControl)
            ::SendMessageW(dx->m_hWndLastControl, EM_SETLIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.GetLength() > maxChars)
        FailWith(dx, AfxFormatString1(kMaxChars, std::to_wstring(maxChars).c_str()));
}

CString AfxFormatString2(LPCWSTR format, LPCWSTR first, LPCWSTR second)
{
    std::wstring text;
    for (const wchar_t* p = format ? format : L""; *p; ++p) {
        if (p[0] == L'%' && (p[1] == L'1' || p[1] == L'2')) {
            LPCWSTR insert = p[1] == L'1' ? first : second;
            text += insert ? insert : L"";
            ++p;
        } else {
            text += *p;
        }
    }
    return CString(text.c_str());
}

CString AfxFormatString1(LPCWSTR format, LPCWSTR first) { return AfxFormatString2(format, first, nullptr); }
