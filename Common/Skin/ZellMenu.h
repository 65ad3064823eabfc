#pragma once
// A menu whose items are all owner-drawn: each item may show a small image
// beside its text (from a resource, an image list, a bitmap or a toolbar),
// and the whole menu is painted in the classic look (raised and sunken image
// frames) or the flat look (a shaded image column and a filled selection
// rectangle). Every operation that takes a text has a narrow form as well,
// which converts the text with the thread's code page.
#include "Common/Skin/Support/WideText.h"
#include "Common/Skin/ZellMenuData.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Windows/Menu.h"

#include <memory>
#include <string>
#include <vector>

class CBitmap;

namespace ZELL::Skin {

class CZellMenu : public CMenu {
public:
    CZellMenu();
    ~CZellMenu() override;

    // --- items ----------------------------------------------------------------
    // Appends an owner-drawn item; command 0 makes a separator whatever the
    // flags (only MF_BYPOSITION survives). The image is a bitmap resource (an
    // icon resource in icon mode), -1 for none: the item then shows the image
    // its command was given elsewhere, if any. False when the item cannot be
    // appended, or when its image cannot be had (the item is there, without).
    BOOL AppendODMenu(LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR command = 0, int imageId = -1);
    // The image is a copy of image `index` of `images`.
    BOOL AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command, CImageList* images, int index);
    // The image is the bitmap, its mask colour see-through.
    BOOL AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command, CBitmap* bitmap);
    // With MF_BYPOSITION at a position of this menu (-1 or beyond the end
    // appends); otherwise before the item of the command `position`, in
    // whichever of this menu's sub-menus holds it.
    BOOL InsertODMenu(UINT position, LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR command = 0, int imageId = -1);
    BOOL InsertODMenu(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, CImageList* images, int index);
    BOOL InsertODMenu(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, CBitmap* bitmap);
    // New text (null keeps it) and image of the item of the command, looked
    // for in the sub-menus too; an image id below 0 takes the image away.
    BOOL ModifyODMenu(LPCWSTR text, UINT_PTR command, int imageId = -1);
    BOOL ModifyODMenu(LPCWSTR text, UINT_PTR command, CImageList* images, int index);
    BOOL ModifyODMenu(LPCWSTR text, UINT_PTR command, CBitmap* bitmap);
    // The same for the item whose text is `match`.
    BOOL ModifyODMenu(LPCWSTR text, LPCWSTR match, int imageId = -1);
    BOOL ModifyODMenu(LPCWSTR text, LPCWSTR match, CImageList* images, int index);
    BOOL ModifyODMenu(LPCWSTR text, LPCWSTR match, CBitmap* bitmap);

    template<typename... Image>
    BOOL AppendODMenu(LPCSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR command = 0, Image... image)
    {
        return AppendODMenu(CWideText(text).Get(), flags, command, image...);
    }
    template<typename... Image>
    BOOL InsertODMenu(UINT position, LPCSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR command = 0, Image... image)
    {
        return InsertODMenu(position, CWideText(text).Get(), flags, command, image...);
    }
    template<typename... Image> BOOL ModifyODMenu(LPCSTR text, UINT_PTR command, Image... image)
    {
        return ModifyODMenu(CWideText(text).Get(), command, image...);
    }
    template<typename... Image> BOOL ModifyODMenu(LPCSTR text, LPCSTR match, Image... image)
    {
        return ModifyODMenu(CWideText(text).Get(), CWideText(match).Get(), image...);
    }

    // Builds the menu resource again as owner-drawn items, keeping each
    // item's command, state and sub-menus; false when there is no such menu.
    BOOL LoadMenu(UINT id);
    // The pop-up of this kind at the position, null for none.
    CZellMenu* GetSubMenu(int position) const;
    CZellMenu* SubMenu(int position) const { return GetSubMenu(position); }
    // A new pop-up of this menu's kind (sharing its check-mark images),
    // appended under `text`; this menu owns it.
    CZellMenu* AppendPopup(LPCWSTR text);
    // Removes the pop-up item with this text; kind 1 or 2 also takes the item
    // just before it, kind 3 the two before it (only those that exist).
    // The pop-up's position, or -1 when there is none.
    int DeletePopup(LPCWSTR text, int kind);
    // An item by command (of this menu only) or, with MF_BYPOSITION, by position.
    std::wstring GetMenuText(UINT item, UINT flags) const;
    // The same in narrow text; false when there is no such item.
    BOOL GetMenuText(UINT item, std::string& text, UINT flags) const;
    // By position, or by command in this menu and its sub-menus; false when
    // there is no such item.
    BOOL SetMenuText(UINT item, LPCWSTR text, UINT flags);
    BOOL SetMenuText(UINT item, LPCSTR text, UINT flags) { return SetMenuText(item, CWideText(text).Get(), flags); }
    // Takes the item and its data away, by position or by command (in this
    // menu or its sub-menus); a pop-up's sub-menu object goes with it.
    BOOL DeleteItem(UINT item, UINT flags);
    BOOL DeleteMenu(UINT item, UINT flags) { return DeleteItem(item, flags); }
    BOOL RemoveMenu(UINT item, UINT flags) { return DeleteItem(item, flags); }
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    const CZellMenuData* ItemData(int position) const;
    // Takes in what was done to the menu behind this object's back: items
    // added through the plain menu calls become owner-drawn items of this
    // menu, and the data of items that are gone is dropped.
    void SynchronizeMenu();
    // Whether every append synchronises the whole menu (on by default).
    void SetAutoSynchronize(bool on) { m_autoSynchronize = on; }

    // --- images ---------------------------------------------------------------
    // Gives every item whose command is on the toolbar that button's image.
    BOOL LoadToolbar(UINT toolbarId);
    // False when any of them fails.
    BOOL LoadToolbars(const UINT* toolbarIds, int count);
    // The colour that is see-through in bitmap and toolbar images (without
    // one, the button face colour is).
    void SetBackgroundColor(COLORREF colour);
    void SetMaskColour(COLORREF colour) { SetBackgroundColor(colour); }
    // Image ids then name icon resources, added as icons.
    void SetIconImages(bool icons) { m_iconImages = icons; }
    // Adds the bitmap (or, in icon mode, icon) resource to the list; false
    // when it cannot be loaded or added.
    BOOL AddBitmapToImageList(CImageList* images, UINT bitmapId) const;
    // Pictures that a checked item without an image of its own shows in
    // place of the drawn mark: one when it is not selected, one when it is.
    // Both ids must be above 0; false (and no pictures) when either cannot
    // be added. Shared with the sub-menus.
    BOOL LoadCheckmarkBitmap(int uncheckedId, int checkedId);

    // --- class-wide -----------------------------------------------------------
    // Whether the handle is a menu of this kind (and so draws its items).
    static BOOL IsMenu(HMENU menu);
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
    // The font of every menu of this kind; null goes back to the system's
    // menu font.
    static void SetGlobalFont(const LOGFONTW* font);
    // The command's image in the class-wide list, -1 for none.
    static int GlobalImageOf(UINT_PTR command);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;
    BOOL DestroyMenu() override;

