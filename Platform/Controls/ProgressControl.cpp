#include "Platform/Controls/ProgressControl.h"

#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// The gap between the blocks of the classic bar.
constexpr int kBlockGap = 2;

LRESULT PackedRange(int low, int high)
{
    return MAKELRESULT(static_cast<WORD>(low), static_cast<WORD>(high));
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}

int CProgressControl::Clamped(long long position) const
{
    return static_cast<int>(std::clamp<long long>(position, m_low, std::max(m_low, m_high)));
}

LRESULT CProgressControl::SetRange(int low, int high)
{
    const LRESULT previous = PackedRange(m_low, m_high);
    if (low != m_low || high != m_high) {
        m_low = low;
        m_high = high;
        m_position = Clamped(m_position);
        Redraw();
    }
    return previous;
}

LRESULT CProgressControl::SetPosition(int position)
{
    const int previous = m_position;
    const int next = Clamped(position);
    if (next != m_position) {
        m_position = next;
        Redraw();
    }
    return previous;
}

// Stepping past an end starts over from the other end.
LRESULT CProgressControl::StepIt()
{
    const int previous = m_position;
    const long long span = static_cast<long long>(m_high) - m_low;
    long long next = static_cast<long long>(m_position) + m_step;
    if (span > 0 && next > m_high)
        next = m_low + (next - m_high) % span;
    else if (span > 0 && next < m_low)
        next = m_high - (m_low - next) % span;
    m_position = Clamped(next);
    if (m_position != previous)
        Redraw();
    return previous;
}

LRESULT CProgressControl::GetRange(WPARAM wantLow, LPARAM range) const
{
    if (auto* out = reinterpret_cast<PBRANGE*>(range)) {
        out->iLow = m_low;
        out->iHigh = m_high;
    }
    return wantLow != 0 ? m_low : m_high;
}

COLORREF CProgressControl::SwapColor(COLORREF& color, LPARAM value)
{
    const COLORREF previous = color;
    color = static_cast<COLORREF>(value);
    Redraw();
    return previous;
}

LRESULT CProgressControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case PBM_SETRANGE:
        return SetRange(LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam)));
    case PBM_SETRANGE32: return SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: return GetRange(wParam, lParam);
    case PBM_SETPOS: return SetPosition(static_cast<int>(wParam));
    case PBM_GETPOS: return m_position;
    case PBM_DELTAPOS: return SetPosition(Clamped(static_cast<long long>(m_position) + static_cast<int>(wParam)));
    case PBM_SETSTEP: {
        const int previous = m_step;
        m_step = static_cast<int>(wParam);
        return previous;
    }
    case PBM_STEPIT: return StepIt();
    case PBM_SETBARCOLOR: return static_cast<LRESULT>(SwapColor(m_barColor, lParam));
    case PBM_SETBKCOLOR: return static_cast<LRESULT>(SwapColor(m_backColor, lParam));
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

void CProgressControl::Paint(HDC dc)
{
    RECT r = Client();
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    Fill(dc, r, m_backColor == CLR_DEFAULT ? GetSysColor(COLOR_3DFACE) : m_backColor);
    InflateRect(&r, -1, -1);
    const bool vertical = (Style() & PBS_VERTICAL) != 0;
    const long long length = vertical ? r.bottom - r.top : r.right - r.left;
    const long long span = static_cast<long long>(m_high) - m_low;
    if (span <= 0 || length <= 0)
        return;
    const int filled = static_cast<int>(length * (static_cast<long long>(m_position) - m_low) / span);
    PaintBar(dc, r, filled, vertical);
}

void CProgressControl::PaintBar(HDC dc, const RECT& area, int filled, bool vertical) const
{
    const COLORREF bar = m_barColor == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : m_barColor;
    if ((Style() & PBS_SMOOTH) != 0) {
        const RECT part = vertical ? RECT{area.left, area.bottom - filled, area.right, area.bottom}
                                   : RECT{area.left, area.top, area.left + filled, area.bottom};
        Fill(dc, part, bar);
        return;
    }
    // Blocks two thirds as long as the bar is thick; a started block is shown whole.
    const int thickness = vertical ? area.right - area.left : area.bottom - area.top;
    const int block = std::max(1, thickness * 2 / 3);
    const int length = vertical ? area.bottom - area.top : area.right - area.left;
    for (int start = 0; start < filled && start < length; start += block + kBlockGap) {
        const int end = std::min(start + block, length);
        const RECT part = vertical ? RECT{area.left, area.bottom - end, area.right, area.bottom - start}
                                   : RECT{area.left + start, area.top, area.left + end, area.bottom};
        Fill(dc, part, bar);
    }
}

}
