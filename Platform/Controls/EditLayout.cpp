#include "Platform/Controls/EditLayout.h"

#include "Platform/Gdi/TextExtent.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace ZELL::Controls {

namespace {

int Extent(HDC dc, const wchar_t* text, int count)
{
    SIZE size{};
    if (count <= 0 || GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, &size) == FALSE)
        return 0;
    return size.cx;
}

}

const EditLine& CEditLayout::Line(int line) const
{
    return m_lines[static_cast<std::size_t>(std::clamp(line, 0, LineCount() - 1))];
}

void CEditLayout::Reflow(HDC dc, const std::wstring& text, int wrapWidth, bool breakLines)
{
    m_lines.clear();
    const int length = static_cast<int>(text.size());
    int start = 0;
    for (int i = 0; breakLines && i < length; ++i) {
        if (text[static_cast<std::size_t>(i)] != L'\n')
            continue;
        const bool crlf = i > start && text[static_cast<std::size_t>(i) - 1] == L'\r';
        WrapParagraph(dc, text, start, crlf ? i - 1 : i, crlf ? 2 : 1, wrapWidth);
        start = i + 1;
    }
    WrapParagraph(dc, text, start, length, 0, wrapWidth);
}

void CEditLayout::SetTabStops(std::vector<int> stops, int every)
{
    std::sort(stops.begin(), stops.end());
    m_tabStops = std::move(stops);
    m_tabEvery = std::max(0, every);
}

bool CEditLayout::ExpandsTabs(const std::wstring& text, int start, int end) const
{
    return m_tabEvery > 0 && std::find(text.begin() + start, text.begin() + end, L'\t') != text.begin() + end;
}

int CEditLayout::NextStop(int x) const
{
    const auto stop = std::upper_bound(m_tabStops.begin(), m_tabStops.end(), x);
    if (stop != m_tabStops.end())
        return *stop;
    const int from = m_tabStops.empty() ? 0 : m_tabStops.back();
    return from + ((x - from) / m_tabEvery + 1) * m_tabEvery;
}

std::vector<int> CEditLayout::Positions(HDC dc, const std::wstring& text, int start, int end) const
{
    std::vector<int> positions(static_cast<std::size_t>(std::max(0, end - start)));
    int x = 0;
    for (int run = start; run < end;) {
        if (text[static_cast<std::size_t>(run)] == L'\t') {
            x = NextStop(x);
            positions[static_cast<std::size_t>(run - start)] = x;
            ++run;
            continue;
        }
        const int runEnd = static_cast<int>(std::min<std::size_t>(text.find(L'\t', static_cast<std::size_t>(run)),
                                                                  static_cast<std::size_t>(end)));
        SIZE size{};
        GetTextExtentExPointW(dc, text.c_str() + run, runEnd - run, 0, nullptr,
                              positions.data() + (run - start), &size);
        for (int i = run; i < runEnd; ++i)
            positions[static_cast<std::size_t>(i - start)] += x;
        x = positions[static_cast<std::size_t>(runEnd - 1 - start)];
        run = runEnd;
    }
    return positions;
}

int CEditLayout::Fit(HDC dc, const std::wstring& text, int start, int end, int width) const
{
    if (!ExpandsTabs(text, start, end)) {
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointW(dc, text.c_str() + start, end - start, width, &fit, nullptr, &size);
        return fit;
    }
    const std::vector<int> positions = Positions(dc, text, start, end);
    return static_cast<int>(std::upper_bound(positions.begin(), positions.end(), width) - positions.begin());
}

void CEditLayout::WrapParagraph(HDC dc, const std::wstring& text, int start, int end, int breakLength, int wrapWidth)
{
    while (wrapWidth > 0 && end - start > 1) {
        const int fit = Fit(dc, text, start, end, wrapWidth);
        if (fit >= end - start)
            break;
        // Spaces that do not fit hang at the end of the line.
        int cut = start + std::max(fit, 0);
        while (cut < end && std::iswspace(static_cast<wint_t>(text[static_cast<std::size_t>(cut)])) != 0)
            ++cut;
        int space = cut;
        while (space > start && std::iswspace(static_cast<wint_t>(text[static_cast<std::size_t>(space) - 1])) == 0)
            --space;
        if (space > start)
            cut = space;
        else if (cut == start + fit)
            cut = start + std::max(fit, 1);
        if (cut >= end)
            break;
        m_lines.push_back({start, cut - start, 0});
        start = cut;
    }
    m_lines.push_back({start, end - start, breakLength});
}

int CEditLayout::LineOf(int index) const
{
    for (int line = 0; line + 1 < LineCount(); ++line) {
        const EditLine& l = m_lines[static_cast<std::size_t>(line)];
        if (index < l.start + l.length + l.breakLength || (l.breakLength > 0 && index <= l.start + l.length))
            return line;
    }
    return LineCount() - 1;
}

int CEditLayout::XOf(HDC dc, const std::wstring& text, const EditLine& line, int index) const
{
    const int count = std::clamp(index - line.start, 0, line.length);
    if (count == 0 || !ExpandsTabs(text, line.start, line.start + count))
        return Extent(dc, text.c_str() + line.start, count);
    return Positions(dc, text, line.start, line.start + count).back();
}

int CEditLayout::IndexAt(HDC dc, const std::wstring& text, const EditLine& line, int x) const
{
    if (x <= 0 || line.length == 0)
        return line.start;
    std::vector<int> extents(static_cast<std::size_t>(line.length));
    SIZE size{};
    if (ExpandsTabs(text, line.start, line.start + line.length))
        extents = Positions(dc, text, line.start, line.start + line.length);
    else
        GetTextExtentExPointW(dc, text.c_str() + line.start, line.length, 0, nullptr, extents.data(), &size);
    int before = 0;
    for (int i = 0; i < line.length; ++i) {
        const int after = extents[static_cast<std::size_t>(i)];
        // A cluster's later characters share its extent: never land inside it.
        if (after != before && x < (before + after + 1) / 2)
            return line.start + i;
        before = after;
    }
    return line.start + line.length;
}

int CEditLayout::Width(HDC dc, const std::wstring& text, const EditLine& line) const
{
    return XOf(dc, text, line, line.start + line.length);
}

int CEditLayout::MaxWidth(HDC dc, const std::wstring& text) const
{
    int widest = 0;
    for (const EditLine& line : m_lines)
        widest = std::max(widest, Width(dc, text, line));
    return widest;
}

}
