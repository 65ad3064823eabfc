// TrackMouseEvent's hover and leave notices, and DragDetect.
#include "Platform/Ui/MouseTracking.h"

#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/HoverTracking.h"

#include <cstdlib>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// The id of the hover timer on the tracked window; far from windows' own ids.
constexpr UINT_PTR kHoverTimer = 0x7FFFCA01;
constexpr DWORD kKnownFlags = TME_HOVER | TME_LEAVE | TME_QUERY | TME_CANCEL;
// DragDetect gives up after this many waits without any input.
constexpr int kMaxIdleDragWaits = 100;
constexpr DWORD kDragWaitMs = 50;

// The window whose hover tracking NoteMouseMoveForHover looked after last (lock held).
HWND g_lastHover = nullptr;

UINT HoverTimeOf(DWORD asked)
{
    if (asked != HOVER_DEFAULT)
        return asked;
    UINT time = 400;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &time, 0);
    return time;
}

// Half the hover rectangle's width and height.
SIZE HoverSlack()
{
    UINT width = 4;
    UINT height = 4;
    SystemParametersInfoW(SPI_GETMOUSEHOVERWIDTH, 0, &width, 0);
    SystemParametersInfoW(SPI_GETMOUSEHOVERHEIGHT, 0, &height, 0);
    return {static_cast<LONG>(width / 2), static_cast<LONG>(height / 2)};
}

SIZE g_hoverSlack{2, 2};

WPARAM MouseKeyState(const WindowSystem& ws)
{
    WPARAM keys = 0;
    const std::pair<int, WPARAM> map[] = {{VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_MBUTTON, MK_MBUTTON},
                                          {VK_SHIFT, MK_SHIFT},     {VK_CONTROL, MK_CONTROL}};
    for (const auto& [key, bit] : map) {
        if ((ws.m_asyncKeyState[key] & 0x80) != 0)
            keys |= bit;
    }
    return keys;
}

void PostNotice(WindowSystem& ws, Window& w, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = w.hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(Platform::Clock::NowMs());
    msg.pt = ws.m_cursorPos;
    PostLocked(ws, *w.queue, msg);
}

void HoverProc(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    auto& ws = WindowSystem::Get();
    UINT remaining = 0;
    {
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (w && w->trackHover && ws.m_hover == hwnd) {
            const ULONGLONG rested = Platform::Clock::NowMs() - w->hoverSince;
            if (rested >= w->hoverTime) {
                const POINT origin = ClientOriginOnScreen(ws, *w);
                PostNotice(ws, *w, WM_MOUSEHOVER, MouseKeyState(ws),
                           MAKELPARAM(static_cast<WORD>(ws.m_cursorPos.x - origin.x), static_cast<WORD>(ws.m_cursorPos.y - origin.y)));
                w->trackHover = false;
            } else {
                remaining = static_cast<UINT>(w->hoverTime - rested);
            }
        } else if (w) {
            w->trackHover = false;
        }
    }
    if (remaining != 0)
        SetTimer(hwnd, id, remaining, HoverProc);
    else
        KillTimer(hwnd, id);
}

BOOL Query(WindowSystem& ws, TRACKMOUSEEVENT& track)
{
    auto w = ws.Peek(ws.m_hover);
    DWORD flags = 0;
    if (w && w->trackLeave)
        flags |= TME_LEAVE;
    if (w && w->trackHover)
        flags |= TME_HOVER;
    track.dwFlags = flags;
    track.hwndTrack = flags != 0 ? w->hwnd : nullptr;
    track.dwHoverTime = w && w->trackHover ? w->hoverTime : 0;
    return TRUE;
}

bool LeftButtonDown()
{
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// The drag loop proper, with the mouse captured.
BOOL FollowDrag(HWND hwnd, const RECT& still)
{
    for (int idle = 0; idle < kMaxIdleDragWaits;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
            if (!PtInRect(&still, msg.pt))
                return TRUE;
            continue;
        }
        if (PeekMessageW(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
            return FALSE;
        if (PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                return FALSE;
            continue;
        }
        if (GetCapture() != hwnd || !LeftButtonDown())
            return FALSE;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kDragWaitMs, QS_MOUSE | QS_KEY) == WAIT_TIMEOUT)
            ++idle;
    }
    return FALSE;
}

}

namespace Ui {

void NoteMouseMoveForHover(WindowSystem& ws, HWND under, POINT screen)
{
    if (g_lastHover != under) {
        // Leaving a window ends its hover tracking.
        if (auto old = ws.Peek(g_lastHover))
            old->trackHover = false;
        g_lastHover = under;
    }
    auto w = ws.Peek(under);
    if (!w || !w->trackHover)
        return;
    if (std::abs(screen.x - w->hoverAnchor.x) > g_hoverSlack.cx || std::abs(screen.y - w->hoverAnchor.y) > g_hoverSlack.cy) {
        w->hoverAnchor = screen;
        w->hoverSince = Platform::Clock::NowMs();
    }
}

}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track)
{
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((track->dwFlags & ~kKnownFlags) != 0) {
        // Non-client tracking needs the non-client hit test, which decides where that area ends.
        SetLastError(ERROR_INVALID_FLAGS);
        return FALSE;
    }
    const UINT hoverTime = (track->dwFlags & TME_HOVER) != 0 ? HoverTimeOf(track->dwHoverTime) : 0;
    const SIZE slack = HoverSlack();
    auto& ws = WindowSystem::Get();
    bool armHover = false;
    bool stopHover = false;
    {
        Lock lock(ws.Lock());
        g_hoverSlack = slack;
        if ((track->dwFlags & TME_QUERY) != 0)
            return Query(ws, *track);
        auto w = ws.Find(track->hwndTrack);
        if (!w)
            return FALSE;
        const bool cancel = (track->dwFlags & TME_CANCEL) != 0;
        if ((track->dwFlags & TME_LEAVE) != 0) {
            if (cancel)
                w->trackLeave = false;
            else if (ws.m_hover != w->hwnd)
                PostNotice(ws, *w, WM_MOUSELEAVE, 0, 0);  // the pointer is elsewhere already
            else
                w->trackLeave = true;
        }
        if ((track->dwFlags & TME_HOVER) != 0) {
            if (cancel) {
                stopHover = w->trackHover;
                w->trackHover = false;
            } else if (ws.m_hover == w->hwnd) {
                w->trackHover = true;
                w->hoverTime = hoverTime;
                w->hoverAnchor = ws.m_cursorPos;
                w->hoverSince = Platform::Clock::NowMs();
                g_lastHover = w->hwnd;
                armHover = true;
            }
        }
    }
    if (armHover)
        SetTimer(track->hwndTrack, kHoverTimer, hoverTime, HoverProc);
    if (stopHover)
        KillTimer(track->hwndTrack, kHoverTimer);
    return TRUE;
}

BOOL DragDetect(HWND hwnd, POINT start)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!LeftButtonDown())
        return FALSE;
    const int halfWidth = GetSystemMetrics(SM_CXDRAG) / 2;
    const int halfHeight = GetSystemMetrics(SM_CYDRAG) / 2;
    const RECT still{start.x - halfWidth, start.y - halfHeight, start.x + halfWidth + 1, start.y + halfHeight + 1};
    const bool hadCapture = GetCapture() == hwnd;
    if (!hadCapture)
        SetCapture(hwnd);
    const BOOL dragging = FollowDrag(hwnd, still);
    if (!hadCapture && GetCapture() == hwnd)
        ReleaseCapture();
    return dragging;
}
