// Key states and the US layout: scan codes, characters, accelerators.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <cstring>

using namespace Ui;

namespace {

// A key of the main block: its set-1 scan code and the characters it types.
struct LayoutKey {
    UINT virtualKey;
    UINT scanCode;
    wchar_t plain;
    wchar_t shifted;
};

constexpr LayoutKey kLayout[] = {
    {VK_ESCAPE, 0x01, L'\x1b', L'\x1b'}, {'1', 0x02, L'1', L'!'}, {'2', 0x03, L'2', L'@'}, {'3', 0x04, L'3', L'#'},
    {'4', 0x05, L'4', L'$'}, {'5', 0x06, L'5', L'%'}, {'6', 0x07, L'6', L'^'}, {'7', 0x08, L'7', L'&'},
    {'8', 0x09, L'8', L'*'}, {'9', 0x0A, L'9', L'('}, {'0', 0x0B, L'0', L')'}, {VK_OEM_MINUS, 0x0C, L'-', L'_'},
    {VK_OEM_PLUS, 0x0D, L'=', L'+'}, {VK_BACK, 0x0E, L'\b', L'\b'}, {VK_TAB, 0x0F, L'\t', L'\t'},
    {'Q', 0x10, L'q', L'Q'}, {'W', 0x11, L'w', L'W'}, {'E', 0x12, L'e', L'E'}, {'R', 0x13, L'r', L'R'},
    {'T', 0x14, L't', L'T'}, {'Y', 0x15, L'y', L'Y'}, {'U', 0x16, L'u', L'U'}, {'I', 0x17, L'i', L'I'},
    {'O', 0x18, L'o', L'O'}, {'P', 0x19, L'p', L'P'}, {VK_OEM_4, 0x1A, L'[', L'{'}, {VK_OEM_6, 0x1B, L']', L'}'},
    {VK_RETURN, 0x1C, L'\r', L'\r'}, {VK_CONTROL, 0x1D, 0, 0}, {'A', 0x1E, L'a', L'A'}, {'S', 0x1F, L's', L'S'},
    {'D', 0x20, L'd', L'D'}, {'F', 0x21, L'f', L'F'}, {'G', 0x22, L'g', L'G'}, {'H', 0x23, L'h', L'H'},
    {'J', 0x24, L'j', L'J'}, {'K', 0x25, L'k', L'K'}, {'L', 0x26, L'l', L'L'}, {VK_OEM_1, 0x27, L';', L':'},
    {VK_OEM_7, 0x28, L'\'', L'"'}, {VK_OEM_3, 0x29, L'`', L'~'}, {VK_SHIFT, 0x2A, 0, 0},
    {VK_OEM_5, 0x2B, L'\\', L'|'}, {'Z', 0x2C, L'z', L'Z'}, {'X', 0x2D, L'x', L'X'}, {'C', 0x2E, L'c', L'C'},
    {'V', 0x2F, L'v', L'V'}, {'B', 0x30, L'b', L'B'}, {'N', 0x31, L'n', L'N'}, {'M', 0x32, L'm', L'M'},
    {VK_OEM_COMMA, 0x33, L',', L'<'}, {VK_OEM_PERIOD, 0x34, L'.', L'>'}, {VK_OEM_2, 0x35, L'/', L'?'},
    {VK_RSHIFT, 0x36, 0, 0}, {VK_MULTIPLY, 0x37, L'*', L'*'}, {VK_MENU, 0x38, 0, 0}, {VK_SPACE, 0x39, L' ', L' '},
    {VK_CAPITAL, 0x3A, 0, 0}, {VK_F1, 0x3B, 0, 0}, {VK_F2, 0x3C, 0, 0}, {VK_F3, 0x3D, 0, 0}, {VK_F4, 0x3E, 0, 0},
    {VK_F5, 0x3F, 0, 0}, {VK_F6, 0x40, 0, 0}, {VK_F7, 0x41, 0, 0}, {VK_F8, 0x42, 0, 0}, {VK_F9, 0x43, 0, 0},
    {VK_F10, 0x44, 0, 0}, {VK_SUBTRACT, 0x4A, L'-', L'-'}, {VK_ADD, 0x4E, L'+', L'+'}, {VK_F11, 0x57, 0, 0},
    {VK_F12, 0x58, 0, 0},
};

const LayoutKey* ByVirtualKey(UINT virtualKey)
{
    if (virtualKey == VK_LSHIFT)
        virtualKey = VK_SHIFT;
    if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL)
        virtualKey = VK_CONTROL;
    if (virtualKey == VK_LMENU || virtualKey == VK_RMENU)
        virtualKey = VK_MENU;
    for (const LayoutKey& key : kLayout) {
        if (key.virtualKey == virtualKey)
            return &key;
    }
    return nullptr;
}

const LayoutKey* ByScanCode(UINT scanCode)
{
    for (const LayoutKey& key : kLayout) {
        if (key.scanCode == (scanCode & 0xFF))
            return &key;
    }
    return nullptr;
}

bool Down(BYTE state) { return (state & 0x80) != 0; }

}

BOOL GetKeyboardState(BYTE* keyState)
{
    if (keyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& ws = WindowSystem::Get();
    std::lock_guard lock(ws.Lock());
    std::memcpy(keyState, ws.m_keyState, sizeof ws.m_keyState);
    return TRUE;
}

UINT MapVirtualKeyW(UINT code, UINT mapType)
{
    switch (mapType) {
    case MAPVK_VK_TO_VSC: {
        const LayoutKey* key = ByVirtualKey(code);
        return key != nullptr ? key->scanCode : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
        const LayoutKey* key = ByScanCode(code);
        if (key == nullptr)
            return 0;
        if (mapType == MAPVK_VSC_TO_VK_EX && key->virtualKey == VK_SHIFT)
            return VK_LSHIFT;
        return key->virtualKey;
    }
    case MAPVK_VK_TO_CHAR: {
        const LayoutKey* key = ByVirtualKey(code);
        if (key == nullptr || key->plain == 0)
            return 0;
        // Letters map to their capitals, as the platform reports them.
        return (code >= 'A' && code <= 'Z') ? code : static_cast<UINT>(key->plain);
    }
    default:
        return 0;
    }
}

int ToUnicode(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWSTR buffer, int count, UINT)
{
    if (keyState == nullptr || buffer == nullptr || count <= 0)
        return 0;
    // A release types nothing.
    if ((scanCode & 0x8000) != 0)
        return 0;
    const LayoutKey* key = ByVirtualKey(virtualKey);
    if (key == nullptr || key->plain == 0)
        return 0;
    const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
    bool shifted = Down(keyState[VK_SHIFT]);
    if (letter && (keyState[VK_CAPITAL] & 0x01) != 0)
        shifted = !shifted;
    wchar_t c = shifted ? key->shifted : key->plain;
    if (Down(keyState[VK_CONTROL]) && !Down(keyState[VK_MENU])) {
        if (!letter)
            return 0;
        c = static_cast<wchar_t>(virtualKey - 'A' + 1);
    }
    buffer[0] = c;
    if (count > 1)
        buffer[1] = 0;
    return 1;
}
