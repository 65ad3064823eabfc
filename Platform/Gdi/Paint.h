#pragma once
// The pixel-level painting that every figure ends in: brush patterns, the
// binary raster operations, and filling a set of pixels. Internal.
#include "Platform/Gdi/DrawTarget.h"

namespace ZELL::Gdi {

std::uint32_t Rop2(int mode, std::uint32_t pen, std::uint32_t dest);
std::uint32_t Rop3(BYTE code, std::uint32_t pattern, std::uint32_t source, std::uint32_t dest);

// The colour a brush gives each surface pixel, aligned to the context's brush
// origin. A transparent hatch leaves its background pixels alone.
class BrushSampler {
public:
    BrushSampler(const DCObject& dc, const BrushObject* brush, const DrawTarget& target);
    bool IsNull() const { return m_null; }
    // False when the pixel is left as it is.
    bool At(int x, int y, std::uint32_t& color) const;

private:
    bool m_null = true;
    UINT m_style = BS_NULL;
    int m_hatch = 0;
    std::uint32_t m_color = 0;
    std::uint32_t m_background = 0;
    bool m_opaque = true;
    std::uint32_t m_monoZero = 0;  // pattern bitmaps: colours of black and white
    std::uint32_t m_monoOne = 0;
    const BitmapObject* m_pattern = nullptr;
    POINT m_origin{};
};

// Fills surface pixels of `area` (after the target's clip) with the brush
// under a binary raster operation.
void FillArea(const DCObject& dc, DrawTarget& target, const BandRegion& area, const BrushObject* brush, int rop2);
void FillArea(DrawTarget& target, const BandRegion& area, std::uint32_t color, int rop2);

// A logical-unit region of a context in surface pixels.
BandRegion LogicalToSurface(const DCObject& dc, const BandRegion& logical);
RECT LogicalRectToSurface(const DCObject& dc, const RECT& logical);
POINT LogicalPointToSurface(const DCObject& dc, POINT logical);
bool IsIdentityMapping(const DCState& state);

// Colour of a pen or solid brush, after the DC_PEN/DC_BRUSH indirection.
COLORREF PenColor(const DCState& state, const PenObject& pen);
COLORREF BrushColor(const DCState& state, const BrushObject& brush);

}  // namespace ZELL::Gdi
