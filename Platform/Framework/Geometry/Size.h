#pragma once
// A SIZE with the framework's arithmetic.

#include "Platform/Base/Types.h"

class CSize : public SIZE {
public:
    constexpr CSize() noexcept : SIZE{0, 0} {}
    constexpr CSize(int x, int y) noexcept : SIZE{x, y} {}
    constexpr CSize(SIZE size) noexcept : SIZE(size) {}
    constexpr explicit CSize(POINT point) noexcept : SIZE{point.x, point.y} {}
    // Low word: width, high word: height, both signed.
    constexpr explicit CSize(DWORD packed) noexcept
        : SIZE{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))}
    {
    }

    constexpr void SetSize(int x, int y) noexcept { cx = x; cy = y; }

    constexpr bool operator==(SIZE other) const noexcept { return cx == other.cx && cy == other.cy; }
    constexpr bool operator!=(SIZE other) const noexcept { return !(*this == other); }
    constexpr CSize& operator+=(SIZE other) noexcept { cx += other.cx; cy += other.cy; return *this; }
    constexpr CSize& operator-=(SIZE other) noexcept { cx -= other.cx; cy -= other.cy; return *this; }
    constexpr CSize operator+(SIZE other) const noexcept { return CSize(cx + other.cx, cy + other.cy); }
    constexpr CSize operator-(SIZE other) const noexcept { return CSize(cx - other.cx, cy - other.cy); }
    constexpr CSize operator-() const noexcept { return CSize(-cx, -cy); }
};
