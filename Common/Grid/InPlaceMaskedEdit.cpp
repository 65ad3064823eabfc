#include "Common/Grid/InPlaceMaskedEdit.h"

namespace ZELL::Grid {

namespace {

bool IsPagingOrArrow(UINT key)
{
    return key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN);
}

// Keys that start editing without being typed into the editor.
bool OnlyStarts(UINT key)
{
    return key == VK_LBUTTON || key == VK_RETURN || (key >= VK_PRIOR && key <= VK_DOWN);
}

}

BEGIN_MESSAGE_MAP(CInPlaceMaskedEdit, CMaskedEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceMaskedEdit::CInPlaceMaskedEdit(int row, int col, LPCWSTR text, const MaskFormat& format)
    : CMaskedEdit(format), m_row(row), m_col(col), m_initialText(text)
{
}

CInPlaceMaskedEdit* CInPlaceMaskedEdit::Start(CWnd* grid, const CRect& rect, UINT id, int row, int col,
                                              LPCWSTR text, UINT firstChar, const MaskFormat& format)
{
    if (grid == nullptr || grid->GetSafeHwnd() == nullptr)
        return nullptr;
    auto* editor = new CInPlaceMaskedEdit(row, col, text, format);
    if (!editor->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rect, grid, id)) {
        delete editor;
        return nullptr;
    }
    editor->SetWindowText(text);
    editor->SetFont(grid->GetFont());
    editor->SetFocus();
    // Typing overwrites from the first place, as the mask has no insert mode.
    editor->SetSel(0, 0);
    if (!OnlyStarts(firstChar))
        editor->SendMessage(WM_CHAR, firstChar);
    return editor;
}

void CInPlaceMaskedEdit::FinishWith(UINT key)
{
    m_endKey = key;
    if (CWnd* parent = GetParent())
        parent->SetFocus();
}

void CInPlaceMaskedEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (ch == VK_ESCAPE)
        SetWindowText(m_initialText);
    if (ch == VK_ESCAPE || ch == VK_TAB || ch == VK_RETURN) {
        FinishWith(ch);
        return;
    }
    CMaskedEdit::OnChar(ch, repeat, flags);
}

void CInPlaceMaskedEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    const bool controlHeld = IsControlDown() || (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (IsPagingOrArrow(key) && (controlHeld || m_arrowsEndEditing)) {
        FinishWith(key);
        return;
    }
    CMaskedEdit::OnKeyDown(key, repeat, flags);
}

void CInPlaceMaskedEdit::OnKillFocus(CWnd* newWindow)
{
    CMaskedEdit::OnKillFocus(newWindow);
    EndEdit();
}

UINT CInPlaceMaskedEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CInPlaceMaskedEdit::EndEdit()
{
    CString text;
    GetWindowText(text);
    if (IsAddressFormat())
        text.Remove(L' ');
    FinishInPlaceEdit(m_hWnd, m_row, m_col, text, m_endKey);
}

void CInPlaceMaskedEdit::PostNcDestroy()
{
    delete this;
}

}  // namespace ZELL::Grid
