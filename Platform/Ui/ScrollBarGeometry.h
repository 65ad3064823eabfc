#pragma once
// Where the parts of a scroll bar lie: the two arrow buttons, the track and
// the thumb in it, for drawing and for telling which part a point is on.
#include "Platform/Ui/ScrollBarModel.h"

namespace Ui {

enum class ScrollBarPart { None, FirstArrow, FirstPage, Thumb, SecondPage, SecondArrow };

class ScrollBarGeometry {
public:
    // `bar` is the whole bar; the thumb stands at the model's track position.
    ScrollBarGeometry(const RECT& bar, bool vertical, const ScrollBarModel& model);

    const RECT& Bar() const { return m_bar; }
    bool Vertical() const { return m_vertical; }
    RECT FirstArrow() const;
    RECT SecondArrow() const;
    RECT Track() const;
    // Empty when the bar shows no thumb (disabled, nothing to scroll, no room).
    RECT Thumb() const;
    bool HasThumb() const { return m_thumbLength > 0; }
    // The part of the track before / after the thumb.
    RECT FirstPage() const;
    RECT SecondPage() const;

    ScrollBarPart HitTest(POINT p) const;
    // Where the thumb starts along the bar's axis, and the position that a
    // thumb starting at `start` stands for.
    int ThumbStart() const { return m_trackStart + m_thumbOffset; }
    int PosForThumbAt(int start) const;
    // A point's coordinate along the axis.
    int Along(POINT p) const { return m_vertical ? p.y : p.x; }

private:
    RECT Span(int from, int to) const;  // a piece of the bar along its axis

    RECT m_bar{};
    bool m_vertical = true;
    int m_min = 0;
    int m_maxPos = 0;
    int m_arrowLength = 0;
    int m_trackStart = 0;
    int m_trackEnd = 0;
    int m_thumbLength = 0;
    int m_thumbOffset = 0;
};

}
