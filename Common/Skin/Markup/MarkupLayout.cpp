#include "Common/Skin/Markup/MarkupLayout.h"

#include <algorithm>
#include <numeric>

namespace ZELL::Skin {

namespace {

constexpr std::wstring_view kBreakCharacters = L" -.,!:;)}]?";

bool IsBlank(wchar_t c) { return c == L' '; }

int CountBlanks(std::wstring_view text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), L' '));
}

std::wstring_view TrimLeading(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::wstring_view TrimTrailing(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "width=50%" gives 50 and a percentage; "width=80" gives 80 pixels.
struct Extent {
    int value = 0;
    bool percent = false;
};

Extent ReadExtent(const CMarkupRun& run, const wchar_t* name, Extent fallback)
{
    for (const auto& [attribute, value] : run.attributes) {
        if (attribute != name || value.empty())
            continue;
        Extent extent;
        extent.percent = value.back() == L'%';
        try {
            extent.value = std::clamp(std::stoi(value), 0, 100000);
        } catch (...) {
            return fallback;
        }
        return extent;
    }
    return fallback;
}

int DividedOrZero(long long value, int divisor) { return divisor == 0 ? 0 : static_cast<int>(value / divisor); }

} // namespace

// One placed piece of a line, with its x relative to the area's left edge.
struct LineItem {
    MarkupBoxKind kind = MarkupBoxKind::Text;
    std::size_t run = 0;
    std::wstring text;
    int x = 0;
    int width = 0;
    int height = 0;
    int ascent = 0;
    MarkupVAlign vAlign = MarkupVAlign::Baseline;
    int blanks = 0;
    Extent rule; // rules: their width as written
    int ruleSize = 1;
};

struct Line {
    std::vector<LineItem> items;
    int width = 0;
    int ascent = 0;
    int descent = 0;
    MarkupAlign align = MarkupAlign::Left;
    bool justify = false;
    int count = 1; // line heights the line advances by ("br=n")
    int Height() const { return ascent + descent; }
    int Advance() const { return Height() * std::max(1, count); }
};

struct Table;

// Lines of running text, or one table.
struct Block {
    std::vector<Line> lines;
    std::unique_ptr<Table> table;
};

struct CMarkupLayout::Flow {
    std::vector<Block> blocks;
    SIZE size{};
};

struct Cell {
    std::size_t run = 0;
    int row = 0;
    int column = 0;
    int columnSpan = 1;
    int rowSpan = 1;
    CMarkupLayout::Flow content;
    // The runs of the content, without the cell's own opening and closing.
    std::size_t contentBegin = 0;
    std::size_t contentEnd = 0;
    int width = 0;
    int height = 0;
    // Border width plus padding on each side.
    int edge = 0;
    MarkupVAlign vAlign = MarkupVAlign::Baseline;
    bool framed = false;
};

struct Table {
    std::size_t run = 0;
    int rows = 0;
    int columns = 0;
    std::vector<Cell> cells;
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    std::vector<bool> fixedColumns;
    SIZE size{};
    int spacing = 0;
    int outset = 0;
    MarkupAlign align = MarkupAlign::Left;
    bool framed = false;
};

namespace {

// A range of runs [begin, end).
struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool HasFrame(const CMarkupStyle& style)
{
    return style.backEffect != kMarkupEffectNone || style.borderWidth > 0 || !style.backImage.empty();
}

bool IsTableStart(const CMarkupRun& run) { return run.kind == MarkupRunKind::TableStart; }
bool IsTableEnd(const CMarkupRun& run) { return run.kind == MarkupRunKind::TableEnd; }

// The end of the table that starts at `start`: the index of its closing run,
// or `end` when it is not closed.
std::size_t MatchingTableEnd(const std::vector<CMarkupRun>& runs, std::size_t start, std::size_t end)
{
    int depth = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (IsTableStart(runs[i]))
            ++depth;
        else if (IsTableEnd(runs[i]) && --depth == 0)
            return i;
    }
    return end;
}

int SpanOf(const CMarkupRun& run, const wchar_t* name)
{
    const Extent span = ReadExtent(run, name, Extent{1, false});
    return std::clamp(span.value, 1, CMarkupLayout::kMaxSpan);
}

int BorderOutset(const CMarkupStyle& style)
{
    return style.borderStyle == MarkupBorderStyle::Double ? 3 : style.borderWidth;
}

// Columns (or rows) with the spacing around and the one pixel between
// them, and the border on both sides.
int TableExtent(const std::vector<int>& sizes, const CMarkupStyle& style)
{
    const long long count = static_cast<long long>(sizes.size());
    long long total = std::accumulate(sizes.begin(), sizes.end(), 0LL);
    if (count > 0)
        total += (count + 1) * style.cellSpacing + (count - 1);
    total += 2LL * BorderOutset(style);
    return static_cast<int>(std::clamp<long long>(total, 0, 1 << 24));
}

// Measures one flow of runs: lines of text and objects, and the tables
// between them.
class FlowMeasurer {
public:
    FlowMeasurer(const std::vector<CMarkupRun>& runs, IMarkupMeasurer& measurer, int maxWidth, int tabSize)
        : m_runs(runs), m_measurer(measurer), m_maxWidth(maxWidth), m_tabSize(tabSize)
    {
    }

    void Measure(Range range, CMarkupLayout::Flow& flow) const
    {
        Block text;
        State state;
        std::size_t i = range.begin;
        while (i < range.end) {
            const CMarkupRun& run = m_runs[i];
            if (IsTableStart(run)) {
                CloseText(state, text, flow);
                const std::size_t close = MatchingTableEnd(m_runs, i, range.end);
                Block block;
                block.table = MeasureTable(Range{i, close});
                flow.size.cx = std::max(flow.size.cx, block.table->size.cx);
                flow.size.cy += block.table->size.cy;
                flow.blocks.push_back(std::move(block));
                i = close + 1;
                continue;
            }
            Place(i, state);
            ++i;
        }
        CloseText(state, text, flow);
    }

private:
    struct State {
        Line line;
        std::vector<Line> lines;
        int x = 0;
        bool started = false;
        const CMarkupStyle* style = nullptr;
        int width = 0;
        int height = 0;
    };

    void CloseText(State& state, Block& text, CMarkupLayout::Flow& flow) const
    {
        if (!state.line.items.empty())
            NewLine(state, 1, false);
        if (state.lines.empty())
            return;
        text.lines = std::move(state.lines);
        flow.size.cx = std::max<LONG>(flow.size.cx, state.width);
        flow.size.cy += state.height;
        flow.blocks.push_back(std::move(text));
        text = Block{};
        state = State{};
    }

    void StartLineIfNeeded(State& state, const CMarkupStyle& style) const
    {
        state.style = &style;
        if (state.started)
            return;
        state.started = true;
        state.x = style.indent;
    }

    void Place(std::size_t index, State& state) const
    {
        const CMarkupRun& run = m_runs[index];
        StartLineIfNeeded(state, run.style);
        switch (run.kind) {
        case MarkupRunKind::Text: PlaceText(index, run.text, state); break;
        case MarkupRunKind::String: PlaceText(index, m_measurer.String(run), state); break;
        case MarkupRunKind::LineBreak: NewLine(state, run.count, false); break;
        case MarkupRunKind::Tab: Tab(state, run.count); break;
        case MarkupRunKind::Rule: PlaceRule(index, state); break;
        case MarkupRunKind::Bitmap:
        case MarkupRunKind::Icon:
        case MarkupRunKind::ImageList: PlaceImage(index, state); break;
        default: break; // table parts outside a table
        }
    }

    void Tab(State& state, int count) const
    {
        const int steps = std::max(0, count - 1);
        const int next = (state.x / m_tabSize + 1) * m_tabSize;
        state.x = static_cast<int>(std::min<long long>(next + static_cast<long long>(steps) * m_tabSize, 1 << 24));
        state.line.width = std::max(state.line.width, state.x);
    }

    bool Fits(const State& state, int width) const { return m_maxWidth <= 0 || state.x + width <= m_maxWidth; }

    // Where lines may wrap, the measurer's character widths choose the
    // breaks; each piece placed is then measured as it will be drawn, and a
    // piece that turns out wider than the line is cut again shorter.
    void PlaceText(std::size_t index, const std::wstring& whole, State& state) const
    {
        const CMarkupStyle& style = m_runs[index].style;
        const std::vector<int> prefix = m_maxWidth > 0 ? PrefixWidths(style, whole) : std::vector<int>{};
        auto estimate = [&prefix](std::size_t begin, std::size_t end) {
            return end == 0 ? 0 : prefix[end - 1] - (begin == 0 ? 0 : prefix[begin - 1]);
        };
        std::size_t begin = 0;
        while (begin < whole.size()) {
            if (state.line.items.empty())
                begin = whole.size() - TrimLeading(std::wstring_view(whole).substr(begin)).size();
            if (begin >= whole.size())
                break;
            const std::wstring_view rest = std::wstring_view(whole).substr(begin);
            if (prefix.empty() || Fits(state, estimate(begin, whole.size()))) {
                const int width = m_measurer.TextWidth(style, rest);
                if (Fits(state, width) || prefix.empty()) {
                    AddText(index, rest, width, state);
                    return;
                }
            }
            int free = m_maxWidth - state.x;
            std::size_t cut = 0;
            int width = 0;
            std::wstring_view head;
            for (int attempt = 0; attempt < 4; ++attempt) {
                cut = BreakPoint(rest, free, state.line.items.empty(),
                                 [&](std::size_t i) { return estimate(begin, begin + i + 1); });
                head = TrimTrailing(rest.substr(0, cut));
                width = head.empty() ? 0 : m_measurer.TextWidth(style, head);
                if (cut <= 1 || Fits(state, width))
                    break;
                free -= width - (m_maxWidth - state.x);
            }
            if (cut == 0) {
                NewLine(state, 1, true);
                continue;
            }
            if (!head.empty())
                AddText(index, head, width, state);
            begin += cut;
            NewLine(state, 1, true);
        }
    }

    // One measure per character, whatever the measurer answers.
    std::vector<int> PrefixWidths(const CMarkupStyle& style, std::wstring_view text) const
    {
        std::vector<int> widths = m_measurer.PrefixWidths(style, text);
        widths.resize(text.size(), widths.empty() ? 0 : widths.back());
        return widths;
    }

    // How many characters of the text go on this line: up to the last break
    // character that still fits, or, on an empty line, as many characters as
    // fit (at least one). 0 sends the whole text to the next line.
    template <typename PrefixWidth>
    static std::size_t BreakPoint(std::wstring_view text, int free, bool emptyLine, PrefixWidth widthUpTo)
    {
        std::size_t lastFit = 0;
        std::size_t lastBreak = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool fits = widthUpTo(i) <= free || (IsBlank(text[i]) && i > 0 && widthUpTo(i - 1) <= free);
            if (!fits)
                break;
            lastFit = i + 1;
            if (kBreakCharacters.find(text[i]) != std::wstring_view::npos)
                lastBreak = i + 1;
        }
        if (lastBreak > 0)
            return lastBreak;
        return emptyLine ? std::max<std::size_t>(lastFit, 1) : 0;
    }

    void AddText(std::size_t index, std::wstring_view text, int width, State& state) const
    {
        const CMarkupStyle& style = m_runs[index].style;
        const MarkupFontMeasures font = m_measurer.Font(style);
        LineItem item;
        item.run = index;
        item.text = text;
        item.width = width;
        item.height = font.height;
        item.ascent = font.ascent;
        item.vAlign = style.vAlign;
        item.blanks = CountBlanks(text);
        AddItem(std::move(item), font.descent, state);
    }

    void AddItem(LineItem item, int descent, State& state) const
    {
        if (state.line.items.empty())
            state.line.align = m_runs[item.run].style.align;
        item.x = state.x;
        state.x += item.width;
        state.line.width = std::max(state.line.width, state.x);
        state.line.ascent = std::max(state.line.ascent, item.ascent);
        state.line.descent = std::max(state.line.descent, descent);
        state.line.items.push_back(std::move(item));
    }

    void PlaceImage(std::size_t index, State& state) const
    {
        SIZE size{};
        if (!m_measurer.ImageSize(m_runs[index], index, size) || size.cx <= 0 || size.cy <= 0)
            return;
        if (!Fits(state, size.cx) && !state.line.items.empty())
            NewLine(state, 1, true);
        LineItem item;
        item.kind = MarkupBoxKind::Image;
        item.run = index;
        item.width = size.cx;
        item.height = size.cy;
        item.ascent = size.cy;
        item.vAlign = m_runs[index].style.vAlign;
        AddItem(std::move(item), 0, state);
    }

    // A rule counts one pixel (a percentage of the area) or its pixels, and
    // makes its line at least its thickness plus 8 pixels high.
    void PlaceRule(std::size_t index, State& state) const
    {
        const CMarkupRun& run = m_runs[index];
        LineItem item;
        item.kind = MarkupBoxKind::Rule;
        item.run = index;
        item.rule = ReadExtent(run, L"width", Extent{100, true});
        item.ruleSize = std::max(1, ReadExtent(run, L"size", Extent{1, false}).value);
        item.width = item.rule.percent ? 1 : item.rule.value;
        item.ascent = item.ruleSize + 8;
        item.height = item.ascent;
        item.vAlign = MarkupVAlign::Top;
        AddItem(std::move(item), 0, state);
    }

    void NewLine(State& state, int count, bool wrapped) const
    {
        Line& line = state.line;
        if (line.items.empty() && line.ascent == 0) {
            const CMarkupStyle style = state.style ? *state.style : CMarkupStyle{};
            line.ascent = m_measurer.Font(style).height;
            line.width = std::max(line.width, state.x);
        }
        line.count = count;
        line.justify = wrapped && line.align == MarkupAlign::Justify;
        state.width = std::max(state.width, line.width);
        state.height += line.Advance();
        state.lines.push_back(std::move(line));
        state.line = Line{};
        state.x = state.style ? state.style->indent : 0;
    }

    std::unique_ptr<Table> MeasureTable(Range range) const
    {
        auto table = std::make_unique<Table>();
        const CMarkupStyle& style = m_runs[range.begin].style;
        table->run = range.begin;
        table->spacing = style.cellSpacing;
        table->outset = BorderOutset(style);
        table->align = style.align;
        table->framed = HasFrame(style);
        CollectCells(range, *table);
        for (Cell& cell : table->cells)
            MeasureCell(cell);
        SizeColumnsAndRows(*table);
        return table;
    }

    // Rows and cells of this table (not of tables nested in its cells), set
    // into the grid: a cell takes the first column no span above covers.
    // The table has as many columns as its widest row's column spans add up
    // to, wherever spans from above push its cells; spans are cut to the
    // table, and a cell pushed past its last column has no place in it.
    void CollectCells(Range range, Table& table) const
    {
        std::vector<std::vector<bool>> taken;
        int row = -1;
        int rowSpans = 0;
        std::size_t i = range.begin + 1;
        while (i < range.end && row < CMarkupLayout::kMaxRows) {
            const CMarkupRun& run = m_runs[i];
            if (IsTableStart(run)) {
                i = MatchingTableEnd(m_runs, i, range.end) + 1;
                continue;
            }
            if (run.kind == MarkupRunKind::RowStart) {
                ++row;
                rowSpans = 0;
                taken.resize(static_cast<std::size_t>(row) + 1);
            } else if (run.kind == MarkupRunKind::CellStart && row >= 0) {
                const std::size_t end = CellEnd(i, range.end);
                rowSpans = std::min(rowSpans + SpanOf(run, L"colspan"), CMarkupLayout::kMaxColumns);
                table.columns = std::max(table.columns, rowSpans);
                AddCell(Range{i, end}, row, taken, table);
                i = end;
                continue;
            }
            ++i;
        }
        table.rows = row + 1;
        CutToTable(table);
    }

    static void CutToTable(Table& table)
    {
        std::erase_if(table.cells, [&table](const Cell& cell) { return cell.column >= table.columns; });
        for (Cell& cell : table.cells) {
            cell.columnSpan = std::min(cell.columnSpan, table.columns - cell.column);
            cell.rowSpan = std::min(cell.rowSpan, table.rows - cell.row);
        }
    }

    // A cell runs to its closing run, or to the next cell, row or the end of
    // the table when it is not closed.
    std::size_t CellEnd(std::size_t start, std::size_t end) const
    {
        std::size_t i = start + 1;
        while (i < end) {
            const CMarkupRun& run = m_runs[i];
            if (IsTableStart(run)) {
                i = MatchingTableEnd(m_runs, i, end) + 1;
                continue;
            }
            if (run.kind == MarkupRunKind::CellEnd)
                return i;
            if (run.kind == MarkupRunKind::CellStart || run.kind == MarkupRunKind::RowStart ||
                run.kind == MarkupRunKind::RowEnd)
                return i;
            ++i;
        }
        return end;
    }

    void AddCell(Range range, int row, std::vector<std::vector<bool>>& taken, Table& table) const
    {
        auto& rowTaken = taken[static_cast<std::size_t>(row)];
        int column = 0;
        while (column < static_cast<int>(rowTaken.size()) && rowTaken[static_cast<std::size_t>(column)])
            ++column;
        const CMarkupRun& run = m_runs[range.begin];
        Cell cell;
        cell.run = range.begin;
        cell.row = row;
        cell.column = column;
        cell.columnSpan = std::min(SpanOf(run, L"colspan"), CMarkupLayout::kMaxColumns - column);
        cell.rowSpan = SpanOf(run, L"rowspan");
        if (cell.columnSpan <= 0)
            return;
        for (int r = row; r < row + cell.rowSpan; ++r) {
            if (static_cast<std::size_t>(r) >= taken.size())
                taken.resize(static_cast<std::size_t>(r) + 1);
            auto& marks = taken[static_cast<std::size_t>(r)];
            if (marks.size() < static_cast<std::size_t>(column + cell.columnSpan))
                marks.resize(static_cast<std::size_t>(column + cell.columnSpan), false);
            std::fill(marks.begin() + column, marks.begin() + column + cell.columnSpan, true);
        }
        cell.contentBegin = range.begin + 1;
        cell.contentEnd = range.end;
        table.cells.push_back(std::move(cell));
    }

    // Content plus padding and border on each side, at least the cell's
    // "width" and "height".
    void MeasureCell(Cell& cell) const
    {
        Measure(Range{cell.contentBegin, cell.contentEnd}, cell.content);
        const CMarkupStyle& style = m_runs[cell.run].style;
        cell.edge = style.cellPadding + style.borderWidth;
        cell.vAlign = style.vAlign;
        cell.framed = HasFrame(style);
        const int edges = 2 * cell.edge;
        cell.width = std::max<int>(cell.content.size.cx + edges, style.minCellWidth);
        cell.height = std::max<int>(cell.content.size.cy + edges, style.minCellHeight);
    }

    void SizeColumnsAndRows(Table& table) const
    {
        table.columnWidths.assign(static_cast<std::size_t>(table.columns), 0);
        table.rowHeights.assign(static_cast<std::size_t>(table.rows), 0);
        table.fixedColumns.assign(static_cast<std::size_t>(table.columns), false);
        for (const Cell& cell : table.cells) {
            if (m_runs[cell.run].style.minCellWidth > 0)
                table.fixedColumns[static_cast<std::size_t>(cell.column)] = true;
        }
        const int spans = std::max(table.columns, table.rows);
        for (int span = 1; span <= spans; ++span) {
            for (const Cell& cell : table.cells) {
                if (cell.columnSpan == span)
                    Widen(table.columnWidths, cell.column, span, cell.width, false);
                if (cell.rowSpan == span)
                    Widen(table.rowHeights, cell.row, span, cell.height, true);
            }
        }
        const CMarkupStyle& style = m_runs[table.run].style;
        table.size.cx = TableExtent(table.columnWidths, style);
        table.size.cy = TableExtent(table.rowHeights, style);
    }

    // Spanned columns (rows) that together are narrower than the cell share
    // the difference; the rest of the division goes to the last column (the
    // first row).
    static void Widen(std::vector<int>& sizes, int first, int span, int needed, bool remainderFirst)
    {
        const auto begin = sizes.begin() + first;
        const int sum = std::accumulate(begin, begin + span, 0);
        if (sum >= needed)
            return;
        const int difference = needed - sum;
        for (auto it = begin; it != begin + span; ++it)
            *it += difference / span;
        *(remainderFirst ? begin : begin + span - 1) += difference % span;
    }

    const std::vector<CMarkupRun>& m_runs;
    IMarkupMeasurer& m_measurer;
    int m_maxWidth = 0;
    int m_tabSize = 32;
};

} // namespace

