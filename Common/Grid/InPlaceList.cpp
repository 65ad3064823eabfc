#include "Common/Grid/InPlaceList.h"

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"

#include <algorithm>

namespace ZELL::Grid {

namespace {

constexpr UINT kSetHorizontalExtent = 0x015E;  // CB_SETHORIZONTALEXTENT

}

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_GETDLGCODE()
    ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
    ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
    ON_CONTROL_REFLECT(CBN_SELENDOK, OnSelEndOk)
    ON_CONTROL_REFLECT(CBN_EDITCHANGE, OnEditChange)
    ON_CONTROL_REFLECT(CBN_SELENDCANCEL, OnSelEndCancel)
END_MESSAGE_MAP()

CInPlaceList::CInPlaceList(int row, int col, LPCWSTR text)
    : m_row(row), m_col(col), m_initialText(text), m_typedText(text)
{
}

CInPlaceList* CInPlaceList::Start(CWnd* grid, const CRect& rect, DWORD style, UINT id, int row, int col,
                                  const std::vector<CString>& options, LPCWSTR text, UINT firstChar)
{
    if (grid == nullptr || grid->GetSafeHwnd() == nullptr)
        return nullptr;
    auto* list = new CInPlaceList(row, col, text);
    const int height = rect.Height();
    CRect area(rect);
    area.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + kListLines * height;
    if (!list->Create(style | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_AUTOHSCROLL, area, grid, id)) {
        delete list;
        return nullptr;
    }
    for (const CString& option : options)
        list->AddString(option);
    list->SetFont(grid->GetFont());
    list->SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    list->SetDroppedWidth();
    list->SendMessage(kSetHorizontalExtent, 0);
    if (list->SelectString(-1, text) == CB_ERR)
        list->SetWindowText(text);
    list->ShowDropDown(TRUE);
    if (HWND field = ::GetDlgItem(list->m_hWnd, CComboEdit::kEditFieldId))
        list->m_edit.SubclassWindow(field);
    list->SetFocus();
    list->PlaceCaret(firstChar);
    return list;
}

void CInPlaceList::PlaceCaret(UINT firstChar)
{
    CWnd* target = m_edit.GetSafeHwnd() != nullptr ? static_cast<CWnd*>(&m_edit) : this;
    const int end = GetWindowTextLength();
    const auto select = [&](int first, int last) {
        if (m_edit.GetSafeHwnd() != nullptr)
            m_edit.SetSel(first, last);
        else
            SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(first, last));
    };
    switch (firstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        select(end, end);
        break;
    case VK_BACK:
        select(end, end);
        target->SendMessage(WM_CHAR, VK_BACK);
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        select(0, -1);
        break;
    default:
        select(0, -1);
        // The key takes the place of the whole text.
        if (m_edit.GetSafeHwnd() != nullptr) {
            const wchar_t typed[2] = {static_cast<wchar_t>(firstChar), L'\0'};
            m_edit.ReplaceSel(typed);
        } else {
            target->SendMessage(WM_CHAR, firstChar);
        }
        break;
    }
}

void CInPlaceList::SetDroppedWidth()
{
    CDC* dc = GetDC();
    if (dc == nullptr)
        return;
    CFont* old = dc->SelectObject(GetFont());
    int widest = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CString entry;
        GetLBText(i, entry);
        widest = std::max(widest, static_cast<int>(dc->GetTextExtent(entry).cx) + ::GetSystemMetrics(SM_CXVSCROLL));
    }
    widest += dc->GetTextExtent(L"0", 1).cx;
    dc->SelectObject(old);
    ReleaseDC(dc);
    SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::min(widest, kMaxDropWidth)));
}

void CInPlaceList::FinishWith(UINT key, bool restoreText)
{
    if (restoreText)
        SetWindowText(m_initialText);
    m_endKey = key;
    CWnd* grid = GetParent();
    if (grid == nullptr)
        return;
    grid->SetFocus();
    grid->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CInPlaceList::PrepareEscape()
{
    SetWindowText(m_initialText);
    m_endKey = VK_ESCAPE;
}

void CInPlaceList::OnKillFocus(CWnd* newWindow)
{
    CComboBox::OnKillFocus(newWindow);
    if (CWnd* grid = GetParent())
        grid->Invalidate();
}

void CInPlaceList::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE)
        PrepareEscape();
    const bool paging = key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN);
    if (paging && ((::GetKeyState(VK_CONTROL) & 0x8000) != 0 || m_arrowsEndEditing)) {
        FinishWith(key, false);
        return;
    }
    CComboBox::OnKeyDown(key, repeat, flags);
}

void CInPlaceList::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
        FinishWith(key, key == VK_ESCAPE);
        return;
    }
    CComboBox::OnKeyUp(key, repeat, flags);
}

UINT CInPlaceList::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CInPlaceList::OnDropDown()
{
    SetDroppedWidth();
}

// The open list moves its selection with the pointer: only a click or Enter
// (CBN_SELENDOK) picks there. A closed list picks with each change.
void CInPlaceList::OnSelChange()
{
    if (GetDroppedState())
        return;
    TakeChosenText();
    EndEdit();
}

void CInPlaceList::OnSelEndOk()
{
    TakeChosenText();
    EndEdit();
}

// Closed without a pick by a click elsewhere: the cell takes what was
// typed, not the entry the pointer last passed over. Closed by a key that
// ends editing (Tab, Enter), it takes what the box shows.
void CInPlaceList::OnSelEndCancel()
{
    if (m_endKey == 0)
        SetWindowText(m_typedText);
    EndEdit();
}

void CInPlaceList::OnEditChange()
{
    GetWindowText(m_typedText);
}

void CInPlaceList::TakeChosenText()
{
    // The box's text follows the choice only after the notification.
    const int chosen = GetCurSel();
    if (chosen >= 0) {
        CString text;
        GetLBText(chosen, text);
        SetWindowText(text);
    }
}

void CInPlaceList::EndEdit()
{
    if (m_ended)
        return;
    m_ended = TRUE;
    CString text;
    GetWindowText(text);
    HWND self = m_hWnd;
    HWND target = NotifyEditEnded(self, m_row, m_col, text, m_endKey);
    if (::IsWindow(self)) {
        ::PostMessageW(self, WM_CLOSE, 0, 0);
        if (target != nullptr)
            ::InvalidateRect(target, nullptr, TRUE);
    }
}

void CInPlaceList::PostNcDestroy()
{
    delete this;
}

}  // namespace ZELL::Grid
