#include "Platform/Gdi/Draw.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/Coverage.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Paint.h"
#include "Platform/Gdi/ShapeRaster.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Gdi/Transform.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

using namespace ZELL::Gdi;

namespace {

constexpr int kMaxPenWidth = 4096;
constexpr int kMaxPoints = 1 << 20;

template <typename Handle>
Handle AddObject(std::shared_ptr<GdiObject> object)
{
    return static_cast<Handle>(static_cast<HGDIOBJ>(GdiHandleTable::Add(std::move(object))));
}

RECT Inset(const RECT& r, int by)
{
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// The brush a handle or a "system colour + 1" value stands for.
std::shared_ptr<BrushObject> ResolveBrush(HBRUSH brush)
{
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31)
        return GdiHandleTable::FindAs<BrushObject>(GetSysColorBrush(static_cast<int>(value - 1)), ObjectKind::Brush);
    return GdiHandleTable::FindAs<BrushObject>(brush, ObjectKind::Brush);
}

// On/off run lengths of the cosmetic styles.
std::vector<int> DashPattern(int style)
{
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// Draws pen lines between surface points; keeps the dash phase across the
// segments of one figure, as the platform does.
class PenStroker {
public:
    PenStroker(const DCObject& dc, DrawTarget& target)
        : m_dc(dc), m_target(target)
    {
        const DCState& s = dc.state;
        m_pen = s.pen.get();
        if (!m_pen || m_pen->style == PS_NULL) {
            m_pen = nullptr;
            return;
        }
        m_color = target.DeviceColor(PenColor(s, *m_pen));
        m_background = target.DeviceColor(s.bkColor);
        m_opaqueGaps = s.bkMode == OPAQUE;
        m_width = m_pen->width <= 1 ? 1 : std::min(kMaxPenWidth, std::max(1, LengthToDevice(s, dc.dpi, m_pen->width, false)));
        if (m_width == 1)
            m_dashes = DashPattern(m_pen->style);
    }

    bool IsNull() const { return m_pen == nullptr; }
    int Width() const { return m_width; }
    std::uint32_t Color() const { return m_color; }

    // From a to b, b itself excluded.
    void Line(POINT a, POINT b)
    {
        if (!m_pen)
            return;
        if (m_width > 1) {
            WideLine(a, b);
            return;
        }
        const int dx = std::abs(b.x - a.x);
        const int dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? 1 : -1;
        int err = dx + dy;
        POINT p = a;
        while (p.x != b.x || p.y != b.y) {
            Plot(p.x, p.y);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                p.x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                p.y += sy;
            }
        }
    }

private:
    void Plot(int x, int y)
    {
        bool on = true;
        if (!m_dashes.empty()) {
            on = (m_dashIndex % 2) == 0;
            if (++m_dashRun >= m_dashes[m_dashIndex]) {
                m_dashRun = 0;
                m_dashIndex = (m_dashIndex + 1) % m_dashes.size();
            }
        }
        if (!on && !m_opaqueGaps)
            return;
        if (x < 0 || y < 0 || x >= m_target.Width() || y >= m_target.Height() || !m_target.Visible(x, y))
            return;
        m_target.Set(x, y, Rop2(m_dc.state.rop2, on ? m_color : m_background, m_target.Get(x, y)));
    }

    void WideLine(POINT a, POINT b)
    {
        const int half = m_width / 2 + 1;
        const RECT box{std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half + 1,
                       std::max(a.y, b.y) + half + 1};
        const int cap = m_pen->endCap;
        const BandRegion area = CairoCoverage(box, [&](cairo_t* cr) {
            cairo_set_line_width(cr, m_width);
            cairo_set_line_cap(cr, cap == PS_ENDCAP_FLAT     ? CAIRO_LINE_CAP_BUTT
                                   : cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                             : CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, a.x + 0.5, a.y + 0.5);
            cairo_line_to(cr, b.x + 0.5, b.y + 0.5);
            cairo_stroke(cr);
        });
        FillArea(m_target, area, m_color, m_dc.state.rop2);
    }

    const DCObject& m_dc;
    DrawTarget& m_target;
    const PenObject* m_pen = nullptr;
    std::uint32_t m_color = 0;
    std::uint32_t m_background = 0;
    bool m_opaqueGaps = false;
    int m_width = 1;
    std::vector<int> m_dashes;
    std::size_t m_dashIndex = 0;
    int m_dashRun = 0;
};

// Draws a closed or open figure through surface points.
void StrokePoints(PenStroker& stroker, const std::vector<POINT>& points, bool closed)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        stroker.Line(points[i], points[i + 1]);
    if (closed && points.size() > 2)
        stroker.Line(points.back(), points.front());
}

