#include "Platform/Gdi/BitmapApi.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BlitCore.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/DibFormat.h"
#include "Platform/Gdi/Paint.h"

#include <algorithm>
#include <cstring>

using namespace ZELL::Gdi;

namespace {

HBITMAP AddBitmap(std::shared_ptr<BitmapObject> bitmap)
{
    if (!bitmap)
        return nullptr;
    return static_cast<HBITMAP>(static_cast<HGDIOBJ>(GdiHandleTable::Add(std::move(bitmap))));
}

std::shared_ptr<BitmapObject> FindBitmap(HBITMAP bitmap)
{
    auto object = GdiHandleTable::FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

bool Invalid()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

// The image row that a scan line of a DIB stands for.
int RowOfScan(const DibFormat& f, int scan)
{
    return f.topDown ? scan : f.height - 1 - scan;
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    auto context = FindDC(dc);
    if (!context)
        return nullptr;
    if (width < 0 || height < 0) {
        Invalid();
        return nullptr;
    }
    if (width == 0 || height == 0)
        return AddBitmap(BitmapObject::Create(1, 1, 1));
    const bool mono = context->type == DCType::Memory && context->state.bitmap && context->state.bitmap->IsMono();
    return AddBitmap(BitmapObject::Create(width, height, mono ? 1 : 32));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width < 0 || height < 0 || planes != 1 ||
        (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        Invalid();
        return nullptr;
    }
    if (width == 0 || height == 0)
        return AddBitmap(BitmapObject::Create(1, 1, 1));
    auto bitmap = BitmapObject::Create(width, height, bitsPerPixel == 1 ? 1 : 32);
    if (!bitmap)
        return nullptr;
    if (bits) {
        // Device-dependent rows are padded to 16 bits.
        const std::size_t stride = ((static_cast<std::size_t>(width) * bitsPerPixel + 15) / 16) * 2;
        const auto* in = static_cast<const BYTE*>(bits);
        for (int y = 0; y < height; ++y) {
            const BYTE* row = in + stride * static_cast<std::size_t>(y);
            std::uint32_t* out = bitmap->pixels + static_cast<std::size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                if (bitsPerPixel == 1)
                    out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFFu : 0;
                else if (bitsPerPixel == 24)
                    out[x] = row[3 * x] | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
                             (static_cast<std::uint32_t>(row[3 * x + 2]) << 16);
                else
                    std::memcpy(&out[x], row + 4 * x, 4);
            }
        }
        cairo_surface_mark_dirty(bitmap->surface);
    }
    return AddBitmap(bitmap);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bitmap)
{
    if (!bitmap) {
        Invalid();
        return nullptr;
    }
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
    if (bits)
        *bits = nullptr;
    if (dc && !FindDC(dc))
        return nullptr;
    const auto format = DibFormat::FromInfo(info, usage);
    if (!format || section) {
        Invalid();
        return nullptr;
    }
    auto bitmap = BitmapObject::Create(format->width, format->height, 32);
    if (!bitmap)
        return nullptr;
    bitmap->isDib = true;
    bitmap->dib = *format;
    bitmap->dibHeader = info->bmiHeader;
    bitmap->dibHeader.biSize = 40;
    bitmap->dibHeader.biSizeImage = static_cast<DWORD>(format->ImageSize());
    if (format->bitsPerPixel == 32 && format->topDown) {
        bitmap->dibBits = bitmap->pixels;  // same layout: GDI and the caller share the memory
    } else {
        bitmap->dibBuffer.assign(format->ImageSize(), 0);
        bitmap->dibBits = bitmap->dibBuffer.data();
        bitmap->PullDib();
    }
    if (bits)
        *bits = bitmap->dibBits;
    return AddBitmap(bitmap);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage)
{
    if (!header) {
        Invalid();
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(dc, header->biWidth, std::abs(header->biHeight));
    if (bitmap && (init & CBM_INIT) && bits && info) {
        if (SetDIBits(dc, bitmap, 0, static_cast<UINT>(std::abs(header->biHeight)), bits, info, usage) == 0) {
            DeleteObject(bitmap);
            return nullptr;
        }
    }
    return bitmap;
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    auto bitmap = FindBitmap(handle);
    if (!bitmap)
        return 0;
    const auto format = DibFormat::FromInfo(info, usage);
    if (!format || !bits)
        return Invalid();
    if (start >= static_cast<UINT>(format->height))
        return 0;
    const UINT count = std::min<UINT>(lines, static_cast<UINT>(format->height) - start);
    bitmap->PullDib();
    const int width = std::min(format->width, bitmap->width);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(format->width));
    const auto* in = static_cast<const BYTE*>(bits);
    int written = 0;
    for (UINT i = 0; i < count; ++i) {
        const int y = RowOfScan(*format, static_cast<int>(start + i));
        if (y < 0 || y >= bitmap->height)
            continue;
        format->DecodeLine(in + static_cast<std::size_t>(i) * format->stride, row.data(), format->width);
        std::uint32_t* out = bitmap->pixels + static_cast<std::size_t>(y) * bitmap->width;
        for (int x = 0; x < width; ++x)
            out[x] = bitmap->IsMono() ? ((row[static_cast<std::size_t>(x)] & 0xFFFFFF) ? 0xFFFFFFu : 0)
                                      : row[static_cast<std::size_t>(x)];
        ++written;
    }
    cairo_surface_mark_dirty(bitmap->surface);
    bitmap->PushDib();
    return written;
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage)
{
    auto bitmap = FindBitmap(handle);
    if (!bitmap)
        return 0;
    if (!info || info->bmiHeader.biSize < 40 || usage != DIB_RGB_COLORS || (dc && !FindDC(dc)))
        return Invalid();
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits && h.biBitCount == 0) {
        h.biWidth = bitmap->width;
        h.biHeight = bitmap->height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bitmap->IsMono() ? 1 : 32);
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(DibFormat::StrideFor(bitmap->width, h.biBitCount) * bitmap->height);
        return bitmap->height;
    }
    if (h.biBitCount != 1 && h.biBitCount != 24 && h.biBitCount != 32)
        return Invalid();
    // The palette of a 1-bit result is written, black then white.
    if (h.biBitCount == 1) {
        h.biClrUsed = 0;
        RGBQUAD* colors = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(info) + h.biSize);
        colors[0] = RGBQUAD{};
        colors[1] = RGBQUAD{255, 255, 255, 0};
    }
    const auto format = DibFormat::FromInfo(info, usage);
    if (!format)
        return Invalid();
    if (!bits) {
        h.biSizeImage = static_cast<DWORD>(format->ImageSize());
        return format->height;
    }
    if (start >= static_cast<UINT>(format->height))
        return 0;
    const UINT count = std::min<UINT>(lines, static_cast<UINT>(format->height) - start);
    bitmap->PullDib();
    std::vector<std::uint32_t> row(static_cast<std::size_t>(format->width), 0);
    auto* out = static_cast<BYTE*>(bits);
    for (UINT i = 0; i < count; ++i) {
        const int y = RowOfScan(*format, static_cast<int>(start + i));
        std::fill(row.begin(), row.end(), 0);
        if (y >= 0 && y < bitmap->height)
            std::copy_n(bitmap->pixels + static_cast<std::size_t>(y) * bitmap->width,
                        std::min(format->width, bitmap->width), row.begin());
        if (format->bitsPerPixel != 32)
            for (auto& p : row)
                p &= 0xFFFFFF;
        format->EncodeLine(row.data(), out + static_cast<std::size_t>(i) * format->stride, format->width);
    }
    return static_cast<int>(count);
}

