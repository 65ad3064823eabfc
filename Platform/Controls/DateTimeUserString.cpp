// Free text typed into a DTS_APPCANPARSE picker, which the parent reads
// (DTN_USERSTRING) and answers with a date.
#include "Platform/Controls/DateTimePicker.h"

#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/EditControl.h"

#include <utility>
#include <vector>

namespace ZELL::Controls {

namespace {

constexpr int kUserEditId = 1;

LRESULT CallEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(&CControlWindow::Procedure<CEditControl>, edit, message, wParam, lParam);
}

std::wstring TextOf(HWND edit)
{
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}

// The edit covers the fields, between the "none" box and the button.
void CDateTimePicker::BeginUserString()
{
    if ((Style() & DTS_APPCANPARSE) == 0 || m_userEdit != nullptr || m_calendar != nullptr)
        return;
    RECT area = Client();
    InflateRect(&area, -2, -2);
    if ((Style() & DTS_SHOWNONE) != 0)
        area.left = CheckRect().right + 2;
    area.right = ButtonRect().left;
    m_userEdit = CreateWindowExW(0, L"Edit", Shown().c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, area.left,
                                 area.top, area.right - area.left, area.bottom - area.top, Hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kUserEditId)), nullptr, nullptr);
    if (m_userEdit == nullptr)
        return;
    SendMessageW(m_userEdit, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    SetWindowLongPtrW(m_userEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UserEditProc));
    SendMessageW(m_userEdit, EM_SETSEL, 0, -1);
    SetFocus(m_userEdit);
}

// Enter and the edit losing the focus take the text; Esc drops it.
void CDateTimePicker::EndUserString(bool take)
{
    HWND edit = std::exchange(m_userEdit, nullptr);
    if (edit == nullptr)
        return;
    const std::wstring text = TextOf(edit);
    if (GetFocus() == edit)
        SetFocus(Hwnd());
    DestroyWindow(edit);
    Redraw();
    if (take)
        TakeUserString(text);
}

// The parent starts from the date shown; a date it gives is held to the range.
void CDateTimePicker::TakeUserString(const std::wstring& text)
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    NMDATETIMESTRINGW note;
    note.nmhdr.hwndFrom = Hwnd();
    note.nmhdr.idFrom = static_cast<UINT_PTR>(Id());
    note.nmhdr.code = DTN_USERSTRINGW;
    note.pszUserString = text.c_str();
    note.st = m_time;
    note.dwFlags = m_checked ? GDT_VALID : GDT_NONE;
    SendMessageW(parent, WM_NOTIFY, note.nmhdr.idFrom, reinterpret_cast<LPARAM>(&note));
    if (Gone())
        return;
    if (note.dwFlags == GDT_NONE && (Style() & DTS_SHOWNONE) != 0) {
        SetChecked(false);
    } else if (note.dwFlags == GDT_VALID && IsValidTime(note.st)) {
        SetChecked(true);
        Change(note.st);
    }
}

LRESULT CDateTimePicker::UserEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return CallEdit(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            PostMessageW(GetParent(edit), kEndUserString, wParam == VK_RETURN ? 1 : 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L'\x1b')
            return 0;
        break;
    case WM_KILLFOCUS: PostMessageW(GetParent(edit), kEndUserString, 1, 0); break;
    default: break;
    }
    return CallEdit(edit, message, wParam, lParam);
}

}
