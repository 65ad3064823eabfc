#include "Platform/Controls/ComboLayout.h"

#include <algorithm>

namespace ZELL::Controls {

RECT CComboLayout::Inner() const
{
    RECT r = m_client;
    r.left += kFrame;
    r.top += kFrame;
    r.right = std::max(r.left, r.right - kFrame);
    r.bottom = std::max(r.top, r.bottom - kFrame);
    return r;
}

RECT CComboLayout::Button() const
{
    RECT r = Inner();
    r.left = std::max(r.left, r.right - m_buttonWidth);
    return r;
}

RECT CComboLayout::Field() const
{
    RECT r = Inner();
    if (m_buttonWidth > 0)
        r.right = Button().left;
    // One pixel of the background shows between the frame and the field.
    r.left += 1;
    r.top += 1;
    r.right = std::max(r.left, r.right - 1);
    r.bottom = std::max(r.top, r.bottom - 1);
    return r;
}

RECT CComboLayout::DropRect(const RECT& combo, SIZE list, const RECT& monitor)
{
    int left = combo.left;
    if (left + list.cx > monitor.right)
        left = std::max(monitor.left, monitor.right - list.cx);
    int top = combo.bottom;
    const bool fitsBelow = combo.bottom + list.cy <= monitor.bottom;
    const bool fitsAbove = combo.top - list.cy >= monitor.top;
    if (!fitsBelow && fitsAbove)
        top = combo.top - list.cy;
    return {left, top, left + list.cx, top + list.cy};
}

}
