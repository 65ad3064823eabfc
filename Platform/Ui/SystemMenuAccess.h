#pragma once
// How the layer asks the window menu before it carries out a system command
// that the user chose (Alt+F4, the close button, the display's close request,
// and later the menu itself).
#include "Platform/Ui/WindowSystem.h"

namespace Ui {

// Whether the window menu offers the command: with the window's own copy,
// when the item is there and neither greyed nor disabled; without one, for
// the standard commands. Lock held.
bool SystemCommandAllowedLocked(WindowSystem& ws, const Window& w, WPARAM command);
// The same with the lock NOT held.
bool SystemCommandAllowed(HWND hwnd, WPARAM command);
// Sends WM_SYSCOMMAND with the command when the menu offers it. Lock NOT held.
bool ChooseSystemCommand(HWND hwnd, WPARAM command, LPARAM lParam = 0);

}