private:
    // Where an item's image comes from.
    struct ImageSource {
        int resourceId = -1;
        CImageList* list = nullptr;
        int listIndex = -1;
        CBitmap* bitmap = nullptr;

        bool Given() const { return resourceId >= 0 || list != nullptr || bitmap != nullptr; }
    };
    // The check-mark pictures, shared by a menu and its sub-menus.
    struct CheckMarks {
        CImageList images;
        int uncheckedId = -1;
        int checkedId = -1;
    };
    // An image to draw: a list and an index there.
    struct ImageRef {
        HIMAGELIST list = nullptr;
        int index = -1;

        explicit operator bool() const { return list != nullptr && index >= 0; }
    };

    BOOL InsertItem(int position, LPCWSTR text, UINT flags, UINT_PTR command, const ImageSource& image);
    BOOL InsertAt(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, const ImageSource& image);
    BOOL ModifyItem(LPCWSTR text, CZellMenuData* data, const ImageSource& image);
    BOOL GiveImage(CZellMenuData& data, const ImageSource& image) const;
    bool AddImage(CImageList& images, const ImageSource& image) const;
    bool AddResourceImage(CImageList& images, int resourceId) const;
    COLORREF MaskColour() const;
    // The menu (this or a sub-menu) that holds the command, and where.
    CZellMenu* FindCommand(UINT_PTR command, int& position);
    // The menu that holds the item given by position (this one) or command.
    CZellMenu* FindHolder(UINT item, UINT flags, int& position);
    CZellMenuData* FindCommandData(UINT_PTR command);
    CZellMenuData* FindText(LPCWSTR text);
    int ItemPosition(UINT_PTR command) const;
    int FindItem(UINT item, UINT flags) const;
    void RemoveItemAt(int position);
    void CopyItems(HMENU source);
    std::unique_ptr<CZellMenuData> AdoptItem(int position);
    void DropLostPopups();

    const CFont& Font() const;
    int Gap() const;
    bool FlatLook(HDC dc) const;
    ImageRef ImageOf(const CZellMenuData& data, bool checked, bool selected) const;
    void DrawClassic(const DRAWITEMSTRUCT& item, const CZellMenuData& data);
    void DrawFlat(const DRAWITEMSTRUCT& item, const CZellMenuData& data);
    static int MarkStep(HDC dc);
    static POINT ClassicMarkOrigin(HDC dc, const RECT& box);
    void DrawCheckMark(HDC dc, int x, int y, bool radio, bool flat) const;
    void DrawLabel(HDC dc, const CZellMenuData& data, RECT area, COLORREF colour) const;

    static int RegisterGlobalImage(UINT_PTR command, CImageList& images, int index);

    std::vector<std::unique_ptr<CZellMenuData>> m_items;
    std::vector<std::unique_ptr<CZellMenu>> m_popups;
    COLORREF m_maskColour = RGB(192, 192, 192);
    bool m_maskColourGiven = false;
    bool m_iconImages = false;
    bool m_autoSynchronize = true;
    std::shared_ptr<CheckMarks> m_checkMarks = std::make_shared<CheckMarks>();
    // Made on first use, and again after the class-wide font changed.
    mutable CFont m_font;
    mutable int m_fontGeneration = -1;

    static int s_drawMode;
    static int s_imageWidth;
    static int s_imageHeight;
    static COLORREF s_selection;
    static COLORREF s_selectionFill;
    static COLORREF s_text;
    static int s_fontGeneration;
};

}  // namespace ZELL::Skin
