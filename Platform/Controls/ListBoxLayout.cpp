#include "Platform/Controls/ListBoxLayout.h"

#include <algorithm>

namespace ZELL::Controls {

int CListBoxLayout::HeightOf(int index) const
{
    return m_variable && m_items.Valid(index) ? m_items.At(index).height : m_fixedHeight;
}

int CListBoxLayout::ItemY(int index, int top) const
{
    if (!m_variable)
        return (index - top) * m_fixedHeight;
    int y = 0;
    for (int i = top; i < index; ++i)
        y += HeightOf(i);
    for (int i = index; i < top; ++i)
        y -= HeightOf(i);
    return y;
}

int CListBoxLayout::ItemAt(int y, int top, int view, bool* outside) const
{
    const int count = m_items.Count();
    *outside = true;
    if (count == 0)
        return -1;
    if (y < 0)
        return std::min(top, count - 1);
    int edge = 0;
    for (int i = top; i < count; ++i) {
        edge += HeightOf(i);
        if (y < edge) {
            *outside = y >= view;
            return i;
        }
    }
    return count - 1;
}

int CListBoxLayout::FullyShownFrom(int top, int view) const
{
    int used = 0;
    int shown = 0;
    for (int i = std::max(top, 0); i < m_items.Count(); ++i) {
        used += HeightOf(i);
        if (used > view)
            break;
        ++shown;
    }
    return shown;
}

int CListBoxLayout::PageSize(int top, int view) const
{
    if (!m_variable)
        return std::max(1, view / m_fixedHeight);
    return std::max(1, FullyShownFrom(top, view));
}

int CListBoxLayout::MaxTop(int view) const
{
    const int count = m_items.Count();
    if (!m_variable)
        return std::max(0, count - std::max(1, view / m_fixedHeight));
    int used = 0;
    for (int i = count - 1; i >= 0; --i) {
        used += HeightOf(i);
        if (used > view)
            return std::min(i + 1, count - 1);
    }
    return 0;
}

int CListBoxLayout::TopShowing(int index, int top, int view, bool partly) const
{
    if (index < top)
        return index;
    const int y = ItemY(index, top);
    if (y + HeightOf(index) <= view || (partly && y < view))
        return top;
    if (!m_variable)
        return index - std::max(1, view / m_fixedHeight) + 1;
    int first = index;
    int used = HeightOf(index);
    while (first > 0 && used + HeightOf(first - 1) <= view)
        used += HeightOf(--first);
    return first;
}

}
