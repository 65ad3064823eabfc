#include "Platform/Controls/TipLinks.h"

#include "Platform/Base/WideRuntime.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// Whether `text` holds the tag `name` ("a" or "/a") at `at`, case aside; the
// index behind its ">" when it does.
std::size_t TagEnd(const std::wstring& text, std::size_t at, const std::wstring& name)
{
    if (at >= text.size() || text[at] != L'<' || at + 1 + name.size() > text.size())
        return std::wstring::npos;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (Text::ToLowerChar(text[at + 1 + i]) != name[i])
            return std::wstring::npos;
    const std::size_t after = at + 1 + name.size();
    if (after >= text.size() || (text[after] != L'>' && text[after] != L' '))
        return std::wstring::npos;
    const std::size_t close = text.find(L'>', after);
    return close == std::wstring::npos ? std::wstring::npos : close + 1;
}

}

CTipLinks CTipLinks::Parse(const std::wstring& marked)
{
    CTipLinks result;
    int open = -1;
    for (std::size_t i = 0; i < marked.size();) {
        const std::size_t opening = open < 0 ? TagEnd(marked, i, L"a") : std::wstring::npos;
        const std::size_t closing = open >= 0 ? TagEnd(marked, i, L"/a") : std::wstring::npos;
        if (opening != std::wstring::npos) {
            open = static_cast<int>(result.m_shown.size());
            i = opening;
        } else if (closing != std::wstring::npos) {
            result.m_links.push_back({open, static_cast<int>(result.m_shown.size())});
            open = -1;
            i = closing;
        } else {
            result.m_shown += marked[i++];
        }
    }
    if (open >= 0)
        result.m_links.push_back({open, static_cast<int>(result.m_shown.size())});
    std::erase_if(result.m_links, [](const Link& link) { return link.end <= link.start; });
    return result;
}

SIZE CTipLinks::Layout(HDC dc, int wrapWidth)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    m_lineHeight = std::max<int>(1, metrics.tmHeight);
    m_layout.Reflow(dc, m_shown, std::max(0, wrapWidth));
    return SIZE{m_layout.MaxWidth(dc, m_shown), m_layout.LineCount() * m_lineHeight};
}

void CTipLinks::Paint(HDC dc, const RECT& area, COLORREF text, COLORREF link) const
{
    for (int i = 0; i < m_layout.LineCount(); ++i) {
        const EditLine& line = m_layout.Line(i);
        const POINT origin{area.left, area.top + i * m_lineHeight};
        SetTextColor(dc, text);
        TextOutW(dc, origin.x, origin.y, m_shown.c_str() + line.start, line.length);
        SetTextColor(dc, link);
        for (const Link& l : m_links)
            PaintRun(dc, origin, line, std::max(l.start, line.start), std::min(l.end, line.start + line.length));
    }
}

// The linked part of one line again in the link colour, with its underline.
void CTipLinks::PaintRun(HDC dc, POINT origin, const EditLine& line, int from, int to) const
{
    if (from >= to)
        return;
    const int left = origin.x + m_layout.XOf(dc, m_shown, line, from);
    const int right = origin.x + m_layout.XOf(dc, m_shown, line, to);
    TextOutW(dc, left, origin.y, m_shown.c_str() + from, to - from);
    const RECT underline{left, origin.y + m_lineHeight - 1, right, origin.y + m_lineHeight};
    HBRUSH brush = CreateSolidBrush(GetTextColor(dc));
    FillRect(dc, &underline, brush);
    DeleteObject(brush);
}

int CTipLinks::LinkAt(HDC dc, POINT at) const
{
    if (at.y < 0 || at.x < 0 || m_lineHeight <= 0)
        return -1;
    const int lineIndex = at.y / m_lineHeight;
    if (lineIndex >= m_layout.LineCount())
        return -1;
    const EditLine& line = m_layout.Line(lineIndex);
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        const int from = std::max(m_links[i].start, line.start);
        const int to = std::min(m_links[i].end, line.start + line.length);
        if (from < to && at.x >= m_layout.XOf(dc, m_shown, line, from) && at.x < m_layout.XOf(dc, m_shown, line, to))
            return static_cast<int>(i);
    }
    return -1;
}

}
