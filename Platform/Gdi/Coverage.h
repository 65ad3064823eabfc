#pragma once
// Pixels that a cairo path covers (no antialiasing), for the figures that are
// easier to describe as paths than as spans. Internal.
#include "Platform/Gdi/BandRegion.h"

#include <cairo.h>

#include <functional>

namespace ZELL::Gdi {

// `box` bounds the drawing in surface pixels; `draw` paints in those
// coordinates. Pixels with any coverage count.
BandRegion CairoCoverage(const RECT& box, const std::function<void(cairo_t*)>& draw);

}  // namespace ZELL::Gdi
