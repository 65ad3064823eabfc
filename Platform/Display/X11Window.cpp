#include "Platform/Display/X11Window.h"

#include "Platform/Base/TextConversion.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Display::X11 {
namespace {

constexpr long kEventMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | ExposureMask | StructureNotifyMask | FocusChangeMask |
                            PropertyChangeMask;

LONG Width(const RECT& r) { return std::max<LONG>(r.right - r.left, 1); }
LONG Height(const RECT& r) { return std::max<LONG>(r.bottom - r.top, 1); }

// The part of `area` inside a surface of the given size; empty when nothing is left.
RECT ClipToSurface(const RECT& area, int width, int height)
{
    RECT r{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, width),
           std::min<LONG>(area.bottom, height)};
    if (r.right <= r.left || r.bottom <= r.top)
        return {};
    return r;
}

}

bool VisualMatchesCairo(XDisplay* display, int screen)
{
    Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    if ((depth != 24 && depth != 32) || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 ||
        visual->blue_mask != 0xFF) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool thirtyTwo = false;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            thirtyTwo = formats[i].bits_per_pixel == 32;
    }
    if (formats)
        XFree(formats);
    return thirtyTwo;
}

CX11Window::~CX11Window()
{
    Destroy();
}

bool CX11Window::Create(const Display::TopLevelParams& params, Window owner)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || m_window)
        return false;
    m_params = params;
    m_clientRect = params.clientRect;
    m_clientRect.right = m_clientRect.left + Width(params.clientRect);
    m_clientRect.bottom = m_clientRect.top + Height(params.clientRect);
    const int screen = m_connection.GetScreen();
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEventMask;
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.border_pixel = 0;
    attributes.bit_gravity = NorthWestGravity;
    attributes.override_redirect = IsPopup() ? True : False;
    attributes.save_under = IsPopup() ? True : False;
    const unsigned long mask = CWEventMask | CWBackPixel | CWBorderPixel | CWBitGravity | CWOverrideRedirect | CWSaveUnder;
    m_window = XCreateWindow(display, m_connection.GetRoot(), m_clientRect.left, m_clientRect.top,
                             static_cast<unsigned>(Width(m_clientRect)), static_cast<unsigned>(Height(m_clientRect)), 0,
                             CopyFromParent, InputOutput, CopyFromParent, mask, &attributes);
    if (!m_window)
        return false;
    m_gc = XCreateGC(display, m_window, 0, nullptr);
    m_directPixels = VisualMatchesCairo(display, screen);
    if (!IsPopup()) {
        Atom protocols[] = {m_connection.GetAtom("WM_DELETE_WINDOW")};
        XSetWMProtocols(display, m_window, protocols, 1);
        XClassHint classHint{};
        char name[] = "corvane";
        classHint.res_name = name;
        classHint.res_class = name;
        XSetClassHint(display, m_window, &classHint);
        SetSizeHints();
        SetMotifHints();
    }
    SetOwner(owner);
    if (!IsPopup())
        RewriteUnmappedStates();
    SetTitle(params.title);
    return true;
}

void CX11Window::Destroy()
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return;
    if (m_gc)
        XFreeGC(display, m_gc);
    m_gc = nullptr;
    XDestroyWindow(display, m_window);
    XFlush(display);
    m_window = 0;
    m_visible = false;
}

bool CX11Window::Recreate()
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display)
        return false;
    // The old window is gone with its resources but the GC, which is ours.
    if (m_gc)
        XFreeGC(display, m_gc);
    m_gc = nullptr;
    m_window = 0;
    const bool wasVisible = m_visible;
    m_visible = false;
    m_handedOver = false;
    m_lastMoveSerial = 0;
    Display::TopLevelParams params = m_params;
    params.clientRect = m_clientRect;
    if (!Create(params, m_owner))
        return false;
    SetIcon(std::vector<Display::IconImage>(m_icons));
    if (wasVisible)
        Show(true);
    return true;
}

