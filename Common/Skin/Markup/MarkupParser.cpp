#include "Common/Skin/Markup/MarkupParser.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace ZELL::Skin {

namespace {

enum TagId {
    TAG_BOLD = 1, TAG_INDENT, TAG_ITALIC, TAG_UNDERLINE, TAG_STRIKEOUT, TAG_FONT, TAG_HR, TAG_BR, TAG_TAB,
    TAG_LEFT, TAG_CENTER, TAG_RIGHT, TAG_JUSTIFY, TAG_BASELINE, TAG_TOP, TAG_VCENTER, TAG_BOTTOM,
    TAG_BMP, TAG_ICON, TAG_ILST, TAG_STRING, TAG_RULE, TAG_SPAN, TAG_LINK,
};

struct TagInfo {
    int id = 0;
    std::wstring scope; // empty for object tags, which have no closing form
};

const std::map<std::wstring, TagInfo>& TagTable()
{
    static const std::map<std::wstring, TagInfo> table = [] {
        std::map<std::wstring, TagInfo> tags{
            {L"b", {TAG_BOLD, L"bold"}}, {L"indent", {TAG_INDENT, L"indent"}},
            {L"i", {TAG_ITALIC, L"italic"}}, {L"em", {TAG_ITALIC, L"italic"}},
            {L"u", {TAG_UNDERLINE, L"underline"}}, {L"s", {TAG_STRIKEOUT, L"strikeout"}},
            {L"strike", {TAG_STRIKEOUT, L"strikeout"}}, {L"font", {TAG_FONT, L"font"}},
            {L"hr", {TAG_HR, L""}}, {L"br", {TAG_BR, L""}}, {L"\n", {TAG_BR, L""}},
            {L"t", {TAG_TAB, L""}}, {L"\t", {TAG_TAB, L""}},
            {L"left", {TAG_LEFT, L"left"}}, {L"center", {TAG_CENTER, L"center"}},
            {L"right", {TAG_RIGHT, L"right"}}, {L"justify", {TAG_JUSTIFY, L"justify"}},
            {L"baseline", {TAG_BASELINE, L"baseline"}}, {L"top", {TAG_TOP, L"top"}},
            {L"vcenter", {TAG_VCENTER, L"vcenter"}}, {L"middle", {TAG_VCENTER, L"vcenter"}},
            {L"bottom", {TAG_BOTTOM, L"bottom"}}, {L"bmp", {TAG_BMP, L""}}, {L"icon", {TAG_ICON, L""}},
            {L"ilst", {TAG_ILST, L""}}, {L"string", {TAG_STRING, L""}}, {L"span", {TAG_SPAN, L"span"}},
            {L"a", {TAG_LINK, L"link"}},
        };
        for (const wchar_t* name : {L"body", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"code", L"pre", L"big",
                                    L"small", L"sub", L"sup"})
            tags[name] = TagInfo{TAG_RULE, name};
        return tags;
    }();
    return table;
}

const TagInfo* FindTag(const std::wstring& name)
{
    const auto found = TagTable().find(name);
    return found == TagTable().end() ? nullptr : &found->second;
}

// Tables are not in the tag table: they nest by their own scopes.
bool FindTableTag(const std::wstring& name, bool closing, MarkupRunKind& kind)
{
    if (name == L"table")
        kind = closing ? MarkupRunKind::TableEnd : MarkupRunKind::TableStart;
    else if (name == L"tr")
        kind = closing ? MarkupRunKind::RowEnd : MarkupRunKind::RowStart;
    else if (name == L"td")
        kind = closing ? MarkupRunKind::CellEnd : MarkupRunKind::CellStart;
    else
        return false;
    return true;
}

const wchar_t* TableScope(MarkupRunKind kind)
{
    switch (kind) {
    case MarkupRunKind::TableStart:
    case MarkupRunKind::TableEnd:
        return L"table";
    case MarkupRunKind::RowStart:
    case MarkupRunKind::RowEnd:
        return L"tr";
    default:
        return L"td";
    }
}

std::wstring Transformed(std::wstring text, MarkupTransform transform)
{
    if (transform == MarkupTransform::None)
        return text;
    for (wchar_t& c : text) {
        const wint_t wide = static_cast<wint_t>(c);
        c = static_cast<wchar_t>(transform == MarkupTransform::Upper ? std::towupper(wide) : std::towlower(wide));
    }
    if (transform != MarkupTransform::Capitalize)
        return text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((i == 0 || text[i - 1] == L' ') && text[i] >= L'a' && text[i] <= L'z')
            text[i] = static_cast<wchar_t>(text[i] - L'a' + L'A');
    }
    return text;
}

