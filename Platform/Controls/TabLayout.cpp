#include "Platform/Controls/TabLayout.h"

#include <algorithm>

namespace ZELL::Controls {

void CTabLayout::Arrange(const TabLayoutRequest& request)
{
    m_rects.assign(request.widths.size(), RECT{});
    m_rowHeight = request.itemHeight + (request.buttons ? kButtonGap : 0);
    const std::vector<int> rowOf = BreakRows(request);
    m_rows = rowOf.empty() ? 0 : rowOf.back() + 1;
    if (request.justify && m_rows > 1)
        Justify(request, rowOf);
    PlaceRows(request, rowOf);
    if (!request.multiline && request.firstVisible > 0 && request.firstVisible < Count()) {
        const int shift = m_rects[request.firstVisible].left - kRaise;
        for (RECT& rect : m_rects)
            OffsetRect(&rect, -shift, 0);
    }
}

bool CTabLayout::Overflows(const TabLayoutRequest& request)
{
    const int gap = request.buttons ? kButtonGap : 0;
    long long extent = kRaise;
    for (int width : request.widths)
        extent += std::max(0, width) + gap;
    return extent - gap > request.available - kRaise;
}

std::vector<int> CTabLayout::BreakRows(const TabLayoutRequest& request)
{
    const int gap = request.buttons ? kButtonGap : 0;
    const int limit = request.available - kRaise;
    std::vector<int> rowOf(request.widths.size(), 0);
    int row = 0;
    int x = kRaise;
    for (std::size_t i = 0; i < request.widths.size(); ++i) {
        const int width = std::max(0, request.widths[i]);
        if (request.multiline && x > kRaise && x + width > limit) {
            ++row;
            x = kRaise;
        }
        rowOf[i] = row;
        m_rects[i].left = x;
        m_rects[i].right = x + width;
        x += width + gap;
    }
    return rowOf;
}

// Each row's spare room is shared out among its items, the first ones
// taking the remainder, so that every row ends at the same place.
void CTabLayout::Justify(const TabLayoutRequest& request, const std::vector<int>& rowOf)
{
    const int limit = request.available - kRaise;
    std::size_t first = 0;
    while (first < rowOf.size()) {
        std::size_t end = first;
        while (end < rowOf.size() && rowOf[end] == rowOf[first])
            ++end;
        const int spare = limit - static_cast<int>(m_rects[end - 1].right);
        const int count = static_cast<int>(end - first);
        if (spare > 0) {
            int shift = 0;
            for (std::size_t i = first; i < end; ++i) {
                const int index = static_cast<int>(i - first);
                const int extra = spare / count + (index < spare % count ? 1 : 0);
                m_rects[i].left += shift;
                shift += extra;
                m_rects[i].right += shift;
            }
        }
        first = end;
    }
}

void CTabLayout::PlaceRows(const TabLayoutRequest& request, const std::vector<int>& rowOf)
{
    const bool selectionValid = request.selected >= 0 && request.selected < static_cast<int>(rowOf.size());
    // Buttons keep their rows where they are; tabs bring the selected row to the front.
    const int frontRow = selectionValid && !request.buttons ? rowOf[request.selected] : 0;
    for (std::size_t i = 0; i < rowOf.size(); ++i) {
        const int position = request.buttons ? m_rows - 1 - rowOf[i] : (rowOf[i] - frontRow + m_rows) % m_rows;
        m_rects[i].top = kRaise + (m_rows - 1 - position) * m_rowHeight;
        m_rects[i].bottom = m_rects[i].top + request.itemHeight;
    }
}

RECT CTabLayout::ItemRect(int index) const
{
    return index >= 0 && index < Count() ? m_rects[index] : RECT{};
}

int CTabLayout::BandHeight() const
{
    return m_rows == 0 ? 0 : kRaise + m_rows * m_rowHeight;
}

RECT CTabLayout::Raised(RECT rect)
{
    return RECT{rect.left - kRaise, rect.top - kRaise, rect.right + kRaise, rect.bottom};
}

int CTabLayout::ItemAt(POINT point, int selected) const
{
    if (selected >= 0 && selected < Count()) {
        const RECT raised = Raised(m_rects[selected]);
        if (PtInRect(&raised, point))
            return selected;
    }
    for (int i = 0; i < Count(); ++i)
        if (PtInRect(&m_rects[i], point))
            return i;
    return -1;
}

}
