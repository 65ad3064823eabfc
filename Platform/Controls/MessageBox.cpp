#include "Platform/Controls/MessageBox.h"

#include "Platform/Base/LastError.h"
#include "Platform/Controls/MessageBoxDialog.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return ZELL::Controls::CMessageBoxDialog(owner, text, caption, type).Run();
}

int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD)
{
    return MessageBoxW(owner, text, caption, type);
}

int MessageBoxIndirectW(const MSGBOXPARAMSW* params)
{
    if (params == nullptr || params->cbSize < sizeof(MSGBOXPARAMSW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ZELL::Controls::CMessageBoxDialog box(params->hwndOwner, params->lpszText, params->lpszCaption, params->dwStyle);
    box.SetHelp(params->lpfnMsgBoxCallback, params->dwContextHelpId);
    return box.Run();
}
