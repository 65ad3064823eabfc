#include "Platform/Gdi/ObjectContents.h"

#include "Platform/Gdi/GdiObjectTable.h"

namespace ZELL::Gdi {

std::vector<RECT> RegionRects(HRGN region)
{
    auto object = GdiHandleTable::FindAs<RegionObject>(region, ObjectKind::Region);
    if (!object)
        return {};
    return object->region.Rects();
}

std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, SIZE& size)
{
    auto object = GdiHandleTable::FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
    if (!object || object->pixels == nullptr || object->width <= 0 || object->height <= 0)
        return {};
    object->PullDib();
    size = {object->width, object->height};
    return {object->pixels, object->pixels + static_cast<std::size_t>(object->width) * static_cast<std::size_t>(object->height)};
}

}