void CX11Window::SetSizeHints()
{
    XSizeHints* hints = XAllocSizeHints();
    if (!hints)
        return;
    // Static gravity: the position we give is the client's, not the frame's.
    hints->flags = USPosition | USSize | PWinGravity;
    hints->x = m_clientRect.left;
    hints->y = m_clientRect.top;
    hints->width = Width(m_clientRect);
    hints->height = Height(m_clientRect);
    hints->win_gravity = StaticGravity;
    if (!m_params.resizable) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = hints->width;
        hints->min_height = hints->max_height = hints->height;
    }
    XSetWMNormalHints(m_connection.GetDisplay(), m_window, hints);
    XFree(hints);
}

void CX11Window::SetMotifHints()
{
    // The Motif hints are the one way to tell any window manager which
    // buttons a frame shows: a box the window's styles leave out must not
    // be offered (a maximise button on a fixed-size dialog does nothing).
    enum : long { kHintFunctions = 1, kHintDecorations = 2 };
    enum : long { kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32 };
    enum : long { kDecorBorder = 2, kDecorResizeHandle = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                  kDecorMaximize = 64 };
    long functions = kFuncMove | kFuncClose;
    long decorations = kDecorBorder | kDecorTitle | kDecorMenu;
    if (m_params.resizable) {
        functions |= kFuncResize;
        decorations |= kDecorResizeHandle;
    }
    if (m_params.minimizable) {
        functions |= kFuncMinimize;
        decorations |= kDecorMinimize;
    }
    // Maximising a window that cannot change its size would do nothing.
    if (m_params.maximizable && m_params.resizable) {
        functions |= kFuncMaximize;
        decorations |= kDecorMaximize;
    }
    const long hints[5] = {kHintFunctions | kHintDecorations, functions, decorations, 0, 0};
    const Atom atom = m_connection.GetAtom("_MOTIF_WM_HINTS");
    XChangeProperty(m_connection.GetDisplay(), m_window, atom, atom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    SetAllowedActions();
}

void CX11Window::SetAllowedActions()
{
    // A window manager keeps this list itself once it manages the window;
    // written before, it tells one that reads no Motif hints what to offer.
    std::vector<const char*> names{"_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_CLOSE", "_NET_WM_ACTION_CHANGE_DESKTOP",
                                   "_NET_WM_ACTION_STICK", "_NET_WM_ACTION_ABOVE", "_NET_WM_ACTION_BELOW"};
    if (m_params.resizable)
        names.push_back("_NET_WM_ACTION_RESIZE");
    if (m_params.minimizable)
        names.push_back("_NET_WM_ACTION_MINIMIZE");
    if (m_params.maximizable && m_params.resizable) {
        names.push_back("_NET_WM_ACTION_MAXIMIZE_HORZ");
        names.push_back("_NET_WM_ACTION_MAXIMIZE_VERT");
        names.push_back("_NET_WM_ACTION_FULLSCREEN");
    }
    std::vector<long> atoms;
    for (const char* name : names)
        atoms.push_back(static_cast<long>(m_connection.GetAtom(name)));
    XChangeProperty(m_connection.GetDisplay(), m_window, m_connection.GetAtom("_NET_WM_ALLOWED_ACTIONS"), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
}

void CX11Window::SetIcon(const std::vector<Display::IconImage>& images)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window || IsPopup())
        return;
    m_icons = images;
    const Atom property = m_connection.GetAtom("_NET_WM_ICON");
    // Each picture as width, height and its pixels, one CARDINAL (a long to Xlib) each.
    std::vector<long> data;
    for (const Display::IconImage& image : images) {
        const std::size_t count = static_cast<std::size_t>(std::max(image.width, 0)) * std::max(image.height, 0);
        if (count == 0 || image.argb.size() != count)
            continue;
        data.push_back(image.width);
        data.push_back(image.height);
        for (std::uint32_t pixel : image.argb)
            data.push_back(static_cast<long>(pixel));
    }
    if (data.empty()) {
        XDeleteProperty(display, m_window, property);
        return;
    }
    XChangeProperty(display, m_window, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void CX11Window::SetFrameFunctions(bool resizable, bool minimizable, bool maximizable)
{
    if (!m_window || IsPopup())
        return;
    if (m_params.resizable == resizable && m_params.minimizable == minimizable && m_params.maximizable == maximizable)
        return;
    m_params.resizable = resizable;
    m_params.minimizable = minimizable;
    m_params.maximizable = maximizable;
    SetSizeHints();
    SetMotifHints();
}

void CX11Window::SetTitle(const std::wstring& title)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return;
    m_params.title = title;
    const std::string utf8 = Text::WideToUtf8(title);
    XChangeProperty(display, m_window, m_connection.GetAtom("_NET_WM_NAME"), m_connection.GetAtom("UTF8_STRING"), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    // WM_NAME is Latin-1 for window managers that know no better.
    const std::string latin1 = Text::WideToLatin1(title);
    XChangeProperty(display, m_window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()), static_cast<int>(latin1.size()));
}

void CX11Window::SetOwner(Window owner)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return;
    const bool wasModal = MarkedModal();
    m_owner = owner;
    if (owner)
        XSetTransientForHint(display, m_window, owner);
    else
        XDeleteProperty(display, m_window, XA_WM_TRANSIENT_FOR);
    if (IsPopup())
        return;
    if (MarkedModal() != wasModal) {
        if (m_visible)
            SetWindowState("_NET_WM_STATE_MODAL", MarkedModal());
        else
            RewriteUnmappedStates();
    }
    const Atom type = m_connection.GetAtom(owner ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");
    XChangeProperty(display, m_window, m_connection.GetAtom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
}

void CX11Window::SetWindowState(const char* stateName, bool on)
{
    XDisplay* display = m_connection.GetDisplay();
    const Atom wmState = m_connection.GetAtom("_NET_WM_STATE");
    const Atom state = m_connection.GetAtom(stateName);
    if (m_visible) {
        // A mapped window asks the window manager, which owns the property then.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = m_window;
        event.xclient.message_type = wmState;
        event.xclient.format = 32;
        event.xclient.data.l[0] = on ? 1 : 0;
        event.xclient.data.l[1] = static_cast<long>(state);
        event.xclient.data.l[3] = 1;
        XSendEvent(display, m_connection.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        return;
    }
    if (on)
        XChangeProperty(display, m_window, wmState, XA_ATOM, 32, PropModeAppend,
                        reinterpret_cast<const unsigned char*>(&state), 1);
}

void CX11Window::SetTopMost(bool topMost)
{
    if (!m_window || m_params.topMost == topMost)
        return;
    m_params.topMost = topMost;
    if (IsPopup())
        return;
    if (!m_visible) {
        RewriteUnmappedStates();
        return;
    }
    SetWindowState("_NET_WM_STATE_ABOVE", topMost);
}

void CX11Window::SetModal(bool modal)
{
    if (!m_window || m_params.modal == modal || IsPopup())
        return;
    const bool wasMarked = MarkedModal();
    m_params.modal = modal;
    if (MarkedModal() == wasMarked)
        return;
    if (!m_visible) {
        RewriteUnmappedStates();
        return;
    }
    SetWindowState("_NET_WM_STATE_MODAL", MarkedModal());
}

void CX11Window::RewriteUnmappedStates()
{
    XDeleteProperty(m_connection.GetDisplay(), m_window, m_connection.GetAtom("_NET_WM_STATE"));
    if (m_params.toolWindow)
        SetWindowState("_NET_WM_STATE_SKIP_TASKBAR", true);
    if (m_params.topMost)
        SetWindowState("_NET_WM_STATE_ABOVE", true);
    if (MarkedModal())
        SetWindowState("_NET_WM_STATE_MODAL", true);
}

void CX11Window::Move(const RECT& clientRect)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window)
        return;
    m_clientRect = clientRect;
    m_clientRect.right = m_clientRect.left + Width(clientRect);
    m_clientRect.bottom = m_clientRect.top + Height(clientRect);
    if (!IsPopup())
        SetSizeHints();
    m_lastMoveSerial = NextRequest(display);
    XMoveResizeWindow(display, m_window, m_clientRect.left, m_clientRect.top, static_cast<unsigned>(Width(m_clientRect)),
                      static_cast<unsigned>(Height(m_clientRect)));
}

void CX11Window::Show(bool show)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window || show == m_visible)
        return;
    m_visible = show;
    if (show) {
        XMapRaised(display, m_window);
    } else if (IsPopup()) {
        XUnmapWindow(display, m_window);
    } else {
        XWithdrawWindow(display, m_window, m_connection.GetScreen());
    }
    XFlush(display);
}

