#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/FontCache.h"
#include "Platform/Gdi/ShapedLine.h"
#include "Platform/Gdi/Text.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cwctype>
#include <mutex>

namespace ZELL::Gdi {

PangoContext* NewDrawingContext()
{
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 96.0);
    return context;
}

void KeepDescription(PangoFontDescription*& kept, const PangoFontDescription* description)
{
    // Lines come in runs of one font: its copy usually stays.
    if (kept != nullptr && pango_font_description_equal(kept, description))
        return;
    if (kept != nullptr)
        pango_font_description_free(kept);
    kept = pango_font_description_copy(description);
}

namespace {

constexpr int kDefaultHeight = -11;  // 8 points at 96 dots per inch

// Pango contexts are not thread-safe; each thread measures with its own.
PangoContext* ThreadContext()
{
    struct Holder {
        PangoContext* context = nullptr;
        ~Holder()
        {
            if (context)
                g_object_unref(context);
        }
    };
    thread_local Holder holder;
    if (!holder.context)
        holder.context = NewDrawingContext();
    return holder.context;
}

std::mutex& MetricsMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

PangoWeight ToPangoWeight(LONG weight)
{
    if (weight <= 0)
        return PANGO_WEIGHT_NORMAL;
    return static_cast<PangoWeight>(std::clamp<LONG>(weight, 100, 1000));
}

// Ascent + descent of the description at a given pixel size.
double CellHeightAt(PangoFontDescription* description, int pixels)
{
    PangoFontDescription* probe = pango_font_description_copy(description);
    pango_font_description_set_absolute_size(probe, pixels * PANGO_SCALE);
    PangoFontMetrics* metrics = pango_context_get_metrics(ThreadContext(), probe, nullptr);
    const double cell = static_cast<double>(pango_font_metrics_get_ascent(metrics) +
                                            pango_font_metrics_get_descent(metrics)) /
                        PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    pango_font_description_free(probe);
    return cell;
}

// A line laid out lately on this thread. Text output measures a line and
// then draws it, and owner-drawn text measures whole passages before it
// draws them; keeping the layouts spares the second shaping of the same text.
struct LastLineLayout {
    PangoLayout* layout = nullptr;
    PangoFontDescription* description = nullptr;
    std::wstring text;
    int underlineAt = -1;
    bool underline = false;
    bool strikeOut = false;

    ~LastLineLayout() { Clear(); }
    void Clear()
    {
        if (layout)
            g_object_unref(layout);
        if (description)
            pango_font_description_free(description);
        layout = nullptr;
        description = nullptr;
    }
    bool Matches(const FontObject& font, const std::wstring& line, int underlineIndex) const
    {
        return layout && underlineAt == underlineIndex && underline == (font.log.lfUnderline != 0) &&
               strikeOut == (font.log.lfStrikeOut != 0) && text == line &&
               pango_font_description_equal(description, font.description);
    }
    // The kept layout for another line when no caller holds it any more
    // (null otherwise); the entry keeps no layout afterwards.
    PangoLayout* TakeUnshared()
    {
        PangoLayout* unshared = nullptr;
        if (layout != nullptr && G_OBJECT(layout)->ref_count == 1)
            unshared = layout;
        else if (layout != nullptr)
            g_object_unref(layout);
        layout = nullptr;
        return unshared;
    }
    void Keep(PangoLayout* fresh, const FontObject& font, const std::wstring& line, int underlineIndex)
    {
        if (layout)
            g_object_unref(layout);
        layout = static_cast<PangoLayout*>(g_object_ref(fresh));
        KeepDescription(description, font.description);
        text = line;
        underlineAt = underlineIndex;
        underline = font.log.lfUnderline != 0;
        strikeOut = font.log.lfStrikeOut != 0;
    }
};

std::size_t Utf8Offset(const std::wstring& text, std::size_t index)
{
    return Text::WideToUtf8(std::wstring_view(text).substr(0, std::min(index, text.size()))).size();
}

// Underline and strike-out of a line; null for plain text, which pango then
// lays out without walking an attribute list.
PangoAttrList* LineAttributes(const FontObject& font, const std::wstring& text, int underlineAt)
{
    const bool underlineOne = underlineAt >= 0 && static_cast<std::size_t>(underlineAt) < text.size();
    if (!font.log.lfUnderline && !font.log.lfStrikeOut && !underlineOne)
        return nullptr;
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.log.lfUnderline)
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.log.lfStrikeOut)
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    if (underlineOne) {
        PangoAttribute* attr = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        attr->start_index = static_cast<guint>(Utf8Offset(text, static_cast<std::size_t>(underlineAt)));
        attr->end_index = static_cast<guint>(Utf8Offset(text, static_cast<std::size_t>(underlineAt) + 1));
        pango_attr_list_insert(attrs, attr);
    }
    return attrs;
}

}  // namespace

