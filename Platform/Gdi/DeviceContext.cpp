#include "Platform/Gdi/DeviceContext.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/FontCache.h"
#include "Platform/Gdi/PrinterJob.h"
#include "Platform/Gdi/ScreenDpi.h"
#include "Platform/Gdi/SurfaceDC.h"
#include "Platform/Gdi/Transform.h"

#include <cstring>

using namespace ZELL::Gdi;

namespace {

void SelectDefaults(DCState& s)
{
    s.penHandle = static_cast<HGDIOBJ>(StockHandle(BLACK_PEN));
    s.pen = GdiHandleTable::FindAs<PenObject>(s.penHandle, ObjectKind::Pen);
    s.brushHandle = static_cast<HGDIOBJ>(StockHandle(WHITE_BRUSH));
    s.brush = GdiHandleTable::FindAs<BrushObject>(s.brushHandle, ObjectKind::Brush);
    s.fontHandle = static_cast<HGDIOBJ>(StockHandle(SYSTEM_FONT));
    s.font = GdiHandleTable::FindAs<FontObject>(s.fontHandle, ObjectKind::Font);
}

HDC AddDC(std::shared_ptr<DCObject> dc)
{
    SelectDefaults(dc->state);
    return static_cast<HDC>(GdiHandleTable::Add(std::move(dc)));
}

bool SetError(DWORD error)
{
    SetLastError(error);
    return false;
}

template <typename T>
T Fail(T value, DWORD error)
{
    SetLastError(error);
    return value;
}

// Calls `f` with the state of a valid context, or returns `failed`.
template <typename R, typename F>
R WithState(HDC dc, R failed, F f)
{
    auto object = FindDC(dc);
    if (!object)
        return failed;
    return f(object->state, *object);
}

BOOL StorePoint(LPPOINT out, POINT value)
{
    if (out)
        *out = value;
    return TRUE;
}

BOOL StoreSize(LPSIZE out, SIZE value)
{
    if (out)
        *out = value;
    return TRUE;
}

// The isotropic mode keeps one scale on both axes: the viewport extent
// shrinks on the axis that would be stretched more.
void AdjustIsotropic(DCState& s)
{
    if (s.mapMode != MM_ISOTROPIC || s.windowExt.cx == 0 || s.windowExt.cy == 0)
        return;
    const double sx = static_cast<double>(s.viewportExt.cx) / s.windowExt.cx;
    const double sy = static_cast<double>(s.viewportExt.cy) / s.windowExt.cy;
    const double ax = sx < 0 ? -sx : sx;
    const double ay = sy < 0 ? -sy : sy;
    if (ax > ay)
        s.viewportExt.cx = static_cast<LONG>((sx < 0 ? -ay : ay) * s.windowExt.cx);
    else if (ay > ax)
        s.viewportExt.cy = static_cast<LONG>((sy < 0 ? -ax : ax) * s.windowExt.cy);
}

}  // namespace

