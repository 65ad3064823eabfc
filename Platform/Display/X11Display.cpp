#include "Platform/Display/X11Display.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Display/VirtualKeys.h"
#include "Platform/Display/X11Clipboard.h"
#include "Platform/Display/X11Connection.h"
#include "Platform/Display/X11KeyMap.h"
#include "Platform/Display/X11Resolution.h"
#include "Platform/Display/X11Window.h"

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <unordered_map>

namespace Display {
namespace {

using Clock = std::chrono::steady_clock;

// Events taken from the X queue in one go before the sink gets them.
constexpr int kMaxBatch = 512;
// How long a window manager gets to tell the size of its frames.
constexpr int kFrameRequestMs = 300;

DWORD ModifiersFromState(unsigned int state)
{
    DWORD modifiers = 0;
    if (state & ShiftMask)
        modifiers |= ModShift;
    if (state & ControlMask)
        modifiers |= ModControl;
    if (state & Mod1Mask)
        modifiers |= ModAlt;
    if (state & Button1Mask)
        modifiers |= ModLeftButton;
    if (state & Button2Mask)
        modifiers |= ModMiddleButton;
    if (state & Button3Mask)
        modifiers |= ModRightButton;
    return modifiers;
}

// X reports the state before the event; the window layer wants it after.
DWORD ModifierOfKey(UINT vk)
{
    switch (vk) {
    case VK_SHIFT: return ModShift;
    case VK_CONTROL: return ModControl;
    case VK_MENU: return ModAlt;
    default: return 0;
    }
}

DWORD ModifierOfButton(MouseButton button)
{
    switch (button) {
    case MouseButton::Left: return ModLeftButton;
    case MouseButton::Right: return ModRightButton;
    case MouseButton::Middle: return ModMiddleButton;
    }
    return 0;
}

unsigned int CursorGlyph(CursorShape shape)
{
    switch (shape) {
    case CursorShape::Arrow: return XC_left_ptr;
    case CursorShape::IBeam: return XC_xterm;
    case CursorShape::Wait: return XC_watch;
    case CursorShape::Cross: return XC_crosshair;
    case CursorShape::SizeWE: return XC_sb_h_double_arrow;
    case CursorShape::SizeNS: return XC_sb_v_double_arrow;
    case CursorShape::SizeNWSE: return XC_bottom_right_corner;
    case CursorShape::SizeNESW: return XC_bottom_left_corner;
    case CursorShape::SizeAll: return XC_fleur;
    case CursorShape::Hand: return XC_hand2;
    case CursorShape::No: return XC_X_cursor;
    case CursorShape::AppStarting: return XC_watch;
    case CursorShape::DragMove: return XC_dotbox;
    case CursorShape::DragCopy: return XC_plus;
    case CursorShape::DragLink: return XC_sizing;
    }
    return XC_left_ptr;
}

// Text a key types, as the window layer's character messages carry it: no
// text with Alt (those are menu keys), and Delete types nothing.
std::wstring FilterKeyText(std::wstring text, unsigned int state)
{
    if (state & Mod1Mask)
        return {};
    text.erase(std::remove(text.begin(), text.end(), L'\x7f'), text.end());
    return text;
}

}

struct CX11Display::Impl {
    struct TopLevel {
        std::unique_ptr<X11::CX11Window> window;
        XIC inputContext = nullptr;
        // The window another client destroyed, while the one recreated in
        // its place is not on the screen yet: its dialogs move over to the
        // new window and the close request comes once the new window is
        // mapped, so that they and the question the request may raise stack
        // above it and not below.
        Window replaced = 0;
    };

    X11::CX11Connection connection;
    std::unique_ptr<X11::CX11Clipboard> clipboard;
    std::unique_ptr<X11::CX11Clipboard> primary;
    mutable std::recursive_mutex lock;
    std::map<NativeId, TopLevel> topLevels;
    std::unordered_map<Window, NativeId> byWindow;
    NativeId nextId = 1;
    IEventSink* sink = nullptr;
    XIM inputMethod = nullptr;
    std::map<CursorShape, Cursor> cursors;
    NativeId pointerOver = 0;
    NativeId focus = 0;
    // Activated while unmapped without a window manager: takes the focus when it is mapped.
    NativeId focusOnMap = 0;
    NativeId grab = 0;
    std::bitset<256> keysDown;
    bool detectableRepeat = false;
    FrameExtents frame{};

    ~Impl();
    bool Open(const std::string& name);
    X11::CX11Window* WindowOf(NativeId id) const;
    NativeId IdOf(Window window) const;
    Window CheckWindowOf(Window window);
    bool HasWindowManager();
    void ReadFrameExtents(Window window);
    void RequestFrameExtents();
    void Activate(NativeId id, X11::CX11Window& window);
    void FocusMapped(NativeId id, X11::CX11Window& window);

