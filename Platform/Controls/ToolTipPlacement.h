#pragma once
// Where a tip goes on its monitor: moved in from the work area's left and
// right edges, and above the pointer (its top `anchorTop`) rather than past
// the bottom edge.
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

RECT KeepOnWorkArea(RECT tip, int anchorTop);

}
