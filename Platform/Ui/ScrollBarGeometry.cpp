#include "Platform/Ui/ScrollBarGeometry.h"

#include <algorithm>

namespace Ui {

namespace {

// The thumb is never drawn shorter than this, however large the range.
constexpr int kMinThumb = 8;

long long Rounded(long long value, long long numerator, long long denominator)
{
    return (value * numerator + denominator / 2) / denominator;
}

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}

ScrollBarGeometry::ScrollBarGeometry(const RECT& bar, bool vertical, const ScrollBarModel& model)
    : m_bar(bar), m_vertical(vertical), m_min(model.Min()), m_maxPos(model.MaxPos())
{
    const int length = std::max(0, static_cast<int>(vertical ? bar.bottom - bar.top : bar.right - bar.left));
    const int thickness = std::max(0, static_cast<int>(vertical ? bar.right - bar.left : bar.bottom - bar.top));
    const int start = static_cast<int>(vertical ? bar.top : bar.left);
    m_arrowLength = std::min(thickness, length / 2);
    m_trackStart = start + m_arrowLength;
    m_trackEnd = start + length - m_arrowLength;
    const int track = m_trackEnd - m_trackStart;
    if (!model.Enabled() || !model.Necessary() || track < kMinThumb)
        return;
    const long long range = static_cast<long long>(model.Max()) - model.Min() + 1;
    m_thumbLength = model.Page() == 0 ? thickness : static_cast<int>(Rounded(track, model.Page(), range));
    m_thumbLength = std::clamp(m_thumbLength, kMinThumb, track);
    const long long positions = static_cast<long long>(m_maxPos) - m_min;
    if (positions > 0)
        m_thumbOffset = static_cast<int>(Rounded(track - m_thumbLength, static_cast<long long>(model.TrackPos()) - m_min, positions));
}

RECT ScrollBarGeometry::Span(int from, int to) const
{
    if (to <= from)
        return {};
    return m_vertical ? RECT{m_bar.left, from, m_bar.right, to} : RECT{from, m_bar.top, to, m_bar.bottom};
}

RECT ScrollBarGeometry::FirstArrow() const { return Span(m_trackStart - m_arrowLength, m_trackStart); }
RECT ScrollBarGeometry::SecondArrow() const { return Span(m_trackEnd, m_trackEnd + m_arrowLength); }
RECT ScrollBarGeometry::Track() const { return Span(m_trackStart, m_trackEnd); }

RECT ScrollBarGeometry::Thumb() const
{
    return HasThumb() ? Span(ThumbStart(), ThumbStart() + m_thumbLength) : RECT{};
}

RECT ScrollBarGeometry::FirstPage() const
{
    return HasThumb() ? Span(m_trackStart, ThumbStart()) : Track();
}

RECT ScrollBarGeometry::SecondPage() const
{
    return HasThumb() ? Span(ThumbStart() + m_thumbLength, m_trackEnd) : RECT{};
}

ScrollBarPart ScrollBarGeometry::HitTest(POINT p) const
{
    if (!Contains(m_bar, p))
        return ScrollBarPart::None;
    if (Contains(FirstArrow(), p))
        return ScrollBarPart::FirstArrow;
    if (Contains(SecondArrow(), p))
        return ScrollBarPart::SecondArrow;
    if (Contains(Thumb(), p))
        return ScrollBarPart::Thumb;
    if (Contains(FirstPage(), p))
        return ScrollBarPart::FirstPage;
    if (Contains(SecondPage(), p))
        return ScrollBarPart::SecondPage;
    return ScrollBarPart::None;
}

int ScrollBarGeometry::PosForThumbAt(int start) const
{
    const int span = m_trackEnd - m_trackStart - m_thumbLength;
    const long long positions = static_cast<long long>(m_maxPos) - m_min;
    if (!HasThumb() || span <= 0 || positions <= 0)
        return m_min;
    const int offset = std::clamp(start - m_trackStart, 0, span);
    return static_cast<int>(m_min + Rounded(offset, positions, span));
}

}
