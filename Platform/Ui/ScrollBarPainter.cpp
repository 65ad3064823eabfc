#include "Platform/Ui/ScrollBarPainter.h"

#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/SysColors.h"

#include <array>
#include <cstdint>

namespace Ui {

namespace {

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

std::uint32_t Pixel(COLORREF c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

// A checkerboard of two colours, the classic track.
HBRUSH DitherBrush(COLORREF a, COLORREF b)
{
    std::array<std::uint32_t, 64> bits{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            bits[static_cast<std::size_t>(y * 8 + x)] = Pixel(((x + y) & 1) == 0 ? a : b);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, bits.data());
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

}

void ScrollBarPainter::PaintArrow(HDC dc, const RECT& r, UINT glyph, bool enabled, bool pushed)
{
    if (Empty(r))
        return;
    RECT box = r;
    DrawFrameControl(dc, &box, DFC_SCROLL, glyph | (enabled ? 0 : DFCS_INACTIVE) | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
}

void ScrollBarPainter::PaintTrack(HDC dc, const RECT& r, bool dark)
{
    if (Empty(r))
        return;
    HBRUSH brush = dark ? DitherBrush(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DSHADOW))
                        : DitherBrush(GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DFACE));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void ScrollBarPainter::Paint(HDC dc, const ScrollBarGeometry& geometry, const ScrollBarModel& model, ScrollBarPart pressed,
                             bool shown)
{
    const bool vertical = geometry.Vertical();
    const auto down = [&](ScrollBarPart part) { return shown && pressed == part; };
    PaintArrow(dc, geometry.FirstArrow(), vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, model.FirstArrowEnabled(),
               down(ScrollBarPart::FirstArrow));
    PaintArrow(dc, geometry.SecondArrow(), vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, model.SecondArrowEnabled(),
               down(ScrollBarPart::SecondArrow));
    PaintTrack(dc, geometry.FirstPage(), down(ScrollBarPart::FirstPage));
    PaintTrack(dc, geometry.SecondPage(), down(ScrollBarPart::SecondPage));
    if (geometry.HasThumb()) {
        RECT thumb = geometry.Thumb();
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

}
