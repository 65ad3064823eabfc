#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/DrawTarget.h"
#include "Platform/Gdi/FontCache.h"
#include "Platform/Gdi/Paint.h"
#include "Platform/Gdi/PrinterJob.h"
#include "Platform/Gdi/ShapedLine.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Gdi/Transform.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

using namespace ZELL::Gdi;

namespace {

constexpr std::size_t kMaxText = 1 << 20;
const std::wstring kEllipsis = L"...";

// The text of a (text, count) pair; count -1 means up to the terminator.
std::wstring TextOf(LPCWSTR text, int count)
{
    if (!text)
        return {};
    if (count < 0)
        return std::wstring(text, std::min(std::wcslen(text), kMaxText));
    return std::wstring(text, std::min(static_cast<std::size_t>(count), kMaxText));
}

struct Scale {
    double x = 1;
    double y = 1;
};

Scale ScaleOf(const DCObject& dc)
{
    const Extents e = EffectiveExtents(dc.state, dc.dpi);
    return {std::abs(static_cast<double>(e.viewport.cx) / e.window.cx),
            std::abs(static_cast<double>(e.viewport.cy) / e.window.cy)};
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

// A line ready to draw: shaped on its own where it can be, laid out
// otherwise (mnemonic underlines, and printing, which keeps the layouts).
class DrawnLine {
public:
    DrawnLine(const DCObject& dc, FontObject& font, const std::wstring& text, int underlineAt)
    {
        if (underlineAt < 0 && dc.type != DCType::Printer)
            m_shaped = ShapedLine::Of(font, text);
        if (m_shaped) {
            m_ink = m_shaped->Ink();
            m_logical = m_shaped->Logical();
            pango_extents_to_pixels(&m_ink, nullptr);
            pango_extents_to_pixels(&m_logical, nullptr);
        } else {
            m_layout = MakeLineLayout(font, text, underlineAt);
            pango_layout_get_pixel_extents(m_layout, &m_ink, &m_logical);
        }
    }
    ~DrawnLine()
    {
        if (m_layout)
            g_object_unref(m_layout);
    }
    DrawnLine(const DrawnLine&) = delete;
    DrawnLine& operator=(const DrawnLine&) = delete;

    // Pixel extents with the line's top-left corner at 0, 0.
    const PangoRectangle& Ink() const { return m_ink; }
    const PangoRectangle& Logical() const { return m_logical; }
    PangoLayout* Layout() const { return m_layout; }
    void Show(cairo_t* cr) const
    {
        if (m_shaped)
            m_shaped->Show(cr);
        else
            pango_cairo_show_layout(cr, m_layout);
    }

private:
    std::shared_ptr<const ShapedLine> m_shaped;
    PangoLayout* m_layout = nullptr;
    PangoRectangle m_ink{};
    PangoRectangle m_logical{};
};

// Blends the coverage of the glyphs in the mask (whose top-left corner is
// at the box's) in `color` into the target, within its clip.
void BlendMask(DrawTarget& target, cairo_surface_t* mask, const RECT& box, std::uint32_t color)
{
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (const RECT& r : target.ClipRects(box)) {
        for (LONG y = r.top; y < r.bottom; ++y) {
            const unsigned char* row = data + static_cast<std::size_t>(y - box.top) * stride;
            for (LONG x = r.left; x < r.right; ++x) {
                const unsigned a = row[x - box.left];
                if (a == 0)
                    continue;
                if (target.Mono() || a == 255) {
                    if (a >= 128)
                        target.Set(x, y, color);
                    continue;
                }
                const std::uint32_t d = target.Get(x, y);
                std::uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const unsigned dc8 = (d >> shift) & 0xFF;
                    const unsigned sc8 = (color >> shift) & 0xFF;
                    out |= ((sc8 * a + dc8 * (255 - a) + 127) / 255) << shift;
                }
                target.Set(x, y, out);
            }
        }
    }
}

// Draws one line whose cell's top-left corner is at `logical`, blending the
// glyph coverage in the text colour. `clip` (surface pixels) narrows the
// target's clip when given.
void RenderLine(DCObject& dc, DrawTarget& target, FontObject& font, const std::wstring& text, POINT logical,
                int underlineAt, const RECT* clip)
{
    if (text.empty() || !target.Ok())
        return;
    const DrawnLine line(dc, font, text, underlineAt);
    const PangoRectangle& ink = line.Ink();
    const PangoRectangle& extent = line.Logical();
    const Scale scale = ScaleOf(dc);
    const POINT at = LogicalPointToSurface(dc, logical);
    const int left = std::min(ink.x, extent.x);
    const int right = std::max(ink.x + ink.width, extent.x + extent.width);
    const int top = std::min(ink.y, extent.y);
    const int bottom = std::max(ink.y + ink.height, extent.y + extent.height);
    RECT box{at.x + static_cast<LONG>(std::floor(left * scale.x)) - 1,
             at.y + static_cast<LONG>(std::floor(top * scale.y)) - 1,
             at.x + static_cast<LONG>(std::ceil(right * scale.x)) + 1,
             at.y + static_cast<LONG>(std::ceil(bottom * scale.y)) + 1};
    RECT limit = target.Clip().Box();
    if (clip)
        limit = Intersect(limit, *clip);
    box = Intersect(box, limit);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0)
        return;
    if (dc.type == DCType::Printer)
        KeepPrintedText(dc, line.Layout(), at, scale.x, scale.y, target.ClipRects(box));
    const std::uint32_t color = target.DeviceColor(dc.state.textColor);
    if (!target.Mono() && cairo_image_surface_get_format(target.Surface()) == CAIRO_FORMAT_RGB24) {
        // An opaque colour surface: cairo blends the glyphs in straight away,
        // which spares a coverage mask per line and the blend by hand.
        cairo_t* cr = cairo_create(target.Surface());
        for (const RECT& r : target.ClipRects(box))
            cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
        cairo_translate(cr, at.x, at.y);
        cairo_scale(cr, scale.x, scale.y);
        cairo_set_source_rgb(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0);
        line.Show(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target.Surface());
        return;
    }
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, at.x - box.left, at.y - box.top);
    cairo_scale(cr, scale.x, scale.y);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    line.Show(cr);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    BlendMask(target, mask, box, color);
    cairo_surface_destroy(mask);
}