HDC CreateSurfaceDC(cairo_surface_t* target, POINT origin, const RECT& clip)
{
    if (!target || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const cairo_format_t format = cairo_image_surface_get_format(target);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto dc = std::make_shared<DCObject>();
    dc->type = DCType::Surface;
    dc->external = cairo_surface_reference(target);
    dc->origin = origin;
    dc->systemClip = clip;
    dc->dpi = GetScreenDpi();
    return AddDC(std::move(dc));
}

void ReleaseSurfaceDC(HDC dc)
{
    auto object = FindDC(dc);
    if (object && object->type == DCType::Surface)
        GdiHandleTable::Remove(dc);
}

BOOL SetSurfaceDCVisibleRects(HDC dc, const RECT* rects, int count)
{
    auto object = FindDC(dc);
    if (!object || object->type != DCType::Surface)
        return SetError(ERROR_INVALID_HANDLE);
    if (count < 0 || (count > 0 && !rects))
        return SetError(ERROR_INVALID_PARAMETER);
    object->systemRegion = BandRegion::FromRects(std::vector<RECT>(rects, rects + count));
    return TRUE;
}

HDC CreateCompatibleDC(HDC dc)
{
    int dpi = GetScreenDpi();
    if (dc) {
        auto source = FindDC(dc);
        if (!source)
            return nullptr;
        dpi = source->dpi;
    }
    auto memory = std::make_shared<DCObject>();
    memory->type = DCType::Memory;
    memory->dpi = dpi;
    memory->state.bitmapHandle = DefaultBitmapHandle();
    memory->state.bitmap = GdiHandleTable::FindAs<BitmapObject>(memory->state.bitmapHandle, ObjectKind::Bitmap);
    return AddDC(std::move(memory));
}

BOOL DeleteDC(HDC dc)
{
    auto object = FindDC(dc);
    if (!object)
        return FALSE;
    GdiHandleTable::Remove(dc);
    return TRUE;
}

HGDIOBJ GetStockObject(int index)
{
    return static_cast<HGDIOBJ>(StockHandle(index));
}

DWORD GetObjectType(HGDIOBJ handle)
{
    auto object = GdiHandleTable::Find(handle);
    if (!object)
        return Fail<DWORD>(0, ERROR_INVALID_HANDLE);
    switch (object->kind) {
    case ObjectKind::Pen: return OBJ_PEN;
    case ObjectKind::Brush: return OBJ_BRUSH;
    case ObjectKind::Font: return OBJ_FONT;
    case ObjectKind::Bitmap: return OBJ_BITMAP;
    case ObjectKind::Region: return OBJ_REGION;
    case ObjectKind::Palette: return OBJ_PAL;
    case ObjectKind::DC:
        return std::static_pointer_cast<DCObject>(object)->type == DCType::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

int SelectClipRgn(HDC dc, HRGN region);  // Region.cpp

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
    auto context = FindDC(dc);
    if (!context)
        return nullptr;
    auto object = GdiHandleTable::Find(handle);
    if (!object || object->kind == ObjectKind::DC)
        return Fail<HGDIOBJ>(nullptr, ERROR_INVALID_HANDLE);
    DCState& s = context->state;
    HGDIOBJ old = nullptr;
    switch (object->kind) {
    case ObjectKind::Pen:
        old = s.penHandle;
        s.pen = std::static_pointer_cast<PenObject>(object);
        s.penHandle = handle;
        break;
    case ObjectKind::Brush:
        old = s.brushHandle;
        s.brush = std::static_pointer_cast<BrushObject>(object);
        s.brushHandle = handle;
        break;
    case ObjectKind::Font:
        old = s.fontHandle;
        s.font = std::static_pointer_cast<FontObject>(object);
        s.fontHandle = handle;
        break;
    case ObjectKind::Bitmap:
        if (context->type != DCType::Memory)
            return Fail<HGDIOBJ>(nullptr, ERROR_INVALID_PARAMETER);
        old = s.bitmapHandle;
        s.bitmap = std::static_pointer_cast<BitmapObject>(object);
        s.bitmapHandle = handle;
        break;
    case ObjectKind::Region: {
        const int kind = SelectClipRgn(dc, static_cast<HRGN>(handle));
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(kind));
    }
    case ObjectKind::Palette:
    case ObjectKind::DC: return nullptr;
    }
    return old;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    return WithState(dc, static_cast<HGDIOBJ>(nullptr), [type](DCState& s, DCObject&) -> HGDIOBJ {
        switch (type) {
        case OBJ_PEN: return s.penHandle;
        case OBJ_BRUSH: return s.brushHandle;
        case OBJ_FONT: return s.fontHandle;
        case OBJ_BITMAP: return s.bitmapHandle;
        case OBJ_PAL: return static_cast<HGDIOBJ>(StockHandle(DEFAULT_PALETTE));
        default: return Fail<HGDIOBJ>(nullptr, ERROR_INVALID_PARAMETER);
        }
    });
}

BOOL DeleteObject(HGDIOBJ handle)
{
    auto object = GdiHandleTable::Find(handle);
    if (!object || object->kind == ObjectKind::DC)
        return Fail<BOOL>(FALSE, ERROR_INVALID_HANDLE);
    // Stock objects are never deleted. An object still selected somewhere
    // stays alive through the context's reference and goes with it.
    if (object->stock)
        return TRUE;
    GdiHandleTable::Remove(handle);
    return TRUE;
}

namespace {

template <typename T>
int CopyOut(const T& value, int size, LPVOID buffer)
{
    if (!buffer)
        return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T)))
        return Fail(0, ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

BITMAP DescribeBitmap(const BitmapObject& b)
{
    BITMAP bm;
    bm.bmWidth = b.width;
    bm.bmHeight = b.height;
    bm.bmPlanes = 1;
    if (b.isDib) {
        bm.bmBitsPixel = static_cast<WORD>(b.dib.bitsPerPixel);
        bm.bmWidthBytes = b.dib.stride;
        bm.bmBits = b.dibBits;
    } else if (b.IsMono()) {
        bm.bmBitsPixel = 1;
        bm.bmWidthBytes = ((b.width + 15) / 16) * 2;
    } else {
        bm.bmBitsPixel = 32;
        bm.bmWidthBytes = b.width * 4;
    }
    return bm;
}

}  // namespace

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer)
{
    auto object = GdiHandleTable::Find(handle);
    if (!object)
        return Fail(0, ERROR_INVALID_HANDLE);
    if (size < 0)
        return Fail(0, ERROR_INVALID_PARAMETER);
    switch (object->kind) {
    case ObjectKind::Pen: {
        const auto& p = static_cast<const PenObject&>(*object);
        LOGPEN log;
        log.lopnStyle = static_cast<UINT>(p.style);
        log.lopnWidth = {p.width, 0};
        log.lopnColor = p.color;
        return CopyOut(log, size, buffer);
    }
    case ObjectKind::Brush: {
        const auto& b = static_cast<const BrushObject&>(*object);
        LOGBRUSH log;
        log.lbStyle = b.style;
        log.lbColor = b.color;
        log.lbHatch = static_cast<ULONG_PTR>(b.hatch);
        return CopyOut(log, size, buffer);
    }
    case ObjectKind::Font: return CopyOut(static_cast<const FontObject&>(*object).log, size, buffer);
    case ObjectKind::Bitmap: {
        const auto& b = static_cast<const BitmapObject&>(*object);
        if (b.isDib && (size >= static_cast<int>(sizeof(DIBSECTION)))) {
            DIBSECTION ds;
            ds.dsBm = DescribeBitmap(b);
            ds.dsBmih = b.dibHeader;
            return CopyOut(ds, size, buffer);
        }
        return CopyOut(DescribeBitmap(b), size, buffer);
    }
    default: return Fail(0, ERROR_INVALID_HANDLE);
    }
}

