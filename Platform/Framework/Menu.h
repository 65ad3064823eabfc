#pragma once
// A menu handle as an object; menus given to handlers are temporary
// wrappers (FromHandle) that never destroy the menu.
#include "Platform/Framework/Object.h"
#include "Platform/Ui/Menu.h"

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU menu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL DestroyMenu();

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    UINT EnableMenuItem(UINT item, UINT flags) { return ::EnableMenuItem(m_hMenu, item, flags); }
    UINT CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    BOOL AppendMenu(UINT flags, UINT_PTR item = 0, LPCWSTR text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, item, text);
    }

    HMENU m_hMenu = nullptr;
};
