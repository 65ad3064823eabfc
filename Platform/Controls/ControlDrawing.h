#pragma once
// Drawing shared by the standard controls: the parent's colours, texts that
// are embossed when disabled, and the dotted focus frame.
#include "Platform/Ui/WinUser.h"

#include <string>

namespace ZELL::Controls {

// Asks the parent for the control's colours with `ctlColorMessage`
// (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN ...), which sets them on `dc`; a parent
// that answers no brush gets the default colours and brush.
HBRUSH ControlColorBrush(HWND control, HDC dc, UINT ctlColorMessage);

// The window text of `hwnd`.
std::wstring WindowText(HWND hwnd);

// DrawText in the context's text colour, or embossed in the highlight and
// shadow colours when `enabled` is false; the background stays as it is.
void DrawControlText(HDC dc, const std::wstring& text, RECT rect, UINT format, bool enabled);

// The rectangle that `text` takes when drawn in `area` with `format`.
RECT TextBounds(HDC dc, const std::wstring& text, const RECT& area, UINT format);

// The size of an icon (IMAGE_ICON, IMAGE_CURSOR) or a bitmap (IMAGE_BITMAP);
// zero for none.
SIZE ImageSize(HANDLE image, UINT imageKind);

// Draws the image with its top left at `at`; a disabled bitmap is embossed.
void DrawImage(HDC dc, HANDLE image, UINT imageKind, POINT at, bool enabled);

// WM_DRAWITEM to the control's parent for the whole control, of owner-draw
// type `type` (ODT_BUTTON, ODT_STATIC), with `action` and `state`.
void SendDrawItem(HWND control, HDC dc, UINT type, UINT action, UINT state);

// The focus frame around a text's bounds, one pixel outside them and kept
// inside `limit`.
void DrawTextFocus(HDC dc, const RECT& textBounds, const RECT& limit);

// The line height of `font` as drawn in `hwnd`.
int FontHeight(HWND hwnd, HFONT font);

}
