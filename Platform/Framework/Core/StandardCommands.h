#pragma once
// Command ids of the standard Edit menu. A control that can cut, copy, paste
// or select handles them in its message map, so that one menu or tool bar
// reaches whichever control takes the command.
#include "Platform/Base/Types.h"

constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_SELECT_ALL = 0xE12A;
