#pragma once
// The keyboard as the layer reports it: key states, the US layout's scan
// codes and characters, and accelerator tables. Included by WinUser.h.
#include "Platform/Ui/Accelerator.h"

#include <vector>

BOOL GetKeyboardState(BYTE* keyState);
UINT MapVirtualKeyW(UINT code, UINT mapType);
int ToUnicode(UINT virtualKey, UINT scanCode, const BYTE* keyState, LPWSTR buffer, int count, UINT flags);
#define MapVirtualKey MapVirtualKeyW

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;

// Accelerator tables (the handles and entries are in Accelerator.h).
int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);
#define TranslateAccelerator TranslateAcceleratorW
