#include "Platform/Gdi/ShapedLine.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Gdi/FontCache.h"

#include <algorithm>
#include <array>
#include <functional>

namespace ZELL::Gdi {
namespace {

// What a layout would treat otherwise than by shaping the text as one run of
// left-to-right items: breaks, tabs, controls and anything that can read
// right to left.
bool NeedsLayout(wchar_t c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || (u >= 0x0590 && u <= 0x08FF) || u == 0x061C ||
           (u >= 0x200E && u <= 0x200F) || (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) ||
           (u >= 0xD800 && u <= 0xDFFF) || (u >= 0xFB1D && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF) ||
           (u >= 0x10800 && u <= 0x10FFF) || (u >= 0x1E800 && u <= 0x1EFFF);
}

// Shaping sets the font on the context, so it has one of its own.
PangoContext* ShapingContext()
{
    struct Holder {
        PangoContext* context = NewDrawingContext();
        ~Holder() { g_object_unref(context); }
    };
    thread_local Holder holder;
    return holder.context;
}

// The union of a run's logical extents with the line's origin, as a layout
// line forms it.
PangoRectangle WithOrigin(const PangoRectangle& run)
{
    const int left = std::min(0, run.x);
    const int top = std::min(0, run.y);
    return {left, top, std::max(0, run.x + run.width) - left, std::max(0, run.y + run.height) - top};
}

struct RecentLine {
    std::size_t hash = 0;
    std::wstring text;
    PangoFontDescription* description = nullptr;
    bool known = false;
    std::shared_ptr<const ShapedLine> line;  // null for a line that needs a layout

    RecentLine() = default;
    RecentLine(const RecentLine&) = delete;
    RecentLine& operator=(const RecentLine&) = delete;
    ~RecentLine()
    {
        if (description)
            pango_font_description_free(description);
    }
    bool Matches(std::size_t h, const FontObject& font, const std::wstring& t) const
    {
        return known && hash == h && text == t && pango_font_description_equal(description, font.description);
    }
    void Keep(std::size_t h, const FontObject& font, const std::wstring& t, std::shared_ptr<const ShapedLine> shaped)
    {
        KeepDescription(description, font.description);
        hash = h;
        text = t;
        known = true;
        line = std::move(shaped);
    }
};

}  // namespace

std::shared_ptr<const ShapedLine> ShapedLine::Of(FontObject& font, const std::wstring& text)
{
    if (font.log.lfUnderline || font.log.lfStrikeOut || text.empty() ||
        std::any_of(text.begin(), text.end(), NeedsLayout))
        return nullptr;
    // Text output measures a line and then draws it, and owner-drawn text
    // measures passages before drawing them: the second time is a look-up.
    constexpr std::size_t kRecentLines = 64;
    thread_local std::array<RecentLine, kRecentLines> recent;
    thread_local std::size_t next = 0;
    const std::size_t hash = std::hash<std::wstring>{}(text);
    for (const RecentLine& kept : recent) {
        if (kept.Matches(hash, font, text))
            return kept.line;
    }
    auto line = Shape(font, text);
    recent[next++ % kRecentLines].Keep(hash, font, text, line);
    return line;
}

std::shared_ptr<const ShapedLine> ShapedLine::Shape(FontObject& font, const std::wstring& text)
{
    const std::string utf8 = Text::WideToUtf8(text);
    PangoContext* context = ShapingContext();
    pango_context_set_font_description(context, font.description);
    PangoAttrList* attrs = pango_attr_list_new();
    GList* items = pango_itemize_with_base_dir(context, PANGO_DIRECTION_LTR, utf8.c_str(), 0,
                                               static_cast<int>(utf8.size()), attrs, nullptr);
    pango_attr_list_unref(attrs);
    // A layout lines up the baselines of runs in other fonts or scripts by
    // the fonts' baseline tables: one run needs no such care.
    std::shared_ptr<ShapedLine> line;
    if (items != nullptr && items->next == nullptr) {
        auto* item = static_cast<PangoItem*>(items->data);
        PangoGlyphString* glyphs = pango_glyph_string_new();
        pango_shape_with_flags(utf8.c_str() + item->offset, item->length, utf8.c_str(), static_cast<int>(utf8.size()),
                               &item->analysis, glyphs, PANGO_SHAPE_ROUND_POSITIONS);
        line.reset(new ShapedLine(*item, glyphs));
    }
    g_list_free_full(items, reinterpret_cast<GDestroyNotify>(pango_item_free));
    return line;
}

ShapedLine::ShapedLine(PangoItem& item, PangoGlyphString* glyphs)
    : m_font(static_cast<PangoFont*>(g_object_ref(item.analysis.font))), m_glyphs(glyphs)
{
    pango_glyph_string_extents(glyphs, m_font, &m_ink, &m_logical);
    m_logical = WithOrigin(m_logical);
    // A layout puts the line's top at 0 and its baseline below it.
    m_baseline = -m_logical.y;
    m_logical.y += m_baseline;
    m_ink.y += m_baseline;
}

ShapedLine::~ShapedLine()
{
    pango_glyph_string_free(m_glyphs);
    g_object_unref(m_font);
}

void ShapedLine::Show(cairo_t* cr) const
{
    cairo_move_to(cr, 0, static_cast<double>(m_baseline) / PANGO_SCALE);
    pango_cairo_show_glyph_string(cr, m_font, m_glyphs);
}

}  // namespace ZELL::Gdi