LOGFONTW StockGuiFont()
{
    LOGFONTW log;
    log.lfHeight = kDefaultHeight;
    std::wcscpy(log.lfFaceName, L"MS Shell Dlg");
    return log;
}

LOGFONTW StockFixedFont()
{
    LOGFONTW log;
    log.lfHeight = kDefaultHeight - 1;
    log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::wcscpy(log.lfFaceName, L"Courier New");
    return log;
}

std::string MapFaceName(const std::wstring& face)
{
    static const struct {
        const wchar_t* face;
        const char* family;
    } kMap[] = {
        {L"", "DejaVu Sans"},
        {L"ms shell dlg", "DejaVu Sans"},
        {L"ms shell dlg 2", "DejaVu Sans"},
        {L"ms sans serif", "DejaVu Sans"},
        {L"microsoft sans serif", "DejaVu Sans"},
        {L"tahoma", "DejaVu Sans"},
        {L"arial", "DejaVu Sans"},
        {L"segoe ui", "DejaVu Sans"},
        {L"verdana", "DejaVu Sans"},
        {L"system", "DejaVu Sans"},
        {L"helvetica", "DejaVu Sans"},
        {L"courier new", "DejaVu Sans Mono"},
        {L"courier", "DejaVu Sans Mono"},
        {L"consolas", "DejaVu Sans Mono"},
        {L"lucida console", "DejaVu Sans Mono"},
        {L"fixedsys", "DejaVu Sans Mono"},
        {L"terminal", "DejaVu Sans Mono"},
        {L"times new roman", "DejaVu Serif"},
        {L"times", "DejaVu Serif"},
        {L"georgia", "DejaVu Serif"},
        {L"ms gothic", "Noto Sans CJK JP"},
        {L"ms pgothic", "Noto Sans CJK JP"},
        {L"ms ui gothic", "Noto Sans CJK JP"},
        {L"meiryo", "Noto Sans CJK JP"},
        {L"meiryo ui", "Noto Sans CJK JP"},
        {L"ms mincho", "Noto Serif CJK JP"},
    };
    const std::wstring key = Lower(face);
    for (const auto& entry : kMap)
        if (key == entry.face)
            return entry.family;
    // Unknown faces are tried as they are, with the message font behind them.
    std::string family = Text::WideToUtf8(face);
    family.erase(std::remove(family.begin(), family.end(), ','), family.end());
    return family + ",DejaVu Sans";
}

std::shared_ptr<FontObject> MakeFontObject(const LOGFONTW& log)
{
    auto font = std::make_shared<FontObject>();
    font->log = log;
    font->log.lfFaceName[LF_FACESIZE - 1] = 0;
    std::wstring face(font->log.lfFaceName);
    PangoFontDescription* description = pango_font_description_new();
    std::string family = MapFaceName(face);
    if ((log.lfPitchAndFamily & 0x3) == FIXED_PITCH && face.empty())
        family = "DejaVu Sans Mono";
    pango_font_description_set_family(description, family.c_str());
    pango_font_description_set_weight(description, ToPangoWeight(log.lfWeight));
    pango_font_description_set_style(description, log.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    // Negative heights are the character (em) height, positive ones the cell
    // height, which the font's own ascent + descent turns into an em height.
    const LONG height = log.lfHeight == 0 ? kDefaultHeight : log.lfHeight;
    const LONG magnitude = std::min<LONG>(std::abs(std::max<LONG>(height, -100000)), 100000);
    double em = magnitude;
    if (height > 0) {
        const double cell = CellHeightAt(description, 100);
        if (cell > 0)
            em = magnitude * 100.0 / cell;
    }
    pango_font_description_set_absolute_size(description, std::max(1.0, em) * PANGO_SCALE);
    font->description = description;
    return font;
}

std::shared_ptr<FontObject> FontOf(const DCState& state)
{
    if (state.font)
        return state.font;
    return GdiHandleTable::FindAs<FontObject>(StockHandle(SYSTEM_FONT), ObjectKind::Font);
}

const TEXTMETRICW& MetricsOf(FontObject& font)
{
    std::lock_guard lock(MetricsMutex());
    if (font.measured)
        return font.metrics;
    PangoFontMetrics* metrics = pango_context_get_metrics(ThreadContext(), font.description, nullptr);
    TEXTMETRICW& tm = font.metrics;
    tm.tmAscent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(metrics));
    tm.tmDescent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(metrics));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    const int em = static_cast<int>(std::lround(
        static_cast<double>(pango_font_description_get_size(font.description)) / PANGO_SCALE));
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmAveCharWidth = std::max(1, PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics)));
    pango_font_metrics_unref(metrics);
    tm.tmWeight = font.log.lfWeight <= 0 ? FW_NORMAL : font.log.lfWeight;
    tm.tmItalic = font.log.lfItalic ? 1 : 0;
    tm.tmUnderlined = font.log.lfUnderline ? 1 : 0;
    tm.tmStruckOut = font.log.lfStrikeOut ? 1 : 0;
    tm.tmCharSet = font.log.lfCharSet;
    // The platform's flag reads "variable pitch" when the bit is set.
    const bool fixed = std::string(pango_font_description_get_family(font.description)).find("Mono") != std::string::npos;
    tm.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : 0x01) | 0x04 | (font.log.lfPitchAndFamily & 0xF0));
    font.measured = true;
    // Measured outside the metrics: the widest common letter.
    tm.tmMaxCharWidth = 0;
    return tm;
}

