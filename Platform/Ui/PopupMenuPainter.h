#pragma once
// Draws a pop-up menu in the classic look: the raised border, string items
// with their check marks, shortcuts and sub-menu arrows, etched separators,
// greyed items embossed, and the highlight on the selected item. Owner-drawn
// items are drawn by the owner through WM_DRAWITEM. Inside the layer only.
#include "Platform/Ui/PopupMenuLayout.h"

namespace Ui {

class CPopupMenuPainter {
public:
    CPopupMenuPainter(HDC dc, const CPopupMenuLayout& layout, HMENU menu, HWND owner)
        : m_dc(dc), m_layout(layout), m_menu(menu), m_owner(owner)
    {
    }

    void PaintAll(int selected) const;
    void PaintItem(int index, bool selected, UINT action = ODA_DRAWENTIRE) const;

private:
    void PaintOwnerDrawn(const MenuItemBox& item, bool selected, UINT action) const;
    void PaintSeparator(const MenuItemBox& item) const;
    void PaintString(const MenuItemBox& item, bool selected) const;
    void PaintCheck(const MenuItemBox& item, COLORREF color) const;
    void PaintArrow(const MenuItemBox& item, COLORREF color) const;
    void PaintTexts(const MenuItemBox& item, RECT label, RECT shortcut, COLORREF color) const;

    HDC m_dc = nullptr;
    const CPopupMenuLayout& m_layout;
    HMENU m_menu = nullptr;
    HWND m_owner = nullptr;
};

// Small glyphs in one colour, shared with the menu bar: the classic check
// mark of seven strokes with its top-left at (x, y), and a right-pointing
// arrow centred in `box`.
void DrawMenuCheckGlyph(HDC dc, int x, int y, COLORREF color);
void DrawMenuArrowGlyph(HDC dc, const RECT& box, COLORREF color);

}
