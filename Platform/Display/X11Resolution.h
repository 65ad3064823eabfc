#pragma once
// The screen's resolution as an X desktop tells it: the Xft.dpi resource its
// settings daemon or xrdb puts into RESOURCE_MANAGER, else the X server's own
// from the screen's size in millimetres.

#include <optional>
#include <string_view>

namespace Display::X11 {

inline constexpr int kBaseDpi = 96;
// Resolutions outside this range are a broken setting, not a screen.
inline constexpr int kLowestDpi = 48;
inline constexpr int kHighestDpi = 480;

// Xft.dpi of the resource text; none when it is absent or no sane number.
std::optional<int> ResourceDpi(std::string_view resources);

// The server's resolution from the screen's height in pixels and millimetres.
// Servers that know no size report a default near 96 (Xvfb 100), and so do
// monitors of a plain scale: near 96 is 96. A size of 0 mm or a resolution
// out of range gives 96 too.
int ServerDpi(int heightPixels, int heightMillimetres);

}
