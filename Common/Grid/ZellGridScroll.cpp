// Scroll bars and scrolling: the ranges follow the cell sizes, a bar shows
// only while its axis has more cells than fit.
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/GridDropTarget.h"
#include "Common/Grid/TitleTip.h"

#include <algorithm>

namespace ZELL::Grid {

namespace {

constexpr int kHorzBit = 1;
constexpr int kVertBit = 2;

}

void CZellGrid::SetScrollPos32(int bar, int pos)
{
    m_topLeftCache = CCellID();
    int& current = bar == SB_HORZ ? m_hScrollPos : m_vScrollPos;
    const int maximum = bar == SB_HORZ ? m_hScrollMax : m_vScrollMax;
    current = std::clamp(pos, 0, std::max(maximum, 0));
    if (m_hWnd != nullptr && IsScrollBarShown(bar)) {
        SCROLLINFO info{};
        info.fMask = SIF_POS;
        info.nPos = current;
        SetScrollInfo(bar, &info, TRUE);
    }
}

void CZellGrid::ResetScrollBars()
{
    m_topLeftCache = CCellID();
    if (!m_drawing || m_hWnd == nullptr || !::IsWindow(m_hWnd))
        return;
    CRect rect;
    GetClientRect(rect);
    if (rect.IsRectEmpty())
        return;
    if (m_barState & kVertBit)
        rect.right += ::GetSystemMetrics(SM_CXVSCROLL) + ::GetSystemMetrics(SM_CXBORDER);
    if (m_barState & kHorzBit)
        rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + ::GetSystemMetrics(SM_CYBORDER);
    rect.left = GetFixedColumnWidth();
    rect.top = GetFixedRowHeight();
    int newState = 0;
    int scrollHeight = 0;
    int scrollWidth = 0;
    int availableHeight = rect.Height();
    int availableWidth = rect.Width();
    if (!rect.IsRectEmpty()) {
        scrollHeight = static_cast<int>(GetVirtualHeight()) - GetFixedRowHeight();
        scrollWidth = static_cast<int>(GetVirtualWidth()) - GetFixedColumnWidth();
        if (scrollHeight > availableHeight)
            availableWidth -= ::GetSystemMetrics(SM_CXVSCROLL);
        if (scrollWidth > availableWidth) {
            availableHeight -= ::GetSystemMetrics(SM_CYHSCROLL);
            if (scrollHeight > availableHeight && scrollHeight <= rect.Height())
                availableWidth -= ::GetSystemMetrics(SM_CXVSCROLL);
        }
        newState = (scrollWidth > availableWidth ? kHorzBit : 0) | (scrollHeight > availableHeight ? kVertBit : 0);
    }
    const auto setUp = [&](int bar, int bit, int size, int available, int& maximum) {
        const bool show = (newState & bit) != 0;
        if (show != ((m_barState & bit) != 0))
            ShowScrollBar(static_cast<UINT>(bar), show);
        SCROLLINFO info{};
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMax = show ? size - 1 : 0;
        info.nPage = show ? static_cast<UINT>(std::max(available, 0)) : 0;
        maximum = show ? size - std::max(available, 0) : 0;
        if (show)
            SetScrollInfo(bar, &info, TRUE);
    };
    setUp(SB_HORZ, kHorzBit, scrollWidth, availableWidth, m_hScrollMax);
    setUp(SB_VERT, kVertBit, scrollHeight, availableHeight, m_vScrollMax);
    m_barState = newState;
    SetScrollPos32(SB_HORZ, m_hScrollPos);
    SetScrollPos32(SB_VERT, m_vScrollPos);
}

int CZellGrid::ScrollLineSize(int bar, bool forward) const
{
    const CCellID topLeft = GetTopLeftNonFixedCell();
    const bool horizontal = bar == SB_HORZ;
    const std::vector<int>& sizes = horizontal ? m_colWidths : m_rowHeights;
    const int fixed = horizontal ? m_fixedCols : m_fixedRows;
    const int count = horizontal ? m_colCount : m_rowCount;
    int index = horizontal ? topLeft.col : topLeft.row;
    if (index < 0)
        return 0;
    if (forward) {
        while (index < count && sizes[index] == 0)
            ++index;
        return index < count ? sizes[index] : 0;
    }
    --index;
    while (index >= fixed && sizes[index] == 0)
        --index;
    return index >= fixed ? sizes[index] : 0;
}

void CZellGrid::InvalidateScrolledArea(int bar)
{
    if (m_hWnd == nullptr || !m_drawing)
        return;
    CRect rect;
    GetClientRect(rect);
    if (bar == SB_HORZ)
        rect.left = GetFixedColumnWidth();
    else
        rect.top = GetFixedRowHeight();
    InvalidateRect(rect, TRUE);
}

void CZellGrid::ScrollAxis(int bar, UINT code)
{
    EndEditing();
    HideTitleTip();
    const int pos = GetScrollPos32(bar);
    const int maximum = GetScrollRangeMax(bar);
    CRect client;
    GetClientRect(client);
    const int page = bar == SB_HORZ ? client.Width() - GetFixedColumnWidth() : client.Height() - GetFixedRowHeight();
    const CCellID oldTopLeft = GetTopLeftNonFixedCell();
    switch (code) {
    case SB_LINEUP:
        if (pos > 0) {
            SetScrollPos32(bar, std::max(0, pos - ScrollLineSize(bar, false)));
            InvalidateScrolledArea(bar);
        }
        break;
    case SB_LINEDOWN:
        if (pos < maximum) {
            SetScrollPos32(bar, std::min(maximum, pos + ScrollLineSize(bar, true)));
            if (GetScrollPos32(bar) != pos)
                InvalidateScrolledArea(bar);
        }
        break;
    case SB_PAGEUP:
        if (pos > 0) {
            SetScrollPos32(bar, std::max(0, pos - page));
            InvalidateScrolledArea(bar);
        }
        break;
    case SB_PAGEDOWN:
        if (pos < maximum) {
            SetScrollPos32(bar, std::min(maximum, pos + page));
            InvalidateScrolledArea(bar);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO info{};
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(bar, &info, SIF_TRACKPOS);
        SetScrollPos32(bar, info.nTrackPos);
        if (!(GetTopLeftNonFixedCell() == oldTopLeft))
            InvalidateScrolledArea(bar);
        break;
    }
    case SB_TOP:
        if (pos > 0) {
            SetScrollPos32(bar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM:
        if (pos < maximum) {
            SetScrollPos32(bar, maximum);
            Invalidate();
        }
        break;
    default:
        break;
    }
}

void CZellGrid::OnHScroll(UINT code, UINT, CScrollBar*)
{
    ScrollAxis(SB_HORZ, code);
}

void CZellGrid::OnVScroll(UINT code, UINT, CScrollBar*)
{
    ScrollAxis(SB_VERT, code);
}

BOOL CZellGrid::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (m_wheelLines == -1) {
        const int notches = delta / WHEEL_DELTA;
        for (int i = 0; i < std::abs(notches); ++i)
            PostMessage(WM_VSCROLL, notches > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    } else {
        const int lines = m_wheelLines * delta / WHEEL_DELTA;
        for (int i = 0; i < std::abs(lines); ++i)
            PostMessage(WM_VSCROLL, lines > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    }
    return CWnd::OnMouseWheel(flags, delta, point);
}

void CZellGrid::OnSize(UINT type, int cx, int cy)
{
    static bool inside = false;
    if (inside)
        return;
    inside = true;
    if (m_dropTarget == nullptr) {
        m_dropTarget = new CGridDropTarget;
        m_dropTarget->Register(this);
    }
    EndEditing();
    CWnd::OnSize(type, cx, cy);
    ResetScrollBars();
    inside = false;
}

void CZellGrid::EnsureVisible(int row, int col)
{
    if (!m_drawing || m_hWnd == nullptr || m_barState == 0 || !IsValid(row, col))
        return;
    CRect client;
    GetClientRect(client);
    const CCellRange visible = GetUnobstructedNonFixedCellRange();
    int dx = 0;
    int dy = 0;
    if (col >= m_fixedCols && IsScrollBarShown(SB_HORZ)) {
        if (col < visible.minCol) {
            for (int i = col; i < visible.minCol; ++i)
                dx -= m_colWidths[i];
        } else if (col > visible.maxCol) {
            int right = GetFixedColumnWidth();
            for (int i = visible.minCol; i <= col; ++i)
                right += m_colWidths[i];
            dx = right - client.right;
            // Whole columns, so that the left edge stays on a column border.
            int shift = 0;
            for (int i = visible.minCol; i < col && shift < dx; ++i)
                shift += m_colWidths[i];
            dx = shift;
        }
    }
    if (row >= m_fixedRows && IsScrollBarShown(SB_VERT)) {
        if (row < visible.minRow) {
            for (int i = row; i < visible.minRow; ++i)
                dy -= m_rowHeights[i];
        } else if (row > visible.maxRow) {
            int bottom = GetFixedRowHeight();
            for (int i = visible.minRow; i <= row; ++i)
                bottom += m_rowHeights[i];
            const int needed = bottom - client.bottom;
            int shift = 0;
            for (int i = visible.minRow; i < row && shift < needed; ++i)
                shift += m_rowHeights[i];
            dy = shift;
        }
    }
    if (dx == 0 && dy == 0)
        return;
    HWND focus = ::GetFocus();
    EndEditing();
    HideTitleTip();
    SetScrollPos32(SB_HORZ, m_hScrollPos + dx);
    SetScrollPos32(SB_VERT, m_vScrollPos + dy);
    Invalidate();
    if (focus != nullptr && ::IsWindow(focus))
        ::SetFocus(focus);
}

}  // namespace ZELL::Grid
