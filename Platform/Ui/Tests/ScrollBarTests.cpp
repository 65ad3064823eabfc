#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/ScrollBarTracker.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <climits>

#include <utility>

using namespace UiTest;

namespace {

using Request = std::pair<int, int>;  // SB_ code, the position in HIWORD

// A child with both bars and a client edge at screen (110, 110), 200 x 150.
// In its window coordinates the client is (2, 2)-(181, 131); the vertical
// bar is x 181-198 with the up arrow at y 2-19, the down arrow at 114-131
// and a track of 95 pixels between. Range 0-99 with a page of 10 makes a
// thumb of 10 pixels and positions 0-90.
class ScrollBars : public ::testing::Test {
protected:
    Platform::ManualClockScope m_clock{5000000};
    Handler m_top;
    Handler m_child;
    WindowGuard m_guard;
    HWND m_hwnd = nullptr;
    std::vector<Request> m_requests;
    bool m_follow = true;  // the window moves its position as asked, as windows do

    static constexpr int kBarX = 189;
    static constexpr int kUpY = 10;
    static constexpr int kDownY = 120;
    static constexpr int kThumbY = 24;

    void SetUp() override
    {
        m_guard.hwnd = Create(&m_top, WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        m_hwnd = Create(&m_child, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 200, 150, m_guard.hwnd, 1,
                      WS_EX_CLIENTEDGE);
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = 99;
        si.nPage = 10;
        SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
        m_child.m_onMessage = [this](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
            if (m != WM_VSCROLL)
                return false;
            m_requests.emplace_back(LOWORD(wp), HIWORD(wp));
            if (m_follow)
                SetScrollPos(h, SB_VERT, Follow(GetScrollPos(h, SB_VERT), LOWORD(wp), HIWORD(wp)), TRUE);
            r = 0;
            return true;
        };
        SetActiveWindow(m_guard.hwnd);
        Drain();
        m_child.Clear();
    }

    static int Follow(int pos, int code, int thumb)
    {
        switch (code) {
        case SB_LINEUP: return pos - 1;
        case SB_LINEDOWN: return pos + 1;
        case SB_PAGEUP: return pos - 10;
        case SB_PAGEDOWN: return pos + 10;
        case SB_THUMBPOSITION: return thumb;
        default: return pos;
        }
    }

    static POINT At(int x, int y) { return {110 + x, 110 + y}; }
    static void Press(POINT p)
    {
        Headless().InjectMouseDown(Display::MouseButton::Left, p);
        Drain();
    }
    static void Release(POINT p)
    {
        Headless().InjectMouseUp(Display::MouseButton::Left, p);
        Drain();
    }
    static void MoveTo(POINT p)
    {
        Headless().InjectMouseMove(p);
        Drain();
    }
    static void Wait(ULONGLONG ms)
    {
        Platform::Clock::Advance(ms);
        Drain();
    }
    int Pos() const { return GetScrollPos(m_hwnd, SB_VERT); }
    int Count(int code) const
    {
        return static_cast<int>(std::count_if(m_requests.begin(), m_requests.end(), [code](const Request& r) { return r.first == code; }));
    }
};

}

TEST_F(ScrollBars, ArrowClickStepsOnceAndEndsOnRelease)
{
    Press(At(kBarX, kDownY));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_LINEDOWN, 0}}));
    EXPECT_EQ(GetCapture(), m_hwnd) << "the bar holds the mouse while pressed";
    Release(At(kBarX, kDownY));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Pos(), 1);
    EXPECT_TRUE(m_child.Of(WM_LBUTTONDOWN).empty() && m_child.Of(WM_LBUTTONUP).empty())
        << "the press and the release belong to the bar, not to the client";

    m_requests.clear();
    Press(At(kBarX, kUpY));
    Release(At(kBarX, kUpY));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(Pos(), 0);
}

TEST_F(ScrollBars, HeldArrowRepeatsOnTheClockWhileThePointerStaysOnIt)
{
    Press(At(kBarX, kDownY));
    Wait(Ui::ScrollBarTracker::kFirstRepeatMs - 1);
    EXPECT_EQ(Count(SB_LINEDOWN), 1) << "no repeat before the delay";
    Wait(1);
    EXPECT_EQ(Count(SB_LINEDOWN), 2);
    Wait(Ui::ScrollBarTracker::kRepeatMs);
    Wait(Ui::ScrollBarTracker::kRepeatMs);
    EXPECT_EQ(Count(SB_LINEDOWN), 4) << "then one step per repeat period";
    MoveTo(At(kBarX, kDownY - 40));
    Wait(Ui::ScrollBarTracker::kRepeatMs * 3);
    EXPECT_EQ(Count(SB_LINEDOWN), 4) << "the repeat pauses off the arrow";
    MoveTo(At(kBarX, kDownY));
    Wait(Ui::ScrollBarTracker::kRepeatMs);
    EXPECT_EQ(Count(SB_LINEDOWN), 5) << "and goes on back on it";
    Release(At(kBarX, kDownY));
    Wait(1000);
    EXPECT_EQ(Count(SB_LINEDOWN), 5) << "nothing after the release";
    EXPECT_EQ(m_requests.back(), (Request{SB_ENDSCROLL, 0}));
    EXPECT_EQ(Pos(), 5);
}

