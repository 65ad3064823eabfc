#include "GdiTestSupport.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Region.h"

#include <gtest/gtest.h>

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;  // as stored: 0x00RRGGBB

TEST(SurfaceDCTest, OriginAndSystemClipPlaceTheDrawing)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 40);
    HDC dc = CreateSurfaceDC(surface, {10, 5}, {10, 5, 20, 15});
    ASSERT_NE(dc, nullptr);
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, red);
    cairo_surface_flush(surface);
    auto pixel = [&](int x, int y) {
        const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(10, 5), kRed);
    EXPECT_EQ(pixel(19, 14), kRed);
    EXPECT_NE(pixel(20, 14), kRed);
    EXPECT_NE(pixel(9, 5), kRed);
    EXPECT_NE(pixel(10, 4), kRed);
    // Logical (0,0) is surface (10,5).
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);  // outside the clip
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 10);
    ReleaseSurfaceDC(dc);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    cairo_surface_destroy(surface);
}

TEST(SurfaceDCTest, RefusesSurfacesItCannotDrawOn)
{
    EXPECT_EQ(CreateSurfaceDC(nullptr, {}, {}), nullptr);
    cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4);
    EXPECT_EQ(CreateSurfaceDC(a8, {}, {0, 0, 4, 4}), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    cairo_surface_destroy(a8);
}

TEST(SurfaceDCTest, ArgbSurfacesStayOpaque)
{
    TestSurface s(8, 8, CAIRO_FORMAT_ARGB32);
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{0, 0, 4, 4};
    FillRect(s.dc(), &r, red);
    cairo_surface_flush(s.surface());
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s.surface()));
    EXPECT_EQ(data[0], 0xFFFF0000u);
}

TEST(DeviceContextTest, SelectObjectReturnsThePreviousObject)
{
    TestSurface s;
    Owned<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    const HGDIOBJ old = SelectObject(s.dc(), pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_PEN), static_cast<HGDIOBJ>(pen));
    EXPECT_EQ(SelectObject(s.dc(), old), static_cast<HGDIOBJ>(pen));
    // Bitmaps go only into memory contexts.
    EXPECT_EQ(SelectObject(s.dc(), GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
}

TEST(DeviceContextTest, DeletingASelectedObjectLeavesTheContextUsable)
{
    TestSurface s;
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(s.dc(), brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_TRUE(Rectangle(s.dc(), 0, 0, 10, 10));  // still paints with it
    EXPECT_EQ(s.Raw(5, 5), kRed);
    EXPECT_FALSE(DeleteObject(brush));
}

TEST(DeviceContextTest, StockObjectsSurviveDeleteObject)
{
    const HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
}

TEST(DeviceContextTest, InvalidHandlesFailCleanly)
{
    TestSurface s;
    HDC memory = CreateCompatibleDC(s.dc());
    ASSERT_TRUE(DeleteDC(memory));
    SetLastError(0);
    EXPECT_EQ(SetBkColor(memory, 0), CLR_INVALID);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SelectObject(memory, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(Rectangle(memory, 0, 0, 1, 1));
    EXPECT_EQ(SaveDC(memory), 0);
    EXPECT_FALSE(DeleteDC(memory));
    EXPECT_EQ(SelectObject(s.dc(), reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x1234})), nullptr);
    // A context handle is not a drawing object and the other way round.
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(s.dc())));
    EXPECT_EQ(SetBkMode(reinterpret_cast<HDC>(GetStockObject(BLACK_PEN)), OPAQUE), 0);
    EXPECT_EQ(SetBkMode(s.dc(), 7), 0);
    EXPECT_EQ(GetBkMode(s.dc()), OPAQUE);
}

TEST(DeviceContextTest, SaveAndRestoreBringBackStateAndClip)
{
    TestSurface s;
    SetTextColor(s.dc(), RGB(1, 1, 1));
    const int first = SaveDC(s.dc());
    SetTextColor(s.dc(), RGB(2, 2, 2));
    IntersectClipRect(s.dc(), 0, 0, 5, 5);
    SetMapMode(s.dc(), MM_LOMETRIC);
    const int second = SaveDC(s.dc());
    EXPECT_EQ(second, first + 1);
    SetTextColor(s.dc(), RGB(3, 3, 3));
    EXPECT_TRUE(RestoreDC(s.dc(), -1));
    EXPECT_EQ(GetTextColor(s.dc()), RGB(2, 2, 2));
    EXPECT_EQ(GetMapMode(s.dc()), MM_LOMETRIC);
    EXPECT_TRUE(RestoreDC(s.dc(), first));
    EXPECT_EQ(GetTextColor(s.dc()), RGB(1, 1, 1));
    EXPECT_EQ(GetMapMode(s.dc()), MM_TEXT);
    RECT box{};
    GetClipBox(s.dc(), &box);
    EXPECT_EQ(box.right, 64);
    EXPECT_FALSE(RestoreDC(s.dc(), first));  // already gone
    EXPECT_FALSE(RestoreDC(s.dc(), 0));
}

