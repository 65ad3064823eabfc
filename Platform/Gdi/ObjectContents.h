#pragma once
// What the window layer reads out of drawing objects (a region's rectangles,
// a bitmap's pixels) without reaching into the objects behind the handles.
#include "Platform/Gdi/GdiTypes.h"

#include <cstdint>
#include <vector>

namespace ZELL::Gdi {

// The region's rectangles, top to bottom; none for an empty region or a
// handle that is not a region.
std::vector<RECT> RegionRects(HRGN region);

// The bitmap's pixels top-down as 0x00RRGGBB words, with its size in `size`;
// none (and `size` untouched) for an empty bitmap or a handle that is not one.
std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, SIZE& size);

}