std::wstring ReplacedOrRemoved(const std::wstring& text, bool lineBreakMode)
{
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\r')
            continue;
        if (c == L'\n' || c == L'\t') {
            if (lineBreakMode)
                result += c == L'\n' ? L"<br>" : L"<t>";
            continue;
        }
        result += c;
    }
    return result;
}

} // namespace

struct CMarkupParser::ReadState {
    explicit ReadState(const CMarkupValueReader& values) : reader(values) {}

    // The parser's reader with the measures of the current font.
    CMarkupValueReader reader;
    CMarkupStyle style;
    std::vector<CMarkupStyle> stack;
    std::vector<CMarkupRun> runs;
    std::wstring text;
    int linkCounter = -1;
};

CMarkupParser::CMarkupParser(const CMarkupColorTable::SystemColorSource& systemColor) : m_colors(systemColor) {}

std::wstring CMarkupParser::Prepare(const std::wstring& text) const
{
    return ReplacedOrRemoved(m_entities.Replace(text), m_lineBreakMode);
}

std::vector<CMarkupRun> CMarkupParser::Parse(const std::wstring& text) const
{
    return ParsePrepared(Prepare(text));
}

std::vector<CMarkupRun> CMarkupParser::ParsePrepared(const std::wstring& prepared) const
{
    ReadState state(m_reader);
    state.style = m_baseStyle;
    MeasureCurrentFont(state);
    m_styleSheet.Apply(L"body", state.style, state.reader);
    // The text reads as if enclosed in "<body>"; enclosing it literally would
    // lend a "<" that has no ">" of its own the closing tag's ">".
    state.stack.push_back(state.style);
    state.stack.back().scope = L"body";
    MeasureCurrentFont(state);
    m_styleSheet.Apply(L"body", state.style, state.reader);
    Tokenize(prepared, state);
    return std::move(state.runs);
}

// Text up to the next "<" is a run; "<<" is a literal "<"; a "<" without a
// later ">" is dropped and the rest read as plain text, and a "<" at the very
// end is a literal one.
void CMarkupParser::Tokenize(const std::wstring& text, ReadState& state) const
{
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(L'<', position);
        if (open == std::wstring::npos) {
            state.text.append(text, position, std::wstring::npos);
            break;
        }
        state.text.append(text, position, open - position);
        if (open + 1 == text.size() || text[open + 1] == L'<') {
            state.text += L'<';
            position = open + 2;
            continue;
        }
        const std::size_t close = text.find(L'>', open + 1);
        if (close == std::wstring::npos) {
            state.text.append(text, open + 1, std::wstring::npos);
            break;
        }
        FlushText(state);
        HandleTag(text.substr(open + 1, close - open - 1), state);
        position = close + 1;
    }
    FlushText(state);
}

void CMarkupParser::FlushText(ReadState& state)
{
    if (state.text.empty())
        return;
    CMarkupRun run;
    run.text = Transformed(std::move(state.text), state.style.transform);
    run.style = state.style;
    state.runs.push_back(std::move(run));
    state.text.clear();
}

void CMarkupParser::MeasureCurrentFont(ReadState& state) const
{
    if (!m_fontMetrics)
        return;
    MarkupMetrics metrics = m_fontMetrics(state.style);
    metrics.pixelsPerInchY = m_reader.Metrics().pixelsPerInchY;
    state.reader.SetMetrics(metrics);
}

void CMarkupParser::HandleTag(const std::wstring& tagText, ReadState& state) const
{
    const CMarkupTag tag(tagText);
    MeasureCurrentFont(state);
    MarkupRunKind tableKind = MarkupRunKind::Text;
    if (FindTableTag(tag.Name(), tag.IsClosing(), tableKind)) {
        if (tag.IsClosing())
            CloseTable(tableKind, state);
        else
            OpenTable(tableKind, tag, state);
        return;
    }
    if (tag.IsClosing()) {
        CloseTag(tag.Name(), state);
        return;
    }
    const TagInfo* info = FindTag(tag.Name());
    if (!info)
        return;
    if (!info->scope.empty()) {
        if (state.stack.size() >= kMaxNesting)
            return;
        state.stack.push_back(state.style);
        state.stack.back().scope = info->scope;
    }
    OpenTag(info->id, tag, state);
}