    void Drain(std::vector<Event>& out);
    void Translate(XEvent& event, std::vector<Event>& out);
    void OnKeyPress(XKeyEvent& key, NativeId id, std::vector<Event>& out);
    void OnKeyRelease(XKeyEvent& key, NativeId id, std::vector<Event>& out);
    void OnButton(const XButtonEvent& button, NativeId id, std::vector<Event>& out);
    void OnMotion(XMotionEvent motion, NativeId id, std::vector<Event>& out);
    void OnCrossing(const XCrossingEvent& crossing, NativeId id, std::vector<Event>& out);
    void OnConfigure(const XConfigureEvent& configure, NativeId id, std::vector<Event>& out);
    void OnHandOver(NativeId id, bool handedOver);
    void OnMapped(NativeId id, std::vector<Event>& out);
    static void PushCloseRequest(NativeId id, std::vector<Event>& out);
    void TakeOverOwned(Window old, X11::CX11Window& replacement);
    void OnDestroyedFromOutside(NativeId id, std::vector<Event>& out);
    XIC CreateInputContext(X11::CX11Window& window);
    void OnFocus(const XFocusChangeEvent& focusChange, NativeId id, std::vector<Event>& out);
    void OnClientMessage(const XClientMessageEvent& message, NativeId id, std::vector<Event>& out);
    void OnProperty(const XPropertyEvent& property);
    X11::VirtualKey KeyOf(XKeyEvent& key, KeySym typed) const;
    std::wstring LookUpText(XKeyEvent& key, XIC context, KeySym& keysym, bool& textOnly) const;
};

CX11Display::Impl::~Impl()
{
    for (auto& [id, topLevel] : topLevels) {
        if (topLevel.inputContext)
            XDestroyIC(topLevel.inputContext);
        topLevel.window.reset();
    }
    topLevels.clear();
    clipboard.reset();
    primary.reset();
    if (XDisplay* display = connection.GetDisplay()) {
        for (auto& [shape, cursor] : cursors)
            XFreeCursor(display, cursor);
        if (inputMethod)
            XCloseIM(inputMethod);
    }
    connection.Close();
}

bool CX11Display::Impl::Open(const std::string& name)
{
    if (!connection.Open(name))
        return false;
    XDisplay* display = connection.GetDisplay();
    clipboard = std::make_unique<X11::CX11Clipboard>(connection);
    primary = std::make_unique<X11::CX11Clipboard>(connection, "PRIMARY");
    if (!clipboard->Create() || !primary->Create())
        return false;
    Bool supported = False;
    detectableRepeat = XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
    if (HasWindowManager())
        RequestFrameExtents();
    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    }
    return true;
}

X11::CX11Window* CX11Display::Impl::WindowOf(NativeId id) const
{
    auto it = topLevels.find(id);
    return it == topLevels.end() ? nullptr : it->second.window.get();
}

NativeId CX11Display::Impl::IdOf(Window window) const
{
    auto it = byWindow.find(window);
    return it == byWindow.end() ? 0 : it->second;
}

Window CX11Display::Impl::CheckWindowOf(Window window)
{
    XDisplay* display = connection.GetDisplay();
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Window found = 0;
    if (XGetWindowProperty(display, window, connection.GetAtom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1) {
        found = static_cast<Window>(*reinterpret_cast<const long*>(data));
    }
    if (data)
        XFree(data);
    return found;
}

bool CX11Display::Impl::HasWindowManager()
{
    // A window manager that died leaves its root property behind; its check
    // window, which names itself, goes with it.
    const Window check = CheckWindowOf(connection.GetRoot());
    return check != 0 && CheckWindowOf(check) == check;
}

void CX11Display::Impl::ReadFrameExtents(Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(connection.GetDisplay(), window, connection.GetAtom("_NET_FRAME_EXTENTS"), 0, 4, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 4) {
        const auto* values = reinterpret_cast<const long*>(data);
        // Anything beyond a sane frame is a broken window manager, not a frame.
        auto sane = [](long v) { return static_cast<LONG>(std::clamp(v, 0L, 512L)); };
        frame = {sane(values[0]), sane(values[2]), sane(values[1]), sane(values[3])};
    }
    if (data)
        XFree(data);
}

void CX11Display::Impl::RequestFrameExtents()
{
    // The window layer sizes top-levels by their frame before any is shown,
    // so the window manager is asked for it once with a window never mapped.
    XDisplay* display = connection.GetDisplay();
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window probe = XCreateWindow(display, connection.GetRoot(), 0, 0, 100, 100, 0, CopyFromParent, InputOutput,
                                       CopyFromParent, CWEventMask, &attributes);
    if (!probe)
        return;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = connection.GetAtom("_NET_REQUEST_FRAME_EXTENTS");
    request.xclient.format = 32;
    XSendEvent(display, connection.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kFrameRequestMs);
    XEvent event{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !connection.WaitForWindowEvent(probe, PropertyNotify, static_cast<int>(left), event))
            break;
        if (event.xproperty.atom == connection.GetAtom("_NET_FRAME_EXTENTS")) {
            ReadFrameExtents(probe);
            break;
        }
    }
    XDestroyWindow(display, probe);
}

