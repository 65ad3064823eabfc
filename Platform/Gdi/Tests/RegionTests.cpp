#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BandRegion.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Region.h"

#include <gtest/gtest.h>

using ZELL::Gdi::BandRegion;

namespace {

struct Rgn {
    HRGN h;
    explicit Rgn(HRGN r) : h(r) {}
    ~Rgn() { DeleteObject(h); }
    operator HRGN() const { return h; }
};

int CountPixels(HRGN region, const RECT& area)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += PtInRegion(region, x, y) ? 1 : 0;
    return n;
}

}  // namespace

TEST(BandRegionTest, CombineOperationsMatchPointwiseLogic)
{
    const BandRegion a(RECT{0, 0, 10, 10});
    const BandRegion b(RECT{5, 5, 15, 15});
    struct Case {
        BandRegion::Op op;
        bool (*expect)(bool, bool);
    } cases[] = {
        {BandRegion::Op::And, [](bool x, bool y) { return x && y; }},
        {BandRegion::Op::Or, [](bool x, bool y) { return x || y; }},
        {BandRegion::Op::Xor, [](bool x, bool y) { return x != y; }},
        {BandRegion::Op::Diff, [](bool x, bool y) { return x && !y; }},
    };
    for (const Case& c : cases) {
        const BandRegion r = BandRegion::Combine(a, b, c.op);
        for (int y = -1; y < 16; ++y)
            for (int x = -1; x < 16; ++x)
                ASSERT_EQ(r.Contains(x, y), c.expect(a.Contains(x, y), b.Contains(x, y)))
                    << "op " << static_cast<int>(c.op) << " at " << x << "," << y;
    }
}

TEST(BandRegionTest, EqualSetsHaveEqualRepresentation)
{
    // Built in different orders, split differently: same pixels, same bands.
    const BandRegion one = BandRegion::FromRects({{0, 0, 10, 5}, {0, 5, 10, 10}});
    const BandRegion two = BandRegion::FromRects({{0, 0, 5, 10}, {5, 0, 10, 10}});
    EXPECT_EQ(one, two);
    EXPECT_TRUE(one.IsRectangle());
    const BandRegion hole =
        BandRegion::Combine(BandRegion(RECT{0, 0, 10, 10}), BandRegion(RECT{3, 3, 6, 6}), BandRegion::Op::Diff);
    EXPECT_EQ(hole.Kind(), COMPLEXREGION);
    EXPECT_EQ(BandRegion::Combine(hole, BandRegion(RECT{3, 3, 6, 6}), BandRegion::Op::Or), BandRegion(RECT{0, 0, 10, 10}));
}

