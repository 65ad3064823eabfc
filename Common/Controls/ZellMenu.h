#pragma once
// A menu whose items are all owner-drawn: each item may show a small image
// (from a toolbar resource) beside its text, and the whole menu is painted in
// the classic look (raised and sunken image frames) or the flat look (a
// shaded image column and a filled selection rectangle).
#include "Common/Controls/ZellMenuData.h"
#include "Platform/Framework/Font.h"
#include "Platform/Framework/Menu.h"

#include <memory>
#include <vector>

class CZellMenu : public CMenu {
public:
    CZellMenu();
    ~CZellMenu() override;

    // Appends an owner-drawn item; command 0 makes a separator whatever the
    // flags (only MF_BYPOSITION survives).
    BOOL AppendODMenu(LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR command = 0);
    // Builds the menu resource again as owner-drawn items, keeping each
    // item's command, state and sub-menus; false when there is no such menu.
    BOOL LoadMenu(UINT id);
    // The pop-up of this kind at the position, null for none.
    CZellMenu* SubMenu(int position) const;
    // A new pop-up of this menu's kind, appended under `text`; this menu owns it.
    CZellMenu* AppendPopup(LPCWSTR text);
    // Removes the pop-up item with this text; kind 1 or 2 also takes the item
    // just before it, kind 3 the two before it (only those that exist).
    // The pop-up's position, or -1 when there is none.
    int DeletePopup(LPCWSTR text, int kind);
    // Gives every item whose command is on the toolbar that button's image.
    BOOL LoadToolbar(UINT toolbarId);
    // An item by command (of this menu only) or, with MF_BYPOSITION, by position.
    std::wstring GetMenuText(UINT item, UINT flags) const;
    // False when there is no such item.
    BOOL SetMenuText(UINT item, LPCWSTR text, UINT flags);
    BOOL DeleteItem(UINT item, UINT flags);
    // The colour that is see-through in bitmap and toolbar images.
    void SetMaskColour(COLORREF colour) { m_maskColour = colour; }
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    const CZellMenuData* ItemData(int position) const;

    // The keyboard search of WM_MENUCHAR: the first item whose text holds
    // "&c" (either case) as MAKELRESULT(position, MNC_EXECUTE), else 0.
    static LRESULT FindKeyboardShortcut(UINT character, UINT flags, CMenu* menu);
    // 1 draws the flat look, anything else the classic look.
    static void SetDrawMode(int mode) { s_drawMode = mode; }
    static int DrawMode() { return s_drawMode; }
    static void SetIconSize(int width, int height);
    static void SetGlobalColors(COLORREF selection, COLORREF selectionFill, COLORREF text);
    // Back to the system's colours and a fill derived from the selection.
    static void ResetGlobalColors();

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;
    BOOL DestroyMenu() override;

private:
    bool FlatLook(HDC dc) const;
    int Gap() const;
    int ItemPosition(UINT_PTR command) const;
    int FindItem(UINT item, UINT flags) const;
    void DrawClassic(const DRAWITEMSTRUCT& item, const CZellMenuData& data);
    void DrawFlat(const DRAWITEMSTRUCT& item, const CZellMenuData& data);
    void DrawImage(HDC dc, const CZellMenuData& data, int x, int y) const;
    void DrawCheckMark(HDC dc, int x, int y, bool radio, bool flat) const;
    void DrawLabel(HDC dc, const CZellMenuData& data, RECT area, COLORREF colour) const;
    void RemoveItemAt(int position);
    void CopyItems(HMENU source);

    std::vector<std::unique_ptr<CZellMenuData>> m_items;
    std::vector<std::unique_ptr<CZellMenu>> m_popups;
    COLORREF m_maskColour = RGB(192, 192, 192);
    CFont m_font;

    static int s_drawMode;
    static int s_imageWidth;
    static int s_imageHeight;
    static COLORREF s_selection;
    static COLORREF s_selectionFill;
    static COLORREF s_text;
};
