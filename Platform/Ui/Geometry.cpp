// Frames, the tree, positions, visibility, text and dialog navigation.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <functional>

using namespace Ui;

namespace {

using Lock = std::unique_lock<std::mutex>;

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
// Tree
// ---------------------------------------------------------------------------

HWND GetParent(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    if ((w->style & WS_CHILD) != 0)
        return w->parent;
    return (w->style & WS_POPUP) != 0 ? w->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT: return w->parent;
    case GA_ROOT: {
        auto root = RootOf(ws, *w);
        return root ? root->hwnd : nullptr;
    }
    case GA_ROOTOWNER: {
        auto root = RootOf(ws, *w);
        for (int depth = 0; root && root->owner != nullptr && depth < 1000; ++depth) {
            auto owner = ws.Peek(root->owner);
            if (!owner)
                break;
            root = owner;
        }
        return root ? root->hwnd : nullptr;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    std::shared_ptr<Window> parent;
    if (newParent != nullptr) {
        parent = ws.Find(newParent);
        if (!parent)
            return nullptr;
        // No cycles.
        for (auto p = parent; p; p = ws.Peek(p->parent)) {
            if (p->hwnd == hwnd) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
        }
    }
    if (IsTopLevel(*w) || !parent) {
        // Only children move between parents here; top-levels would need a native window change.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND old = w->parent;
    if (auto oldParent = ws.Peek(old))
        std::erase(oldParent->children, hwnd);
    parent->children.insert(parent->children.begin(), hwnd);
    w->parent = newParent;
    cairo_region_t* all = cairo_region_create_rectangle(nullptr);
    InvalidateLocked(ws, *parent, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    cairo_region_destroy(all);
    return old;
}

namespace {

const std::vector<HWND>* SiblingList(WindowSystem& ws, const Window& w)
{
    if (w.parent != nullptr) {
        auto parent = ws.Peek(w.parent);
        return parent ? &parent->children : nullptr;
    }
    if (w.messageOnly)
        return nullptr;
    return &ws.TopLevels();
}

}

HWND GetWindow(HWND hwnd, UINT command)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    if (command == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (command == GW_OWNER)
        return w->owner;
    if (command == GW_ENABLEDPOPUP) {
        for (HWND top : ws.TopLevels()) {
            auto o = ws.Peek(top);
            if (o && o->owner == hwnd && (o->style & WS_VISIBLE) != 0 && (o->style & WS_DISABLED) == 0)
                return top;
        }
        return nullptr;
    }
    const std::vector<HWND>* siblings = SiblingList(ws, *w);
    if (siblings == nullptr || siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (command) {
    case GW_HWNDFIRST: return siblings->front();
    case GW_HWNDLAST: return siblings->back();
    case GW_HWNDNEXT: return it == siblings->end() || it + 1 == siblings->end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings->end() || it == siblings->begin() ? nullptr : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd)
{
    if (hwnd == nullptr) {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        return ws.TopLevels().empty() ? nullptr : ws.TopLevels().front();
    }
    return GetWindow(hwnd, GW_CHILD);
}

HWND GetNextWindow(HWND hwnd, UINT command)
{
    return GetWindow(hwnd, command);
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    for (int depth = 0; w && depth < 1000; ++depth) {
        if ((w->style & WS_CHILD) == 0 || w->parent == nullptr)
            return FALSE;
        if (w->parent == parent)
            return TRUE;
        w = ws.Peek(w->parent);
    }
    return FALSE;
}

HWND GetDesktopWindow()
{
    // There is no desktop window object; null stands for the screen in the
    // functions that take one.
    return nullptr;
}

namespace {

std::vector<HWND> Snapshot(HWND parent, bool deep)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<HWND> result;
    std::function<void(const std::vector<HWND>&)> walk = [&](const std::vector<HWND>& list) {
        for (HWND child : list) {
            result.push_back(child);
            if (deep) {
                if (auto c = ws.Peek(child))
                    walk(c->children);
            }
        }
    };
    if (parent == nullptr) {
        result = ws.TopLevels();
    } else if (auto p = ws.Find(parent)) {
        walk(p->children);
    }
    return result;
}

}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND child : Snapshot(parent, true)) {
        if (IsWindow(child) && !proc(child, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND top : Snapshot(nullptr, false)) {
        if (IsWindow(top) && !proc(top, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND top : Snapshot(nullptr, false)) {
        if (GetWindowThreadProcessId(top, nullptr) == threadId && !proc(top, lParam))
            return FALSE;
    }
    return TRUE;
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName)
{
    std::vector<HWND> candidates = Snapshot(parent, false);
    auto start = candidates.begin();
    if (childAfter != nullptr) {
        start = std::find(candidates.begin(), candidates.end(), childAfter);
        if (start != candidates.end())
            ++start;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    for (auto it = start; it != candidates.end(); ++it) {
        auto w = ws.Peek(*it);
        if (!w)
            continue;
        if (className != nullptr) {
            if (IS_INTRESOURCE(className) ? w->windowClass->atom != reinterpret_cast<std::uintptr_t>(className)
                                          : UpperName(className) != UpperName(w->windowClass->name))
                continue;
        }
        if (windowName != nullptr && w->text != windowName)
            continue;
        return *it;
    }
    return nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    return FindWindowExW(nullptr, nullptr, className, windowName);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    if (processId != nullptr)
        *processId = static_cast<DWORD>(::getpid());
    return w->queue->threadId;
}

// ---------------------------------------------------------------------------
// Controls and dialog navigation
// ---------------------------------------------------------------------------

HWND GetDlgItem(HWND dialog, int id)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(dialog);
    if (!w)
        return nullptr;
    for (HWND child : w->children) {
        auto c = ws.Peek(child);
        if (c && static_cast<int>(c->id) == id)
            return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    return w && (w->style & WS_CHILD) != 0 ? static_cast<int>(w->id) : 0;
}

int SetDlgCtrlID(HWND hwnd, int id)
{
    return static_cast<int>(SetWindowLongPtrW(hwnd, GWLP_ID, id));
}

namespace {

// The controls of a dialog in tab order, descending into WS_EX_CONTROLPARENT
// children as the platform does.
void TabOrder(WindowSystem& ws, const Window& parent, std::vector<std::shared_ptr<Window>>& out)
{
    for (HWND child : parent.children) {
        auto c = ws.Peek(child);
        if (!c)
            continue;
        if ((c->exStyle & WS_EX_CONTROLPARENT) != 0 && (c->style & WS_VISIBLE) != 0 && (c->style & WS_DISABLED) == 0)
            TabOrder(ws, *c, out);
        else
            out.push_back(c);
    }
}

bool Usable(const Window& w)
{
    return (w.style & WS_VISIBLE) != 0 && (w.style & WS_DISABLED) == 0;
}

// The controls of a dialog in tab order; false when the dialog is not a window.
bool DialogTabOrder(WindowSystem& ws, HWND dialog, std::vector<std::shared_ptr<Window>>& order)
{
    auto d = ws.Find(dialog);
    if (!d)
        return false;
    TabOrder(ws, *d, order);
    return true;
}

// The control's place in the tab order (its last, should it stand twice), or -1.
std::ptrdiff_t PlaceOf(const std::vector<std::shared_ptr<Window>>& order, HWND control)
{
    std::ptrdiff_t place = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->hwnd == control)
            place = static_cast<std::ptrdiff_t>(i);
    }
    return place;
}

}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<std::shared_ptr<Window>> order;
    if (!DialogTabOrder(ws, dialog, order))
        return nullptr;
    if (order.empty())
        return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t start = PlaceOf(order, control);
    if (start < 0)
        start = previous ? 0 : n - 1;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (previous ? -step : step)) % n + n) % n;
        const auto& c = order[static_cast<std::size_t>(i)];
        if (Usable(*c) && (c->style & WS_TABSTOP) != 0)
            return c->hwnd;
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<std::shared_ptr<Window>> order;
    if (!DialogTabOrder(ws, dialog, order))
        return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t at = PlaceOf(order, control);
    if (at < 0)
        return n > 0 ? order.front()->hwnd : nullptr;
    // The group runs from a WS_GROUP control up to the next one.
    std::ptrdiff_t first = at;
    while (first > 0 && (order[static_cast<std::size_t>(first)]->style & WS_GROUP) == 0)
        --first;
    std::ptrdiff_t last = at + 1;
    while (last < n && (order[static_cast<std::size_t>(last)]->style & WS_GROUP) == 0)
        ++last;
    const std::ptrdiff_t size = last - first;
    for (std::ptrdiff_t step = 1; step <= size; ++step) {
        const std::ptrdiff_t offset = ((at - first + (previous ? -step : step)) % size + size) % size;
        const auto& c = order[static_cast<std::size_t>(first + offset)];
        if (Usable(*c))
            return c->hwnd;
    }
    return control;
}

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int count)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    buffer[0] = 0;
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : L"")));
}

