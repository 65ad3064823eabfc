// Arbitrary bytes as a PNG or BMP picture (images named in tooltip mark-up,
// resources, files): either a bitmap of the picture's size comes out or null,
// and what comes out writes as a BMP file that reads back to the same size.
// The first byte picks the decoder; a PNG signature is put in front on
// request so that mutations reach past the signature check.
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/ImageFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool SizeOf(HBITMAP bitmap, LONG& width, LONG& height)
{
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != static_cast<int>(sizeof info))
        return false;
    width = info.bmWidth;
    height = info.bmHeight;
    return width > 0 && height > 0;
}

void CheckRoundTrip(HBITMAP bitmap)
{
    LONG width = 0;
    LONG height = 0;
    if (!SizeOf(bitmap, width, height))
        std::abort();
    for (const int bits : {24, 32}) {
        const std::vector<BYTE> file = EncodeBmp(bitmap, bits);
        HBITMAP again = CreateBitmapFromBmp(file.data(), file.size());
        LONG againWidth = 0;
        LONG againHeight = 0;
        if (again == nullptr || !SizeOf(again, againWidth, againHeight) || againWidth != width
            || againHeight != height)
            std::abort();
        DeleteObject(again);
    }
    DeleteObject(bitmap);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<BYTE> bytes;
    if ((data[0] & 2) != 0)
        bytes.assign(std::begin(kPngSignature), std::end(kPngSignature));
    bytes.insert(bytes.end(), data + 1, data + size);
    HBITMAP bitmap = (data[0] & 1) != 0 ? CreateBitmapFromPng(bytes.data(), bytes.size())
                                        : CreateBitmapFromBmp(bytes.data(), bytes.size());
    if (bitmap != nullptr)
        CheckRoundTrip(bitmap);
    return 0;
}