int SaveDC(HDC dc)
{
    return WithState(dc, 0, [](DCState& s, DCObject& o) {
        o.saved.push_back(s);
        return static_cast<int>(o.saved.size());
    });
}

BOOL RestoreDC(HDC dc, int saved)
{
    return WithState(dc, FALSE, [saved](DCState& s, DCObject& o) -> BOOL {
        const int count = static_cast<int>(o.saved.size());
        const int level = saved < 0 ? count + 1 + saved : saved;
        if (level < 1 || level > count)
            return Fail<BOOL>(FALSE, ERROR_INVALID_PARAMETER);
        s = std::move(o.saved[static_cast<std::size_t>(level - 1)]);
        o.saved.resize(static_cast<std::size_t>(level - 1));
        return TRUE;
    });
}

#define ZELL_STATE_ACCESSOR(Type, Name, Member, Invalid)                                                    \
    Type Set##Name(HDC dc, Type value)                                                                     \
    {                                                                                                      \
        return WithState(dc, static_cast<Type>(Invalid), [value](DCState& s, DCObject&) {                  \
            const Type old = static_cast<Type>(s.Member);                                                  \
            s.Member = value;                                                                              \
            return old;                                                                                    \
        });                                                                                                \
    }                                                                                                      \
    Type Get##Name(HDC dc)                                                                                 \
    {                                                                                                      \
        return WithState(dc, static_cast<Type>(Invalid), [](DCState& s, DCObject&) { return static_cast<Type>(s.Member); }); \
    }

ZELL_STATE_ACCESSOR(COLORREF, BkColor, bkColor, CLR_INVALID)
ZELL_STATE_ACCESSOR(COLORREF, TextColor, textColor, CLR_INVALID)
ZELL_STATE_ACCESSOR(UINT, TextAlign, textAlign, GDI_TA_ERROR)
#undef ZELL_STATE_ACCESSOR

