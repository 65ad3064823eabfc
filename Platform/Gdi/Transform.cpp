#include "Platform/Gdi/Transform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ZELL::Gdi {
namespace {

LONG Scale(LONG value, LONG numerator, LONG denominator)
{
    if (denominator == 0)
        return value;
    const double scaled = static_cast<double>(value) * numerator / denominator;
    return static_cast<LONG>(std::clamp(std::lround(scaled), -0x7FFFFFFFL, 0x7FFFFFFFL));
}

// Metric and English modes: units per inch, y growing upwards.
LONG UnitsPerInch(int mapMode)
{
    switch (mapMode) {
    case MM_LOMETRIC: return 254;
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
    default: return 0;
    }
}

}  // namespace

Extents EffectiveExtents(const DCState& state, int dpi)
{
    Extents e;
    if (state.mapMode == MM_ISOTROPIC || state.mapMode == MM_ANISOTROPIC) {
        e.window = state.windowExt;
        e.viewport = state.viewportExt;
    } else if (const LONG units = UnitsPerInch(state.mapMode)) {
        e.window = {units, units};
        e.viewport = {dpi, -dpi};
    }
    return e;
}

POINT ToDevice(const DCState& state, int dpi, POINT p)
{
    const Extents e = EffectiveExtents(state, dpi);
    return {Scale(p.x - state.windowOrg.x, e.viewport.cx, e.window.cx) + state.viewportOrg.x,
            Scale(p.y - state.windowOrg.y, e.viewport.cy, e.window.cy) + state.viewportOrg.y};
}

POINT ToLogical(const DCState& state, int dpi, POINT p)
{
    const Extents e = EffectiveExtents(state, dpi);
    return {Scale(p.x - state.viewportOrg.x, e.window.cx, e.viewport.cx) + state.windowOrg.x,
            Scale(p.y - state.viewportOrg.y, e.window.cy, e.viewport.cy) + state.windowOrg.y};
}

int LengthToDevice(const DCState& state, int dpi, int length, bool vertical)
{
    const Extents e = EffectiveExtents(state, dpi);
    const LONG v = vertical ? Scale(length, e.viewport.cy, e.window.cy) : Scale(length, e.viewport.cx, e.window.cx);
    return std::abs(v);
}

RECT RectToDevice(const DCState& state, int dpi, const RECT& r)
{
    const POINT a = ToDevice(state, dpi, {r.left, r.top});
    const POINT b = ToDevice(state, dpi, {r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace ZELL::Gdi
