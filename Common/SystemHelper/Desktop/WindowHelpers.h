#pragma once
// Small services around windows: bringing one to the front, and the
// clipboard's text. Clipboard text is held as CF_TEXT (UTF-8 bytes here,
// so no character of the wide text is lost on the way).
#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>

class CWnd;

// Makes the window the foreground window, also from another thread than its
// own, and puts it above all windows that are not topmost, without moving or
// sizing it. Returns what SetForegroundWindow answered.
BOOL BringWindowToFront(CWnd* window);

// Replaces the clipboard's content with the text; `owner` (or the calling
// thread when null) becomes the clipboard's owner. 1 on success, 0 when the
// clipboard cannot be opened or the memory cannot be had.
BOOL SetClipboardText(const std::wstring& text, CWnd* owner);

// The clipboard's text, cut to `size` - 1 characters and terminated. False,
// with an empty buffer, when there is no text or the clipboard cannot be opened.
bool GetClipboardText(wchar_t* buffer, std::size_t size, CWnd* owner);
