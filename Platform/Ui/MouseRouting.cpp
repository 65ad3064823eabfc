// What happens to a mouse message as it is taken from the queue: the hit
// test, the pass to the window below, the non-client messages, activation
// and the cursor.
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/WindowScrollBars.h"

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

UINT NonClientMessageOf(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE: return WM_NCMOUSEMOVE;
    case WM_LBUTTONDOWN: return WM_NCLBUTTONDOWN;
    case WM_LBUTTONUP: return WM_NCLBUTTONUP;
    case WM_LBUTTONDBLCLK: return WM_NCLBUTTONDBLCLK;
    case WM_RBUTTONDOWN: return WM_NCRBUTTONDOWN;
    case WM_RBUTTONUP: return WM_NCRBUTTONUP;
    case WM_RBUTTONDBLCLK: return WM_NCRBUTTONDBLCLK;
    case WM_MBUTTONDOWN: return WM_NCMBUTTONDOWN;
    case WM_MBUTTONUP: return WM_NCMBUTTONUP;
    case WM_MBUTTONDBLCLK: return WM_NCMBUTTONDBLCLK;
    default: return message;
    }
}

bool IsPress(UINT m)
{
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
           m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN ||
           m == WM_NCMBUTTONDOWN || m == WM_NCLBUTTONDBLCLK || m == WM_NCRBUTTONDBLCLK || m == WM_NCMBUTTONDBLCLK;
}

bool IsClientDoubleClick(UINT m)
{
    return m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}

LPARAM PointParam(POINT p)
{
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

// The display reports every quick second click; a client area takes it as a
// double click only when its class asks for them.
void ClientDoubleClick(MSG& msg)
{
    if (IsClientDoubleClick(msg.message) && (GetClassLongPtrW(msg.hwnd, GCL_STYLE) & CS_DBLCLKS) == 0)
        msg.message -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
}

// The window below one that answered HTTRANSPARENT. Another thread's window
// gets the input posted to its own queue; null then.
HWND PassBelow(MSG& msg, const std::vector<HWND>& passed)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto below = WindowAtSkipping(ws, msg.pt, passed);
    if (!below)
        return nullptr;
    const POINT origin = ClientOriginOnScreen(ws, *below);
    msg.hwnd = below->hwnd;
    msg.lParam = PointParam({msg.pt.x - origin.x, msg.pt.y - origin.y});
    if (below->queue.get() != ws.CurrentQueue().get()) {
        PostLocked(ws, *below->queue, msg);
        return nullptr;
    }
    return below->hwnd;
}

}

namespace Ui {

bool RouteMouse(MSG& msg, LRESULT& hit)
{
    hit = HTCLIENT;
    if (FeedWindowScrollTracking(msg))
        return false;
    // Under the capture everything is client input of the capturing window.
    if (GetCapture() == msg.hwnd) {
        ClientDoubleClick(msg);
        return true;
    }
    std::vector<HWND> passed;
    for (int layer = 0;; ++layer) {
        hit = SendMessageW(msg.hwnd, WM_NCHITTEST, 0, PointParam(msg.pt));
        if (hit != HTTRANSPARENT)
            break;
        if (layer == kMaxTransparentLayers)
            return false;
        passed.push_back(msg.hwnd);
        if (PassBelow(msg, passed) == nullptr)
            return false;
    }
    if (hit == HTCLIENT) {
        ClientDoubleClick(msg);
        return true;
    }
    msg.message = NonClientMessageOf(msg.message);
    msg.wParam = static_cast<WPARAM>(hit);
    msg.lParam = PointParam(msg.pt);
    return true;
}

bool MouseArrives(const MSG& msg, LRESULT hit)
{
    bool eat = false;
    if (IsPress(msg.message)) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root != nullptr && GetActiveWindow() != root && (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0) {
            const LRESULT how = SendMessageW(msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                             MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg.message)));
            if (how == MA_ACTIVATE || how == MA_ACTIVATEANDEAT)
                SetActiveWindow(root);
            eat = how == MA_ACTIVATEANDEAT || how == MA_NOACTIVATEANDEAT;
        }
    }
    if (GetCapture() == nullptr)
        SendMessageW(msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg.hwnd),
                     MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg.message)));
    return !eat && hit != HTERROR;
}

}
