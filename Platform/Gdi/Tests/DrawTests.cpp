#include "GdiTestSupport.h"

#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/SysColors.h"

#include <gtest/gtest.h>

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

TEST(FigureTest, RectangleCoversLeftTopButNotRightBottom)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(s.dc(), red);
    Rectangle(s.dc(), 2, 2, 10, 8);
    EXPECT_EQ(s.Raw(2, 2), kBlack);
    EXPECT_EQ(s.Raw(9, 7), kBlack);
    EXPECT_EQ(s.Raw(10, 7), kWhite);
    EXPECT_EQ(s.Raw(9, 8), kWhite);
    EXPECT_EQ(s.Raw(3, 3), kRed);
    EXPECT_EQ(s.Count(kRed, 0, 0, 20, 20), 6 * 4);
    EXPECT_EQ(s.Count(kBlack, 0, 0, 20, 20), 8 * 6 - 6 * 4);
}

TEST(FigureTest, RectangleWithoutPenIsOnePixelSmaller)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(s.dc(), red);
    SelectObject(s.dc(), GetStockObject(NULL_PEN));
    Rectangle(s.dc(), 0, 0, 10, 10);
    EXPECT_EQ(s.Count(kRed, 0, 0, 20, 20), 81);
}

TEST(FigureTest, WidePenDrawsInsideTheBox)
{
    TestSurface s;
    Owned<HPEN> pen(CreatePen(PS_INSIDEFRAME, 3, RGB(0, 0, 255)));
    SelectObject(s.dc(), pen);
    SelectObject(s.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(s.dc(), 0, 0, 10, 10);
    EXPECT_EQ(s.Raw(2, 5), kBlue);
    EXPECT_EQ(s.Raw(3, 5), kWhite);
    EXPECT_EQ(s.Raw(10, 5), kWhite);
    EXPECT_EQ(s.Count(kBlue, 0, 0, 20, 20), 100 - 16);
}

TEST(FigureTest, EllipseFillsItsCentreNotItsCorners)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(s.dc(), red);
    Ellipse(s.dc(), 0, 0, 40, 20);
    EXPECT_EQ(s.Raw(20, 10), kRed);
    EXPECT_EQ(s.Raw(0, 0), kWhite);
    EXPECT_EQ(s.Raw(39, 19), kWhite);
    EXPECT_EQ(s.Raw(20, 0), kBlack);  // outline at the top centre
    EXPECT_EQ(s.Count(kRed, 40, 0, 64, 64), 0);
}

TEST(FigureTest, RoundRectAndPolygon)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(s.dc(), red);
    RoundRect(s.dc(), 0, 0, 30, 30, 10, 10);
    EXPECT_EQ(s.Raw(0, 0), kWhite);
    EXPECT_EQ(s.Raw(15, 15), kRed);
    EXPECT_EQ(s.Raw(15, 0), kBlack);
    s.Clear(kWhite);
    const POINT triangle[] = {{40, 10}, {60, 10}, {50, 30}};
    EXPECT_TRUE(Polygon(s.dc(), triangle, 3));
    EXPECT_EQ(s.Raw(50, 15), kRed);
    EXPECT_EQ(s.Raw(41, 28), kWhite);
    EXPECT_EQ(s.Raw(45, 10), kBlack);
    EXPECT_FALSE(Polygon(s.dc(), triangle, 1));
    EXPECT_FALSE(Polygon(s.dc(), nullptr, 3));
}

TEST(LineTest, LineToExcludesItsEndPoint)
{
    TestSurface s;
    MoveToEx(s.dc(), 2, 5, nullptr);
    LineTo(s.dc(), 12, 5);
    EXPECT_EQ(s.Count(kBlack, 0, 0, 64, 64), 10);
    EXPECT_EQ(s.Raw(2, 5), kBlack);
    EXPECT_EQ(s.Raw(12, 5), kWhite);
    POINT pos{};
    GetCurrentPositionEx(s.dc(), &pos);
    EXPECT_EQ(pos.x, 12);
    // Diagonal: one pixel per step.
    s.Clear(kWhite);
    MoveToEx(s.dc(), 0, 0, nullptr);
    LineTo(s.dc(), 10, 10);
    EXPECT_EQ(s.Count(kBlack, 0, 0, 64, 64), 10);
    EXPECT_EQ(s.Raw(9, 9), kBlack);
}

TEST(LineTest, DashesLeaveGapsFilledOnlyWhenOpaque)
{
    TestSurface s;
    Owned<HPEN> dash(CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
    SelectObject(s.dc(), dash);
    SetBkMode(s.dc(), TRANSPARENT);
    MoveToEx(s.dc(), 0, 1, nullptr);
    LineTo(s.dc(), 48, 1);
    EXPECT_EQ(s.Count(kBlack, 0, 1, 48, 2), 36);
    EXPECT_EQ(s.Count(kWhite, 0, 1, 48, 2), 12);
    SetBkMode(s.dc(), OPAQUE);
    SetBkColor(s.dc(), RGB(255, 0, 0));
    MoveToEx(s.dc(), 0, 3, nullptr);
    LineTo(s.dc(), 48, 3);
    EXPECT_EQ(s.Count(kBlack, 0, 3, 48, 4), 36);
    EXPECT_EQ(s.Count(kRed, 0, 3, 48, 4), 12);
}

TEST(LineTest, XorPenTwiceRestoresThePicture)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT half{0, 0, 32, 64};
    FillRect(s.dc(), &half, red);
    Owned<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    SelectObject(s.dc(), pen);
    SetROP2(s.dc(), R2_XORPEN);
    MoveToEx(s.dc(), 0, 10, nullptr);
    LineTo(s.dc(), 64, 10);
    EXPECT_EQ(s.Raw(5, 10), 0xFFFF00u);
    EXPECT_EQ(s.Raw(40, 10), 0xFF00FFu);
    MoveToEx(s.dc(), 0, 10, nullptr);
    LineTo(s.dc(), 64, 10);
    EXPECT_EQ(s.Raw(5, 10), kRed);
    EXPECT_EQ(s.Raw(40, 10), kWhite);
}

