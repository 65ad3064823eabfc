#pragma once
// The layout of device-independent pixel rows (BITMAPINFO + bits), shared by
// DIB sections, Get/SetDIBits and BMP files. Internal.
#include "Platform/Gdi/GdiTypes.h"

#include <optional>
#include <vector>

namespace ZELL::Gdi {

struct DibFormat {
    int width = 0;
    int height = 0;  // always positive
    bool topDown = false;
    int bitsPerPixel = 32;
    int stride = 0;
    std::vector<RGBQUAD> palette;  // for 1, 4 and 8 bits

    std::size_t ImageSize() const { return static_cast<std::size_t>(stride) * height; }

    // Checks a header (and its palette right behind it) from outside.
    // `paletteBytes` limits how far the palette may be read (SIZE_MAX when
    // the caller vouches for the memory, as the platform's API does).
    static std::optional<DibFormat> FromInfo(const BITMAPINFO* info, UINT usage,
                                             std::size_t paletteBytes = SIZE_MAX);
    static int StrideFor(int width, int bitsPerPixel);

    // Row `y` (0 = top) of the image into 0x00RRGGBB words and back.
    void DecodeRow(const BYTE* bits, int y, std::uint32_t* out) const { DecodeLine(Row(bits, y), out, width); }
    void EncodeRow(const std::uint32_t* in, int y, BYTE* bits) const { EncodeLine(in, Row(bits, y), width); }
    // One stored line of `count` pixels (count <= width).
    void DecodeLine(const BYTE* row, std::uint32_t* out, int count) const;
    void EncodeLine(const std::uint32_t* in, BYTE* row, int count) const;
    const BYTE* Row(const BYTE* bits, int y) const
    {
        return bits + static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
    }
    BYTE* Row(BYTE* bits, int y) const
    {
        return bits + static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
    }
    BYTE NearestIndex(std::uint32_t rgb) const;
};

}  // namespace ZELL::Gdi