PangoLayout* MakeLineLayout(FontObject& font, const std::wstring& text, int underlineAt)
{
    MetricsOf(font);
    // Callers only read and draw the layouts, so one may be handed out twice.
    // The oldest entry makes room for a new one.
    constexpr std::size_t kRecentLines = 64;
    thread_local std::array<LastLineLayout, kRecentLines> recent;
    thread_local std::size_t next = 0;
    for (const LastLineLayout& kept : recent) {
        if (kept.Matches(font, text, underlineAt))
            return static_cast<PangoLayout*>(g_object_ref(kept.layout));
    }
    LastLineLayout& last = recent[next++ % kRecentLines];
    // New text in the evicted layout costs less than a new layout; every
    // property is set again below.
    PangoLayout* layout = last.TakeUnshared();
    if (layout == nullptr) {
        layout = pango_layout_new(ThreadContext());
        pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    pango_layout_set_font_description(layout, font.description);
    const std::string utf8 = Text::WideToUtf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoAttrList* attrs = LineAttributes(font, text, underlineAt);
    pango_layout_set_attributes(layout, attrs);
    if (attrs != nullptr)
        pango_attr_list_unref(attrs);
    if (text.find(L'\t') != std::wstring::npos) {
        // Tab stops every eight average characters.
        PangoTabArray* tabs =
            pango_tab_array_new_with_positions(1, TRUE, PANGO_TAB_LEFT, 8 * font.metrics.tmAveCharWidth);
        pango_layout_set_tabs(layout, tabs);
        pango_tab_array_free(tabs);
    } else {
        pango_layout_set_tabs(layout, nullptr);
    }
    last.Keep(layout, font, text, underlineAt);
    return layout;
}

TextExtent MeasureLine(FontObject& font, const std::wstring& text)
{
    const TEXTMETRICW& tm = MetricsOf(font);
    TextExtent extent;
    extent.height = tm.tmHeight;
    extent.baseline = tm.tmAscent;
    if (text.empty())
        return extent;
    if (const auto shaped = ShapedLine::Of(font, text)) {
        PangoRectangle logical = shaped->Logical();
        pango_extents_to_pixels(&logical, nullptr);
        extent.width = logical.width;
        return extent;
    }
    PangoLayout* layout = MakeLineLayout(font, text);
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    extent.width = logical.width;
    g_object_unref(layout);
    return extent;
}

}  // namespace ZELL::Gdi

using namespace ZELL::Gdi;

HFONT CreateFontIndirectW(const LOGFONTW* log)
{
    if (!log) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HFONT>(static_cast<HGDIOBJ>(GdiHandleTable::Add(MakeFontObject(*log))));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face)
{
    LOGFONTW log;
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = static_cast<BYTE>(italic ? 1 : 0);
    log.lfUnderline = static_cast<BYTE>(underline ? 1 : 0);
    log.lfStrikeOut = static_cast<BYTE>(strikeOut ? 1 : 0);
    log.lfCharSet = static_cast<BYTE>(charSet);
    log.lfOutPrecision = static_cast<BYTE>(outPrecision);
    log.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    log.lfQuality = static_cast<BYTE>(quality);
    log.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) {
        std::size_t i = 0;
        for (; i + 1 < LF_FACESIZE && face[i]; ++i)
            log.lfFaceName[i] = face[i];
        log.lfFaceName[i] = 0;
    }
    return CreateFontIndirectW(&log);
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if (!metrics) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = FontOf(context->state);
    *metrics = MetricsOf(*font);
    if (metrics->tmMaxCharWidth == 0)
        metrics->tmMaxCharWidth = std::max<LONG>(MeasureLine(*font, L"W").width, metrics->tmAveCharWidth);
    return TRUE;
}

int GetTextFaceW(HDC dc, int count, LPWSTR face)
{
    auto context = FindDC(dc);
    if (!context)
        return 0;
    const std::wstring name = FontOf(context->state)->log.lfFaceName;
    if (!face)
        return static_cast<int>(name.size()) + 1;
    if (count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t n = std::min(name.size(), static_cast<std::size_t>(count - 1));
    std::copy_n(name.begin(), n, face);
    face[n] = 0;
    return static_cast<int>(n) + 1;
}
