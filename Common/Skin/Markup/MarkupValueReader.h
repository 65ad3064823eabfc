#pragma once
// Readers for the values that tags, attributes and style sheets write:
// lengths with their units, colours and the keyword lists. Each takes the
// text and the current value and returns the new one; an empty or unknown
// text keeps the current value, so bad mark-up never stops a tooltip.

#include "Common/Skin/Markup/MarkupColorTable.h"
#include "Common/Skin/Markup/MarkupMetrics.h"
#include "Common/Skin/Markup/MarkupStyle.h"

#include <string>

namespace ZELL::Skin {

class CMarkupValueReader {
public:
    explicit CMarkupValueReader(const CMarkupColorTable& colors) : m_colors(colors) {}

    void SetMetrics(const MarkupMetrics& metrics) { m_metrics = metrics; }
    const MarkupMetrics& Metrics() const { return m_metrics; }
    // While disabled every colour that is set becomes the disabled colour and
    // backgrounds stay transparent.
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    void SetDisabledColor(COLORREF color) { m_disabledColor = color; }

    // In font-size mode a plain 1..7 is an HTML font size (8 .. 36 pixels).
    int Length(const std::wstring& text, int current, bool fontSizeMode = false) const;
    COLORREF Color(const std::wstring& text, COLORREF current) const;
    int FontWeight(const std::wstring& text) const;
    bool FontItalic(const std::wstring& text, bool current) const;
    MarkupAlign Align(const std::wstring& text, MarkupAlign current) const;
    MarkupVAlign VAlign(const std::wstring& text, MarkupVAlign current) const;
    MarkupTransform Transform(const std::wstring& text, MarkupTransform current) const;
    MarkupBorderStyle BorderStyle(const std::wstring& text, MarkupBorderStyle current) const;
    int BorderWidth(const std::wstring& text, int current) const;
    int BackEffect(const std::wstring& text, int current) const;

    // Apply to the style directly, as they touch several fields.
    void ApplyDecoration(const std::wstring& text, CMarkupStyle& style) const;
    void ApplyFontStyleLetters(const std::wstring& text, CMarkupStyle& style) const;
    // "transparent" or empty: transparent; otherwise an opaque background.
    void ApplyBackground(const std::wstring& text, CMarkupStyle& style) const;

private:
    int UnitLength(long long number, const std::wstring& unit, bool& known) const;

    const CMarkupColorTable& m_colors;
    MarkupMetrics m_metrics;
    bool m_enabled = true;
    COLORREF m_disabledColor = RGB(128, 128, 128);
};

}  // namespace ZELL::Skin
