#include "Common/Grid/MaskedEdit.h"

#include "Platform/Controls/EditClipboard.h"

#include <algorithm>

namespace ZELL::Grid {

BEGIN_MESSAGE_MAP(CMaskedEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_MESSAGE(WM_PASTE, OnPasteMessage)
    ON_MESSAGE(WM_CUT, OnClearMessage)
    ON_MESSAGE(WM_CLEAR, OnClearMessage)
END_MESSAGE_MAP()

CMaskedEdit::CMaskedEdit(const MaskFormat& format)
    : m_input(format.mask, format.allowed, format.addressRules), m_addressRules(format.addressRules)
{
}

bool CMaskedEdit::SetMask(LPCWSTR mask)
{
    if (!m_input.SetMask(mask))
        return false;
    if (GetSafeHwnd() != nullptr)
        Store();
    return true;
}

bool CMaskedEdit::SetAllowed(LPCWSTR allowed)
{
    if (!m_input.SetAllowed(allowed))
        return false;
    if (GetSafeHwnd() != nullptr)
        Store();
    return true;
}

void CMaskedEdit::Load()
{
    CString text;
    GetWindowText(text);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    m_input.SetText(text);
    m_input.Select(start, end);
}

void CMaskedEdit::Store()
{
    SetWindowText(m_input.GetText());
    SetSel(m_input.GetSelStart(), m_input.GetSelEnd());
    SendMessage(EM_SCROLLCARET);
}

void CMaskedEdit::OnChar(UINT ch, UINT, UINT)
{
    Load();
    m_input.Type(static_cast<wchar_t>(ch));
    Store();
}

void CMaskedEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_CONTROL)
        m_controlDown = true;
    // Overtyping is the only mode the mask knows.
    if (key == VK_INSERT)
        return;
    if (m_controlDown && key == 'V') {
        PasteClipboard();
        return;
    }
    if (key == VK_DELETE || (m_controlDown && key == 'X')) {
        ClearSelection();
        return;
    }
    if (m_controlDown && key == 'C') {
        Copy();
        return;
    }
    CEdit::OnKeyDown(key, repeat, flags);
}

void CMaskedEdit::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_CONTROL)
        m_controlDown = false;
    CEdit::OnKeyUp(key, repeat, flags);
}

LRESULT CMaskedEdit::OnPasteMessage(WPARAM, LPARAM)
{
    PasteClipboard();
    return 0;
}

LRESULT CMaskedEdit::OnClearMessage(WPARAM, LPARAM)
{
    ClearSelection();
    return 0;
}

void CMaskedEdit::PasteClipboard()
{
    const std::optional<std::wstring> text = ZELL::Controls::ClipboardText(GetSafeHwnd());
    if (!text)
        return;
    Load();
    m_input.Paste(CString(text->c_str()));
    Store();
}

void CMaskedEdit::ClearSelection()
{
    Load();
    const int start = m_input.GetSelStart();
    const int end = m_input.GetSelEnd();
    m_input.Clear();
    SetWindowText(m_input.GetText());
    // The selection stays where it was, as far as the text still reaches.
    const int length = m_input.GetText().GetLength();
    SetSel(std::min(start, length), std::min(end, length));
}

}  // namespace ZELL::Grid
