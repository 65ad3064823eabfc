#include "Platform/Controls/ListViewHelpers.h"

#include "Platform/Gdi/Gdi.h"

namespace ZELL::Controls {

POINT MousePoint(LPARAM lParam)
{
    const DWORD packed = static_cast<DWORD>(lParam);
    return POINT{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))};
}

}
