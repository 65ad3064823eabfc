#pragma once
// One Xlib connection with a wake-up descriptor beside it, so that the event
// pump can sleep on both the X socket and requests from other threads.
// Only the X11 back end's own sources include this header: it brings in Xlib.

#include "Platform/Display/X11Xlib.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace Display::X11 {

class CX11Connection {
public:
    enum class WaitResult { Events, Woken, Timeout, Failed };

    CX11Connection() = default;
    ~CX11Connection();
    CX11Connection(const CX11Connection&) = delete;
    CX11Connection& operator=(const CX11Connection&) = delete;

    // An empty name takes $DISPLAY. False when the server cannot be reached.
    bool Open(const std::string& displayName);
    void Close();
    bool IsOpen() const { return m_display != nullptr; }

    XDisplay* GetDisplay() const { return m_display; }
    int GetScreen() const { return m_screen; }
    Window GetRoot() const { return m_root; }

    // Interned once and cached; safe from any thread.
    Atom GetAtom(const char* name);

    // Safe from any thread: a Wait in progress (or the next one) returns Woken.
    void Wake();

    // Flushes, then sleeps until X events are queued, Wake is called or the
    // timeout passes (negative: no timeout). Queued events win over a wake-up.
    WaitResult Wait(int timeoutMs);

    // Takes the next event of `type` for `window` from the queue, waiting up
    // to `timeoutMs` for it; every other event stays queued in its order.
    bool WaitForWindowEvent(Window window, int type, int timeoutMs, XEvent& event);

    // Server time of the newest event seen, for selection ownership.
    Time GetLastEventTime() const { return m_lastEventTime; }
    void NoteEventTime(Time time);

private:
    static int OnXError(XDisplay* display, XErrorEvent* error);

    XDisplay* m_display = nullptr;
    int m_screen = 0;
    Window m_root = 0;
    int m_wakeFd = -1;
    Time m_lastEventTime = 0;
    std::mutex m_atomLock;
    std::unordered_map<std::string, Atom> m_atoms;
};

}
