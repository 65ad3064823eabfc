#pragma once
// The outline of a balloon tip: a rounded body with a stem whose point
// touches the anchor, above the body when the balloon hangs below its
// anchor and below it otherwise.
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

class CBalloonShape {
public:
    static constexpr int kStemHeight = 14;
    static constexpr int kStemWidth = 14;
    static constexpr int kCorner = 12;
    // How far in from the body's left edge the stem's point sits by default.
    static constexpr int kStemInset = 18;

    CBalloonShape() = default;
    // `stemX` is the point's distance from the window's left edge; it is kept
    // clear of the rounded corners.
    CBalloonShape(SIZE body, int stemX, bool stemAbove);

    SIZE WindowSize() const { return SIZE{m_body.right - m_body.left, m_body.bottom - m_body.top + kStemHeight}; }
    const RECT& Body() const { return m_body; }
    POINT StemPoint() const { return m_stem[0]; }
    // A new region of the outline, owned by the caller.
    HRGN Region() const;

private:
    RECT m_body{};
    POINT m_stem[3]{};
};

}