namespace {

template <typename Member>
int SetMode(HDC dc, int value, int low, int high, Member member)
{
    if (value < low || value > high) {
        if (!FindDC(dc))
            return 0;
        return Fail(0, ERROR_INVALID_PARAMETER);
    }
    return WithState(dc, 0, [&](DCState& s, DCObject&) {
        const int old = s.*member;
        s.*member = value;
        return old;
    });
}

template <typename Member>
int GetMode(HDC dc, Member member)
{
    return WithState(dc, 0, [&](DCState& s, DCObject&) { return s.*member; });
}

}  // namespace

int SetBkMode(HDC dc, int mode) { return SetMode(dc, mode, TRANSPARENT, OPAQUE, &DCState::bkMode); }
int GetBkMode(HDC dc) { return GetMode(dc, &DCState::bkMode); }
int SetROP2(HDC dc, int mode) { return SetMode(dc, mode, R2_BLACK, R2_WHITE, &DCState::rop2); }
int GetROP2(HDC dc) { return GetMode(dc, &DCState::rop2); }
int SetPolyFillMode(HDC dc, int mode) { return SetMode(dc, mode, ALTERNATE, WINDING, &DCState::polyFillMode); }
int GetPolyFillMode(HDC dc) { return GetMode(dc, &DCState::polyFillMode); }
int SetStretchBltMode(HDC dc, int mode) { return SetMode(dc, mode, BLACKONWHITE, HALFTONE, &DCState::stretchMode); }
int GetStretchBltMode(HDC dc) { return GetMode(dc, &DCState::stretchMode); }

COLORREF SetDCBrushColor(HDC dc, COLORREF color)
{
    return WithState(dc, CLR_INVALID, [color](DCState& s, DCObject&) {
        const COLORREF old = s.dcBrushColor;
        s.dcBrushColor = color;
        return old;
    });
}

COLORREF SetDCPenColor(HDC dc, COLORREF color)
{
    return WithState(dc, CLR_INVALID, [color](DCState& s, DCObject&) {
        const COLORREF old = s.dcPenColor;
        s.dcPenColor = color;
        return old;
    });
}

namespace {

// The origins and the pen position: each setter hands back where the point was.
BOOL SetStatePoint(HDC dc, POINT DCState::*point, POINT value, LPPOINT old)
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject&) {
        StorePoint(old, s.*point);
        s.*point = value;
        return TRUE;
    });
}

BOOL OffsetStatePoint(HDC dc, POINT DCState::*point, int dx, int dy, LPPOINT old)
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject&) {
        StorePoint(old, s.*point);
        (s.*point).x += dx;
        (s.*point).y += dy;
        return TRUE;
    });
}

BOOL GetStatePoint(HDC dc, POINT DCState::*point, LPPOINT out)
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject&) { return StorePoint(out, s.*point); });
}

// The extents report what the map mode makes of them; only the free modes take new ones.
BOOL SetExtent(HDC dc, SIZE DCState::*extent, SIZE Extents::*effective, int x, int y, LPSIZE old)
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject& o) -> BOOL {
        StoreSize(old, EffectiveExtents(s, o.dpi).*effective);
        if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC)
            return TRUE;  // fixed modes ignore it, and say so by success
        if (x == 0 || y == 0)
            return Fail<BOOL>(FALSE, ERROR_INVALID_PARAMETER);
        s.*extent = {x, y};
        AdjustIsotropic(s);
        return TRUE;
    });
}

BOOL GetExtent(HDC dc, SIZE Extents::*effective, LPSIZE out)
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject& o) { return StoreSize(out, EffectiveExtents(s, o.dpi).*effective); });
}

}  // namespace

BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old) { return SetStatePoint(dc, &DCState::brushOrg, {x, y}, old); }
BOOL GetBrushOrgEx(HDC dc, LPPOINT org) { return GetStatePoint(dc, &DCState::brushOrg, org); }

