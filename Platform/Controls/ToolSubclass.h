#pragma once
// Tools added with TTF_SUBCLASS: the tool's window is subclassed so that its
// mouse messages reach the tooltips by TTM_RELAYEVENT before the window sees
// them. One subclass serves every tooltip of a window; it takes itself out
// when the window goes, or when the last tooltip lets go and nobody
// subclassed the window after it.
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

void RelayMouseToTip(HWND tool, HWND tip);
void StopRelayToTip(HWND tool, HWND tip);

}
