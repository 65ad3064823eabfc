#pragma once
// The picture of a message box: the system icon its MB_ICON bits name.
#include "Platform/Base/Types.h"

namespace ZELL::Controls {

inline constexpr int kMessageBoxIconSize = 32;

// Draws the icon that the MB_ICON bits of `type` ask for with its top left
// corner at (x, y); false, drawing nothing, when they ask for none.
bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type);

}
