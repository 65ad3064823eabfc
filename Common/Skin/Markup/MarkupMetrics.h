#pragma once
// What the lengths of the mark-up need to know of the device they are drawn
// on: its vertical resolution and the measures of the current font.

namespace ZELL::Skin {

struct MarkupMetrics {
    int pixelsPerInchY = 96;  // LOGPIXELSY of the drawing DC
    int fontHeight = 16;      // tmHeight of the current font ("em")
    int xHeight = 16;         // height of the text "x" in the current font ("ex")
};

}  // namespace ZELL::Skin
