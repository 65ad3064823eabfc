#include "Platform/Gdi/DrawTarget.h"

#include "Platform/Gdi/PrinterJob.h"

#include <algorithm>

namespace ZELL::Gdi {

DrawTarget::DrawTarget(DCObject& dc, bool write) : m_dc(dc), m_write(write)
{
    if (dc.type == DCType::Surface) {
        m_surface = dc.external;
    } else if (dc.type == DCType::Printer) {
        if (dc.printer && dc.printer->page) {
            m_bitmap = dc.printer->page;
            m_surface = m_bitmap->surface;
        }
    } else {
        m_bitmap = dc.state.bitmap;
        if (m_bitmap) {
            m_bitmap->PullDib();
            m_surface = m_bitmap->surface;
            m_mono = m_bitmap->IsMono();
        }
    }
    if (!m_surface)
        return;
    cairo_surface_flush(m_surface);
    const cairo_format_t format = cairo_image_surface_get_format(m_surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return;
    m_isArgb = format == CAIRO_FORMAT_ARGB32;
    m_alphaBits = m_isArgb ? 0xFF000000u : 0;
    m_data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(m_surface));
    m_stride = cairo_image_surface_get_stride(m_surface) / 4;
    m_width = cairo_image_surface_get_width(m_surface);
    m_height = cairo_image_surface_get_height(m_surface);
    if (!m_data)
        return;

    m_origin = dc.origin;
    RECT box{0, 0, m_width, m_height};
    if (dc.type == DCType::Surface) {
        box.left = std::max(box.left, dc.systemClip.left);
        box.top = std::max(box.top, dc.systemClip.top);
        box.right = std::min(box.right, dc.systemClip.right);
        box.bottom = std::min(box.bottom, dc.systemClip.bottom);
    }
    m_clip = BandRegion(box);
    if (dc.type == DCType::Surface && dc.systemRegion)
        m_clip = BandRegion::Combine(m_clip, *dc.systemRegion, BandRegion::Op::And);
    if (dc.state.clip) {
        BandRegion app = *dc.state.clip;
        app.Offset(m_origin.x, m_origin.y);
        m_clip = BandRegion::Combine(m_clip, app, BandRegion::Op::And);
    }
}

DrawTarget::~DrawTarget()
{
    if (!m_surface || !m_data)
        return;
    if (m_write) {
        cairo_surface_mark_dirty(m_surface);
        if (m_bitmap)
            m_bitmap->PushDib();
    }
}

std::vector<RECT> DrawTarget::ClipRects(const RECT& box) const
{
    std::vector<RECT> out;
    for (const Band& band : m_clip.Bands()) {
        if (band.bottom <= box.top || band.top >= box.bottom)
            continue;
        for (const Span& s : band.spans) {
            RECT r{std::max(s.left, box.left), std::max(band.top, box.top), std::min(s.right, box.right),
                   std::min(band.bottom, box.bottom)};
            if (r.left < r.right && r.top < r.bottom)
                out.push_back(r);
        }
    }
    return out;
}

std::uint32_t DrawTarget::DeviceColor(COLORREF color) const
{
    const std::uint32_t p = ToPixel(color);
    if (!m_mono)
        return p;
    const int luminance = (GetRValue(color) * 30 + GetGValue(color) * 59 + GetBValue(color) * 11) / 100;
    return luminance >= 128 ? 0xFFFFFFu : 0;
}

}  // namespace ZELL::Gdi