TEST(MapModeTest, AnisotropicRoundTrips)
{
    TestSurface s;
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 1000, 500, nullptr);
    SetViewportExtEx(s.dc(), 300, -200, nullptr);
    SetWindowOrgEx(s.dc(), -40, 0, nullptr);
    SetViewportOrgEx(s.dc(), 5, 100, nullptr);
    OffsetViewportOrgEx(s.dc(), 1, 1, nullptr);
    POINT p[] = {{0, 0}, {1000, 500}, {-40, 0}};
    ASSERT_TRUE(LPtoDP(s.dc(), p, 3));
    EXPECT_EQ(p[0].x, 6 + 12);
    EXPECT_EQ(p[0].y, 101);
    EXPECT_EQ(p[1].x, 6 + 312);
    EXPECT_EQ(p[1].y, 101 - 200);
    EXPECT_EQ(p[2].x, 6);
    ASSERT_TRUE(DPtoLP(s.dc(), p, 3));
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_EQ(p[1].x, 1000);
    EXPECT_EQ(p[1].y, 500);
    SIZE ext{};
    GetViewportExtEx(s.dc(), &ext);
    EXPECT_EQ(ext.cy, -200);
    EXPECT_FALSE(SetWindowExtEx(s.dc(), 0, 5, nullptr));
    EXPECT_FALSE(LPtoDP(s.dc(), nullptr, 1));
}

TEST(MapModeTest, MetricModesGrowUpwardsAtTheDeviceResolution)
{
    TestSurface s;
    SetMapMode(s.dc(), MM_LOMETRIC);
    POINT p{254, -254};  // one inch right, one inch down
    LPtoDP(s.dc(), &p, 1);
    EXPECT_EQ(p.x, 96);
    EXPECT_EQ(p.y, 96);
    // Fixed modes ignore extents but report them.
    EXPECT_TRUE(SetWindowExtEx(s.dc(), 5, 5, nullptr));
    SIZE ext{};
    GetWindowExtEx(s.dc(), &ext);
    EXPECT_EQ(ext.cx, 254);
    SetMapMode(s.dc(), MM_HIMETRIC);
    POINT q{2540, 0};
    LPtoDP(s.dc(), &q, 1);
    EXPECT_EQ(q.x, 96);
}

TEST(MapModeTest, IsotropicKeepsTheAspectRatio)
{
    TestSurface s;
    SetMapMode(s.dc(), MM_ISOTROPIC);
    SetWindowExtEx(s.dc(), 100, 100, nullptr);
    SetViewportExtEx(s.dc(), 400, 200, nullptr);
    SIZE ext{};
    GetViewportExtEx(s.dc(), &ext);
    EXPECT_EQ(ext.cx, 200);
    EXPECT_EQ(ext.cy, 200);
}

TEST(MapModeTest, DrawingFollowsTheMapping)
{
    TestSurface s;
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 10, 10, nullptr);
    SetViewportExtEx(s.dc(), 20, 20, nullptr);
    Owned<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT r{1, 1, 3, 3};
    FillRect(s.dc(), &r, red);
    EXPECT_EQ(s.Count(kRed, 0, 0, 64, 64), 16);
    EXPECT_EQ(s.Raw(2, 2), kRed);
    EXPECT_EQ(s.Raw(5, 5), kRed);
    EXPECT_EQ(s.Raw(6, 6), kWhite);
    EXPECT_EQ(GetPixel(s.dc(), 1, 1), RGB(255, 0, 0));
}

TEST(ClipTest, CombinedRegionsClipFills)
{
    TestSurface s;
    Owned<HRGN> a(CreateRectRgn(0, 0, 20, 20));
    Owned<HRGN> b(CreateRectRgn(10, 10, 30, 30));
    SelectClipRgn(s.dc(), a);
    EXPECT_EQ(ExtSelectClipRgn(s.dc(), b, RGN_XOR), COMPLEXREGION);
    ExcludeClipRect(s.dc(), 0, 0, 2, 2);
    Owned<HBRUSH> black(CreateSolidBrush(0));
    const RECT all{0, 0, 64, 64};
    FillRect(s.dc(), &all, black);
    EXPECT_EQ(s.Raw(5, 5), kBlack);
    EXPECT_EQ(s.Raw(1, 1), kWhite);    // excluded
    EXPECT_EQ(s.Raw(15, 15), kWhite);  // in both: xor drops it
    EXPECT_EQ(s.Raw(25, 25), kBlack);
    EXPECT_EQ(s.Raw(35, 35), kWhite);
    EXPECT_EQ(s.Count(kBlack, 0, 0, 64, 64), 400 + 400 - 2 * 100 - 4);
    // The selected region was copied: changing it later changes nothing.
    OffsetRgn(a, 40, 40);
    EXPECT_FALSE(PtVisible(s.dc(), 45, 45));
    EXPECT_EQ(SelectClipRgn(s.dc(), nullptr), SIMPLEREGION);
    EXPECT_TRUE(PtVisible(s.dc(), 45, 45));
    EXPECT_EQ(ExtSelectClipRgn(s.dc(), nullptr, RGN_AND), ERROR);
}

TEST(ClipTest, ClipRegionIsInDeviceUnits)
{
    TestSurface s;
    SetViewportOrgEx(s.dc(), 10, 10, nullptr);
    Owned<HRGN> r(CreateRectRgn(0, 0, 10, 10));
    SelectClipRgn(s.dc(), r);
    RECT box{};
    GetClipBox(s.dc(), &box);  // logical
    EXPECT_EQ(box.left, -10);
    EXPECT_EQ(box.right, 0);
    Owned<HRGN> copy(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(s.dc(), copy), 1);
    EXPECT_TRUE(PtInRegion(copy, 9, 9));
}

TEST(DeviceCapsTest, ReportsTheSurface)
{
    TestSurface s(50, 30);
    EXPECT_EQ(GetDeviceCaps(s.dc(), HORZRES), 50);
    EXPECT_EQ(GetDeviceCaps(s.dc(), VERTRES), 30);
    EXPECT_EQ(GetDeviceCaps(s.dc(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(s.dc(), LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(s.dc(), BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(s.dc(), NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(s.dc(), PHYSICALWIDTH), 0);
    EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
}
