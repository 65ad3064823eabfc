// The standard scroll bars of windows and the scroll-bar calls.
#include "Platform/Ui/WindowScrollBars.h"

#include "Platform/Base/LastError.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Ui/ScrollBarPainter.h"
#include "Platform/Ui/ScrollBarTracker.h"

#include <climits>
#include <memory>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// The timer of a press in progress; an id no window of ours hands out.
constexpr UINT_PTR kRepeatTimer = 0x5C0B;

bool IsWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }
DWORD StyleOf(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

// The press in progress on this thread, if any.
struct ActivePress {
    HWND hwnd = nullptr;
    int bar = SB_VERT;
    std::unique_ptr<ScrollBarTracker> tracker;
};
thread_local ActivePress g_press;

const ScrollBarTracker* TrackerOf(HWND hwnd, int bar)
{
    if (g_press.tracker && g_press.hwnd == hwnd && g_press.bar == bar)
        return g_press.tracker.get();
    return nullptr;
}

// What painting a bar needs, taken under the lock and drawn after it.
struct BarPicture {
    RECT rect{};
    bool vertical = true;
    ScrollBarModel model;
    ScrollBarPart pressed = ScrollBarPart::None;
    bool shown = false;

    void Paint(HDC dc) const
    {
        if (rect.right > rect.left && rect.bottom > rect.top)
            ScrollBarPainter::Paint(dc, ScrollBarGeometry(rect, vertical, model), model, pressed, shown);
    }
};

BarPicture PictureOf(Window& w, int bar)
{
    BarPicture picture;
    picture.rect = WindowScrollBarRect(w, bar);
    picture.vertical = bar == SB_VERT;
    picture.model = WindowScrollModel(w, bar);
    if (const ScrollBarTracker* tracker = TrackerOf(w.hwnd, bar)) {
        picture.pressed = tracker->Pressed();
        picture.shown = tracker->PressedShown();
    }
    return picture;
}

void PaintBars(HWND hwnd, HDC dc)
{
    BarPicture vertical;
    BarPicture horizontal;
    RECT box{};
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return;
        vertical = PictureOf(*w, SB_VERT);
        horizontal = PictureOf(*w, SB_HORZ);
        box = WindowSizeBoxRect(*w);
    }
    vertical.Paint(dc);
    horizontal.Paint(dc);
    if (box.right > box.left)
        FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
}

void RepaintBars(HWND hwnd)
{
    HDC dc = GetWindowDC(hwnd);
    if (dc == nullptr)
        return;
    PaintBars(hwnd, dc);
    ReleaseDC(hwnd, dc);
}

void EndPress()
{
    HWND hwnd = g_press.hwnd;
    g_press = {};
    if (GetCapture() == hwnd)
        ReleaseCapture();
}

void OnRepeatTimer(HWND hwnd, UINT, UINT_PTR, DWORD)
{
    if (!g_press.tracker || g_press.hwnd != hwnd)
        return;
    if (GetCapture() != hwnd) {
        g_press.tracker->Cancel();
        EndPress();
        return;
    }
    g_press.tracker->Tick();
}

ScrollBarHost HostFor(HWND hwnd, int bar)
{
    ScrollBarHost host;
    host.vertical = bar == SB_VERT;
    host.bar = [hwnd, bar] {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        return w ? WindowScrollBarRect(*w, bar) : RECT{};
    };
    host.model = [hwnd, bar] {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        return w ? WindowScrollModel(*w, bar) : ScrollBarModel{};
    };
    host.change = [hwnd, bar](const std::function<void(ScrollBarModel&)>& change) {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        if (auto w = ws.Peek(hwnd))
            change(WindowScrollModel(*w, bar));
    };
    host.notify = [hwnd, bar](int code, int pos) {
        SendMessageW(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
    };
    host.redraw = [hwnd] { RepaintBars(hwnd); };
    host.schedule = [hwnd](UINT ms) { SetTimer(hwnd, kRepeatTimer, ms, OnRepeatTimer); };
    host.kill = [hwnd] { KillTimer(hwnd, kRepeatTimer); };
    return host;
}

POINT ToWindow(HWND hwnd, POINT screen)
{
    RECT window{};
    GetWindowRect(hwnd, &window);
    return {screen.x - window.left, screen.y - window.top};
}

// Shows or hides bars by their style bits; the client rectangle follows.
void SetBarStyles(HWND hwnd, DWORD bits, bool show)
{
    bool changed = false;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return;
        const DWORD before = w->style;
        w->style = show ? (w->style | bits) : (w->style & ~bits);
        changed = before != w->style;
    }
    if (changed)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}

