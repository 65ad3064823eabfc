// Where the text shows: the formatting rectangle, the lines in it, the
// scroll position, the caret's place and the painting.
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Controls/EditControl.h"

#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Caret.h"
#include "Platform/Ui/ScrollBars.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// A context of the window with the edit's font, for measuring.
class CMeasureContext {
public:
    CMeasureContext(HWND hwnd, HFONT font) : m_hwnd(hwnd), m_dc(GetDC(hwnd)), m_old(SelectObject(m_dc, font)) {}
    ~CMeasureContext()
    {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_hwnd, m_dc);
    }
    CMeasureContext(const CMeasureContext&) = delete;
    CMeasureContext& operator=(const CMeasureContext&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_hwnd = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

}

// A single line sits in the middle of the height; lines of a multi-line
// edit start at the top.
RECT CEditControl::FormatRect() const
{
    if (m_customRect)
        return m_rect;
    RECT r = Client();
    r.left += m_leftMargin;
    r.right = std::max(r.left, r.right - m_rightMargin);
    if (!Multiline()) {
        const int spare = (r.bottom - r.top) - m_lineHeight;
        r.top += std::max(0, spare / 2);
        r.bottom = r.top + m_lineHeight;
    }
    return r;
}

int CEditControl::FormatWidth() const
{
    const RECT r = FormatRect();
    return std::max(0, static_cast<int>(r.right - r.left));
}

int CEditControl::VisibleLines() const
{
    const RECT r = FormatRect();
    return std::max(1, static_cast<int>(r.bottom - r.top) / std::max(1, m_lineHeight));
}

// A single-line edit that does not scroll sideways takes no more than its
// width shows, and a multi-line edit that does not scroll down (no
// ES_AUTOVSCROLL) no more lines than it shows.
bool CEditControl::Fits(const std::wstring& next) const
{
    const bool growsSideways = !Multiline() && (Style() & ES_AUTOHSCROLL) == 0;
    const bool growsDown = Multiline() && (Style() & ES_AUTOVSCROLL) == 0;
    if (!growsSideways && !growsDown)
        return true;
    CMeasureContext context(Hwnd(), Font());
    if (growsDown) {
        CEditLayout probe = m_layout;
        probe.Reflow(context.Dc(), next, Wraps() ? std::max(1, FormatWidth()) : 0);
        return probe.LineCount() <= VisibleLines();
    }
    const std::wstring shown = Password() ? std::wstring(next.size(), m_passwordChar) : next;
    const EditLine whole{0, static_cast<int>(shown.size()), 0};
    return m_layout.Width(context.Dc(), shown, whole) <= FormatWidth();
}

void CEditControl::Measure()
{
    CMeasureContext context(Hwnd(), Font());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(context.Dc(), &metrics) != FALSE) {
        m_lineHeight = std::max<int>(1, metrics.tmHeight);
        m_charWidth = std::max<int>(1, metrics.tmAveCharWidth);
    }
    ApplyTabStops();
}

void CEditControl::ApplyTabStops()
{
    if (!Multiline())
        return;
    std::vector<int> pixels;
    for (int units : m_tabStops)
        pixels.push_back(std::max(0, units) * m_charWidth / 4);
    m_layout.SetTabStops(std::move(pixels), std::max(1, m_tabEvery * m_charWidth / 4));
}

void CEditControl::Relayout(bool redraw)
{
    {
        CMeasureContext context(Hwnd(), Font());
        m_shown = Password() ? std::wstring(m_text.Text().size(), m_passwordChar) : m_text.Text();
        m_layout.Reflow(context.Dc(), m_shown, Wraps() ? std::max(1, FormatWidth()) : 0, Multiline());
        m_textWidth = m_layout.MaxWidth(context.Dc(), m_shown);
    }
    SetTop(m_top);
    SetXOffset(m_xOffset);
    UpdateScrollBars();
    if (redraw)
        Redraw();
}

int CEditControl::AlignOffset(const EditLine& line) const
{
    const DWORD align = Style() & (ES_CENTER | ES_RIGHT);
    if (align == ES_LEFT)
        return 0;
    CMeasureContext context(Hwnd(), Font());
    const int spare = FormatWidth() - m_layout.Width(context.Dc(), Shown(), line);
    if (spare <= 0)
        return 0;
    return align == ES_CENTER ? spare / 2 : spare;
}

POINT CEditControl::PositionOf(int index) const
{
    const RECT format = FormatRect();
    const int lineIndex = m_layout.LineOf(index);
    const EditLine& line = m_layout.Line(lineIndex);
    CMeasureContext context(Hwnd(), Font());
    const int x = m_layout.XOf(context.Dc(), Shown(), line, index);
    return POINT{format.left + AlignOffset(line) + x - m_xOffset, format.top + (lineIndex - m_top) * m_lineHeight};
}

int CEditControl::IndexAt(POINT p) const
{
    const RECT format = FormatRect();
    const int dy = p.y - format.top;
    const int row = dy >= 0 ? dy / m_lineHeight : -((-dy + m_lineHeight - 1) / m_lineHeight);
    const EditLine& line = m_layout.Line(m_top + row);
    CMeasureContext context(Hwnd(), Font());
    return m_layout.IndexAt(context.Dc(), Shown(), line, p.x - format.left - AlignOffset(line) + m_xOffset);
}

