#pragma once
// The system's own icons (IDI_APPLICATION, IDI_ERROR, IDI_WARNING,
// IDI_INFORMATION, IDI_QUESTION), drawn by the layer itself.
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"

namespace Ui {

// A 32-bit top-down DIB section with straight alpha of the icon at the
// size, or null for an id the system has no icon for.
HBITMAP DrawStandardIcon(WORD id, int size);

}
