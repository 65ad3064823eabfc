#include "Platform/Controls/EditControl.h"

#include "Platform/Controls/EditContextMenu.h"
#include "Platform/Ui/Caret.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/ScrollBars.h"

#include <algorithm>
#include <cstring>

namespace ZELL::Controls {

LRESULT CEditControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= EM_GETSEL && message <= EM_CHARFROMPOS)
        return OnEditMessage(message, wParam, lParam);
    return OnWindowMessage(message, wParam, lParam);
}

LRESULT CEditControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Measure();
        SetText(create != nullptr && !IS_INTRESOURCE(create->lpszName) ? create->lpszName : nullptr, false);
        return 0;
    }
    case WM_SETTEXT: return SetText(reinterpret_cast<LPCWSTR>(lParam), true) ? TRUE : FALSE;
    case WM_GETTEXT: return GetText(wParam, lParam);
    case WM_GETTEXTLENGTH: return m_text.Length();
    case WM_GETDLGCODE: return DialogCode(lParam);
    case WM_CHAR: {
        const SelectionMark before = MarkSelection();
        OnChar(static_cast<wchar_t>(wParam));
        OfferSelectionIfChanged(before);
        return 0;
    }
    case WM_KEYDOWN: {
        if (wParam == VK_APPS)  // the default procedure turns it into WM_CONTEXTMENU
            return CControlWindow::OnMessage(message, wParam, lParam);
        const SelectionMark before = MarkSelection();
        OnKeyDown(wParam);
        OfferSelectionIfChanged(before);
        return 0;
    }
    case WM_CONTEXTMENU: CEditContextMenu(Hwnd()).Show(lParam); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(lParam, wParam); return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(lParam);
        OfferSelection();
        return 0;
    case WM_MBUTTONDOWN: PasteAt(lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_LBUTTONUP:
        if (m_dragging) {
            ReleaseCapture();
            OfferSelection();
        }
        EndDrag();
        return 0;
    case WM_CAPTURECHANGED: EndDrag(); return 0;
    case WM_TIMER: OnDragTimer(); return 0;
    case WM_SETFOCUS: OnFocus(true); return 0;
    case WM_KILLFOCUS: OnFocus(false); return 0;
    case WM_SIZE: Relayout(); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(static_cast<DWORD>(wParam))); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(static_cast<DWORD>(wParam))); return 0;
    case WM_CUT: Cut(); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_CLEAR: Clear(); return 0;
    case WM_UNDO: Undo(); return TRUE;
    case WM_SETFONT: {
        const LRESULT result = CControlWindow::OnMessage(message, wParam, lParam);
        Measure();
        Relayout();
        if (m_focused) {
            CreateCaret(Hwnd(), nullptr, 1, m_lineHeight);
            UpdateCaret();
            ShowCaret(Hwnd());
        }
        return result;
    }
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

