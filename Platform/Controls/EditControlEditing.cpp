// The changes a user (or EM_REPLACESEL) makes to the text.
#include "Platform/Base/WideRuntime.h"
#include "Platform/Controls/EditClipboard.h"
#include "Platform/Ui/PointerSelection.h"
#include "Platform/Controls/EditControl.h"

#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

constexpr wchar_t kSelectAll = 0x01;   // Ctrl+A
constexpr wchar_t kCopy = 0x03;        // Ctrl+C
constexpr wchar_t kPaste = 0x16;       // Ctrl+V
constexpr wchar_t kCut = 0x18;         // Ctrl+X
constexpr wchar_t kUndo = 0x1A;        // Ctrl+Z

void Beep()
{
    MessageBeep(0);
}

}

void CEditControl::Change(int start, int end, const std::wstring& inserted, bool canUndo, bool typed)
{
    EditChange change{start, m_text.Range(start, end), inserted};
    if (!m_text.Replace(start, end, inserted)) {
        NotifyParent(EN_ERRSPACE);
        return;
    }
    if (canUndo)
        m_undo.Record(change, typed);
    else
        m_undo.Clear();
    m_modified = true;
    m_anchor = m_caret = start + static_cast<int>(inserted.size());
    m_goalX = -1;
    Relayout();
    ScrollToCaret();
    NotifyParent(EN_UPDATE);
    UpdateCaret();
    NotifyParent(EN_CHANGE);
}

std::wstring CEditControl::Converted(std::wstring text) const
{
    if ((Style() & ES_UPPERCASE) != 0)
        std::transform(text.begin(), text.end(), text.begin(), &Text::ToUpperChar);
    else if ((Style() & ES_LOWERCASE) != 0)
        std::transform(text.begin(), text.end(), text.begin(), &Text::ToLowerChar);
    return text;
}

bool CEditControl::InsertByUser(std::wstring text, bool typed, bool canUndo)
{
    // A single line takes what comes before the first line break.
    if (!Multiline())
        text = text.substr(0, text.find_first_of(L"\r\n"));
    text = Converted(std::move(text));
    const int start = std::min(m_anchor, m_caret);
    const int end = std::max(m_anchor, m_caret);
    const long long room = static_cast<long long>(m_limit) - (m_text.Length() - (end - start));
    bool cut = false;
    if (static_cast<long long>(text.size()) > room) {
        text.resize(static_cast<std::size_t>(std::max(0LL, room)));
        // Never leave half of a line break behind.
        if (!text.empty() && text.back() == L'\r')
            text.pop_back();
        cut = true;
    }
    if (cut && text.empty()) {
        NotifyParent(EN_MAXTEXT);
        return false;
    }
    std::wstring next = m_text.Text();
    next.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
    if (!Fits(next)) {
        NotifyParent(EN_MAXTEXT);
        return false;
    }
    if (cut)
        NotifyParent(EN_MAXTEXT);
    if (text.empty() && start == end)
        return false;
    Change(start, end, text, canUndo, typed && start == end);
    return true;
}

void CEditControl::OnChar(wchar_t c)
{
    switch (c) {
    case kCopy: Copy(); return;
    case kCut: Cut(); return;
    case kPaste: Paste(); return;
    case kUndo: Undo(); return;
    case kSelectAll: SetSel(0, -1); return;
    case L'\b': DeleteBack(); return;
    case L'\r':
    case L'\n':
        if (Multiline())
            TypeCharacter(L'\n');
        return;
    case L'\t':
        if (Multiline())
            TypeCharacter(c);
        return;
    default:
        if (c >= L' ' && c != 0x7F)
            TypeCharacter(c);
        return;
    }
}

void CEditControl::TypeCharacter(wchar_t c)
{
    if (ReadOnly()) {
        Beep();
        return;
    }
    if ((Style() & ES_NUMBER) != 0 && (c < L'0' || c > L'9')) {
        Beep();
        return;
    }
    InsertByUser(c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c), true);
}

void CEditControl::DeleteBack()
{
    if (ReadOnly()) {
        Beep();
        return;
    }
    if (m_anchor != m_caret) {
        Change(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret), L"", true, false);
        return;
    }
    if (m_caret > 0)
        Change(StepLeft(m_caret), m_caret, L"", true, true);
}

void CEditControl::DeleteForward()
{
    if (ReadOnly()) {
        Beep();
        return;
    }
    if (m_anchor != m_caret)
        Change(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret), L"", true, false);
    else if (m_caret < m_text.Length())
        Change(m_caret, StepRight(m_caret), L"", true, false);
}

// The text the last change put in goes, what it took out comes back selected.
void CEditControl::Undo()
{
    if (ReadOnly() || !m_undo.CanUndo())
        return;
    const EditChange reverse = m_undo.TakeReverse();
    const int end = reverse.start + static_cast<int>(reverse.removed.size());
    m_text.Replace(reverse.start, end, reverse.inserted);
    m_modified = true;
    m_anchor = reverse.start;
    m_caret = reverse.start + static_cast<int>(reverse.inserted.size());
    Relayout();
    ScrollToCaret();
    NotifyParent(EN_UPDATE);
    UpdateCaret();
    NotifyParent(EN_CHANGE);
}

// A password never leaves the edit.
bool CEditControl::Copy() const
{
    if (Password() || m_anchor == m_caret)
        return false;
    return PutClipboardText(Hwnd(), m_text.Range(m_anchor, m_caret));
}

void CEditControl::Cut()
{
    if (ReadOnly() || Password() || m_anchor == m_caret)
        return;
    if (Copy())
        Clear();
}

void CEditControl::Paste()
{
    if (ReadOnly())
        return;
    if (std::optional<std::wstring> text = ClipboardText(Hwnd()))
        InsertByUser(std::move(*text), false);
}

void CEditControl::OfferSelectionIfChanged(SelectionMark before) const
{
    if (before != MarkSelection())
        OfferSelection();
}

void CEditControl::OfferSelection() const
{
    // A password is never handed out; an empty selection keeps what was offered last.
    if (Password() || m_anchor == m_caret)
        return;
    Ui::OfferPointerSelection(m_text.Range(m_anchor, m_caret));
}

void CEditControl::PasteAt(LPARAM point)
{
    if (!m_focused)
        SetFocus(Hwnd());
    if (ReadOnly())
        return;
    std::optional<std::wstring> text = Ui::PointerSelectionText();
    if (!text || text->empty())
        return;
    MoveCaret(IndexAt(PointOf(point)), false);
    InsertByUser(std::move(*text), false);
}

void CEditControl::Clear()
{
    if (ReadOnly() || m_anchor == m_caret)
        return;
    Change(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret), L"", true, false);
}

}
