#pragma once
// One native top-level of the X11 back end: a managed window with the
// window manager's frame, or an override-redirect pop-up. It knows its X
// properties and how to put back-buffer pixels on the screen; events are the
// display's business. Only the X11 back end's own sources include this header.

#include "Platform/Display/DisplayBackend.h"
#include "Platform/Display/X11Connection.h"

#include <vector>

namespace Display::X11 {

class CX11Window {
public:
    explicit CX11Window(CX11Connection& connection) : m_connection(connection) {}
    ~CX11Window();
    CX11Window(const CX11Window&) = delete;
    CX11Window& operator=(const CX11Window&) = delete;

    // `owner` is the X window of the owner top-level, 0 for none.
    bool Create(const Display::TopLevelParams& params, Window owner);
    void Destroy();
    // Another client destroyed the X window: a new one takes its place with
    // the same properties and place, shown again if it was shown. False when
    // the server refuses one.
    bool Recreate();
    Window GetId() const { return m_window; }
    Window GetOwner() const { return m_owner; }
    bool IsPopup() const { return m_params.kind == Display::TopLevelKind::Popup; }
    bool IsVisible() const { return m_visible; }

    void SetTitle(const std::wstring& title);
    void SetOwner(Window owner);
    void SetTopMost(bool topMost);
    void SetModal(bool modal);
    void SetIcon(const std::vector<Display::IconImage>& images);
    void SetFrameFunctions(bool resizable, bool minimizable, bool maximizable);
    void Move(const RECT& clientRect);
    void Show(bool show);

    // The client rectangle as last placed by us or reported by the server.
    const RECT& ClientRect() const { return m_clientRect; }
    void NoteClientRect(const RECT& clientRect) { m_clientRect = clientRect; }
    // Whether an event the server sent before it carried out our last move
    // or resize tells of a place that move has already replaced. Reported as
    // a change, the window layer would put the window back there, and a
    // window that sizes itself again on every change (a list that keeps to
    // whole items) would be moved to and fro for ever.
    bool Superseded(unsigned long eventSerial) const { return eventSerial < m_lastMoveSerial; }
    // Whether the window is out of our sole hands: mapped, or taken into a
    // window manager's frame. Until then only our own requests place it, and
    // a window manager carries them out when it gets to them, long after the
    // server numbered the events: a raise asked before a move may come back
    // after it, telling of the place the move left. Reported as a change,
    // that would put a window moved before it is shown back where it was made.
    bool HandedOver() const { return m_handedOver; }
    void NoteHandedOver(bool handedOver) { m_handedOver = handedOver; }

    // Adds event kinds an input context needs to the window's selection.
    void SelectExtraInput(long mask);

    // Copies `area` of the image surface to the same place in the window.
    void Present(cairo_surface_t* surface, const RECT& area);

private:
    void SetSizeHints();
    // The window manager's buttons and actions, from the window's styles.
    void SetMotifHints();
    // The EWMH list of what the frame offers, for window managers that read no Motif hints.
    void SetAllowedActions();
    void SetWindowState(const char* stateName, bool on);
    // Modal for its owner: without one a window manager would take it as modal for the whole program.
    bool MarkedModal() const { return m_params.modal && m_owner != 0; }
    // An unmapped window's state list, written anew from the parameters.
    void RewriteUnmappedStates();
    void PresentDirect(cairo_surface_t* surface, const RECT& area);
    void PresentConverted(cairo_surface_t* surface, const RECT& area);

    CX11Connection& m_connection;
    Display::TopLevelParams m_params;
    Window m_window = 0;
    Window m_owner = 0;
    std::vector<Display::IconImage> m_icons;
    GC m_gc = nullptr;
    RECT m_clientRect{};
    unsigned long m_lastMoveSerial = 0;  // the request number of our last XMoveResizeWindow
    bool m_visible = false;
    bool m_handedOver = false;
    bool m_directPixels = false; // the visual takes cairo's pixels unconverted
};

// Whether the server's default visual takes cairo's 32-bit pixels as they are.
bool VisualMatchesCairo(XDisplay* display, int screen);

}
