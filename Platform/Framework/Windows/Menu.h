#pragma once
// A menu handle as an object. A CMenu that made or attached its menu owns
// it (one owner per handle) and destroys it with itself; FromHandle finds
// that owner, or gives a temporary wrapper that never destroys the menu.
// Owner-drawn menus derive and draw their items in DrawItem/MeasureItem.
#include "Platform/Base/CString.h"
#include "Platform/Framework/Core/Object.h"
#include "Platform/Ui/WinUser.h"

class CBitmap;
class CWnd;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU menu);
    // The owning CMenu of a handle, null when none owns it.
    static CMenu* FromHandlePermanent(HMENU menu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    bool operator==(const CMenu& other) const { return m_hMenu == other.m_hMenu; }

    // --- making and destroying ------------------------------------------------
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(LPCWSTR name);
    BOOL LoadMenuIndirect(const void* menuTemplate);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    virtual BOOL DestroyMenu();

    // --- items ----------------------------------------------------------------
    BOOL AppendMenu(UINT flags, UINT_PTR item = 0, LPCWSTR text = nullptr) { return ::AppendMenuW(m_hMenu, flags, item, text); }
    BOOL AppendMenu(UINT flags, UINT_PTR item, const CBitmap* bitmap);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR item = 0, LPCWSTR text = nullptr)
    {
        return ::InsertMenuW(m_hMenu, position, flags, item, text);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR item, const CBitmap* bitmap);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR item = 0, LPCWSTR text = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, position, flags, item, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR item, const CBitmap* bitmap);
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    // Deletes the item; a sub-menu it opened goes with it.
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    BOOL InsertMenuItem(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE)
    {
        return ::InsertMenuItemW(m_hMenu, item, byPosition, info);
    }
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE) const
    {
        return ::GetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE)
    {
        return ::SetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
    BOOL SetMenuItemBitmaps(UINT position, UINT flags, const CBitmap* unchecked, const CBitmap* checked);

    // --- state ----------------------------------------------------------------
    UINT CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT check, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, check, flags);
    }
    UINT EnableMenuItem(UINT item, UINT flags) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, flags)); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, LPWSTR buffer, int max, UINT flags) const
    {
        return ::GetMenuStringW(m_hMenu, item, buffer, max, flags);
    }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) const { return ::GetMenuDefaultItem(m_hMenu, byPosition, flags); }

    // --- showing --------------------------------------------------------------
    // With TPM_RETURNCMD the chosen command, else whether one was chosen
    // (the owner gets it as WM_COMMAND).
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT ignored = nullptr);
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params);

    // Owner-drawn items: what a derived menu draws and measures.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item);

    HMENU m_hMenu = nullptr;
};