TEST(LineTest, WidePenLines)
{
    TestSurface s;
    Owned<HPEN> pen(CreatePen(PS_SOLID, 5, RGB(0, 0, 255)));
    SelectObject(s.dc(), pen);
    MoveToEx(s.dc(), 10, 20, nullptr);
    LineTo(s.dc(), 50, 20);
    EXPECT_EQ(s.Raw(30, 18), kBlue);
    EXPECT_EQ(s.Raw(30, 22), kBlue);
    EXPECT_EQ(s.Raw(30, 24), kWhite);
    EXPECT_EQ(s.Raw(30, 16), kWhite);
}

TEST(BrushTest, HatchBackgroundFollowsTheBackgroundMode)
{
    TestSurface s;
    Owned<HBRUSH> hatch(CreateHatchBrush(HS_CROSS, RGB(0, 0, 255)));
    SetBkColor(s.dc(), RGB(255, 0, 0));
    SetBkMode(s.dc(), TRANSPARENT);
    const RECT a{0, 0, 16, 16};
    FillRect(s.dc(), &a, hatch);
    EXPECT_EQ(s.Count(kRed, 0, 0, 16, 16), 0);
    EXPECT_EQ(s.Count(kBlue, 0, 0, 16, 16), 2 * (8 + 7) * 2);
    SetBkMode(s.dc(), OPAQUE);
    const RECT b{16, 0, 32, 16};
    FillRect(s.dc(), &b, hatch);
    EXPECT_EQ(s.Count(kWhite, 16, 0, 32, 16), 0);
    EXPECT_EQ(s.Count(kBlue, 16, 0, 32, 16), 60);
}

TEST(BrushTest, SystemColourIndexPlusOneWorksAsBrush)
{
    TestSurface s;
    const RECT r{0, 0, 4, 4};
    FillRect(s.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(GetPixel(s.dc(), 1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSysColorBrush(99), nullptr);
    EXPECT_EQ(GetSysColor(-1), 0u);
    LOGBRUSH log{};
    ASSERT_EQ(GetObject(GetSysColorBrush(COLOR_HIGHLIGHT), sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lbColor, GetSysColor(COLOR_HIGHLIGHT));
}

TEST(BrushTest, DCBrushUsesTheContextColour)
{
    TestSurface s;
    SetDCBrushColor(s.dc(), RGB(255, 0, 0));
    const RECT r{0, 0, 4, 4};
    FillRect(s.dc(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(s.Raw(0, 0), kRed);
}

TEST(RasterTest, PatBltOperations)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(s.dc(), red);
    PatBlt(s.dc(), 0, 0, 10, 10, PATCOPY);
    EXPECT_EQ(s.Raw(5, 5), kRed);
    PatBlt(s.dc(), 0, 0, 10, 10, PATINVERT);  // red ^ red
    EXPECT_EQ(s.Raw(5, 5), kBlack);
    PatBlt(s.dc(), 0, 0, 5, 10, DSTINVERT);
    EXPECT_EQ(s.Raw(2, 5), kWhite);
    PatBlt(s.dc(), 0, 0, 5, 10, BLACKNESS);
    EXPECT_EQ(s.Raw(2, 5), kBlack);
    PatBlt(s.dc(), 0, 0, 5, 10, WHITENESS);
    EXPECT_EQ(s.Raw(2, 5), kWhite);
    const RECT r{20, 20, 30, 30};
    InvertRect(s.dc(), &r);
    EXPECT_EQ(s.Raw(25, 25), kBlack);
    InvertRect(s.dc(), &r);
    EXPECT_EQ(s.Raw(25, 25), kWhite);
}

TEST(RasterTest, FrameRectAndPixels)
{
    TestSurface s;
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{1, 1, 6, 6};
    FrameRect(s.dc(), &r, red);
    EXPECT_EQ(s.Count(kRed, 0, 0, 10, 10), 16);
    EXPECT_EQ(s.Raw(3, 3), kWhite);
    EXPECT_EQ(SetPixel(s.dc(), 3, 3, RGB(0, 0, 255)), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(s.dc(), 3, 3), RGB(0, 0, 255));
    EXPECT_EQ(SetPixel(s.dc(), -1, 3, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc(), 64, 0), CLR_INVALID);
}

TEST(PenTest, GetObjectDescribesPens)
{
    Owned<HPEN> pen(CreatePen(PS_DOT, 1, RGB(1, 2, 3)));
    LOGPEN log{};
    EXPECT_EQ(GetObject(pen, sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lopnStyle, static_cast<UINT>(PS_DOT));
    EXPECT_EQ(log.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObject(pen, 2, &log), 0);
    EXPECT_EQ(GetObject(pen, 0, nullptr), static_cast<int>(sizeof log));
    EXPECT_EQ(CreatePen(9, 1, 0), nullptr);
}
