#include "Platform/Controls/ScrollBarControl.h"

#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/ScrollBarPainter.h"

#include <climits>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

}

CScrollBarControl::CScrollBarControl(HWND hwnd) : CControlWindow(hwnd), m_tracker(std::make_unique<Ui::ScrollBarTracker>(Host()))
{
}

Ui::ScrollBarHost CScrollBarControl::Host()
{
    Ui::ScrollBarHost host;
    host.vertical = Vertical();
    host.bar = [this] { return Client(); };
    host.model = [this] { return Shown(); };
    host.change = [this](const std::function<void(Ui::ScrollBarModel&)>& change) { change(m_model); };
    host.notify = [this](int code, int pos) { Request(code, pos); };
    host.redraw = [this] { Redraw(); };
    host.schedule = [this](UINT ms) { SetTimer(Hwnd(), kRepeatTimer, ms, nullptr); };
    host.kill = [this] { KillTimer(Hwnd(), kRepeatTimer); };
    return host;
}

Ui::ScrollBarModel CScrollBarControl::Shown() const
{
    Ui::ScrollBarModel shown = m_model;
    if (!Enabled())
        shown.SetDisabledArrows(ESB_DISABLE_BOTH);
    return shown;
}

LRESULT CScrollBarControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: AlignOnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: m_tracker->Move(PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(PointOf(lParam)); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Hwnd())
            m_tracker->Cancel();
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer)
            m_tracker->Tick();
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam))
            return 0;
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_KEYUP:
        if (m_keyCode >= 0) {
            m_keyCode = -1;
            Request(SB_ENDSCROLL, 0);
        }
        return 0;
    case WM_ENABLE:
        if (wParam == 0)
            CancelPress();
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_DESTROY: CancelPress(); return 0;
    case SBM_SETPOS: {
        const int previous = m_model.Pos();
        SCROLLINFO info;
        info.fMask = SIF_POS;
        info.nPos = static_cast<int>(wParam);
        Change(info, lParam != 0);
        return previous;
    }
    case SBM_GETPOS: return m_model.Pos();
    case SBM_SETRANGE: return SetRange(wParam, lParam, false);
    case SBM_SETRANGEREDRAW: return SetRange(wParam, lParam, true);
    case SBM_GETRANGE:
        if (auto* minPos = reinterpret_cast<int*>(wParam))
            *minPos = m_model.Min();
        if (auto* maxPos = reinterpret_cast<int*>(lParam))
            *maxPos = m_model.Max();
        return 0;
    case SBM_ENABLE_ARROWS:
        if (!m_model.SetDisabledArrows(static_cast<UINT>(wParam)))
            return FALSE;
        Redraw();
        return TRUE;
    case SBM_SETSCROLLINFO: {
        const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (info == nullptr || info->cbSize != sizeof(SCROLLINFO))
            return m_model.Pos();
        return Change(*info, wParam != 0);
    }
    case SBM_GETSCROLLINFO: return GetScrollInfoOf(lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// The aligned styles take the standard thickness at one side of the
// rectangle they were given.
void CScrollBarControl::AlignOnCreate(const CREATESTRUCTW& create)
{
    const DWORD style = static_cast<DWORD>(create.style);
    const bool first = (style & SBS_TOPALIGN) != 0;
    const bool second = (style & SBS_BOTTOMALIGN) != 0;
    if (!first && !second)
        return;
    RECT r{create.x, create.y, create.x + create.cx, create.y + create.cy};
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    const bool box = (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
    if (box || (style & SBS_VERT) != 0) {
        if (first)
            r.right = r.left + width;
        else
            r.left = r.right - width;
    }
    if (box || (style & SBS_VERT) == 0) {
        if (first)
            r.bottom = r.top + height;
        else
            r.top = r.bottom - height;
    }
    SetWindowPos(Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CScrollBarControl::OnButtonDown(POINT p)
{
    if (IsSizeBox() || !Enabled())
        return;
    if ((Style() & WS_TABSTOP) != 0)
        SetFocus(Hwnd());
    // The style decides the axis, and it may have changed since the last press.
    if (!m_tracker->Active())
        m_tracker = std::make_unique<Ui::ScrollBarTracker>(Host());
    SetCapture(Hwnd());
    if (!m_tracker->Begin(p) && GetCapture() == Hwnd())
        ReleaseCapture();
}

void CScrollBarControl::OnButtonUp(POINT p)
{
    if (!m_tracker->Active())
        return;
    m_tracker->End(p);
    if (GetCapture() == Hwnd())
        ReleaseCapture();
}

void CScrollBarControl::CancelPress()
{
    m_tracker->Cancel();
    if (GetCapture() == Hwnd())
        ReleaseCapture();
}

bool CScrollBarControl::OnKeyDown(WPARAM key)
{
    int code = -1;
    switch (key) {
    case VK_UP:
    case VK_LEFT: code = SB_LINEUP; break;
    case VK_DOWN:
    case VK_RIGHT: code = SB_LINEDOWN; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    default: return false;
    }
    if (IsSizeBox() || !Enabled())
        return true;
    m_keyCode = code;
    Request(code, 0);
    return true;
}

void CScrollBarControl::Request(int code, int pos) const
{
    if (HWND parent = Parent()) {
        SendMessageW(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(Hwnd()));
    }
}

int CScrollBarControl::Change(const SCROLLINFO& info, bool redraw)
{
    const int pos = m_model.Set(info);
    if (redraw)
        Redraw();
    return pos;
}

LRESULT CScrollBarControl::SetRange(WPARAM minPos, LPARAM maxPos, bool redraw)
{
    const int previous = m_model.Pos();
    const auto low = static_cast<int>(minPos);
    const auto high = static_cast<int>(maxPos);
    if (static_cast<long long>(high) - low > INT_MAX)
        return previous;
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = low;
    info.nMax = high;
    Change(info, redraw);
    return previous;
}

LRESULT CScrollBarControl::GetScrollInfoOf(LPARAM lParam) const
{
    auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
    if (info == nullptr || info->cbSize != sizeof(SCROLLINFO) || (info->fMask & SIF_ALL) == 0)
        return FALSE;
    m_model.Get(*info);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void CScrollBarControl::Paint(HDC dc)
{
    if (IsSizeBox()) {
        PaintSizeBox(dc);
        return;
    }
    const Ui::ScrollBarModel shown = Shown();
    const Ui::ScrollBarGeometry geometry(Client(), Vertical(), shown);
    Ui::ScrollBarPainter::Paint(dc, geometry, shown, m_tracker->Pressed(), m_tracker->PressedShown());
}

// The face, and with SBS_SIZEGRIP the three pairs of diagonal ridges in the
// lower right corner.
void CScrollBarControl::PaintSizeBox(HDC dc) const
{
    const RECT client = Client();
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    if ((Style() & SBS_SIZEGRIP) == 0)
        return;
    const int size = std::min(client.right - client.left, client.bottom - client.top);
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    const HGDIOBJ old = SelectObject(dc, dark);
    for (int offset = size - 3; offset > 2; offset -= 4) {
        for (int line = 0; line < 3; ++line) {
            const int d = offset - line;
            SelectObject(dc, line == 2 ? light : dark);
            MoveToEx(dc, client.right - 1, client.bottom - 1 - d, nullptr);
            LineTo(dc, client.right - 1 - d, client.bottom - 1);
        }
    }
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
}

}