TEST_F(ScrollBars, PageAreaRepeatsUntilTheThumbReachesThePointer)
{
    Press(At(kBarX, 100));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_PAGEDOWN, 0}}));
    Wait(Ui::ScrollBarTracker::kFirstRepeatMs);
    for (int i = 0; i < 12; ++i)
        Wait(Ui::ScrollBarTracker::kRepeatMs);
    // The thumb of position 80 covers y 95-105: the pointer at 100 is on it.
    EXPECT_EQ(Count(SB_PAGEDOWN), 8);
    EXPECT_EQ(Pos(), 80);
    Release(At(kBarX, 100));
    EXPECT_EQ(m_requests.back(), (Request{SB_ENDSCROLL, 0}));

    m_requests.clear();
    Press(At(kBarX, 30));
    Release(At(kBarX, 30));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(Pos(), 70);
}

TEST_F(ScrollBars, ThumbDragTracksThenSetsThePositionAndEnds)
{
    Press(At(kBarX, kThumbY));
    EXPECT_TRUE(m_requests.empty()) << "taking the thumb asks for nothing yet";
    MoveTo(At(kBarX, kThumbY + 17));  // 17 of 85 pixels: position 18 of 90
    SCROLLINFO si;
    si.fMask = SIF_POS | SIF_TRACKPOS;
    ASSERT_TRUE(GetScrollInfo(m_hwnd, SB_VERT, &si));
    EXPECT_EQ(si.nTrackPos, 18);
    EXPECT_EQ(si.nPos, 0) << "the position stays until the window sets it";
    MoveTo(At(kBarX, kThumbY + 85));
    MoveTo(At(kBarX + 30, 400));  // far beyond the end: held at the last position
    Release(At(kBarX + 30, 400));
    const std::vector<Request> expected{{SB_THUMBTRACK, 18}, {SB_THUMBTRACK, 90}, {SB_THUMBPOSITION, 90}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(m_requests, expected);
    EXPECT_EQ(Pos(), 90);
    si.fMask = SIF_TRACKPOS;
    ASSERT_TRUE(GetScrollInfo(m_hwnd, SB_VERT, &si));
    EXPECT_EQ(si.nTrackPos, 90) << "out of a drag the track position is the position";
}

TEST_F(ScrollBars, DoubleClickOnAnArrowIsTwoPresses)
{
    Press(At(kBarX, kDownY));
    Release(At(kBarX, kDownY));
    Press(At(kBarX, kDownY));
    Release(At(kBarX, kDownY));
    EXPECT_EQ(m_child.Of(WM_NCLBUTTONDBLCLK).size(), 1u);
    EXPECT_EQ(Count(SB_LINEDOWN), 2);
    EXPECT_EQ(Pos(), 2);
}

TEST_F(ScrollBars, DisabledBarsAndArrowsSendNothing)
{
    EXPECT_TRUE(EnableScrollBar(m_hwnd, SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_FALSE(EnableScrollBar(m_hwnd, SB_VERT, ESB_DISABLE_BOTH)) << "no change the second time";
    for (int y : {kUpY, kThumbY, 100, kDownY}) {
        Press(At(kBarX, y));
        Release(At(kBarX, y));
    }
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_TRUE(EnableScrollBar(m_hwnd, SB_VERT, ESB_DISABLE_DOWN));
    Press(At(kBarX, kDownY));
    Release(At(kBarX, kDownY));
    EXPECT_TRUE(m_requests.empty()) << "the disabled arrow";
    Press(At(kBarX, kUpY));
    Release(At(kBarX, kUpY));
    EXPECT_EQ(m_requests, (std::vector<Request>{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}})) << "the other one works";

    // Nothing to scroll, kept on screen disabled.
    EnableScrollBar(m_hwnd, SB_VERT, ESB_ENABLE_BOTH);
    m_requests.clear();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMax = 9;
    si.nPage = 10;
    SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
    EXPECT_NE(GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VSCROLL, 0);
    Press(At(kBarX, kDownY));
    Release(At(kBarX, kDownY));
    EXPECT_TRUE(m_requests.empty());
}

TEST_F(ScrollBars, SetScrollInfoClampsPageAndPosition)
{
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = 95;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &si, FALSE), 90) << "max - page + 1";
    si.fMask = SIF_PAGE;
    si.nPage = 0;
    SetScrollInfo(m_hwnd, SB_VERT, &si, FALSE);
    si.fMask = SIF_POS;
    si.nPos = 200;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &si, FALSE), 99) << "without a page the position reaches max";
    si.nPos = -5;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &si, FALSE), 0);
    EXPECT_EQ(SetScrollPos(m_hwnd, SB_VERT, 40, FALSE), 0) << "the previous position";

    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 10;
    si.nMax = 30;
    si.nPage = 15;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &si, FALSE), 16) << "the position follows a smaller range";
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m_hwnd, SB_VERT, &si));
    EXPECT_EQ(si.nMin, 10);
    EXPECT_EQ(si.nMax, 30);
    EXPECT_EQ(si.nPage, 15u);
    EXPECT_EQ(si.nPos, 16);
    EXPECT_EQ(si.nTrackPos, 16);

    // A page larger than the range shrinks to it; the bar then has nothing
    // to scroll and goes away, and the client area takes its place.
    RECT before{};
    GetClientRect(m_hwnd, &before);
    si.fMask = SIF_PAGE;
    si.nPage = 1000;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE), 10);
    si.fMask = SIF_PAGE;
    GetScrollInfo(m_hwnd, SB_VERT, &si);
    EXPECT_EQ(si.nPage, 21u);
    EXPECT_EQ(GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VSCROLL, 0);
    RECT after{};
    GetClientRect(m_hwnd, &after);
    EXPECT_EQ(after.right, before.right + GetSystemMetrics(SM_CXVSCROLL));
    // A range that needs the bar again brings it back.
    EXPECT_TRUE(SetScrollRange(m_hwnd, SB_VERT, 0, 500, TRUE));
    EXPECT_NE(GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VSCROLL, 0);
    int low = -1;
    int high = -1;
    EXPECT_TRUE(GetScrollRange(m_hwnd, SB_VERT, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 500);
}

