#pragma once
// A set of pixels stored as horizontal bands of disjoint spans: the model
// behind HRGN and behind every clip. Bands are sorted, never overlap, never
// empty, and two touching bands never hold the same spans, so equal sets have
// equal representations.
#include "Platform/Base/Types.h"

#include <vector>

namespace ZELL::Gdi {

struct Span {
    LONG left = 0;
    LONG right = 0;  // exclusive
    bool operator==(const Span&) const = default;
};

struct Band {
    LONG top = 0;
    LONG bottom = 0;  // exclusive
    std::vector<Span> spans;
    bool operator==(const Band&) const = default;
};

class BandRegion {
public:
    enum class Op { And, Or, Xor, Diff };

    BandRegion() = default;
    explicit BandRegion(const RECT& rect);

    static BandRegion FromRects(const std::vector<RECT>& rects);
    // One span per scan line: row y covers [left, right) of each pair.
    static BandRegion FromRows(LONG top, const std::vector<std::vector<Span>>& rows);

    static BandRegion Combine(const BandRegion& a, const BandRegion& b, Op op);

    bool IsEmpty() const { return m_bands.empty(); }
    bool IsRectangle() const { return m_bands.size() == 1 && m_bands.front().spans.size() == 1; }
    RECT Box() const;
    bool Contains(LONG x, LONG y) const;
    bool Intersects(const RECT& rect) const;
    void Offset(LONG dx, LONG dy);
    std::vector<RECT> Rects() const;
    const std::vector<Band>& Bands() const { return m_bands; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;

    bool operator==(const BandRegion&) const = default;

private:
    void AppendBand(LONG top, LONG bottom, std::vector<Span> spans);
    const Band* BandAt(LONG y) const;

    std::vector<Band> m_bands;
};

}  // namespace ZELL::Gdi