LRESULT CEditControl::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case EM_GETSEL: return GetSel(wParam, lParam);
    case EM_SETSEL: SetSel(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        InsertByUser(text != nullptr ? text : L"", false, wParam != 0);
        return 0;
    }
    case EM_SCROLLCARET: ScrollToCaret(); return TRUE;
    case EM_GETLINECOUNT: return m_layout.LineCount();
    case EM_LINEINDEX: return LineIndex(static_cast<int>(wParam));
    case EM_LINELENGTH: return LineLength(static_cast<int>(wParam));
    case EM_LINEFROMCHAR: return LineFromChar(static_cast<int>(wParam));
    case EM_GETLINE: return GetLine(wParam, lParam);
    case EM_GETMODIFY: return m_modified ? TRUE : FALSE;
    case EM_SETMODIFY: m_modified = wParam != 0; return 0;
    case EM_CANUNDO: return m_undo.CanUndo() ? TRUE : FALSE;
    case EM_UNDO: Undo(); return TRUE;
    case EM_EMPTYUNDOBUFFER: m_undo.Clear(); return 0;
    case EM_LIMITTEXT: SetLimit(wParam); return 0;
    case EM_GETLIMITTEXT: return m_limit;
    case EM_SETPASSWORDCHAR:
        m_passwordChar = static_cast<wchar_t>(wParam);
        Relayout();
        return 0;
    case EM_GETPASSWORDCHAR: return m_passwordChar;
    case EM_SETREADONLY: {
        const DWORD style = wParam != 0 ? Style() | ES_READONLY : Style() & ~ES_READONLY;
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, static_cast<LONG_PTR>(style));
        Redraw();
        return TRUE;
    }
    case EM_GETFIRSTVISIBLELINE:
        return Multiline() ? m_top : IndexAt(POINT{FormatRect().left, FormatRect().top});
    case EM_LINESCROLL:
        if (!Multiline())
            return FALSE;
        SetXOffset(m_xOffset + static_cast<int>(wParam) * m_charWidth);
        SetTop(m_top + static_cast<int>(lParam));
        return TRUE;
    case EM_POSFROMCHAR: return PosFromChar(static_cast<int>(wParam));
    case EM_CHARFROMPOS: return CharFromPos(lParam);
    case EM_SETMARGINS: SetMargins(wParam, lParam); return 0;
    case EM_SETTABSTOPS: return SetTabStops(wParam, reinterpret_cast<const int*>(lParam)) ? TRUE : FALSE;
    case EM_GETMARGINS: return MAKELRESULT(static_cast<WORD>(m_leftMargin), static_cast<WORD>(m_rightMargin));
    case EM_GETRECT:
        if (auto* out = reinterpret_cast<RECT*>(lParam))
            *out = FormatRect();
        return 0;
    case EM_SETRECT: SetRect(reinterpret_cast<const RECT*>(lParam), true); return 0;
    case EM_SETRECTNP: SetRect(reinterpret_cast<const RECT*>(lParam), false); return 0;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// Multi-line edits want every key, except that Tab and Esc stay with the
// dialog and so does Enter unless the edit takes it.
LRESULT CEditControl::DialogCode(LPARAM msg) const
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!Multiline())
        return code;
    code |= DLGC_WANTALLKEYS;
    if (const auto* m = reinterpret_cast<const MSG*>(msg); m != nullptr && m->message == WM_KEYDOWN) {
        const bool enterForDialog = m->wParam == VK_RETURN && (Style() & ES_WANTRETURN) == 0;
        if (m->wParam == VK_TAB || m->wParam == VK_ESCAPE || enterForDialog)
            code &= ~DLGC_WANTALLKEYS;
    }
    return code;
}

// The platform tells the parent of a text set from outside as of a user's change.
bool CEditControl::SetText(LPCWSTR text, bool notify)
{
    if (!m_text.Assign(text != nullptr ? std::wstring(text) : std::wstring())) {
        NotifyParent(EN_ERRSPACE);
        return false;
    }
    m_undo.Clear();
    m_modified = false;
    m_anchor = m_caret = 0;
    m_top = 0;
    m_xOffset = 0;
    Relayout();
    UpdateCaret();
    if (notify) {
        NotifyParent(EN_UPDATE);
        NotifyParent(EN_CHANGE);
    }
    return true;
}

