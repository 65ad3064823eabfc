#include "Platform/Controls/MessageBox.h"

#include "Platform/Controls/MessageBoxDialog.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    return ZELL::Controls::CMessageBoxDialog(owner, text, caption, type).Run();
}

int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD)
{
    return MessageBoxW(owner, text, caption, type);
}
