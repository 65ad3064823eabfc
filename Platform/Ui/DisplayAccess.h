#pragma once
// Where a window stands on the display: for tests and tools that read pixels
// back or save a top-level as a picture.
#include "Platform/Display/DisplayBackend.h"
#include "Platform/Ui/WinUser.h"

// The display's id of the top-level that holds `hwnd` (0 for none).
Display::NativeId NativeWindowOf(HWND hwnd);
