#include "Platform/Gdi/BlitCore.h"

#include "Platform/Gdi/Paint.h"

#include <algorithm>
#include <cmath>

namespace ZELL::Gdi {
namespace {

constexpr std::int64_t kMaxSnapshot = std::int64_t{1} << 26;

RECT Ordered(POINT a, POINT b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

RECT ClampTo(RECT r, int width, int height)
{
    r.left = std::clamp<LONG>(r.left, 0, width);
    r.right = std::clamp<LONG>(r.right, 0, width);
    r.top = std::clamp<LONG>(r.top, 0, height);
    r.bottom = std::clamp<LONG>(r.bottom, 0, height);
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

std::uint32_t Blend(std::uint32_t s, std::uint32_t d, const BLENDFUNCTION& f)
{
    const unsigned sca = f.SourceConstantAlpha;
    auto channel = [](std::uint32_t v, int shift) { return (v >> shift) & 0xFFu; };
    std::uint32_t out = 0;
    if (f.AlphaFormat & AC_SRC_ALPHA) {
        // Premultiplied source: scale it by the constant, then "over".
        const unsigned sa = channel(s, 24) * sca / 255;
        for (int shift = 0; shift <= 24; shift += 8) {
            const unsigned sc = channel(s, shift) * sca / 255;
            const unsigned v = std::min(255u, sc + channel(d, shift) * (255 - sa) / 255);
            out |= v << shift;
        }
        return out;
    }
    for (int shift = 0; shift <= 24; shift += 8) {
        const unsigned v = (channel(s, shift) * sca + channel(d, shift) * (255 - sca)) / 255;
        out |= v << shift;
    }
    return out;
}

}  // namespace

SourceSnapshot TakeSnapshot(DCObject& source, RECT box)
{
    SourceSnapshot snap;
    DrawTarget target(source, false);
    if (!target.Ok())
        return snap;
    snap.box = ClampTo(box, target.Width(), target.Height());
    const std::int64_t w = snap.box.right - snap.box.left;
    const std::int64_t h = snap.box.bottom - snap.box.top;
    if (w * h > kMaxSnapshot) {
        snap.box = {};
        return snap;
    }
    snap.mono = target.Mono();
    snap.background = ToPixel(source.state.bkColor);
    snap.pixels.resize(static_cast<std::size_t>(w * h));
    std::size_t i = 0;
    for (LONG y = snap.box.top; y < snap.box.bottom; ++y)
        for (LONG x = snap.box.left; x < snap.box.right; ++x)
            snap.pixels[i++] = target.Get(x, y);
    return snap;
}

SourceSnapshot SnapshotOf(const BitmapObject& bitmap, RECT box)
{
    SourceSnapshot snap;
    snap.box = ClampTo(box, bitmap.width, bitmap.height);
    snap.mono = bitmap.IsMono();
    const LONG w = snap.box.right - snap.box.left;
    snap.pixels.reserve(static_cast<std::size_t>(w) * (snap.box.bottom - snap.box.top));
    for (LONG y = snap.box.top; y < snap.box.bottom; ++y)
        for (LONG x = snap.box.left; x < snap.box.right; ++x)
            snap.pixels.push_back(bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x]);
    return snap;
}

bool RunBlit(DCObject& dest, POINT d0, POINT d1, const SourceSnapshot* source, POINT s0, POINT s1,
             const BlitParams& params)
{
    DrawTarget target(dest);
    if (!target.Ok())
        return false;
    const double dw = d1.x - d0.x;
    const double dh = d1.y - d0.y;
    const double sw = s1.x - s0.x;
    const double sh = s1.y - s0.y;
    if (dw == 0 || dh == 0)
        return true;
    const bool needSource = params.kind != BlitKind::Rop || RopUsesSource(params.rop);
    if (needSource && (!source || sw == 0 || sh == 0))
        return false;

    BrushSampler pattern(dest, dest.state.brush.get(), target);
    const std::uint32_t text = target.DeviceColor(dest.state.textColor);
    const std::uint32_t back = target.DeviceColor(dest.state.bkColor);
    const bool destMono = target.Mono();

    for (const RECT& r : target.ClipRects(Ordered(d0, d1))) {
        for (LONG y = r.top; y < r.bottom; ++y) {
            const LONG sy = needSource ? static_cast<LONG>(std::floor(s0.y + (y + 0.5 - d0.y) / dh * sh)) : 0;
            for (LONG x = r.left; x < r.right; ++x) {
                std::uint32_t s = 0;
                std::uint32_t raw = 0;
                if (needSource) {
                    const LONG sx = static_cast<LONG>(std::floor(s0.x + (x + 0.5 - d0.x) / dw * sw));
                    if (!source->Has(sx, sy))
                        continue;
                    raw = source->At(sx, sy);
                    s = raw & 0xFFFFFFu;
                    if (source->mono && !destMono)
                        s = s ? back : text;
                    else if (!source->mono && destMono)
                        s = s == source->background ? 0xFFFFFFu : 0;
                }
                const std::uint32_t d = target.Get(x, y);
                switch (params.kind) {
                case BlitKind::Rop: {
                    if (params.rop == 0xCC && source && !source->mono && !destMono) {
                        target.SetKeepAlpha(x, y, raw);  // a plain copy keeps the alpha byte
                        break;
                    }
                    std::uint32_t p = 0;
                    pattern.At(x, y, p);
                    target.Set(x, y, Rop3(params.rop, p, s, d));
                    break;
                }
                case BlitKind::Transparent:
                    if ((raw & 0xFFFFFFu) != params.transparent)
                        target.Set(x, y, s);
                    break;
                case BlitKind::Alpha:
                    target.SetKeepAlpha(x, y, Blend(source->mono ? s : raw, d, params.blend));
                    break;
                }
            }
        }
    }
    return true;
}

}  // namespace ZELL::Gdi
