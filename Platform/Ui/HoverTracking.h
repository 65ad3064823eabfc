#pragma once
// What the input code tells the hover tracking of TrackMouseEvent. Lock held.
#include "Platform/Ui/WindowSystem.h"

namespace Ui {

// The pointer moved to `screen`, over `under` (null: over no window of ours).
void NoteMouseMoveForHover(WindowSystem& ws, HWND under, POINT screen);

}
