#include "Common/Grid/ComboEdit.h"

#include "Common/Grid/InPlaceList.h"

namespace ZELL::Grid {

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

namespace {

CInPlaceList* OwningList(const CWnd* edit)
{
    return dynamic_cast<CInPlaceList*>(CWnd::FromHandlePermanent(::GetParent(edit->GetSafeHwnd())));
}

bool EndsEditing(UINT key)
{
    return (key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN)) &&
           (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

}

BOOL CComboEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_SYSCHAR)
        return TRUE;
    if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) {
        ::TranslateMessage(msg);
        ::DispatchMessageW(msg);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
}

void CComboEdit::OnKillFocus(CWnd* newWindow)
{
    CEdit::OnKillFocus(newWindow);
    if (CInPlaceList* list = OwningList(this))
        list->EndEdit();
}

void CComboEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE)
        if (CInPlaceList* list = OwningList(this))
            list->PrepareEscape();
    if (EndsEditing(key)) {
        if (CInPlaceList* list = OwningList(this))
            list->FinishWith(key, false);
        return;
    }
    CEdit::OnKeyDown(key, repeat, flags);
}

void CComboEdit::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
        if (CInPlaceList* list = OwningList(this))
            list->FinishWith(key, key == VK_ESCAPE);
        return;
    }
    CEdit::OnKeyUp(key, repeat, flags);
}

}  // namespace ZELL::Grid
