// Invalidation, WM_PAINT, device contexts on the back buffers, presenting.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/BandRegion.h"
#include "Platform/Gdi/ObjectContents.h"
#include "Platform/Gdi/Region.h"
#include "Platform/Gdi/SurfaceDC.h"
#include "Platform/Ui/CaretState.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <map>
#include <mutex>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

struct DcRecord {
    HWND hwnd = nullptr;
    HWND root = nullptr;
    RECT area{};  // in the root's back buffer
    bool paint = false;
};

// Contexts handed out by BeginPaint/GetDC, for EndPaint/ReleaseDC. Guarded by the window lock.
std::map<HDC, DcRecord>& Contexts()
{
    static auto* contexts = new std::map<HDC, DcRecord>;
    return *contexts;
}

// A surface for contexts that have nowhere to draw (hidden, message-only, the screen).
cairo_surface_t* Scratch()
{
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    return scratch;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top)
        r = {};
    return r;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

cairo_surface_t* EnsureBackBuffer(Window& top)
{
    if (top.native == 0)
        return nullptr;
    if (top.backBuffer == nullptr)
        ResizeBackBuffer(top);
    return top.backBuffer;
}

cairo_region_t* ClientRegion(const Window& w)
{
    cairo_rectangle_int_t r{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
    return cairo_region_create_rectangle(&r);
}

void AddWindowArea(const WindowSystem& ws, HWND hwnd, std::vector<RECT>& out)
{
    auto other = ws.Peek(hwnd);
    if (!other || (other->style & WS_VISIBLE) == 0)
        return;
    POINT origin{};
    const RECT r = WindowInBackBuffer(ws, *other, origin);
    if (!Empty(r))
        out.push_back(r);
}

// What a context of `w` must leave alone in the back buffer: its children
// with WS_CLIPCHILDREN, and with WS_CLIPSIBLINGS (on it or on an ancestor)
// the siblings above in the Z-order.
std::vector<RECT> CoveredParts(const WindowSystem& ws, const Window& w, DWORD flags)
{
    std::vector<RECT> covered;
    if ((w.style & WS_CLIPCHILDREN) != 0 || (flags & DCX_CLIPCHILDREN) != 0) {
        for (HWND child : w.children)
            AddWindowArea(ws, child, covered);
    }
    bool clipSiblings = (flags & DCX_CLIPSIBLINGS) != 0;
    for (const Window* member = &w; member != nullptr && !IsTopLevel(*member);) {
        auto parent = ws.Peek(member->parent);
        if (!parent)
            break;
        if (clipSiblings || (member->style & WS_CLIPSIBLINGS) != 0) {
            for (HWND sibling : parent->children) {
                if (sibling == member->hwnd)
                    break;
                AddWindowArea(ws, sibling, covered);
            }
        }
        clipSiblings = false;
        member = parent.get();
    }
    return covered;
}

// The update region's rectangles, moved by `origin` (client to back buffer).
std::vector<RECT> RegionRects(const cairo_region_t* region, POINT origin)
{
    std::vector<RECT> rects;
    const int count = cairo_region_num_rectangles(region);
    rects.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        cairo_rectangle_int_t c;
        cairo_region_get_rectangle(region, i, &c);
        rects.push_back({c.x + origin.x, c.y + origin.y, c.x + c.width + origin.x, c.y + c.height + origin.y});
    }
    return rects;
}

// Narrows a context to what it may touch: within `area`, only the update
// region (when it is more than one rectangle, `area` being its extents) and
// nothing of what is covered. A paint that reached the whole box around two
// separate dirty areas erased children lying between them, which nothing
// told to repaint.
void ClipToVisible(HDC dc, const RECT& area, const cairo_region_t* update, POINT origin, const std::vector<RECT>& covered)
{
    const bool partial = update != nullptr && cairo_region_num_rectangles(update) > 1;
    if (covered.empty() && !partial)
        return;
    using ZELL::Gdi::BandRegion;
    BandRegion visible(area);
    if (partial)
        visible = BandRegion::Combine(visible, BandRegion::FromRects(RegionRects(update, origin)), BandRegion::Op::And);
    if (!covered.empty())
        visible = BandRegion::Combine(visible, BandRegion::FromRects(covered), BandRegion::Op::Diff);
    const std::vector<RECT> rects = visible.Rects();
    SetSurfaceDCVisibleRects(dc, rects.data(), static_cast<int>(rects.size()));
}

