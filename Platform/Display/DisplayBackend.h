#pragma once
// The seam between the window layer (Platform/Ui) and a display back end.
//
// The window layer keeps the whole window tree, the message queues and the
// painting itself. A back end only knows native top-levels: it shows them,
// moves them, puts pixels of their back buffers on the screen and turns what
// the user does into neutral events. Child windows never reach a back end.
//
// Threads
// - Every method may be called from any thread; a back end serialises its
//   own state. The window layer calls the window methods from the thread that
//   owns the top-level, the screen and clipboard methods from any thread.
// - PumpEvents() is called by one thread at a time (the window layer makes
//   sure of that): whichever thread is waiting for messages. It delivers the
//   events to the sink given to SetEventSink() on that same thread, with no
//   lock of the back end held, so the sink may call any other method of the
//   back end (never PumpEvents() itself).
// - Wake() may be called from any thread at any time, also from inside the
//   sink; it makes a PumpEvents() that is waiting (or the next one) return
//   promptly.
//
// Coordinates
// - Screen coordinates everywhere, in pixels, origin at the top-left of the
//   primary monitor.
// - A top-level is placed by its client rectangle: the frame (caption and
//   borders) belongs to the display, which reports its size through
//   FrameExtents(). The back buffer that Present() shows covers exactly the
//   client rectangle; its pixel (0,0) is the client's top-left corner.
//
// Selection (CreateDisplayBackend): the X11 back end when DISPLAY is set and
// ZELL_DISPLAY is not "headless" and the X server can be opened; the headless
// back end otherwise. ZELL_DISPLAY=headless forces headless (tests set it).

