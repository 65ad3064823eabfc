#pragma once
// The one pixel pipeline behind BitBlt, StretchBlt, TransparentBlt,
// AlphaBlend and the DIB-to-device calls. Internal.
#include "Platform/Gdi/DrawTarget.h"

namespace ZELL::Gdi {

// Source pixels copied out before the destination is written, so that
// overlapping copies within one surface read the old picture.
struct SourceSnapshot {
    RECT box{};  // surface pixels
    std::vector<std::uint32_t> pixels;
    bool mono = false;
    std::uint32_t background = 0;  // source background colour (colour to mono)

    bool Has(int x, int y) const { return x >= box.left && x < box.right && y >= box.top && y < box.bottom; }
    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y - box.top) * (box.right - box.left) + (x - box.left)];
    }
};

SourceSnapshot TakeSnapshot(DCObject& source, RECT box);
SourceSnapshot SnapshotOf(const BitmapObject& bitmap, RECT box);

enum class BlitKind { Rop, Transparent, Alpha };

struct BlitParams {
    BlitKind kind = BlitKind::Rop;
    BYTE rop = 0xCC;
    std::uint32_t transparent = 0;
    BLENDFUNCTION blend{};
};

// `d0`/`d1` and `s0`/`s1` are opposite corners in surface pixels; their
// order gives the direction (mirroring when the directions differ).
bool RunBlit(DCObject& dest, POINT d0, POINT d1, const SourceSnapshot* source, POINT s0, POINT s1,
             const BlitParams& params);

inline bool RopUsesSource(BYTE rop) { return (((rop >> 2) ^ rop) & 0x33) != 0; }

}  // namespace ZELL::Gdi
