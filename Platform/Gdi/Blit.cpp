#include "Platform/Gdi/Blit.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BlitCore.h"
#include "Platform/Gdi/Paint.h"

#include <algorithm>

using namespace ZELL::Gdi;

namespace {

RECT Ordered(POINT a, POINT b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

BOOL Blit(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
          int srcHeight, const BlitParams& params)
{
    auto d = FindDC(dest);
    if (!d)
        return FALSE;
    const POINT d0 = LogicalPointToSurface(*d, {x, y});
    const POINT d1 = LogicalPointToSurface(*d, {x + width, y + height});
    const bool needSource = params.kind != BlitKind::Rop || RopUsesSource(params.rop);
    if (!needSource)
        return RunBlit(*d, d0, d1, nullptr, {}, {}, params);
    auto s = FindDC(source);
    if (!s)
        return FALSE;
    const POINT s0 = LogicalPointToSurface(*s, {xSrc, ySrc});
    const POINT s1 = LogicalPointToSurface(*s, {xSrc + srcWidth, ySrc + srcHeight});
    const SourceSnapshot snapshot = TakeSnapshot(*s, Ordered(s0, s1));
    return RunBlit(*d, d0, d1, &snapshot, s0, s1, params);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop)
{
    BlitParams params;
    params.rop = static_cast<BYTE>(rop >> 16);
    return Blit(dest, x, y, width, height, source, xSrc, ySrc, width, height, params);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop)
{
    BlitParams params;
    params.rop = static_cast<BYTE>(rop >> 16);
    return Blit(dest, x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, params);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, UINT transparent)
{
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlitParams params;
    params.kind = BlitKind::Transparent;
    params.transparent = ToPixel(transparent);
    return Blit(dest, x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, params);
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                int srcHeight, BLENDFUNCTION blend)
{
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || blend.BlendOp != AC_SRC_OVER) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlitParams params;
    params.kind = BlitKind::Alpha;
    params.blend = blend;
    return Blit(dest, x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, params);
}

BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount, ULONG mode)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if (!vertices || !mesh || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    DrawTarget target(*context);
    if (!target.Ok())
        return FALSE;
    const bool vertical = mode == GRADIENT_FILL_RECT_V;
    for (ULONG m = 0; m < meshCount; ++m) {
        if (rects[m].UpperLeft >= vertexCount || rects[m].LowerRight >= vertexCount) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        TRIVERTEX a = vertices[rects[m].UpperLeft];
        TRIVERTEX b = vertices[rects[m].LowerRight];
        POINT pa = LogicalPointToSurface(*context, {a.x, a.y});
        POINT pb = LogicalPointToSurface(*context, {b.x, b.y});
        // The colours run from the smaller coordinate to the larger one.
        if ((vertical ? pa.y > pb.y : pa.x > pb.x)) {
            std::swap(a, b);
            std::swap(pa, pb);
        }
        const RECT box = Ordered(pa, pb);
        const LONG start = vertical ? pa.y : pa.x;
        const LONG span = std::max<LONG>(1, vertical ? pb.y - pa.y : pb.x - pa.x);
        auto mix = [&](COLOR16 from, COLOR16 to, LONG at) {
            const std::int64_t v = from + (static_cast<std::int64_t>(to) - from) * (at - start) / span;
            return static_cast<std::uint32_t>(std::clamp<std::int64_t>(v, 0, 0xFFFF) >> 8);
        };
        for (const RECT& r : target.ClipRects(box)) {
            for (LONG y = r.top; y < r.bottom; ++y) {
                for (LONG x = r.left; x < r.right; ++x) {
                    const LONG at = vertical ? y : x;
                    const std::uint32_t rgb =
                        (mix(a.Red, b.Red, at) << 16) | (mix(a.Green, b.Green, at) << 8) | mix(a.Blue, b.Blue, at);
                    target.Set(x, y, target.Mono() ? target.DeviceColor(ToColorRef(rgb)) : rgb);
                }
            }
        }
    }
    return TRUE;
}
