#include "Platform/Controls/BalloonShape.h"

#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

CBalloonShape::CBalloonShape(SIZE body, int stemX, bool stemAbove)
{
    const int top = stemAbove ? kStemHeight : 0;
    m_body = RECT{0, top, body.cx, top + body.cy};
    const int lowest = kCorner / 2;
    const int highest = std::max(lowest, static_cast<int>(body.cx) - kCorner / 2 - kStemWidth);
    const int point = std::clamp(stemX, lowest, highest);
    // The stem leans: its point above (or below) the base's left end.
    const int baseY = stemAbove ? top + 1 : top + body.cy - 1;
    const int pointY = stemAbove ? 0 : top + body.cy + kStemHeight;
    m_stem[0] = POINT{point, pointY};
    m_stem[1] = POINT{point, baseY};
    m_stem[2] = POINT{point + kStemWidth, baseY};
}

HRGN CBalloonShape::Region() const
{
    HRGN body = CreateRoundRectRgn(m_body.left, m_body.top, m_body.right + 1, m_body.bottom + 1, kCorner, kCorner);
    HRGN stem = CreatePolygonRgn(m_stem, 3, WINDING);
    CombineRgn(body, body, stem, RGN_OR);
    DeleteObject(stem);
    return body;
}

}
