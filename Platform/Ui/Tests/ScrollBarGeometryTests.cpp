#include "Platform/Ui/ScrollBarGeometry.h"
#include "Platform/Ui/ScrollBarTracker.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using Ui::ScrollBarGeometry;
using Ui::ScrollBarModel;
using Ui::ScrollBarPart;

namespace {

ScrollBarModel Model(int min, int max, UINT page, int pos)
{
    ScrollBarModel model;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = min;
    si.nMax = max;
    si.nPage = page;
    si.nPos = pos;
    model.Set(si);
    return model;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}

TEST(ScrollBarGeometry, HorizontalBarLaysOutAlongX)
{
    const ScrollBarGeometry g({0, 0, 200, 17}, false, Model(0, 99, 25, 75));
    EXPECT_TRUE(Same(g.FirstArrow(), {0, 0, 17, 17}));
    EXPECT_TRUE(Same(g.SecondArrow(), {183, 0, 200, 17}));
    // A track of 166 pixels, a quarter of it thumb, at the last position.
    EXPECT_TRUE(Same(g.Thumb(), {141, 0, 183, 17}));
    EXPECT_EQ(g.HitTest({100, 5}), ScrollBarPart::FirstPage);
    EXPECT_EQ(g.HitTest({150, 5}), ScrollBarPart::Thumb);
    EXPECT_EQ(g.HitTest({190, 5}), ScrollBarPart::SecondArrow);
    EXPECT_EQ(g.HitTest({190, 17}), ScrollBarPart::None);
    EXPECT_TRUE(Same(g.SecondPage(), {}));
}

namespace {

ScrollBarGeometry Tracked(const ScrollBarModel& model, int trackPos)
{
    ScrollBarModel moved = model;
    moved.BeginTracking();
    moved.SetTrackPos(trackPos);
    return ScrollBarGeometry({0, 0, 17, 300}, true, moved);
}

}

TEST(ScrollBarGeometry, ThumbPlacesRoundTripAndHugeRangesDoNotOverflow)
{
    // More positions than pixels: every pixel the thumb is dragged to stands
    // for a position that puts it back on that pixel.
    for (const ScrollBarModel& model : {Model(0, 999, 100, 0), Model(INT_MIN, INT_MAX, 0, 0)}) {
        const ScrollBarGeometry g({0, 0, 17, 300}, true, model);
        ASSERT_TRUE(g.HasThumb());
        const int top = g.Track().top;
        const int span = g.Track().bottom - top - (g.Thumb().bottom - g.Thumb().top);
        EXPECT_EQ(g.PosForThumbAt(top - 50), model.Min()) << "clamped at the start";
        EXPECT_EQ(g.PosForThumbAt(top + span + 50), model.MaxPos()) << "clamped at the end";
        for (int offset : {0, 1, span / 3, span / 2, span - 1, span})
            EXPECT_EQ(Tracked(model, g.PosForThumbAt(top + offset)).ThumbStart(), top + offset);
    }
    // Fewer positions than pixels: every position comes back from its thumb.
    const ScrollBarModel few = Model(-50, 50, 0, 0);
    const ScrollBarGeometry g({0, 0, 17, 300}, true, few);
    for (int pos = -50; pos <= 50; ++pos)
        EXPECT_EQ(g.PosForThumbAt(Tracked(few, pos).ThumbStart()), pos);
}

TEST(ScrollBarGeometry, NoThumbWithoutRoomOrSomethingToScroll)
{
    EXPECT_FALSE(ScrollBarGeometry({0, 0, 17, 40}, true, Model(0, 99, 10, 0)).HasThumb()) << "a track of 6 pixels";
    const ScrollBarGeometry tiny({0, 0, 17, 20}, true, Model(0, 99, 10, 0));
    EXPECT_TRUE(Same(tiny.FirstArrow(), {0, 0, 17, 10})) << "arrows share a bar shorter than two";
    EXPECT_TRUE(Same(tiny.SecondArrow(), {0, 10, 17, 20}));
    EXPECT_FALSE(ScrollBarGeometry({0, 0, 17, 300}, true, Model(0, 9, 10, 0)).HasThumb()) << "the page shows it all";
    ScrollBarModel disabled = Model(0, 99, 10, 0);
    disabled.SetDisabledArrows(ESB_DISABLE_BOTH);
    EXPECT_FALSE(ScrollBarGeometry({0, 0, 17, 300}, true, disabled).HasThumb());
}

TEST(ScrollBarTracker, DrivesAnyHostWithoutAWindow)
{
    // How a scroll-bar control uses it: its own numbers, its own timer.
    ScrollBarModel model = Model(0, 20, 5, 0);
    std::vector<int> codes;
    UINT scheduled = 0;
    Ui::ScrollBarHost host;
    host.vertical = true;
    host.bar = [] { return RECT{0, 0, 17, 200}; };
    host.model = [&] { return model; };
    host.change = [&](const std::function<void(ScrollBarModel&)>& change) { change(model); };
    host.notify = [&](int code, int) {
        codes.push_back(code);
        if (code == SB_LINEDOWN) {
            SCROLLINFO si;
            si.fMask = SIF_POS;
            si.nPos = model.Pos() + 1;
            model.Set(si);
        }
    };
    host.redraw = [] {};
    host.schedule = [&](UINT ms) { scheduled = ms; };
    host.kill = [&] { scheduled = 0; };
    Ui::ScrollBarTracker tracker(host);
    ASSERT_TRUE(tracker.Begin({8, 190}));
    EXPECT_EQ(scheduled, Ui::ScrollBarTracker::kFirstRepeatMs);
    tracker.Tick();
    EXPECT_EQ(scheduled, Ui::ScrollBarTracker::kRepeatMs);
    tracker.End({8, 190});
    EXPECT_EQ(scheduled, 0u);
    EXPECT_EQ(codes, (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(model.Pos(), 2);
    EXPECT_FALSE(tracker.Active());
    EXPECT_FALSE(tracker.Begin({30, 30})) << "beside the bar";
}
