#include "Platform/Ui/SystemKeys.h"

#include "Platform/Ui/SystemMenuAccess.h"

using namespace Ui;

namespace {

constexpr LPARAM kAltDown = 1 << 29;
constexpr LPARAM kRepeated = 1 << 30;

// The last system key pressed on this thread: Alt released with nothing
// pressed since opens the menu, Alt released after a combination does not.
thread_local WPARAM g_lastSystemKey = 0;

bool IsAltKey(WPARAM key)
{
    return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

HWND TopLevelOf(HWND hwnd)
{
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root != nullptr ? root : hwnd;
}

}

std::wstring Ui::SystemKeyText(UINT virtualKey)
{
    BYTE state[256]{};
    if (!GetKeyboardState(state))
        return {};
    state[VK_CONTROL] = 0;
    wchar_t c[2]{};
    if (ToUnicode(virtualKey, MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC), state, c, 2, 0) != 1 || c[0] < L' ')
        return {};
    return std::wstring(1, c[0]);
}

LRESULT Ui::DefSystemKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & kAltDown) != 0 && (lParam & kRepeated) == 0)
            ChooseSystemCommand(TopLevelOf(hwnd), SC_CLOSE);
        if ((lParam & kRepeated) == 0)
            g_lastSystemKey = wParam;
        return 0;
    case WM_SYSKEYUP: {
        const bool alone = (IsAltKey(wParam) && IsAltKey(g_lastSystemKey)) || (wParam == VK_F10 && g_lastSystemKey == VK_F10);
        g_lastSystemKey = 0;
        if (alone)
            SendMessageW(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    }
    case WM_SYSCHAR:
        if (wParam >= L' ')
            SendMessageW(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return 0;
    default:
        return 0;
    }
}