void FillLogical(DCObject& dc, DrawTarget& target, const RECT& logical, const RECT* clip)
{
    RECT box = LogicalRectToSurface(dc, logical);
    if (clip)
        box = Intersect(box, *clip);
    FillArea(target, BandRegion(box), target.DeviceColor(dc.state.bkColor), R2_COPYPEN);
}

// One output line of DrawText.
struct Line {
    std::wstring text;
    int underline = -1;
    int width = 0;
};

bool IsBreakSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

// Strips the mnemonic prefixes: "&&" is a literal ampersand, "&x" underlines x.
std::wstring StripPrefixes(const std::wstring& text, int& underline)
{
    std::wstring out;
    underline = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != L'&')
                underline = static_cast<int>(out.size());
        } else if (text[i] == L'&') {
            continue;  // a trailing single ampersand shows nothing
        }
        out += text[i];
    }
    return out;
}

class TextLayouter {
public:
    TextLayouter(FontObject& font, UINT format) : m_font(font), m_format(format) {}

    int Width(const std::wstring& text) const { return MeasureLine(m_font, text).width; }

    // Splits a paragraph at word breaks so that lines fit `limit`; a single
    // word wider than the limit keeps a line of its own.
    void Wrap(const Line& paragraph, int limit, std::vector<Line>& out) const
    {
        const std::wstring& t = paragraph.text;
        std::size_t start = 0;
        while (true) {
            if (Width(t.substr(start)) <= limit) {
                Emit(paragraph, start, t.size(), out);
                return;
            }
            std::size_t end = start;
            std::size_t best = std::wstring::npos;
            while (end < t.size()) {
                std::size_t next = end;
                while (next < t.size() && IsBreakSpace(t[next]))
                    ++next;
                while (next < t.size() && !IsBreakSpace(t[next]))
                    ++next;
                if (Width(t.substr(start, next - start)) > limit)
                    break;
                best = next;
                end = next;
            }
            if (best == std::wstring::npos) {
                // The first word alone is too wide.
                best = start;
                while (best < t.size() && IsBreakSpace(t[best]))
                    ++best;
                while (best < t.size() && !IsBreakSpace(t[best]))
                    ++best;
            }
            Emit(paragraph, start, best, out);
            start = best;
            while (start < t.size() && IsBreakSpace(t[start]))
                ++start;
            if (start >= t.size())
                return;
        }
    }

