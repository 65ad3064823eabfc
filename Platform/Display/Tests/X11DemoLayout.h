#pragma once
// What the screen test's demo window shows: its place, its panels and how it paints them.

#include "Platform/Base/Types.h"

#include <cairo.h>

namespace X11Demo {

struct State {
    bool switchedOn = false; // the switch panel was clicked
    bool keyPressed = false; // K was pressed
};

inline constexpr RECT kWindowRect{120, 90, 520, 390};
inline constexpr RECT kSwitchRect{30, 150, 190, 240}; // client coordinates

constexpr int Width() { return kWindowRect.right - kWindowRect.left; }
constexpr int Height() { return kWindowRect.bottom - kWindowRect.top; }
bool InSwitch(POINT client);
POINT SwitchCentreOnScreen();

// Paints the whole client area.
void Paint(cairo_t* cr, const State& state);

}
