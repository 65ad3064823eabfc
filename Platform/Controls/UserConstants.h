#pragma once
// Constants of the window layer that the controls answer with or take, and
// that the dialog manager and the resource functions also name. They live
// here until the window layer's own headers carry them; then this header
// shrinks to an include of those.
#include "Platform/Ui/WinUser.h"

// Image kinds of BM_SETIMAGE, STM_SETIMAGE and LoadImage.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT IMAGE_ENHMETAFILE = 3;
