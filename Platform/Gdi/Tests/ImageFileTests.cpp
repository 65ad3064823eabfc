#include "GdiTestSupport.h"

#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Blit.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/ImageFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::vector<BYTE>*>(closure)->insert(static_cast<std::vector<BYTE>*>(closure)->end(), data,
                                                     data + length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

TEST(ImageFileTest, BmpRoundTrip)
{
    TestSurface s;
    Owned<HBITMAP> bitmap(CreateCompatibleBitmap(s.dc(), 3, 2));
    HDC memory = CreateCompatibleDC(s.dc());
    const HGDIOBJ old = SelectObject(memory, bitmap);
    SetPixel(memory, 0, 0, RGB(255, 0, 0));
    SetPixel(memory, 2, 1, RGB(0, 0, 255));
    SelectObject(memory, old);
    const std::vector<BYTE> file = EncodeBmp(bitmap);
    ASSERT_EQ(file.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(file[0], 'B');
    Owned<HBITMAP> back(CreateBitmapFromBmp(file.data(), file.size()));
    ASSERT_NE(back.h, nullptr);
    SelectObject(memory, back);
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(0, 0, 0));
    SelectObject(memory, old);
    DeleteDC(memory);
}

TEST(ImageFileTest, TruncatedOrForgedBmpIsRefused)
{
    TestSurface s;
    Owned<HBITMAP> bitmap(CreateCompatibleBitmap(s.dc(), 4, 4));
    std::vector<BYTE> file = EncodeBmp(bitmap);
    ASSERT_FALSE(file.empty());
    for (std::size_t cut : {0ul, 10ul, 53ul, file.size() - 1})
        EXPECT_EQ(CreateBitmapFromBmp(file.data(), cut), nullptr) << cut;
    std::vector<BYTE> huge = file;
    huge[18] = 0xFF;  // width 255...
    huge[21] = 0x7F;  // ... times 2^24: far more than the file holds
    EXPECT_EQ(CreateBitmapFromBmp(huge.data(), huge.size()), nullptr);
    std::vector<BYTE> paletted = file;
    paletted[28] = 8;  // 8 bits per pixel, but no palette in the file
    paletted[46] = 0;
    EXPECT_EQ(CreateBitmapFromBmp(paletted.data(), paletted.size()), nullptr);
}

TEST(ImageFileTest, PngKeepsColoursAndAlpha)
{
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 1);
    auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(image));
    px[0] = 0xFFFF0000u;
    px[1] = 0x80400000u;  // premultiplied: half-transparent red of 0x80
    cairo_surface_mark_dirty(image);
    std::vector<BYTE> png;
    ASSERT_EQ(cairo_surface_write_to_png_stream(image, Collect, &png), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(image);
    Owned<HBITMAP> bitmap(CreateBitmapFromPng(png.data(), png.size()));
    ASSERT_NE(bitmap.h, nullptr);
    DIBSECTION ds{};
    ASSERT_TRUE(GetObject(bitmap, sizeof ds, &ds));
    const auto* bits = static_cast<const std::uint32_t*>(ds.dsBm.bmBits);
    EXPECT_EQ(bits[0], 0xFFFF0000u);
    EXPECT_EQ(bits[1] >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>((bits[1] >> 16) & 0xFF), 0x80, 2);
    EXPECT_EQ(CreateBitmapFromPng(png.data(), png.size() / 2), nullptr);
    const BYTE junk[16] = {1, 2, 3};
    EXPECT_EQ(CreateBitmapFromPng(junk, sizeof junk), nullptr);
}