// A figure with an outline ring and an interior, both already in surface
// pixels; solid pens paint the ring, styled pens trace `outline`.
void PaintFigure(DCObject& dc, DrawTarget& target, PenStroker& stroker, const BandRegion& interior,
                 const BandRegion& ring, const std::vector<POINT>& outline)
{
    FillArea(dc, target, interior, dc.state.brush.get(), dc.state.rop2);
    if (stroker.IsNull())
        return;
    if (dc.state.pen->style == PS_SOLID || dc.state.pen->style == PS_INSIDEFRAME || stroker.Width() > 1 ||
        outline.empty())
        FillArea(target, ring, stroker.Color(), dc.state.rop2);
    else
        StrokePoints(stroker, outline, true);
}

// Paints through `paint` into the surface box of a logical rectangle; FALSE
// when the handle is unknown or the context has no surface to paint on.
template <typename Paint>
BOOL PaintSurfaceBox(HDC dc, const RECT& logical, Paint paint)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    DrawTarget target(*context);
    if (!target.Ok())
        return FALSE;
    return paint(*context, target, LogicalRectToSurface(*context, logical));
}

using Coverage = BandRegion (*)(const RECT&, int, int);

BandRegion RectCover(const RECT& r, int, int) { return BandRegion(r); }
BandRegion EllipseCover(const RECT& r, int, int) { return EllipseCoverage(r); }
BandRegion RoundCover(const RECT& r, int ew, int eh) { return RoundRectCoverage(r, std::max(ew, 0), std::max(eh, 0)); }

BOOL DrawBoxFigure(HDC dc, int left, int top, int right, int bottom, int ew, int eh, Coverage cover)
{
    const RECT logical{left, top, right, bottom};
    return PaintSurfaceBox(dc, logical, [&](DCObject& context, DrawTarget& target, const RECT& box) {
        PenStroker stroker(context, target);
        const int dew = LengthToDevice(context.state, context.dpi, ew, false);
        const int deh = LengthToDevice(context.state, context.dpi, eh, true);
        if (stroker.IsNull()) {
            // Without a pen the figure is one pixel smaller, as on the platform.
            FillArea(context, target, cover({box.left, box.top, box.right - 1, box.bottom - 1}, dew, deh),
                     context.state.brush.get(), context.state.rop2);
            return TRUE;
        }
        const int w = stroker.Width();
        const BandRegion outer = cover(box, dew, deh);
        const RECT innerBox = Inset(box, w);
        const BandRegion inner = Empty(innerBox) ? BandRegion() : cover(innerBox, dew - 2 * w, deh - 2 * w);
        std::vector<POINT> outline;
        if (cover == RectCover)
            outline = {{box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, {box.left, box.bottom - 1}};
        PaintFigure(context, target, stroker, inner, BandRegion::Combine(outer, inner, BandRegion::Op::Diff), outline);
        return TRUE;
    });
}


std::vector<POINT> ToSurface(const DCObject& dc, const POINT* points, int count)
{
    std::vector<POINT> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        out.push_back(LogicalPointToSurface(dc, points[i]));
    return out;
}

// The context and brush of a rectangle fill; the brush is null when the
// handle is unknown or the rectangle or brush is bad.
struct BrushedDC {
    std::shared_ptr<DCObject> context;
    std::shared_ptr<BrushObject> brush;
};

BrushedDC FindBrushedDC(HDC dc, const RECT* rect, HBRUSH brush)
{
    auto context = FindDC(dc);
    if (!context)
        return {};
    auto resolved = ResolveBrush(brush);
    if (!rect || !resolved) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return {};
    }
    return {std::move(context), std::move(resolved)};
}

// The context of a figure through `count` points, at least `minimum` of
// them; null when the handle is unknown or the list is bad.
std::shared_ptr<DCObject> FindPointsDC(HDC dc, const POINT* points, long long count, long long minimum)
{
    auto context = FindDC(dc);
    if (!context)
        return nullptr;
    if (!points || count < minimum || count > kMaxPoints) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return context;
}