    void Shorten(Line& line, int limit) const
    {
        if (line.width <= limit)
            return;
        if (m_format & DT_PATH_ELLIPSIS) {
            const std::size_t sep = line.text.find_last_of(L"\\/");
            if (sep != std::wstring::npos && sep > 0) {
                const std::wstring head = line.text.substr(0, sep);
                const std::wstring tail = line.text.substr(sep);
                std::size_t keep = head.size();
                while (keep > 0 && Width(head.substr(0, keep) + kEllipsis + tail) > limit)
                    --keep;
                const std::wstring shortened = head.substr(0, keep) + kEllipsis + tail;
                if (Width(shortened) <= limit || !(m_format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))) {
                    SetText(line, shortened, static_cast<int>(keep), 0);
                    return;
                }
            }
        }
        if (m_format & DT_WORD_ELLIPSIS && !(m_format & DT_END_ELLIPSIS)) {
            std::size_t keep = line.text.size();
            while (keep > 0) {
                std::size_t cut = keep;
                while (cut > 0 && !IsBreakSpace(line.text[cut - 1]))
                    --cut;
                while (cut > 0 && IsBreakSpace(line.text[cut - 1]))
                    --cut;
                keep = cut;
                if (Width(line.text.substr(0, keep) + kEllipsis) <= limit)
                    break;
            }
            if (keep > 0) {
                SetText(line, line.text.substr(0, keep) + kEllipsis, static_cast<int>(keep), 0);
                return;
            }
        }
        // End ellipsis: the longest head that fits with the dots.
        std::size_t low = 0;
        std::size_t high = line.text.size();
        while (low < high) {
            const std::size_t mid = (low + high + 1) / 2;
            if (Width(line.text.substr(0, mid) + kEllipsis) <= limit)
                low = mid;
            else
                high = mid - 1;
        }
        SetText(line, line.text.substr(0, low) + kEllipsis, static_cast<int>(low), 0);
    }

private:
    void Emit(const Line& paragraph, std::size_t from, std::size_t to, std::vector<Line>& out) const
    {
        Line line;
        std::size_t end = to;
        while (end > from && IsBreakSpace(paragraph.text[end - 1]))
            --end;
        line.text = paragraph.text.substr(from, end - from);
        if (paragraph.underline >= static_cast<int>(from) && paragraph.underline < static_cast<int>(end))
            line.underline = paragraph.underline - static_cast<int>(from);
        line.width = Width(line.text);
        out.push_back(std::move(line));
    }

    // `kept` characters of the old text survive at the front.
    void SetText(Line& line, std::wstring text, int kept, int) const
    {
        if (line.underline >= kept)
            line.underline = -1;
        line.text = std::move(text);
        line.width = Width(line.text);
    }

    FontObject& m_font;
    UINT m_format;
};

