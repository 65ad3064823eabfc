#pragma once
// A RECT with the framework's members. Right and bottom are exclusive; a
// rectangle with no width or no height is empty. The set operations follow
// the system's rectangle functions (an empty result is all zeros).

#include "Platform/Framework/Geometry/Point.h"

class CRect : public RECT {
public:
    constexpr CRect() noexcept : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& rect) noexcept : RECT(rect) {}
    constexpr CRect(LPCRECT rect) noexcept : RECT(rect ? *rect : RECT{}) {}
    constexpr CRect(POINT topLeft, SIZE size) noexcept
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}
    {
    }
    constexpr CRect(POINT topLeft, POINT bottomRight) noexcept
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    constexpr CSize Size() const noexcept { return CSize(Width(), Height()); }
    // Copies: the corners are not aliases of the members.
    constexpr CPoint TopLeft() const noexcept { return CPoint(left, top); }
    constexpr CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    constexpr CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    constexpr BOOL IsRectEmpty() const noexcept { return Width() <= 0 || Height() <= 0; }
    constexpr BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr BOOL PtInRect(POINT point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    constexpr BOOL EqualRect(LPCRECT rect) const noexcept
    {
        return rect && left == rect->left && top == rect->top && right == rect->right && bottom == rect->bottom;
    }

    constexpr void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    constexpr void SetRect(POINT topLeft, POINT bottomRight) noexcept
    {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    constexpr void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    constexpr void CopyRect(LPCRECT source) noexcept
    {
        if (source)
            *static_cast<RECT*>(this) = *source;
    }

    // Grows each side outwards; negative amounts shrink.
    constexpr void InflateRect(int dx, int dy) noexcept { InflateRect(dx, dy, dx, dy); }
    constexpr void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    constexpr void InflateRect(LPCRECT sides) noexcept
    {
        if (sides)
            InflateRect(sides->left, sides->top, sides->right, sides->bottom);
    }
    constexpr void InflateRect(int l, int t, int r, int b) noexcept
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    constexpr void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    constexpr void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    constexpr void DeflateRect(LPCRECT sides) noexcept
    {
        if (sides)
            InflateRect(-sides->left, -sides->top, -sides->right, -sides->bottom);
    }
    constexpr void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }

    // Swaps sides so that left <= right and top <= bottom.
    void NormalizeRect() noexcept;

    constexpr void OffsetRect(int dx, int dy) noexcept
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr void OffsetRect(POINT delta) noexcept { OffsetRect(delta.x, delta.y); }
    constexpr void OffsetRect(SIZE delta) noexcept { OffsetRect(delta.cx, delta.cy); }
    constexpr void MoveToX(int x) noexcept { OffsetRect(x - left, 0); }
    constexpr void MoveToY(int y) noexcept { OffsetRect(0, y - top); }
    constexpr void MoveToXY(int x, int y) noexcept { OffsetRect(x - left, y - top); }
    constexpr void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }

    // FALSE and an all-zero rectangle when the result is empty.
    BOOL IntersectRect(LPCRECT a, LPCRECT b) noexcept;
    BOOL UnionRect(LPCRECT a, LPCRECT b) noexcept;
    BOOL SubtractRect(LPCRECT from, LPCRECT cut) noexcept;

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    constexpr bool operator==(const RECT& other) const noexcept { return EqualRect(&other); }
    constexpr bool operator!=(const RECT& other) const noexcept { return !EqualRect(&other); }
    constexpr CRect& operator+=(POINT delta) noexcept { OffsetRect(delta); return *this; }
    constexpr CRect& operator+=(SIZE delta) noexcept { OffsetRect(delta); return *this; }
    constexpr CRect& operator+=(LPCRECT sides) noexcept { InflateRect(sides); return *this; }
    constexpr CRect& operator-=(POINT delta) noexcept { OffsetRect(-delta.x, -delta.y); return *this; }
    constexpr CRect& operator-=(SIZE delta) noexcept { OffsetRect(-delta.cx, -delta.cy); return *this; }
    constexpr CRect& operator-=(LPCRECT sides) noexcept { DeflateRect(sides); return *this; }
    CRect& operator&=(const RECT& other) noexcept;
    CRect& operator|=(const RECT& other) noexcept;

    constexpr CRect operator+(POINT delta) const noexcept { CRect r(*this); r += delta; return r; }
    constexpr CRect operator+(SIZE delta) const noexcept { CRect r(*this); r += delta; return r; }
    constexpr CRect operator+(LPCRECT sides) const noexcept { CRect r(*this); r += sides; return r; }
    constexpr CRect operator-(POINT delta) const noexcept { CRect r(*this); r -= delta; return r; }
    constexpr CRect operator-(SIZE delta) const noexcept { CRect r(*this); r -= delta; return r; }
    constexpr CRect operator-(LPCRECT sides) const noexcept { CRect r(*this); r -= sides; return r; }
    CRect operator&(const RECT& other) const noexcept;
    CRect operator|(const RECT& other) const noexcept;
};
