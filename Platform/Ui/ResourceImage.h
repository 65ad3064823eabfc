#pragma once
// Icons, cursors and bitmaps from a module's resources or from BMP and PNG
// files. Icon and cursor pictures are PNG; a group's picture of the asked
// size is taken, else the smallest larger one, else the largest, and
// scaled to the size. LoadIcon and LoadCursor load shared: the same
// resource at the same size gives the same handle, which is never destroyed.
// A null instance names the system's images: the IDI_ icons, which the
// layer draws itself, and the IDC_ cursors; it has no bitmaps.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

#define ZELL_ICON_ID(n) reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(n))
#define IDI_APPLICATION ZELL_ICON_ID(32512)
#define IDI_HAND ZELL_ICON_ID(32513)
#define IDI_QUESTION ZELL_ICON_ID(32514)
#define IDI_EXCLAMATION ZELL_ICON_ID(32515)
#define IDI_ASTERISK ZELL_ICON_ID(32516)
#define IDI_WINLOGO ZELL_ICON_ID(32517)
#define IDI_ERROR IDI_HAND
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_INFORMATION IDI_ASTERISK

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;

constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_MONOCHROME = 0x0001;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_LOADTRANSPARENT = 0x0020;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_VGACOLOR = 0x0080;
constexpr UINT LR_LOADMAP3DCOLORS = 0x1000;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT LR_SHARED = 0x8000;

HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// With LR_LOADFROMFILE `name` is the path of a BMP or PNG file. A width or
// height of 0 takes the picture's own, or the system's icon or cursor size
// with LR_DEFAULTSIZE. Files that are missing give ERROR_FILE_NOT_FOUND,
// files that are no picture ERROR_INVALID_DATA.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
#define LoadIcon LoadIconW
#define LoadBitmap LoadBitmapW
#define LoadImage LoadImageW

namespace Ui {

// LoadCursor's path for module cursors.
HCURSOR LoadCursorResource(HINSTANCE instance, LPCWSTR name);

}