std::vector<Line> SplitParagraphs(const std::wstring& text, int underline, bool single)
{
    std::vector<Line> out;
    Line current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (single)
                continue;
            out.push_back(std::move(current));
            current = Line{};
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            continue;
        }
        if (static_cast<int>(i) == underline)
            current.underline = static_cast<int>(current.text.size());
        current.text += c;
    }
    out.push_back(std::move(current));
    return out;
}

}  // namespace

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count)
{
    return ExtTextOutW(dc, x, y, 0, nullptr, text, count < 0 ? 0 : static_cast<UINT>(count), nullptr);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if ((count > 0 && !text) || count > kMaxText) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring value(text ? text : L"", count);
    auto font = FontOf(context->state);
    const TEXTMETRICW& tm = MetricsOf(*font);
    DCState& s = context->state;
    if (s.textAlign & TA_UPDATECP) {
        x = s.position.x;
        y = s.position.y;
    }
    const UINT horizontal = s.textAlign & TA_CENTER;
    // Left-aligned transparent text needs no width: drawing lays it out anyway.
    const bool needWidth = horizontal != TA_LEFT || (s.textAlign & TA_UPDATECP) || s.bkMode == OPAQUE;
    int width = 0;
    if (dx) {
        for (UINT i = 0; i < count; ++i)
            width += dx[i];
    } else if (needWidth) {
        width = MeasureLine(*font, value).width + (s.justifyBreaks > 0 ? s.justifyExtra : 0);
    }
    const UINT vertical = s.textAlign & TA_BASELINE;
    const int left = horizontal == TA_CENTER ? x - width / 2 : horizontal == TA_RIGHT ? x - width : x;
    const int top = vertical == TA_BASELINE ? y - tm.tmAscent : vertical == TA_BOTTOM ? y - tm.tmHeight : y;
    if (s.textAlign & TA_UPDATECP)
        s.position.x = horizontal == TA_RIGHT ? left : left + width;

    DrawTarget target(*context);
    RECT clipRect{};
    const RECT* clip = nullptr;
    if (rect && (options & ETO_CLIPPED)) {
        clipRect = LogicalRectToSurface(*context, *rect);
        clip = &clipRect;
    }
    if (rect && (options & ETO_OPAQUE))
        FillLogical(*context, target, *rect, nullptr);
    if (s.bkMode == OPAQUE)
        FillLogical(*context, target, {left, top, left + width, top + tm.tmHeight}, clip);
    if (dx) {
        int pen = left;
        for (UINT i = 0; i < count; ++i) {
            RenderLine(*context, target, *font, value.substr(i, 1), {pen, top}, -1, clip);
            pen += dx[i];
        }
    } else {
        RenderLine(*context, target, *font, value, {left, top}, -1, clip);
    }
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if (!size || count < 0 || (count > 0 && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = FontOf(context->state);
    const TextExtent extent = MeasureLine(*font, TextOf(text, count));
    size->cx = extent.width;
    size->cy = extent.height;
    return TRUE;
}

BOOL SetTextJustification(HDC dc, int extra, int breaks)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    context->state.justifyExtra = extra;
    context->state.justifyBreaks = breaks;
    return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    auto context = FindDC(dc);
    if (!context)
        return 0;
    if (!rect || (!text && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring value = TextOf(text, count);
    const std::size_t originalLength = value.size();
    auto font = FontOf(context->state);
    const TEXTMETRICW& tm = MetricsOf(*font);
    const bool single = (format & DT_SINGLELINE) != 0;

    if (!(format & DT_EXPANDTABS))
        std::replace(value.begin(), value.end(), L'\t', L' ');
    int underline = -1;
    if (!(format & DT_NOPREFIX)) {
        value = StripPrefixes(value, underline);
        if (format & DT_HIDEPREFIX)
            underline = -1;
    }
    TextLayouter layouter(*font, format);
    const int limit = rect->right - rect->left;
    // Left-aligned transparent lines that are not shortened need no width.
    const bool needWidths = (format & (DT_CENTER | DT_RIGHT | DT_CALCRECT | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS |
                                       DT_WORD_ELLIPSIS)) != 0 ||
                            context->state.bkMode == OPAQUE;
    std::vector<Line> lines;
    for (Line& paragraph : SplitParagraphs(value, underline, single)) {
        if ((format & DT_WORDBREAK) && !single) {
            layouter.Wrap(paragraph, limit, lines);
        } else {
            if (needWidths)
                paragraph.width = layouter.Width(paragraph.text);
            lines.push_back(std::move(paragraph));
        }
    }
    if (value.empty())
        lines.clear();
    if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (Line& line : lines)
            layouter.Shorten(line, limit);
        if ((format & DT_MODIFYSTRING) && text && lines.size() == 1) {
            // Written back within the caller's text only.
            const std::wstring& shown = lines.front().text;
            const std::size_t room = originalLength;
            const std::size_t n = std::min(shown.size(), room);
            auto* out = const_cast<LPWSTR>(text);
            std::copy_n(shown.begin(), n, out);
            if (n < room || count < 0)
                out[n] = 0;
        }
    }

    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int height = lineHeight * static_cast<int>(lines.size());
    int widest = 0;
    for (const Line& line : lines)
        widest = std::max(widest, line.width);

    int top = rect->top;
    if (single && (format & DT_VCENTER))
        top = rect->top + (rect->bottom - rect->top - height) / 2;
    else if (single && (format & DT_BOTTOM))
        top = rect->bottom - height;

    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }

    DrawTarget target(*context);
    RECT clipRect{};
    const RECT* clip = nullptr;
    if (!(format & DT_NOCLIP)) {
        clipRect = LogicalRectToSurface(*context, *rect);
        clip = &clipRect;
    }
    int y = top;
    for (const Line& line : lines) {
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (limit - line.width) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - line.width;
        if (context->state.bkMode == OPAQUE)
            FillLogical(*context, target, {x, y, x + line.width, y + lineHeight}, clip);
        RenderLine(*context, target, *font, line.text, {x, y}, line.underline, clip);
        y += lineHeight;
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM)))
        return top - rect->top + height;
    return height;
}
