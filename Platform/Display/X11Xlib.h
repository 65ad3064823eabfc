#pragma once
// The Xlib headers, for the X11 back end's sources only. Xlib names its
// connection type `Display`, which is also the name of the back ends'
// namespace; here it is called XDisplay instead. Include this header after
// every other one: Xlib defines macros with common names (None, Bool, Status).
// The event types whose names the display events share are renamed below.

#define Display XDisplay
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#undef Display

namespace Display::X11 {
constexpr int XExpose = Expose;
constexpr int XFocusIn = FocusIn;
constexpr int XFocusOut = FocusOut;
}
#undef Expose
#undef FocusIn
#undef FocusOut
#undef CursorShape
