// Where the tip goes and what it looks like there: its place beside the
// anchor, its outline (rounded body and anchor), the shadow it casts on what
// lay under it, and painting with the current transparency.
#include "Common/Skin/Support/Monitors.h"
#include "Common/Skin/RichToolTip.h"
#include "Common/Skin/Drawing/SelectedBitmap.h"
#include "Platform/Gdi/Region.h"

#include <algorithm>
#include <utility>

namespace ZELL::Skin {

namespace {

// A memory DC with a bitmap of its own, released in reverse.
class CCanvas {
public:
    CCanvas(HDC like, int width, int height)
        : m_dc(CreateCompatibleDC(like)), m_bitmap(CreateCompatibleBitmap(like, width, height)),
          m_old(SelectObject(m_dc, m_bitmap))
    {
    }
    ~CCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

bool HasSize(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

} // namespace

// The window beside the anchor, on the side the direction asks for, flipped
// to the other side or another anchor position where it would leave the
// work area of the anchor's monitor, and kept inside that area.
void CRichToolTip::Place(SIZE body, POINT anchor, int direction)
{
    RECT work{};
    CMonitors::GetNearestMonitor(anchor).GetWorkAreaRect(&work);
    const int anchorHeight = m_geometry[ANCHOR_W] && m_geometry[ANCHOR_H] ? m_geometry[ANCHOR_H] : 0;
    const int margin = m_geometry[ANCHOR_MARGIN];
    int side = direction & 0x30;
    int position = std::clamp(direction & 0x0F, 0, 2);
    const bool vertical = side == SIDE_BELOW || side == SIDE_ABOVE;
    const int along = vertical ? body.cx : body.cy;
    const int across = (vertical ? body.cy : body.cx) + anchorHeight;
    const int point = vertical ? anchor.x : anchor.y;
    const int low = vertical ? work.left : work.top;
    const int high = vertical ? work.right : work.bottom;
    auto offsetOf = [&](int p) { return p == POSITION_START ? margin : p == POSITION_END ? along - margin : along / 2; };
    auto fits = [&](int p) { return point - offsetOf(p) >= low && point - offsetOf(p) + along <= high; };
    if (!fits(position)) {
        for (int candidate : {POSITION_START, POSITION_END, POSITION_CENTER}) {
            if (fits(candidate)) {
                position = candidate;
                break;
            }
        }
    }
    const int start = point - offsetOf(position);
    const int anchorAcross = vertical ? anchor.y : anchor.x;
    const int lowAcross = vertical ? work.top : work.left;
    const int highAcross = vertical ? work.bottom : work.right;
    const bool towardsEnd = side == SIDE_BELOW || side == SIDE_RIGHT;
    const bool flippedUp = side == SIDE_BELOW && anchorAcross + across > highAcross;
    if (towardsEnd && anchorAcross + across > highAcross)
        side = vertical ? SIDE_ABOVE : SIDE_LEFT;
    else if (!towardsEnd && anchorAcross - across < lowAcross)
        side = vertical ? SIDE_BELOW : SIDE_RIGHT;
    const bool after = side == SIDE_BELOW || side == SIDE_RIGHT;
    const int acrossStart = after ? anchorAcross : anchorAcross - across;

    POINT topLeft = vertical ? POINT{start, acrossStart} : POINT{acrossStart, start};
    const SIZE outline = vertical ? SIZE{body.cx, across} : SIZE{across, body.cy};
    const bool shadow = m_shadow.offsetX != 0 || m_shadow.offsetY != 0;
    m_window = SIZE{outline.cx + (shadow ? std::max(0, m_shadow.offsetX) : 0),
                    outline.cy + (shadow ? std::max(0, m_shadow.offsetY) : 0)};
    if (flippedUp && m_shown.anchorAtControl)
        topLeft.y = AboveControl(topLeft.y);
    topLeft.x = std::clamp<LONG>(topLeft.x, work.left, std::max<LONG>(work.left, work.right - m_window.cx));
    topLeft.y = std::clamp<LONG>(topLeft.y, work.top, std::max<LONG>(work.top, work.bottom - m_window.cy));
    m_activeDirection = side + position;

    m_body = after ? (vertical ? RECT{0, anchorHeight, body.cx, across} : RECT{anchorHeight, 0, across, body.cy})
                   : RECT{0, 0, body.cx, body.cy};
    if (after)
        OffsetRect(&m_content, vertical ? 0 : anchorHeight, vertical ? anchorHeight : 0);
    std::vector<POINT> triangle;
    if (anchorHeight > 0) {
        // The anchor's base on the body's edge that faces the anchor point,
        // at the anchor's position along it; its tip at the point.
        const int tip = std::clamp<int>(vertical ? anchor.x - topLeft.x : anchor.y - topLeft.y, 0, along);
        const int width = m_geometry[ANCHOR_W];
        const int baseStart = position == POSITION_START ? margin
                              : position == POSITION_END ? along - margin - width
                                                         : tip - width / 2;
        const int from = std::clamp(baseStart, 0, along);
        const int to = std::clamp(baseStart + width, 0, along);
        const int edge = vertical ? (after ? m_body.top : m_body.bottom) : (after ? m_body.left : m_body.right);
        triangle.push_back(vertical ? POINT{from, edge} : POINT{edge, from});
        triangle.push_back(vertical ? POINT{tip, after ? 0 : across} : POINT{after ? 0 : across, tip});
        triangle.push_back(vertical ? POINT{to, edge} : POINT{edge, to});
    }
    MakeAnchorStrip(after, vertical, anchorHeight);
    MakeRegion(triangle);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, topLeft.x, topLeft.y, m_window.cx, m_window.cy,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate(FALSE);
}

// A tip anchored under a control that has no room below goes above the
// control rather than over it; its shadow may touch the control.
LONG CRichToolTip::AboveControl(LONG top) const
{
    HWND control = ControlAtPoint();
    if (!control)
        return top;
    RECT r{};
    ::GetWindowRect(control, &r);
    return r.top + 1 + m_shadow.offsetY - m_window.cy;
}

void CRichToolTip::MakeAnchorStrip(bool after, bool vertical, int anchorHeight)
{
    m_strip = RECT{};
    m_edge = RECT{};
    if (anchorHeight <= 0)
        return;
    const RECT& b = m_body;
    if (vertical) {
        m_strip = after ? RECT{b.left, 0, b.right, b.top} : RECT{b.left, b.bottom, b.right, b.bottom + anchorHeight};
        m_edge = after ? RECT{b.left, b.top, b.right, b.top + 1} : RECT{b.left, b.bottom - 1, b.right, b.bottom};
    } else {
        m_strip = after ? RECT{0, b.top, b.left, b.bottom} : RECT{b.right, b.top, b.right + anchorHeight, b.bottom};
        m_edge = after ? RECT{b.left, b.top, b.left + 1, b.bottom} : RECT{b.right - 1, b.top, b.right, b.bottom};
    }
}

// The outline is the body with rounded corners and the anchor; the window's
// own region also holds the outline's shadow, moved by the offsets.
void CRichToolTip::MakeRegion(const std::vector<POINT>& anchorTriangle)
{
    m_region = CreateRoundRectRgn(m_body.left, m_body.top, m_body.right, m_body.bottom, m_geometry[CORNER_W],
                                  m_geometry[CORNER_H]);
    if (anchorTriangle.size() == 3) {
        HRGN anchor = CreatePolygonRgn(anchorTriangle.data(), 3, WINDING);
        CombineRgn(m_region, m_region, anchor, RGN_OR);
        DeleteObject(anchor);
    }
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(shape, m_region, nullptr, RGN_COPY);
    if (m_shadow.offsetX != 0 || m_shadow.offsetY != 0) {
        HRGN moved = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(moved, m_region, nullptr, RGN_COPY);
        OffsetRgn(moved, m_shadow.offsetX, m_shadow.offsetY);
        CombineRgn(shape, shape, moved, RGN_OR);
        DeleteObject(moved);
    }
    // The window owns the shape from now on.
    ::SetWindowRgn(m_hWnd, shape, FALSE);
}

void CRichToolTip::ForgetShape()
{
    if (m_region)
        DeleteObject(std::exchange(m_region, nullptr));
    if (m_under)
        DeleteObject(std::exchange(m_under, nullptr));
}

// --- painting --------------------------------------------------------------

// What lies under the tip is taken once per show, so that every fade step
// blends onto the same picture: the owner's window where the tip covers it,
// the tip's own surface elsewhere.
void CRichToolTip::TakeUnder(HDC dc, int width, int height)
{
    if (m_under)
        return;
    m_under = CreateCompatibleBitmap(dc, width, height);
    CSelectedBitmap under(m_under, dc);
    HDC memory = under.Dc();
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    HWND owner = m_parent ? ::GetAncestor(m_parent->m_hWnd, GA_ROOT) : nullptr;
    RECT tip{};
    RECT below{};
    RECT common{};
    ::GetWindowRect(m_hWnd, &tip);
    if (owner && ::IsWindowVisible(owner) && ::GetWindowRect(owner, &below) && IntersectRect(&common, &tip, &below)) {
        HDC ownerDc = ::GetWindowDC(owner);
        BitBlt(memory, common.left - tip.left, common.top - tip.top, common.right - common.left,
               common.bottom - common.top, ownerDc, common.left - below.left, common.top - below.top, SRCCOPY);
        ::ReleaseDC(owner, ownerDc);
    }
}

// The outline in grey, lighter as the tip grows more transparent, darkens
// what lies under the tip at the shadow's offsets.
void CRichToolTip::CastShadow(HDC dc)
{
    if ((m_shadow.offsetX == 0 && m_shadow.offsetY == 0) || !m_region)
        return;
    RECT box{};
    GetRgnBox(m_region, &box);
    const int width = box.right;
    const int height = box.bottom;
    if (width <= 0 || height <= 0)
        return;
    const int dark = 255 * (100 - m_shadow.darkness) / 100;
    const int grey = dark + (255 - dark) * m_transparency / 100;
    HBITMAP mask = CreateCompatibleBitmap(dc, width, height);
    {
        CSelectedBitmap shape(mask, dc);
        PatBlt(shape.Dc(), 0, 0, width, height, WHITENESS);
        HBRUSH brush = CreateSolidBrush(RGB(grey, grey, grey));
        FillRgn(shape.Dc(), m_region, brush);
        DeleteObject(brush);
    }
    m_drawer.GetDrawManager().DrawShadow(dc, m_shadow.offsetX, m_shadow.offsetY, width, height, mask,
                                         m_shadow.gradient, m_shadow.blurX, m_shadow.blurY);
    DeleteObject(mask);
}

void CRichToolTip::FrameOutline(HDC dc)
{
    if (m_borderWidth <= 0 || m_borderHeight <= 0 || !m_region)
        return;
    HBRUSH brush = CreateSolidBrush(m_borderColor);
    FrameRgn(dc, m_region, brush, m_borderWidth, m_borderHeight);
    DeleteObject(brush);
}

void CRichToolTip::Paint(HDC dc)
{
    RECT client{};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    TakeUnder(dc, width, height);
    CCanvas picture(dc, width, height);
    {
        CSelectedBitmap under(m_under, dc);
        BitBlt(picture.Dc(), 0, 0, width, height, under.Dc(), 0, 0, SRCCOPY);
    }
    CastShadow(picture.Dc());

    CCanvas tip(dc, width, height);
    HBRUSH fill = CreateSolidBrush(m_shown.colorBegin);
    FillRect(tip.Dc(), &client, fill);
    DeleteObject(fill);
    m_drawer.GetDrawManager().FillEffect(tip.Dc(), m_body, m_shown.effect, m_shown.colorBegin, m_shown.colorMiddle,
                                         m_shown.colorEnd, m_shown.granularity, 0);
    if (HasSize(m_strip))
        StretchBlt(tip.Dc(), m_strip.left, m_strip.top, m_strip.right - m_strip.left, m_strip.bottom - m_strip.top,
                   tip.Dc(), m_edge.left, m_edge.top, m_edge.right - m_edge.left, m_edge.bottom - m_edge.top,
                   SRCCOPY);
    m_drawer.DrawMeasured(tip.Dc(), m_content);
    FrameOutline(tip.Dc());

    // The tip blended onto what lies under it, inside the outline only.
    CCanvas blended(dc, width, height);
    BitBlt(blended.Dc(), 0, 0, width, height, picture.Dc(), 0, 0, SRCCOPY);
    m_drawer.GetDrawManager().AlphaBitBlt(blended.Dc(), client, tip.Dc(), 0, 0, 100 - m_transparency);
    if (m_region)
        SelectClipRgn(picture.Dc(), m_region);
    BitBlt(picture.Dc(), 0, 0, width, height, blended.Dc(), 0, 0, SRCCOPY);
    SelectClipRgn(picture.Dc(), nullptr);
    BitBlt(dc, 0, 0, width, height, picture.Dc(), 0, 0, SRCCOPY);
}

}  // namespace ZELL::Skin
