#include "Platform/Framework/Drawing/Brush.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/SysColors.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(COLORREF color)
{
    if (!CreateSolidBrush(color))
        AfxThrowResourceException();
}

CBrush::CBrush(int hatchStyle, COLORREF color)
{
    if (!CreateHatchBrush(hatchStyle, color))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pattern)
{
    if (!CreatePatternBrush(pattern))
        AfxThrowResourceException();
}

CBrush* CBrush::FromHandle(HBRUSH handle)
{
    return WrapperFor<CBrush>(handle);
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return AttachNew(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatchStyle, COLORREF color)
{
    return AttachNew(::CreateHatchBrush(hatchStyle, color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pattern)
{
    return pattern && pattern->m_hObject && AttachNew(::CreatePatternBrush(static_cast<HBITMAP>(pattern->m_hObject)));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    return logBrush && AttachNew(::CreateBrushIndirect(logBrush));
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    return HoldSystemObject(::GetSysColorBrush(index));
}

int CBrush::GetLogBrush(LOGBRUSH* logBrush) const
{
    return GetObject(sizeof(LOGBRUSH), logBrush);
}
