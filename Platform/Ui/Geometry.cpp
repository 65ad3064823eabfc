// Frames and positions: client rectangles from the styles, coordinates,
// moving, sizing and stacking windows, window regions. The tree, texts,
// dialog tab order and window state have files of their own.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/MenuBar.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

constexpr LONG kScrollBarSize = 17;

// The edges the layer draws itself: all borders of children and pop-ups, the
// client edges of framed windows.
RECT LayerEdges(DWORD style, DWORD exStyle, bool framedByDisplay)
{
    LONG e = 0;
    if (!framedByDisplay) {
        if ((style & WS_THICKFRAME) != 0)
            e += 4;
        else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0)
            e += 3;
        else if ((style & WS_BORDER) != 0)
            e += 1;
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0)
        e += 2;
    if ((exStyle & WS_EX_STATICEDGE) != 0)
        e += 1;
    RECT edges{e, e, e, e};
    if ((style & WS_VSCROLL) != 0)
        edges.right += kScrollBarSize;
    if ((style & WS_HSCROLL) != 0)
        edges.bottom += kScrollBarSize;
    return edges;
}

bool FramedByDisplay(DWORD style)
{
    return NativeKind(style) == Display::TopLevelKind::Framed;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

}

namespace Ui {

Display::TopLevelKind NativeKind(DWORD style)
{
    if ((style & WS_CAPTION) == WS_CAPTION || (style & (WS_POPUP | WS_CHILD)) == 0)
        return Display::TopLevelKind::Framed;
    return Display::TopLevelKind::Popup;
}

namespace {

Display::FrameExtents DisplayFrameOf(WindowSystem& ws, const Window& w, bool& framed)
{
    framed = IsTopLevel(w) && !w.messageOnly && FramedByDisplay(w.style);
    return framed ? DisplayLocked(ws).FrameFor(Display::TopLevelKind::Framed, (w.style & WS_THICKFRAME) != 0)
                  : Display::FrameExtents{};
}

}

RECT StandardClientRect(WindowSystem& ws, const Window& w, LONG width, LONG height)
{
    bool framed = false;
    const Display::FrameExtents frame = DisplayFrameOf(ws, w, framed);
    const RECT edges = LayerEdges(w.style, w.exStyle, framed);
    RECT client;
    client.left = std::min(width, frame.left + edges.left);
    client.top = std::min(height, frame.top + edges.top);
    client.right = std::max(client.left, width - frame.right - edges.right);
    client.bottom = std::max(client.top, height - frame.bottom - edges.bottom);
    // The menu bar of a top-level takes a row above the client area.
    if (w.menuBar != nullptr && (w.style & WS_CHILD) == 0)
        client.top = std::min(client.bottom, client.top + CMenuBar::Height());
    return client;
}

void UpdateFrame(WindowSystem& ws, Window& w)
{
    bool framed = false;
    w.frame = DisplayFrameOf(ws, w, framed);
    w.client = StandardClientRect(ws, w, Width(w.rect), Height(w.rect));
}

RECT NativeRect(const Window& w)
{
    RECT r{w.rect.left + w.frame.left, w.rect.top + w.frame.top, w.rect.right - w.frame.right, w.rect.bottom - w.frame.bottom};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

std::size_t TopMostInsertIndex(WindowSystem& ws, const Window& w)
{
    if ((w.exStyle & WS_EX_TOPMOST) != 0)
        return 0;
    std::size_t index = 0;
    for (HWND other : ws.TopLevels()) {
        auto o = ws.Peek(other);
        if (!o || (o->exStyle & WS_EX_TOPMOST) == 0)
            break;
        ++index;
    }
    return index;
}

}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle)
{
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool top = (style & WS_CHILD) == 0;
    const bool framed = top && FramedByDisplay(style);
    Display::FrameExtents frame{};
    if (framed) {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        frame = DisplayLocked(ws).FrameFor(Display::TopLevelKind::Framed, (style & WS_THICKFRAME) != 0);
    }
    // Scroll bars are not part of the adjustment, as on the platform.
    const RECT edges = LayerEdges(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle, framed);
    rect->left -= frame.left + edges.left;
    rect->top -= frame.top + edges.top;
    rect->right += frame.right + edges.right;
    rect->bottom += frame.bottom + edges.bottom;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Positions
// ---------------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || rect == nullptr)
        return FALSE;
    if (IsTopLevel(*w)) {
        *rect = w->rect;
        return TRUE;
    }
    const auto parent = ws.Peek(w->parent);
    const POINT base = parent ? ClientOriginOnScreen(ws, *parent) : POINT{};
    *rect = {w->rect.left + base.x, w->rect.top + base.y, w->rect.right + base.x, w->rect.bottom + base.y};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || rect == nullptr)
        return FALSE;
    *rect = {0, 0, Width(w->client), Height(w->client)};
    return TRUE;
}

