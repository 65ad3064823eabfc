#pragma once
// Reads a text of the tooltip mark-up (an HTML subset with a small style
// sheet) into runs: text with its style, object tags and table boundaries.
// Parsing is a pure function of the text and the parser's settings, so the
// measuring and the drawing pass of a tooltip see the same runs.

#include "Common/Skin/Markup/MarkupColorTable.h"
#include "Common/Skin/Markup/MarkupEntities.h"
#include "Common/Skin/Markup/MarkupRun.h"
#include "Common/Skin/Markup/MarkupStyleSheet.h"
#include "Common/Skin/Markup/MarkupValueReader.h"

#include <functional>
#include <string>
#include <vector>

namespace ZELL::Skin {

class CMarkupParser {
public:
    // "br=n" and "t=n" come from texts anyone can write: larger counts are cut
    // to this, so a huge count costs nothing.
    static constexpr int kMaxRepeatCount = 100;
    // Opening tags nested deeper than this are ignored, which bounds the
    // style stack whatever the text.
    static constexpr std::size_t kMaxNesting = 256;
    static constexpr int kNoHoveredLink = -2;

    // The measures of a style's font on the device ("em" and "ex" lengths
    // count in the font current where they are written); the vertical
    // resolution in the answer is not read.
    using FontMetricsSource = std::function<MarkupMetrics(const CMarkupStyle& style)>;

    explicit CMarkupParser(const CMarkupColorTable::SystemColorSource& systemColor = {});

    // Line breaks and tabs in the text become "<br>" and "<t>" when on (the
    // default), and are dropped when off.
    void SetLineBreakMode(bool on) { m_lineBreakMode = on; }
    void SetMetrics(const MarkupMetrics& metrics) { m_reader.SetMetrics(metrics); }
    // Without a source every font measures as the metrics set last say.
    void SetFontMetricsSource(FontMetricsSource source) { m_fontMetrics = std::move(source); }
    void SetEnabled(bool enabled) { m_reader.SetEnabled(enabled); }
    void SetDisabledColor(COLORREF color) { m_reader.SetDisabledColor(color); }
    // Links with this number get the "a:hover" rule, all others "a:link".
    void SetHoveredLink(int number) { m_hoveredLink = number; }
    // The style every text starts from, before the "body" rule (the drawer
    // puts the system's message font in).
    void SetBaseStyle(const CMarkupStyle& style) { m_baseStyle = style; }

    CMarkupStyleSheet& StyleSheet() { return m_styleSheet; }
    const CMarkupStyleSheet& StyleSheet() const { return m_styleSheet; }
    const CMarkupValueReader& Values() const { return m_reader; }

    // Entities replaced, carriage returns removed, line breaks and tabs as tags.
    std::wstring Prepare(const std::wstring& text) const;
    std::vector<CMarkupRun> Parse(const std::wstring& text) const;
    std::vector<CMarkupRun> ParsePrepared(const std::wstring& prepared) const;

private:
    struct ReadState;

    void Tokenize(const std::wstring& text, ReadState& state) const;
    void HandleTag(const std::wstring& tagText, ReadState& state) const;
    void MeasureCurrentFont(ReadState& state) const;
    void OpenTag(int id, const CMarkupTag& tag, ReadState& state) const;
    static void OpenFont(const CMarkupTag& tag, const CMarkupValueReader& reader, CMarkupStyle& style);
    void OpenLink(const CMarkupTag& tag, ReadState& state) const;
    void OpenTable(MarkupRunKind kind, const CMarkupTag& tag, ReadState& state) const;
    static void ApplyTableAttributes(MarkupRunKind kind, const CMarkupTag& tag, const CMarkupValueReader& reader,
                                     CMarkupStyle& style);
    void CloseTag(const std::wstring& name, ReadState& state) const;
    void CloseTable(MarkupRunKind kind, ReadState& state) const;
    static void AddObject(MarkupRunKind kind, const CMarkupTag& tag, const CMarkupStyle& style, ReadState& state);
    static void FlushText(ReadState& state);
    static int RepeatCount(const CMarkupTag& tag, const CMarkupValueReader& reader);

    CMarkupColorTable m_colors;
    CMarkupValueReader m_reader{m_colors};
    FontMetricsSource m_fontMetrics;
    CMarkupStyleSheet m_styleSheet;
    CMarkupEntities m_entities;
    CMarkupStyle m_baseStyle;
    bool m_lineBreakMode = true;
    int m_hoveredLink = kNoHoveredLink;
};

}  // namespace ZELL::Skin
