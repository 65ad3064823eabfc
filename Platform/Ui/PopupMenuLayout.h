#pragma once
// Where the items of a pop-up menu go: each item measured (strings with the
// menu font, owner-drawn items by asking the owner with WM_MEASUREITEM) and
// stacked inside the menu's raised border. Inside the layer only.
#include "Platform/Ui/MenuStore.h"
#include "Platform/Ui/WinUser.h"

#include <string>
#include <vector>

namespace Ui {

struct MenuItemBox {
    MenuEntry entry;
    RECT rect{};            // in the menu window's client coordinates
    std::wstring label;     // the text before a tab
    std::wstring shortcut;  // the text after it, shown right-aligned

    bool IsSeparator() const { return (entry.type & MFT_SEPARATOR) != 0 && (entry.type & MFT_OWNERDRAW) == 0; }
    bool IsOwnerDrawn() const { return (entry.type & MFT_OWNERDRAW) != 0; }
    bool IsEnabled() const { return (entry.state & (MF_GRAYED | MF_DISABLED)) == 0; }
    bool IsPopup() const { return entry.subMenu != nullptr; }
    // What WM_MEASUREITEM, WM_DRAWITEM and WM_MENUSELECT name the item by.
    UINT ItemId() const;
};

class CPopupMenuLayout {
public:
    static constexpr int kBorder = 3;

    CPopupMenuLayout() = default;
    ~CPopupMenuLayout();
    CPopupMenuLayout(const CPopupMenuLayout&) = delete;
    CPopupMenuLayout& operator=(const CPopupMenuLayout&) = delete;

    // Reads the menu and measures its items; false for a menu that is gone.
    bool Build(HMENU menu, HWND owner);

    SIZE Size() const { return m_size; }
    HFONT Font() const { return m_font; }
    const std::vector<MenuItemBox>& Items() const { return m_items; }
    // The left edge of the labels and the right edge of the shortcuts.
    int TextLeft() const { return m_textLeft; }
    int ShortcutRight() const { return m_size.cx - kBorder - m_arrowWidth; }
    int ArrowWidth() const { return m_arrowWidth; }

    // The item under a point of the window's client area, or -1.
    int ItemAt(POINT client) const;
    // The next item from `from` in steps of +1 or -1 (wrapping) that can be
    // selected, or -1 when none can; from -1 the search starts at an end.
    int NextSelectable(int from, int step) const;
    // The items whose label marks `c` as its mnemonic (&c), in order.
    std::vector<int> MnemonicMatches(wchar_t c) const;

private:
    SIZE MeasureText(HDC dc, const std::wstring& text) const;
    SIZE MeasureOwnerDrawn(HWND owner, const MenuItemBox& item) const;

    HFONT m_font = nullptr;
    std::vector<MenuItemBox> m_items;
    SIZE m_size{};
    int m_textLeft = 0;
    int m_arrowWidth = 0;
};

// The mnemonic of a label: the character after the first single '&', 0 for none.
wchar_t MnemonicOf(const std::wstring& label);
// The menu font (SPI_GETNONCLIENTMETRICS); the caller deletes it.
HFONT CreateMenuFont();

}