TEST(RegionTest, CombineRgnKindsAndBox)
{
    Rgn a(CreateRectRgn(0, 0, 10, 10));
    Rgn b(CreateRectRgn(20, 0, 30, 10));
    Rgn dest(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_OR), COMPLEXREGION);
    RECT box{};
    EXPECT_EQ(GetRgnBox(dest, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 30);
    EXPECT_FALSE(PtInRegion(dest, 15, 5));
    EXPECT_EQ(CombineRgn(dest, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(OffsetRgn(dest, 5, 5), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(dest, 14, 14));
    EXPECT_FALSE(PtInRegion(dest, 15, 15));
    const RECT touching{15, 15, 20, 20};
    EXPECT_FALSE(RectInRegion(dest, &touching));
}

TEST(RegionTest, CombiningIntoASourceIsSafe)
{
    Rgn a(CreateRectRgn(0, 0, 10, 10));
    Rgn b(CreateRectRgn(5, 0, 15, 10));
    EXPECT_EQ(CombineRgn(a, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 2, 2));
    EXPECT_FALSE(PtInRegion(a, 7, 2));
    EXPECT_TRUE(PtInRegion(a, 12, 2));
}

TEST(RegionTest, EllipseAndRoundRectAreSymmetricAndInsideTheirBox)
{
    Rgn ellipse(CreateEllipticRgn(0, 0, 20, 10));
    RECT box{};
    GetRgnBox(ellipse, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, 20);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, 10);
    EXPECT_TRUE(PtInRegion(ellipse, 10, 5));
    EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(PtInRegion(ellipse, x, y), PtInRegion(ellipse, 19 - x, 9 - y)) << x << "," << y;

    Rgn round(CreateRoundRectRgn(0, 0, 20, 20, 8, 8));
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_TRUE(PtInRegion(round, 10, 0));
    EXPECT_TRUE(PtInRegion(round, 0, 10));
    // A full circle covers about pi/4 of its box.
    Rgn circle(CreateEllipticRgn(0, 0, 100, 100));
    const int area = CountPixels(circle, {0, 0, 100, 100});
    EXPECT_NEAR(area, 7854, 150);
}

TEST(RegionTest, PolygonFillModesDiffer)
{
    // A pentagram: its centre is outside with even-odd, inside with winding.
    const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    Rgn alternate(CreatePolygonRgn(star, 5, ALTERNATE));
    Rgn winding(CreatePolygonRgn(star, 5, WINDING));
    EXPECT_FALSE(PtInRegion(alternate, 50, 50));
    EXPECT_TRUE(PtInRegion(winding, 50, 50));
    EXPECT_TRUE(PtInRegion(alternate, 50, 10));
    EXPECT_EQ(CreatePolygonRgn(star, 5, 7), nullptr);
}

TEST(RegionTest, TouchingRectanglesMergeSoEqualRegionsCompareEqual)
{
    Rgn whole(CreateRectRgn(0, 0, 20, 10));
    Rgn left(CreateRectRgn(0, 0, 10, 10));
    Rgn right(CreateRectRgn(10, 0, 20, 10));
    Rgn sideBySide(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(sideBySide, left, right, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(sideBySide, whole));
    Rgn top(CreateRectRgn(0, 0, 20, 4));
    Rgn bottom(CreateRectRgn(0, 4, 20, 10));
    Rgn stacked(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(stacked, top, bottom, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(stacked, whole));
    // An outline that runs down the middle twice gives every row two touching spans.
    const POINT twoSquares[] = {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 0}, {10, 10}, {0, 10}};
    for (int mode : {ALTERNATE, WINDING}) {
        Rgn polygon(CreatePolygonRgn(twoSquares, 7, mode));
        EXPECT_TRUE(EqualRgn(polygon, whole)) << mode;
        RECT box{};
        EXPECT_EQ(GetRgnBox(polygon, &box), SIMPLEREGION) << mode;
    }
    Rgn taller(CreateRectRgn(0, 0, 20, 11));
    EXPECT_FALSE(EqualRgn(taller, whole));
}

TEST(RegionTest, InvalidHandlesFailCleanly)
{
    Rgn a(CreateRectRgn(0, 0, 10, 10));
    const HRGN stale = CreateRectRgn(0, 0, 1, 1);
    ASSERT_TRUE(DeleteObject(stale));
    SetLastError(0);
    EXPECT_EQ(CombineRgn(a, stale, a, RGN_OR), ERROR);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(OffsetRgn(stale, 1, 1), ERROR);
    EXPECT_FALSE(PtInRegion(stale, 0, 0));
    SetLastError(0);
    EXPECT_EQ(CombineRgn(a, a, a, 99), ERROR);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    RECT box{};
    EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION) << "an unknown mode leaves the target as it was";
    EXPECT_EQ(box.right, 10);
    SetLastError(0);
    EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(0);
    EXPECT_EQ(CreateEllipticRgnIndirect(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(DeleteObject(stale));
    // A pen handle is not a region.
    EXPECT_EQ(OffsetRgn(static_cast<HRGN>(GetStockObject(BLACK_PEN)), 1, 1), ERROR);
}
