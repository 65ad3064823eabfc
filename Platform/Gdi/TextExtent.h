#pragma once
// Text measurement by character, for edit controls, hit testing and fitting.
#include "Platform/Gdi/GdiTypes.h"

// Measures `count` characters of `text` as TextOut draws them in one line.
// `size` gets the extent of the whole text (as GetTextExtentPoint32 gives
// it); `dx`, when given, the extent of the first 1, 2, ... count characters;
// `fit`, when given, the number of characters whose extent stays within
// `maxExtent`. A character that joins the one before it (a combining mark)
// counts with the cluster it completes, so no extent splits what is drawn as
// one. Fails with ERROR_INVALID_PARAMETER for a negative count, a null text
// with a positive count, or a null `size`.
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, LPSIZE size);
#define GetTextExtentExPoint GetTextExtentExPointW
