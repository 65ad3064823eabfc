#pragma once
// The caret: one per thread, owned by a window of that thread, blinking on
// the layer's clock. It is drawn by inverting its rectangle in the window's
// pixels, taken off while anything paints in that window's top-level and put
// back afterwards, and it goes with its window.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

// `bitmap` null: a solid caret of width x height (0 takes the border width or
// height); CARET_GREY: a grey one; else the bitmap's shape and size (its
// pixels are copied, so the caller may delete it). Replaces the thread's
// caret, if any; the new one is hidden at (0,0) until ShowCaret.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
// Hiding counts: a caret hidden twice shows after two ShowCarets. `hwnd`
// must be the caret's window or null (the caret of the calling thread).
BOOL HideCaret(HWND hwnd);
BOOL ShowCaret(HWND hwnd);
// In the client coordinates of the caret's window.
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
// Milliseconds between the caret's phases; INFINITE keeps it on.
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

inline const HBITMAP kCaretGrey = reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(1));