void CX11Display::Impl::Activate(NativeId id, X11::CX11Window& window)
{
    XDisplay* display = connection.GetDisplay();
    if (!window.IsPopup() && HasWindowManager()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window.GetId();
        event.xclient.message_type = connection.GetAtom("_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // an application's request
        event.xclient.data.l[1] = static_cast<long>(connection.GetLastEventTime());
        XSendEvent(display, connection.GetRoot(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        return;
    }
    // Without a window manager the focus is ours to set, or X leaves it with
    // whatever window the pointer is over. A window activated before it is
    // shown (a dialog) takes it when it is mapped: an unmapped one cannot.
    focusOnMap = window.IsVisible() ? 0 : id;
    if (window.IsVisible())
        XSetInputFocus(display, window.GetId(), RevertToParent, CurrentTime);
}

void CX11Display::Impl::FocusMapped(NativeId id, X11::CX11Window& window)
{
    if (focusOnMap != id)
        return;
    focusOnMap = 0;
    // Without a window manager the map is done when the server reads the request, so the focus may follow it.
    if (window.IsVisible() && !HasWindowManager())
        XSetInputFocus(connection.GetDisplay(), window.GetId(), RevertToParent, CurrentTime);
}

void CX11Display::Impl::Drain(std::vector<Event>& out)
{
    XDisplay* display = connection.GetDisplay();
    for (int taken = 0; taken < kMaxBatch && XPending(display) > 0; ++taken) {
        XEvent event{};
        XNextEvent(display, &event);
        // The input method takes the key events that make up a composed character.
        if (XFilterEvent(&event, 0))
            continue;
        Translate(event, out);
    }
}

void CX11Display::Impl::Translate(XEvent& event, std::vector<Event>& out)
{
    if ((clipboard && clipboard->HandleEvent(event)) || (primary && primary->HandleEvent(event)))
        return;
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    const NativeId id = IdOf(event.xany.window);
    if (!id)
        return;
    switch (event.type) {
    case KeyPress: OnKeyPress(event.xkey, id, out); break;
    case KeyRelease: OnKeyRelease(event.xkey, id, out); break;
    case ButtonPress:
    case ButtonRelease: OnButton(event.xbutton, id, out); break;
    case MotionNotify: OnMotion(event.xmotion, id, out); break;
    case EnterNotify:
    case LeaveNotify: OnCrossing(event.xcrossing, id, out); break;
    case X11::XExpose: {
        Event e;
        e.kind = EventKind::Expose;
        e.window = id;
        e.rect = {event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                  event.xexpose.y + event.xexpose.height};
        out.push_back(e);
        break;
    }
    case ConfigureNotify: OnConfigure(event.xconfigure, id, out); break;
    // Our own windows leave the map before they are destroyed: one still in it went from outside.
    case DestroyNotify: OnDestroyedFromOutside(id, out); break;
    case MapNotify: OnMapped(id, out); break;
    case UnmapNotify: OnHandOver(id, false); break;
    // Into a window manager's frame it is the manager's; back on the root it is ours again.
    case ReparentNotify: OnHandOver(id, event.xreparent.parent != connection.GetRoot()); break;
    case X11::XFocusIn:
    case X11::XFocusOut: OnFocus(event.xfocus, id, out); break;
    case ClientMessage: OnClientMessage(event.xclient, id, out); break;
    case PropertyNotify: OnProperty(event.xproperty); break;
    default: break;
    }
}

std::wstring CX11Display::Impl::LookUpText(XKeyEvent& key, XIC context, KeySym& keysym, bool& textOnly) const
{
    textOnly = false;
    keysym = NoSymbol;
    if (context) {
        char buffer[64];
        Status status = 0;
        int length = Xutf8LookupString(context, &key, buffer, sizeof buffer, &keysym, &status);
        if (status == XBufferOverflow && length > 0) {
            std::string large(static_cast<std::size_t>(length), '\0');
            length = Xutf8LookupString(context, &key, large.data(), length, &keysym, &status);
            textOnly = status == XLookupChars;
            return status == XLookupChars || status == XLookupBoth ? Text::Utf8ToWide(large.substr(0, std::max(length, 0)))
                                                                   : std::wstring();
        }
        if (status != XLookupKeySym && status != XLookupBoth)
            keysym = NoSymbol;
        textOnly = status == XLookupChars;
        if (status == XLookupChars || status == XLookupBoth)
            return Text::Utf8ToWide(std::string_view(buffer, static_cast<std::size_t>(std::max(length, 0))));
        return {};
    }
    char buffer[32];
    const int length = XLookupString(&key, buffer, sizeof buffer, &keysym, nullptr);
    std::wstring text = Text::Latin1ToWide(std::string_view(buffer, static_cast<std::size_t>(std::max(length, 0))));
    // Symbols of the Unicode range type their character even where Latin-1 has none.
    if (text.empty() && keysym >= 0x1000100 && keysym <= 0x110FFFF)
        text.assign(1, static_cast<wchar_t>(keysym - 0x1000000));
    return text;
}

X11::VirtualKey CX11Display::Impl::KeyOf(XKeyEvent& key, KeySym typed) const
{
    // The key's unshifted symbol names it, except on the keypad, where Num
    // Lock decides between digits and cursor keys.
    const KeySym base = XLookupKeysym(&key, 0);
    if (!IsKeypadKey(base) && !IsPrivateKeypadKey(base) && base != NoSymbol)
        return X11::VirtualKeyFromKeysym(base);
    KeySym modified = typed;
    if (modified == NoSymbol)
        XLookupString(&key, nullptr, 0, &modified, nullptr);
    return X11::VirtualKeyFromKeysym(modified == NoSymbol ? base : modified);
}

void CX11Display::Impl::OnKeyPress(XKeyEvent& key, NativeId id, std::vector<Event>& out)
{
    connection.NoteEventTime(key.time);
    auto it = topLevels.find(id);
    KeySym typed = NoSymbol;
    bool textOnly = false;
    std::wstring text = LookUpText(key, it->second.inputContext, typed, textOnly);
    // Text committed by the input method arrives on a key press of its own without a key.
    if (key.keycode == 0 || textOnly) {
        if (!text.empty()) {
            Event e;
            e.kind = EventKind::TextInput;
            e.window = id;
            e.text = std::move(text);
            e.modifiers = ModifiersFromState(key.state);
            out.push_back(e);
        }
        return;
    }
    const X11::VirtualKey vk = KeyOf(key, typed);
    Event e;
    e.kind = EventKind::KeyDown;
    e.window = id;
    e.virtualKey = vk.code;
    e.scanCode = X11::ScanCodeFromKeycode(key.keycode, vk);
    e.repeat = key.keycode < keysDown.size() && keysDown.test(key.keycode);
    if (key.keycode < keysDown.size())
        keysDown.set(key.keycode);
    e.text = FilterKeyText(std::move(text), key.state);
    e.modifiers = ModifiersFromState(key.state) | ModifierOfKey(vk.code);
    out.push_back(e);
}

void CX11Display::Impl::OnKeyRelease(XKeyEvent& key, NativeId id, std::vector<Event>& out)
{
    connection.NoteEventTime(key.time);
    XDisplay* display = connection.GetDisplay();
    // Without detectable auto-repeat a held key sends release and press pairs
    // with one time stamp: the release is not real then.
    if (!detectableRepeat && XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent next{};
        XPeekEvent(display, &next);
        if (next.type == KeyPress && next.xkey.keycode == key.keycode && next.xkey.time == key.time)
            return;
    }
    if (key.keycode < keysDown.size())
        keysDown.reset(key.keycode);
    const X11::VirtualKey vk = KeyOf(key, NoSymbol);
    Event e;
    e.kind = EventKind::KeyUp;
    e.window = id;
    e.virtualKey = vk.code;
    e.scanCode = X11::ScanCodeFromKeycode(key.keycode, vk);
    e.modifiers = ModifiersFromState(key.state) & ~ModifierOfKey(vk.code);
    out.push_back(e);
}

void CX11Display::Impl::OnButton(const XButtonEvent& button, NativeId id, std::vector<Event>& out)
{
    connection.NoteEventTime(button.time);
    Event e;
    e.window = id;
    e.screen = {button.x_root, button.y_root};
    e.modifiers = ModifiersFromState(button.state);
    const bool down = button.type == ButtonPress;
    switch (button.button) {
    case Button1: e.button = MouseButton::Left; break;
    case Button2: e.button = MouseButton::Middle; break;
    case Button3: e.button = MouseButton::Right; break;
    case Button4:
    case Button5:
        // One wheel notch is a press and a release; the press counts.
        if (!down)
            return;
        e.kind = EventKind::MouseWheel;
        e.wheelDelta = button.button == Button4 ? 120 : -120;
        out.push_back(e);
        return;
    default: return;
    }
    e.kind = down ? EventKind::MouseDown : EventKind::MouseUp;
    e.modifiers = down ? (e.modifiers | ModifierOfButton(e.button)) : (e.modifiers & ~ModifierOfButton(e.button));
    out.push_back(e);
}

void CX11Display::Impl::OnMotion(XMotionEvent motion, NativeId id, std::vector<Event>& out)
{
    // Only the newest of a run of moves matters; anything else in between keeps its place.
    XDisplay* display = connection.GetDisplay();
    while (XEventsQueued(display, QueuedAlready) > 0) {
        XEvent next{};
        XPeekEvent(display, &next);
        if (next.type != MotionNotify || next.xmotion.window != motion.window)
            break;
        XNextEvent(display, &next);
        motion = next.xmotion;
    }
    connection.NoteEventTime(motion.time);
    Event e;
    e.kind = EventKind::MouseMove;
    e.window = id;
    e.screen = {motion.x_root, motion.y_root};
    e.modifiers = ModifiersFromState(motion.state);
    out.push_back(e);
}

void CX11Display::Impl::OnCrossing(const XCrossingEvent& crossing, NativeId id, std::vector<Event>& out)
{
    if (crossing.mode != NotifyNormal)
        return;
    if (crossing.type == EnterNotify) {
        pointerOver = id;
        Event e;
        e.kind = EventKind::MouseMove;
        e.window = id;
        e.screen = {crossing.x_root, crossing.y_root};
        e.modifiers = ModifiersFromState(crossing.state);
        out.push_back(e);
        return;
    }
    if (crossing.detail == NotifyInferior || pointerOver != id)
        return;
    pointerOver = 0;
    // Moving straight into another of our top-levels is no leaving.
    XDisplay* display = connection.GetDisplay();
    if (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent next{};
        XPeekEvent(display, &next);
        if (next.type == EnterNotify && IdOf(next.xcrossing.window) != 0)
            return;
    }
    Event e;
    e.kind = EventKind::MouseLeave;
    e.window = id;
    e.screen = {crossing.x_root, crossing.y_root};
    out.push_back(e);
}

void CX11Display::Impl::OnConfigure(const XConfigureEvent& configure, NativeId id, std::vector<Event>& out)
{
    X11::CX11Window* window = WindowOf(id);
    if (!window || configure.window != configure.event || !window->HandedOver() || window->Superseded(configure.serial))
        return;
    int x = configure.x;
    int y = configure.y;
    // Real events under a window manager are relative to its frame; its synthetic ones are on the root.
    if (!configure.send_event) {
        Window child = 0;
        XTranslateCoordinates(connection.GetDisplay(), configure.window, connection.GetRoot(), 0, 0, &x, &y, &child);
    }
    const RECT rect{x, y, x + configure.width, y + configure.height};
    const RECT& known = window->ClientRect();
    if (rect.left == known.left && rect.top == known.top && rect.right == known.right && rect.bottom == known.bottom)
        return;
    window->NoteClientRect(rect);
    Event e;
    e.kind = EventKind::Configure;
    e.window = id;
    e.rect = rect;
    out.push_back(e);
}

void CX11Display::Impl::OnHandOver(NativeId id, bool handedOver)
{
    if (X11::CX11Window* window = WindowOf(id))
        window->NoteHandedOver(handedOver);
}

void CX11Display::Impl::OnDestroyedFromOutside(NativeId id, std::vector<Event>& out)
{
    // Another client destroyed the window (xdotool windowclose, a killed
    // frame): the program still holds it and may still need it, to ask
    // whether to save before it closes. A new X window takes its place, and
    // the user's wish comes as a close request, as the window manager's
    // close button sends it.
    auto it = topLevels.find(id);
    if (it == topLevels.end())
        return;
    X11::CX11Window& window = *it->second.window;
    const Window old = window.GetId();
    byWindow.erase(old);
    if (it->second.inputContext)
        XDestroyIC(it->second.inputContext);
    it->second.inputContext = nullptr;
    if (focus == id)
        focus = 0;
    if (pointerOver == id)
        pointerOver = 0;
    if (!window.Recreate())
        return;
    byWindow[window.GetId()] = id;
    it->second.inputContext = CreateInputContext(window);
    // A window manager maps the new window when it has framed it; dialogs
    // and questions given to it before then would have no managed owner and
    // end up beneath it.
    if (window.IsVisible()) {
        it->second.replaced = old;
        return;
    }
    TakeOverOwned(old, window);
    if (!window.IsPopup())
        PushCloseRequest(id, out);
}

void CX11Display::Impl::OnMapped(NativeId id, std::vector<Event>& out)
{
    OnHandOver(id, true);
    auto it = topLevels.find(id);
    if (it == topLevels.end() || !it->second.replaced)
        return;
    TakeOverOwned(it->second.replaced, *it->second.window);
    it->second.replaced = 0;
    if (!it->second.window->IsPopup())
        PushCloseRequest(id, out);
}

// The windows owned by a window that another client destroyed belong to the
// one that took its place, and stay above it.
void CX11Display::Impl::TakeOverOwned(Window old, X11::CX11Window& replacement)
{
    for (auto& [otherId, other] : topLevels) {
        if (other.window->GetOwner() != old)
            continue;
        other.window->SetOwner(replacement.GetId());
        if (other.window->IsVisible())
            XRaiseWindow(connection.GetDisplay(), other.window->GetId());
    }
}

void CX11Display::Impl::PushCloseRequest(NativeId id, std::vector<Event>& out)
{
    Event e;
    e.kind = EventKind::CloseRequest;
    e.window = id;
    out.push_back(e);
}

XIC CX11Display::Impl::CreateInputContext(X11::CX11Window& window)
{
    if (!inputMethod || window.IsPopup())
        return nullptr;
    XIC context = XCreateIC(inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                            window.GetId(), XNFocusWindow, window.GetId(), nullptr);
    long filter = 0;
    if (context && !XGetICValues(context, XNFilterEvents, &filter, nullptr))
        window.SelectExtraInput(filter);
    return context;
}

void CX11Display::Impl::OnFocus(const XFocusChangeEvent& focusChange, NativeId id, std::vector<Event>& out)
{
    if (focusChange.mode == NotifyGrab || focusChange.mode == NotifyUngrab)
        return;
    if (focusChange.detail == NotifyPointer || focusChange.detail == NotifyInferior)
        return;
    const bool in = focusChange.type == X11::XFocusIn;
    if (in == (focus == id))
        return;
    focus = in ? id : 0;
    auto it = topLevels.find(id);
    if (it != topLevels.end() && it->second.inputContext) {
        if (in)
            XSetICFocus(it->second.inputContext);
        else
            XUnsetICFocus(it->second.inputContext);
    }
    Event e;
    e.kind = in ? EventKind::FocusIn : EventKind::FocusOut;
    e.window = id;
    out.push_back(e);
}

void CX11Display::Impl::OnClientMessage(const XClientMessageEvent& message, NativeId id, std::vector<Event>& out)
{
    if (message.message_type != connection.GetAtom("WM_PROTOCOLS") || message.format != 32)
        return;
    const Atom protocol = static_cast<Atom>(message.data.l[0]);
    if (protocol == connection.GetAtom("WM_DELETE_WINDOW")) {
        connection.NoteEventTime(static_cast<Time>(message.data.l[1]));
        Event e;
        e.kind = EventKind::CloseRequest;
        e.window = id;
        out.push_back(e);
    } else if (protocol == connection.GetAtom("_NET_WM_PING")) {
        XEvent reply{};
        reply.xclient = message;
        reply.xclient.window = connection.GetRoot();
        XSendEvent(connection.GetDisplay(), connection.GetRoot(), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &reply);
    }
}

void CX11Display::Impl::OnProperty(const XPropertyEvent& property)
{
    connection.NoteEventTime(property.time);
    if (property.atom == connection.GetAtom("_NET_FRAME_EXTENTS") && property.state == PropertyNewValue)
        ReadFrameExtents(property.window);
}

// --- CX11Display ----------------------------------------------------------------

CX11Display::CX11Display() : m_impl(std::make_unique<Impl>()) {}

CX11Display::~CX11Display() = default;

bool CX11Display::Open(const std::string& displayName)
{
    std::lock_guard lock(m_impl->lock);
    return m_impl->Open(displayName);
}

NativeId CX11Display::CreateTopLevel(const TopLevelParams& params)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.lock);
    if (!d.connection.IsOpen())
        return 0;
    X11::CX11Window* owner = d.WindowOf(params.owner);
    auto window = std::make_unique<X11::CX11Window>(d.connection);
    if (!window->Create(params, owner ? owner->GetId() : 0))
        return 0;
    Impl::TopLevel topLevel;
    topLevel.inputContext = d.CreateInputContext(*window);
    const NativeId id = d.nextId++;
    d.byWindow[window->GetId()] = id;
    topLevel.window = std::move(window);
    d.topLevels.emplace(id, std::move(topLevel));
    XFlush(d.connection.GetDisplay());
    return id;
}

void CX11Display::DestroyTopLevel(NativeId id)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.lock);
    auto it = d.topLevels.find(id);
    if (it == d.topLevels.end())
        return;
    if (d.grab == id) {
        XUngrabPointer(d.connection.GetDisplay(), CurrentTime);
        d.grab = 0;
    }
    if (d.pointerOver == id)
        d.pointerOver = 0;
    if (d.focus == id)
        d.focus = 0;
    if (d.focusOnMap == id)
        d.focusOnMap = 0;
    if (it->second.inputContext)
        XDestroyIC(it->second.inputContext);
    d.byWindow.erase(it->second.window->GetId());
    d.topLevels.erase(it);
}

