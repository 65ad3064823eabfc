#pragma once
// The numbers of the resource types, for the code that compares keys.
#include "Platform/Base/Types.h"

namespace Ui::ResourceType {

constexpr WORD kCursor = 1;
constexpr WORD kBitmap = 2;
constexpr WORD kIcon = 3;
constexpr WORD kMenu = 4;
constexpr WORD kString = 6;
constexpr WORD kAccelerator = 9;
constexpr WORD kCursorGroup = 12;
constexpr WORD kIconGroup = 14;
constexpr WORD kVersion = 16;
constexpr WORD kToolbar = 241;

}