void CMarkupParser::OpenTag(int id, const CMarkupTag& tag, ReadState& state) const
{
    CMarkupStyle& style = state.style;
    const CMarkupValueReader& reader = state.reader;
    switch (id) {
    case TAG_BOLD: style.fontWeight = std::min(style.fontWeight * 2, kMarkupWeightMax); break;
    case TAG_INDENT: style.indent = tag.Has(L"size") ? reader.Length(tag.Value(L"size"), style.indent, true) : 10; break;
    case TAG_ITALIC: style.italic = !style.italic; break;
    case TAG_UNDERLINE: style.underline = !style.underline; break;
    case TAG_STRIKEOUT: style.strikeOut = !style.strikeOut; break;
    case TAG_FONT: OpenFont(tag, reader, style); break;
    case TAG_LEFT: style.align = MarkupAlign::Left; break;
    case TAG_CENTER: style.align = MarkupAlign::Center; break;
    case TAG_RIGHT: style.align = MarkupAlign::Right; break;
    case TAG_JUSTIFY: style.align = MarkupAlign::Justify; break;
    case TAG_BASELINE: style.vAlign = MarkupVAlign::Baseline; break;
    case TAG_TOP: style.vAlign = MarkupVAlign::Top; break;
    case TAG_VCENTER: style.vAlign = MarkupVAlign::Middle; break;
    case TAG_BOTTOM: style.vAlign = MarkupVAlign::Bottom; break;
    case TAG_RULE: m_styleSheet.Apply(tag.Name(), style, reader); break;
    case TAG_SPAN: m_styleSheet.Apply(L"." + tag.Value(L"class"), style, reader); break;
    case TAG_LINK: OpenLink(tag, state); break;
    case TAG_HR: {
        // The rule's own style stays with the rule; the text after it keeps
        // the style it had.
        CMarkupStyle ruleStyle = style;
        m_styleSheet.Apply(L"hr", ruleStyle, reader);
        AddObject(MarkupRunKind::Rule, tag, ruleStyle, state);
        break;
    }
    case TAG_BR: AddObject(MarkupRunKind::LineBreak, tag, style, state); state.runs.back().count = RepeatCount(tag, reader); break;
    case TAG_TAB: AddObject(MarkupRunKind::Tab, tag, style, state); state.runs.back().count = RepeatCount(tag, reader); break;
    case TAG_BMP: AddObject(MarkupRunKind::Bitmap, tag, style, state); break;
    case TAG_ICON: AddObject(MarkupRunKind::Icon, tag, style, state); break;
    case TAG_ILST: AddObject(MarkupRunKind::ImageList, tag, style, state); break;
    case TAG_STRING: AddObject(MarkupRunKind::String, tag, style, state); break;
    default: break;
    }
}

void CMarkupParser::OpenFont(const CMarkupTag& tag, const CMarkupValueReader& reader, CMarkupStyle& style)
{
    const std::wstring face = tag.Value(L"face");
    if (!face.empty())
        style.faceName = face;
    style.fontHeight = reader.Length(tag.Value(L"size"), style.fontHeight, true);
    style.textColor = reader.Color(tag.Value(L"color"), style.textColor);
    reader.ApplyFontStyleLetters(tag.Value(L"style"), style);
    if (tag.Has(L"weight"))
        style.fontWeight = reader.FontWeight(tag.Value(L"weight"));
    if (tag.Has(L"bkgnd"))
        reader.ApplyBackground(tag.Value(L"bkgnd"), style);
}

void CMarkupParser::OpenLink(const CMarkupTag& tag, ReadState& state) const
{
    CMarkupStyle& style = state.style;
    style.linkType = MarkupLinkType::Message;
    style.linkText.clear();
    for (const auto& [name, value] : tag.Attributes()) {
        if (name == L"href" || name == L"msg") {
            style.linkType = name == L"href" ? MarkupLinkType::Href : MarkupLinkType::Message;
            style.linkText = value;
        }
    }
    style.linkNumber = ++state.linkCounter;
    m_styleSheet.Apply(style.linkNumber == m_hoveredLink ? L"a:hover" : L"a:link", style, state.reader);
}

void CMarkupParser::OpenTable(MarkupRunKind kind, const CMarkupTag& tag, ReadState& state) const
{
    if (state.stack.size() >= kMaxNesting)
        return;
    state.stack.push_back(state.style);
    state.stack.back().scope = TableScope(kind);
    ApplyTableAttributes(kind, tag, state.reader, state.style);
    AddObject(kind, tag, state.style, state);
}

