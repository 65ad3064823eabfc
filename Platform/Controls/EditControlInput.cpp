// The caret and the selection as keys and the mouse move them, and the focus.
#include "Platform/Controls/EditControl.h"

#include "Platform/Ui/Caret.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kDragTimer = 1;
constexpr UINT kDragInterval = 100;


}

// A line break is one step.
int CEditControl::StepLeft(int index) const
{
    const std::wstring& t = m_text.Text();
    if (index >= 2 && t[static_cast<std::size_t>(index) - 1] == L'\n' && t[static_cast<std::size_t>(index) - 2] == L'\r')
        return index - 2;
    return std::max(0, index - 1);
}

int CEditControl::StepRight(int index) const
{
    const std::wstring& t = m_text.Text();
    const int length = m_text.Length();
    if (index + 1 < length && t[static_cast<std::size_t>(index)] == L'\r' && t[static_cast<std::size_t>(index) + 1] == L'\n')
        return index + 2;
    return std::min(length, index + 1);
}

// The index `lines` above or below the caret, as near its column as the
// line allows.
int CEditControl::VerticalTarget(int lines) const
{
    const int line = std::clamp(m_layout.LineOf(m_caret) + lines, 0, m_layout.LineCount() - 1);
    const RECT format = FormatRect();
    const POINT here = PositionOf(m_caret);
    const int x = m_goalX >= 0 ? m_goalX : here.x;
    return IndexAt(POINT{x, format.top + (line - m_top) * m_lineHeight});
}

void CEditControl::OnKeyDown(WPARAM key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const int start = std::min(m_anchor, m_caret);
    const int end = std::max(m_anchor, m_caret);
    const EditLine& line = m_layout.Line(m_layout.LineOf(m_caret));
    switch (key) {
    case VK_LEFT:
        if (control)
            MoveCaret(m_text.WordLeft(m_caret), shift);
        else
            MoveCaret(!shift && start != end ? start : StepLeft(m_caret), shift);
        return;
    case VK_RIGHT:
        if (control)
            MoveCaret(m_text.WordRight(m_caret), shift);
        else
            MoveCaret(!shift && start != end ? end : StepRight(m_caret), shift);
        return;
    case VK_UP:
    case VK_DOWN:
        if (!Multiline()) {
            MoveCaret(key == VK_UP ? StepLeft(m_caret) : StepRight(m_caret), shift);
            return;
        }
        MoveCaret(VerticalTarget(key == VK_UP ? -1 : 1), shift, true);
        return;
    case VK_PRIOR:
    case VK_NEXT: {
        if (!Multiline())
            return;
        const int page = std::max(1, VisibleLines() - 1);
        const int target = VerticalTarget(key == VK_PRIOR ? -page : page);
        SetTop(m_top + (key == VK_PRIOR ? -page : page));
        MoveCaret(target, shift, true);
        return;
    }
    case VK_HOME: MoveCaret(control ? 0 : line.start, shift); return;
    case VK_END: MoveCaret(control ? m_text.Length() : line.start + line.length, shift); return;
    case VK_DELETE:
        if (shift)
            Cut();
        else
            DeleteForward();
        return;
    case VK_INSERT:
        if (shift)
            Paste();
        else if (control)
            Copy();
        return;
    default: return;
    }
}

void CEditControl::MoveCaret(int index, bool extend, bool keepGoal)
{
    if (keepGoal && m_goalX < 0)
        m_goalX = PositionOf(m_caret).x;
    if (!keepGoal)
        m_goalX = -1;
    const bool hadSelection = m_anchor != m_caret;
    m_caret = m_text.Clamp(index);
    if (!extend)
        m_anchor = m_caret;
    if (hadSelection || m_anchor != m_caret)
        Redraw();
    ScrollToCaret();
    UpdateCaret();
}

void CEditControl::OnButtonDown(LPARAM point, WPARAM keys)
{
    if (!m_focused)
        SetFocus(Hwnd());
    m_dragPoint = PointOf(point);
    MoveCaret(IndexAt(m_dragPoint), (keys & MK_SHIFT) != 0);
    m_dragging = true;
    SetCapture(Hwnd());
}

void CEditControl::OnDoubleClick(LPARAM point)
{
    int start = 0;
    int end = 0;
    m_text.WordAt(IndexAt(PointOf(point)), start, end);
    m_anchor = start;
    MoveCaret(end, true);
}

// Outside the text, the drag scrolls on a timer while the pointer stays there.
void CEditControl::OnMouseMove(LPARAM point)
{
    if (!m_dragging)
        return;
    m_dragPoint = PointOf(point);
    MoveCaret(IndexAt(m_dragPoint), true);
    const RECT format = FormatRect();
    if (PtInRect(&format, m_dragPoint) == FALSE)
        SetTimer(Hwnd(), kDragTimer, kDragInterval, nullptr);
    else
        KillTimer(Hwnd(), kDragTimer);
}

void CEditControl::OnDragTimer()
{
    if (!m_dragging) {
        KillTimer(Hwnd(), kDragTimer);
        return;
    }
    MoveCaret(IndexAt(m_dragPoint), true);
}

void CEditControl::EndDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    KillTimer(Hwnd(), kDragTimer);
}

void CEditControl::OnFocus(bool focused)
{
    m_focused = focused;
    if (focused) {
        CreateCaret(Hwnd(), nullptr, 1, m_lineHeight);
        UpdateCaret();
        ShowCaret(Hwnd());
    } else {
        DestroyCaret();
    }
    if (m_anchor != m_caret)
        Redraw();
    NotifyParent(focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

}
