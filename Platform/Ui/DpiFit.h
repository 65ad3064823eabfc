#pragma once
// The resolution the layer lays windows out at. It is the desktop's (Xft.dpi,
// else the X server's), unless the program's largest window would not fit
// the work area at it: a dialog's layout is fixed in dialog units, so it
// cannot shrink to the screen, and a window that hangs off the screen hides
// its lower part (a status line, a tab) out of reach. The layer then steps
// down to the largest of the platform's scale steps at which the window fits,
// and the whole program, text, marks and icons alike, is drawn at that scale.
#include "Platform/Display/DisplayBackend.h"
#include "Platform/Ui/DialogTemplate.h"

#include <functional>

namespace Ui {

// The scale steps, in dots per inch: 100 %, 125 %, 150 %, 200 %, 250 % and 300 %.
inline constexpr int kDpiSteps[] = {96, 120, 144, 192, 240, 288};

// `windowSizeAt` gives the window's outer size at a resolution. The desktop's
// resolution when the window fits `workArea` there or it is 96 or less; else
// the largest step below it at which the window fits; 96 when none does.
int FittingDpi(int desktopDpi, SIZE workArea, const std::function<SIZE(int dpi)>& windowSizeAt);

// The outer size of a top-level dialog made from the template at a
// resolution: its dialog units through the base units of its font at that
// resolution, with the display's `frame` around them.
SIZE DialogWindowSizeAt(const CDialogTemplate& dialog, int dpi, const Display::FrameExtents& frame);
// The same for a module's dialog resource, with the display's frame for its
// styles; an empty size when there is no such template.
SIZE DialogResourceSizeAt(HINSTANCE instance, LPCWSTR templateName, int dpi);

// Sets the layer's resolution to the fitting one for the primary monitor's
// work area and returns it. Fonts and windows made before keep their sizes:
// a program calls it first thing.
int FitLayerDpi(const std::function<SIZE(int dpi)>& windowSizeAt);

}
