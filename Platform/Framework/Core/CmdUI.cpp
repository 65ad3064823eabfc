#include "Platform/Framework/Core/CmdUI.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Windows/Wnd.h"

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // The focus does not stay on a control that goes grey.
        if (!on && ::GetFocus() == m_pOther->m_hWnd)
            ::SendMessageW(::GetParent(m_pOther->m_hWnd), WM_NEXTDLGCTL, 0, FALSE);
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON))
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(LPCWSTR text)
{
    if (m_pMenu) {
        MENUITEMINFOW info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(text);
        ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther) {
        CString current;
        m_pOther->GetWindowText(current);
        if (current != text)
            m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    const BOOL handled = target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
        Enable(target->HasCommandHandler(m_nID));
    return handled;
}
