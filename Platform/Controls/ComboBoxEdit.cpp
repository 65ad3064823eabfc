// The edit field of a CBS_DROPDOWN or CBS_SIMPLE combo (and the simple
// combo's list under it): an "Edit" child over the selection field whose notifications and colour questions the combo turns
// into its own, and whose list keys it takes.
#include "Platform/Controls/ComboBoxControl.h"

#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Controls/EditControl.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

constexpr int kEditId = 1001;
constexpr int kSimpleListId = 1000;
constexpr LPARAM kAltDown = LPARAM{1} << 29;

// The keys an edit of a combo hands to the combo: list keys always, Enter
// and Esc while the list is down.
bool ForCombo(HWND combo, WPARAM key)
{
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_F4: return true;
    case VK_RETURN:
    case VK_ESCAPE: return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    default: return false;
    }
}

LRESULT CallEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(&CControlWindow::Procedure<CEditControl>, edit, message, wParam, lParam);
}

}

bool CComboBoxControl::CreateEdit()
{
    const DWORD style = Style();
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if ((style & CBS_AUTOHSCROLL) != 0)
        editStyle |= ES_AUTOHSCROLL;
    if ((style & CBS_UPPERCASE) != 0)
        editStyle |= ES_UPPERCASE;
    if ((style & CBS_LOWERCASE) != 0)
        editStyle |= ES_LOWERCASE;
    if ((style & WS_DISABLED) != 0)
        editStyle |= WS_DISABLED;
    m_edit = CreateWindowExW(0, L"Edit", L"", editStyle, 0, 0, 1, 1, Hwnd(),
                             reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kEditId)), nullptr, nullptr);
    if (m_edit == nullptr)
        return false;
    SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc));
    return true;
}

void CComboBoxControl::PlaceEdit() const
{
    if (!HasEdit())
        return;
    const RECT field = Layout().Field();
    SetWindowPos(m_edit, nullptr, field.left, field.top, field.right - field.left, field.bottom - field.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CComboBoxControl::CreateSimpleList()
{
    const DWORD style = ListStyle() | WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_COMBOBOX;
    const RECT client = Client();
    const int top = CComboLayout::WindowHeight(m_fieldHeight);
    return CreateWindowExW(0, kComboListClass, L"", style, 0, top, client.right, std::max(1, m_fullHeight - top),
                           Hwnd(), reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kSimpleListId)), nullptr,
                           Hwnd());
}

void CComboBoxControl::PlaceList() const
{
    if (m_list == nullptr)
        return;
    const RECT client = Client();
    const int top = CComboLayout::WindowHeight(m_fieldHeight);
    SetWindowPos(m_list, nullptr, 0, top, client.right, std::max(1, static_cast<int>(client.bottom) - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CComboBoxControl::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND combo = GetParent(edit);
    switch (message) {
    case WM_KEYDOWN:
        if (combo != nullptr && ForCombo(combo, wParam))
            return SendMessageW(combo, WM_KEYDOWN, wParam, lParam);
        break;
    case WM_CHAR:
        // Enter and Esc closed the list: no character is left of them.
        if ((wParam == L'\r' || wParam == 0x1B) && combo != nullptr &&
            SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE)
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if ((wParam == VK_UP || wParam == VK_DOWN) && (lParam & kAltDown) != 0 && combo != nullptr)
            return SendMessageW(combo, WM_SYSKEYDOWN, wParam, lParam);
        break;
    case WM_KILLFOCUS:
        // Where the focus goes decides whether the combo lost it; the
        // edit's own notification does not say.
        if (combo != nullptr)
            SendMessageW(combo, kEditLostFocus, wParam, 0);
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CallEdit(edit, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (combo != nullptr && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE &&
            (msg == nullptr || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    default: break;
    }
    return CallEdit(edit, message, wParam, lParam);
}

// The edit's notifications as the combo's: focus for the whole combo, and
// the user's changes to the text.
LRESULT CComboBoxControl::FromEdit(WPARAM wParam)
{
    switch (HIWORD(wParam)) {
    case EN_SETFOCUS:
        if (!m_focused) {
            m_focused = true;
            NotifyParent(CBN_SETFOCUS);
        }
        break;
    case EN_UPDATE:
        if (!m_settingText)
            NotifyParent(CBN_EDITUPDATE);
        break;
    case EN_CHANGE:
        if (!m_settingText) {
            // What the user typed chooses the item of that very text, or none.
            const std::wstring text = EditText();
            ToList(LB_SETCURSEL, static_cast<WPARAM>(ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                            reinterpret_cast<LPARAM>(text.c_str()))));
            NotifyParent(CBN_EDITCHANGE);
        }
        break;
    case EN_ERRSPACE: NotifyParent(CBN_ERRSPACE); break;
    default: break;
    }
    return 0;
}

void CComboBoxControl::SetEditText(const std::wstring& text)
{
    m_settingText = true;
    SendMessageW(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    m_settingText = false;
}

std::wstring CComboBoxControl::EditText() const
{
    return WindowText(m_edit);
}

// The chosen item's text goes into the edit, selected.
void CComboBoxControl::ShowInEdit(int index)
{
    if (!HasEdit() || index < 0)
        return;
    SetEditText(ItemText(index));
    SendMessageW(m_edit, EM_SETSEL, 0, -1);
}

LRESULT CComboBoxControl::EditMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CB_LIMITTEXT: SendMessageW(m_edit, EM_LIMITTEXT, wParam, 0); return TRUE;
    case CB_GETEDITSEL: return SendMessageW(m_edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
        SendMessageW(m_edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(static_cast<DWORD>(lParam)))),
                     static_cast<LPARAM>(static_cast<SHORT>(HIWORD(static_cast<DWORD>(lParam)))));
        return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: return SendMessageW(m_edit, message, wParam, lParam);
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        SetEditText(text != nullptr ? text : L"");
        ToList(LB_SETCURSEL, static_cast<WPARAM>(ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam)));
        return TRUE;
    }
    default: return CB_ERR;
    }
}

void CComboBoxControl::OnEditLostFocus(HWND newFocus)
{
    if (m_focused && newFocus != Hwnd() && newFocus != m_edit)
        OnFocus(false);
}

LRESULT CComboBoxControl::ForwardEditColor(UINT message, WPARAM dc, LPARAM edit)
{
    HWND parent = Parent();
    const LRESULT brush = parent != nullptr ? SendMessageW(parent, message, dc, edit) : 0;
    return brush != 0 ? brush : DefaultProc(message, dc, edit);
}

}
