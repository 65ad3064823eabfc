#include "Platform/Framework/Drawing/Rgn.h"

#include "Platform/Gdi/Region.h"

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CRgn* CRgn::FromHandle(HRGN handle)
{
    return WrapperFor<CRgn>(handle);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    return AttachNew(::CreateRectRgn(left, top, right, bottom));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect)
{
    return rect && AttachNew(::CreateRectRgnIndirect(rect));
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return AttachNew(::CreateEllipticRgn(left, top, right, bottom));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect)
{
    return rect && AttachNew(::CreateEllipticRgnIndirect(rect));
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    return AttachNew(::CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return points && count > 0 && AttachNew(::CreatePolygonRgn(points, count, fillMode));
}

int CRgn::CombineRgn(const CRgn* first, const CRgn* second, int mode)
{
    if (!first || (mode != RGN_COPY && !second))
        return ERROR;
    return ::CombineRgn(*this, *first, second ? static_cast<HRGN>(*second) : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return source ? ::CombineRgn(*this, *source, nullptr, RGN_COPY) : ERROR;
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    ::SetRectRgn(*this, left, top, right, bottom);
}

void CRgn::SetRectRgn(LPCRECT rect)
{
    if (rect)
        SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int CRgn::OffsetRgn(int dx, int dy)
{
    return ::OffsetRgn(*this, dx, dy);
}

int CRgn::OffsetRgn(POINT delta)
{
    return OffsetRgn(delta.x, delta.y);
}

int CRgn::GetRgnBox(LPRECT box) const
{
    return ::GetRgnBox(*this, box);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(*this, x, y);
}

BOOL CRgn::PtInRegion(POINT point) const
{
    return PtInRegion(point.x, point.y);
}

BOOL CRgn::RectInRegion(LPCRECT rect) const
{
    return rect && ::RectInRegion(*this, rect);
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return other && ::EqualRgn(*this, *other);
}
