#pragma once
// A POINT with the framework's arithmetic: points move by sizes, and the
// difference of two points is a size.

#include "Platform/Framework/Geometry/Size.h"

class CPoint : public POINT {
public:
    constexpr CPoint() noexcept : POINT{0, 0} {}
    constexpr CPoint(int x0, int y0) noexcept : POINT{x0, y0} {}
    constexpr CPoint(POINT point) noexcept : POINT(point) {}
    constexpr explicit CPoint(SIZE size) noexcept : POINT{size.cx, size.cy} {}
    // Low word: x, high word: y, both signed (as a mouse message packs them).
    constexpr explicit CPoint(DWORD packed) noexcept
        : POINT{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))}
    {
    }

    constexpr void SetPoint(int x0, int y0) noexcept { x = x0; y = y0; }
    constexpr void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    constexpr void Offset(POINT delta) noexcept { Offset(delta.x, delta.y); }
    constexpr void Offset(SIZE delta) noexcept { Offset(delta.cx, delta.cy); }

    constexpr bool operator==(POINT other) const noexcept { return x == other.x && y == other.y; }
    // Exact for two points: with only the POINT form, C++20 finds the swapped
    // comparison just as good.
    constexpr bool operator==(const CPoint& other) const noexcept { return *this == static_cast<const POINT&>(other); }
    constexpr bool operator!=(POINT other) const noexcept { return !(*this == other); }
    constexpr CPoint& operator+=(SIZE delta) noexcept { Offset(delta); return *this; }
    constexpr CPoint& operator-=(SIZE delta) noexcept { Offset(-delta.cx, -delta.cy); return *this; }
    constexpr CPoint& operator+=(POINT delta) noexcept { Offset(delta); return *this; }
    constexpr CPoint& operator-=(POINT delta) noexcept { Offset(-delta.x, -delta.y); return *this; }
    constexpr CPoint operator+(SIZE delta) const noexcept { return CPoint(x + delta.cx, y + delta.cy); }
    constexpr CPoint operator-(SIZE delta) const noexcept { return CPoint(x - delta.cx, y - delta.cy); }
    constexpr CPoint operator+(POINT delta) const noexcept { return CPoint(x + delta.x, y + delta.y); }
    constexpr CSize operator-(POINT other) const noexcept { return CSize(x - other.x, y - other.y); }
    constexpr CPoint operator-() const noexcept { return CPoint(-x, -y); }
};

constexpr CPoint operator+(const CSize& size, POINT point) noexcept
{
    return CPoint(size.cx + point.x, size.cy + point.y);
}
