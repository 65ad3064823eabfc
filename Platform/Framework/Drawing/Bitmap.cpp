#include "Platform/Framework/Drawing/Bitmap.h"

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Gdi/BitmapApi.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap* CBitmap::FromHandle(HBITMAP handle)
{
    return WrapperFor<CBitmap>(handle);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return AttachNew(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap)
{
    return bitmap && AttachNew(::CreateBitmapIndirect(bitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc && AttachNew(::CreateCompatibleBitmap(dc->GetSafeHdc(), width, height));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const
{
    return GetObject(sizeof(BITMAP), bitmap);
}
