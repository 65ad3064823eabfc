#include "Platform/Ui/PopupMenuPainter.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/Text.h"

namespace Ui {

namespace {

UINT OwnerDrawState(const MenuItemBox& item, bool selected)
{
    UINT state = selected ? ODS_SELECTED : 0;
    if (item.entry.state & MF_GRAYED)
        state |= ODS_GRAYED;
    if (item.entry.state & MF_DISABLED)
        state |= ODS_DISABLED;
    if (item.entry.state & MF_CHECKED)
        state |= ODS_CHECKED;
    if (item.entry.state & MFS_DEFAULT)
        state |= ODS_DEFAULT;
    return state;
}

}  // namespace

void DrawMenuCheckGlyph(HDC dc, int x, int y, COLORREF color)
{
    // Each stroke runs down from its top row to (excluded) its bottom row.
    static constexpr int kTop[] = {2, 3, 4, 3, 2, 1, 0};
    static constexpr int kBottom[] = {5, 6, 7, 6, 5, 4, 3};
    HBRUSH brush = CreateSolidBrush(color);
    for (int i = 0; i < 7; ++i) {
        const RECT stroke{x + i, y + kTop[i], x + i + 1, y + kBottom[i]};
        FillRect(dc, &stroke, brush);
    }
    DeleteObject(brush);
}

void DrawMenuArrowGlyph(HDC dc, const RECT& box, COLORREF color)
{
    constexpr int kHalf = 3;
    const int x = (box.left + box.right) / 2 - 1;
    const int cy = (box.top + box.bottom) / 2;
    HBRUSH brush = CreateSolidBrush(color);
    for (int i = 0; i <= kHalf; ++i) {
        const RECT column{x + i, cy - kHalf + i, x + i + 1, cy + kHalf - i + 1};
        FillRect(dc, &column, brush);
    }
    DeleteObject(brush);
}

void CPopupMenuPainter::PaintAll(int selected) const
{
    const SIZE size = m_layout.Size();
    RECT all{0, 0, size.cx, size.cy};
    FillRect(m_dc, &all, GetSysColorBrush(COLOR_MENU));
    DrawEdge(m_dc, &all, EDGE_RAISED, BF_RECT);
    for (std::size_t i = 0; i < m_layout.Items().size(); ++i)
        PaintItem(static_cast<int>(i), static_cast<int>(i) == selected);
}

void CPopupMenuPainter::PaintItem(int index, bool selected, UINT action) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_layout.Items().size())
        return;
    const MenuItemBox& item = m_layout.Items()[static_cast<std::size_t>(index)];
    const int saved = SaveDC(m_dc);
    SelectObject(m_dc, m_layout.Font());
    SetBkMode(m_dc, TRANSPARENT);
    if (item.IsOwnerDrawn())
        PaintOwnerDrawn(item, selected, action);
    else if (item.IsSeparator())
        PaintSeparator(item);
    else
        PaintString(item, selected);
    RestoreDC(m_dc, saved);
}

void CPopupMenuPainter::PaintOwnerDrawn(const MenuItemBox& item, bool selected, UINT action) const
{
    // The owner draws on the menu's colours, as the platform leaves them set.
    SetTextColor(m_dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    SetBkColor(m_dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetBkMode(m_dc, OPAQUE);
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_MENU;
    draw.itemID = item.ItemId();
    draw.itemAction = action;
    draw.itemState = OwnerDrawState(item, selected);
    draw.hwndItem = reinterpret_cast<HWND>(m_menu);
    draw.hDC = m_dc;
    draw.rcItem = item.rect;
    draw.itemData = item.entry.data;
    if (m_owner != nullptr)
        SendMessageW(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    // The arrow of a sub-menu is the menu's own, whoever draws the item.
    if (item.IsPopup())
        PaintArrow(item, GetSysColor(!item.IsEnabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
}

void CPopupMenuPainter::PaintSeparator(const MenuItemBox& item) const
{
    const int middle = (item.rect.top + item.rect.bottom) / 2 - 1;
    RECT line{item.rect.left + 1, middle, item.rect.right - 1, middle + 2};
    DrawEdge(m_dc, &line, EDGE_ETCHED, BF_TOP);
}

void CPopupMenuPainter::PaintString(const MenuItemBox& item, bool selected) const
{
    FillRect(m_dc, &item.rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF color = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    RECT label{m_layout.TextLeft(), item.rect.top, m_layout.ShortcutRight(), item.rect.bottom};
    RECT shortcut = label;
    if (!item.IsEnabled()) {
        color = GetSysColor(COLOR_GRAYTEXT);
        if (!selected) {
            // Greyed text stands embossed: a light copy one pixel down and right.
            RECT shadow{label.left + 1, label.top + 1, label.right + 1, label.bottom + 1};
            PaintTexts(item, shadow, shadow, GetSysColor(COLOR_3DHILIGHT));
        }
    }
    PaintTexts(item, label, shortcut, color);
    PaintCheck(item, color);
    if (item.IsPopup())
        PaintArrow(item, color);
}

void CPopupMenuPainter::PaintTexts(const MenuItemBox& item, RECT label, RECT shortcut, COLORREF color) const
{
    SetTextColor(m_dc, color);
    DrawTextW(m_dc, item.label.c_str(), static_cast<int>(item.label.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!item.shortcut.empty())
        DrawTextW(m_dc, item.shortcut.c_str(), static_cast<int>(item.shortcut.size()), &shortcut,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

void CPopupMenuPainter::PaintCheck(const MenuItemBox& item, COLORREF color) const
{
    const RECT column{item.rect.left, item.rect.top, m_layout.TextLeft() - 2, item.rect.bottom};
    const int x = (column.left + column.right) / 2 - 3;
    const int y = (column.top + column.bottom) / 2 - 4;
    if ((item.entry.state & MF_CHECKED) == 0)
        return;
    if ((item.entry.type & MFT_RADIOCHECK) == 0) {
        DrawMenuCheckGlyph(m_dc, x, y, color);
        return;
    }
    HBRUSH brush = CreateSolidBrush(color);
    const HGDIOBJ oldBrush = SelectObject(m_dc, brush);
    const HGDIOBJ oldPen = SelectObject(m_dc, GetStockObject(NULL_PEN));
    Ellipse(m_dc, x, y + 1, x + 7, y + 8);
    SelectObject(m_dc, oldPen);
    SelectObject(m_dc, oldBrush);
    DeleteObject(brush);
}

void CPopupMenuPainter::PaintArrow(const MenuItemBox& item, COLORREF color) const
{
    const RECT box{item.rect.right - m_layout.ArrowWidth(), item.rect.top, item.rect.right, item.rect.bottom};
    DrawMenuArrowGlyph(m_dc, box, color);
}

}
