#pragma once
// Icons: a colour picture and an AND mask (or a 32-bit picture with alpha).
#include "Platform/Gdi/GdiTypes.h"

struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP hbmMask = nullptr;
    HBITMAP hbmColor = nullptr;
};
using PICONINFO = ICONINFO*;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// The bitmaps are copied; the caller keeps its own. Without a colour bitmap
// the mask holds the AND mask over the XOR picture (twice the height).
HICON CreateIconIndirect(const ICONINFO* info);
// Hands out new copies of the bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
inline BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }
// The icon whose handle number a text holds ("0x..." or decimal, the full
// number as written); null when it names no live icon, so a number from a
// text is never taken as a handle unchecked.
HICON IconFromHandleText(const wchar_t* text);

// Width and height 0 take the icon's own size.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
