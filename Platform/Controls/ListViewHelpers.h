#pragma once
// Small pieces that the list view and its header share.
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

// The client point that a mouse message carries in its lParam.
POINT MousePoint(LPARAM lParam);

// The line height of `font` as drawn in `hwnd`.
int FontHeight(HWND hwnd, HFONT font);

}
