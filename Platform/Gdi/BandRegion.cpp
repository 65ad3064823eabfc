#include "Platform/Gdi/BandRegion.h"

#include <algorithm>

namespace ZELL::Gdi {
namespace {

bool IsValid(const RECT& r) { return r.left < r.right && r.top < r.bottom; }

// Combines two sorted, disjoint span lists with a sweep over their edges.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, BandRegion::Op op)
{
    std::vector<LONG> edges;
    edges.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    for (const Span& s : b) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<Span> out;
    std::size_t ia = 0;
    std::size_t ib = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const LONG x = edges[i];
        while (ia < a.size() && a[ia].right <= x)
            ++ia;
        while (ib < b.size() && b[ib].right <= x)
            ++ib;
        const bool inA = ia < a.size() && a[ia].left <= x;
        const bool inB = ib < b.size() && b[ib].left <= x;
        bool in = false;
        switch (op) {
        case BandRegion::Op::And: in = inA && inB; break;
        case BandRegion::Op::Or: in = inA || inB; break;
        case BandRegion::Op::Xor: in = inA != inB; break;
        case BandRegion::Op::Diff: in = inA && !inB; break;
        }
        if (!in)
            continue;
        if (!out.empty() && out.back().right == x)
            out.back().right = edges[i + 1];
        else
            out.push_back({x, edges[i + 1]});
    }
    return out;
}

std::vector<Span> NormaliseSpans(std::vector<Span> spans)
{
    std::sort(spans.begin(), spans.end(), [](const Span& l, const Span& r) { return l.left < r.left; });
    std::vector<Span> out;
    for (const Span& s : spans) {
        if (s.left >= s.right)
            continue;
        if (!out.empty() && s.left <= out.back().right)
            out.back().right = std::max(out.back().right, s.right);
        else
            out.push_back(s);
    }
    return out;
}

}  // namespace

BandRegion::BandRegion(const RECT& rect)
{
    if (IsValid(rect))
        m_bands.push_back({rect.top, rect.bottom, {{rect.left, rect.right}}});
}

BandRegion BandRegion::FromRects(const std::vector<RECT>& rects)
{
    BandRegion result;
    for (const RECT& r : rects)
        result = Combine(result, BandRegion(r), Op::Or);
    return result;
}

BandRegion BandRegion::FromRows(LONG top, const std::vector<std::vector<Span>>& rows)
{
    BandRegion result;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LONG y = top + static_cast<LONG>(i);
        result.AppendBand(y, y + 1, NormaliseSpans(rows[i]));
    }
    return result;
}

void BandRegion::AppendBand(LONG top, LONG bottom, std::vector<Span> spans)
{
    if (spans.empty() || top >= bottom)
        return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back({top, bottom, std::move(spans)});
}

const Band* BandRegion::BandAt(LONG y) const
{
    auto it = std::upper_bound(m_bands.begin(), m_bands.end(), y, [](LONG v, const Band& b) { return v < b.bottom; });
    if (it == m_bands.end() || it->top > y)
        return nullptr;
    return &*it;
}

BandRegion BandRegion::Combine(const BandRegion& a, const BandRegion& b, Op op)
{
    std::vector<LONG> ys;
    for (const Band& band : a.m_bands) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const Band& band : b.m_bands) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    static const std::vector<Span> none;
    BandRegion result;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        const Band* ba = a.BandAt(ys[i]);
        const Band* bb = b.BandAt(ys[i]);
        if (!ba && !bb)
            continue;
        result.AppendBand(ys[i], ys[i + 1], CombineSpans(ba ? ba->spans : none, bb ? bb->spans : none, op));
    }
    return result;
}

RECT BandRegion::Box() const
{
    if (m_bands.empty())
        return {};
    RECT box{m_bands.front().spans.front().left, m_bands.front().top, m_bands.front().spans.back().right,
             m_bands.back().bottom};
    for (const Band& band : m_bands) {
        box.left = std::min(box.left, band.spans.front().left);
        box.right = std::max(box.right, band.spans.back().right);
    }
    return box;
}

bool BandRegion::Contains(LONG x, LONG y) const
{
    const Band* band = BandAt(y);
    if (!band)
        return false;
    return std::any_of(band->spans.begin(), band->spans.end(),
                       [x](const Span& s) { return s.left <= x && x < s.right; });
}

bool BandRegion::Intersects(const RECT& rect) const
{
    if (!IsValid(rect))
        return false;
    for (const Band& band : m_bands) {
        if (band.bottom <= rect.top || band.top >= rect.bottom)
            continue;
        for (const Span& s : band.spans)
            if (s.left < rect.right && s.right > rect.left)
                return true;
    }
    return false;
}

void BandRegion::Offset(LONG dx, LONG dy)
{
    for (Band& band : m_bands) {
        band.top += dy;
        band.bottom += dy;
        for (Span& s : band.spans) {
            s.left += dx;
            s.right += dx;
        }
    }
}

std::vector<RECT> BandRegion::Rects() const
{
    std::vector<RECT> rects;
    for (const Band& band : m_bands)
        for (const Span& s : band.spans)
            rects.push_back({s.left, band.top, s.right, band.bottom});
    return rects;
}

int BandRegion::Kind() const
{
    if (m_bands.empty())
        return 1;  // NULLREGION
    return IsRectangle() ? 2 : 3;
}

}  // namespace ZELL::Gdi