int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop)
{
    auto context = FindDC(dc);
    if (!context)
        return 0;
    const auto format = DibFormat::FromInfo(info, usage);
    if (!format || !bits)
        return Invalid();
    auto image = BitmapObject::Create(format->width, format->height, 32);
    if (!image)
        return 0;
    for (int y = 0; y < format->height; ++y)
        format->DecodeRow(static_cast<const BYTE*>(bits), y, image->pixels + static_cast<std::size_t>(y) * format->width);
    // In a bottom-up image the source rectangle is measured from the bottom.
    const int top = format->topDown ? ySrc : format->height - ySrc - srcHeight;
    const POINT s0{xSrc, top};
    const POINT s1{xSrc + srcWidth, top + srcHeight};
    const SourceSnapshot snapshot =
        SnapshotOf(*image, {std::min(s0.x, s1.x), std::min(s0.y, s1.y), std::max(s0.x, s1.x), std::max(s0.y, s1.y)});
    BlitParams params;
    params.rop = static_cast<BYTE>(rop >> 16);
    const POINT d0 = LogicalPointToSurface(*context, {xDest, yDest});
    const POINT d1 = LogicalPointToSurface(*context, {xDest + destWidth, yDest + destHeight});
    if (!RunBlit(*context, d0, d1, &snapshot, s0, s1, params))
        return 0;
    return std::abs(srcHeight);
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT)
{
    const auto format = DibFormat::FromInfo(info, DIB_RGB_COLORS);
    if (!format || !bits || startScan != 0 || lines < static_cast<UINT>(format->height))
        return Invalid();  // banded transfers are not used here
    if (width > 0x7FFF || height > 0x7FFF)
        return Invalid();
    return StretchDIBits(dc, xDest, yDest, static_cast<int>(width), static_cast<int>(height), xSrc, ySrc,
                         static_cast<int>(width), static_cast<int>(height), bits, info, DIB_RGB_COLORS, SRCCOPY)
               ? static_cast<int>(height)
               : 0;
}
