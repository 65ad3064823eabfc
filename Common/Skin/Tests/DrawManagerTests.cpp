#include "Common/Skin/Drawing/DrawManager.h"

#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Gdi/Tests/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace ZELL::Skin;

using ControlsTest::BitmapOf;
using ControlsTest::CCanvas;
using ControlsTest::PixelsOf;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Red is the transparent colour: had a byte order slipped, blue would match.
struct RedMaskedImage {
    HBITMAP bitmap = BitmapOf(2, 2, {kRed, kBlue, RGB(100, 150, 200), kRed});
    ~RedMaskedImage() { DeleteObject(bitmap); }
};

std::vector<COLORREF> Effect(CDrawManager& manager, HBITMAP bitmap, DWORD effect, BOOL useMask, COLORREF newColor = 0)
{
    HBITMAP result = manager.CreateImageEffect(bitmap, 2, 2, effect, useMask, kRed, newColor);
    EXPECT_NE(result, nullptr);
    std::vector<COLORREF> pixels = result != nullptr ? PixelsOf(result) : std::vector<COLORREF>{};
    DeleteObject(result);
    return pixels;
}

}

TEST(DrawManager, ColourHelpers)
{
    EXPECT_EQ(CDrawManager::GrayColor(kRed), RGB(76, 76, 76));
    EXPECT_EQ(CDrawManager::GrayColor(kBlue), RGB(29, 29, 29));
    EXPECT_EQ(CDrawManager::InvertColor(RGB(1, 2, 3)), RGB(254, 253, 252));
    EXPECT_EQ(CDrawManager::DarkenColor(RGB(100, 200, 40), 0.5), RGB(50, 100, 20));
    EXPECT_EQ(CDrawManager::DarkenColor(RGB(100, 200, 40), 1.0), RGB(100, 200, 40));
    EXPECT_EQ(CDrawManager::LightenColor(RGB(100, 200, 40), 0.5), RGB(150, 255, 60));
    EXPECT_EQ(CDrawManager::LightenColor(RGB(100, 200, 40), 0.0), RGB(100, 200, 40));
    EXPECT_EQ(CDrawManager::MixedColor(kRed, 0.5, kBlue, 0.5), RGB(127, 0, 127));
}

TEST(DrawManager, ImageEffectsPixelByPixelWithARedMask)
{
    RedMaskedImage image;
    CDrawManager manager;
    const COLORREF other = RGB(100, 150, 200);
    EXPECT_EQ(Effect(manager, image.bitmap, 0, FALSE), (std::vector<COLORREF>{kRed, kBlue, other, kRed}));
    // Masked pixels become black, so that an OR puts nothing there.
    EXPECT_EQ(Effect(manager, image.bitmap, 0, TRUE), (std::vector<COLORREF>{kBlack, kBlue, other, kBlack}));
    const COLORREF otherGray = CDrawManager::GrayColor(other);
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectGray, TRUE),
              (std::vector<COLORREF>{kBlack, RGB(29, 29, 29), otherGray, kBlack}));
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectGray, FALSE)[0], RGB(76, 76, 76));
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectDarker, TRUE)[1], RGB(0, 0, 191));
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectLighter, TRUE)[2], RGB(125, 187, 250));
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectReplace, TRUE, RGB(9, 8, 7))[1], RGB(9, 8, 7));
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectInvert, FALSE)[1], RGB(255, 255, 0));
}

TEST(DrawManager, TheMaskIsWhiteWhereTransparentAndBlackElsewhere)
{
    RedMaskedImage image;
    CDrawManager manager;
    EXPECT_EQ(Effect(manager, image.bitmap, CDrawManager::kEffectMask, TRUE, kWhite),
              (std::vector<COLORREF>{kWhite, kBlack, kBlack, kWhite}));
}

TEST(DrawManager, AMaskedBitmapLeavesTheBackgroundWhereTransparent)
{
    RedMaskedImage image;
    CDrawManager manager;
    CCanvas canvas(6, 6);
    canvas.Fill(RECT{0, 0, 6, 6}, RGB(0, 128, 0));
    manager.DrawBitmap(canvas.Dc(), 1, 1, 2, 2, image.bitmap, TRUE, kRed, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(2, 1), kBlue);
    EXPECT_EQ(canvas.At(1, 2), RGB(100, 150, 200));
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 128, 0));
}

TEST(DrawManager, TheAlphaFlagIsDecidedForEachImage)
{
    // A 32-bit section with an alpha byte in one pixel.
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -2;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP withAlpha = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(withAlpha, nullptr);
    static_cast<DWORD*>(bits)[0] = 0x80FF0000u;
    RedMaskedImage plain;
    CDrawManager manager;
    HBITMAP first = manager.CreateImageEffect(withAlpha, 2, 2, 0, FALSE, kRed, 0);
    EXPECT_TRUE(manager.HasAlpha());
    HBITMAP second = manager.CreateImageEffect(plain.bitmap, 2, 2, 0, FALSE, kRed, 0);
    EXPECT_FALSE(manager.HasAlpha());
    DeleteObject(first);
    DeleteObject(second);
    DeleteObject(withAlpha);
}

