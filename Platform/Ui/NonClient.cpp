// The non-client area: hit testing, the default answers to the non-client
// messages, and painting borders, scroll bars and the layer-drawn frames.
#include "Platform/Ui/NonClient.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/SurfaceDC.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/MenuBar.h"
#include "Platform/Ui/PopupMenu.h"
#include "Platform/Ui/SystemMenuAccess.h"
#include "Platform/Ui/WindowScrollBars.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// A top-level's frame as the layer draws it, in window coordinates: the
// border all round and the caption with its close button.
struct FrameLayout {
    RECT window{};
    Display::FrameExtents frame{};

    RECT Caption() const
    {
        return {frame.left, frame.left, window.right - frame.right, frame.top - 1};
    }
    // The window menu's icon at the caption's left end.
    RECT IconArea() const
    {
        const RECT caption = Caption();
        return {caption.left, caption.top, caption.left + (caption.bottom - caption.top), caption.bottom};
    }
    RECT CloseButton() const
    {
        const RECT caption = Caption();
        const LONG height = std::max<LONG>(0, caption.bottom - caption.top - 4);
        const LONG width = height + 2;
        return {caption.right - 2 - width, caption.top + 2, caption.right - 2, caption.top + 2 + height};
    }
};

LRESULT FrameHit(const FrameLayout& layout, bool resizable, bool windowMenu, POINT p)
{
    if (Contains(layout.CloseButton(), p))
        return HTCLOSE;
    if (windowMenu && Contains(layout.IconArea(), p))
        return HTSYSMENU;
    if (Contains(layout.Caption(), p))
        return HTCAPTION;
    if (!resizable)
        return HTBORDER;
    const auto& f = layout.frame;
    const LONG width = layout.window.right;
    const LONG height = layout.window.bottom;
    const bool inLeft = p.x < f.left;
    const bool inRight = p.x >= width - f.right;
    const bool inTop = p.y < f.left;
    const bool inBottom = p.y >= height - f.bottom;
    // Corners reach a caption's height along each side, as sizing grips do.
    const LONG grip = f.top;
    const bool nearLeft = p.x < grip;
    const bool nearRight = p.x >= width - grip;
    const bool nearTop = p.y < grip;
    const bool nearBottom = p.y >= height - grip;
    if ((inTop && nearLeft) || (inLeft && nearTop))
        return HTTOPLEFT;
    if ((inTop && nearRight) || (inRight && nearTop))
        return HTTOPRIGHT;
    if ((inBottom && nearLeft) || (inLeft && nearBottom))
        return HTBOTTOMLEFT;
    if ((inBottom && nearRight) || (inRight && nearBottom))
        return HTBOTTOMRIGHT;
    if (inTop)
        return HTTOP;
    if (inBottom)
        return HTBOTTOM;
    if (inLeft)
        return HTLEFT;
    return inRight ? HTRIGHT : HTBORDER;
}

// What painting the non-client area needs, taken under the lock.
struct NonClientState {
    DWORD style = 0;
    DWORD exStyle = 0;
    FrameLayout layout;
    std::wstring title;
    bool active = false;
    bool closeOffered = true;
    bool layerFrame = false;  // the display leaves the top-level's frame to the layer
    Display::NativeId native = 0;
};

bool ReadState(HWND hwnd, NonClientState& state)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return false;
    state.style = w->style;
    state.exStyle = w->exStyle;
    state.layout.window = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    state.layout.frame = w->frame;
    state.title = w->text;
    state.active = ws.m_active == hwnd;
    state.closeOffered = SystemCommandAllowedLocked(ws, *w, SC_CLOSE);
    state.native = w->native;
    state.layerFrame = w->frame.top != 0 && w->native != 0 && DisplayLocked(ws).LayerDrawsFrames();
    return true;
}

