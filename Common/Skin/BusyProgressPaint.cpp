// How the busy indicator paints its row of blocks.
#include "Common/Skin/BusyProgressCtrl.h"

#include "Platform/Framework/Drawing/PaintDC.h"

#include <algorithm>
#include <cmath>

namespace ZELL::Skin {

BOOL CBusyProgressCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBusyProgressCtrl::ReleaseMemoryDC()
{
    if (m_memoryDC.GetSafeHdc() != nullptr && m_oldBitmap != nullptr)
        ::SelectObject(m_memoryDC, m_oldBitmap);
    m_oldBitmap = nullptr;
    m_memoryDC.DeleteDC();
    m_memoryBitmap.DeleteObject();
}

void CBusyProgressCtrl::OnPaint()
{
    CPaintDC paint(m_hWnd);
    CRect area;
    {
        std::lock_guard lock(m_stateLock);
        area = m_drawRect;
    }
    if (area.IsRectEmpty())
        return;
    if (m_memoryDC.GetSafeHdc() == nullptr) {
        if (!m_memoryDC.CreateCompatibleDC(&paint) ||
            !m_memoryBitmap.CreateCompatibleBitmap(&paint, area.Width(), area.Height())) {
            ReleaseMemoryDC();
            return;
        }
        m_oldBitmap = ::SelectObject(m_memoryDC, m_memoryBitmap.GetSafeHandle());
    }
    DrawBackground(&m_memoryDC, CRect(0, 0, area.Width(), area.Height()));
    DrawBlocks(&m_memoryDC);
    paint.BitBlt(0, 0, area.Width(), area.Height(), &m_memoryDC, 0, 0, SRCCOPY);
}

void CBusyProgressCtrl::DrawBackground(CDC* dc, const CRect& rect)
{
    dc->FillSolidRect(&rect, m_background);
}

CRect CBusyProgressCtrl::BlockRect(double left) const
{
    return CRect(static_cast<int>(std::floor(left)), 0, static_cast<int>(std::floor(left + m_blockWidth)),
                 m_blockHeight);
}

// Measured from the lower bound, clamped to the row; nothing for an empty range.
double CBusyProgressCtrl::FilledBlocks() const
{
    if (m_mode == kProgress) {
        if (m_upper <= m_lower)
            return 0;
        const double share = static_cast<double>(m_position - m_lower) / (m_upper - m_lower);
        return m_blocks * std::clamp(share, 0.0, 1.0);
    }
    return static_cast<double>(m_blocks) * m_position / std::max(1, m_fillPositions);
}

void CBusyProgressCtrl::DrawBlocks(CDC* dc)
{
    std::lock_guard lock(m_stateLock);
    const bool single = m_mode == kBusy && m_busyStyle == kSingleBlock;
    const double filled = single ? 0 : FilledBlocks();
    const int full = static_cast<int>(filled) - 1;
    const int position = m_position;
    CPen outline(PS_SOLID, 1, m_blockOutline);
    CBrush fill(m_blockFill);
    CPen* oldPen = dc->SelectObject(&outline);
    CBrush* oldBrush = dc->SelectObject(&fill);
    double left = 0;
    for (int i = 0; i < m_blocks; ++i) {
        const CRect block = BlockRect(left);
        const bool highlighted = single ? i == position : i <= full;
        if (highlighted)
            DrawHighlightedBlock(dc, block);
        else
            DrawBlock(dc, block);
        if (!single && i == full + 1) {
            const int partial = static_cast<int>(m_blockWidth * (filled - 1 - full));
            if (partial != 0)
                DrawPartialBlock(dc, block, partial);
        }
        left += m_blockWidth + m_gap;
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CBusyProgressCtrl::DrawBlock(CDC* dc, const CRect& rect)
{
    dc->Rectangle(&rect);
}

void CBusyProgressCtrl::DrawHighlightedBlock(CDC* dc, const CRect& rect)
{
    CPen outline(PS_SOLID, 1, m_highlightOutline);
    CBrush fill(m_highlightFill);
    CPen* oldPen = dc->SelectObject(&outline);
    CBrush* oldBrush = dc->SelectObject(&fill);
    dc->Rectangle(&rect);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CBusyProgressCtrl::DrawPartialBlock(CDC* dc, const CRect& rect, int width)
{
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    inner.right = std::min(inner.left + width, rect.right - 1);
    if (inner.right > inner.left)
        dc->FillSolidRect(&inner, m_highlightFill);
}

}  // namespace ZELL::Skin
