// What a window does with the messages its procedure leaves to the default.
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Region.h"
#include "Platform/Ui/MenuActivation.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/SystemKeys.h"
#include "Platform/Ui/WindowIcon.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

bool FramePaintPending(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && w->frameNeeded && w->redraw && (w->style & WS_VISIBLE) != 0;
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

LRESULT OnNcCreate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) {
        Lock lock(ws.Lock());
        if (auto w = ws.Peek(hwnd))
            w->text = cs->lpszName;
    }
    return TRUE;
}

LRESULT OnClose(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DestroyWindow(hwnd);
    return 0;
}

LRESULT OnSysCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_CLOSE)
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
    if (((wParam & 0xFFF0) == SC_KEYMENU || (wParam & 0xFFF0) == SC_MOUSEMENU) && DefMenuCommand(hwnd, wParam, lParam))
        return 0;
    // A mnemonic nothing answers: there is only the beep.
    if ((wParam & 0xFFF0) == SC_KEYMENU && lParam > L' ')
        MessageBeep(0);
    return 0;
}

LRESULT OnSysKeyDown(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Shift+F10 asks for the context menu, not for the menu bar.
    if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000) != 0) {
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        return 0;
    }
    return DefSystemKey(hwnd, message, wParam, lParam);
}

LRESULT OnKeyDown(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_APPS)
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
    return 0;
}

LRESULT OnSetText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return FALSE;
    w->text = text != nullptr ? text : L"";
    if (w->native == 0)
        return TRUE;
    DisplayLocked(ws).SetTitle(w->native, w->text);
    lock.unlock();
    PaintNonClient(hwnd);  // the caption, where the layer draws it
    return TRUE;
}

LRESULT OnGetText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
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

LRESULT OnGetTextLength(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w ? static_cast<LRESULT>(w->text.size()) : 0;
}

LRESULT OnPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnNcPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PaintNonClient(hwnd);
    return 0;
}

LRESULT OnEraseBackground(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
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

LRESULT OnPrintClient(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A window that does not draw on request leaves the context as it is.
    return 0;
}

LRESULT OnPrint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PrintWindowInto(hwnd, reinterpret_cast<HDC>(wParam), lParam);
    return 0;
}

LRESULT OnSetRedraw(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return 0;
    w->redraw = wParam != 0;
    if (w->redraw)
        ws.WakeQueue(*w->queue);
    return 0;
}

LRESULT OnSetCursor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
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
    const auto hit = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    const UINT mouse = HIWORD(static_cast<std::uintptr_t>(lParam));
    if (hit == HTERROR) {
        // A press where the window takes none; the parents asked first stay quiet.
        if (reinterpret_cast<HWND>(wParam) == hwnd && (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN || mouse == WM_NCLBUTTONDOWN ||
            mouse == WM_NCRBUTTONDOWN || mouse == WM_NCMBUTTONDOWN))
            MessageBeep(0);
        return FALSE;
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return FALSE;
}

LRESULT OnMouseActivate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND parent = GetParent(hwnd);
    if (parent != nullptr && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        const LRESULT fromParent = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (fromParent != 0)
            return fromParent;
    }
    return MA_ACTIVATE;
}

LRESULT OnActivate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd))
        SetFocus(hwnd);
    return 0;
}

LRESULT OnNcActivate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The caption shows whether the window is active, where the layer draws it.
    // A frame already waiting for its WM_NCPAINT shows the state then:
    // a dialog coming up would otherwise draw its frame twice.
    if (!FramePaintPending(hwnd))
        PaintNonClient(hwnd);
    return TRUE;
}

LRESULT OnCancelMode(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetCapture() == hwnd)
        ReleaseCapture();
    return 0;
}

LRESULT OnUnansweredToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Unhandled, they travel up to the parent.
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        if (HWND parent = GetParent(hwnd))
            return SendMessageW(parent, message, wParam, lParam);
    }
    return 0;
}

LRESULT OnRButtonUp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &p);
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    return 0;
}

LRESULT OnWindowPosChanged(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
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

LRESULT OnControlColor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    const bool edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_3DFACE));
}

}

// Each message the default answers has its own handler above; the rest get 0.
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(hwnd, message, wParam, lParam);
    case WM_NCCALCSIZE: return NonClientCalcSize(hwnd, wParam, lParam);
    case WM_CREATE: return 0;
    case WM_CLOSE: return OnClose(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, message, wParam, lParam);
    case WM_SYSKEYDOWN: return OnSysKeyDown(hwnd, message, wParam, lParam);
    case WM_SYSKEYUP:
    case WM_SYSCHAR: return DefSystemKey(hwnd, message, wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, message, wParam, lParam);
    case WM_SETTEXT: return OnSetText(hwnd, message, wParam, lParam);
    case WM_GETTEXT: return OnGetText(hwnd, message, wParam, lParam);
    case WM_GETTEXTLENGTH: return OnGetTextLength(hwnd, message, wParam, lParam);
    case WM_PAINT: return OnPaint(hwnd, message, wParam, lParam);
    case WM_NCPAINT: return OnNcPaint(hwnd, message, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: return NonClientButton(hwnd, message, wParam, lParam);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, message, wParam, lParam);
    case WM_PRINTCLIENT: return OnPrintClient(hwnd, message, wParam, lParam);
    case WM_PRINT: return OnPrint(hwnd, message, wParam, lParam);
    case WM_SETREDRAW: return OnSetRedraw(hwnd, message, wParam, lParam);
    case WM_NCHITTEST: return NonClientHitTest(hwnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_SETCURSOR: return OnSetCursor(hwnd, message, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnMouseActivate(hwnd, message, wParam, lParam);
    case WM_ACTIVATE: return OnActivate(hwnd, message, wParam, lParam);
    case WM_NCACTIVATE: return OnNcActivate(hwnd, message, wParam, lParam);
    case WM_CANCELMODE: return OnCancelMode(hwnd, message, wParam, lParam);
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU: return OnUnansweredToParent(hwnd, message, wParam, lParam);
    case WM_RBUTTONUP: return OnRButtonUp(hwnd, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(hwnd, message, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return OnControlColor(hwnd, message, wParam, lParam);
    case WM_SETICON: return SetWindowIcon(hwnd, wParam, reinterpret_cast<HICON>(lParam));
    case WM_GETICON: return GetWindowIcon(hwnd, wParam);
    case WM_GETFONT:
    case WM_GETDLGCODE: return 0;
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return proc != nullptr ? proc(hwnd, message, wParam, lParam) : 0;
}
