#pragma once
// Telling a click from the start of a drag.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

constexpr DWORD ERROR_INVALID_FLAGS = 1004;

// With the left button down, follows the mouse (capturing it for `hwnd`)
// until it leaves the SM_CXDRAG x SM_CYDRAG rectangle around `start` (screen
// coordinates): TRUE. The button going up, Esc, a lost capture, or a long
// wait without input end it with FALSE; a button-up stays queued for the
// window.
BOOL DragDetect(HWND hwnd, POINT start);
