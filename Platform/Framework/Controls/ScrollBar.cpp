#include "Platform/Framework/Controls/ScrollBar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

#include "Platform/Framework/Core/TempHandleMap.h"

CScrollBar* CScrollBar::FromHandle(HWND hwnd)
{
    if (CScrollBar* own = DYNAMIC_DOWNCAST(CScrollBar, CWnd::FromHandlePermanent(hwnd)))
        return own;
    return CTempHandleMap<CScrollBar, HWND, &CScrollBar::m_hWnd>::FromHandle(hwnd);
}
