#include "Platform/Ui/CbtHooks.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

using namespace Ui;

BOOL CallMsgFilterW(MSG* msg, int code)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool handled = false;
    CallHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg), &handled);
    return handled ? TRUE : FALSE;
}