TEST(DrawManager, GradientsAreDrawnIn64Bands)
{
    CDrawManager manager;
    CCanvas wide(64, 4);
    manager.FillEffect(wide.Dc(), RECT{0, 0, 64, 4}, CDrawManager::kHGradient, kBlack, kWhite, 0, 0, 0);
    const auto runs = wide.RunsOfRow(1);
    EXPECT_EQ(runs.size(), 64u);
    EXPECT_EQ(runs.front(), kBlack);
    EXPECT_EQ(runs[32], RGB(127, 127, 127));
    EXPECT_EQ(runs.back(), RGB(251, 251, 251));

    CCanvas wider(128, 4);
    manager.FillEffect(wider.Dc(), RECT{0, 0, 128, 4}, CDrawManager::kHGradient, kBlack, kWhite, 0, 0, 0);
    EXPECT_EQ(wider.RunsOfRow(0).size(), 64u);
    EXPECT_EQ(wider.At(1, 0), kBlack);

    CCanvas tall(4, 64);
    manager.FillEffect(tall.Dc(), RECT{0, 0, 4, 64}, CDrawManager::kVGradient, kRed, kBlue, 0, 0, 0);
    EXPECT_EQ(tall.RunsOfColumn(2).size(), 64u);
    EXPECT_EQ(tall.RunsOfRow(10).size(), 1u);
}

TEST(DrawManager, CentredAndThreeColourGradientsMeetInTheMiddle)
{
    CDrawManager manager;
    CCanvas canvas(128, 2);
    manager.FillEffect(canvas.Dc(), RECT{0, 0, 128, 2}, CDrawManager::kHCGradient, kBlack, kWhite, 0, 0, 0);
    EXPECT_EQ(canvas.At(0, 0), kBlack);
    EXPECT_EQ(canvas.At(64, 0), kWhite);
    EXPECT_EQ(canvas.At(127, 0), RGB(3, 3, 3));
    manager.FillEffect(canvas.Dc(), RECT{0, 0, 128, 2}, CDrawManager::k3HGradient, kRed, kBlue, kWhite, 0, 0);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(64, 0), kWhite);
    manager.FillEffect(canvas.Dc(), RECT{0, 0, 128, 2}, 99, kBlue, 0, 0, 0, 0);
    EXPECT_EQ(canvas.RunsOfRow(1), std::vector<COLORREF>{kBlue});
}

TEST(DrawManager, PatternedFillsStayWithinTheirPaletteAndVary)
{
    CDrawManager manager;
    for (int type = CDrawManager::kNoise; type <= CDrawManager::kMetal; ++type) {
        CCanvas canvas(40, 30);
        manager.FillEffect(canvas.Dc(), RECT{5, 5, 35, 25}, type, RGB(200, 200, 200), RGB(100, 100, 100),
                           RGB(0, 0, 0), 10, 0);
        std::set<COLORREF> colours;
        for (int y = 5; y < 25; ++y) {
            for (int x = 5; x < 35; ++x) {
                const COLORREF c = canvas.At(x, y);
                // A palette of grays, so every pixel is gray.
                EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << type;
                colours.insert(c);
            }
        }
        EXPECT_GT(colours.size(), 3u) << type;
        EXPECT_EQ(canvas.At(4, 4), kWhite) << type;
        EXPECT_EQ(canvas.At(35, 25), kWhite) << type;
    }
}

TEST(DrawManager, AShadeRampRunsFromTheFirstColourDown)
{
    CDrawManager manager;
    CCanvas canvas(100, 100);
    manager.FillEffect(canvas.Dc(), RECT{0, 0, 100, 100}, CDrawManager::kHShade, kWhite, RGB(128, 128, 128), kBlack,
                       0, 0);
    // y counts up from the bottom: the top is the bright end.
    EXPECT_GT(GetRValue(canvas.At(50, 2)), 230);
    EXPECT_LT(GetRValue(canvas.At(50, 97)), 20);
}

