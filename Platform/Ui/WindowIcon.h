#pragma once
// The icons of a top-level (WM_SETICON, else its class's), which the display
// shows in the task bar, the frame and the window switcher.
#include "Platform/Display/DisplayBackend.h"
#include "Platform/Gdi/GdiTypes.h"

#include <optional>

namespace Ui {

// The icon's picture with straight alpha; none for a handle that is no icon.
// Icons without alpha take their transparency from the AND mask.
std::optional<Display::IconImage> IconPicture(HICON icon);

// WM_SETICON (ICON_BIG or ICON_SMALL) and WM_GETICON of the default window procedure.
LRESULT SetWindowIcon(HWND hwnd, WPARAM which, HICON icon);
LRESULT GetWindowIcon(HWND hwnd, WPARAM which);

// Hands the window's icons to the display; top-levels only.
void ShowWindowIcons(HWND hwnd);

}
