#include "Common/Grid/GridNotify.h"

#include "Platform/Ui/WinUser.h"

namespace ZELL::Grid {

HWND NotifyEditEnded(HWND editor, int row, int col, const CString& text, UINT endKey)
{
    NMGRIDDISPINFO info;
    info.hdr.hwndFrom = editor;
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(editor));
    info.hdr.code = static_cast<UINT>(GRIDN_ENDLABELEDIT);
    info.item.mask = GRIDIF_TEXT | GRIDIF_PARAM;
    info.item.row = row;
    info.item.col = col;
    info.item.text = text;
    info.item.userValue = static_cast<LPARAM>(endKey);
    HWND owner = ::GetWindow(editor, GW_OWNER);
    HWND target = owner != nullptr ? owner : ::GetParent(editor);
    if (target != nullptr)
        ::SendMessageW(target, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    return target;
}

void FinishInPlaceEdit(HWND editor, int row, int col, const CString& text, UINT endKey)
{
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    NotifyEditEnded(editor, row, col, text, endKey);
    if (::IsWindow(editor))
        ::SendMessageW(editor, WM_CLOSE, 0, 0);
    ending = false;
}

}  // namespace ZELL::Grid