// Borders of children and pop-ups and the client edges, from the outside in.
void PaintBorders(HDC dc, const NonClientState& state)
{
    const auto& f = state.layout.frame;
    RECT r{f.left, f.top, state.layout.window.right - f.right, state.layout.window.bottom - f.bottom};
    if (f.top == 0) {
        const bool thick = (state.style & WS_THICKFRAME) != 0;
        if (thick || (state.style & WS_DLGFRAME) != 0 || (state.exStyle & WS_EX_DLGMODALFRAME) != 0) {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
            const int face = thick ? 2 : 1;
            for (int i = 0; i < face; ++i) {
                FrameRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
                r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            }
        } else if ((state.style & WS_BORDER) != 0) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        }
    }
    if ((state.exStyle & WS_EX_CLIENTEDGE) != 0)
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if ((state.exStyle & WS_EX_STATICEDGE) != 0)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

void PaintCaption(HDC dc, const NonClientState& state)
{
    const RECT caption = state.layout.Caption();
    FillRect(dc, &caption, GetSysColorBrush(state.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    NONCLIENTMETRICSW metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(state.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT close = state.layout.CloseButton();
    RECT text{caption.left + 4, caption.top, close.left - 2, caption.bottom};
    DrawTextW(dc, state.title.c_str(), static_cast<int>(state.title.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | (state.closeOffered ? 0 : DFCS_INACTIVE));
}

// The display shows the window's own picture inside the frame, so only the
// bands round it are filled: the whole picture cost a dialog as much as its
// controls.
void FillFrameBands(HDC dc, const FrameLayout& layout)
{
    const RECT& window = layout.window;
    const Display::FrameExtents& frame = layout.frame;
    const RECT bands[] = {
        {0, 0, window.right, frame.top},
        {0, window.bottom - frame.bottom, window.right, window.bottom},
        {0, frame.top, frame.left, window.bottom - frame.bottom},
        {window.right - frame.right, frame.top, window.right, window.bottom - frame.bottom},
    };
    for (const RECT& band : bands)
        FillRect(dc, &band, GetSysColorBrush(COLOR_3DFACE));
}

// The display copies the frame's picture, so one picture per thread serves
// every frame of that size: a fresh one per paint cost the page faults of
// a whole window each time a dialog came up.
cairo_surface_t* FramePicture(int width, int height)
{
    struct Picture {
        cairo_surface_t* surface = nullptr;
        ~Picture()
        {
            if (surface != nullptr)
                cairo_surface_destroy(surface);
        }
    };
    thread_local Picture picture;
    if (picture.surface == nullptr || cairo_image_surface_get_width(picture.surface) != width ||
        cairo_image_surface_get_height(picture.surface) != height) {
        if (picture.surface != nullptr)
            cairo_surface_destroy(picture.surface);
        picture.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    }
    return picture.surface;
}

// The frame of a top-level where the display has no window manager: drawn
// into a picture of the whole window that the display puts round the client.
void PaintLayerFrame(const NonClientState& state)
{
    const RECT& window = state.layout.window;
    if (window.right <= 0 || window.bottom <= 0)
        return;
    cairo_surface_t* picture = FramePicture(window.right, window.bottom);
    HDC dc = CreateSurfaceDC(picture, {0, 0}, window);
    if (dc != nullptr) {
        FillFrameBands(dc, state.layout);
        RECT r = window;
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        PaintCaption(dc, state);
        ReleaseSurfaceDC(dc);
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        DisplayLocked(ws).PresentFrame(state.native, picture);
    }
}

}

namespace Ui {

LRESULT NonClientHitTest(HWND hwnd, POINT screen)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return HTNOWHERE;
    const POINT clientOrigin = ClientOriginOnScreen(ws, *w);
    const POINT p{screen.x - clientOrigin.x + w->client.left, screen.y - clientOrigin.y + w->client.top};
    const FrameLayout layout{{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top}, w->frame};
    if (!Contains(layout.window, p))
        return HTNOWHERE;
    if (Contains(w->client, p))
        return HTCLIENT;
    const RECT native{w->frame.left, w->frame.top, layout.window.right - w->frame.right, layout.window.bottom - w->frame.bottom};
    if (w->frame.top != 0 && !Contains(native, p))
        return FrameHit(layout, (w->style & WS_THICKFRAME) != 0, (w->style & WS_SYSMENU) != 0, p);
    if (w->menuBar != nullptr && (w->style & WS_CHILD) == 0 && p.y < w->client.top && p.y >= w->client.top - CMenuBar::Height() &&
        p.x >= w->client.left && p.x < w->client.right)
        return HTMENU;
    if (Contains(WindowScrollBarRect(*w, SB_VERT), p))
        return HTVSCROLL;
    if (Contains(WindowScrollBarRect(*w, SB_HORZ), p))
        return HTHSCROLL;
    return HTBORDER;
}

void PaintNonClient(HWND hwnd)
{
    NonClientState state;
    if (!ReadState(hwnd, state))
        return;
    if (HDC dc = GetWindowDC(hwnd)) {
        PaintBorders(dc, state);
        CMenuBar::Paint(hwnd, dc);
        PaintWindowScrollBars(hwnd, dc);
        ReleaseDC(hwnd, dc);
    }
    if (state.layerFrame)
        PaintLayerFrame(state);
}

LRESULT NonClientButton(HWND hwnd, UINT message, WPARAM hit, LPARAM screen)
{
    const POINT p{GET_X_LPARAM(screen), GET_Y_LPARAM(screen)};
    if (message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK) {
        // A quick second press on a bar is one more press, not a double click.
        if (hit == static_cast<WPARAM>(HTVSCROLL) || hit == static_cast<WPARAM>(HTHSCROLL))
            StartWindowScrollTracking(hwnd, hit == static_cast<WPARAM>(HTVSCROLL) ? SB_VERT : SB_HORZ, p);
        // The menu bar and the window menu's icon open their menus on the press.
        if (message == WM_NCLBUTTONDOWN && (hit == static_cast<WPARAM>(HTMENU) || hit == static_cast<WPARAM>(HTSYSMENU)))
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + hit, screen);
        return 0;
    }
    if (message == WM_NCLBUTTONUP && hit == static_cast<WPARAM>(HTCLOSE))
        ChooseSystemCommand(hwnd, SC_CLOSE, screen);
    return 0;
}

LRESULT NonClientCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        return 0;
    RECT* rect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return 0;
    const RECT client = StandardClientRect(ws, *w, rect->right - rect->left, rect->bottom - rect->top);
    *rect = {rect->left + client.left, rect->top + client.top, rect->left + client.right, rect->top + client.bottom};
    return 0;
}

RECT AskClientRect(HWND hwnd, WINDOWPOS* pos)
{
    RECT window{};
    RECT oldWindow{};
    RECT oldClient{};
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return {};
        oldWindow = w->rect;
        oldClient = {w->rect.left + w->client.left, w->rect.top + w->client.top, w->rect.left + w->client.right,
                     w->rect.top + w->client.bottom};
        window = pos != nullptr ? RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy} : w->rect;
    }
    RECT client = window;
    if (pos != nullptr) {
        NCCALCSIZE_PARAMS params;
        params.rgrc[0] = window;
        params.rgrc[1] = oldWindow;
        params.rgrc[2] = oldClient;
        params.lppos = pos;
        SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        client = params.rgrc[0];
    } else {
        SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    }
    return {client.left - window.left, client.top - window.top, client.right - window.left, client.bottom - window.top};
}

void ApplyClientRect(Window& w, const RECT& client)
{
    const LONG width = w.rect.right - w.rect.left;
    const LONG height = w.rect.bottom - w.rect.top;
    const RECT inside{w.frame.left, w.frame.top, std::max(w.frame.left, width - w.frame.right),
                      std::max(w.frame.top, height - w.frame.bottom)};
    w.client.left = std::clamp(client.left, inside.left, inside.right);
    w.client.top = std::clamp(client.top, inside.top, inside.bottom);
    w.client.right = std::clamp(client.right, w.client.left, inside.right);
    w.client.bottom = std::clamp(client.bottom, w.client.top, inside.bottom);
}

}
