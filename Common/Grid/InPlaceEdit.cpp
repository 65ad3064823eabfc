#include "Common/Grid/InPlaceEdit.h"

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"

#include <algorithm>

namespace ZELL::Grid {

namespace {

constexpr UINT kImeChar = 0x0286;

bool ControlHeld()
{
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool IsPagingOrArrow(UINT key)
{
    return key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN);
}

}

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(int row, int col, LPCWSTR text) : m_row(row), m_col(col), m_initialText(text) {}

CInPlaceEdit* CInPlaceEdit::Start(CWnd* grid, const CRect& rect, DWORD style, UINT id, int row, int col,
                                  LPCWSTR text, UINT firstChar)
{
    if (grid == nullptr || grid->GetSafeHwnd() == nullptr)
        return nullptr;
    auto* editor = new CInPlaceEdit(row, col, text);
    if (!editor->Create(style | WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, grid, id)) {
        delete editor;
        return nullptr;
    }
    editor->SetFont(grid->GetFont());
    editor->SetWindowText(text);
    editor->SetFocus();
    editor->PlaceCaret(firstChar);
    return editor;
}

void CInPlaceEdit::PlaceCaret(UINT firstChar)
{
    switch (firstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        SetSel(m_initialText.GetLength(), m_initialText.GetLength());
        break;
    case VK_BACK:
        SetSel(m_initialText.GetLength(), m_initialText.GetLength());
        PostMessage(WM_CHAR, VK_BACK, 0);
        break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        SetSel(0, -1);
        break;
    default:
        SetSel(0, -1);
        PostMessage(firstChar > 127 ? kImeChar : WM_CHAR, firstChar, 0);
        break;
    }
    SendMessage(EM_SCROLLCARET);
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(msg);
}

void CInPlaceEdit::FinishWith(UINT key)
{
    m_endKey = key;
    if (CWnd* parent = GetParent())
        parent->SetFocus();
}

void CInPlaceEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (ch == VK_ESCAPE) {
        SetWindowText(m_initialText);
        FinishWith(ch);
        return;
    }
    if (ch == VK_TAB || ch == VK_RETURN) {
        FinishWith(ch);
        return;
    }
    CEdit::OnChar(ch, repeat, flags);
    GrowToText();
}

void CInPlaceEdit::GrowToText()
{
    CString text;
    GetWindowText(text);
    CDC* dc = GetDC();
    if (dc == nullptr)
        return;
    CFont* old = dc->SelectObject(GetFont());
    const int width = dc->GetTextExtent(text + L"  ").cx;
    dc->SelectObject(old);
    ReleaseDC(dc);
    CRect rect;
    GetWindowRect(rect);
    CWnd* parent = GetParent();
    parent->ScreenToClient(rect);
    if (width <= rect.Width())
        return;
    CRect client;
    parent->GetClientRect(client);
    rect.right = std::min(rect.left + width, static_cast<int>(client.right));
    MoveWindow(rect);
}

void CInPlaceEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (IsPagingOrArrow(key) && (ControlHeld() || m_arrowsEndEditing)) {
        FinishWith(key);
        return;
    }
    CEdit::OnKeyDown(key, repeat, flags);
}

void CInPlaceEdit::OnKillFocus(CWnd* newWindow)
{
    CEdit::OnKillFocus(newWindow);
    EndEdit();
}

UINT CInPlaceEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CInPlaceEdit::EndEdit()
{
    CString text;
    GetWindowText(text);
    FinishInPlaceEdit(m_hWnd, m_row, m_col, text, m_endKey);
}

void CInPlaceEdit::PostNcDestroy()
{
    delete this;
}

}  // namespace ZELL::Grid
