#pragma once
// Pixel access to what a context draws on, with its effective clip, for the
// duration of one drawing call. Internal to the drawing layer.
#include "Platform/Gdi/GdiObject.h"

#include <algorithm>
#include <vector>

namespace ZELL::Gdi {

class DrawTarget {
public:
    // `write` false: the pixels are only read (no DIB write-back).
    DrawTarget(DCObject& dc, bool write = true);
    ~DrawTarget();
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;

    bool Ok() const { return data_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Mono() const { return mono_; }
    POINT Origin() const { return origin_; }
    cairo_surface_t* Surface() const { return surface_; }
    const BandRegion& Clip() const { return clip_; }
    // Clip rectangles (surface pixels) that meet `box`, cut to it.
    std::vector<RECT> ClipRects(const RECT& box) const;

    bool Visible(int x, int y) const { return clip_.Contains(x, y); }
    std::uint32_t Get(int x, int y) const { return data_[static_cast<std::size_t>(y) * stride_ + x]; }
    void Set(int x, int y, std::uint32_t rgb)
    {
        data_[static_cast<std::size_t>(y) * stride_ + x] = (rgb & 0xFFFFFFu) | alphaBits_;
    }
    // Set() over the pixels [left, right) of row y, in one go.
    void FillRow(int y, int left, int right, std::uint32_t rgb)
    {
        std::fill_n(data_ + static_cast<std::size_t>(y) * stride_ + left, right - left, (rgb & 0xFFFFFFu) | alphaBits_);
    }
    // Stores with the destination's alpha byte kept (for 32-bit DIB content).
    void SetKeepAlpha(int x, int y, std::uint32_t value)
    {
        data_[static_cast<std::size_t>(y) * stride_ + x] = value | (isArgb_ ? 0xFF000000u : 0);
    }
    // The device form of a colour: black or white on a monochrome bitmap.
    std::uint32_t DeviceColor(COLORREF color) const;

private:
    DCObject& dc_;
    bool write_ = true;
    std::shared_ptr<BitmapObject> bitmap_;
    cairo_surface_t* surface_ = nullptr;
    std::uint32_t* data_ = nullptr;
    int stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool mono_ = false;
    bool isArgb_ = false;
    std::uint32_t alphaBits_ = 0;
    POINT origin_{};
    BandRegion clip_;
};

// Surface pixels for a device point of a context.
inline POINT DeviceToSurface(const DCObject& dc, POINT device)
{
    return {device.x + dc.origin.x, device.y + dc.origin.y};
}

}  // namespace ZELL::Gdi