LRESULT CEditControl::GetText(WPARAM size, LPARAM buffer) const
{
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (out == nullptr || size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(size - 1, m_text.Text().size());
    std::memcpy(out, m_text.Text().data(), count * sizeof(wchar_t));
    out[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT CEditControl::GetSel(WPARAM start, LPARAM end) const
{
    const int first = std::min(m_anchor, m_caret);
    const int last = std::max(m_anchor, m_caret);
    if (auto* out = reinterpret_cast<DWORD*>(start))
        *out = static_cast<DWORD>(first);
    if (auto* out = reinterpret_cast<DWORD*>(end))
        *out = static_cast<DWORD>(last);
    if (last > 0xFFFF)
        return -1;
    return MAKELRESULT(static_cast<WORD>(first), static_cast<WORD>(last));
}

// -1 as start takes the selection away; -1 as end (or any value past the
// text) reaches to the end.
void CEditControl::SetSel(int start, int end)
{
    if (start == -1) {
        MoveCaret(m_caret, false);
        return;
    }
    const int length = m_text.Length();
    start = start < 0 ? length : std::min(start, length);
    end = end < 0 ? length : std::min(end, length);
    m_anchor = start;
    MoveCaret(end, true);
}

LRESULT CEditControl::GetLine(WPARAM line, LPARAM buffer) const
{
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (out == nullptr)
        return 0;
    // The first word of the buffer holds its size in characters.
    WORD size = 0;
    std::memcpy(&size, out, sizeof(size));
    const int index = Multiline() ? static_cast<int>(line) : 0;
    if (index < 0 || index >= m_layout.LineCount())
        return 0;
    const EditLine& l = m_layout.Line(index);
    const int count = std::min<int>(l.length, size);
    std::memcpy(out, m_text.Text().data() + l.start, static_cast<std::size_t>(count) * sizeof(wchar_t));
    if (count < size)
        out[count] = L'\0';
    return count;
}

LRESULT CEditControl::LineIndex(int line) const
{
    if (line == -1)
        line = m_layout.LineOf(m_caret);
    if (line < 0 || line >= m_layout.LineCount())
        return -1;
    return m_layout.Line(line).start;
}

// -1: what is not selected on the lines the selection touches.
LRESULT CEditControl::LineLength(int index) const
{
    if (!Multiline())
        return m_text.Length();
    if (index == -1) {
        const int first = std::min(m_anchor, m_caret);
        const int last = std::max(m_anchor, m_caret);
        const EditLine& top = m_layout.Line(m_layout.LineOf(first));
        const EditLine& bottom = m_layout.Line(m_layout.LineOf(last));
        return (first - top.start) + std::max(0, bottom.start + bottom.length - last);
    }
    if (index < 0 || index > m_text.Length())
        return 0;
    return m_layout.Line(m_layout.LineOf(index)).length;
}

LRESULT CEditControl::LineFromChar(int index) const
{
    if (index == -1)
        index = std::min(m_anchor, m_caret);
    return m_layout.LineOf(m_text.Clamp(index));
}

LRESULT CEditControl::PosFromChar(int index) const
{
    if (index < 0 || index > m_text.Length())
        return -1;
    const POINT p = PositionOf(index);
    return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

LRESULT CEditControl::CharFromPos(LPARAM point) const
{
    const POINT p{static_cast<SHORT>(LOWORD(static_cast<DWORD>(point))), static_cast<SHORT>(HIWORD(static_cast<DWORD>(point)))};
    const int index = IndexAt(p);
    const int line = m_layout.LineOf(index);
    return MAKELRESULT(static_cast<WORD>(index), static_cast<WORD>(line));
}

void CEditControl::SetLimit(WPARAM limit)
{
    m_limit = limit == 0 || limit > static_cast<WPARAM>(kMaxLimit) ? kMaxLimit : static_cast<int>(limit);
}

// Tab stops come in dialog units (a quarter of the font's average character
// width); none means one every 32, one means one every so many. Only a
// multi-line edit has them.
bool CEditControl::SetTabStops(WPARAM count, const int* stops)
{
    if (!Multiline() || (count > 0 && stops == nullptr) || count > kMaxTabStops)
        return false;
    m_tabStops.assign(stops, stops + count);
    m_tabEvery = count == 1 ? std::max(1, stops[0]) : kDefaultTabStop;
    if (count == 1)
        m_tabStops.clear();
    ApplyTabStops();
    Relayout();
    return true;
}

void CEditControl::SetMargins(WPARAM which, LPARAM margins)
{
    const WORD left = LOWORD(static_cast<DWORD>(margins));
    const WORD right = HIWORD(static_cast<DWORD>(margins));
    // The font's own margin: a third of its average character.
    const int fromFont = std::max(1, m_charWidth / 3);
    if ((which & EC_LEFTMARGIN) != 0)
        m_leftMargin = left == EC_USEFONTINFO ? fromFont : left;
    if ((which & EC_RIGHTMARGIN) != 0)
        m_rightMargin = right == EC_USEFONTINFO ? fromFont : right;
    Relayout();
}

// Null puts the rectangle back to the client area less the margins.
void CEditControl::SetRect(const RECT* rect, bool redraw)
{
    m_customRect = rect != nullptr;
    if (rect != nullptr)
        m_rect = *rect;
    Relayout(redraw);
}

}
