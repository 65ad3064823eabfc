#pragma once
// The header of every common control's notification and the messages all
// common controls share, with the platform's numbers. The style headers of
// the single controls build on this one alone, so that CommCtrl.h can gather
// them without a header including its includer.
#include "Platform/Controls/ControlStyles.h"

#include <cstdint>

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};
using LPNMHDR = NMHDR*;

constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;

// The text that a tooltip or list view item asks its owner for when shown.
inline const LPWSTR LPSTR_TEXTCALLBACKW = reinterpret_cast<LPWSTR>(static_cast<std::intptr_t>(-1));
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW
