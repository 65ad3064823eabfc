#include "Platform/Ui/StandardIcon.h"

#include "Platform/Gdi/BitmapApi.h"

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Ui {

namespace {

constexpr WORD kApplication = 32512;
constexpr WORD kError = 32513;
constexpr WORD kQuestion = 32514;
constexpr WORD kWarning = 32515;
constexpr WORD kInformation = 32516;
constexpr WORD kLogo = 32517;

void Colour(cairo_t* cr, unsigned rgb)
{
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// Everything is drawn on a 32-unit square scaled to the size.
void Disc(cairo_t* cr, unsigned rgb)
{
    cairo_arc(cr, 16, 16, 14.5, 0, 2 * M_PI);
    Colour(cr, rgb);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    Colour(cr, 0x404040);
    cairo_stroke(cr);
}

void Cross(cairo_t* cr)
{
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 10.5, 10.5);
    cairo_line_to(cr, 21.5, 21.5);
    cairo_move_to(cr, 21.5, 10.5);
    cairo_line_to(cr, 10.5, 21.5);
    Colour(cr, 0xFFFFFF);
    cairo_stroke(cr);
}

// An upright bar with a dot above it (i) or below it (!).
void BarAndDot(cairo_t* cr, double barTop, double barBottom, double dotY, unsigned rgb)
{
    Colour(cr, rgb);
    cairo_rectangle(cr, 14.5, barTop, 3, barBottom - barTop);
    cairo_fill(cr);
    cairo_arc(cr, 16, dotY, 2, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Triangle(cairo_t* cr)
{
    cairo_move_to(cr, 16, 2);
    cairo_line_to(cr, 30.5, 29);
    cairo_line_to(cr, 1.5, 29);
    cairo_close_path(cr);
    Colour(cr, 0xF2C200);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    Colour(cr, 0x404040);
    cairo_stroke(cr);
}

// Drawn as strokes rather than a glyph, so that it looks the same whatever
// fonts the machine has.
void QuestionMark(cairo_t* cr)
{
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, 16, 12, 5, M_PI, 2.3 * M_PI);
    cairo_line_to(cr, 16, 19.5);
    Colour(cr, 0xFFFFFF);
    cairo_stroke(cr);
    cairo_arc(cr, 16, 25, 2.2, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Window(cairo_t* cr)
{
    cairo_rectangle(cr, 3.5, 5.5, 25, 21);
    Colour(cr, 0xFFFFFF);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    Colour(cr, 0x404040);
    cairo_stroke(cr);
    cairo_rectangle(cr, 4, 6, 24, 5);
    Colour(cr, 0x1E63C6);
    cairo_fill(cr);
}

bool Draw(cairo_t* cr, WORD id)
{
    switch (id) {
    case kApplication:
    case kLogo:
        Window(cr);
        return true;
    case kError:
        Disc(cr, 0xD32F2F);
        Cross(cr);
        return true;
    case kQuestion:
        Disc(cr, 0x1E63C6);
        QuestionMark(cr);
        return true;
    case kWarning:
        Triangle(cr);
        BarAndDot(cr, 10, 21, 25, 0x000000);
        return true;
    case kInformation:
        Disc(cr, 0x1E63C6);
        BarAndDot(cr, 13, 25, 8.5, 0xFFFFFF);
        return true;
    default:
        return false;
    }
}

// Cairo's pixels carry premultiplied alpha; icons carry it straight.
void CopyStraight(cairo_surface_t* surface, std::uint32_t* out, int size)
{
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < size; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            std::uint32_t straight = p & 0xFF000000u;
            for (int shift = 0; a != 0 && shift <= 16; shift += 8)
                straight |= std::min(255u, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
            out[static_cast<std::size_t>(y) * size + x] = straight;
        }
    }
}

}  // namespace

HBITMAP DrawStandardIcon(WORD id, int size)
{
    if (size <= 0 || size > 256)
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 32.0, size / 32.0);
    const bool known = Draw(cr, id);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    HBITMAP bitmap = nullptr;
    if (known && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        BITMAPINFO info{};
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap)
            CopyStraight(surface, static_cast<std::uint32_t*>(bits), size);
    }
    cairo_surface_destroy(surface);
    return bitmap;
}

}
