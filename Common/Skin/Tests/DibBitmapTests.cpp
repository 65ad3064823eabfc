#include "Common/Skin/Drawing/DibBitmap.h"

#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

using namespace ZELL::Skin;

namespace {

}

TEST(DibBitmap, LineWidthPaletteAndSizesFollowTheBitCount)
{
    CDibBitmap dib;
    ASSERT_NE(dib.Create(3, 2, 8), nullptr);
    EXPECT_EQ(dib.GetLineWidth(), 4u);
    EXPECT_EQ(dib.GetNumColors(), 256);
    EXPECT_EQ(dib.GetPaletteSize(), 1024u);
    EXPECT_EQ(dib.GetSize(), 40u + 1024u + 8u);
    ASSERT_NE(dib.Create(3, 2, 24), nullptr);
    EXPECT_EQ(dib.GetLineWidth(), 12u);
    EXPECT_EQ(dib.GetNumColors(), 0);
    EXPECT_EQ(dib.GetPalette(), nullptr);
    ASSERT_NE(dib.Create(9, 1, 1), nullptr);
    EXPECT_EQ(dib.GetLineWidth(), 4u);
    EXPECT_EQ(dib.GetNumColors(), 2);
    EXPECT_EQ(dib.Create(0, 5, 8), nullptr);
    EXPECT_EQ(dib.GetBits(), nullptr);
}

