#pragma once
// The images a skinned button derives from the ones it is given: darker and
// gray copies of bitmaps and icons, and the monochrome mask of a bitmap.
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Skin {

namespace SkinImage {

// Each channel c becomes c - c x 0.25.
COLORREF Darker(COLORREF color);
// truncate(0.299 R + 0.587 G + 0.114 B) in all three channels.
COLORREF Gray(COLORREF color);

// An image of the module's resources (IMAGE_ICON, IMAGE_BITMAP or
// IMAGE_CURSOR); a size of 0 takes the resource's own.
HICON LoadIconResource(int id, int width, int height);
HBITMAP LoadBitmapResource(int id);
HCURSOR LoadCursorResource(int id);

SIZE BitmapSize(HBITMAP bitmap);
// An icon's size: twice its hot spot.
SIZE IconSize(HICON icon);
// A copy of the bitmap with `change` applied to every pixel that is not the
// transparent colour; null on failure.
HBITMAP CopyBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF (*change)(COLORREF));
// A copy of the icon whose colour pixels (black ones aside) went through
// `change`; the mask is kept.
HICON CopyIcon(HICON icon, COLORREF (*change)(COLORREF));
// White where the bitmap has the transparent colour, black elsewhere; those
// pixels of the bitmap itself become black, so that an OR leaves the
// background. Null on failure.
HBITMAP MakeMask(HBITMAP bitmap, COLORREF transparent);

}

}  // namespace ZELL::Skin
