#pragma once
// The "SysTabControl32" class: a row (or stacked rows) of tabs or buttons
// above a panel, one of them selected. The user picks one by clicking it or
// by the arrow keys; the parent may refuse a change in TCN_SELCHANGING.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/TabLayout.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CTabControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

    // Selects `index` as the user does; false when it is out of range, the
    // same, or refused.
    bool SelectByUser(int index);
    int Count() const { return static_cast<int>(m_items.size()); }
    int Selected() const { return m_selected; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Item {
        std::wstring text;
        int image = -1;
        LPARAM param = 0;
        DWORD state = 0;
    };

    static void SetItemFields(Item& target, const TCITEMW& source);
    LRESULT InsertItem(int index, const TCITEMW* item);
    LRESULT DeleteItem(int index);
    LRESULT DeleteAll();
    LRESULT GetItem(int index, TCITEMW* item) const;
    LRESULT SetItem(int index, const TCITEMW* item);
    LRESULT SetSelection(int index);
    LRESULT SetFocusItem(int index);
    LRESULT GetItemRect(int index, RECT* rect);
    LRESULT AdjustRect(bool toWindow, RECT* rect);
    LRESULT HitTest(TCHITTESTINFO* info);
    LRESULT SetItemSize(LPARAM size);
    LRESULT SetMinTabWidth(int width);
    LRESULT Highlight(int index, bool on);
    LRESULT SetImageList(HIMAGELIST list);
    LRESULT OnKeyDown(UINT key);
    LRESULT OnButtonDown(POINT point);
    LRESULT OnButtonUp();
    LRESULT DialogCode(const MSG* message) const;
    bool HandleControlKey(UINT key);
    bool Notify(UINT code) const;
    void Changed();

    // The layout for the current items, style and size, made again when stale.
    const CTabLayout& Layout();
    int ItemWidth(HDC dc, const Item& item) const;
    int ItemHeight(HDC dc) const;
    SIZE ImageListSize() const;
    // The up-down child that scrolls a single row too wide for the control.
    void UpdateArrows(const TabLayoutRequest& request);
    LRESULT OnArrows(WPARAM wParam, HWND from);
    // Scrolls a row with arrows until the selected tab is clear of them.
    void ScrollToSelection();
    bool Buttons() const { return (Style() & TCS_BUTTONS) != 0; }

    void PaintPanel(HDC dc, const RECT& client) const;
    void PaintItem(HDC dc, int index, RECT rect);
    void PaintItemFrame(HDC dc, int index, const RECT& rect) const;
    void PaintItemContent(HDC dc, int index, RECT rect);

    std::vector<Item> m_items;
    int m_selected = -1;
    int m_focused = -1;
    int m_pressed = -1;
    HIMAGELIST m_images = nullptr;
    SIZE m_itemSize{};
    SIZE m_padding{6, 3};
    int m_minWidth = -1;
    int m_first = 0;
    HWND m_arrows = nullptr;
    CTabLayout m_layout;
    bool m_layoutStale = true;
    RECT m_layoutClient{};
    DWORD m_layoutStyle = 0;
};

}
