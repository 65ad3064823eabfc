#include "Platform/Gdi/Coverage.h"

#include <vector>

namespace ZELL::Gdi {

BandRegion CairoCoverage(const RECT& box, const std::function<void(cairo_t*)>& draw)
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > (1LL << 26))
        return {};
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return {};
    }
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_translate(cr, -box.left, -box.top);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    std::vector<std::vector<Span>> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x])
                ++x;
            rows[static_cast<std::size_t>(y)].push_back({box.left + start, box.left + x});
        }
    }
    cairo_surface_destroy(mask);
    return BandRegion::FromRows(box.top, rows);
}

}  // namespace ZELL::Gdi
