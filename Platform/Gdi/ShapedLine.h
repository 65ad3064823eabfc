#pragma once
// One line of plain left-to-right text in one font and script, shaped for
// measuring and drawing without a PangoLayout. A layout works out where a
// paragraph may break, how its bidirectional levels run and how the
// baselines of its runs line up before it places a single glyph, more than
// the shaping itself costs; a line that never wraps, reads one way and is one
// run needs none of it. Glyphs, positions and extents are those the layout
// gives the same line. Internal to the drawing layer.
#include "Platform/Gdi/GdiObjectTable.h"

#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace ZELL::Gdi {

class ShapedLine {
public:
    // The text in the font, from the lines this thread shaped lately; null
    // when it needs a layout: control characters, right-to-left scripts or
    // direction marks, an underlined or struck-out font, more than one run.
    static std::shared_ptr<const ShapedLine> Of(FontObject& font, const std::wstring& text);

    ~ShapedLine();
    ShapedLine(const ShapedLine&) = delete;
    ShapedLine& operator=(const ShapedLine&) = delete;

    // Extents in pango units with the line's top at y = 0, as a layout's.
    const PangoRectangle& Ink() const { return m_ink; }
    const PangoRectangle& Logical() const { return m_logical; }
    // Draws the line with its top-left corner at the origin of `cr`.
    void Show(cairo_t* cr) const;

private:
    ShapedLine(PangoItem& item, PangoGlyphString* glyphs);
    static std::shared_ptr<const ShapedLine> Shape(FontObject& font, const std::wstring& text);

    PangoFont* m_font = nullptr;
    PangoGlyphString* m_glyphs = nullptr;
    int m_baseline = 0;  // below the top, pango units
    PangoRectangle m_ink{};
    PangoRectangle m_logical{};
};

}  // namespace ZELL::Gdi
