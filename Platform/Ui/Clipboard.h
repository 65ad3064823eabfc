#pragma once
// The clipboard: one store for the process, opened by one window (or thread)
// at a time, holding global-memory blocks by format. Text (CF_UNICODETEXT,
// CF_TEXT, CF_OEMTEXT) is offered in all three forms whichever was put there
// and goes to the display's clipboard when the clipboard is closed, so that
// other applications see it; their text is read from there.
//
// Text forms here: CF_UNICODETEXT holds wchar_t text, CF_TEXT and CF_OEMTEXT
// UTF-8 bytes, each ending at its first NUL (or at the block's end).
#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/Types.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_HDROP = 15;
constexpr UINT CF_LOCALE = 16;
constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// Fails with ERROR_ACCESS_DENIED while another window or thread has it open.
BOOL OpenClipboard(HWND newOwner);
BOOL CloseClipboard();
// Frees what the clipboard holds; the opening window becomes its owner.
BOOL EmptyClipboard();
// The clipboard takes the block (a CF_BITMAP bitmap is deleted, any other
// block freed, when it is replaced or emptied). Null with
// ERROR_CLIPBOARD_NOT_OPEN unless the calling thread has it open, with
// ERROR_INVALID_PARAMETER for a null block (no rendering on request here)
// or a text format given something that is no global block.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block stays the clipboard's: read it between GlobalLock and GlobalUnlock, don't free it.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// The format after `format` (0: the first); 0 with NO_ERROR at the end.
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
// Formats share their numbers with the registered window messages.
UINT RegisterClipboardFormatW(LPCWSTR name);
int GetClipboardFormatNameW(UINT format, LPWSTR name, int maxCount);
#define RegisterClipboardFormat RegisterClipboardFormatW
#define GetClipboardFormatName GetClipboardFormatNameW