namespace {

// Places what the measurer found; reads only its records.
class Arranger {
public:
    explicit Arranger(std::vector<CMarkupBox>& boxes) : m_boxes(boxes) {}

    void PlaceFlow(const CMarkupLayout::Flow& flow, int left, int top, int areaWidth) const
    {
        int y = top;
        for (const Block& block : flow.blocks) {
            if (block.table) {
                PlaceTable(*block.table, left, y, areaWidth);
                y += block.table->size.cy;
                continue;
            }
            for (const Line& line : block.lines) {
                Place(line, left, y, areaWidth);
                y += line.Advance();
            }
        }
    }

private:
    static int RuleWidth(const LineItem& item, int areaWidth)
    {
        return item.rule.percent ? DividedOrZero(static_cast<long long>(areaWidth) * item.rule.value, 100)
                                 : item.rule.value;
    }

    void Place(const Line& line, int left, int top, int areaWidth) const
    {
        int width = line.width;
        for (const LineItem& item : line.items) {
            if (item.kind == MarkupBoxKind::Rule)
                width += RuleWidth(item, areaWidth) - item.width;
        }
        const int free = std::max(0, areaWidth - width);
        int offset = 0;
        if (line.align == MarkupAlign::Center)
            offset = free / 2;
        else if (line.align == MarkupAlign::Right)
            offset = free;
        int blanks = 0;
        for (const LineItem& item : line.items)
            blanks += item.blanks;
        const int extra = line.justify && blanks > 0 ? free : 0;

        int shift = offset;
        int blanksBefore = 0;
        for (const LineItem& item : line.items) {
            CMarkupBox box;
            box.kind = item.kind;
            box.run = item.run;
            box.text = item.text;
            const int justifyShift = DividedOrZero(static_cast<long long>(extra) * blanksBefore, blanks);
            box.justifyBreaks = extra > 0 ? item.blanks : 0;
            box.justifyExtra =
                DividedOrZero(static_cast<long long>(extra) * (blanksBefore + item.blanks), blanks) - justifyShift;
            blanksBefore += item.blanks;
            const int width = item.kind == MarkupBoxKind::Rule ? RuleWidth(item, areaWidth) : item.width;
            const int height = item.kind == MarkupBoxKind::Rule ? item.ruleSize : item.height;
            const int x = left + item.x + shift + justifyShift;
            const int y = top + ItemTop(line, item);
            box.rect = RECT{x, y, x + width, y + height};
            if (item.kind == MarkupBoxKind::Rule)
                shift += width - item.width;
            m_boxes.push_back(std::move(box));
        }
    }

