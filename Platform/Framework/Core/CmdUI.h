#pragma once
// The state of one command's user interface (a menu item or a dialog
// control), which an ON_UPDATE_COMMAND_UI handler sets.
#include "Platform/Base/CString.h"
#include "Platform/Framework/Core/CmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;           // the item's position in m_pMenu
    CMenu* m_pMenu = nullptr;    // a menu item, or
    CWnd* m_pOther = nullptr;    // a control
    BOOL m_bEnableChanged = FALSE;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCWSTR text);

    // Asks the target; TRUE when a handler answered. Without one the item is
    // disabled when `disableIfNoHandler` holds.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
