#pragma once
// Device contexts on cairo image surfaces: the window layer paints into its
// back buffers through these, and memory and printer contexts build on them.
#include "Platform/Gdi/GdiTypes.h"

#include <cairo.h>

// A context that draws into `target` (an RGB24 or ARGB32 image surface; the
// context takes its own reference). Logical (0,0) sits at `origin` in surface
// pixels and nothing is drawn outside `clip` (surface pixels) - that clip is
// the system part: SelectClipRgn and friends narrow it, never widen it.
// Returns null (ERROR_INVALID_PARAMETER) for a null or non-image surface.
HDC CreateSurfaceDC(cairo_surface_t* target, POINT origin, const RECT& clip);

// Frees a context made by CreateSurfaceDC (drops its surface reference).
// Objects selected into it are not deleted, as with ReleaseDC.
void ReleaseSurfaceDC(HDC dc);

// Narrows a surface context's system part to these rectangles (surface
// pixels) within its clip rectangle, as the window layer does for the parts
// that children and upper siblings cover.
BOOL SetSurfaceDCVisibleRects(HDC dc, const RECT* rects, int count);
