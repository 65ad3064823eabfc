// Showing, minimizing and maximizing, visibility and enabling.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

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
    const bool hadFocus = !enable && ws.m_focus != nullptr && (ws.m_focus == hwnd || [&] {
        for (auto f = ws.Peek(ws.m_focus); f; f = ws.Peek(f->parent)) {
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