namespace Ui {

RECT WindowScrollBarRect(const Window& w, int bar)
{
    if ((w.style & StyleOf(bar)) == 0)
        return {};
    const RECT& c = w.client;
    if (bar == SB_VERT) {
        const LONG width = GetSystemMetrics(SM_CXVSCROLL);
        return {c.right, c.top, c.right + width, c.bottom};
    }
    const LONG height = GetSystemMetrics(SM_CYHSCROLL);
    return {c.left, c.bottom, c.right, c.bottom + height};
}

RECT WindowSizeBoxRect(const Window& w)
{
    if ((w.style & (WS_VSCROLL | WS_HSCROLL)) != (WS_VSCROLL | WS_HSCROLL))
        return {};
    const RECT& c = w.client;
    return {c.right, c.bottom, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

ScrollBarModel& WindowScrollModel(Window& w, int bar)
{
    ScrollBarModel& model = bar == SB_VERT ? w.vScroll : w.hScroll;
    if (!model.Touched()) {
        SCROLLINFO first;
        first.fMask = SIF_ALL;
        first.nMax = (w.style & StyleOf(bar)) != 0 ? 100 : 0;
        model.Set(first);
    }
    return model;
}

void PaintWindowScrollBars(HWND hwnd, HDC windowDc)
{
    PaintBars(hwnd, windowDc);
}

bool StartWindowScrollTracking(HWND hwnd, int bar, POINT screen)
{
    if (g_press.tracker) {
        g_press.tracker->Cancel();
        EndPress();
    }
    SetCapture(hwnd);
    g_press.hwnd = hwnd;
    g_press.bar = bar;
    g_press.tracker = std::make_unique<ScrollBarTracker>(HostFor(hwnd, bar));
    if (!g_press.tracker->Begin(ToWindow(hwnd, screen))) {
        EndPress();
        return false;
    }
    return true;
}

bool FeedWindowScrollTracking(const MSG& msg)
{
    if (!g_press.tracker)
        return false;
    const HWND hwnd = g_press.hwnd;
    if (GetCapture() != hwnd || !IsWindow(hwnd)) {
        g_press.tracker->Cancel();
        EndPress();
        return false;
    }
    const POINT p = ToWindow(hwnd, msg.pt);
    if (msg.message == WM_MOUSEMOVE) {
        g_press.tracker->Move(p);
    } else if (msg.message == WM_LBUTTONUP) {
        // The tracker may be replaced by what the window does on the last requests.
        auto tracker = std::move(g_press.tracker);
        g_press.tracker.reset();
        tracker->End(p);
        if (!g_press.tracker)
            EndPress();
    }
    return true;
}

}

// ---------------------------------------------------------------------------
// The calls
// ---------------------------------------------------------------------------

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    if (info == nullptr || info->cbSize != sizeof(SCROLLINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw), reinterpret_cast<LPARAM>(info)));
    if (!IsWindowBar(bar)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int pos = 0;
    bool show = false;
    bool hide = false;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w)
            return 0;
        ScrollBarModel& model = WindowScrollModel(*w, bar);
        pos = model.Set(*info);
        const bool shown = (w->style & StyleOf(bar)) != 0;
        // A bar with nothing to scroll goes away, or stays disabled when asked.
        const bool keep = (info->fMask & SIF_DISABLENOSCROLL) != 0;
        model.SetDisabledForNoScroll(!model.Necessary() && keep);
        show = !shown && model.Necessary();
        hide = shown && !model.Necessary() && !keep;
    }
    if (show || hide)
        SetBarStyles(hwnd, StyleOf(bar), show);
    else if (redraw)
        RepaintBars(hwnd);
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
    if (info == nullptr || info->cbSize != sizeof(SCROLLINFO) || (info->fMask & SIF_ALL) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL)
        return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0 ? TRUE : FALSE;
    if (!IsWindowBar(bar)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    ScrollBarModel& model = bar == SB_VERT ? w->vScroll : w->hScroll;
    if ((w->style & StyleOf(bar)) == 0 && !model.Touched()) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    WindowScrollModel(*w, bar).Get(*info);
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageW(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
    const int previous = GetScrollPos(hwnd, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar)
{
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageW(hwnd, SBM_GETPOS, 0, 0));
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (static_cast<long long>(maxPos) - minPos > INT_MAX) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
        return TRUE;
    }
    if (!IsWindow(hwnd) || !IsWindowBar(bar)) {
        SetLastError(IsWindow(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    if (minPos == nullptr || maxPos == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageW(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &info)) {
        *minPos = *maxPos = 0;
        return FALSE;
    }
    *minPos = info.nMin;
    *maxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = 0;
    if (bar == SB_HORZ || bar == SB_BOTH)
        bits |= WS_HSCROLL;
    if (bar == SB_VERT || bar == SB_BOTH)
        bits |= WS_VSCROLL;
    if (bits == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SetBarStyles(hwnd, bits, show != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    if (bar == SB_CTL)
        return SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0) != 0 ? TRUE : FALSE;
    if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool changed = false;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w)
            return FALSE;
        if (bar != SB_HORZ)
            changed = WindowScrollModel(*w, SB_VERT).SetDisabledArrows(arrows) || changed;
        if (bar != SB_VERT)
            changed = WindowScrollModel(*w, SB_HORZ).SetDisabledArrows(arrows) || changed;
    }
    if (changed)
        RepaintBars(hwnd);
    return changed ? TRUE : FALSE;
}
