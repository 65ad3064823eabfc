#include "Platform/Gdi/Region.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/DrawTarget.h"
#include "Platform/Gdi/Paint.h"
#include "Platform/Gdi/ShapeRaster.h"
#include "Platform/Gdi/Transform.h"

#include <algorithm>
#include <optional>

using namespace ZELL::Gdi;

namespace {

// Stands for "no clip region": larger than any surface, small enough that
// offsets cannot overflow.
constexpr LONG kUnbounded = 1 << 28;
const RECT kEverything{-kUnbounded, -kUnbounded, kUnbounded, kUnbounded};

HRGN AddRegion(BandRegion region)
{
    auto object = std::make_shared<RegionObject>();
    object->region = std::move(region);
    return static_cast<HRGN>(static_cast<HGDIOBJ>(GdiHandleTable::Add(object)));
}

std::shared_ptr<RegionObject> FindRegion(HRGN region)
{
    auto object = GdiHandleTable::FindAs<RegionObject>(region, ObjectKind::Region);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

RECT Normalised(int l, int t, int r, int b)
{
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// The effective clip of a context in device units, intersected with what
// the device shows.
BandRegion VisibleDeviceRegion(DCObject& dc)
{
    DrawTarget target(dc, false);
    BandRegion clip = target.Clip();
    clip.Offset(-dc.origin.x, -dc.origin.y);
    return clip;
}

int StoreClip(DCObject& dc, std::optional<BandRegion> clip)
{
    dc.state.clip = std::move(clip);
    return VisibleDeviceRegion(dc).Kind();
}

// The band operation of a combining mode other than RGN_COPY; an unknown
// mode is refused.
std::optional<BandRegion::Op> CombineOp(int mode)
{
    switch (mode) {
    case RGN_AND: return BandRegion::Op::And;
    case RGN_OR: return BandRegion::Op::Or;
    case RGN_XOR: return BandRegion::Op::Xor;
    case RGN_DIFF: return BandRegion::Op::Diff;
    default: SetLastError(ERROR_INVALID_PARAMETER); return std::nullopt;
    }
}

// The region `create` makes of the rectangle's edges; a missing rectangle
// is refused.
HRGN FromRect(const RECT* rect, HRGN (*create)(int, int, int, int))
{
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return create(rect->left, rect->top, rect->right, rect->bottom);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return AddRegion(BandRegion(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    return FromRect(rect, CreateRectRgn);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse)
{
    return AddRegion(RoundRectCoverage(Normalised(left, top, right, bottom), widthEllipse, heightEllipse));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return AddRegion(EllipseCoverage(Normalised(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect)
{
    return FromRect(rect, CreateEllipticRgn);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return AddRegion(PolygonCoverage(points, count, fillMode));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode)
{
    auto dest = FindRegion(destination);
    auto a = FindRegion(source1);
    if (!dest || !a)
        return ERROR;
    if (mode == RGN_COPY) {
        dest->region = a->region;
        return dest->region.Kind();
    }
    auto b = FindRegion(source2);
    if (!b)
        return ERROR;
    const std::optional<BandRegion::Op> op = CombineOp(mode);
    if (!op)
        return ERROR;
    dest->region = BandRegion::Combine(a->region, b->region, *op);
    return dest->region.Kind();
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom)
{
    auto r = FindRegion(region);
    if (!r)
        return FALSE;
    r->region = BandRegion(Normalised(left, top, right, bottom));
    return TRUE;
}

int OffsetRgn(HRGN region, int dx, int dy)
{
    auto r = FindRegion(region);
    if (!r)
        return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Kind();
}

BOOL PtInRegion(HRGN region, int x, int y)
{
    auto r = FindRegion(region);
    return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN region, const RECT* rect)
{
    auto r = FindRegion(region);
    if (!r || !rect)
        return FALSE;
    return r->region.Intersects(Normalised(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    auto ra = FindRegion(a);
    auto rb = FindRegion(b);
    return ra && rb && ra->region == rb->region;
}

int GetRgnBox(HRGN region, LPRECT box)
{
    auto r = FindRegion(region);
    if (!r || !box)
        return ERROR;
    *box = r->region.Box();
    return r->region.Kind();
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush)
{
    auto context = FindDC(dc);
    auto r = FindRegion(region);
    auto b = GdiHandleTable::FindAs<BrushObject>(brush, ObjectKind::Brush);
    if (!context || !r || !b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DrawTarget target(*context);
    FillArea(*context, target, LogicalToSurface(*context, r->region), b.get(), R2_COPYPEN);
    return TRUE;
}

BOOL PaintRgn(HDC dc, HRGN region)
{
    auto context = FindDC(dc);
    return context && FillRgn(dc, region, static_cast<HBRUSH>(context->state.brushHandle));
}

BOOL InvertRgn(HDC dc, HRGN region)
{
    auto context = FindDC(dc);
    auto r = FindRegion(region);
    if (!context || !r)
        return FALSE;
    DrawTarget target(*context);
    FillArea(target, LogicalToSurface(*context, r->region), 0, R2_NOT);
    return TRUE;
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height)
{
    auto context = FindDC(dc);
    auto r = FindRegion(region);
    auto b = GdiHandleTable::FindAs<BrushObject>(brush, ObjectKind::Brush);
    if (!context || !r || !b || width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The frame is what erosion by the frame size takes away.
    BandRegion inner = r->region;
    for (const auto& [dx, dy] : {std::pair{width, 0}, std::pair{-width, 0}, std::pair{0, height}, std::pair{0, -height}}) {
        BandRegion moved = r->region;
        moved.Offset(dx, dy);
        inner = BandRegion::Combine(inner, moved, BandRegion::Op::And);
    }
    const BandRegion frame = BandRegion::Combine(r->region, inner, BandRegion::Op::Diff);
    DrawTarget target(*context);
    FillArea(*context, target, LogicalToSurface(*context, frame), b.get(), R2_COPYPEN);
    return TRUE;
}

int SelectClipRgn(HDC dc, HRGN region)
{
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode)
{
    auto context = FindDC(dc);
    if (!context)
        return ERROR;
    if (!region) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        return StoreClip(*context, std::nullopt);
    }
    auto r = FindRegion(region);
    if (!r)
        return ERROR;
    if (mode == RGN_COPY)
        return StoreClip(*context, r->region);
    const BandRegion current = context->state.clip ? *context->state.clip : BandRegion(kEverything);
    const std::optional<BandRegion::Op> op = CombineOp(mode);
    if (!op)
        return ERROR;
    return StoreClip(*context, BandRegion::Combine(current, r->region, *op));
}

namespace {

int CombineClipRect(HDC dc, int left, int top, int right, int bottom, BandRegion::Op op)
{
    auto context = FindDC(dc);
    if (!context)
        return ERROR;
    const RECT device = RectToDevice(context->state, context->dpi, Normalised(left, top, right, bottom));
    const BandRegion current = context->state.clip ? *context->state.clip : BandRegion(kEverything);
    return StoreClip(*context, BandRegion::Combine(current, BandRegion(device), op));
}

}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    return CombineClipRect(dc, left, top, right, bottom, BandRegion::Op::And);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    return CombineClipRect(dc, left, top, right, bottom, BandRegion::Op::Diff);
}

int OffsetClipRgn(HDC dc, int dx, int dy)
{
    auto context = FindDC(dc);
    if (!context)
        return ERROR;
    if (context->state.clip) {
        const int ddx = LengthToDevice(context->state, context->dpi, dx, false) * (dx < 0 ? -1 : 1);
        const int ddy = LengthToDevice(context->state, context->dpi, dy, true) * (dy < 0 ? -1 : 1);
        context->state.clip->Offset(ddx, ddy);
    }
    return VisibleDeviceRegion(*context).Kind();
}

int GetClipBox(HDC dc, LPRECT box)
{
    auto context = FindDC(dc);
    if (!context || !box)
        return ERROR;
    const BandRegion visible = VisibleDeviceRegion(*context);
    const RECT device = visible.Box();
    const POINT a = ToLogical(context->state, context->dpi, {device.left, device.top});
    const POINT b = ToLogical(context->state, context->dpi, {device.right, device.bottom});
    *box = Normalised(a.x, a.y, b.x, b.y);
    return visible.Kind();
}

int GetClipRgn(HDC dc, HRGN region)
{
    auto context = FindDC(dc);
    auto r = FindRegion(region);
    if (!context || !r)
        return -1;
    if (!context->state.clip)
        return 0;
    r->region = *context->state.clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    DrawTarget target(*context, false);
    const POINT p = LogicalPointToSurface(*context, {x, y});
    return target.Visible(p.x, p.y);
}

BOOL RectVisible(HDC dc, const RECT* rect)
{
    auto context = FindDC(dc);
    if (!context || !rect)
        return FALSE;
    DrawTarget target(*context, false);
    return target.Clip().Intersects(LogicalRectToSurface(*context, *rect));
}
