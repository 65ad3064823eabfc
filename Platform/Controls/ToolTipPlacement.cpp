#include "Platform/Controls/ToolTipPlacement.h"

#include <algorithm>

namespace ZELL::Controls {

RECT KeepOnWorkArea(RECT tip, int anchorTop)
{
    const POINT corner{tip.left, tip.top};
    MONITORINFO monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &monitor))
        return tip;
    const RECT& work = monitor.rcWork;
    const int width = tip.right - tip.left;
    const int height = tip.bottom - tip.top;
    const int x = std::max<int>(work.left, std::min<int>(tip.left, work.right - width));
    int y = tip.top;
    if (y + height > work.bottom)
        y = anchorTop - height;
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    return RECT{x, y, x + width, y + height};
}

}
