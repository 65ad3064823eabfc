#pragma once
// Pixel access to what a context draws on, with its effective clip, for the
// duration of one drawing call. Internal to the drawing layer.
#include "Platform/Gdi/GdiObjectTable.h"

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

    bool Ok() const { return m_data != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Mono() const { return m_mono; }
    POINT Origin() const { return m_origin; }
    cairo_surface_t* Surface() const { return m_surface; }
    const BandRegion& Clip() const { return m_clip; }
    // Clip rectangles (surface pixels) that meet `box`, cut to it.
    std::vector<RECT> ClipRects(const RECT& box) const;

    bool Visible(int x, int y) const { return m_clip.Contains(x, y); }
    std::uint32_t Get(int x, int y) const { return m_data[static_cast<std::size_t>(y) * m_stride + x]; }
    void Set(int x, int y, std::uint32_t rgb)
    {
        m_data[static_cast<std::size_t>(y) * m_stride + x] = (rgb & 0xFFFFFFu) | m_alphaBits;
    }
    // Set() over the pixels [left, right) of row y, in one go.
    void FillRow(int y, int left, int right, std::uint32_t rgb)
    {
        std::fill_n(m_data + static_cast<std::size_t>(y) * m_stride + left, right - left, (rgb & 0xFFFFFFu) | m_alphaBits);
    }
    // Stores with the destination's alpha byte kept (for 32-bit DIB content).
    void SetKeepAlpha(int x, int y, std::uint32_t value)
    {
        m_data[static_cast<std::size_t>(y) * m_stride + x] = value | (m_isArgb ? 0xFF000000u : 0);
    }
    // The device form of a colour: black or white on a monochrome bitmap.
    std::uint32_t DeviceColor(COLORREF color) const;

private:
    DCObject& m_dc;
    bool m_write = true;
    std::shared_ptr<BitmapObject> m_bitmap;
    cairo_surface_t* m_surface = nullptr;
    std::uint32_t* m_data = nullptr;
    int m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_mono = false;
    bool m_isArgb = false;
    std::uint32_t m_alphaBits = 0;
    POINT m_origin{};
    BandRegion m_clip;
};

// Surface pixels for a device point of a context.
inline POINT DeviceToSurface(const DCObject& dc, POINT device)
{
    return {device.x + dc.origin.x, device.y + dc.origin.y};
}

}  // namespace ZELL::Gdi