namespace {

// The client origin of a window on the screen; null stands for the screen.
bool ScreenOrigin(WindowSystem& ws, HWND hwnd, POINT& origin)
{
    origin = {};
    if (hwnd == nullptr)
        return true;
    auto w = ws.Find(hwnd);
    if (!w)
        return false;
    origin = ClientOriginOnScreen(ws, *w);
    return true;
}

// Moves a point by a window's client origin: +1 to the screen, -1 from it.
BOOL ShiftByClientOrigin(HWND hwnd, LPPOINT point, LONG direction)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || point == nullptr)
        return FALSE;
    const POINT o = ClientOriginOnScreen(ws, *w);
    point->x += direction * o.x;
    point->y += direction * o.y;
    return TRUE;
}

}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, 1);
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point)
{
    return ShiftByClientOrigin(hwnd, point, -1);
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    POINT a{};
    POINT b{};
    if (!ScreenOrigin(ws, from, a) || !ScreenOrigin(ws, to, b))
        return 0;
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(0);
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

namespace {

// Whole-window invalidation after a move, a size or a show.
void InvalidateWhole(WindowSystem& ws, Window& w)
{
    InvalidateLocked(ws, w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The parent shows again what a child covered.
void ExposeInParent(WindowSystem& ws, const Window& w, const RECT& rectInParent)
{
    auto parent = ws.Peek(w.parent);
    if (!parent)
        return;
    cairo_rectangle_int_t r{rectInParent.left, rectInParent.top, Width(rectInParent), Height(rectInParent)};
    cairo_region_t* area = cairo_region_create_rectangle(&r);
    InvalidateLocked(ws, *parent, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    cairo_region_destroy(area);
}

void Restack(WindowSystem& ws, Window& w, HWND insertAfter)
{
    std::vector<HWND>* siblings = const_cast<std::vector<HWND>*>(SiblingList(ws, w));
    if (siblings == nullptr)
        return;
    if (IsTopLevel(w)) {
        if (insertAfter == HWND_TOPMOST)
            w.exStyle |= WS_EX_TOPMOST;
        else if (insertAfter == HWND_NOTOPMOST)
            w.exStyle &= ~WS_EX_TOPMOST;
    }
    std::erase(*siblings, w.hwnd);
    std::size_t index = 0;
    if (insertAfter == HWND_BOTTOM) {
        index = siblings->size();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        index = IsTopLevel(w) ? TopMostInsertIndex(ws, w) : 0;
    } else {
        auto it = std::find(siblings->begin(), siblings->end(), insertAfter);
        index = it == siblings->end() ? 0 : static_cast<std::size_t>(it - siblings->begin()) + 1;
        if (IsTopLevel(w))
            index = std::max(index, TopMostInsertIndex(ws, w));
    }
    siblings->insert(siblings->begin() + static_cast<std::ptrdiff_t>(std::min(index, siblings->size())), w.hwnd);
    if (w.native != 0) {
        DisplayLocked(ws).SetTopMost(w.native, (w.exStyle & WS_EX_TOPMOST) != 0);
        if (index == 0 || insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)
            DisplayLocked(ws).RaiseTopLevel(w.native, false);
    }
}

}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    WINDOWPOS pos;
    pos.hwnd = hwnd;
    pos.hwndInsertAfter = insertAfter;
    pos.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
    pos.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
    pos.cx = (flags & SWP_NOSIZE) ? Width(w->rect) : std::max(cx, 0);
    pos.cy = (flags & SWP_NOSIZE) ? Height(w->rect) : std::max(cy, 0);
    pos.flags = flags;
    const SIZE oldSize{Width(w->rect), Height(w->rect)};
    lock.unlock();
    if ((flags & SWP_NOSENDCHANGING) == 0)
        SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    const bool askClient = (pos.flags & SWP_FRAMECHANGED) != 0 || std::max(pos.cx, 0) != oldSize.cx || std::max(pos.cy, 0) != oldSize.cy;
    const RECT askedClient = askClient ? AskClientRect(hwnd, &pos) : RECT{};
    lock.lock();
    if (!ws.Peek(hwnd))
        return FALSE;
    flags = pos.flags;
    const RECT oldRect = w->rect;
    const RECT oldClient = w->client;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const RECT newRect{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool sized = Width(newRect) != Width(oldRect) || Height(newRect) != Height(oldRect);
    w->rect = newRect;
    if (sized || (flags & SWP_FRAMECHANGED) != 0) {
        UpdateFrame(ws, *w);
        if (askClient)
            ApplyClientRect(*w, askedClient);
    }
    if ((flags & SWP_NOZORDER) == 0)
        Restack(ws, *w, pos.hwndInsertAfter);
    if ((flags & SWP_SHOWWINDOW) != 0)
        w->style |= WS_VISIBLE;
    if ((flags & SWP_HIDEWINDOW) != 0)
        w->style &= ~WS_VISIBLE;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    const bool clientSized = Width(oldClient) != Width(w->client) || Height(oldClient) != Height(w->client);

    if (w->native != 0) {
        auto& display = DisplayLocked(ws);
        if (moved || sized || (flags & SWP_FRAMECHANGED) != 0)
            display.MoveTopLevel(w->native, NativeRect(*w));
        if (sized || (flags & SWP_FRAMECHANGED) != 0)
            ResizeBackBuffer(*w);
        if (visible != wasVisible)
            display.ShowTopLevel(w->native, visible);
    }
    if ((flags & SWP_NOREDRAW) == 0) {
        if (!IsTopLevel(*w) && wasVisible && (!visible || moved || sized || (flags & SWP_FRAMECHANGED) != 0))
            ExposeInParent(ws, *w, oldRect);
        if (visible && (!wasVisible || moved || sized || (flags & SWP_FRAMECHANGED) != 0))
            InvalidateWhole(ws, *w);
    }
    lock.unlock();

    if (visible != wasVisible && (flags & SWP_NOACTIVATE) == 0 && visible && IsTopLevel(*w) && !w->messageOnly)
        SetActiveWindow(hwnd);
    if (!visible && wasVisible)
        ReleaseInputState({});  // hidden windows give up the focus they hold (checked inside)
    pos.x = newRect.left;
    pos.y = newRect.top;
    pos.cx = Width(newRect);
    pos.cy = Height(newRect);
    if (!moved)
        pos.flags |= SWP_NOMOVE;
    if (!clientSized)
        pos.flags |= SWP_NOSIZE;
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || placement == nullptr)
        return FALSE;
    placement->flags = 0;
    placement->showCmd = w->minimized ? SW_SHOWMINIMIZED : w->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement->rcNormalPosition = w->rect;
    return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    // The shape is kept as its bounding rectangles; the region object
    // belongs to the window from now on, as on the platform.
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    if (w->shape != nullptr) {
        cairo_region_destroy(w->shape);
        w->shape = nullptr;
    }
    if (region != nullptr) {
        w->shape = RegionToCairo(region);
        DeleteObject(region);
    }
    if (redraw && (w->style & WS_VISIBLE) != 0)
        InvalidateWhole(ws, *w);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || w->shape == nullptr || region == nullptr)
        return ERROR;
    return CairoToRegion(w->shape, region);
}
