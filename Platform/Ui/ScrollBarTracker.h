#pragma once
// What a press on a scroll bar does until the button comes up: an arrow or
// page press asks for one step at once and repeats after a delay while the
// pointer stays on that part; a thumb drag reports SB_THUMBTRACK while it
// moves and SB_THUMBPOSITION where it ends; every press ends with
// SB_ENDSCROLL. The owner feeds it the pointer (in the bar's coordinates) and
// the timer ticks, and carries out what it asks through the host.
#include "Platform/Ui/ScrollBarGeometry.h"

#include <functional>

namespace Ui {

struct ScrollBarHost {
    bool vertical = true;
    // The bar as it stands now: the window may move the position on each
    // request, so the numbers and the place are looked up afresh every time.
    std::function<RECT()> bar;
    std::function<ScrollBarModel()> model;
    // Changes the bar's numbers under whatever guards them.
    std::function<void(const std::function<void(ScrollBarModel&)>&)> change;
    // A WM_HSCROLL/WM_VSCROLL request.
    std::function<void(int code, int pos)> notify;
    // Show the bar again (pressed part, thumb at the track position).
    std::function<void()> redraw;
    // Call Tick() after `ms`; kill() stops that.
    std::function<void(UINT ms)> schedule;
    std::function<void()> kill;
};

class ScrollBarTracker {
public:
    // The delay before the first repeat and the time between repeats.
    static constexpr UINT kFirstRepeatMs = 400;
    static constexpr UINT kRepeatMs = 50;

    explicit ScrollBarTracker(ScrollBarHost host) : m_host(std::move(host)) {}

    // False when the press hits nothing that scrolls (a disabled arrow, a
    // bar with nothing to scroll): the tracker then stays idle.
    bool Begin(POINT p);
    void Move(POINT p);
    void End(POINT p);
    // The press ends without completing (capture lost, window closing).
    void Cancel();
    void Tick();

    bool Active() const { return m_pressed != ScrollBarPart::None; }
    ScrollBarPart Pressed() const { return m_pressed; }
    // Whether the pointer is still on the pressed part (it is drawn pushed then).
    bool PressedShown() const { return Active() && m_over; }

private:
    ScrollBarGeometry Geometry() const;
    int CodeOf(ScrollBarPart part) const;
    void Step();
    void Finish(bool complete);

    ScrollBarHost m_host;
    ScrollBarPart m_pressed = ScrollBarPart::None;
    POINT m_last{};
    bool m_over = false;
    int m_grab = 0;  // pointer offset into the thumb while dragging
};

}
