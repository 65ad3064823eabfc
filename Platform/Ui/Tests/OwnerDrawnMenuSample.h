#pragma once
// An owner-drawn pop-up menu for the rendering tests, headless and on X11:
// a checked, a greyed and a plain item, a separator and a sub-menu, drawn by
// the owner in the classic colours.
#include "Platform/Ui/WinUser.h"

namespace UiTest {

// The menu; the caller destroys it.
HMENU CreateOwnerDrawnSampleMenu();
// The owner's answers to WM_MEASUREITEM and WM_DRAWITEM for that menu.
void MeasureSampleItem(MEASUREITEMSTRUCT& item);
void DrawSampleItem(const DRAWITEMSTRUCT& item);
// The keys that bring the sample to its state for the picture: the plain
// item selected.
constexpr int kSampleDownPresses = 3;

}
