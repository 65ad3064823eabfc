#pragma once
// The window menu of a top-level (the system menu): a copy of the layer's
// standard menu made for the window on first use, which the window may
// change. Its SC_CLOSE item decides whether Alt+F4, the caption's close
// button and the display's close request close the window.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

// The window's own copy, made on first use, with the items its styles allow;
// with `revert` the copy is dropped (the standard menu holds again) and the
// result is null. Null for child windows.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
