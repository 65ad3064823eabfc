#pragma once
// The layer's part of the non-client area: hit testing, the default answers
// to the non-client messages, painting borders, scroll bars and (where the
// display leaves it to the layer) captions, and turning mouse input on the
// non-client area into the non-client messages. Inside the layer only.
#include "Platform/Ui/WindowSystem.h"

namespace Ui {

// DefWindowProc's WM_NCHITTEST; `screen` in screen coordinates.
LRESULT NonClientHitTest(HWND hwnd, POINT screen);
// DefWindowProc's WM_NCPAINT.
void PaintNonClient(HWND hwnd);
// DefWindowProc's WM_NCLBUTTONDOWN/UP/DBLCLK.
LRESULT NonClientButton(HWND hwnd, UINT message, WPARAM hit, LPARAM screen);
// DefWindowProc's WM_NCCALCSIZE: the standard client rectangle for the window
// rectangle in `lParam` (a RECT, or NCCALCSIZE_PARAMS when wParam is TRUE).
LRESULT NonClientCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam);

// The client rectangle, in window coordinates, that the styles give a window
// of that size. Lock held.
RECT StandardClientRect(WindowSystem& ws, const Window& w, LONG width, LONG height);

// Asks the window by WM_NCCALCSIZE where its client area goes in the window
// rectangle that `pos` gives (the current one when null); the answer in
// window coordinates. Lock NOT held.
RECT AskClientRect(HWND hwnd, WINDOWPOS* pos);
// Puts an answer in place, kept inside what the display's frame leaves. Lock held.
void ApplyClientRect(Window& w, const RECT& client);

// Taking a mouse message from the queue (lock NOT held): the hit test is
// asked, a window answering HTTRANSPARENT passes the input to the window
// below, and input on the non-client area becomes its WM_NC message. False
// when the message went elsewhere or is dropped.
bool RouteMouse(MSG& msg, LRESULT& hit);
// After the hooks: activation by WM_MOUSEACTIVATE and the cursor by
// WM_SETCURSOR, with the hit code. False when the message is eaten.
bool MouseArrives(const MSG& msg, LRESULT hit);

// Windows answering HTTRANSPARENT one above the other: beyond this many the
// input is dropped rather than passed on for ever.
inline constexpr int kMaxTransparentLayers = 64;

// The topmost visible, enabled window under a screen point, passing over the
// windows in `skip` and their children. Lock held.
std::shared_ptr<Window> WindowAtSkipping(WindowSystem& ws, POINT screen, const std::vector<HWND>& skip);

}
