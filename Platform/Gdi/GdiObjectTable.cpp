#include "Platform/Gdi/GdiObjectTable.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/FontCache.h"
#include "Platform/Gdi/PrinterJob.h"

#include <pango/pango.h>

#include <array>
#include <cstring>

namespace ZELL::Gdi {
namespace {

// Bitmaps larger than this are refused rather than risking an allocation
// failure deep inside a paint.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 27;

// Contexts and drawing objects live in separate tables, so a context number
// is never taken for a pen and back.
Platform::HandleTable<GdiObject, HGDIOBJ>& ObjectTable()
{
    // Lives to process end: handles may be freed from static destructors.
    static auto* table = new Platform::HandleTable<GdiObject, HGDIOBJ>(Platform::HandleKind::GdiObject);
    return *table;
}

Platform::HandleTable<GdiObject, HDC>& ContextTable()
{
    static auto* table = new Platform::HandleTable<GdiObject, HDC>(Platform::HandleKind::DeviceContext);
    return *table;
}

}  // namespace

void* GdiHandleTable::Add(std::shared_ptr<GdiObject> object)
{
    if (!object)
        return nullptr;
    if (object->kind == ObjectKind::DC)
        return ContextTable().Insert(std::move(object));
    return ObjectTable().Insert(std::move(object));
}

std::shared_ptr<GdiObject> GdiHandleTable::Find(const void* handle)
{
    if (!handle)
        return nullptr;
    void* h = const_cast<void*>(handle);
    if (auto object = ObjectTable().Lookup(static_cast<HGDIOBJ>(h)))
        return object;
    return ContextTable().Lookup(static_cast<HDC>(h));
}

bool GdiHandleTable::Remove(const void* handle)
{
    void* h = const_cast<void*>(handle);
    std::shared_ptr<GdiObject> doomed = ObjectTable().Remove(static_cast<HGDIOBJ>(h));
    if (!doomed)
        doomed = ContextTable().Remove(static_cast<HDC>(h));
    return doomed != nullptr;
}

std::shared_ptr<DCObject> FindDC(HDC dc)
{
    auto object = GdiHandleTable::FindAs<DCObject>(dc, ObjectKind::DC);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

FontObject::~FontObject()
{
    if (description)
        pango_font_description_free(description);
}

DCObject::~DCObject()
{
    if (external)
        cairo_surface_destroy(external);
}

PrinterJob::~PrinterJob()
{
    if (pdf)
        cairo_surface_destroy(pdf);
}

BitmapObject::~BitmapObject()
{
    if (surface)
        cairo_surface_destroy(surface);
}

std::shared_ptr<BitmapObject> BitmapObject::Create(int width, int height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bitsPerPixel = bitsPerPixel;
    // New bitmaps are black, as the platform's are.
    bitmap->store.assign(static_cast<std::size_t>(width) * height, 0);
    bitmap->pixels = bitmap->store.data();
    bitmap->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap->pixels),
                                                          CAIRO_FORMAT_RGB24, width, height, width * 4);
    if (cairo_surface_status(bitmap->surface) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return bitmap;
}

std::shared_ptr<BitmapObject> BitmapObject::Clone() const
{
    auto copy = Create(width, height, bitsPerPixel);
    if (copy) {
        const_cast<BitmapObject*>(this)->PullDib();
        std::memcpy(copy->pixels, pixels, static_cast<std::size_t>(width) * height * 4);
    }
    return copy;
}

void BitmapObject::PullDib()
{
    if (!DibSeparate())
        return;
    cairo_surface_flush(surface);
    const auto* bits = static_cast<const BYTE*>(dibBits);
    for (int y = 0; y < height; ++y)
        dib.DecodeRow(bits, y, pixels + static_cast<std::size_t>(y) * width);
    cairo_surface_mark_dirty(surface);
}

void BitmapObject::PushDib()
{
    if (!DibSeparate())
        return;
    cairo_surface_flush(surface);
    auto* bits = static_cast<BYTE*>(dibBits);
    for (int y = 0; y < height; ++y)
        dib.EncodeRow(pixels + static_cast<std::size_t>(y) * width, y, bits);
}

namespace {

std::shared_ptr<GdiObject> MakeStock(int index)
{
    auto brush = [](UINT style, COLORREF color) {
        auto b = std::make_shared<BrushObject>();
        b->style = style;
        b->color = color;
        return b;
    };
    auto pen = [](int style, COLORREF color) {
        auto p = std::make_shared<PenObject>();
        p->style = style;
        p->color = color;
        return p;
    };
    std::shared_ptr<GdiObject> object;
    switch (index) {
    case WHITE_BRUSH: object = brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: object = brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: object = brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: object = brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: object = brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: object = brush(BS_NULL, 0); break;
    case WHITE_PEN: object = pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: object = pen(PS_SOLID, 0); break;
    case NULL_PEN: object = pen(PS_NULL, 0); break;
    case DC_BRUSH: {
        auto b = brush(BS_SOLID, RGB(255, 255, 255));
        b->usesDCColor = true;
        object = b;
        break;
    }
    case DC_PEN: {
        auto p = pen(PS_SOLID, 0);
        p->usesDCColor = true;
        object = p;
        break;
    }
    case DEFAULT_PALETTE: object = std::make_shared<PaletteObject>(); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: object = MakeFontObject(StockFixedFont()); break;
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT: object = MakeFontObject(StockGuiFont()); break;
    default: return nullptr;
    }
    if (object)
        object->stock = true;
    return object;
}

}  // namespace

void* StockHandle(int index)
{
    static std::array<void*, 20> handles = [] {
        std::array<void*, 20> h{};
        for (int i = 0; i < static_cast<int>(h.size()); ++i)
            h[static_cast<std::size_t>(i)] = GdiHandleTable::Add(MakeStock(i));
        return h;
    }();
    if (index < 0 || index >= static_cast<int>(handles.size()))
        return nullptr;
    return handles[static_cast<std::size_t>(index)];
}

HGDIOBJ DefaultBitmapHandle()
{
    static HGDIOBJ handle = [] {
        auto bitmap = BitmapObject::Create(1, 1, 1);
        bitmap->stock = true;
        return static_cast<HGDIOBJ>(GdiHandleTable::Add(bitmap));
    }();
    return handle;
}

}  // namespace ZELL::Gdi

HBITMAP BitmapFromHandleText(const wchar_t* text)
{
    using namespace ZELL::Gdi;
    if (!text)
        return nullptr;
    HGDIOBJ object = ObjectTable().FromText(text);
    if (!GdiHandleTable::FindAs<BitmapObject>(object, ObjectKind::Bitmap))
        return nullptr;
    return static_cast<HBITMAP>(object);
}
