#include "Platform/Gdi/DrawTarget.h"

#include "Platform/Gdi/PrinterJob.h"

#include <algorithm>

namespace ZELL::Gdi {

DrawTarget::DrawTarget(DCObject& dc, bool write) : dc_(dc), write_(write)
{
    if (dc.type == DCType::Surface) {
        surface_ = dc.external;
    } else if (dc.type == DCType::Printer) {
        if (dc.printer && dc.printer->page) {
            bitmap_ = dc.printer->page;
            surface_ = bitmap_->surface;
        }
    } else {
        bitmap_ = dc.state.bitmap;
        if (bitmap_) {
            bitmap_->PullDib();
            surface_ = bitmap_->surface;
            mono_ = bitmap_->IsMono();
        }
    }
    if (!surface_)
        return;
    cairo_surface_flush(surface_);
    const cairo_format_t format = cairo_image_surface_get_format(surface_);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return;
    isArgb_ = format == CAIRO_FORMAT_ARGB32;
    alphaBits_ = isArgb_ ? 0xFF000000u : 0;
    data_ = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
    stride_ = cairo_image_surface_get_stride(surface_) / 4;
    width_ = cairo_image_surface_get_width(surface_);
    height_ = cairo_image_surface_get_height(surface_);
    if (!data_)
        return;

    origin_ = dc.origin;
    RECT box{0, 0, width_, height_};
    if (dc.type == DCType::Surface) {
        box.left = std::max(box.left, dc.systemClip.left);
        box.top = std::max(box.top, dc.systemClip.top);
        box.right = std::min(box.right, dc.systemClip.right);
        box.bottom = std::min(box.bottom, dc.systemClip.bottom);
    }
    clip_ = BandRegion(box);
    if (dc.type == DCType::Surface && dc.systemRegion)
        clip_ = BandRegion::Combine(clip_, *dc.systemRegion, BandRegion::Op::And);
    if (dc.state.clip) {
        BandRegion app = *dc.state.clip;
        app.Offset(origin_.x, origin_.y);
        clip_ = BandRegion::Combine(clip_, app, BandRegion::Op::And);
    }
}

DrawTarget::~DrawTarget()
{
    if (!surface_ || !data_)
        return;
    if (write_) {
        cairo_surface_mark_dirty(surface_);
        if (bitmap_)
            bitmap_->PushDib();
    }
}

std::vector<RECT> DrawTarget::ClipRects(const RECT& box) const
{
    std::vector<RECT> out;
    for (const Band& band : clip_.Bands()) {
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
    if (!mono_)
        return p;
    const int luminance = (GetRValue(color) * 30 + GetGValue(color) * 59 + GetBValue(color) * 11) / 100;
    return luminance >= 128 ? 0xFFFFFFu : 0;
}

}  // namespace ZELL::Gdi
