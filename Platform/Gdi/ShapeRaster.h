#pragma once
// Pixel coverage of the closed shapes, shared by the region constructors and
// by the filled figures, so that a filled ellipse and an elliptic region of
// the same box cover the same pixels. A pixel is inside when its centre is.
#include "Platform/Gdi/BandRegion.h"

namespace ZELL::Gdi {

BandRegion EllipseCoverage(const RECT& box);
BandRegion RoundRectCoverage(const RECT& box, int ellipseWidth, int ellipseHeight);
// fillMode: ALTERNATE (even-odd) or WINDING (non-zero).
BandRegion PolygonCoverage(const POINT* points, int count, int fillMode);

}  // namespace ZELL::Gdi
