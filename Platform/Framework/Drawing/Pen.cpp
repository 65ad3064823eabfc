#include "Platform/Framework/Drawing/Pen.h"

#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Gdi/Draw.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)

CPen::CPen(int style, int width, COLORREF color)
{
    if (!CreatePen(style, width, color))
        AfxThrowResourceException();
}

CPen* CPen::FromHandle(HPEN handle)
{
    return WrapperFor<CPen>(handle);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    return AttachNew(::CreatePen(style, width, color));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen)
{
    return logPen && AttachNew(::CreatePenIndirect(logPen));
}

int CPen::GetLogPen(LOGPEN* logPen) const
{
    return GetObject(sizeof(LOGPEN), logPen);
}
