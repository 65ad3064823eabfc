// The button's drop-down menu: loading it, opening it under the button and
// answering the menu's owner-drawn and mnemonic questions.
#include "Common/Skin/SkinButton.h"

namespace ZELL::Skin {

DWORD CSkinButton::SetMenu(UINT menuId, HWND owner, int drawMode, UINT toolbarId, int imageWidth, int imageHeight,
                           COLORREF toolbarMask, BOOL repaint)
{
    m_menu.DestroyMenu();
    m_menuOwner = nullptr;
    m_menuShown = FALSE;
    DWORD result = 0;
    if (menuId != 0) {
        CZellMenu::SetDrawMode(drawMode);
        if (!m_menu.LoadMenu(menuId)) {
            result = 1;
        } else if (toolbarId != 0) {
            m_menu.SetMaskColour(toolbarMask);
            CZellMenu::SetIconSize(imageWidth, imageHeight);
            // The images go to the sub-menus, where the commands are.
            bool loaded = true;
            for (int i = 0; i < m_menu.ItemCount(); ++i) {
                if (CZellMenu* sub = m_menu.SubMenu(i); sub != nullptr)
                    loaded = sub->LoadToolbar(toolbarId) && loaded;
            }
            if (!loaded) {
                m_menu.DestroyMenu();
                result = 1;
            }
        }
        if (result == 0)
            m_menuOwner = owner;
    }
    if (repaint && m_hWnd != nullptr)
        Invalidate();
    return result;
}

void CSkinButton::SetMenuCallback(HWND window, UINT message, LPARAM value)
{
    m_menuCallbackWindow = window;
    m_menuCallbackMessage = message;
    m_menuCallbackValue = value;
}

void CSkinButton::ShowMenu()
{
    CZellMenu* drop = DropDownMenu();
    if (drop == nullptr)
        return;
    m_menuShown = TRUE;
    Invalidate();
    UpdateWindow();
    if (m_menuCallbackWindow != nullptr)
        ::SendMessageW(m_menuCallbackWindow, m_menuCallbackMessage, reinterpret_cast<WPARAM>(drop->GetSafeHmenu()),
                       m_menuCallbackValue);
    CRect bounds;
    GetWindowRect(&bounds);
    const int command = ::TrackPopupMenu(drop->GetSafeHmenu(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                         bounds.left, bounds.bottom, 0, m_hWnd, nullptr);
    m_menuShown = FALSE;
    if (m_hWnd != nullptr)
        Invalidate();
    if (command != 0 && m_menuOwner != nullptr)
        ::PostMessageW(m_menuOwner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool CSkinButton::IsOwnMenu(HMENU menu) const
{
    for (int i = 0; i < m_menu.ItemCount(); ++i) {
        if (const CZellMenu* sub = m_menu.SubMenu(i); sub != nullptr && sub->GetSafeHmenu() == menu)
            return true;
    }
    return false;
}

void CSkinButton::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item)
{
    if (item->CtlType == ODT_MENU && m_menuShown)
        m_menu.MeasureItem(item);
    else
        CButton::OnMeasureItem(id, item);
}

void CSkinButton::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    if (item->CtlType == ODT_MENU && IsOwnMenu(reinterpret_cast<HMENU>(item->hwndItem)))
        m_menu.DrawItem(item);
    else
        CButton::OnDrawItem(id, item);
}

LRESULT CSkinButton::OnMenuChar(UINT character, UINT flags, CMenu* menu)
{
    if (menu != nullptr && IsOwnMenu(menu->GetSafeHmenu())) {
        for (int i = 0; i < m_menu.ItemCount(); ++i) {
            if (CZellMenu* sub = m_menu.SubMenu(i); sub != nullptr && sub->GetSafeHmenu() == menu->GetSafeHmenu())
                return CZellMenu::FindKeyboardShortcut(character, flags, sub);
        }
    }
    return CButton::OnMenuChar(character, flags, menu);
}

}  // namespace ZELL::Skin
