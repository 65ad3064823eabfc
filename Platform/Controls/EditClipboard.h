#pragma once
// Text to and from the clipboard as CF_UNICODETEXT, for the edit control.
#include "Platform/Ui/WinUser.h"

#include <optional>
#include <string>

namespace ZELL::Controls {

// Puts `text` on the clipboard, opened for `owner`; false when the clipboard
// is held elsewhere or the memory is not there.
bool PutClipboardText(HWND owner, const std::wstring& text);
// The clipboard's text, up to its first NUL; none when there is no text or
// the clipboard is held elsewhere.
std::optional<std::wstring> ClipboardText(HWND owner);

}