void CX11Window::SelectExtraInput(long mask)
{
    if (m_window)
        XSelectInput(m_connection.GetDisplay(), m_window, kEventMask | mask);
}

void CX11Window::Present(cairo_surface_t* surface, const RECT& area)
{
    XDisplay* display = m_connection.GetDisplay();
    if (!display || !m_window || !surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(surface);
    const RECT r = ClipToSurface(area, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    if (r.right == r.left || !cairo_image_surface_get_data(surface))
        return;
    if (m_directPixels)
        PresentDirect(surface, r);
    else
        PresentConverted(surface, r);
    // A round trip: the pixels are on the screen when we return, and a fast
    // painter cannot pile up images in the server's queue.
    XSync(display, False);
}

void CX11Window::PresentDirect(cairo_surface_t* surface, const RECT& area)
{
    XDisplay* display = m_connection.GetDisplay();
    const int screen = m_connection.GetScreen();
    auto* data = reinterpret_cast<char*>(cairo_image_surface_get_data(surface));
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), static_cast<unsigned>(DefaultDepth(display, screen)),
                                 ZPixmap, 0, data, static_cast<unsigned>(cairo_image_surface_get_width(surface)),
                                 static_cast<unsigned>(cairo_image_surface_get_height(surface)), 32,
                                 cairo_image_surface_get_stride(surface));
    if (!image)
        return;
    // cairo's pixels are native-endian 32-bit words; Xlib swaps them if the server wants otherwise.
    const std::uint32_t probe = 1;
    image->byte_order = *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
    XPutImage(display, m_window, m_gc, image, area.left, area.top, area.left, area.top,
              static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top));
    image->data = nullptr; // the surface's memory stays the caller's
    XDestroyImage(image);
}

