#pragma once
// Small pieces that the list view and its header share.
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

// The client point that a mouse message carries in its lParam.
POINT MousePoint(LPARAM lParam);

}