// The surface pixel of a logical point when it lies on the target and
// inside its clip.
std::optional<POINT> VisiblePixel(const DCObject& dc, const DrawTarget& target, int x, int y)
{
    const POINT p = LogicalPointToSurface(dc, {x, y});
    if (!target.Ok() || p.x < 0 || p.y < 0 || p.x >= target.Width() || p.y >= target.Height() ||
        !target.Visible(p.x, p.y))
        return std::nullopt;
    return p;
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF color)
{
    const int base = style & PS_STYLE_MASK;
    if (base < PS_SOLID || base > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = std::make_shared<PenObject>();
    pen->style = base;
    pen->endCap = style & PS_ENDCAP_MASK;
    pen->geometric = (style & PS_GEOMETRIC) != 0;
    pen->width = std::clamp(width, 0, kMaxPenWidth);
    // Styled lines exist only for thin pens; wider ones draw solid.
    if (pen->width > 1 && base >= PS_DASH && base <= PS_DASHDOTDOT)
        pen->style = PS_SOLID;
    pen->color = color & 0xFFFFFF;
    return AddObject<HPEN>(pen);
}

HPEN CreatePenIndirect(const LOGPEN* log)
{
    if (!log) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(log->lopnStyle), log->lopnWidth.x, log->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*)
{
    if (!brush || width > static_cast<DWORD>(kMaxPenWidth)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(style), static_cast<int>(width), brush->lbColor);
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto brush = std::make_shared<BrushObject>();
    brush->color = color & 0xFFFFFF;
    return AddObject<HBRUSH>(brush);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto brush = std::make_shared<BrushObject>();
    brush->style = BS_HATCHED;
    brush->hatch = hatch;
    brush->color = color & 0xFFFFFF;
    return AddObject<HBRUSH>(brush);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    auto source = GdiHandleTable::FindAs<BitmapObject>(bitmap, ObjectKind::Bitmap);
    if (!source) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto brush = std::make_shared<BrushObject>();
    brush->style = BS_PATTERN;
    brush->pattern = source->Clone();
    if (!brush->pattern)
        return nullptr;
    return AddObject<HBRUSH>(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* log)
{
    if (!log) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (log->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(log->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(log->lbHatch), log->lbColor);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const BrushedDC found = FindBrushedDC(dc, rect, brush);
    if (!found.brush)
        return 0;
    DCObject& context = *found.context;
    DrawTarget target(context);
    FillArea(context, target, BandRegion(LogicalRectToSurface(context, *rect)), found.brush.get(), R2_COPYPEN);
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const BrushedDC found = FindBrushedDC(dc, rect, brush);
    if (!found.brush)
        return 0;
    DCObject& context = *found.context;
    const RECT box = LogicalRectToSurface(context, *rect);
    if (Empty(box))
        return 1;
    const BandRegion ring =
        BandRegion::Combine(BandRegion(box), BandRegion(Inset(box, 1)), BandRegion::Op::Diff);
    DrawTarget target(context);
    FillArea(context, target, ring, found.brush.get(), R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect)
{
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    const RECT logical{x, y, x + width, y + height};
    return PaintSurfaceBox(dc, logical, [&](DCObject& context, DrawTarget& target, const RECT& box) {
        const BYTE code = static_cast<BYTE>(rop >> 16);
        BrushSampler sampler(context, context.state.brush.get(), target);
        const BandRegion visible = BandRegion::Combine(BandRegion(box), target.Clip(), BandRegion::Op::And);
        for (const RECT& r : visible.Rects()) {
            for (LONG py = r.top; py < r.bottom; ++py) {
                for (LONG px = r.left; px < r.right; ++px) {
                    std::uint32_t pattern = 0;
                    sampler.At(px, py, pattern);
                    target.Set(px, py, Rop3(code, pattern, 0, target.Get(px, py)));
                }
            }
        }
        return TRUE;
    });
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    return DrawBoxFigure(dc, left, top, right, bottom, 0, 0, RectCover);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    return DrawBoxFigure(dc, left, top, right, bottom, ellipseWidth, ellipseHeight, RoundCover);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    return DrawBoxFigure(dc, left, top, right, bottom, 1, 1, EllipseCover);
}

BOOL Polygon(HDC dc, const POINT* points, int count)
{
    auto context = FindPointsDC(dc, points, count, 2);
    if (!context)
        return FALSE;
    DrawTarget target(*context);
    const std::vector<POINT> surface = ToSurface(*context, points, count);
    FillArea(*context, target, PolygonCoverage(surface.data(), count, context->state.polyFillMode),
             context->state.brush.get(), context->state.rop2);
    PenStroker stroker(*context, target);
    StrokePoints(stroker, surface, true);
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count)
{
    auto context = FindPointsDC(dc, points, count, 2);
    if (!context)
        return FALSE;
    DrawTarget target(*context);
    PenStroker stroker(*context, target);
    StrokePoints(stroker, ToSurface(*context, points, count), false);
    return TRUE;
}

BOOL PolylineTo(HDC dc, const POINT* points, DWORD count)
{
    auto context = FindPointsDC(dc, points, count, 0);
    if (!context)
        return FALSE;
    if (count == 0)
        return TRUE;
    std::vector<POINT> all{context->state.position};
    all.insert(all.end(), points, points + count);
    DrawTarget target(*context);
    PenStroker stroker(*context, target);
    StrokePoints(stroker, ToSurface(*context, all.data(), static_cast<int>(all.size())), false);
    context->state.position = points[count - 1];
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    {
        DrawTarget target(*context);
        PenStroker stroker(*context, target);
        stroker.Line(LogicalPointToSurface(*context, context->state.position), LogicalPointToSurface(*context, {x, y}));
    }
    context->state.position = {x, y};
    return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    auto context = FindDC(dc);
    if (!context)
        return CLR_INVALID;
    DrawTarget target(*context);
    const std::optional<POINT> p = VisiblePixel(*context, target, x, y);
    if (!p)
        return CLR_INVALID;
    const std::uint32_t value = target.DeviceColor(color);
    target.Set(p->x, p->y, value);
    return ToColorRef(value);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color)
{
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    auto context = FindDC(dc);
    if (!context)
        return CLR_INVALID;
    DrawTarget target(*context, false);
    const std::optional<POINT> p = VisiblePixel(*context, target, x, y);
    return p ? ToColorRef(target.Get(p->x, p->y)) : CLR_INVALID;
}
