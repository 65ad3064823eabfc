#include "Platform/Display/X11KeyMap.h"

#include "Platform/Display/VirtualKeys.h"

#include <X11/keysym.h>

#include <algorithm>
#include <array>

namespace Display::X11 {
namespace {

// Not among the shared codes: the extra key of ISO keyboards (<> beside left Shift).
constexpr UINT VK_OEM_102 = 0xE2;

struct Entry {
    unsigned long keysym;
    UINT vk;
    bool extended;
};

// Sorted by key symbol for the binary search below.
constexpr auto kTable = [] {
    std::array<Entry, 79> table{{
        {XK_space, VK_SPACE, false},
        {XK_apostrophe, VK_OEM_7, false},
        {XK_comma, VK_OEM_COMMA, false},
        {XK_minus, VK_OEM_MINUS, false},
        {XK_period, VK_OEM_PERIOD, false},
        {XK_slash, VK_OEM_2, false},
        {XK_semicolon, VK_OEM_1, false},
        {XK_less, VK_OEM_102, false},
        {XK_equal, VK_OEM_PLUS, false},
        {XK_bracketleft, VK_OEM_4, false},
        {XK_backslash, VK_OEM_5, false},
        {XK_bracketright, VK_OEM_6, false},
        {XK_grave, VK_OEM_3, false},
        {XK_ISO_Left_Tab, VK_TAB, false},
        {XK_BackSpace, VK_BACK, false},
        {XK_Tab, VK_TAB, false},
        {XK_Clear, VK_CLEAR, false},
        {XK_Return, VK_RETURN, false},
        {XK_Pause, VK_PAUSE, false},
        {XK_Scroll_Lock, VK_SCROLL, false},
        {XK_Sys_Req, VK_SNAPSHOT, true},
        {XK_Escape, VK_ESCAPE, false},
        {XK_Home, VK_HOME, true},
        {XK_Left, VK_LEFT, true},
        {XK_Up, VK_UP, true},
        {XK_Right, VK_RIGHT, true},
        {XK_Down, VK_DOWN, true},
        {XK_Prior, VK_PRIOR, true},
        {XK_Next, VK_NEXT, true},
        {XK_End, VK_END, true},
        {XK_Print, VK_SNAPSHOT, true},
        {XK_Insert, VK_INSERT, true},
        {XK_Menu, VK_APPS, true},
        {XK_Help, VK_HELP, false},
        {XK_Break, VK_PAUSE, false},
        {XK_Num_Lock, VK_NUMLOCK, true},
        {XK_KP_Enter, VK_RETURN, true},
        {XK_KP_Home, VK_HOME, false},
        {XK_KP_Left, VK_LEFT, false},
        {XK_KP_Up, VK_UP, false},
        {XK_KP_Right, VK_RIGHT, false},
        {XK_KP_Down, VK_DOWN, false},
        {XK_KP_Prior, VK_PRIOR, false},
        {XK_KP_Next, VK_NEXT, false},
        {XK_KP_End, VK_END, false},
        {XK_KP_Begin, VK_CLEAR, false},
        {XK_KP_Insert, VK_INSERT, false},
        {XK_KP_Delete, VK_DELETE, false},
        {XK_KP_Multiply, VK_MULTIPLY, false},
        {XK_KP_Add, VK_ADD, false},
        {XK_KP_Separator, VK_SEPARATOR, false},
        {XK_KP_Subtract, VK_SUBTRACT, false},
        {XK_KP_Decimal, VK_DECIMAL, false},
        {XK_KP_Divide, VK_DIVIDE, true},
        {XK_KP_0, VK_NUMPAD0 + 0, false},
        {XK_KP_1, VK_NUMPAD0 + 1, false},
        {XK_KP_2, VK_NUMPAD0 + 2, false},
        {XK_KP_3, VK_NUMPAD0 + 3, false},
        {XK_KP_4, VK_NUMPAD0 + 4, false},
        {XK_KP_5, VK_NUMPAD0 + 5, false},
        {XK_KP_6, VK_NUMPAD0 + 6, false},
        {XK_KP_7, VK_NUMPAD0 + 7, false},
        {XK_KP_8, VK_NUMPAD0 + 8, false},
        {XK_KP_9, VK_NUMPAD0 + 9, false},
        {XK_Shift_L, VK_SHIFT, false},
        {XK_Shift_R, VK_SHIFT, false},
        {XK_Control_L, VK_CONTROL, false},
        {XK_Control_R, VK_CONTROL, true},
        {XK_Caps_Lock, VK_CAPITAL, false},
        {XK_Meta_L, VK_MENU, false},
        {XK_Meta_R, VK_MENU, true},
        {XK_Alt_L, VK_MENU, false},
        {XK_Alt_R, VK_MENU, true},
        {XK_Super_L, VK_LWIN, true},
        {XK_Super_R, VK_RWIN, true},
        {XK_ISO_Level3_Shift, VK_MENU, true},
        {XK_Delete, VK_DELETE, true},
        {XK_KP_Space, VK_SPACE, false},
        {XK_KP_Tab, VK_TAB, false},
    }};
    std::sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.keysym < b.keysym; });
    return table;
}();

}

VirtualKey VirtualKeyFromKeysym(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return {static_cast<UINT>('A' + (keysym - XK_a)), false};
    if (keysym >= XK_A && keysym <= XK_Z)
        return {static_cast<UINT>(keysym), false};
    if (keysym >= XK_0 && keysym <= XK_9)
        return {static_cast<UINT>(keysym), false};
    if (keysym >= XK_F1 && keysym <= XK_F24)
        return {static_cast<UINT>(VK_F1 + (keysym - XK_F1)), false};
    const auto* end = kTable.data() + kTable.size();
    const auto* it = std::lower_bound(kTable.data(), end, keysym,
                                      [](const Entry& e, unsigned long k) { return e.keysym < k; });
    if (it != end && it->keysym == keysym)
        return {it->vk, it->extended};
    return {};
}

UINT ScanCodeFromKeycode(unsigned int keycode, const VirtualKey& key)
{
    if (key.extended) {
        switch (key.code) {
        case VK_RETURN: return 0x1C;
        case VK_CONTROL: return 0x1D;
        case VK_DIVIDE: return 0x35;
        case VK_SNAPSHOT: return 0x37;
        case VK_MENU: return 0x38;
        case VK_NUMLOCK: return 0x45;
        case VK_HOME: return 0x47;
        case VK_UP: return 0x48;
        case VK_PRIOR: return 0x49;
        case VK_LEFT: return 0x4B;
        case VK_RIGHT: return 0x4D;
        case VK_END: return 0x4F;
        case VK_DOWN: return 0x50;
        case VK_NEXT: return 0x51;
        case VK_INSERT: return 0x52;
        case VK_DELETE: return 0x53;
        case VK_LWIN: return 0x5B;
        case VK_RWIN: return 0x5C;
        case VK_APPS: return 0x5D;
        default: return 0;
        }
    }
    // Evdev codes 1..88 are the set-1 codes of the main block, keypad and F1..F12.
    if (keycode >= 8 + 1 && keycode <= 8 + 0x58)
        return keycode - 8;
    return 0;
}

}