void CX11Window::PresentConverted(cairo_surface_t* surface, const RECT& area)
{
    // Any other TrueColor visual: place each channel by the visual's masks.
    XDisplay* display = m_connection.GetDisplay();
    const int screen = m_connection.GetScreen();
    Visual* visual = DefaultVisual(display, screen);
    const unsigned width = static_cast<unsigned>(area.right - area.left);
    const unsigned height = static_cast<unsigned>(area.bottom - area.top);
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, 0,
                                 nullptr, width, height, 32, 0);
    if (!image)
        return;
    image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line), height));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    auto place = [](unsigned long channel, unsigned long mask) -> unsigned long {
        if (!mask)
            return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        int bits = 0;
        while ((mask >> (shift + bits)) & 1)
            ++bits;
        return ((channel >> (8 - std::min(bits, 8))) << shift) & mask;
    };
    const unsigned char* base = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (unsigned y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(base + static_cast<std::size_t>(area.top + y) * stride);
        for (unsigned x = 0; x < width; ++x) {
            const std::uint32_t p = row[area.left + x];
            const unsigned long pixel = place((p >> 16) & 0xFF, visual->red_mask) |
                                        place((p >> 8) & 0xFF, visual->green_mask) | place(p & 0xFF, visual->blue_mask);
            XPutPixel(image, static_cast<int>(x), static_cast<int>(y), pixel);
        }
    }
    XPutImage(display, m_window, m_gc, image, 0, 0, area.left, area.top, width, height);
    XDestroyImage(image); // frees the calloc'ed pixels too
}

}
