#include "Platform/Gdi/Paint.h"

#include "Platform/Gdi/Transform.h"

namespace ZELL::Gdi {

std::uint32_t Rop2(int mode, std::uint32_t p, std::uint32_t d)
{
    // The mode minus one is the truth table over (pen, dest) bit pairs.
    switch (mode) {
    case R2_COPYPEN: return p;
    case R2_XORPEN: return p ^ d;
    case R2_NOT: return ~d;
    case R2_NOP: return d;
    default: break;
    }
    const unsigned table = static_cast<unsigned>(mode - 1) & 0xF;
    std::uint32_t r = 0;
    if (table & 1)
        r |= ~p & ~d;
    if (table & 2)
        r |= ~p & d;
    if (table & 4)
        r |= p & ~d;
    if (table & 8)
        r |= p & d;
    return r;
}

std::uint32_t Rop3(BYTE code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    switch (code) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFFu;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    default: break;
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(code & (1 << i)))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

COLORREF PenColor(const DCState& state, const PenObject& pen)
{
    return pen.usesDCColor ? state.dcPenColor : pen.color;
}

COLORREF BrushColor(const DCState& state, const BrushObject& brush)
{
    return brush.usesDCColor ? state.dcBrushColor : brush.color;
}

BrushSampler::BrushSampler(const DCObject& dc, const BrushObject* brush, const DrawTarget& target)
{
    if (!brush || brush->style == BS_NULL)
        return;
    const DCState& s = dc.state;
    m_null = false;
    m_style = brush->style;
    m_hatch = brush->hatch;
    m_color = target.DeviceColor(BrushColor(s, *brush));
    m_background = target.DeviceColor(s.bkColor);
    m_opaque = s.bkMode == OPAQUE;
    m_monoZero = target.DeviceColor(s.textColor);
    m_monoOne = m_background;
    m_pattern = brush->pattern.get();
    m_origin = {dc.origin.x + s.brushOrg.x, dc.origin.y + s.brushOrg.y};
    if ((m_style == BS_PATTERN || m_style == BS_DIBPATTERN) && !m_pattern)
        m_style = BS_SOLID;
}

bool BrushSampler::At(int x, int y, std::uint32_t& color) const
{
    if (m_null)
        return false;
    if (m_style == BS_SOLID) {
        color = m_color;
        return true;
    }
    if (m_style == BS_HATCHED) {
        const int px = ((x - m_origin.x) % 8 + 8) % 8;
        const int py = ((y - m_origin.y) % 8 + 8) % 8;
        bool line = false;
        switch (m_hatch) {
        case HS_HORIZONTAL: line = py == 0; break;
        case HS_VERTICAL: line = px == 0; break;
        case HS_FDIAGONAL: line = px == py; break;
        case HS_BDIAGONAL: line = (px + py) % 8 == 7; break;
        case HS_CROSS: line = px == 0 || py == 0; break;
        case HS_DIAGCROSS: line = px == py || (px + py) % 8 == 7; break;
        default: break;
        }
        if (line) {
            color = m_color;
            return true;
        }
        color = m_background;
        return m_opaque;
    }
    const int w = m_pattern->width;
    const int h = m_pattern->height;
    const int px = ((x - m_origin.x) % w + w) % w;
    const int py = ((y - m_origin.y) % h + h) % h;
    const std::uint32_t p = m_pattern->pixels[static_cast<std::size_t>(py) * w + px] & 0xFFFFFFu;
    if (m_pattern->IsMono())
        color = p ? m_monoOne : m_monoZero;
    else
        color = p;
    return true;
}

void FillArea(const DCObject& dc, DrawTarget& target, const BandRegion& area, const BrushObject* brush, int rop2)
{
    BrushSampler sampler(dc, brush, target);
    if (sampler.IsNull())
        return;
    const BandRegion visible = BandRegion::Combine(area, target.Clip(), BandRegion::Op::And);
    std::uint32_t solid = 0;
    if (rop2 == R2_COPYPEN && brush->style == BS_SOLID && sampler.At(0, 0, solid)) {
        // The common case - erasing, FillRect with a colour - without a per-pixel look at brush and mode.
        for (const RECT& r : visible.Rects())
            for (LONG y = r.top; y < r.bottom; ++y)
                target.FillRow(y, r.left, r.right, solid);
        return;
    }
    for (const RECT& r : visible.Rects()) {
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x) {
                std::uint32_t color = 0;
                if (!sampler.At(x, y, color))
                    continue;
                target.Set(x, y, Rop2(rop2, color, target.Get(x, y)));
            }
        }
    }
}

void FillArea(DrawTarget& target, const BandRegion& area, std::uint32_t color, int rop2)
{
    const BandRegion visible = BandRegion::Combine(area, target.Clip(), BandRegion::Op::And);
    if (rop2 == R2_COPYPEN) {
        for (const RECT& r : visible.Rects())
            for (LONG y = r.top; y < r.bottom; ++y)
                target.FillRow(y, r.left, r.right, color);
        return;
    }
    for (const RECT& r : visible.Rects())
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                target.Set(x, y, Rop2(rop2, color, target.Get(x, y)));
}

bool IsIdentityMapping(const DCState& state)
{
    return state.mapMode == MM_TEXT;
}

POINT LogicalPointToSurface(const DCObject& dc, POINT logical)
{
    const POINT d = ToDevice(dc.state, dc.dpi, logical);
    return {d.x + dc.origin.x, d.y + dc.origin.y};
}

RECT LogicalRectToSurface(const DCObject& dc, const RECT& logical)
{
    RECT r = RectToDevice(dc.state, dc.dpi, logical);
    r.left += dc.origin.x;
    r.right += dc.origin.x;
    r.top += dc.origin.y;
    r.bottom += dc.origin.y;
    return r;
}

BandRegion LogicalToSurface(const DCObject& dc, const BandRegion& logical)
{
    if (IsIdentityMapping(dc.state)) {
        BandRegion moved = logical;
        moved.Offset(dc.state.viewportOrg.x - dc.state.windowOrg.x + dc.origin.x,
                     dc.state.viewportOrg.y - dc.state.windowOrg.y + dc.origin.y);
        return moved;
    }
    std::vector<RECT> rects;
    for (const RECT& r : logical.Rects())
        rects.push_back(LogicalRectToSurface(dc, r));
    return BandRegion::FromRects(rects);
}

}  // namespace ZELL::Gdi
