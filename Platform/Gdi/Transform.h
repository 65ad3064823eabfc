#pragma once
// Logical <-> device coordinates after the map mode of a context.
#include "Platform/Gdi/GdiObjectTable.h"

namespace ZELL::Gdi {

struct Extents {
    SIZE window{1, 1};
    SIZE viewport{1, 1};
};

Extents EffectiveExtents(const DCState& state, int dpi);
POINT ToDevice(const DCState& state, int dpi, POINT logical);
POINT ToLogical(const DCState& state, int dpi, POINT device);
// A logical length on an axis as a device length (sign dropped).
int LengthToDevice(const DCState& state, int dpi, int length, bool vertical);
// A logical rectangle as a normalised device rectangle.
RECT RectToDevice(const DCState& state, int dpi, const RECT& logical);

}  // namespace ZELL::Gdi
