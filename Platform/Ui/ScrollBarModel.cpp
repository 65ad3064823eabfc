#include "Platform/Ui/ScrollBarModel.h"

#include <algorithm>

namespace Ui {

namespace {

// max - min + 1 without overflow: the bar may span the whole int range.
long long RangeOf(int min, int max)
{
    return static_cast<long long>(max) - min + 1;
}

}

int ScrollBarModel::Set(const SCROLLINFO& info)
{
    m_touched = true;
    if ((info.fMask & SIF_RANGE) != 0) {
        m_min = info.nMin;
        m_max = std::max(info.nMin, info.nMax);
    }
    if ((info.fMask & SIF_PAGE) != 0)
        m_page = info.nPage;
    m_page = static_cast<UINT>(std::min<long long>(m_page, RangeOf(m_min, m_max)));
    if ((info.fMask & SIF_POS) != 0)
        m_pos = info.nPos;
    m_pos = Clamp(m_pos);
    m_trackPos = Clamp(m_trackPos);
    return m_pos;
}

void ScrollBarModel::Get(SCROLLINFO& info) const
{
    if ((info.fMask & SIF_RANGE) != 0) {
        info.nMin = m_min;
        info.nMax = m_max;
    }
    if ((info.fMask & SIF_PAGE) != 0)
        info.nPage = m_page;
    if ((info.fMask & SIF_POS) != 0)
        info.nPos = m_pos;
    if ((info.fMask & SIF_TRACKPOS) != 0)
        info.nTrackPos = TrackPos();
}

int ScrollBarModel::MaxPos() const
{
    const long long top = static_cast<long long>(m_max) - std::max<long long>(m_page, 1) + 1;
    return static_cast<int>(std::max<long long>(top, m_min));
}

bool ScrollBarModel::Necessary() const
{
    return m_max > m_min && static_cast<long long>(m_page) < RangeOf(m_min, m_max);
}

int ScrollBarModel::Clamp(int pos) const
{
    return std::clamp(pos, m_min, MaxPos());
}

void ScrollBarModel::BeginTracking()
{
    m_tracking = true;
    m_trackPos = m_pos;
}

void ScrollBarModel::SetTrackPos(int pos)
{
    m_trackPos = Clamp(pos);
}

void ScrollBarModel::EndTracking()
{
    m_tracking = false;
}

bool ScrollBarModel::SetDisabledArrows(UINT arrows)
{
    arrows &= ESB_DISABLE_BOTH;
    if (arrows == m_disabledArrows)
        return false;
    m_disabledArrows = arrows;
    return true;
}

UINT ScrollBarModel::DisabledArrows() const
{
    return m_noScrollDisabled ? ESB_DISABLE_BOTH : m_disabledArrows;
}

}
