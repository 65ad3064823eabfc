#pragma once
// The numbers of one scroll bar (range, page, position, the position being
// dragged to) and which of its arrows are turned off. Shared by the standard
// bars of windows and the scroll-bar control.
#include "Platform/Ui/ScrollBars.h"

namespace Ui {

class ScrollBarModel {
public:
    // Takes the members `info.fMask` names, then clamps the page into
    // [0, range] and the position into [min, max - max(page, 1) + 1].
    // Returns the position afterwards.
    int Set(const SCROLLINFO& info);
    // Fills the members `info.fMask` names.
    void Get(SCROLLINFO& info) const;

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    UINT Page() const { return m_page; }
    int Pos() const { return m_pos; }
    int TrackPos() const { return m_tracking ? m_trackPos : m_pos; }
    bool Tracking() const { return m_tracking; }
    // The highest position the page allows.
    int MaxPos() const;
    // Whether there is anything to scroll.
    bool Necessary() const;
    // Once anything was set, the bar has numbers of its own.
    bool Touched() const { return m_touched; }

    void BeginTracking();
    void SetTrackPos(int pos);
    void EndTracking();

    // ESB_ bits given by EnableScrollBar; true when they changed.
    bool SetDisabledArrows(UINT arrows);
    UINT DisabledArrows() const;  // including a bar turned off for having nothing to scroll
    void SetDisabledForNoScroll(bool disabled) { m_noScrollDisabled = disabled; }
    bool FirstArrowEnabled() const { return (DisabledArrows() & ESB_DISABLE_LTUP) == 0; }
    bool SecondArrowEnabled() const { return (DisabledArrows() & ESB_DISABLE_RTDN) == 0; }
    bool Enabled() const { return DisabledArrows() != ESB_DISABLE_BOTH; }

private:
    int Clamp(int pos) const;

    int m_min = 0;
    int m_max = 100;
    UINT m_page = 0;
    int m_pos = 0;
    int m_trackPos = 0;
    bool m_tracking = false;
    bool m_touched = false;
    UINT m_disabledArrows = ESB_ENABLE_BOTH;
    bool m_noScrollDisabled = false;
};

}
