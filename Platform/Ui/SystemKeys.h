#pragma once
// What the default window procedure does with Alt combinations and F10.
#include "Platform/Ui/WinUser.h"

#include <string>

namespace Ui {

// The character an Alt combination types, for WM_SYSCHAR (the display gives
// none with Alt held); empty for keys that type nothing.
std::wstring SystemKeyText(UINT virtualKey);
// WM_SYSKEYDOWN, WM_SYSKEYUP and WM_SYSCHAR left to the default: Alt+F4
// closes the top-level, Alt or F10 alone and Alt+character ask for the menu.
LRESULT DefSystemKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}
