// Accelerator tables applied to key and character messages. Apart from the
// rest of the keyboard, so that only programs that translate accelerators
// need the resource loader's tables.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/AcceleratorAccess.h"

using namespace Ui;

namespace {

bool IsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

BYTE CurrentModifiers()
{
    BYTE modifiers = 0;
    if (IsDown(VK_SHIFT))
        modifiers |= FSHIFT;
    if (IsDown(VK_CONTROL))
        modifiers |= FCONTROL;
    if (IsDown(VK_MENU))
        modifiers |= FALT;
    return modifiers;
}

}

const ACCEL* Ui::MatchAccelerator(const std::vector<ACCEL>& entries, const MSG& msg)
{
    const bool keyMessage = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool charMessage = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!keyMessage && !charMessage)
        return nullptr;
    const BYTE modifiers = CurrentModifiers();
    for (const ACCEL& entry : entries) {
        if ((entry.fVirt & FVIRTKEY) != 0) {
            if (keyMessage && entry.key == msg.wParam && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers)
                return &entry;
            continue;
        }
        // A character entry: Alt decides between WM_CHAR and WM_SYSCHAR.
        const bool wantsAlt = (entry.fVirt & FALT) != 0;
        if (charMessage && entry.key == msg.wParam && wantsAlt == (msg.message == WM_SYSCHAR))
            return &entry;
    }
    return nullptr;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg)
{
    if (msg == nullptr || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<ACCEL> entries;
    if (!ReadAcceleratorEntries(table, entries))
        return 0;
    const ACCEL* entry = MatchAccelerator(entries, *msg);
    if (entry == nullptr)
        return 0;
    // The command says it came from an accelerator (1 in the high word).
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(entry->cmd, 1), 0);
    return 1;
}
