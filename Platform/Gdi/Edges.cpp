#include "Platform/Gdi/Edges.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Blit.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/DrawTarget.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/Paint.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Gdi/Text.h"

#include <algorithm>
#include <cwchar>
#include <optional>

using namespace ZELL::Gdi;

namespace {

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// One ring of an edge: top and left in one colour, bottom and right in the other.
void Ring(HDC dc, RECT& r, UINT flags, COLORREF topLeft, COLORREF bottomRight)
{
    if (flags & BF_TOP)
        Fill(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    if (flags & BF_LEFT)
        Fill(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    if (flags & BF_BOTTOM)
        Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    if (flags & BF_RIGHT)
        Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    if (flags & BF_LEFT)
        ++r.left;
    if (flags & BF_TOP)
        ++r.top;
    if (flags & BF_RIGHT)
        --r.right;
    if (flags & BF_BOTTOM)
        --r.bottom;
}

void Polygon3(HDC dc, POINT a, POINT b, POINT c, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    const HGDIOBJ oldBrush = SelectObject(dc, brush);
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const POINT points[] = {a, b, c};
    Polygon(dc, points, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// Pixel pictures of the classic glyphs, one character a pixel; each is
// drawn at a whole multiple of its size so that it stays crisp when a box
// is larger than the classic one.
constexpr const char* kCheckGlyph[] = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};
// o: outer shadow, O: outer highlight, i: inner dark shadow, I: inner light,
// w: the well, d: the dot of a checked button.
constexpr const char* kRadioGlyph[] = {
    "....oooo....",
    "..ooiiiioo..",
    ".oiiwwwwIIO.",
    ".oiwwwwwwIO.",
    "oiwwwddwwwIO",
    "oiwwddddwwIO",
    "oiwwddddwwIO",
    "oiwwwddwwwIO",
    ".oIwwwwwwIO.",
    ".OIIwwwwIIO.",
    "..OOIIIIOO..",
    "....OOOO....",
};

// Draws `glyph` with its top-left at (x, y), each pixel a square of `scale`;
// `colorOf` gives the colour of a character or nullopt for none.
template <std::size_t Rows, typename ColorOf>
void PaintGlyph(HDC dc, const char* const (&glyph)[Rows], int x, int y, int scale, ColorOf colorOf)
{
    for (std::size_t row = 0; row < Rows; ++row) {
        const int top = y + static_cast<int>(row) * scale;
        for (int col = 0; glyph[row][col] != 0; ++col) {
            const std::optional<COLORREF> color = colorOf(glyph[row][col]);
            if (color)
                Fill(dc, {x + col * scale, top, x + (col + 1) * scale, top + scale}, *color);
        }
    }
}

// The 7-pixel classic check mark centred in `r`, grown by whole pixels for
// wells larger than the classic 9 pixels.
void CheckMark(HDC dc, const RECT& r, COLORREF color)
{
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int scale = std::max(1, (std::min(w, h) + 2) / 9);
    const int size = 7 * scale;
    PaintGlyph(dc, kCheckGlyph, r.left + (w - size) / 2, r.top + (h - size) / 2, scale,
               [color](char c) -> std::optional<COLORREF> {
                   if (c == '#')
                       return color;
                   return std::nullopt;
               });
}

// The classic radio button: a two-ring sunken circle, lit from the top left.
void RadioGlyph(HDC dc, const RECT& box, UINT state, COLORREF well, COLORREF dot)
{
    const int side = std::min(box.right - box.left, box.bottom - box.top);
    const int scale = std::max(1, side / 12);
    const int size = 12 * scale;
    const int x = box.left + (box.right - box.left - size) / 2;
    const int y = box.top + (box.bottom - box.top - size) / 2;
    const bool checked = (state & DFCS_CHECKED) != 0;
    const bool flat = (state & (DFCS_FLAT | DFCS_MONO)) != 0;
    const COLORREF frame = GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
    PaintGlyph(dc, kRadioGlyph, x, y, scale, [&](char c) -> std::optional<COLORREF> {
        switch (c) {
        case 'o': return flat ? frame : GetSysColor(COLOR_BTNSHADOW);
        case 'O': return flat ? frame : GetSysColor(COLOR_BTNHIGHLIGHT);
        case 'i': return flat ? well : GetSysColor(COLOR_3DDKSHADOW);
        case 'I': return flat ? well : GetSysColor(COLOR_3DLIGHT);
        case 'w': return well;
        case 'd': return checked ? dot : well;
        default: return std::nullopt;
        }
    });
}

void Arrow(HDC dc, const RECT& r, UINT direction, COLORREF color)
{
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const int s = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
    switch (direction) {
    case DFCS_SCROLLUP: Polygon3(dc, {cx - s, cy + s / 2}, {cx + s, cy + s / 2}, {cx, cy - s / 2}, color); break;
    case DFCS_SCROLLLEFT: Polygon3(dc, {cx + s / 2, cy - s}, {cx + s / 2, cy + s}, {cx - s / 2, cy}, color); break;
    case DFCS_SCROLLRIGHT: Polygon3(dc, {cx - s / 2, cy - s}, {cx - s / 2, cy + s}, {cx + s / 2, cy}, color); break;
    default: Polygon3(dc, {cx - s, cy - s / 2}, {cx + s, cy - s / 2}, {cx, cy + s / 2}, color); break;
    }
}

void PushFrame(HDC dc, RECT& r, UINT state)
{
    const UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
    UINT flags = BF_RECT | BF_MIDDLE | BF_ADJUST;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    DrawEdge(dc, &r, edge, flags);
}

// A known context and a rectangle to draw in; the missing rectangle sets
// the error.
bool IsDrawableRect(HDC dc, const RECT* rect)
{
    if (!FindDC(dc))
        return false;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

}  // namespace

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags)
{
    if (!IsDrawableRect(dc, rect))
        return FALSE;
    RECT r = *rect;
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    if (flags & (BF_MONO | BF_FLAT)) {
        const COLORREF frame = (flags & BF_MONO) ? GetSysColor(COLOR_WINDOWFRAME) : shadow;
        if (edge & BDR_OUTER)
            Ring(dc, r, flags, frame, frame);
        if (edge & BDR_INNER) {
            const COLORREF inner = (flags & BF_MONO) ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE);
            Ring(dc, r, flags, inner, inner);
        }
    } else {
        if (edge & BDR_RAISEDOUTER)
            Ring(dc, r, flags, (flags & BF_SOFT) ? highlight : light, dark);
        else if (edge & BDR_SUNKENOUTER)
            Ring(dc, r, flags, (flags & BF_SOFT) ? dark : shadow, highlight);
        if (edge & BDR_RAISEDINNER)
            Ring(dc, r, flags, (flags & BF_SOFT) ? light : highlight, shadow);
        else if (edge & BDR_SUNKENINNER)
            Ring(dc, r, flags, (flags & BF_SOFT) ? shadow : dark, light);
    }
    if ((flags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
        Fill(dc, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT box = LogicalRectToSurface(*context, *rect);
    if (box.left >= box.right || box.top >= box.bottom)
        return TRUE;
    BandRegion ring = BandRegion::Combine(BandRegion(box), BandRegion(RECT{box.left + 1, box.top + 1, box.right - 1,
                                                                            box.bottom - 1}),
                                          BandRegion::Op::Diff);
    DrawTarget target(*context);
    ring = BandRegion::Combine(ring, target.Clip(), BandRegion::Op::And);
    for (const RECT& r : ring.Rects())
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                if (((x - box.left) + (y - box.top)) % 2 == 0)
                    target.Set(x, y, target.Get(x, y) ^ 0xFFFFFFu);
    return TRUE;
}

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state)
{
    if (!IsDrawableRect(dc, rect))
        return FALSE;
    RECT r = *rect;
    const COLORREF text = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    switch (type) {
    case DFC_BUTTON: {
        const UINT kind = state & 0x1F;
        if (kind == DFCS_BUTTONPUSH) {
            PushFrame(dc, r, state);
            if (state & DFCS_ADJUSTRECT)
                *rect = r;
            return TRUE;
        }
        // Check boxes and radio buttons: a square (or round) well of the
        // smaller side, centred vertically at the left.
        const int side = std::min(r.right - r.left, r.bottom - r.top);
        RECT box{r.left, r.top + (r.bottom - r.top - side) / 2, r.left + side, 0};
        box.bottom = box.top + side;
        const bool mixed = kind == DFCS_BUTTON3STATE && (state & DFCS_CHECKED) != 0;
        const bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE)) != 0 || mixed;
        const COLORREF well = GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW);
        if (kind == DFCS_BUTTONRADIO) {
            RadioGlyph(dc, box, state, well, text);
            return TRUE;
        }
        RECT inner = box;
        const UINT edgeFlags = BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0) |
                               ((state & DFCS_MONO) ? BF_MONO : 0);
        DrawEdge(dc, &inner, EDGE_SUNKEN, edgeFlags);
        Fill(dc, inner, well);
        // The indeterminate state of a three-state box: a grey mark on the face.
        if (state & DFCS_CHECKED)
            CheckMark(dc, inner, mixed ? GetSysColor(COLOR_BTNSHADOW) : text);
        return TRUE;
    }
    case DFC_SCROLL:
        PushFrame(dc, r, state);
        if (state & DFCS_PUSHED)
            r = {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        Arrow(dc, r, (state & 0xF) == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : state & 0xF, text);
        return TRUE;
    case DFC_CAPTION: {
        PushFrame(dc, r, state);
        if ((state & 0xF) == DFCS_CAPTIONCLOSE) {
            HPEN pen = CreatePen(PS_SOLID, 2, text);
            const HGDIOBJ old = SelectObject(dc, pen);
            const int inset = std::max(2, (r.right - r.left) / 4);
            MoveToEx(dc, r.left + inset, r.top + inset, nullptr);
            LineTo(dc, r.right - inset, r.bottom - inset);
            MoveToEx(dc, r.right - inset, r.top + inset, nullptr);
            LineTo(dc, r.left + inset, r.bottom - inset);
            SelectObject(dc, old);
            DeleteObject(pen);
        } else {
            Arrow(dc, r, (state & 0xF) == DFCS_CAPTIONMIN ? DFCS_SCROLLDOWN : DFCS_SCROLLUP, text);
        }
        return TRUE;
    }
    case DFC_MENU:
        switch (state & 0xF) {
        case DFCS_MENUCHECK: CheckMark(dc, r, GetSysColor(COLOR_MENUTEXT)); return TRUE;
        case DFCS_MENUBULLET: {
            HBRUSH dot = CreateSolidBrush(GetSysColor(COLOR_MENUTEXT));
            const HGDIOBJ oldBrush = SelectObject(dc, dot);
            const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
            const int cx = (r.left + r.right) / 2;
            const int cy = (r.top + r.bottom) / 2;
            const int s = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 6);
            Ellipse(dc, cx - s, cy - s, cx + s + 1, cy + s + 1);
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            DeleteObject(dot);
            return TRUE;
        }
        default: Arrow(dc, r, DFCS_SCROLLRIGHT, GetSysColor(COLOR_MENUTEXT)); return TRUE;
        }
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
}

namespace {

// An icon at its size (or the given one); disabled, its picture on white is
// embossed as a bitmap is.
BOOL DrawIconState(HDC dc, HICON icon, int x, int y, int cx, int cy, bool disabled)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return FALSE;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    cx = cx > 0 ? cx : static_cast<int>(info.xHotspot * 2);
    cy = cy > 0 ? cy : static_cast<int>(info.yHotspot * 2);
    if (!disabled)
        return DrawIconEx(dc, x, y, icon, cx, cy, 0, nullptr, DI_NORMAL);
    HBITMAP picture = CreateCompatibleBitmap(dc, cx, cy);
    HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, picture);
    PatBlt(memory, 0, 0, cx, cy, WHITENESS);
    DrawIconEx(memory, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    SelectObject(memory, old);
    DeleteDC(memory);
    const BOOL drawn = DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, x, y, cx, cy,
                                  DST_BITMAP | DSS_DISABLED);
    DeleteObject(picture);
    return drawn;
}

}

