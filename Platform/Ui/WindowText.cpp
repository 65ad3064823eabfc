// Window texts.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

using namespace Ui;

namespace {

using Lock = std::unique_lock<std::mutex>;

}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int count)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    buffer[0] = 0;
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : L"")));
}
