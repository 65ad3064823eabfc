#pragma once
// Bitmaps: device-dependent ones, DIB sections with direct pixel access, and
// the conversions between them and DIB rows.
#include "Platform/Gdi/GdiTypes.h"

// A zero width or height gives a 1x1 monochrome bitmap, as on the platform;
// a context holding a monochrome bitmap gives monochrome ones.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 1 bit (rows padded to 16 bits, set bits white), 24 or 32 bits per pixel.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// 1, 4, 8 (palette), 24 and 32 bits, top-down (negative height) or bottom-up.
// The pixel memory stays valid while the bitmap lives; what GDI draws is in
// it when the drawing call returns.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage);

// The bitmap whose handle number a text holds ("0x..." or decimal, the
// full number as written); null when it names no live bitmap.
HBITMAP BitmapFromHandleText(const wchar_t* text);

// Scan lines count from the bottom for bottom-up formats, as on the platform.
// GetDIBits writes 1, 24 or 32 bits per pixel; with null bits it fills in
// the header (bit count 0) or the image size.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