BOOL DrawStateW(HDC dc, HBRUSH, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx, int cy,
                UINT flags)
{
    if (!FindDC(dc))
        return FALSE;
    const UINT kind = flags & 0xF;
    const bool disabled = (flags & DSS_DISABLED) != 0;
    if (kind == DST_COMPLEX) {
        return proc ? proc(dc, lData, wData, cx, cy) : FALSE;
    }
    if (kind == DST_TEXT || kind == DST_PREFIXTEXT) {
        const auto* text = reinterpret_cast<LPCWSTR>(lData);
        if (!text)
            return FALSE;
        const int length = wData ? static_cast<int>(wData) : -1;
        const UINT format = DT_SINGLELINE | (kind == DST_TEXT ? DT_NOPREFIX : 0);
        if (cx <= 0 || cy <= 0) {
            RECT measure{0, 0, 0, 0};
            DrawText(dc, text, length, &measure, format | DT_CALCRECT);
            cx = cx > 0 ? cx : measure.right;
            cy = cy > 0 ? cy : measure.bottom;
        }
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = GetTextColor(dc);
        RECT r{x, y, x + cx, y + cy};
        if (disabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            RECT moved{x + 1, y + 1, x + cx + 1, y + cy + 1};
            DrawText(dc, text, length, &moved, format);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        }
        DrawText(dc, text, length, &r, format);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        return TRUE;
    }
    if (kind == DST_ICON)
        return DrawIconState(dc, reinterpret_cast<HICON>(lData), x, y, cx, cy, disabled);
    if (kind == DST_BITMAP) {
        const auto bitmap = reinterpret_cast<HBITMAP>(lData);
        BITMAP bm{};
        if (!GetObject(bitmap, sizeof bm, &bm))
            return FALSE;
        cx = cx > 0 ? cx : bm.bmWidth;
        cy = cy > 0 ? cy : bm.bmHeight;
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, bitmap);
        if (!disabled) {
            BitBlt(dc, x, y, cx, cy, source, 0, 0, SRCCOPY);
        } else {
            // Emboss: the non-white parts of the picture as a shape, once in
            // the highlight colour one pixel down-right, once in the shadow.
            HDC mask = CreateCompatibleDC(dc);
            HBITMAP shape = CreateBitmap(cx, cy, 1, 1, nullptr);
            const HGDIOBJ oldMask = SelectObject(mask, shape);
            SetBkColor(source, RGB(255, 255, 255));
            BitBlt(mask, 0, 0, cx, cy, source, 0, 0, SRCCOPY);
            const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
            const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
            for (const auto& [dx, color] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
                HBRUSH brush = CreateSolidBrush(GetSysColor(color));
                const HGDIOBJ oldBrush = SelectObject(dc, brush);
                // Where the shape is black, paint the brush; elsewhere keep.
                BitBlt(dc, x + dx, y + dx, cx, cy, mask, 0, 0, 0x00B8074A);
                SelectObject(dc, oldBrush);
                DeleteObject(brush);
            }
            SetTextColor(dc, oldText);
            SetBkColor(dc, oldBack);
            SelectObject(mask, oldMask);
            DeleteObject(shape);
            DeleteDC(mask);
        }
        SelectObject(source, old);
        DeleteDC(source);
        return TRUE;
    }
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
