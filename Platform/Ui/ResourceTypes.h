#pragma once
// The numbers of the resource types, for the code that compares keys.
#include "Platform/Base/Types.h"

namespace Ui::ResourceType {

constexpr WORD Cursor = 1;
constexpr WORD Bitmap = 2;
constexpr WORD Icon = 3;
constexpr WORD Menu = 4;
constexpr WORD String = 6;
constexpr WORD Accelerator = 9;
constexpr WORD CursorGroup = 12;
constexpr WORD IconGroup = 14;
constexpr WORD Version = 16;
constexpr WORD Toolbar = 241;

}
