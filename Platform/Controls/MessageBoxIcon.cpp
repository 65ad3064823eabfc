#include "Platform/Controls/MessageBoxIcon.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/WinUser.h"

namespace ZELL::Controls {

namespace {

LPCWSTR SystemIconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

}

bool DrawMessageBoxIcon(HDC dc, int x, int y, UINT type)
{
    LPCWSTR name = SystemIconOf(type);
    if (name == nullptr)
        return false;
    // System icons are shared: loaded once, never destroyed.
    HICON icon = LoadIconW(nullptr, name);
    return icon != nullptr && DrawIconEx(dc, x, y, icon, kMessageBoxIconSize, kMessageBoxIconSize, 0, nullptr, DI_NORMAL);
}

}
