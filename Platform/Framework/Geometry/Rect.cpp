#include "Platform/Framework/Geometry/Rect.h"

#include "Platform/Ui/WinUser.h"

#include <utility>

void CRect::NormalizeRect() noexcept
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) noexcept
{
    const RECT first = a ? *a : RECT{};
    const RECT second = b ? *b : RECT{};
    return ::IntersectRect(this, &first, &second);
}

BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) noexcept
{
    const RECT first = a ? *a : RECT{};
    const RECT second = b ? *b : RECT{};
    return ::UnionRect(this, &first, &second);
}

BOOL CRect::SubtractRect(LPCRECT from, LPCRECT cut) noexcept
{
    const RECT first = from ? *from : RECT{};
    const RECT second = cut ? *cut : RECT{};
    return ::SubtractRect(this, &first, &second);
}

CRect& CRect::operator&=(const RECT& other) noexcept
{
    IntersectRect(this, &other);
    return *this;
}

CRect& CRect::operator|=(const RECT& other) noexcept
{
    UnionRect(this, &other);
    return *this;
}

CRect CRect::operator&(const RECT& other) const noexcept
{
    CRect result;
    result.IntersectRect(this, &other);
    return result;
}

CRect CRect::operator|(const RECT& other) const noexcept
{
    CRect result;
    result.UnionRect(this, &other);
    return result;
}