void CEditControl::ScrollToCaret()
{
    const int line = m_layout.LineOf(m_caret);
    if (Multiline()) {
        if (line < m_top)
            SetTop(line);
        else if (line >= m_top + VisibleLines())
            SetTop(line - VisibleLines() + 1);
    }
    if (!ScrollsSideways())
        return;
    const RECT format = FormatRect();
    const int width = FormatWidth();
    const int x = PositionOf(m_caret).x - format.left + m_xOffset;
    // Scroll by a third of the width, so that typing on does not scroll at every key.
    if (x < m_xOffset)
        SetXOffset(x - width / 3);
    else if (x >= m_xOffset + width)
        SetXOffset(x - width + width / 3);
}

void CEditControl::SetTop(int line)
{
    const int top = std::clamp(line, 0, std::max(0, m_layout.LineCount() - VisibleLines()));
    if (!Multiline() || top == m_top) {
        m_top = Multiline() ? top : 0;
        return;
    }
    m_top = top;
    UpdateScrollBars();
    Redraw();
    UpdateCaret();
}

void CEditControl::SetXOffset(int x)
{
    const int offset = std::clamp(x, 0, std::max(0, m_textWidth - FormatWidth() + 1));
    if (offset == m_xOffset)
        return;
    m_xOffset = offset;
    UpdateScrollBars();
    Redraw();
    UpdateCaret();
}

void CEditControl::UpdateScrollBars()
{
    const DWORD style = Style();
    if ((style & WS_VSCROLL) != 0) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = std::max(0, m_layout.LineCount() - 1);
        info.nPage = static_cast<UINT>(VisibleLines());
        info.nPos = m_top;
        SetScrollInfo(Hwnd(), SB_VERT, &info, TRUE);
    }
    if ((style & WS_HSCROLL) != 0) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = std::max(0, m_textWidth);
        info.nPage = static_cast<UINT>(FormatWidth());
        info.nPos = m_xOffset;
        SetScrollInfo(Hwnd(), SB_HORZ, &info, TRUE);
    }
}

void CEditControl::UpdateCaret() const
{
    if (!m_focused)
        return;
    const POINT p = PositionOf(m_caret);
    SetCaretPos(p.x, p.y);
}

// The bars move the view, never the caret; the parent hears EN_VSCROLL or
// EN_HSCROLL.
void CEditControl::OnScroll(int bar, WORD code)
{
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Hwnd(), bar, &info);
    const bool vertical = bar == SB_VERT;
    const int current = vertical ? m_top : m_xOffset;
    const int line = vertical ? 1 : m_charWidth;
    const int page = vertical ? std::max(1, VisibleLines() - 1) : std::max(1, FormatWidth() - m_charWidth);
    int target = current;
    switch (code) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = info.nMax; break;
    default: return;
    }
    if (target == current)
        return;
    NotifyParent(vertical ? EN_VSCROLL : EN_HSCROLL);
    if (Gone())
        return;
    if (vertical)
        SetTop(target);
    else
        SetXOffset(target);
}

void CEditControl::Paint(HDC dc)
{
    const bool greyed = !Enabled();
    HBRUSH brush = ControlColorBrush(Hwnd(), dc, greyed || ReadOnly() ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    const RECT client = Client();
    FillRect(dc, &client, brush);
    const COLORREF text = greyed ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
    const RECT format = FormatRect();
    IntersectClipRect(dc, format.left, format.top, format.right, format.bottom);
    SetBkMode(dc, TRANSPARENT);
    const int last = std::min(m_layout.LineCount(), m_top + VisibleLines() + 1);
    for (int line = m_top; line < last; ++line)
        PaintLine(dc, line, text);
}

// The selection shows in the highlight colours while the edit has the focus
// (always with ES_NOHIDESEL).
void CEditControl::PaintLine(HDC dc, int lineIndex, COLORREF text) const
{
    const EditLine& line = m_layout.Line(lineIndex);
    const std::wstring& shown = Shown();
    const POINT origin = PositionOf(line.start);
    SetTextColor(dc, text);
    DrawRun(dc, origin, line, line.start, line.start + line.length);
    const bool showSelection = m_focused || (Style() & ES_NOHIDESEL) != 0;
    const int from = std::max(std::min(m_anchor, m_caret), line.start);
    const int to = std::min(std::max(m_anchor, m_caret), line.start + line.length);
    if (!showSelection || from >= to)
        return;
    const int left = origin.x + m_layout.XOf(dc, shown, line, from);
    const int right = origin.x + m_layout.XOf(dc, shown, line, to);
    const RECT band{left, origin.y, right, origin.y + m_lineHeight};
    FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawRun(dc, origin, line, from, to);
}

void CEditControl::DrawRun(HDC dc, POINT origin, const EditLine& line, int from, int to) const
{
    const std::wstring& shown = Shown();
    while (from < to) {
        const int runEnd = static_cast<int>(std::min<std::size_t>(shown.find(L'\t', static_cast<std::size_t>(from)),
                                                                  static_cast<std::size_t>(to)));
        if (runEnd > from || !Multiline()) {
            const int end = Multiline() ? runEnd : to;
            TextOutW(dc, origin.x + m_layout.XOf(dc, shown, line, from), origin.y, shown.c_str() + from, end - from);
            from = end;
        } else {
            ++from;  // the tab itself shows as room
        }
    }
}

}
