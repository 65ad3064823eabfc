#pragma once
// The four pictures of the message box, drawn as classic 32x32 glyphs: a red
// disc with a white cross, a white disc with a blue question mark, a yellow
// triangle with an exclamation mark, a white disc with a blue "i".
#include "Platform/Base/Types.h"

namespace ZELL::Controls {

inline constexpr int kMessageBoxIconSize = 32;

// Draws the picture that the MB_ICON bits of `type` ask for with its top
// left corner at (x, y); false, drawing nothing, when they ask for none.
bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type);

}
