#pragma once
// The keyboard as the layer reports it: key states, the US layout's scan
// codes and characters, and accelerator tables. Included by WinUser.h.
#include <vector>

BOOL GetKeyboardState(BYTE* keyState);
UINT MapVirtualKeyW(UINT code, UINT mapType);
int ToUnicode(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWSTR buffer, int count, UINT flags);
#define MapVirtualKey MapVirtualKeyW

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;

// Accelerator tables.
ZELL_DECLARE_HANDLE(HACCEL);
struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};
using LPACCEL = ACCEL*;
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);
#define TranslateAccelerator TranslateAcceleratorW