void CMarkupParser::ApplyTableAttributes(MarkupRunKind kind, const CMarkupTag& tag, const CMarkupValueReader& reader,
                                         CMarkupStyle& style)
{
    const bool isTable = kind == MarkupRunKind::TableStart;
    // "width" and "height" size the element that writes them: inherited, a
    // table's width would make each of its cells as wide as the table.
    style.minCellWidth = 0;
    style.minCellHeight = 0;
    for (const auto& [name, value] : tag.Attributes()) {
        if (isTable && name == L"cellpadding")
            style.cellPadding = reader.Length(value, style.cellPadding);
        else if (isTable && name == L"cellspacing")
            style.cellSpacing = reader.Length(value, style.cellSpacing);
        else if (isTable && name == L"background")
            style.backImage = value;
        else if (name == L"border")
            style.SetBorderWidth(reader.BorderWidth(value, style.borderWidth));
        else if (name == L"borderstyle")
            style.SetBorderStyle(reader.BorderStyle(value, style.borderStyle));
        else if (name == L"bordercolor")
            style.borderLightColor = style.borderDarkColor = reader.Color(value, style.borderLightColor);
        else if (name == L"bordercolorlight")
            style.borderLightColor = reader.Color(value, style.borderLightColor);
        else if (name == L"bordercolordark")
            style.borderDarkColor = reader.Color(value, style.borderDarkColor);
        else if (name == L"bgcolor") {
            style.backColor = reader.Color(value, style.backColor);
            if (style.backEffect == kMarkupEffectNone && reader.IsEnabled())
                style.backEffect = kMarkupEffectSolid;
        } else if (name == L"bgmidcolor")
            style.backMiddleColor = reader.Color(value, style.backMiddleColor);
        else if (name == L"bgendcolor")
            style.backEndColor = reader.Color(value, style.backEndColor);
        else if (name == L"bgeffect")
            style.backEffect = reader.BackEffect(value, style.backEffect);
        else if (name == L"align")
            style.align = reader.Align(value, style.align);
        else if (name == L"valign")
            style.vAlign = reader.VAlign(value, style.vAlign);
        else if (name == L"width")
            style.minCellWidth = reader.Length(value, style.minCellWidth);
        else if (name == L"height")
            style.minCellHeight = reader.Length(value, style.minCellHeight);
    }
    style.NormalizeBorder();
    if (kind == MarkupRunKind::CellStart && style.borderWidth > 0)
        style.borderWidth = 1;
}

void CMarkupParser::AddObject(MarkupRunKind kind, const CMarkupTag& tag, const CMarkupStyle& style, ReadState& state)
{
    CMarkupRun run;
    run.kind = kind;
    run.style = style;
    run.attributes = tag.Attributes();
    state.runs.push_back(std::move(run));
}

// "br=3" and "t=2": the text after the name is a length, 1 when absent; a
// negative count is none, and a huge one is cut.
int CMarkupParser::RepeatCount(const CMarkupTag& tag, const CMarkupValueReader& reader)
{
    const int count = reader.Length(tag.Argument(), 1);
    return std::clamp(count, 0, kMaxRepeatCount);
}

// A closing tag ends the innermost scope only when it names that scope, so
// tags sharing a scope close each other and stray closings change nothing.
void CMarkupParser::CloseTag(const std::wstring& name, ReadState& state) const
{
    const TagInfo* info = FindTag(name);
    if (!info || info->scope.empty() || state.stack.empty() || state.stack.back().scope != info->scope)
        return;
    state.style = std::move(state.stack.back());
    state.stack.pop_back();
}

// Closing a cell, row or table also ends the scopes that were left open
// inside it, so an unclosed "<b>" in one cell does not leak into the next.
void CMarkupParser::CloseTable(MarkupRunKind kind, ReadState& state) const
{
    const std::wstring scope = TableScope(kind);
    const auto open = std::find_if(state.stack.rbegin(), state.stack.rend(),
                                   [&scope](const CMarkupStyle& style) { return style.scope == scope; });
    if (open == state.stack.rend())
        return;
    state.style = *open;
    state.stack.erase(std::prev(open.base()), state.stack.end());
    CMarkupRun run;
    run.kind = kind;
    run.style = state.style;
    state.runs.push_back(std::move(run));
}

}  // namespace ZELL::Skin