    // Where an item stands in its line: lines are as high as their largest
    // ascent and largest descent; a text on the baseline shares the line's
    // baseline, an image on the baseline stands on it.
    static int ItemTop(const Line& line, const LineItem& item)
    {
        const int height = line.Height();
        if (item.kind == MarkupBoxKind::Rule)
            return 2 + height / 2 - item.ruleSize;
        switch (item.vAlign) {
        case MarkupVAlign::Top: return 0;
        case MarkupVAlign::Middle: return (height - item.height) / 2;
        case MarkupVAlign::Bottom: return height - item.height;
        case MarkupVAlign::Baseline: break;
        }
        return line.ascent - item.ascent;
    }

    void PlaceTable(const Table& table, int left, int top, int areaWidth) const
    {
        std::vector<int> columns = table.columnWidths;
        int width = table.size.cx;
        if (areaWidth > width)
            width += Spread(columns, table.fixedColumns, areaWidth - width);
        int x = left;
        if (areaWidth > width) {
            if (table.align == MarkupAlign::Center)
                x += (areaWidth - width) / 2;
            else if (table.align == MarkupAlign::Right)
                x += areaWidth - width;
        }
        const RECT rect{x, top, x + width, top + table.size.cy};
        AddFrame(table.framed, table.run, rect);
        const int outset = table.outset;
        const RECT inner{rect.left + outset, rect.top + outset, rect.right - outset, rect.bottom - outset};
        const std::vector<int> columnStarts = Starts(columns, inner.left, table.spacing);
        const std::vector<int> rowStarts = Starts(table.rowHeights, inner.top, table.spacing);
        for (const Cell& cell : table.cells)
            PlaceCell(cell, table.spacing, columns, table.rowHeights, columnStarts, rowStarts);
    }

