#pragma once
// The context menu of an edit control (a right click, Shift+F10 or the
// menu key): Undo, Cut, Copy, Paste, Delete and Select All, each greyed
// when the edit's state does not allow it, carried out through the edit's
// own messages.
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

class CEditContextMenu {
public:
    explicit CEditContextMenu(HWND edit) : m_edit(edit) {}

    // `where` is WM_CONTEXTMENU's lParam: the point on the screen, or -1
    // for the keyboard (the menu then opens at the caret).
    void Show(LPARAM where) const;

private:
    HMENU Build() const;
    POINT Anchor(LPARAM where) const;
    void Carry(UINT command) const;

    HWND m_edit = nullptr;
};

}
