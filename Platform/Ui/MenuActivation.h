#pragma once
// How the default window procedure opens menus for the user: the window
// menu by Alt+Space or a click on the caption's icon, the menu bar by F10,
// Alt, Alt+mnemonic or a click on it. Inside the layer only.
#include "Platform/Ui/WinUser.h"

namespace Ui {

// DefWindowProc's WM_SYSCOMMAND with SC_KEYMENU or SC_MOUSEMENU; true when a
// menu answered.
bool DefMenuCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// Shows the window menu of a top-level with its top-left at `at` (screen)
// and posts the chosen WM_SYSCOMMAND.
void TrackSystemMenu(HWND hwnd, POINT at);

}
