#pragma once
// Pictures from bytes (compiled-in resources, files) and BMP output.
#include "Platform/Gdi/GdiTypes.h"

#include <cstddef>
#include <vector>

// A 32-bit DIB section with straight alpha in the top byte; null (and
// ERROR_INVALID_DATA) for anything that is not a well-formed picture.
HBITMAP CreateBitmapFromPng(const BYTE* data, std::size_t size);
// BMP files with 1, 4, 8, 24 or 32 bits per pixel, uncompressed.
HBITMAP CreateBitmapFromBmp(const BYTE* data, std::size_t size);
// The bitmap as a bottom-up 24- or 32-bit BMP file (empty on failure).
std::vector<BYTE> EncodeBmp(HBITMAP bitmap, int bitsPerPixel = 24);