void CX11Display::MoveTopLevel(NativeId id, const RECT& clientRect)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->Move(clientRect);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::ShowTopLevel(NativeId id, bool show)
{
    std::lock_guard lock(m_impl->lock);
    X11::CX11Window* window = m_impl->WindowOf(id);
    if (!window)
        return;
    window->Show(show);
    m_impl->FocusMapped(id, *window);
    XFlush(m_impl->connection.GetDisplay());
}

void CX11Display::SetTitle(NativeId id, const std::wstring& title)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->SetTitle(title);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::SetOwner(NativeId id, NativeId owner)
{
    std::lock_guard lock(m_impl->lock);
    X11::CX11Window* window = m_impl->WindowOf(id);
    X11::CX11Window* ownerWindow = m_impl->WindowOf(owner);
    if (window && window != ownerWindow) {
        window->SetOwner(ownerWindow ? ownerWindow->GetId() : 0);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::SetTopMost(NativeId id, bool topMost)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->SetTopMost(topMost);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::SetModal(NativeId id, bool modal)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->SetModal(modal);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::SetIcon(NativeId id, const std::vector<IconImage>& images)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->SetIcon(images);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::SetFrameFunctions(NativeId id, bool resizable, bool minimizable, bool maximizable)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id)) {
        window->SetFrameFunctions(resizable, minimizable, maximizable);
        XFlush(m_impl->connection.GetDisplay());
    }
}

