#include "Platform/Shell/DragCursor.h"

#include "Platform/Ui/DisplayAccess.h"

Display::CursorShape DragCursorShape(DROPEFFECT effect)
{
    if ((effect & DROPEFFECT_MOVE) != 0)
        return Display::CursorShape::DragMove;
    if ((effect & DROPEFFECT_COPY) != 0)
        return Display::CursorShape::DragCopy;
    if ((effect & DROPEFFECT_LINK) != 0)
        return Display::CursorShape::DragLink;
    return Display::CursorShape::No;
}

void ShowDragCursor(HWND capture, DROPEFFECT effect)
{
    const Display::CursorShape shape = DragCursorShape(effect);
    SetCursor(LoadCursorW(nullptr, shape == Display::CursorShape::No ? IDC_NO : IDC_ARROW));
    if (shape == Display::CursorShape::No)
        return;
    if (const Display::NativeId native = NativeWindowOf(capture))
        Display::TheDisplay().SetCursorShape(native, shape);
}
