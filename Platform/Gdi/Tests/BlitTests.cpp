#include "GdiTestSupport.h"

#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Blit.h"
#include "Platform/Gdi/Draw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

// A memory context with a bitmap of its own.
struct MemoryDC {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    MemoryDC(HDC like, HBITMAP bm) : dc(CreateCompatibleDC(like)), bitmap(bm), old(SelectObject(dc, bm)) {}
    MemoryDC(HDC like, int w, int h) : MemoryDC(like, CreateCompatibleBitmap(like, w, h)) {}
    ~MemoryDC()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void Fill(COLORREF color, RECT r)
    {
        Owned<HBRUSH> b(CreateSolidBrush(color));
        FillRect(dc, &r, b);
    }
};

BITMAPINFO Info(int width, int height, int bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    return info;
}

}  // namespace

TEST(MemoryDCTest, StartsWithAOnePixelMonochromeBitmap)
{
    TestSurface s;
    HDC memory = CreateCompatibleDC(s.dc());
    BITMAP bm{};
    ASSERT_EQ(GetObject(GetCurrentObject(memory, OBJ_BITMAP), sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    // The classic trap: compatible with the memory context means monochrome.
    Owned<HBITMAP> mono(CreateCompatibleBitmap(memory, 8, 8));
    GetObject(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    Owned<HBITMAP> colour(CreateCompatibleBitmap(s.dc(), 8, 8));
    GetObject(colour, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(GetObjectType(memory), OBJ_MEMDC);
    EXPECT_EQ(SelectObject(memory, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    DeleteDC(memory);
}

TEST(RasterOpTest, NamedOperationsFollowTheirTruthTables)
{
    TestSurface s;
    const std::uint32_t S = 0x33CC55;
    const std::uint32_t D = 0x0F0FF0;
    const std::uint32_t P = 0x5500AA;
    auto colour = [](std::uint32_t v) { return RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF); };
    MemoryDC src(s.dc(), 1, 1);
    src.Fill(colour(S), {0, 0, 1, 1});
    Owned<HBRUSH> pattern(CreateSolidBrush(colour(P)));
    SelectObject(s.dc(), pattern);
    const struct {
        DWORD rop;
        std::uint32_t expect;
    } cases[] = {
        {SRCCOPY, S},          {SRCPAINT, S | D},        {SRCAND, S & D},        {SRCINVERT, S ^ D},
        {SRCERASE, S & ~D},    {NOTSRCCOPY, ~S},         {NOTSRCERASE, ~(S | D)}, {MERGECOPY, P & S},
        {MERGEPAINT, ~S | D},  {PATCOPY, P},             {PATINVERT, P ^ D},     {DSTINVERT, ~D},
        {BLACKNESS, 0},        {WHITENESS, 0xFFFFFF},     {PATPAINT, P | ~S | D},
    };
    for (const auto& c : cases) {
        s.Clear(D);
        ASSERT_TRUE(BitBlt(s.dc(), 0, 0, 1, 1, src.dc, 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(s.Raw(0, 0), c.expect & 0xFFFFFF) << std::hex << c.rop;
    }
}

TEST(RasterOpTest, MonochromeToColourUsesTextAndBackgroundColours)
{
    TestSurface s;
    const WORD rows[2] = {0x0080, 0};  // first pixel of row 0 white (big-endian bit order within the byte)
    MemoryDC mono(s.dc(), CreateBitmap(2, 1, 1, 1, rows));
    SetTextColor(s.dc(), RGB(255, 0, 0));
    SetBkColor(s.dc(), RGB(0, 0, 255));
    BitBlt(s.dc(), 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(s.Raw(0, 0), kBlue);  // 1 bit: background colour
    EXPECT_EQ(s.Raw(1, 0), kRed);   // 0 bit: text colour
}

TEST(RasterOpTest, ColourToMonochromeMakesTheBackgroundColourWhite)
{
    TestSurface s;
    MemoryDC colour(s.dc(), 3, 1);
    colour.Fill(RGB(10, 20, 30), {0, 0, 1, 1});
    colour.Fill(RGB(255, 255, 255), {1, 0, 2, 1});
    colour.Fill(RGB(0, 0, 0), {2, 0, 3, 1});
    SetBkColor(colour.dc, RGB(10, 20, 30));
    MemoryDC mask(colour.dc, CreateBitmap(3, 1, 1, 1, nullptr));
    BitBlt(mask.dc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(mask.dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mask.dc, 1, 0), RGB(0, 0, 0));  // white, but not the background colour
    EXPECT_EQ(GetPixel(mask.dc, 2, 0), RGB(0, 0, 0));
    // Drawing into a monochrome bitmap maps colours to black or white.
    mask.Fill(RGB(200, 200, 200), {0, 0, 3, 1});
    EXPECT_EQ(GetPixel(mask.dc, 1, 0), RGB(255, 255, 255));
}

TEST(RasterOpTest, MaskThenPaintDrawsOnlyTheShape)
{
    // The classic transparency: mask with SRCAND, then the image with SRCPAINT.
    TestSurface s;
    s.Clear(0x00FF00);
    MemoryDC image(s.dc(), 4, 1);
    image.Fill(RGB(255, 0, 0), {0, 0, 2, 1});
    image.Fill(RGB(255, 0, 255), {2, 0, 4, 1});  // the key colour
    SetBkColor(image.dc, RGB(255, 0, 255));
    MemoryDC mask(image.dc, CreateBitmap(4, 1, 1, 1, nullptr));
    BitBlt(mask.dc, 0, 0, 4, 1, image.dc, 0, 0, SRCCOPY);
    // The image's key pixels must be black for SRCPAINT.
    SetBkColor(image.dc, RGB(0, 0, 0));
    SetTextColor(image.dc, RGB(255, 255, 255));
    BitBlt(image.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCAND);
    SetBkColor(s.dc(), RGB(255, 255, 255));
    SetTextColor(s.dc(), RGB(0, 0, 0));
    BitBlt(s.dc(), 0, 0, 4, 1, mask.dc, 0, 0, SRCAND);
    BitBlt(s.dc(), 0, 0, 4, 1, image.dc, 0, 0, SRCPAINT);
    EXPECT_EQ(s.Raw(0, 0), kRed);
    EXPECT_EQ(s.Raw(1, 0), kRed);
    EXPECT_EQ(s.Raw(2, 0), 0x00FF00u);
    EXPECT_EQ(s.Raw(3, 0), 0x00FF00u);
}

TEST(BlitTest, TransparentBltSkipsTheKeyColour)
{
    TestSurface s;
    MemoryDC image(s.dc(), 4, 4);
    image.Fill(RGB(255, 0, 255), {0, 0, 4, 4});
    image.Fill(RGB(255, 0, 0), {1, 1, 3, 3});
    ASSERT_TRUE(TransparentBlt(s.dc(), 0, 0, 8, 8, image.dc, 0, 0, 4, 4, RGB(255, 0, 255)));
    EXPECT_EQ(s.Count(kRed, 0, 0, 8, 8), 16);
    EXPECT_EQ(s.Count(kWhite, 0, 0, 8, 8), 48);
    EXPECT_EQ(s.Raw(2, 2), kRed);
    EXPECT_EQ(s.Raw(1, 1), kWhite);
}

TEST(BlitTest, StretchScalesAndMirrors)
{
    TestSurface s;
    MemoryDC image(s.dc(), 2, 1);
    image.Fill(RGB(255, 0, 0), {0, 0, 1, 1});
    image.Fill(RGB(0, 0, 255), {1, 0, 2, 1});
    StretchBlt(s.dc(), 0, 0, 8, 2, image.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(s.Count(kRed, 0, 0, 4, 2), 8);
    EXPECT_EQ(s.Count(kBlue, 4, 0, 8, 2), 8);
    StretchBlt(s.dc(), 8, 0, -8, 1, image.dc, 0, 0, 2, 1, SRCCOPY);  // mirrored into 0..8
    EXPECT_EQ(s.Raw(0, 0), kBlue);
    EXPECT_EQ(s.Raw(7, 0), kRed);
}

TEST(BlitTest, OverlappingCopyReadsTheOldPicture)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{0, 0, 4, 1};
    FillRect(s.dc(), &r, red);
    BitBlt(s.dc(), 2, 0, 4, 1, s.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(s.Count(kRed, 0, 0, 10, 1), 6);
}

TEST(BlitTest, CopiesOutsideTheSourceLeaveTheDestination)
{
    TestSurface s;
    MemoryDC image(s.dc(), 2, 2);
    EXPECT_TRUE(BitBlt(s.dc(), 0, 0, 4, 4, image.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(s.Raw(1, 1), 0u);
    EXPECT_EQ(s.Raw(3, 3), kWhite);
    EXPECT_FALSE(BitBlt(s.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(s.dc(), 0, 0, 4, 4, nullptr, 0, 0, WHITENESS));
}

TEST(BlitTest, AlphaBlendConstantAndPerPixel)
{
    TestSurface s;
    MemoryDC image(s.dc(), 1, 1);
    image.Fill(RGB(255, 0, 0), {0, 0, 1, 1});
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(s.dc(), 0, 0, 1, 1, image.dc, 0, 0, 1, 1, half));
    const std::uint32_t p = s.Raw(0, 0);
    EXPECT_EQ(p >> 16, 255u);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 127, 1);

    // A premultiplied 32-bit DIB: opaque blue, half-transparent red, clear.
    BITMAPINFO info = Info(3, -1, 32);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(s.dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bits, nullptr);
    auto* px = static_cast<std::uint32_t*>(bits);
    px[0] = 0xFF0000FFu;
    px[1] = 0x80800000u;
    px[2] = 0x00000000u;
    MemoryDC alpha(s.dc(), dib);
    s.Clear(kWhite);
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(s.dc(), 0, 0, 3, 1, alpha.dc, 0, 0, 3, 1, perPixel));
    EXPECT_EQ(s.Raw(0, 0), kBlue);
    EXPECT_EQ(s.Raw(1, 0) >> 16, 255u);
    EXPECT_NEAR(static_cast<int>(s.Raw(1, 0) & 0xFF), 127, 1);
    EXPECT_EQ(s.Raw(2, 0), kWhite);
    BLENDFUNCTION bad{1, 0, 255, 0};
    EXPECT_FALSE(AlphaBlend(s.dc(), 0, 0, 3, 1, alpha.dc, 0, 0, 3, 1, bad));
}

TEST(GradientTest, EndpointsTakeTheVertexColours)
{
    TestSurface s;
    TRIVERTEX v[2];
    v[0] = {0, 0, 0xFF00, 0, 0, 0};
    v[1] = {32, 8, 0, 0, 0xFF00, 0};
    GRADIENT_RECT r{0, 1};
    ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(s.Raw(0, 0), kRed);
    const std::uint32_t last = s.Raw(31, 7);
    EXPECT_LE(last >> 16, 8u);
    EXPECT_GE(last & 0xFF, 0xF0u);
    EXPECT_EQ(s.Raw(32, 0), kWhite);
    EXPECT_EQ(s.Raw(0, 8), kWhite);
    // Monotonic along the direction.
    for (int x = 1; x < 32; ++x)
        EXPECT_LE(s.Raw(x, 3) >> 16, s.Raw(x - 1, 3) >> 16);
    ASSERT_TRUE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(s.Raw(20, 0), kRed);
    EXPECT_EQ(s.Raw(0, 7) & 0xFF, 0xDFu);  // 7/8 of the way
    GRADIENT_RECT out{0, 5};
    EXPECT_FALSE(GradientFill(s.dc(), v, 2, &out, 1, GRADIENT_FILL_RECT_H));
    EXPECT_FALSE(GradientFill(s.dc(), v, 2, &r, 1, GRADIENT_FILL_TRIANGLE));
}

TEST(DibSectionTest, TopDown32BitSharesItsMemory)
{
    TestSurface s;
    BITMAPINFO info = Info(4, -2, 32);
    void* bits = nullptr;
    MemoryDC dib(s.dc(), CreateDIBSection(s.dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    static_cast<std::uint32_t*>(bits)[5] = 0x00123456;
    EXPECT_EQ(GetPixel(dib.dc, 1, 1), RGB(0x12, 0x34, 0x56));
    dib.Fill(RGB(255, 0, 0), {0, 0, 1, 1});
    EXPECT_EQ(static_cast<std::uint32_t*>(bits)[0] & 0xFFFFFF, kRed);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(dib.bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, -2);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
}

TEST(DibSectionTest, BottomUp24BitKeepsRowsInTheirPlatformOrder)
{
    TestSurface s;
    BITMAPINFO info = Info(3, 2, 24);
    void* bits = nullptr;
    MemoryDC dib(s.dc(), CreateDIBSection(s.dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    auto* b = static_cast<BYTE*>(bits);
    // The first stored row is the bottom one; rows are padded to 12 bytes.
    b[0] = 0xFF;  // blue at (0, 1)
    b[12 + 2] = 0xFF;  // red at (0, 0)
    EXPECT_EQ(GetPixel(dib.dc, 0, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dib.dc, 0, 0), RGB(255, 0, 0));
    dib.Fill(RGB(0, 255, 0), {2, 1, 3, 2});
    EXPECT_EQ(b[6 + 1], 0xFF);
    EXPECT_EQ(b[12 + 6 + 1], 0);
}

TEST(DibSectionTest, PalettedPixelsReadThroughThePalette)
{
    TestSurface s;
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader = Info(4, -1, 8).bmiHeader;
    auto* palette = reinterpret_cast<RGBQUAD*>(block.data() + sizeof(BITMAPINFOHEADER));
    palette[7] = {0, 0, 255, 0};
    void* bits = nullptr;
    MemoryDC dib(s.dc(), CreateDIBSection(s.dc(), info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    static_cast<BYTE*>(bits)[2] = 7;
    BitBlt(s.dc(), 0, 0, 4, 1, dib.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(s.Raw(2, 0), kRed);
    EXPECT_EQ(s.Raw(1, 0), 0u);
    // Drawing picks the nearest palette entry.
    dib.Fill(RGB(250, 0, 0), {0, 0, 1, 1});
    EXPECT_EQ(static_cast<BYTE*>(bits)[0], 7);
}

TEST(DibSectionTest, RejectsBadHeaders)
{
    BITMAPINFO info = Info(0, 4, 32);
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    info = Info(4, 4, 16);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info = Info(100000, 100000, 32);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info = Info(4, 4, 32);
    info.bmiHeader.biSize = 12;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(-1, 4, 1, 32, nullptr), nullptr);
}

TEST(DibBitsTest, GetAndSetRoundTrip)
{
    TestSurface s;
    Owned<HBITMAP> bitmap(CreateCompatibleBitmap(s.dc(), 3, 2));
    BITMAPINFO info{};
    ASSERT_NE(GetDIBits(s.dc(), bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.bmiHeader.biWidth, 3);
    EXPECT_EQ(info.bmiHeader.biHeight, 2);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);

    BITMAPINFO rgb = Info(3, 2, 24);  // bottom-up, rows of 12 bytes
    std::vector<BYTE> in(24, 0);
    in[2] = 0xFF;       // bottom-left red
    in[12 + 8] = 0xFF;  // top-right (x 2) red channel of the upper row
    ASSERT_EQ(SetDIBits(s.dc(), bitmap, 0, 2, in.data(), &rgb, DIB_RGB_COLORS), 2);
    HDC memory = CreateCompatibleDC(s.dc());
    const HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(GetPixel(memory, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
    SelectObject(memory, old);
    DeleteDC(memory);
    std::vector<BYTE> out(24, 0xAA);
    ASSERT_EQ(GetDIBits(s.dc(), bitmap, 0, 2, out.data(), &rgb, DIB_RGB_COLORS), 2);
    EXPECT_EQ(out, in);
    // Scan line 1 of a bottom-up image is the top row.
    std::vector<BYTE> line(12, 0);
    ASSERT_EQ(GetDIBits(s.dc(), bitmap, 1, 5, line.data(), &rgb, DIB_RGB_COLORS), 1);
    EXPECT_EQ(line[8], 0xFF);
    EXPECT_EQ(GetDIBits(s.dc(), bitmap, 2, 1, line.data(), &rgb, DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(s.dc(), nullptr, 0, 1, line.data(), &rgb, DIB_RGB_COLORS), 0);
}

TEST(DibBitsTest, StretchDIBitsDrawsAnImage)
{
    TestSurface s;
    BITMAPINFO info = Info(2, 2, 32);  // bottom-up
    const std::uint32_t pixels[4] = {0x00FF0000, 0x00FF0000, 0x000000FF, 0x000000FF};
    ASSERT_EQ(StretchDIBits(s.dc(), 0, 0, 4, 4, 0, 0, 2, 2, pixels, &info, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(s.Raw(0, 0), kBlue);  // the stored second row is the top
    EXPECT_EQ(s.Raw(3, 3), kRed);
}

TEST(PatternBrushTest, MonochromePatternUsesContextColours)
{
    TestSurface s;
    const WORD rows[8] = {0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055};  // bytes AA 00, 55 00 ...
    Owned<HBITMAP> checker(CreateBitmap(8, 8, 1, 1, rows));
    Owned<HBRUSH> brush(CreatePatternBrush(checker));
    SetTextColor(s.dc(), RGB(255, 0, 0));
    SetBkColor(s.dc(), RGB(0, 0, 255));
    const RECT r{0, 0, 8, 8};
    FillRect(s.dc(), &r, brush);
    EXPECT_EQ(s.Raw(0, 0), kBlue);  // set bit
    EXPECT_EQ(s.Raw(1, 0), kRed);
    EXPECT_EQ(s.Raw(0, 1), kRed);
    EXPECT_EQ(s.Count(kRed, 0, 0, 8, 8), 32);
}