void CX11Display::RaiseTopLevel(NativeId id, bool activate)
{
    std::lock_guard lock(m_impl->lock);
    X11::CX11Window* window = m_impl->WindowOf(id);
    if (!window)
        return;
    XRaiseWindow(m_impl->connection.GetDisplay(), window->GetId());
    if (activate)
        m_impl->Activate(id, *window);
    XFlush(m_impl->connection.GetDisplay());
}

NativeId CX11Display::FocusedTopLevel() const
{
    std::lock_guard lock(m_impl->lock);
    // Asked of the server: the focus events read so far may already be stale.
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(m_impl->connection.GetDisplay(), &focused, &revert);
    return m_impl->IdOf(focused);
}

FrameExtents CX11Display::FrameFor(TopLevelKind kind, bool resizable) const
{
    std::lock_guard lock(m_impl->lock);
    return kind == TopLevelKind::Popup ? FrameExtents{} : m_impl->frame;
}

void CX11Display::Present(NativeId id, cairo_surface_t* backBuffer, const RECT& area)
{
    std::lock_guard lock(m_impl->lock);
    if (X11::CX11Window* window = m_impl->WindowOf(id))
        window->Present(backBuffer, area);
}

void CX11Display::SetCursorShape(NativeId id, CursorShape shape)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.lock);
    X11::CX11Window* window = d.WindowOf(id);
    if (!window)
        return;
    auto it = d.cursors.find(shape);
    if (it == d.cursors.end())
        it = d.cursors.emplace(shape, XCreateFontCursor(d.connection.GetDisplay(), CursorGlyph(shape))).first;
    XDefineCursor(d.connection.GetDisplay(), window->GetId(), it->second);
    XFlush(d.connection.GetDisplay());
}

