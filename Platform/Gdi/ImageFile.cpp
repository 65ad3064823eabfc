#include "Platform/Gdi/ImageFile.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/DibFormat.h"
#include "Platform/Gdi/GdiObjectTable.h"

#include <cairo.h>

#include <cstring>

using namespace ZELL::Gdi;

namespace {

struct Reader {
    const BYTE* data;
    std::size_t size;
    std::size_t offset = 0;
};

cairo_status_t ReadChunk(void* closure, unsigned char* out, unsigned int length)
{
    auto* r = static_cast<Reader*>(closure);
    if (length > r->size - r->offset)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->offset, length);
    r->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

HBITMAP Bad()
{
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

HBITMAP NewDib(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biBitCount = 32;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// What the header says, before anything is decoded: a small file may claim
// a picture far larger than any window shows, which would be unpacked whole.
bool PngSizeAcceptable(const BYTE* data, std::size_t size)
{
    constexpr std::uint64_t kMaxPixels = 64u << 20;
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    const auto be32 = [data](std::size_t at) {
        return (std::uint64_t{data[at]} << 24) | (std::uint64_t{data[at + 1]} << 16) | (std::uint64_t{data[at + 2]} << 8) |
               std::uint64_t{data[at + 3]};
    };
    return be32(16) * be32(20) <= kMaxPixels;
}

}  // namespace

HBITMAP CreateBitmapFromPng(const BYTE* data, std::size_t size)
{
    if (!data || size < 8 || !PngSizeAcceptable(data, size))
        return Bad();
    Reader reader{data, size};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(ReadChunk, &reader);
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return Bad();
    }
    const int width = cairo_image_surface_get_width(png);
    const int height = cairo_image_surface_get_height(png);
    void* bits = nullptr;
    HBITMAP bitmap = NewDib(width, height, &bits);
    if (bitmap) {
        cairo_surface_flush(png);
        const auto* src = cairo_image_surface_get_data(png);
        const int stride = cairo_image_surface_get_stride(png);
        const bool alpha = cairo_image_surface_get_format(png) == CAIRO_FORMAT_ARGB32;
        auto* out = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(src + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < width; ++x) {
                std::uint32_t p = row[x];
                const unsigned a = alpha ? p >> 24 : 255;
                // cairo premultiplies; icons and blends here take straight alpha.
                if (a != 0 && a != 255) {
                    std::uint32_t straight = p & 0xFF000000u;
                    for (int shift = 0; shift <= 16; shift += 8)
                        straight |= std::min(255u, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
                    p = straight;
                }
                out[static_cast<std::size_t>(y) * width + x] = alpha ? p : (p | 0xFF000000u);
            }
        }
    }
    cairo_surface_destroy(png);
    return bitmap;
}

HBITMAP CreateBitmapFromBmp(const BYTE* data, std::size_t size)
{
    constexpr std::size_t kFileHeader = 14;
    if (!data || size < kFileHeader + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M')
        return Bad();
    DWORD offBits = 0;
    std::memcpy(&offBits, data + 10, 4);
    BITMAPINFOHEADER header;
    std::memcpy(&header, data + kFileHeader, sizeof header);
    if (header.biSize < 40 || header.biSize > size - kFileHeader)
        return Bad();
    // The palette may only be read from within the file.
    const std::size_t paletteStart = kFileHeader + header.biSize;
    const std::size_t paletteRoom = offBits > paletteStart && offBits <= size ? offBits - paletteStart : 0;
    std::vector<BYTE> infoBlock(header.biSize + paletteRoom);
    std::memcpy(infoBlock.data(), data + kFileHeader, infoBlock.size());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(infoBlock.data());
    const auto format = DibFormat::FromInfo(info, DIB_RGB_COLORS, paletteRoom);
    if (!format || offBits < paletteStart || offBits > size || format->ImageSize() > size - offBits)
        return Bad();
    void* bits = nullptr;
    HBITMAP bitmap = NewDib(format->width, format->height, &bits);
    if (!bitmap)
        return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < format->height; ++y)
        format->DecodeRow(data + offBits, y, out + static_cast<std::size_t>(y) * format->width);
    return bitmap;
}

std::vector<BYTE> EncodeBmp(HBITMAP handle, int bitsPerPixel)
{
    BITMAP bm{};
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || !GetObject(handle, sizeof bm, &bm))
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = bm.bmHeight;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    const std::size_t image = static_cast<std::size_t>(DibFormat::StrideFor(bm.bmWidth, bitsPerPixel)) * bm.bmHeight;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(image);
    constexpr std::size_t kHeaders = 14 + sizeof(BITMAPINFOHEADER);
    std::vector<BYTE> file(kHeaders + image);
    BITMAPFILEHEADER fh;
    fh.bfType = 0x4D42;
    fh.bfSize = static_cast<DWORD>(file.size());
    fh.bfOffBits = static_cast<DWORD>(kHeaders);
    std::memcpy(file.data(), &fh, 14);
    std::memcpy(file.data() + 14, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    if (GetDIBits(nullptr, handle, 0, static_cast<UINT>(bm.bmHeight), file.data() + kHeaders, &info,
                  DIB_RGB_COLORS) != bm.bmHeight)
        return {};
    return file;
}
