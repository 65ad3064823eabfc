#include "Platform/Gdi/ShapeRaster.h"

#include "Platform/Gdi/GdiTypes.h"

#include <algorithm>
#include <cmath>

namespace ZELL::Gdi {
namespace {

// A shape taller than this is refused rather than producing millions of rows.
constexpr LONG kMaxRows = 1 << 16;

RECT Normalised(const RECT& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

LONG RoundToPixel(double x) { return static_cast<LONG>(std::floor(x + 0.5)); }

}  // namespace

BandRegion EllipseCoverage(const RECT& box)
{
    return RoundRectCoverage(box, box.right - box.left, box.bottom - box.top);
}

BandRegion RoundRectCoverage(const RECT& input, int ellipseWidth, int ellipseHeight)
{
    const RECT box = Normalised(input);
    const LONG height = box.bottom - box.top;
    const LONG width = box.right - box.left;
    if (width <= 0 || height <= 0 || height > kMaxRows)
        return {};
    const double rx = std::min<double>(std::abs(ellipseWidth), width) / 2.0;
    const double ry = std::min<double>(std::abs(ellipseHeight), height) / 2.0;
    if (rx <= 0 || ry <= 0)
        return BandRegion(box);
    std::vector<std::vector<Span>> rows(static_cast<std::size_t>(height));
    for (LONG y = 0; y < height; ++y) {
        const double yc = box.top + y + 0.5;
        double dy = 0;
        if (yc < box.top + ry)
            dy = (box.top + ry - yc) / ry;
        else if (yc > box.bottom - ry)
            dy = (yc - (box.bottom - ry)) / ry;
        if (dy > 1)
            continue;
        const double inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        const LONG left = RoundToPixel(box.left + inset);
        const LONG right = RoundToPixel(box.right - inset);
        if (left < right)
            rows[static_cast<std::size_t>(y)].push_back({left, right});
    }
    return BandRegion::FromRows(box.top, rows);
}

BandRegion PolygonCoverage(const POINT* points, int count, int fillMode)
{
    if (!points || count < 3)
        return {};
    LONG top = points[0].y;
    LONG bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    if (bottom <= top || bottom - top > kMaxRows)
        return {};
    struct Crossing {
        double x;
        int direction;
    };
    std::vector<std::vector<Span>> rows(static_cast<std::size_t>(bottom - top));
    std::vector<Crossing> crossings;
    for (LONG y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % count];
            if (a.y == b.y)
                continue;
            const bool down = a.y < b.y;
            const double y0 = down ? a.y : b.y;
            const double y1 = down ? b.y : a.y;
            if (yc < y0 || yc >= y1)
                continue;
            const double x = a.x + (yc - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        auto& row = rows[static_cast<std::size_t>(y - top)];
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].direction;
            const bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
            if (!inside)
                continue;
            const LONG left = RoundToPixel(crossings[i].x);
            const LONG right = RoundToPixel(crossings[i + 1].x);
            if (left < right)
                row.push_back({left, right});
        }
    }
    return BandRegion::FromRows(top, rows);
}

}  // namespace ZELL::Gdi