void CX11Display::GrabPointer(NativeId id)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.lock);
    XDisplay* display = d.connection.GetDisplay();
    if (!display)
        return;
    X11::CX11Window* window = d.WindowOf(id);
    if (!window || !window->IsVisible()) {
        if (d.grab)
            XUngrabPointer(display, CurrentTime);
        d.grab = 0;
        XFlush(display);
        return;
    }
    const unsigned int mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    // Not owner events: every pointer event is reported to the capturing top-level.
    if (XGrabPointer(display, window->GetId(), False, mask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime) ==
        GrabSuccess) {
        d.grab = id;
    }
}

void CX11Display::Beep()
{
    std::lock_guard lock(m_impl->lock);
    if (XDisplay* display = m_impl->connection.GetDisplay()) {
        XBell(display, 0);
        XFlush(display);
    }
}

SIZE CX11Display::ScreenSize() const
{
    std::lock_guard lock(m_impl->lock);
    XDisplay* display = m_impl->connection.GetDisplay();
    if (!display)
        return {};
    const int screen = m_impl->connection.GetScreen();
    return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

RECT CX11Display::WorkArea() const
{
    const SIZE screen = ScreenSize();
    const RECT whole{0, 0, screen.cx, screen.cy};
    std::lock_guard lock(m_impl->lock);
    X11::CX11Connection& connection = m_impl->connection;
    XDisplay* display = connection.GetDisplay();
    if (!display)
        return whole;
    auto readCardinals = [&](const char* name, long count, std::vector<long>& values) {
        Atom type = 0;
        int format = 0;
        unsigned long got = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        values.clear();
        if (XGetWindowProperty(display, connection.GetRoot(), connection.GetAtom(name), 0, count, False, XA_CARDINAL,
                               &type, &format, &got, &after, &data) == Success &&
            data && format == 32) {
            const auto* longs = reinterpret_cast<const long*>(data);
            values.assign(longs, longs + got);
        }
        if (data)
            XFree(data);
    };
    std::vector<long> desktop;
    readCardinals("_NET_CURRENT_DESKTOP", 1, desktop);
    const long current = desktop.size() == 1 && desktop[0] >= 0 && desktop[0] < 64 ? desktop[0] : 0;
    std::vector<long> areas;
    readCardinals("_NET_WORKAREA", 4 * 64, areas);
    if (areas.size() < static_cast<std::size_t>(4 * (current + 1)))
        return whole;
    const long* a = areas.data() + 4 * current;
    // The window manager's word is taken only where it lies on the screen and is not empty.
    const RECT work{static_cast<LONG>(std::clamp(a[0], 0L, static_cast<long>(screen.cx))),
                    static_cast<LONG>(std::clamp(a[1], 0L, static_cast<long>(screen.cy))),
                    static_cast<LONG>(std::clamp(a[0] + a[2], 0L, static_cast<long>(screen.cx))),
                    static_cast<LONG>(std::clamp(a[1] + a[3], 0L, static_cast<long>(screen.cy)))};
    if (a[2] <= 0 || a[3] <= 0 || work.right <= work.left || work.bottom <= work.top)
        return whole;
    return work;
}

int CX11Display::Dpi() const
{
    std::lock_guard lock(m_impl->lock);
    XDisplay* display = m_impl->connection.GetDisplay();
    if (!display)
        return X11::kBaseDpi;
    // The desktop's chosen resolution (Xft.dpi) counts first.
    if (const char* resources = XResourceManagerString(display)) {
        if (const std::optional<int> dpi = X11::ResourceDpi(resources))
            return *dpi;
    }
    const int screen = m_impl->connection.GetScreen();
    return X11::ServerDpi(DisplayHeight(display, screen), DisplayHeightMM(display, screen));
}

std::vector<MonitorDesc> CX11Display::Monitors() const
{
    const SIZE screen = ScreenSize();
    MonitorDesc monitor;
    monitor.monitor = {0, 0, screen.cx, screen.cy};
    monitor.work = WorkArea();
    monitor.primary = true;
    monitor.name = L"\\\\.\\DISPLAY1";
    return {monitor};
}

std::optional<std::wstring> CX11Display::GetClipboardText()
{
    std::lock_guard lock(m_impl->lock);
    std::wstring text;
    if (!m_impl->clipboard || !m_impl->clipboard->GetText(text, kClipboardTimeoutMs))
        return std::nullopt;
    return text;
}

bool CX11Display::SetClipboardText(const std::wstring& text)
{
    std::lock_guard lock(m_impl->lock);
    return m_impl->clipboard && m_impl->clipboard->SetText(text);
}

bool CX11Display::OwnsClipboard() const
{
    std::lock_guard lock(m_impl->lock);
    return m_impl->clipboard && m_impl->clipboard->IsOwner();
}

void CX11Display::ReleaseClipboard()
{
    std::lock_guard lock(m_impl->lock);
    if (m_impl->clipboard)
        m_impl->clipboard->Empty();
}

std::optional<std::wstring> CX11Display::GetSelectionText()
{
    std::lock_guard lock(m_impl->lock);
    std::wstring text;
    if (!m_impl->primary || !m_impl->primary->GetText(text, kClipboardTimeoutMs))
        return std::nullopt;
    return text;
}

bool CX11Display::SetSelectionText(const std::wstring& text)
{
    std::lock_guard lock(m_impl->lock);
    return m_impl->primary && m_impl->primary->SetText(text);
}

void CX11Display::SetEventSink(IEventSink* sink)
{
    std::lock_guard lock(m_impl->lock);
    m_impl->sink = sink;
}

bool CX11Display::PumpEvents(DWORD timeoutMs)
{
    Impl& d = *m_impl;
    const bool forever = timeoutMs == INFINITE;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        std::vector<Event> events;
        IEventSink* sink = nullptr;
        {
            std::lock_guard lock(d.lock);
            if (!d.connection.IsOpen())
                return false;
            d.Drain(events);
            sink = d.sink;
        }
        if (!events.empty()) {
            if (!sink)
                return false;
            for (const Event& event : events)
                sink->OnDisplayEvent(event);
            return true;
        }
        int waitMs = -1;
        if (!forever) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            waitMs = static_cast<int>(std::min<long long>(left, 0x7FFFFFFF));
        }
        // Events that turn out to be nobody's (selection traffic) send us round again.
        if (d.connection.Wait(waitMs) != X11::CX11Connection::WaitResult::Events)
            return false;
    }
}

void CX11Display::Wake()
{
    m_impl->connection.Wake();
}

unsigned long CX11Display::XWindowOf(NativeId id) const
{
    std::lock_guard lock(m_impl->lock);
    X11::CX11Window* window = m_impl->WindowOf(id);
    return window ? window->GetId() : 0;
}

std::unique_ptr<CDisplayBackend> CreateX11Display()
{
    auto display = std::make_unique<CX11Display>();
    if (!display->Open(std::string()))
        return nullptr;
    return display;
}

}
