// CWnd: the command UI of its controls and of the menus it opens.
#include "Platform/Framework/Core/CmdUI.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Windows/Wnd.h"

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id <= 0 || id == 0xFFFF)
            continue;
        CCmdUI ui;
        ui.m_nID = static_cast<UINT>(id);
        ui.m_pOther = FromHandle(child);
        // Only buttons are commands; other controls are left alone without a handler.
        const bool button = (::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0;
        ui.DoUpdate(target, disableIfNoHandler && button);
    }
}

void CWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (popup && !sysMenu) {
        const int count = popup->GetMenuItemCount();
        for (int index = 0; index < count; ++index) {
            const UINT id = popup->GetMenuItemID(index);
            if (id == 0 || id == static_cast<UINT>(-1))
                continue;  // separators and sub-menus
            CCmdUI ui;
            ui.m_nID = id;
            ui.m_nIndex = static_cast<UINT>(index);
            ui.m_pMenu = popup;
            ui.DoUpdate(this, FALSE);
        }
    }
    Default();
}