// A context on `w`'s client area (or whole window), limited to `limit` and,
// for a paint, to the update region `update` (both in client coordinates).
HDC MakeContext(WindowSystem& ws, Window& w, bool whole, const RECT* limit, bool paint, DWORD flags = 0,
                const cairo_region_t* update = nullptr)
{
    auto root = RootOf(ws, w);
    cairo_surface_t* surface = root ? EnsureBackBuffer(*root) : nullptr;
    POINT origin{};
    RECT area = whole ? WindowInBackBuffer(ws, w, origin) : ClientInBackBuffer(ws, w, origin);
    if (limit != nullptr)
        area = Intersect(area, {limit->left + origin.x, limit->top + origin.y, limit->right + origin.x, limit->bottom + origin.y});
    if (surface == nullptr || !IsVisibleChain(ws, w)) {
        surface = Scratch();
        area = {};
    }
    HDC dc = CreateSurfaceDC(surface, origin, area);
    if (dc != nullptr && !Empty(area))
        ClipToVisible(dc, area, update, origin, CoveredParts(ws, w, flags));
    if (dc != nullptr) {
        Contexts()[dc] = {w.hwnd, root ? root->hwnd : nullptr, area, paint};
        CaretBeforeDrawing(ws, root ? root->hwnd : nullptr);
    }
    return dc;
}

void FinishContext(WindowSystem& ws, HDC dc)
{
    auto it = Contexts().find(dc);
    if (it == Contexts().end())
        return;
    const DcRecord record = it->second;
    Contexts().erase(it);
    ReleaseSurfaceDC(dc);
    CaretAfterDrawing(ws, record.root);
    if (auto root = ws.Peek(record.root); root && !Empty(record.area))
        PresentLocked(ws, *root, record.area);
}

void UpdateNow(HWND hwnd, bool children)
{
    auto& ws = WindowSystem::Get();
    bool paint = false;
    std::vector<HWND> kids;
    {
        Lock lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w || !IsVisibleChain(ws, *w))
            return;
        paint = w->redraw && ((w->update != nullptr && !cairo_region_is_empty(w->update)) || w->internalPaint || w->frameNeeded);
        if (children)
            kids.assign(w->children.rbegin(), w->children.rend());
    }
    if (paint)
        SendMessageW(hwnd, WM_PAINT, 0, 0);
    for (HWND child : kids)
        UpdateNow(child, true);
}

BOOL Invalidate(HWND hwnd, cairo_region_t* region, UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    if (hwnd == nullptr) {
        for (HWND top : ws.TopLevels()) {
            if (auto w = ws.Peek(top))
                InvalidateLocked(ws, *w, region, flags | RDW_ALLCHILDREN);
        }
        return TRUE;
    }
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    InvalidateLocked(ws, *w, region, flags);
    return TRUE;
}

cairo_region_t* FromRect(const RECT* rect)
{
    if (rect == nullptr)
        return nullptr;
    cairo_rectangle_int_t r{rect->left, rect->top, std::max(0, rect->right - rect->left), std::max(0, rect->bottom - rect->top)};
    return cairo_region_create_rectangle(&r);
}

struct RegionHolder {
    cairo_region_t* region = nullptr;
    ~RegionHolder()
    {
        if (region != nullptr)
            cairo_region_destroy(region);
    }
};

}

