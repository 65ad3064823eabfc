#pragma once
// Translation of X key symbols into the virtual-key codes that the window
// layer's keyboard messages carry.

#include "Platform/Base/Types.h"

namespace Display::X11 {

struct VirtualKey {
    UINT code = 0;         // 0: the key has no virtual-key code
    bool extended = false; // the key sits outside the main block (bit 24 of a key message's lParam)
};

// `keysym` is an X KeySym. Letters map to their upper-case code whatever the
// case of the symbol; keypad symbols keep the numeric-keypad codes when they
// are digits and become the cursor keys (not extended) when Num Lock is off.
VirtualKey VirtualKeyFromKeysym(unsigned long keysym);

// The set-1 scan code of a key, 0 when it has none. `keycode` is the X key
// code (evdev code + 8 on Linux servers); the keys of the main block keep
// their evdev number, which is the set-1 code, the extended keys are looked up.
UINT ScanCodeFromKeycode(unsigned int keycode, const VirtualKey& key);

}
