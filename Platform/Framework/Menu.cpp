#include "Platform/Framework/Menu.h"

#include "Platform/Framework/TempHandleMap.h"
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/WinUser.h"

#include <utility>

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU menu) { return CTempHandleMap<CMenu, HMENU, &CMenu::m_hMenu>::FromHandle(menu); }

BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenuW(Ui::GetResourceModule(), MAKEINTRESOURCEW(id))); }

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() { return std::exchange(m_hMenu, nullptr); }

BOOL CMenu::DestroyMenu()
{
    const HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}