#include "Platform/Base/Types.h"

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Display {

// A back end's name for one of its top-levels; 0 is never a valid id.
using NativeId = std::uint64_t;

enum class TopLevelKind {
    Framed,  // a managed window with the display's frame (overlapped windows, dialogs)
    Popup,   // unmanaged and undecorated (menus, drop-downs, tool tips): override-redirect on X11
};

struct TopLevelParams {
    TopLevelKind kind = TopLevelKind::Framed;
    RECT clientRect{};      // screen coordinates
    std::wstring title;
    NativeId owner = 0;     // transient-for; 0 for none
    bool resizable = true;  // WS_THICKFRAME
    bool minimizable = true;  // WS_MINIMIZEBOX
    bool maximizable = true;  // WS_MAXIMIZEBOX
    bool topMost = false;   // WS_EX_TOPMOST
    bool toolWindow = false;  // WS_EX_TOOLWINDOW: no task-bar entry
    bool modal = false;       // the top-level of a modal loop
};

// Thickness of the display's frame around a client rectangle.
struct FrameExtents {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

// A picture of a top-level's icon at one size: straight-alpha 0xAARRGGBB
// words, rows top-down, width * height of them.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

struct MonitorDesc {
    RECT monitor{};  // screen coordinates
    RECT work{};     // the part not covered by panels and task bars
    bool primary = false;
    std::wstring name;
};

// Modifier and button state at the time of an event.
enum Modifier : DWORD {
    ModShift = 0x01,
    ModControl = 0x02,
    ModAlt = 0x04,
    ModLeftButton = 0x10,
    ModRightButton = 0x20,
    ModMiddleButton = 0x40,
};

enum class MouseButton { Left, Right, Middle };

enum class EventKind {
    KeyDown,       // virtualKey, scanCode, repeat, text, modifiers
    KeyUp,         // virtualKey, scanCode, modifiers
    TextInput,     // text that came without a key of its own (compose, input methods)
    MouseMove,     // screen, modifiers
    MouseDown,     // button, screen, modifiers
    MouseUp,       // button, screen, modifiers
    MouseWheel,    // wheelDelta (+120 one notch away from the user), screen, modifiers
    MouseLeave,    // the pointer left all top-levels of this process
    CloseRequest,  // the user asked the display to close the top-level
    Expose,        // rect (client coordinates) must be shown again: Present() it
    Configure,     // the display moved or resized the top-level: rect is the new client rect (screen)
    FocusIn,       // the top-level got the keyboard focus
    FocusOut,      // the top-level lost it
};

struct Event {
    EventKind kind = EventKind::MouseMove;
    NativeId window = 0;     // the top-level concerned (for keys: the focused one)
    UINT virtualKey = 0;     // VK_* code
    UINT scanCode = 0;
    bool repeat = false;     // key held down: auto-repeat
    std::wstring text;       // KeyDown: what the key types with the current layout and modifiers (may be empty)
    MouseButton button = MouseButton::Left;
    POINT screen{};
    int wheelDelta = 0;
    RECT rect{};
    DWORD modifiers = 0;     // Modifier bits
    // When it happened, on Platform::Clock (GetTickCount64); 0 means "now",
    // and the window layer stamps it when it takes the event. Server times of
    // another clock must not be put here.
    ULONGLONG time = 0;
};

class IEventSink {
public:
    virtual ~IEventSink() = default;
    virtual void OnDisplayEvent(const Event& event) = 0;
};

// Cursor shapes the window layer asks for (IDC_* of the standard cursors),
// and the ones a drag shows for the effect a drop would have.
enum class CursorShape {
    Arrow, IBeam, Wait, Cross, SizeWE, SizeNS, SizeNWSE, SizeNESW, SizeAll, Hand, No, AppStarting,
    DragMove, DragCopy, DragLink
};

class CDisplayBackend {
public:
    virtual ~CDisplayBackend() = default;

    // "headless" or "x11".
    virtual const char* Name() const = 0;

    // --- top-levels ---------------------------------------------------------
    // Created hidden. Returns 0 when the display refuses.
    virtual NativeId CreateTopLevel(const TopLevelParams& params) = 0;
    virtual void DestroyTopLevel(NativeId id) = 0;
    // Places the client rectangle (screen coordinates).
    virtual void MoveTopLevel(NativeId id, const RECT& clientRect) = 0;
    virtual void ShowTopLevel(NativeId id, bool show) = 0;
    virtual void SetTitle(NativeId id, const std::wstring& title) = 0;
    virtual void SetOwner(NativeId id, NativeId owner) = 0;
    virtual void SetTopMost(NativeId id, bool topMost) = 0;
    // A modal dialog tells the window manager so; transient for its owner it
    // is already. Modal for its owner only: a modal top-level without one (a
    // program's main dialog) would be modal for the whole program, so it is not
    // marked.
    virtual void SetModal(NativeId, bool) {}
    // The pictures the task bar, the frame and the window switcher show for
    // the top-level, in any sizes; an empty list takes them away.
    virtual void SetIcon(NativeId, const std::vector<IconImage>&) {}
    // What the frame offers follows the window's styles when they change:
    // sizing, the minimise and the maximise box (see TopLevelParams).
    virtual void SetFrameFunctions(NativeId, bool /*resizable*/, bool /*minimizable*/, bool /*maximizable*/) {}
    // Stacks the top-level above the others and, if `activate`, gives it the keyboard focus.
    virtual void RaiseTopLevel(NativeId id, bool activate) = 0;
    // The top-level that has the keyboard focus now, as the display sees it
    // (0 for none or another program's window). Focus events are old by the
    // time they are handled; this says whether what one told still holds.
    virtual NativeId FocusedTopLevel() const = 0;
    // The frame the display draws around a top-level of that kind.
    virtual FrameExtents FrameFor(TopLevelKind kind, bool resizable) const = 0;
    // Whether the window layer draws the frames itself (a display without a
    // window manager) and hands them over through PresentFrame: a picture of
    // the whole window, frame and client, of which the frame part is shown.
    virtual bool LayerDrawsFrames() const { return false; }
    virtual void PresentFrame(NativeId, cairo_surface_t*) {}

    // Shows `area` (surface coordinates) of the top-level's back buffer. The
    // surface is a CAIRO_FORMAT_RGB24 or ARGB32 image surface of the client
    // size, owned by the caller; the pixels are copied before the call returns.
    virtual void Present(NativeId id, cairo_surface_t* backBuffer, const RECT& area) = 0;

    virtual void SetCursorShape(NativeId id, CursorShape shape) = 0;
    // Routes all pointer events to this top-level while the window layer has
    // the capture (SetCapture); 0 ends it.
    virtual void GrabPointer(NativeId id) = 0;
    virtual void Beep() {}

    // --- screen -------------------------------------------------------------
    virtual SIZE ScreenSize() const = 0;
    virtual RECT WorkArea() const = 0;  // of the primary monitor
    virtual int Dpi() const { return 96; }
    virtual std::vector<MonitorDesc> Monitors() const = 0;  // the primary one first; never empty

    // --- clipboard (text only) ----------------------------------------------
    virtual std::optional<std::wstring> GetClipboardText() = 0;
    virtual bool SetClipboardText(const std::wstring& text) = 0;
    // Whether the clipboard still holds what this process put there last.
    virtual bool OwnsClipboard() const { return false; }
    // Gives the clipboard up when this process holds it; another's stays.
    virtual void ReleaseClipboard() {}

    // --- the pointer's selection (X11's PRIMARY) ------------------------------
    // What the user selected last in any program, which a middle click pastes.
    // A display without one keeps none.
    virtual std::optional<std::wstring> GetSelectionText() { return std::nullopt; }
    virtual bool SetSelectionText(const std::wstring&) { return false; }

    // --- events -------------------------------------------------------------
    virtual void SetEventSink(IEventSink* sink) = 0;
    // Delivers the pending events to the sink; if there are none, waits up to
    // `timeoutMs` (0: don't wait, INFINITE: until one comes or Wake()). Returns
    // whether any event was delivered.
    virtual bool PumpEvents(DWORD timeoutMs) = 0;
    virtual void Wake() = 0;
};

// Picks the back end by the rule above. Never returns null.
std::unique_ptr<CDisplayBackend> CreateDisplayBackend();

// For a program that a user starts: keeps a display already in place, else
// puts the headless one in place when ZELL_DISPLAY asks for it, else the X
// display named by DISPLAY. False when there is none: such a program would
// otherwise wait headless for a user who cannot see it. `unreachable` then
// names the display that did not open (empty when DISPLAY is not set).
bool OpenUserDisplay(std::string& unreachable);

// The process's display: created by the rule above on first use. Tests can put
// their own in place before any window exists (ownership passes).
CDisplayBackend& TheDisplay();
void ReplaceDisplay(std::unique_ptr<CDisplayBackend> display);

#ifdef ZELL_HAVE_X11
// Defined by the X11 back end; null when the X server cannot be opened.
std::unique_ptr<CDisplayBackend> CreateX11Display();
#endif

}
