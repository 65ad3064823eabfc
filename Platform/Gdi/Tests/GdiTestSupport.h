#pragma once
// A surface and a context on it for the drawing tests.
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/SurfaceDC.h"

#include <cairo.h>

#include <cstdint>

class TestSurface {
public:
    explicit TestSurface(int width = 64, int height = 64, cairo_format_t format = CAIRO_FORMAT_RGB24)
        : m_surface(cairo_image_surface_create(format, width, height))
    {
        m_dc = CreateSurfaceDC(m_surface, {0, 0}, {0, 0, width, height});
        Clear(0xFFFFFF);
    }
    ~TestSurface()
    {
        ReleaseSurfaceDC(m_dc);
        cairo_surface_destroy(m_surface);
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    HDC dc() const { return m_dc; }
    cairo_surface_t* surface() const { return m_surface; }

    // Raw 0x00RRGGBB of a surface pixel, independent of the context's clip.
    std::uint32_t Raw(int x, int y) const
    {
        cairo_surface_flush(m_surface);
        const auto* data = cairo_image_surface_get_data(m_surface);
        const int stride = cairo_image_surface_get_stride(m_surface);
        return *reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride + 4 * x) &
               0xFFFFFFu;
    }
    void Clear(std::uint32_t rgb)
    {
        cairo_surface_flush(m_surface);
        auto* data = cairo_image_surface_get_data(m_surface);
        const int stride = cairo_image_surface_get_stride(m_surface);
        for (int y = 0; y < cairo_image_surface_get_height(m_surface); ++y)
            for (int x = 0; x < cairo_image_surface_get_width(m_surface); ++x)
                *reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride + 4 * x) =
                    rgb | 0xFF000000u;
        cairo_surface_mark_dirty(m_surface);
    }
    int Count(std::uint32_t rgb, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Raw(x, y) == rgb ? 1 : 0;
        return n;
    }

private:
    cairo_surface_t* m_surface;
    HDC m_dc = nullptr;
};

// RAII for an object handle.
template <typename H>
struct Owned {
    H h;
    explicit Owned(H handle) : h(handle) {}
    ~Owned() { DeleteObject(h); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator H() const { return h; }
};

// 4x4: the left half opaque red, the right half transparent.
inline HICON MakeMaskedIcon()
{
    const WORD maskRows[4] = {0x0030, 0x0030, 0x0030, 0x0030};  // bits 2 and 3 set: transparent
    std::uint32_t colors[16];
    for (int i = 0; i < 16; ++i)
        colors[i] = (i % 4) < 2 ? 0x00FF0000u : 0;
    ICONINFO info;
    info.hbmMask = CreateBitmap(4, 4, 1, 1, maskRows);
    info.hbmColor = CreateBitmap(4, 4, 1, 32, colors);
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return icon;
}
