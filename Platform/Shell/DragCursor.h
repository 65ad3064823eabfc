#pragma once
// The cursor of a drag: it tells the user what a drop would do there. The
// window layer's cursor is the no-drop one when nothing would happen and the
// arrow otherwise; the display shows the arrow with the effect's mark.

#include "Platform/Display/DisplayBackend.h"
#include "Platform/Shell/DragDropTypes.h"
#include "Platform/Ui/WinUser.h"

// The shape for an effect: a move shows before a copy before a link when a
// target offers several; the scroll bit does not change it.
Display::CursorShape DragCursorShape(DROPEFFECT effect);
// Shows it on the top-level of the window that holds the capture, where the
// pointer shows it wherever it goes during the drag.
void ShowDragCursor(HWND capture, DROPEFFECT effect);
