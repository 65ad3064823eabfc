// What a window does with the messages its procedure leaves to the default.
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Region.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace Ui;

namespace {

using Lock = std::unique_lock<std::mutex>;

void Fill(HDC dc, LONG l, LONG t, LONG r, LONG b, int color)
{
    const RECT rect{l, t, r, b};
    FillRect(dc, &rect, GetSysColorBrush(color));
}

// A two-colour edge one pixel wide around `r`, then `r` shrinks by it.
void Edge(HDC dc, RECT& r, int topLeft, int bottomRight)
{
    Fill(dc, r.left, r.top, r.right, r.top + 1, topLeft);
    Fill(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
    Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    Fill(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

// The layer's part of the non-client area: borders and edges of children and
// pop-ups, client edges, and the place of the scroll bars.
void PaintFrame(HWND hwnd)
{
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT window{};
    RECT client{};
    Display::FrameExtents frame{};
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return;
        style = w->style;
        exStyle = w->exStyle;
        window = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
        client = w->client;
        frame = w->frame;
    }
    HDC dc = GetWindowDC(hwnd);
    if (dc == nullptr)
        return;
    RECT r{window.left + frame.left, window.top + frame.top, window.right - frame.right, window.bottom - frame.bottom};
    const bool framed = frame.top != 0;
    if (!framed) {
        if ((style & WS_THICKFRAME) != 0) {
            Edge(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
            Edge(dc, r, COLOR_3DHILIGHT, COLOR_3DSHADOW);
            Edge(dc, r, COLOR_3DFACE, COLOR_3DFACE);
            Edge(dc, r, COLOR_3DFACE, COLOR_3DFACE);
        } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
            Edge(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
            Edge(dc, r, COLOR_3DHILIGHT, COLOR_3DSHADOW);
            Edge(dc, r, COLOR_3DFACE, COLOR_3DFACE);
        } else if ((style & WS_BORDER) != 0) {
            Edge(dc, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        }
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        Edge(dc, r, COLOR_3DSHADOW, COLOR_3DHILIGHT);
        Edge(dc, r, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0)
        Edge(dc, r, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    // Scroll bars draw themselves over this ground.
    if ((style & WS_VSCROLL) != 0)
        Fill(dc, client.right, client.top, r.right, client.bottom, COLOR_SCROLLBAR);
    if ((style & WS_HSCROLL) != 0)
        Fill(dc, client.left, client.bottom, r.right, r.bottom, COLOR_SCROLLBAR);
    ReleaseDC(hwnd, dc);
}

// WM_PRINT: the window draws itself, and on request its children, into a
// context the caller gives (an image of the window, not the screen).
void PrintWindowInto(HWND hwnd, HDC dc, LPARAM flags)
{
    if (dc == nullptr || ((flags & PRF_CHECKVISIBLE) != 0 && !IsWindowVisible(hwnd)))
        return;
    if ((flags & PRF_ERASEBKGND) != 0)
        SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if ((flags & PRF_CLIENT) != 0)
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    if ((flags & PRF_CHILDREN) == 0)
        return;
    std::vector<HWND> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr && children.size() < 10000; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    // Bottom of the Z-order first, so that upper children land on top.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        // The child's own style: the window printed may itself be hidden.
        if ((GetWindowLongPtrW(*it, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        POINT origin{0, 0};
        MapWindowPoints(*it, hwnd, &origin, 1);
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        RECT client{};
        GetClientRect(*it, &client);
        IntersectClipRect(dc, 0, 0, client.right, client.bottom);
        SendMessageW(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc), (flags & ~PRF_CHECKVISIBLE) | PRF_CLIENT);
        RestoreDC(dc, saved);
    }
}

LRESULT HitTest(HWND hwnd, LPARAM lParam)
{
    RECT window{};
    GetWindowRect(hwnd, &window);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (p.x < window.left || p.x >= window.right || p.y < window.top || p.y >= window.bottom)
        return HTNOWHERE;
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT local = p;
    ScreenToClient(hwnd, &local);
    if (local.x >= 0 && local.y >= 0 && local.x < client.right && local.y < client.bottom)
        return HTCLIENT;
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if ((style & WS_VSCROLL) != 0 && local.x >= client.right && local.y >= 0 && local.y < client.bottom)
        return HTVSCROLL;
    if ((style & WS_HSCROLL) != 0 && local.y >= client.bottom && local.x >= 0 && local.x < client.right)
        return HTHSCROLL;
    return HTBORDER;
}

}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) {
            Lock lock(ws.Lock());
            if (auto w = ws.Peek(hwnd))
                w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_NCCALCSIZE:
    case WM_CREATE:
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return FALSE;
        w->text = text != nullptr ? text : L"";
        if (w->native != 0)
            DisplayLocked(ws).SetTitle(w->native, w->text);
        return TRUE;
    }
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (buffer == nullptr || wParam == 0)
            return 0;
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return 0;
        const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
        std::copy_n(w->text.c_str(), n, buffer);
        buffer[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCPAINT:
        PaintFrame(hwnd);
        return 0;
    case WM_ERASEBKGND: {
        HBRUSH brush = nullptr;
        {
            Lock lock(ws.Lock());
            auto w = ws.Peek(hwnd);
            if (!w)
                return 0;
            brush = w->windowClass->background;
        }
        if (brush == nullptr)
            return 0;
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return 1;
    }
    case WM_PRINTCLIENT:
        // A window that does not draw on request leaves the context as it is.
        return 0;
    case WM_PRINT:
        PrintWindowInto(hwnd, reinterpret_cast<HDC>(wParam), lParam);
        return 0;
    case WM_SETREDRAW: {
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return 0;
        w->redraw = wParam != 0;
        if (w->redraw)
            ws.WakeQueue(*w->queue);
        return 0;
    }
    case WM_NCHITTEST:
        return HitTest(hwnd, lParam);
    case WM_SETCURSOR: {
        // The parent may set the cursor for its children.
        HWND parent = nullptr;
        HCURSOR cursor = nullptr;
        {
            Lock lock(ws.Lock());
            auto w = ws.Peek(hwnd);
            if (!w)
                return FALSE;
            if ((w->style & WS_CHILD) != 0)
                parent = w->parent;
            cursor = w->windowClass->cursor;
        }
        if (parent != nullptr && SendMessageW(parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT && cursor != nullptr) {
            SetCursor(cursor);
            return TRUE;
        }
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT)
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return FALSE;
    }
    case WM_MOUSEACTIVATE: {
        HWND parent = GetParent(hwnd);
        if (parent != nullptr && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
            const LRESULT fromParent = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (fromParent != 0)
                return fromParent;
        }
        return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd))
            SetFocus(hwnd);
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        // Unhandled, they travel up to the parent.
        if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
            if (HWND parent = GetParent(hwnd))
                return SendMessageW(parent, message, wParam, lParam);
        }
        return 0;
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &p);
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos == nullptr)
            return 0;
        if ((pos->flags & SWP_NOMOVE) == 0) {
            RECT window{};
            GetWindowRect(hwnd, &window);
            POINT origin{0, 0};
            ClientToScreen(hwnd, &origin);
            HWND parent = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(hwnd) : nullptr;
            if (parent != nullptr)
                ScreenToClient(parent, &origin);
            SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
        }
        if ((pos->flags & SWP_NOSIZE) == 0) {
            RECT client{};
            GetClientRect(hwnd, &client);
            const WPARAM kind = IsIconic(hwnd) ? SIZE_MINIMIZED : IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
            SendMessageW(hwnd, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
        }
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const bool edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_3DFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_3DFACE));
    }
    case WM_GETFONT:
    case WM_GETDLGCODE:
    case WM_GETICON:
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    default:
        return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return proc != nullptr ? proc(hwnd, message, wParam, lParam) : 0;
}