TEST(DrawManager, LinesAndFrames)
{
    CDrawManager manager;
    CCanvas canvas(20, 20);
    manager.DrawLine(canvas.Dc(), 0, 5, 20, 5, kRed, CDrawManager::kPenSolid, 0);
    manager.DrawLine(canvas.Dc(), 0, 6, 20, 6, kRed, CDrawManager::kPenNone, 1);
    EXPECT_EQ(canvas.RunsOfRow(5), std::vector<COLORREF>{kWhite});
    EXPECT_EQ(canvas.RunsOfRow(6), std::vector<COLORREF>{kWhite});
    manager.DrawLine(canvas.Dc(), 0, 2, 20, 2, kRed, CDrawManager::kPenDouble, 1);
    EXPECT_EQ(canvas.At(10, 2), kRed);
    EXPECT_EQ(canvas.At(10, 4), kRed);
    EXPECT_EQ(canvas.At(10, 3), kWhite);

    CCanvas frame(10, 10);
    manager.DrawRectangle(frame.Dc(), RECT{0, 0, 10, 10}, kBlue, kRed, CDrawManager::kPenSolid, 1);
    EXPECT_EQ(frame.At(0, 5), kBlue);
    EXPECT_EQ(frame.At(5, 0), kBlue);
    EXPECT_EQ(frame.At(9, 5), kRed);
    EXPECT_EQ(frame.At(5, 9), kRed);
    EXPECT_EQ(frame.At(5, 5), kWhite);
}

TEST(DrawManager, BlendingMixesSourceAndDestination)
{
    CDrawManager manager;
    CCanvas source(4, 4);
    source.Fill(RECT{0, 0, 4, 4}, kBlack);
    CCanvas target(4, 4);
    manager.AlphaBitBlt(target.Dc(), RECT{0, 0, 4, 4}, source.Dc(), 0, 0, 50);
    EXPECT_EQ(target.At(1, 1), RGB(127, 127, 127));
    manager.AlphaBitBlt(target.Dc(), RECT{0, 0, 2, 2}, source.Dc(), 0, 0, 100);
    EXPECT_EQ(target.At(1, 1), kBlack);

    std::vector<double> factors(4, 0.5);
    CCanvas dark(4, 4);
    manager.DarkenByDepth(dark.Dc(), RECT{1, 1, 3, 3}, factors);
    EXPECT_EQ(dark.At(1, 1), RGB(127, 127, 127));
    EXPECT_EQ(dark.At(0, 0), kWhite);
    // Too few factors for the area: nothing happens.
    manager.DarkenByDepth(dark.Dc(), RECT{0, 0, 4, 4}, factors);
    EXPECT_EQ(dark.At(0, 0), kWhite);
}

TEST(DrawManager, AShadowDarkensUnderTheShapeOnly)
{
    CDrawManager manager;
    HBITMAP shape = BitmapOf(2, 2, {kBlack, kWhite, kWhite, kWhite});
    CCanvas canvas(6, 6);
    manager.DrawShadow(canvas.Dc(), 2, 2, 2, 2, shape, FALSE, 0, 0);
    EXPECT_EQ(canvas.At(2, 2), kBlack);
    EXPECT_EQ(canvas.At(3, 2), kWhite);
    DeleteObject(shape);
}

TEST(DrawManager, AnIconKeepsTheBackgroundWhereItIsTransparent)
{
    HICON icon = MakeMaskedIcon();
    ASSERT_NE(icon, nullptr);
    CDrawManager manager;
    CCanvas canvas(20, 10);
    canvas.Fill(RECT{0, 0, 20, 10}, RGB(0, 128, 0));
    manager.DrawIcon(canvas.Dc(), 0, 0, 4, 4, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 128, 0));
    // Gray, and stretched to twice the size.
    manager.DrawIcon(canvas.Dc(), 10, 0, 8, 8, icon, CDrawManager::kEffectGray, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(13, 7), RGB(76, 76, 76));
    EXPECT_EQ(canvas.At(15, 2), RGB(0, 128, 0));
    manager.DrawIcon(canvas.Dc(), 0, 0, 4, 4, nullptr, 0, FALSE, 0, 0, 0, 0, 0);
    DestroyIcon(icon);
}

TEST(DrawManager, ScaleIconStretchesThePictureAndItsMaskTogether)
{
    HICON icon = MakeMaskedIcon();  // 4 x 4: the left half red, the right half see-through
    ASSERT_NE(icon, nullptr);
    HICON scaled = CDrawManager::ScaleIcon(icon, 8, 12);
    ASSERT_NE(scaled, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(scaled, &info));
    BITMAP colour{};
    BITMAP mask{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(colour.bmWidth, 8);
    EXPECT_EQ(colour.bmHeight, 12);
    EXPECT_EQ(colour.bmBitsPixel, 32) << "the depth of the icon's own picture";
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(mask.bmHeight, 12);

    CCanvas canvas(8, 12);
    canvas.Fill(RECT{0, 0, 8, 12}, RGB(0, 128, 0));
    DrawIconEx(canvas.Dc(), 0, 0, scaled, 0, 0, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(canvas.At(x, y), x < 4 ? kRed : RGB(0, 128, 0)) << x << "," << y;

    EXPECT_EQ(CDrawManager::ScaleIcon(nullptr, 8, 8), nullptr);
    EXPECT_EQ(CDrawManager::ScaleIcon(icon, 0, 8), nullptr);
    DestroyIcon(scaled);
    DestroyIcon(icon);
}