TEST(DibBitmap, TheBmpFileHoldsHeaderPaletteAndRowsByteForByte)
{
    CDibBitmap dib;
    ASSERT_NE(dib.Create(2, 2, 8), nullptr);
    dib.SetGrayPalette();
    dib.SetPaletteIndex(7, 0xFF, 0x00, 0x00);
    dib.SetPixelIndex(0, 0, 7);  // top row: stored last
    dib.SetPixelIndex(1, 1, 255);
    const TestSupport::CTempFolder folder("zell-dib");
    ASSERT_TRUE(dib.WriteBMP((folder / "dib.bmp").wstring().c_str()));
    const std::string bytes = folder.Read("dib.bmp");
    const std::vector<BYTE> file(bytes.begin(), bytes.end());

    ASSERT_EQ(file.size(), 14u + 40u + 1024u + 8u);
    const auto word = [&](std::size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    const auto dword = [&](std::size_t at) { return word(at) | word(at + 2) << 16; };
    EXPECT_EQ(word(0), 0x4D42u);
    EXPECT_EQ(dword(2), 1086u);
    EXPECT_EQ(dword(6), 0u);
    EXPECT_EQ(dword(10), 1078u);
    EXPECT_EQ(dword(14), 40u);
    EXPECT_EQ(dword(18), 2u);
    EXPECT_EQ(dword(22), 2u);
    EXPECT_EQ(word(26), 1u);
    EXPECT_EQ(word(28), 8u);
    // Palette entry 7 is blue, green, red, 0.
    EXPECT_EQ(dword(54 + 7 * 4), 0x00FF0000u);
    EXPECT_EQ(dword(54 + 255 * 4), 0x00FFFFFFu);
    // The file's block is the image's block, unchanged.
    EXPECT_EQ(std::memcmp(file.data() + 14, dib.GetBits() - 40 - 1024, dib.GetSize()), 0);
    // Bottom-up rows: the bottom row (y 1) first, padded to four bytes.
    EXPECT_EQ(file[1078 + 1], 255);
    EXPECT_EQ(file[1078 + 4], 7);
}

TEST(DibBitmap, WritingFailsCleanlyWithoutNameImageOrFolder)
{
    CDibBitmap dib;
    const TestSupport::CTempFolder folder("zell-dib");
    const auto path = folder / "none.bmp";
    EXPECT_FALSE(dib.WriteBMP(path.wstring().c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_NE(dib.Create(1, 1, 24), nullptr);
    EXPECT_FALSE(dib.WriteBMP(L""));
    EXPECT_FALSE(dib.WriteBMP(nullptr));
    EXPECT_FALSE(dib.WriteBMP(L"/nonexistent-folder/x.bmp"));
}

TEST(DibBitmap, PixelIndicesStayInsideTheirRowForEveryBitCount)
{
    CDibBitmap dib;
    ASSERT_NE(dib.Create(3, 2, 4), nullptr);
    dib.Clear(0);
    dib.SetPixelIndex(0, 1, 0xA);
    dib.SetPixelIndex(1, 1, 0x5);
    dib.SetPixelIndex(2, 1, 0xF);
    dib.SetPixelIndex(3, 1, 0x3);   // outside: the padding stays untouched
    dib.SetPixelIndex(0, 0, 0x10);  // beyond the 16 colours
    const BYTE* bottom = dib.GetBits();
    EXPECT_EQ(bottom[0], 0xA5);
    EXPECT_EQ(bottom[1], 0xF0);
    EXPECT_EQ(bottom[2], 0);
    EXPECT_EQ(bottom[3], 0);
    EXPECT_EQ(dib.GetBits()[4], 0);

    ASSERT_NE(dib.Create(10, 1, 1), nullptr);
    dib.Clear(0);
    dib.SetPixelIndex(0, 0, 1);
    dib.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(dib.GetBits()[0], 0x80);
    EXPECT_EQ(dib.GetBits()[1], 0x40);

    // A true-colour image has no indices to set.
    ASSERT_NE(dib.Create(2, 1, 24), nullptr);
    dib.Clear(0x11);
    dib.SetPixelIndex(1, 0, 0xEE);
    EXPECT_EQ(dib.GetBits()[3], 0x11);
    EXPECT_EQ(dib.GetBits()[5], 0x11);
}

TEST(DibBitmap, PaletteBlendAndDrawShowOnTheContext)
{
    CDibBitmap dib;
    ASSERT_NE(dib.Create(4, 2, 8), nullptr);
    dib.SetGrayPalette();
    dib.Clear(0);
    dib.SetPixelIndex(1, 0, 255);
    dib.BlendPalette(RGB(255, 0, 0), 50);
    EXPECT_EQ(dib.GetPalette()[0].rgbRed, 127);
    EXPECT_EQ(dib.GetPalette()[255].rgbGreen, 127);
    dib.BlendPalette(RGB(0, 0, 255), 250);  // limited to 100
    EXPECT_EQ(dib.GetPalette()[0].rgbBlue, 255);
    EXPECT_EQ(dib.GetPalette()[0].rgbRed, 0);

    dib.SetPaletteIndex(0, 0, 255, 0);
    dib.SetPaletteIndex(300, 1, 1, 1);
    ControlsTest::CCanvas canvas(10, 10);
    dib.Draw(canvas.Dc(), 3, 4);
    EXPECT_EQ(canvas.At(3, 4), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(2, 4), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(7, 4), RGB(255, 255, 255));

    CDibBitmap copy;
    ASSERT_NE(copy.Clone(dib), nullptr);
    EXPECT_EQ(std::memcmp(copy.GetBits(), dib.GetBits(), dib.GetLineWidth() * 2), 0);
    EXPECT_EQ(copy.GetPalette()[0].rgbGreen, 255);
}

TEST(DibBitmap, CaptureTakesThePixelsOfTheContext)
{
    ControlsTest::CCanvas canvas(6, 6);
    canvas.Fill(RECT{2, 2, 4, 4}, RGB(10, 20, 30));
    CDibBitmap dib;
    ASSERT_NE(dib.Create(2, 2, 32), nullptr);
    dib.Capture(canvas.Dc(), 2, 2);
    const BYTE* pixel = dib.GetBits();
    EXPECT_EQ(pixel[0], 30);
    EXPECT_EQ(pixel[1], 20);
    EXPECT_EQ(pixel[2], 10);
}
