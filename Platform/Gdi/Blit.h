#pragma once
// Copies between contexts: raster operations, stretching, colour keys,
// alpha blending, gradients.
#include "Platform/Gdi/GdiTypes.h"

constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;

// Monochrome to colour: 0 bits take the destination's text colour, 1 bits its
// background colour. Colour to monochrome: pixels of the source's background
// colour become 1 (white), all others 0.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop);
// Nearest-pixel scaling; negative sizes mirror.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, UINT transparent);
// With AC_SRC_ALPHA the source is taken as premultiplied, as on the platform.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount, ULONG mode);
