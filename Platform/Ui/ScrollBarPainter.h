#pragma once
// The classic look of a scroll bar: arrow buttons with their glyphs, the
// dithered track, the thumb as a raised button.
#include "Platform/Ui/ScrollBarGeometry.h"

namespace Ui {

class ScrollBarPainter {
public:
    // `pressed` is drawn pushed (arrows) or dark (page parts) when `shown`.
    static void Paint(HDC dc, const ScrollBarGeometry& geometry, const ScrollBarModel& model,
                      ScrollBarPart pressed = ScrollBarPart::None, bool shown = false);

private:
    static void PaintArrow(HDC dc, const RECT& r, UINT glyph, bool enabled, bool pushed);
    static void PaintTrack(HDC dc, const RECT& r, bool dark);
};

}
