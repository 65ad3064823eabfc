#include "Platform/Ui/ScrollBarTracker.h"

namespace Ui {

ScrollBarGeometry ScrollBarTracker::Geometry() const
{
    return ScrollBarGeometry(m_host.bar(), m_host.vertical, m_host.model());
}

int ScrollBarTracker::CodeOf(ScrollBarPart part) const
{
    switch (part) {
    case ScrollBarPart::FirstArrow: return SB_LINEUP;
    case ScrollBarPart::SecondArrow: return SB_LINEDOWN;
    case ScrollBarPart::FirstPage: return SB_PAGEUP;
    case ScrollBarPart::SecondPage: return SB_PAGEDOWN;
    default: return -1;
    }
}

bool ScrollBarTracker::Begin(POINT p)
{
    if (Active())
        Cancel();
    const ScrollBarGeometry geometry = Geometry();
    const ScrollBarModel model = m_host.model();
    const ScrollBarPart part = geometry.HitTest(p);
    const bool usable = model.Enabled() && (part != ScrollBarPart::FirstArrow || model.FirstArrowEnabled()) &&
                        (part != ScrollBarPart::SecondArrow || model.SecondArrowEnabled());
    // The track of a bar without a thumb has nothing to page through.
    const bool pages = part != ScrollBarPart::FirstPage || geometry.HasThumb();
    if (part == ScrollBarPart::None || !usable || !pages)
        return false;
    m_pressed = part;
    m_last = p;
    m_over = true;
    if (part == ScrollBarPart::Thumb) {
        m_grab = geometry.Along(p) - geometry.ThumbStart();
        m_host.change([](ScrollBarModel& m) { m.BeginTracking(); });
        m_host.redraw();
        return true;
    }
    Step();
    if (Active())
        m_host.schedule(kFirstRepeatMs);
    return true;
}

void ScrollBarTracker::Move(POINT p)
{
    if (!Active())
        return;
    m_last = p;
    const ScrollBarGeometry geometry = Geometry();
    if (m_pressed != ScrollBarPart::Thumb) {
        const bool over = geometry.HitTest(p) == m_pressed;
        if (over != m_over) {
            m_over = over;
            m_host.redraw();
        }
        return;
    }
    const int pos = geometry.PosForThumbAt(geometry.Along(p) - m_grab);
    if (pos == m_host.model().TrackPos())
        return;
    m_host.change([pos](ScrollBarModel& m) { m.SetTrackPos(pos); });
    m_host.redraw();
    m_host.notify(SB_THUMBTRACK, m_host.model().TrackPos());
}

void ScrollBarTracker::End(POINT p)
{
    if (!Active())
        return;
    Move(p);
    Finish(true);
}

void ScrollBarTracker::Cancel()
{
    if (Active())
        Finish(false);
}

void ScrollBarTracker::Finish(bool complete)
{
    const ScrollBarPart pressed = m_pressed;
    m_pressed = ScrollBarPart::None;
    m_over = false;
    m_host.kill();
    if (pressed == ScrollBarPart::Thumb) {
        const int pos = m_host.model().TrackPos();
        if (complete)
            m_host.notify(SB_THUMBPOSITION, pos);
        m_host.change([](ScrollBarModel& m) { m.EndTracking(); });
    }
    m_host.redraw();
    m_host.notify(SB_ENDSCROLL, 0);
}

void ScrollBarTracker::Tick()
{
    if (!Active() || m_pressed == ScrollBarPart::Thumb)
        return;
    // The thumb moves towards the pointer with each page: once it gets there,
    // the point is no longer on the page part and the repeat pauses.
    const bool over = Geometry().HitTest(m_last) == m_pressed;
    if (over != m_over) {
        m_over = over;
        m_host.redraw();
    }
    if (over)
        Step();
    if (Active())
        m_host.schedule(kRepeatMs);
}

void ScrollBarTracker::Step()
{
    m_host.notify(CodeOf(m_pressed), 0);
}

}
