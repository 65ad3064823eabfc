#pragma once
// The standard scroll bars of a window (WS_HSCROLL/WS_VSCROLL): where they
// lie in its non-client area, painting them, and the press that drives them.
// Inside the layer only.
#include "Platform/Ui/WindowSystem.h"

namespace Ui {

// Window coordinates; empty when the window shows no such bar. Lock held.
RECT WindowScrollBarRect(const Window& w, int bar);
// The square between two bars. Lock held.
RECT WindowSizeBoxRect(const Window& w);
// The bar's numbers, with the platform's first range (0-100 for a window
// created with the bar, none otherwise) given on first use. Lock held.
ScrollBarModel& WindowScrollModel(Window& w, int bar);

// Lock NOT held from here on.
void PaintWindowScrollBars(HWND hwnd, HDC windowDc);
// A press on a bar (WM_NCLBUTTONDOWN with HTVSCROLL/HTHSCROLL); true when it
// started scrolling.
bool StartWindowScrollTracking(HWND hwnd, int bar, POINT screen);
// While a press is on: the thread's mouse input goes to it. True when the
// message was used up.
bool FeedWindowScrollTracking(const MSG& msg);

}