int SetMapMode(HDC dc, int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) {
        if (!FindDC(dc))
            return 0;
        return Fail(0, ERROR_INVALID_PARAMETER);
    }
    return WithState(dc, 0, [mode](DCState& s, DCObject& o) {
        const int old = s.mapMode;
        if (mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) {
            // Entering a free mode from a fixed one starts from the fixed scale.
            if (old != MM_ISOTROPIC && old != MM_ANISOTROPIC) {
                const Extents e = EffectiveExtents(s, o.dpi);
                s.windowExt = e.window;
                s.viewportExt = e.viewport;
            }
        } else {
            s.windowExt = {1, 1};
            s.viewportExt = {1, 1};
        }
        s.mapMode = mode;
        AdjustIsotropic(s);
        return old;
    });
}

int GetMapMode(HDC dc) { return GetMode(dc, &DCState::mapMode); }

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) { return SetStatePoint(dc, &DCState::windowOrg, {x, y}, old); }
BOOL GetWindowOrgEx(HDC dc, LPPOINT org) { return GetStatePoint(dc, &DCState::windowOrg, org); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old)
{
    return OffsetStatePoint(dc, &DCState::windowOrg, dx, dy, old);
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old)
{
    return SetStatePoint(dc, &DCState::viewportOrg, {x, y}, old);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT org) { return GetStatePoint(dc, &DCState::viewportOrg, org); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old)
{
    return OffsetStatePoint(dc, &DCState::viewportOrg, dx, dy, old);
}

BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old)
{
    return SetExtent(dc, &DCState::windowExt, &Extents::window, x, y, old);
}
BOOL GetWindowExtEx(HDC dc, LPSIZE ext) { return GetExtent(dc, &Extents::window, ext); }

BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old)
{
    return SetExtent(dc, &DCState::viewportExt, &Extents::viewport, x, y, old);
}
BOOL GetViewportExtEx(HDC dc, LPSIZE ext) { return GetExtent(dc, &Extents::viewport, ext); }

namespace {

BOOL MapPoints(HDC dc, LPPOINT points, int count, POINT (*map)(const DCState&, int, POINT))
{
    return WithState(dc, FALSE, [&](DCState& s, DCObject& o) -> BOOL {
        if (count < 0 || (count > 0 && !points))
            return Fail<BOOL>(FALSE, ERROR_INVALID_PARAMETER);
        for (int i = 0; i < count; ++i)
            points[i] = map(s, o.dpi, points[i]);
        return TRUE;
    });
}

}  // namespace

BOOL DPtoLP(HDC dc, LPPOINT points, int count) { return MapPoints(dc, points, count, &ToLogical); }
BOOL LPtoDP(HDC dc, LPPOINT points, int count) { return MapPoints(dc, points, count, &ToDevice); }

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old) { return SetStatePoint(dc, &DCState::position, {x, y}, old); }
BOOL GetCurrentPositionEx(HDC dc, LPPOINT pos) { return GetStatePoint(dc, &DCState::position, pos); }

int GetDeviceCaps(HDC dc, int index)
{
    auto o = FindDC(dc);
    if (!o)
        return 0;
    int width = 0;
    int height = 0;
    if (o->type == DCType::Surface) {
        width = cairo_image_surface_get_width(o->external);
        height = cairo_image_surface_get_height(o->external);
    } else if (o->type == DCType::Printer && o->printer) {
        width = o->printer->pageWidthPx;
        height = o->printer->pageHeightPx;
    } else if (o->state.bitmap) {
        width = o->state.bitmap->width;
        height = o->state.bitmap->height;
    }
    const bool printer = o->type == DCType::Printer && o->printer;
    switch (index) {
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES: return width;
    case VERTRES: return height;
    case HORZSIZE: return MulDiv(width, 254, o->dpi * 10);
    case VERTSIZE: return MulDiv(height, 254, o->dpi * 10);
    case LOGPIXELSX:
    case LOGPIXELSY: return o->dpi;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case SIZEPALETTE: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case SHADEBLENDCAPS: return SB_CONST_ALPHA | SB_PIXEL_ALPHA | SB_GRAD_RECT;
    case PHYSICALWIDTH: return printer ? width + 2 * o->printer->offsetXPx : 0;
    case PHYSICALHEIGHT: return printer ? height + 2 * o->printer->offsetYPx : 0;
    case PHYSICALOFFSETX: return printer ? o->printer->offsetXPx : 0;
    case PHYSICALOFFSETY: return printer ? o->printer->offsetYPx : 0;
    default: return 0;
    }
}