    // The difference goes to the columns without a "width", each taking what
    // is left divided by the columns still to serve; none: the table stays.
    static int Spread(std::vector<int>& columns, const std::vector<bool>& fixed, int difference)
    {
        int open = static_cast<int>(std::count(fixed.begin(), fixed.end(), false));
        int left = difference;
        for (std::size_t c = 0; c < columns.size() && open > 0; ++c) {
            if (fixed[c])
                continue;
            const int share = left / open--;
            columns[c] += share;
            left -= share;
        }
        return difference - left;
    }

    static std::vector<int> Starts(const std::vector<int>& sizes, int origin, int spacing)
    {
        std::vector<int> starts;
        int position = origin + spacing;
        for (int size : sizes) {
            starts.push_back(position);
            position += size + spacing + 1;
        }
        return starts;
    }

    static int Spanned(const std::vector<int>& sizes, int first, int span, int spacing)
    {
        const auto begin = sizes.begin() + first;
        return std::accumulate(begin, begin + span, 0) + (spacing + 1) * (span - 1);
    }

    void PlaceCell(const Cell& cell, int spacing, const std::vector<int>& columns, const std::vector<int>& rows,
                   const std::vector<int>& columnStarts, const std::vector<int>& rowStarts) const
    {
        const int x = columnStarts[static_cast<std::size_t>(cell.column)];
        const int y = rowStarts[static_cast<std::size_t>(cell.row)];
        const RECT rect{x, y, x + Spanned(columns, cell.column, cell.columnSpan, spacing),
                        y + Spanned(rows, cell.row, cell.rowSpan, spacing)};
        AddFrame(cell.framed, cell.run, rect);
        const int edge = cell.edge;
        const int innerWidth = std::max<int>(0, rect.right - rect.left - 2 * edge);
        const int free = std::max<int>(0, rect.bottom - rect.top - 2 * edge - cell.content.size.cy);
        int top = rect.top + edge;
        if (cell.vAlign == MarkupVAlign::Middle)
            top += free / 2;
        else if (cell.vAlign == MarkupVAlign::Bottom)
            top += free;
        PlaceFlow(cell.content, rect.left + edge, top, innerWidth);
    }

    void AddFrame(bool framed, std::size_t run, const RECT& rect) const
    {
        if (!framed)
            return;
        CMarkupBox box;
        box.kind = MarkupBoxKind::Frame;
        box.run = run;
        box.rect = rect;
        m_boxes.push_back(std::move(box));
    }

    std::vector<CMarkupBox>& m_boxes;
};

} // namespace

CMarkupLayout::CMarkupLayout() = default;
CMarkupLayout::~CMarkupLayout() = default;

SIZE CMarkupLayout::Measure(const std::vector<CMarkupRun>& runs, IMarkupMeasurer& measurer)
{
    m_flow = std::make_unique<Flow>();
    FlowMeasurer(runs, measurer, m_maxWidth, m_tabSize).Measure(Range{0, runs.size()}, *m_flow);
    m_size = m_flow->size;
    return m_size;
}

std::vector<CMarkupBox> CMarkupLayout::Arrange(int areaWidth) const
{
    std::vector<CMarkupBox> boxes;
    if (m_flow)
        Arranger(boxes).PlaceFlow(*m_flow, 0, 0, areaWidth);
    return boxes;
}

}  // namespace ZELL::Skin