namespace Ui {

cairo_region_t* RegionToCairo(HRGN handle)
{
    cairo_region_t* result = cairo_region_create();
    for (const RECT& r : ZELL::Gdi::RegionRects(handle)) {
        cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
        cairo_region_union_rectangle(result, &c);
    }
    return result;
}

int CairoToRegion(const cairo_region_t* source, HRGN target)
{
    if (SetRectRgn(target, 0, 0, 0, 0) == FALSE)
        return ERROR;
    int kind = NULLREGION;
    const int count = cairo_region_num_rectangles(source);
    for (int i = 0; i < count; ++i) {
        cairo_rectangle_int_t c;
        cairo_region_get_rectangle(source, i, &c);
        HRGN piece = CreateRectRgn(c.x, c.y, c.x + c.width, c.y + c.height);
        kind = CombineRgn(target, target, piece, RGN_OR);
        DeleteObject(piece);
    }
    return kind;
}

void InvalidateLocked(WindowSystem& ws, Window& w, const cairo_region_t* region, UINT flags)
{
    cairo_region_t* area = ClientRegion(w);
    if (region != nullptr)
        cairo_region_intersect(area, region);
    if ((flags & RDW_INVALIDATE) != 0) {
        if (w.update == nullptr)
            w.update = cairo_region_create();
        cairo_region_union(w.update, area);
        if ((flags & RDW_ERASE) != 0)
            w.eraseNeeded = true;
        const bool layerFrame = w.frame.top != 0 && DisplayLocked(ws).LayerDrawsFrames();
        const bool hasEdges = w.client.left != w.frame.left || w.client.top != w.frame.top || layerFrame ||
                              w.client.right != w.rect.right - w.rect.left - w.frame.right ||
                              w.client.bottom != w.rect.bottom - w.rect.top - w.frame.bottom;
        if ((flags & RDW_FRAME) != 0 && hasEdges)
            w.frameNeeded = true;
    }
    if ((flags & RDW_INTERNALPAINT) != 0)
        w.internalPaint = true;
    if ((flags & RDW_NOINTERNALPAINT) != 0)
        w.internalPaint = false;
    if ((flags & RDW_VALIDATE) != 0 && w.update != nullptr) {
        cairo_region_subtract(w.update, area);
        if (cairo_region_is_empty(w.update))
            w.eraseNeeded = false;
        if ((flags & RDW_NOFRAME) == 0 && region == nullptr)
            w.frameNeeded = false;
    }
    if ((flags & RDW_NOERASE) != 0)
        w.eraseNeeded = false;
    // The back buffer is shared: what the parent repaints covers its children,
    // so they repaint over it - unless it leaves them alone (WS_CLIPCHILDREN).
    const bool intoChildren = (flags & RDW_ALLCHILDREN) != 0 || ((flags & RDW_NOCHILDREN) == 0 && (w.style & WS_CLIPCHILDREN) == 0);
    if (intoChildren && ((flags & RDW_INVALIDATE) != 0 || (flags & RDW_ALLCHILDREN) != 0))
        InvalidateChildrenLocked(ws, w, area, flags);
    cairo_region_destroy(area);
    ws.WakeQueue(*w.queue);
}

void InvalidateChildrenLocked(WindowSystem& ws, Window& w, const cairo_region_t* area, UINT flags)
{
    for (HWND childHandle : w.children) {
        auto child = ws.Peek(childHandle);
        if (!child || (child->style & WS_VISIBLE) == 0)
            continue;
        cairo_rectangle_int_t cr{child->rect.left, child->rect.top, child->rect.right - child->rect.left,
                                 child->rect.bottom - child->rect.top};
        if (cairo_region_contains_rectangle(area, &cr) == CAIRO_REGION_OVERLAP_OUT)
            continue;
        cairo_region_t* inChild = cairo_region_copy(area);
        cairo_region_translate(inChild, -(child->rect.left + child->client.left), -(child->rect.top + child->client.top));
        InvalidateLocked(ws, *child, inChild, (flags & ~RDW_NOFRAME) | RDW_FRAME);
        cairo_region_destroy(inChild);
    }
}

namespace {

// One back buffer outlives its window: a dialog shown and closed again and
// again otherwise took a window's worth of fresh, page-faulting memory each
// time. Never freed, so that windows destroyed at exit still find it.
struct SpareBackBuffer {
    std::mutex mutex;
    cairo_surface_t* surface = nullptr;
};

SpareBackBuffer& Spare()
{
    static auto* spare = new SpareBackBuffer;
    return *spare;
}

cairo_surface_t* TakeSpareBackBuffer(int width, int height)
{
    SpareBackBuffer& spare = Spare();
    std::lock_guard lock(spare.mutex);
    cairo_surface_t* taken = spare.surface;
    if (taken == nullptr || cairo_image_surface_get_width(taken) != width ||
        cairo_image_surface_get_height(taken) != height)
        return nullptr;
    spare.surface = nullptr;
    return taken;
}

}

void KeepSpareBackBuffer(cairo_surface_t* backBuffer)
{
    // A context still drawing into it keeps its own reference: such a buffer
    // must not turn up in another window.
    if (cairo_surface_get_reference_count(backBuffer) != 1) {
        cairo_surface_destroy(backBuffer);
        return;
    }
    SpareBackBuffer& spare = Spare();
    std::lock_guard lock(spare.mutex);
    if (spare.surface != nullptr)
        cairo_surface_destroy(spare.surface);
    spare.surface = backBuffer;
}

void ResizeBackBuffer(Window& top)
{
    if (top.native == 0)
        return;
    const RECT native = NativeRect(top);
    const int width = std::max(1, static_cast<int>(native.right - native.left));
    const int height = std::max(1, static_cast<int>(native.bottom - native.top));
    if (top.backBuffer != nullptr && cairo_image_surface_get_width(top.backBuffer) == width &&
        cairo_image_surface_get_height(top.backBuffer) == height)
        return;
    cairo_surface_t* fresh = TakeSpareBackBuffer(width, height);
    if (fresh == nullptr)
        fresh = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(fresh);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    cairo_set_source_rgb(cr, GetRValue(face) / 255.0, GetGValue(face) / 255.0, GetBValue(face) / 255.0);
    cairo_paint(cr);
    if (top.backBuffer != nullptr) {
        cairo_set_source_surface(cr, top.backBuffer, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(top.backBuffer);
    }
    cairo_destroy(cr);
    top.backBuffer = fresh;
}

void PresentLocked(WindowSystem& ws, Window& top, const RECT& area)
{
    if (top.native == 0 || top.backBuffer == nullptr || (top.style & WS_VISIBLE) == 0)
        return;
    cairo_surface_flush(top.backBuffer);
    DisplayLocked(ws).Present(top.native, top.backBuffer, area);
}

}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    RegionHolder region{FromRect(rect)};
    return Invalidate(hwnd, region.region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase)
{
    RegionHolder holder{region != nullptr ? RegionToCairo(region) : nullptr};
    return Invalidate(hwnd, holder.region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    RegionHolder region{FromRect(rect)};
    return Invalidate(hwnd, region.region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region)
{
    RegionHolder holder{region != nullptr ? RegionToCairo(region) : nullptr};
    return Invalidate(hwnd, holder.region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    RECT box{};
    if (w->update != nullptr && !cairo_region_is_empty(w->update)) {
        cairo_rectangle_int_t extents;
        cairo_region_get_extents(w->update, &extents);
        box = {extents.x, extents.y, extents.x + extents.width, extents.y + extents.height};
    }
    if (rect != nullptr)
        *rect = box;
    return Empty(box) ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || region == nullptr)
        return ERROR;
    if (w->update == nullptr)
        return SetRectRgn(region, 0, 0, 0, 0) ? NULLREGION : ERROR;
    return CairoToRegion(w->update, region);
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    UpdateNow(hwnd, true);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN region, UINT flags)
{
    RegionHolder holder{region != nullptr ? RegionToCairo(region) : FromRect(update)};
    if (!Invalidate(hwnd, holder.region, flags))
        return FALSE;
    if ((flags & (RDW_UPDATENOW | RDW_ERASENOW)) != 0 && hwnd != nullptr)
        UpdateNow(hwnd, (flags & RDW_ALLCHILDREN) != 0 || (flags & RDW_NOCHILDREN) == 0);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    if (paint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    // The context keeps to the region itself; rcPaint is only its extents.
    RegionHolder update;
    RECT box{};
    if (w->update != nullptr && !cairo_region_is_empty(w->update)) {
        cairo_rectangle_int_t extents;
        cairo_region_get_extents(w->update, &extents);
        box = {extents.x, extents.y, extents.x + extents.width, extents.y + extents.height};
        update.region = w->update;
        w->update = nullptr;
        // A child that painted itself since it was invalidated with this
        // window (UpdateWindow on it while this one waited) would be painted
        // over: it paints again after this window, as it would have.
        if ((w->style & WS_CLIPCHILDREN) == 0)
            InvalidateChildrenLocked(ws, *w, update.region, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    const bool erase = w->eraseNeeded;
    const bool frame = w->frameNeeded;
    w->eraseNeeded = false;
    w->frameNeeded = false;
    w->internalPaint = false;
    lock.unlock();
    if (frame)
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    lock.lock();
    if (!ws.Peek(hwnd))
        return nullptr;
    HDC dc = MakeContext(ws, *w, false, &box, true, 0, update.region);
    lock.unlock();
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = box;
    paint->fErase = TRUE;
    if (erase && dc != nullptr)
        paint->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    else
        paint->fErase = FALSE;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint)
{
    if (paint == nullptr || paint->hdc == nullptr)
        return FALSE;
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    FinishContext(ws, paint->hdc);
    return TRUE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    if (hwnd == nullptr) {
        // The screen: drawing there shows nowhere, measuring works as everywhere.
        DisplayLocked(ws);  // so that it reports the display's resolution
        HDC dc = CreateSurfaceDC(Scratch(), {0, 0}, RECT{});
        if (dc != nullptr)
            Contexts()[dc] = {};
        return dc;
    }
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    HDC dc = MakeContext(ws, *w, (flags & DCX_WINDOW) != 0, nullptr, false, flags);
    lock.unlock();
    if (dc != nullptr && clip != nullptr)
        ExtSelectClipRgn(dc, clip, RGN_AND);
    return dc;
}

HDC GetDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, 0);
}

HDC GetWindowDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, DCX_WINDOW);
}

int ReleaseDC(HWND, HDC dc)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    if (Contexts().count(dc) == 0)
        return 0;
    FinishContext(ws, dc);
    return 1;
}

HWND WindowFromDC(HDC dc)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto it = Contexts().find(dc);
    return it == Contexts().end() ? nullptr : it->second.hwnd;
}

BOOL LockWindowUpdate(HWND)
{
    // Nothing draws behind a window's back here, so there is nothing to hold off.
    return TRUE;
}
