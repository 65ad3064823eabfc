// The helpers that reach a dialog's controls by id.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/DialogManager.h"

#include <cwctype>
#include <limits>
#include <string>

using namespace Ui;

namespace {

std::wstring ItemText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The number at the start of a control's text (after blanks), checked
// against the 32-bit range of its kind.
bool ParseItemInt(const std::wstring& text, bool isSigned, UINT& value)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i])))
        ++i;
    bool negative = false;
    if (isSigned && i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    const std::size_t digitsStart = i;
    unsigned long long magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - L'0');
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    if (i == digitsStart)
        return false;
    // Only blanks may follow the number.
    for (; i < text.size(); ++i) {
        if (!std::iswspace(static_cast<wint_t>(text[i])))
            return false;
    }
    if (!isSigned) {
        value = static_cast<UINT>(magnitude);
        return true;
    }
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<INT>::min())
                                     : static_cast<long long>(std::numeric_limits<INT>::max());
    if (static_cast<long long>(magnitude) > limit)
        return false;
    const long long signedValue = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    value = static_cast<UINT>(static_cast<INT>(signedValue));
    return true;
}

HWND ItemOf(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr && GetLastError() == 0)
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return control;
}

}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
    if (translated != nullptr)
        *translated = FALSE;
    HWND control = ItemOf(dialog, id);
    if (control == nullptr)
        return 0;
    UINT value = 0;
    if (!ParseItemInt(ItemText(control), isSigned != FALSE, value))
        return 0;
    if (translated != nullptr)
        *translated = TRUE;
    return value;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
    const std::wstring text = isSigned ? std::to_wstring(static_cast<INT>(value)) : std::to_wstring(value);
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int count)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    buffer[0] = 0;
    HWND control = ItemOf(dialog, id);
    if (control == nullptr)
        return 0;
    return static_cast<UINT>(GetWindowTextW(control, buffer, count));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    HWND control = ItemOf(dialog, id);
    if (control == nullptr)
        return FALSE;
    return SetWindowTextW(control, text);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND control = ItemOf(dialog, id);
    if (control == nullptr)
        return FALSE;
    SendMessageW(control, kBmSetCheck, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND control = ItemOf(dialog, id);
    if (control == nullptr)
        return 0;
    return static_cast<UINT>(SendMessageW(control, kBmGetCheck, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId)
{
    if (firstId > lastId || checkId < firstId || checkId > lastId) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // Only the controls that are there: ids in the range may be missing.
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= firstId && id <= lastId)
            SendMessageW(child, kBmSetCheck, id == checkId ? kBstChecked : 0, 0);
    }
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = ItemOf(dialog, id);
    return control != nullptr ? SendMessageW(control, message, wParam, lParam) : 0;
}