// ---------------------------------------------------------------------------
// Geometry
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

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

namespace {

// Whether the command minimizes, maximizes or restores the window.
bool ChangesMinMax(HWND hwnd, int command)
{
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_MAXIMIZE: return true;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT: return IsIconic(hwnd) || IsZoomed(hwnd);
    default: return false;
    }
}

}

BOOL ShowWindow(HWND hwnd, int command)
{
    if (ChangesMinMax(hwnd, command) &&
        CallHooks(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(command), nullptr) != 0)
        return IsWindowVisible(hwnd);
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE && command != SW_HIDE &&
                    (w->exStyle & WS_EX_NOACTIVATE) == 0;
    const bool wasMinimized = w->minimized;
    const bool minimized = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    w->minimized = minimized;
    w->maximized = command == SW_MAXIMIZE;
    // Everything read of the record below is taken now: once the lock is
    // gone another thread may change it while the messages go out.
    const bool child = (w->style & WS_CHILD) != 0;
    lock.unlock();
    if (show != wasVisible)
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!activate || child)
        flags |= SWP_NOACTIVATE;
    // Showing a child keeps its place among its siblings; an activated top-level comes up.
    if (show && activate && !child)
        flags &= ~SWP_NOZORDER;
    if (show != wasVisible || (flags & SWP_NOZORDER) == 0)
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    // A procedure (or another thread) may have changed the state meanwhile:
    // WM_SIZE tells of this call's change only while it still holds.
    bool stillSo = false;
    {
        Lock relock(ws.Lock());
        stillSo = ws.Peek(hwnd) != nullptr && w->minimized == minimized;
    }
    if (minimized != wasMinimized && stillSo) {
        RECT client{};
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                     MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && IsVisibleChain(ws, *w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && w->minimized ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && w->maximized ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled ? TRUE : FALSE;
    if (enable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    const bool hadFocus = !enable && ws.focus != nullptr && (ws.focus == hwnd || [&] {
        for (auto f = ws.Peek(ws.focus); f; f = ws.Peek(f->parent)) {
            if (f->hwnd == hwnd)
                return true;
        }
        return false;
    }());
    lock.unlock();
    // A disabled window loses the focus, and any mode it is in (a capture), as on the platform.
    if (hadFocus)
        SetFocus(nullptr);
    if (!enable)
        SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && (w->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}
