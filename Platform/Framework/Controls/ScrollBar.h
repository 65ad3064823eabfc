#pragma once
// The scroll-bar control. Handlers are given a CScrollBar even for a bar no
// CScrollBar owns: a temporary one of its own kind, freed at idle.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/ScrollBars.h"

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"ScrollBar", nullptr, style, rect, parent, id);
    }
    static CScrollBar* FromHandle(HWND hwnd);
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
    BOOL SetScrollInfo(LPCSCROLLINFO info, BOOL redraw = TRUE) { return ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw) != 0; }
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL) const
    {
        info->fMask = mask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, info);
    }
};
