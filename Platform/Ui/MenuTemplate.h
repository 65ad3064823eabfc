#pragma once
// Menus from menu templates: the plain format (version 0: WORD flags, WORD
// id unless a pop-up, UTF-16 text; MF_END closes a level) and the extended
// one (version 1: DWORD type, state and id, WORD flags, text, DWORD
// alignment, a help id before a pop-up's items).
#include "Platform/Base/Types.h"

#include <cstddef>

namespace Ui {

// The menu of a template of `size` bytes; null with ERROR_INVALID_DATA for
// one that is cut short, nested too deep or of another version.
HMENU ParseMenuTemplate(const BYTE* data, std::size_t size);

}
