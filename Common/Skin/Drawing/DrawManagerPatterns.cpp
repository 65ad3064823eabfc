// The patterned fills of the drawing manager: ramps, bumps and noise painted
// as palette indices into the work image, whose palette runs from the third
// colour through the second to the first.
#include "Common/Skin/Drawing/DrawManager.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

BYTE Between(BYTE from, BYTE to, int step, int steps)
{
    return static_cast<BYTE>(from + (to - from) * step / steps);
}

void Ramp(CDibBitmap& dib, int first, COLORREF from, COLORREF to)
{
    for (int i = 0; i <= 128 && first + i < 256; ++i)
        dib.SetPaletteIndex(static_cast<DWORD>(first + i), Between(GetRValue(from), GetRValue(to), i, 128),
                            Between(GetGValue(from), GetGValue(to), i, 128),
                            Between(GetBValue(from), GetBValue(to), i, 128));
}

int Cube(int t)
{
    return t * t * t / 16384;
}

// The inputs of one pixel's index; y counts upward from the bottom row.
struct PatternPoint {
    int x = 0;
    int y = 0;
    int w = 1;
    int h = 1;
    int g = 0;
    int r = 0;
};

int VerticalCube(const PatternPoint& p) { return Cube(255 * p.y / p.h - 127); }
int HorizontalCube(const PatternPoint& p) { return Cube(255 * (p.w - p.x) / p.w - 127); }

// A curved rim near the left and right edges, light on the left, dark on the right.
int HardBumpRim(const PatternPoint& p)
{
    const int rim = std::min(16, p.w / 6);
    if (rim <= 0)
        return 0;
    const auto curve = [rim](int distance) { return (rim - distance) * (rim - distance) * 64 / (rim * rim); };
    if (p.x < rim)
        return curve(p.x);
    if (p.x >= p.w - rim)
        return -curve(p.w - 1 - p.x);
    return 0;
}

int PatternIndex(int type, const PatternPoint& p, int noise)
{
    switch (type) {
    case CDrawManager::kNoise: return noise - 128;
    case CDrawManager::kDiagShade: return p.g + p.r / 2 * p.y / p.h + p.r / 2 * (p.w - p.x) / p.w + noise;
    case CDrawManager::kHShade: return p.g + p.r * p.y / p.h + noise;
    case CDrawManager::kVShade: return p.g + p.r * (p.w - p.x) / p.w + noise;
    case CDrawManager::kHBump: return VerticalCube(p) * (128 - p.g) / 128 + 128 + noise;
    case CDrawManager::kVBump: return HorizontalCube(p) * (128 - p.g) / 128 + 128 + noise;
    case CDrawManager::kSoftBump:
        return std::clamp((VerticalCube(p) + HorizontalCube(p)) * (128 - p.g) / 128 + 128, p.g, 255 - p.g) + noise;
    case CDrawManager::kHardBump:
        return VerticalCube(p) * (64 - p.g) * 2 / 128 + 128 + HardBumpRim(p) + noise;
    default: return 0;
    }
}

}

void CDrawManager::PatternFill(HDC dc, const RECT& rect, int type, COLORREF color1, COLORREF color2,
                               COLORREF color3, BYTE granularity, int blendPercent)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (m_work.Create(w, h, 8) == nullptr)
        return;
    Ramp(m_work, 0, color3, color2);
    Ramp(m_work, 128, color2, color1);
    m_work.BlendPalette(color1, static_cast<DWORD>(std::max(0, blendPercent)));

    const int g = granularity;
    const int divisor = g == 0 ? 32767 : 32767 / (2 * g);
    const auto noise = [&] { return Random() / divisor - g; };
    BYTE* bits = m_work.GetBits();
    const DWORD line = m_work.GetLineWidth();
    PatternPoint point{0, 0, w, h, g, 255 - 2 * g};
    if (type == kMetal) {
        m_work.Clear(0);
        const int longest = std::max(1, std::min(w, h) / 2);
        for (int stroke = 0; stroke < 200; ++stroke) {
            const int x0 = Random() % w;
            const int y0 = Random() % h;
            const int length = Random() % longest;
            const BYTE index = static_cast<BYTE>(Random() / 819);
            for (int i = 0; i < length && x0 + i < w && y0 + i < h; ++i)
                bits[static_cast<std::size_t>(y0 + i) * line + x0 + i] = index;
        }
        const int amplitude = point.r - 40;
        for (point.y = 0; point.y < h; ++point.y)
            for (point.x = 0; point.x < w; ++point.x)
                bits[static_cast<std::size_t>(point.y) * line + point.x] += static_cast<BYTE>(
                    amplitude / 2 * point.y / h + amplitude / 2 * (w - point.x) / w + Random() / divisor);
    } else {
        for (point.y = 0; point.y < h; ++point.y)
            for (point.x = 0; point.x < w; ++point.x)
                bits[static_cast<std::size_t>(point.y) * line + point.x] =
                    static_cast<BYTE>(PatternIndex(type, point, noise()));
    }
    m_work.Draw(dc, rect.left, rect.top);
}

}  // namespace ZELL::Skin
