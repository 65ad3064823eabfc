#include "Platform/Framework/Geometry/Rect.h"

#include <gtest/gtest.h>

TEST(Rect, SizesCornersAndEmptiness)
{
    const CRect rect(10, 20, 40, 60);
    EXPECT_EQ(rect.Width(), 30);
    EXPECT_EQ(rect.Height(), 40);
    EXPECT_EQ(rect.Size(), CSize(30, 40));
    EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(rect.BottomRight(), CPoint(40, 60));
    EXPECT_EQ(rect.CenterPoint(), CPoint(25, 40));
    EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1)) << "halves round toward zero";

    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rect.PtInRect(CPoint(40, 30))) << "the right edge is outside";
    EXPECT_FALSE(rect.PtInRect(CPoint(20, 60))) << "the bottom edge is outside";

    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    CRect flipped(40, 60, 10, 20);
    EXPECT_TRUE(flipped.IsRectEmpty()) << "a reversed rectangle is empty";
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, rect);
    EXPECT_FALSE(flipped.IsRectEmpty());
}

TEST(Rect, MovingGrowingAndShrinking)
{
    CRect rect(0, 0, 10, 10);
    rect.OffsetRect(5, -5);
    EXPECT_EQ(rect, CRect(5, -5, 15, 5));
    rect.MoveToXY(1, 2);
    EXPECT_EQ(rect, CRect(1, 2, 11, 12));
    rect.MoveToX(0);
    rect.MoveToY(0);
    EXPECT_EQ(rect, CRect(0, 0, 10, 10));
    rect.InflateRect(2, 3);
    EXPECT_EQ(rect, CRect(-2, -3, 12, 13));
    rect.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(rect, CRect(-1, -1, 9, 9));
    const RECT sides{1, 1, 1, 1};
    EXPECT_EQ(rect - &sides, CRect(0, 0, 8, 8));
    EXPECT_EQ(rect + &sides, CRect(-2, -2, 10, 10));
    EXPECT_EQ(rect + CPoint(1, 1), CRect(0, 0, 10, 10));
    EXPECT_EQ(rect - CSize(1, 1), CRect(-2, -2, 8, 8));
    rect.DeflateRect(20, 20);
    EXPECT_TRUE(rect.IsRectEmpty()) << "shrinking past nothing leaves an empty, reversed rectangle";

    CRect copy;
    copy.CopyRect(CRect(1, 2, 3, 4));
    EXPECT_TRUE(copy.EqualRect(CRect(1, 2, 3, 4)));
    EXPECT_FALSE(copy.EqualRect(nullptr));
    copy.SetRectEmpty();
    EXPECT_TRUE(copy.IsRectNull());
}

TEST(Rect, IntersectionUnionAndSubtraction)
{
    const CRect a(0, 0, 10, 10);
    const CRect b(5, 5, 15, 15);
    const CRect far(20, 20, 30, 30);
    EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
    EXPECT_EQ(a | b, CRect(0, 0, 15, 15));

    CRect result(1, 1, 2, 2);
    EXPECT_FALSE(result.IntersectRect(a, far));
    EXPECT_TRUE(result.IsRectNull()) << "disjoint rectangles intersect in all zeros";
    EXPECT_FALSE(result.IntersectRect(a, CRect(10, 0, 20, 10))) << "touching edges do not overlap";
    EXPECT_TRUE(result.UnionRect(a, CRect(50, 50, 50, 60)));
    EXPECT_EQ(result, a) << "an empty rectangle adds nothing to a union";
    EXPECT_FALSE(result.UnionRect(CRect(), CRect(3, 3, 3, 3)));

    EXPECT_TRUE(result.SubtractRect(a, CRect(5, -1, 11, 11)));
    EXPECT_EQ(result, CRect(0, 0, 5, 10)) << "a cut across the whole height";
    EXPECT_TRUE(result.SubtractRect(a, b));
    EXPECT_EQ(result, a) << "a corner cut leaves the rectangle whole";
    EXPECT_FALSE(result.SubtractRect(a, CRect(-1, -1, 11, 11)));
    EXPECT_TRUE(result.IsRectNull());

    CRect accumulated = a;
    accumulated &= far;
    EXPECT_TRUE(accumulated.IsRectNull());
    accumulated |= far;
    EXPECT_EQ(accumulated, far);
}

TEST(Rect, PointsAndSizesCombine)
{
    CPoint point(3, 4);
    point += CSize(1, 1);
    point -= CPoint(2, 2);
    EXPECT_EQ(point, CPoint(2, 3));
    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
    EXPECT_EQ(-point, CPoint(-2, -3));
    EXPECT_EQ(CSize(1, 2) + CPoint(3, 4), CPoint(4, 6));
    EXPECT_EQ(CPoint(static_cast<DWORD>(0xFFFF0002u)), CPoint(2, -1)) << "packed words are signed";
    EXPECT_EQ(CRect(CPoint(1, 1), CSize(2, 3)), CRect(1, 1, 3, 4));
    CRect rect(0, 0, 4, 4);
    LPRECT raw = rect;
    raw->right = 8;
    EXPECT_EQ(rect.Width(), 8) << "the pointer conversion is the object itself";
}