TEST_F(ScrollBars, BadArgumentsAndWindowsWithoutBars)
{
    SetLastError(0);
    EXPECT_FALSE(SetScrollRange(m_hwnd, SB_VERT, INT_MIN, INT_MAX, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_SCROLLBAR_RANGE);
    SCROLLINFO bad;
    bad.cbSize = 3;
    bad.fMask = SIF_ALL;
    EXPECT_EQ(SetScrollInfo(m_hwnd, SB_VERT, &bad, FALSE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GetScrollInfo(m_hwnd, SB_VERT, nullptr));
    EXPECT_FALSE(GetScrollRange(m_hwnd, SB_VERT, nullptr, nullptr));
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_FALSE(GetScrollInfo(m_hwnd, 7, &si));
    EXPECT_FALSE(ShowScrollBar(nullptr, SB_VERT, TRUE));
    EXPECT_FALSE(EnableScrollBar(m_hwnd, 7, ESB_DISABLE_BOTH));

    Handler plain;
    WindowGuard g{Create(&plain, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, m_guard.hwnd, 2)};
    EXPECT_FALSE(GetScrollInfo(g.hwnd, SB_HORZ, &si));
    EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);
    EXPECT_EQ(GetScrollPos(g.hwnd, SB_HORZ), 0);
    SetScrollPos(g.hwnd, SB_HORZ, 5, TRUE);
    EXPECT_EQ(GetWindowLongPtrW(g.hwnd, GWL_STYLE) & WS_HSCROLL, 0) << "a bare position shows no bar";
    EXPECT_TRUE(ShowScrollBar(g.hwnd, SB_BOTH, TRUE));
    RECT client{};
    GetClientRect(g.hwnd, &client);
    EXPECT_EQ(client.right, 50 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 50 - GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(ScrollBars, ScrollBarControlsAreAskedByMessage)
{
    // What SB_CTL becomes: the messages a scroll-bar control answers.
    Handler control;
    std::vector<UINT> asked;
    control.m_onMessage = [&](HWND, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
        if (m < SBM_SETPOS || m > SBM_GETSCROLLINFO)
            return false;
        asked.push_back(m);
        if (m == SBM_GETSCROLLINFO)
            reinterpret_cast<SCROLLINFO*>(lp)->nPos = 7;
        if (m == SBM_GETRANGE) {
            *reinterpret_cast<int*>(wp) = 1;
            *reinterpret_cast<int*>(lp) = 9;
        }
        r = m == SBM_GETPOS ? 7 : m == SBM_SETSCROLLINFO ? 3 : 1;
        return true;
    };
    WindowGuard g{Create(&control, WS_CHILD | WS_VISIBLE, 0, 0, 17, 80, m_guard.hwnd, 3)};
    SCROLLINFO si;
    si.fMask = SIF_POS;
    EXPECT_EQ(SetScrollInfo(g.hwnd, SB_CTL, &si, TRUE), 3);
    ASSERT_TRUE(GetScrollInfo(g.hwnd, SB_CTL, &si));
    EXPECT_EQ(si.nPos, 7);
    EXPECT_EQ(GetScrollPos(g.hwnd, SB_CTL), 7);
    int low = 0;
    int high = 0;
    EXPECT_TRUE(GetScrollRange(g.hwnd, SB_CTL, &low, &high));
    EXPECT_EQ(high, 9);
    EXPECT_TRUE(EnableScrollBar(g.hwnd, SB_CTL, ESB_DISABLE_BOTH));
    const std::vector<UINT> expected{SBM_SETSCROLLINFO, SBM_GETSCROLLINFO, SBM_GETPOS, SBM_GETRANGE, SBM_ENABLE_ARROWS};
    EXPECT_EQ(asked, expected);
}
