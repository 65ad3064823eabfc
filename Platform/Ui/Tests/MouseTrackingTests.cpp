#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace UiTest;

namespace {

// A top-level at (300,300) of 100x100 client pixels; the pointer starts outside it.
class MouseTracking : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_g.hwnd = Create(&m_h, WS_POPUP | WS_VISIBLE, 300, 300, 100, 100);
        Headless().InjectMouseMove({50, 50});
        Headless().InjectMouseMove({350, 350});
        Drain();
        m_h.Clear();
    }
    void Move(int x, int y)
    {
        Headless().InjectMouseMove({x, y});
        Drain();
    }
    void Wait(ULONGLONG ms)
    {
        Platform::Clock::Advance(ms);
        Drain();
    }
    BOOL Track(DWORD flags, DWORD hoverTime = HOVER_DEFAULT)
    {
        TRACKMOUSEEVENT track;
        track.dwFlags = flags;
        track.hwndTrack = m_g.hwnd;
        track.dwHoverTime = hoverTime;
        return TrackMouseEvent(&track);
    }

    Platform::ManualClockScope m_clock{7000000};
    Handler m_h;
    WindowGuard m_g;
};

}

TEST_F(MouseTracking, HoverComesOnceAfterThePointerRestsForTheHoverTime)
{
    ASSERT_TRUE(Track(TME_HOVER));
    Wait(399);
    EXPECT_TRUE(m_h.Of(WM_MOUSEHOVER).empty());
    Wait(1);
    auto hovers = m_h.Of(WM_MOUSEHOVER);
    ASSERT_EQ(hovers.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(hovers[0].lParam), 50) << "client coordinates";
    EXPECT_EQ(GET_Y_LPARAM(hovers[0].lParam), 50);
    Wait(2000);
    EXPECT_EQ(m_h.Of(WM_MOUSEHOVER).size(), 1u) << "tracking ends with the notice";

    // A move out of the hover rectangle starts the wait over; a small one does not.
    ASSERT_TRUE(Track(TME_HOVER, 200));
    Wait(150);
    Move(351, 351);
    Wait(50);
    EXPECT_EQ(m_h.Of(WM_MOUSEHOVER).size(), 2u) << "a pixel is still resting";
    ASSERT_TRUE(Track(TME_HOVER, 200));
    Wait(150);
    Move(370, 360);
    Wait(150);
    EXPECT_EQ(m_h.Of(WM_MOUSEHOVER).size(), 2u);
    Wait(50);
    hovers = m_h.Of(WM_MOUSEHOVER);
    ASSERT_EQ(hovers.size(), 3u);
    EXPECT_EQ(GET_X_LPARAM(hovers[2].lParam), 70);
}

TEST_F(MouseTracking, CancelQueryAndLeavingEndHoverTracking)
{
    ASSERT_TRUE(Track(TME_HOVER | TME_LEAVE, 300));
    TRACKMOUSEEVENT query;
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.dwFlags, TME_HOVER | TME_LEAVE);
    EXPECT_EQ(query.hwndTrack, m_g.hwnd);
    EXPECT_EQ(query.dwHoverTime, 300u);

    ASSERT_TRUE(Track(TME_HOVER | TME_CANCEL));
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.dwFlags, TME_LEAVE) << "the leave is still tracked";
    Wait(1000);
    EXPECT_TRUE(m_h.Of(WM_MOUSEHOVER).empty());

    ASSERT_TRUE(Track(TME_HOVER, 300));
    Move(10, 10);
    EXPECT_EQ(m_h.Of(WM_MOUSELEAVE).size(), 1u);
    Move(350, 350);
    Wait(1000);
    EXPECT_TRUE(m_h.Of(WM_MOUSEHOVER).empty()) << "leaving ended the hover tracking";

    EXPECT_FALSE(Track(TME_LEAVE | TME_NONCLIENT));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST_F(MouseTracking, DragDetectTellsADragFromAClick)
{
    auto& display = Headless();
    const POINT start{350, 350};
    EXPECT_FALSE(DragDetect(m_g.hwnd, start)) << "no button down";

    display.InjectMouseDown(Display::MouseButton::Left, start);
    Drain();
    display.InjectMouseMove({351, 352});
    display.InjectMouseMove({354, 350});
    EXPECT_TRUE(DragDetect(m_g.hwnd, start));
    EXPECT_EQ(GetCapture(), nullptr) << "the capture was only for the detection";
    display.InjectMouseUp(Display::MouseButton::Left, {354, 350});
    Drain();

    m_h.Clear();
    display.InjectMouseDown(Display::MouseButton::Left, start);
    Drain();
    display.InjectMouseMove({352, 348});
    display.InjectMouseUp(Display::MouseButton::Left, {352, 348});
    EXPECT_FALSE(DragDetect(m_g.hwnd, start)) << "released within the drag rectangle";
    Drain();
    EXPECT_EQ(m_h.Of(WM_LBUTTONUP).size(), 1u) << "the button-up still reaches the window";

    display.InjectMouseDown(Display::MouseButton::Left, start);
    Drain();
    display.InjectKeyDown(VK_ESCAPE);
    EXPECT_FALSE(DragDetect(m_g.hwnd, start)) << "Esc";
    display.InjectKeyUp(VK_ESCAPE);
    display.InjectMouseUp(Display::MouseButton::Left, start);
    Drain();
}

TEST_F(MouseTracking, DisablingCancelsTheModeAndTheDefaultReleasesTheCapture)
{
    SetCapture(m_g.hwnd);
    m_h.Clear();
    EnableWindow(m_g.hwnd, FALSE);
    EXPECT_EQ(m_h.Ids({WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}),
              (std::vector<UINT>{WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}));
    EXPECT_EQ(GetCapture(), nullptr);
    m_h.Clear();
    EnableWindow(m_g.hwnd, TRUE);
    EXPECT_TRUE(m_h.Of(WM_CANCELMODE).empty()) << "only disabling cancels";
}
