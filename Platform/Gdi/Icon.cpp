#include "Platform/Gdi/Icon.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BlitCore.h"
#include "Platform/Gdi/Paint.h"

#include <algorithm>

using namespace ZELL::Gdi;

namespace {

struct IconObject {
    std::shared_ptr<BitmapObject> color;  // null: the mask holds both halves
    std::shared_ptr<BitmapObject> mask;
    bool isIcon = true;
    DWORD hotX = 0;
    DWORD hotY = 0;
    int Width() const { return mask->width; }
    int Height() const { return color ? mask->height : mask->height / 2; }
};

Platform::HandleTable<IconObject, HICON>& Icons()
{
    static auto* table = new Platform::HandleTable<IconObject, HICON>(Platform::HandleKind::Icon);
    return *table;
}

std::shared_ptr<IconObject> FindIcon(HICON icon)
{
    auto object = Icons().Lookup(icon);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

}

HICON IconFromHandleText(const wchar_t* text)
{
    return text ? Icons().FromText(text) : nullptr;
}

namespace {

HBITMAP AddCopy(const std::shared_ptr<BitmapObject>& bitmap)
{
    if (!bitmap)
        return nullptr;
    return static_cast<HBITMAP>(static_cast<HGDIOBJ>(GdiHandleTable::Add(bitmap->Clone())));
}

bool HasAlpha(const BitmapObject& bitmap)
{
    const std::size_t n = static_cast<std::size_t>(bitmap.width) * bitmap.height;
    return std::any_of(bitmap.pixels, bitmap.pixels + n, [](std::uint32_t p) { return (p >> 24) != 0; });
}

// Icons carry straight alpha; the blend takes premultiplied pixels.
SourceSnapshot Premultiplied(const BitmapObject& bitmap)
{
    SourceSnapshot snap = SnapshotOf(bitmap, {0, 0, bitmap.width, bitmap.height});
    for (std::uint32_t& p : snap.pixels) {
        const unsigned a = p >> 24;
        std::uint32_t out = p & 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
        p = out;
    }
    return snap;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info || !info->hbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto mask = GdiHandleTable::FindAs<BitmapObject>(info->hbmMask, ObjectKind::Bitmap);
    auto color = info->hbmColor ? GdiHandleTable::FindAs<BitmapObject>(info->hbmColor, ObjectKind::Bitmap) : nullptr;
    if (!mask || (info->hbmColor && !color)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto icon = std::make_shared<IconObject>();
    icon->mask = mask->Clone();
    icon->color = color ? color->Clone() : nullptr;
    if (!icon->mask || (color && !icon->color))
        return nullptr;
    icon->isIcon = info->fIcon != FALSE;
    icon->hotX = icon->isIcon ? static_cast<DWORD>(icon->Width() / 2) : info->xHotspot;
    icon->hotY = icon->isIcon ? static_cast<DWORD>(icon->Height() / 2) : info->yHotspot;
    return Icons().Insert(icon);
}

BOOL GetIconInfo(HICON handle, ICONINFO* info)
{
    auto icon = FindIcon(handle);
    if (!icon || !info)
        return FALSE;
    info->fIcon = icon->isIcon ? TRUE : FALSE;
    info->xHotspot = icon->hotX;
    info->yHotspot = icon->hotY;
    info->hbmMask = AddCopy(icon->mask);
    info->hbmColor = AddCopy(icon->color);
    return TRUE;
}

HICON CopyIcon(HICON handle)
{
    auto icon = FindIcon(handle);
    if (!icon)
        return nullptr;
    auto copy = std::make_shared<IconObject>(*icon);
    copy->mask = icon->mask->Clone();
    copy->color = icon->color ? icon->color->Clone() : nullptr;
    return Icons().Insert(copy);
}

BOOL DestroyIcon(HICON handle)
{
    if (!Icons().Remove(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON handle, int width, int height, UINT, HBRUSH, UINT flags)
{
    auto context = FindDC(dc);
    auto icon = FindIcon(handle);
    if (!context || !icon)
        return FALSE;
    if ((flags & DI_NORMAL) == 0)
        flags |= DI_NORMAL;
    const int w = width > 0 ? width : icon->Width();
    const int h = height > 0 ? height : icon->Height();
    const POINT d0 = LogicalPointToSurface(*context, {x, y});
    const POINT d1 = LogicalPointToSurface(*context, {x + w, y + h});
    const POINT s0{0, 0};
    const POINT s1{icon->Width(), icon->Height()};

    if (icon->color && (flags & DI_NORMAL) == DI_NORMAL && HasAlpha(*icon->color)) {
        const SourceSnapshot picture = Premultiplied(*icon->color);
        BlitParams params;
        params.kind = BlitKind::Alpha;
        params.blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return RunBlit(*context, d0, d1, &picture, s0, s1, params);
    }
    // The masks are black and white whatever the context's colours are.
    DCState& s = context->state;
    const COLORREF oldText = s.textColor;
    const COLORREF oldBack = s.bkColor;
    s.textColor = RGB(0, 0, 0);
    s.bkColor = RGB(255, 255, 255);
    BlitParams params;
    bool ok = true;
    if (flags & DI_MASK) {
        const SourceSnapshot mask = SnapshotOf(*icon->mask, {0, 0, icon->Width(), icon->Height()});
        params.rop = (flags & DI_IMAGE) ? 0x88 : 0xCC;  // SRCAND, or the mask alone
        ok = RunBlit(*context, d0, d1, &mask, s0, s1, params) && ok;
    }
    if (flags & DI_IMAGE) {
        const SourceSnapshot picture =
            icon->color ? SnapshotOf(*icon->color, {0, 0, icon->Width(), icon->Height()})
                        : SnapshotOf(*icon->mask, {0, icon->Height(), icon->Width(), 2 * icon->Height()});
        const POINT p0 = icon->color ? s0 : POINT{0, icon->Height()};
        const POINT p1 = icon->color ? s1 : POINT{icon->Width(), 2 * icon->Height()};
        params.rop = (flags & DI_MASK) ? 0x66 : 0xCC;  // SRCINVERT over the mask, or a plain copy
        ok = RunBlit(*context, d0, d1, &picture, p0, p1, params) && ok;
    }
    s.textColor = oldText;
    s.bkColor = oldBack;
    return ok ? TRUE : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
