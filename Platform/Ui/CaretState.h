#pragma once
// What the rest of the window layer tells the caret. The lock is held.
#include "Platform/Ui/WindowSystem.h"

namespace Ui {

// A context is about to draw into / has finished drawing into the back
// buffer of the top-level `root`: a caret there comes off and goes back, so
// the painting never leaves a stale mark of it.
void CaretBeforeDrawing(WindowSystem& ws, HWND root);
void CaretAfterDrawing(WindowSystem& ws, HWND root);
// The window is being destroyed: a caret it owns goes with it.
void ForgetCaretOf(HWND hwnd);

}
