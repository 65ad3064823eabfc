#include "Platform/Gdi/DibFormat.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace ZELL::Gdi {
namespace {

constexpr int kMaxDimension = 1 << 15;

std::uint32_t FromQuad(const RGBQUAD& q)
{
    return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (static_cast<std::uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
}

}  // namespace

int DibFormat::StrideFor(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

std::optional<DibFormat> DibFormat::FromInfo(const BITMAPINFO* info, UINT usage, std::size_t paletteBytes)
{
    if (!info)
        return std::nullopt;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < 40 || h.biSize > 124 || h.biWidth <= 0 || h.biWidth > kMaxDimension || h.biHeight == 0 ||
        h.biHeight == INT32_MIN || std::abs(h.biHeight) > kMaxDimension || h.biPlanes != 1)
        return std::nullopt;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && h.biBitCount == 32))
        return std::nullopt;
    switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32: break;
    default: return std::nullopt;
    }
    DibFormat f;
    f.width = h.biWidth;
    f.height = std::abs(h.biHeight);
    f.topDown = h.biHeight < 0;
    f.bitsPerPixel = h.biBitCount;
    f.stride = StrideFor(f.width, f.bitsPerPixel);
    if (f.bitsPerPixel <= 8) {
        if (usage != DIB_RGB_COLORS)
            return std::nullopt;
        const std::size_t maximum = std::size_t{1} << f.bitsPerPixel;
        const std::size_t count = h.biClrUsed == 0 ? maximum : std::min<std::size_t>(h.biClrUsed, maximum);
        if (count * sizeof(RGBQUAD) > paletteBytes)
            return std::nullopt;
        f.palette.resize(count);
        const auto* colors = reinterpret_cast<const BYTE*>(info) + h.biSize;
        std::memcpy(f.palette.data(), colors, count * sizeof(RGBQUAD));
        f.palette.resize(maximum);  // indices past the given colours read black
    }
    return f;
}

void DibFormat::DecodeLine(const BYTE* row, std::uint32_t* out, int count) const
{
    const int width = count;
    switch (bitsPerPixel) {
    case 32: std::memcpy(out, row, static_cast<std::size_t>(width) * 4); break;
    case 24:
        for (int x = 0; x < width; ++x)
            out[x] = row[3 * x] | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
                     (static_cast<std::uint32_t>(row[3 * x + 2]) << 16);
        break;
    default: {
        const int perByte = 8 / bitsPerPixel;
        const unsigned mask = (1u << bitsPerPixel) - 1;
        for (int x = 0; x < width; ++x) {
            const BYTE b = row[x / perByte];
            const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
            out[x] = FromQuad(palette[(b >> shift) & mask]);
        }
    }
    }
}

BYTE DibFormat::NearestIndex(std::uint32_t rgb) const
{
    int best = 0;
    long bestDistance = LONG_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::uint32_t p = FromQuad(palette[i]);
        const long dr = static_cast<long>((p >> 16) & 0xFF) - static_cast<long>((rgb >> 16) & 0xFF);
        const long dg = static_cast<long>((p >> 8) & 0xFF) - static_cast<long>((rgb >> 8) & 0xFF);
        const long db = static_cast<long>(p & 0xFF) - static_cast<long>(rgb & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
            if (d == 0)
                break;
        }
    }
    return static_cast<BYTE>(best);
}

void DibFormat::EncodeLine(const std::uint32_t* in, BYTE* row, int count) const
{
    const int width = count;
    // Padding and pixels past `count` are written as zero, never left stale.
    const std::size_t used = (static_cast<std::size_t>(width) * bitsPerPixel + 7) / 8;
    if (used < static_cast<std::size_t>(stride))
        std::memset(row + used, 0, static_cast<std::size_t>(stride) - used);
    switch (bitsPerPixel) {
    case 32: std::memcpy(row, in, static_cast<std::size_t>(width) * 4); break;
    case 24:
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<BYTE>(in[x]);
            row[3 * x + 1] = static_cast<BYTE>(in[x] >> 8);
            row[3 * x + 2] = static_cast<BYTE>(in[x] >> 16);
        }
        break;
    default: {
        const int perByte = 8 / bitsPerPixel;
        const unsigned mask = (1u << bitsPerPixel) - 1;
        std::memset(row, 0, used);
        std::uint32_t lastColor = 0xFFFFFFFFu;
        BYTE lastIndex = 0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = in[x] & 0xFFFFFF;
            if (c != lastColor) {
                lastColor = c;
                lastIndex = NearestIndex(c);
            }
            const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
            row[x / perByte] = static_cast<BYTE>(row[x / perByte] | ((lastIndex & mask) << shift));
        }
    }
    }
}

}  // namespace ZELL::Gdi
