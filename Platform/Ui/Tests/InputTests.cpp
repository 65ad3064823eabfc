#include "Platform/Base/Clock.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <thread>

using namespace UiTest;

namespace {

// A visible top-level at a known place with two children, active and focused.
struct Scene {
    Handler top;
    Handler left;
    Handler right;
    WindowGuard guard;
    HWND a = nullptr;
    HWND b = nullptr;

    explicit Scene(bool doubleClicks = false)
    {
        guard.hwnd = Create(&top, WS_POPUP | WS_VISIBLE, 500, 400, 200, 100);
        a = Create(&left, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, guard.hwnd, 1, 0, doubleClicks);
        b = Create(&right, WS_CHILD | WS_VISIBLE, 100, 0, 100, 100, guard.hwnd, 2, 0, doubleClicks);
        SetActiveWindow(guard.hwnd);
        Drain();
    }
};

}

TEST(Input, FocusMovesWithKillThenSetFocus)
{
    Scene s;
    SetFocus(s.a);
    std::vector<std::pair<HWND, UINT>> order;
    auto note = [&](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_SETFOCUS || m == WM_KILLFOCUS)
            order.emplace_back(hwnd, m);
        return false;
    };
    s.left.m_onMessage = note;
    s.right.m_onMessage = note;
    s.left.Clear();
    s.right.Clear();
    EXPECT_EQ(SetFocus(s.b), s.a);
    EXPECT_EQ(GetFocus(), s.b);
    const std::vector<std::pair<HWND, UINT>> expected{{s.a, WM_KILLFOCUS}, {s.b, WM_SETFOCUS}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(s.right.Of(WM_SETFOCUS)[0].wParam, reinterpret_cast<WPARAM>(s.a));
    EXPECT_EQ(s.left.Of(WM_KILLFOCUS)[0].wParam, reinterpret_cast<WPARAM>(s.b));
    // Destroying the focused window leaves no dangling focus.
    DestroyWindow(s.b);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST(Input, DisablingTheFocusedWindowTakesTheFocusAway)
{
    Scene s;
    SetFocus(s.a);
    EnableWindow(s.a, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(s.a));
    EXPECT_EQ(s.left.Of(WM_ENABLE).size(), 1u);
}

// A modal box disables its owner: the owner's code giving itself or one of
// its children the focus (at the end of a command, say) must not take the
// activation and the keys from the box, nor raise the owner over it.
TEST(Input, AWindowInADisabledTopLevelTakesNoFocus)
{
    Scene s;
    Handler boxHandler;
    Handler buttonHandler;
    WindowGuard box{Create(&boxHandler, WS_POPUP | WS_VISIBLE, 520, 420, 100, 50, s.guard.hwnd)};
    const HWND button = Create(&buttonHandler, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, box.hwnd, 1);
    EnableWindow(s.guard.hwnd, FALSE);
    SetFocus(button);
    Drain();
    for (const HWND target : {s.guard.hwnd, s.a}) {
        s.top.Clear();
        boxHandler.Clear();
        EXPECT_EQ(SetFocus(target), nullptr);
        Drain();
        EXPECT_EQ(GetFocus(), button);
        EXPECT_EQ(GetActiveWindow(), box.hwnd);
        EXPECT_EQ(Headless().FocusedTopLevel(), NativeWindowOf(box.hwnd));
        EXPECT_TRUE(s.top.Of(WM_ACTIVATE).empty());
        EXPECT_TRUE(boxHandler.Of(WM_ACTIVATE).empty());
    }
    // Enabled again, the owner takes the focus as before.
    EnableWindow(s.guard.hwnd, TRUE);
    SetFocus(s.a);
    EXPECT_EQ(GetFocus(), s.a);
    EXPECT_EQ(GetActiveWindow(), s.guard.hwnd);
}

TEST(Input, ActivationSendsActivateAndActivateApp)
{
    Handler h1;
    Handler h2;
    WindowGuard w1{Create(&h1, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100)};
    WindowGuard w2{Create(&h2, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100)};
    EXPECT_EQ(GetActiveWindow(), w2.hwnd) << "showing a top-level activates it";
    h1.Clear();
    h2.Clear();
    SetActiveWindow(w1.hwnd);
    auto deact = h2.Of(WM_ACTIVATE);
    ASSERT_EQ(deact.size(), 1u);
    EXPECT_EQ(LOWORD(deact[0].wParam), WA_INACTIVE);
    auto act = h1.Of(WM_ACTIVATE);
    ASSERT_EQ(act.size(), 1u);
    EXPECT_EQ(LOWORD(act[0].wParam), WA_ACTIVE);
    EXPECT_EQ(GetFocus(), w1.hwnd) << "the default handler focuses the activated window";
    EXPECT_EQ(Headless().FocusedTopLevel(), NativeWindowOf(w1.hwnd));
    SetActiveWindow(nullptr);
    EXPECT_FALSE(h1.Of(WM_ACTIVATEAPP).empty());
    EXPECT_EQ(h1.Of(WM_ACTIVATEAPP).back().wParam, static_cast<WPARAM>(FALSE));
}

TEST(Input, MouseGoesToTheChildUnderThePointerAndToTheCaptureOutsideIt)
{
    Scene s;
    auto& display = Headless();
    display.InjectMouseMove({550, 420});
    Drain();
    auto moves = s.left.Of(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(GET_X_LPARAM(moves.back().lParam), 50);
    EXPECT_EQ(GET_Y_LPARAM(moves.back().lParam), 20);
    EXPECT_EQ(WindowFromPoint({650, 420}), s.b);
    EXPECT_EQ(ChildWindowFromPoint(s.guard.hwnd, {150, 20}), s.b);
    EXPECT_EQ(ChildWindowFromPoint(s.guard.hwnd, {500, 20}), nullptr);

    SetCapture(s.a);
    EXPECT_EQ(GetCapture(), s.a);
    s.left.Clear();
    s.right.Clear();
    display.InjectMouseMove({650, 420});
    display.InjectMouseMove({900, 900});  // outside every window
    Drain();
    moves = s.left.Of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u) << "consecutive moves collapse";
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 400);
    EXPECT_TRUE(s.right.Of(WM_MOUSEMOVE).empty());
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(s.left.Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(display.PointerGrab(), 0u);
}

TEST(Input, CaptureChangeTellsTheOldWindow)
{
    Scene s;
    SetCapture(s.a);
    SetCapture(s.b);
    auto changed = s.left.Of(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(s.b));
    DestroyWindow(s.b);
    EXPECT_EQ(GetCapture(), nullptr) << "a destroyed window loses the capture";
}

TEST(Input, DoubleClicksNeedTheClassStyleAndTheTime)
{
    Platform::ManualClockScope clock{5000000};
    for (bool dbl : {false, true}) {
        Scene s(dbl);
        auto& display = Headless();
        for (int i = 0; i < 2; ++i) {
            display.InjectMouseDown(Display::MouseButton::Left, {520, 420});
            display.InjectMouseUp(Display::MouseButton::Left, {520, 420});
        }
        Drain();
        EXPECT_EQ(s.left.Of(WM_LBUTTONDBLCLK).size(), dbl ? 1u : 0u);
        EXPECT_EQ(s.left.Of(WM_LBUTTONDOWN).size(), dbl ? 1u : 2u);
        if (dbl) {
            s.left.Clear();
            Platform::Clock::Advance(GetDoubleClickTime() + 1);
            display.InjectMouseDown(Display::MouseButton::Left, {520, 420});
            Platform::Clock::Advance(GetDoubleClickTime() + 1);
            display.InjectMouseDown(Display::MouseButton::Left, {520, 420});
            display.InjectMouseUp(Display::MouseButton::Left, {520, 420});
            Drain();
            EXPECT_TRUE(s.left.Of(WM_LBUTTONDBLCLK).empty()) << "too slow for a double click";
        }
    }
}

TEST(Input, KeysBecomeCharactersAndKeyStates)
{
    Scene s;
    SetFocus(s.a);
    auto& display = Headless();
    display.InjectKeyDown(VK_SHIFT);
    display.InjectKeyDown('K');
    MSG msg;
    int guard = 0;
    bool sawShiftDown = false;
    while (guard++ < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'K')
            sawShiftDown = GetKeyState(VK_SHIFT) < 0;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_TRUE(sawShiftDown) << "the key state follows the messages taken";
    auto chars = s.left.Of(WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(L'K'));
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    display.InjectKeyUp('K');
    display.InjectKeyUp(VK_SHIFT);
    display.InjectText(L"ü");
    Drain();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(s.left.Of(WM_CHAR).back().wParam, static_cast<WPARAM>(L'ü'));
    auto ups = s.left.Of(WM_KEYUP);
    ASSERT_FALSE(ups.empty());
    EXPECT_NE(ups.back().lParam & (LPARAM{1} << 31), 0) << "key-up has the transition bit";
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(256), 0);
}

TEST(Input, MouseLeaveIsReportedOnceWhenTracked)
{
    Scene s;
    auto& display = Headless();
    display.InjectMouseMove({520, 420});
    Drain();
    TRACKMOUSEEVENT track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = s.a;
    ASSERT_TRUE(TrackMouseEvent(&track));
    display.InjectMouseMove({530, 430});
    Drain();
    EXPECT_TRUE(s.left.Of(WM_MOUSELEAVE).empty());
    display.InjectMouseMove({650, 430});
    display.InjectMouseMove({660, 430});
    Drain();
    EXPECT_EQ(s.left.Of(WM_MOUSELEAVE).size(), 1u);
    // Tracking a window the pointer is not over reports the leave at once.
    track.hwndTrack = s.a;
    TrackMouseEvent(&track);
    Drain();
    EXPECT_EQ(s.left.Of(WM_MOUSELEAVE).size(), 2u);
    track.cbSize = 3;
    EXPECT_FALSE(TrackMouseEvent(&track));
}

TEST(Input, DisabledOwnerGetsNoMouseInput)
{
    Scene s;
    EnableWindow(s.guard.hwnd, FALSE);
    s.left.Clear();
    Headless().InjectMouseDown(Display::MouseButton::Left, {520, 420});
    Drain();
    EXPECT_TRUE(s.left.Of(WM_LBUTTONDOWN).empty());
    Headless().InjectMouseUp(Display::MouseButton::Left, {520, 420});
    Drain();
}

TEST(Input, WheelGoesToTheFocusAndUpToTheParent)
{
    Scene s;
    SetFocus(s.b);
    s.top.Clear();
    Headless().InjectWheel(-120, {520, 420});
    Drain();
    auto wheel = s.right.Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -120);
    EXPECT_EQ(s.top.Of(WM_MOUSEWHEEL).size(), 1u) << "unhandled, it goes to the parent";
}

TEST(Input, CloseRequestFromTheDisplayDestroysByDefault)
{
    Handler h;
    HWND w = Create(&h, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    Headless().InjectClose(NativeWindowOf(w));
    Drain();
    EXPECT_EQ(h.Of(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(w));
}

// The owner of a modal dialog is disabled: the dialog is answered first.
TEST(Input, CloseRequestForADisabledOwnerActivatesItsDialogInstead)
{
    Handler owner;
    Handler dialog;
    WindowGuard main{Create(&owner, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200)};
    WindowGuard modal{Create(&dialog, WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 100, 80, main.hwnd)};
    EnableWindow(main.hwnd, FALSE);
    SetActiveWindow(main.hwnd);
    Drain();
    Headless().InjectClose(NativeWindowOf(main.hwnd));
    Drain();
    EXPECT_TRUE(owner.Of(WM_CLOSE).empty());
    EXPECT_TRUE(IsWindow(main.hwnd));
    EXPECT_EQ(GetActiveWindow(), modal.hwnd);
}

TEST(Input, TheDisplayResizingATopLevelSendsWmSize)
{
    Handler h;
    WindowGuard g{Create(&h, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200)};
    Drain();
    h.Clear();
    Headless().InjectConfigure(NativeWindowOf(g.hwnd), {100, 100, 500, 400});
    Drain();
    RECT client{};
    GetClientRect(g.hwnd, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    auto sizes = h.Of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(sizes[0].lParam)), 400);
}

namespace {

std::size_t Activations(const Handler& h)
{
    std::size_t n = 0;
    for (const Record& r : h.Of(WM_ACTIVATE))
        n += LOWORD(r.wParam) != WA_INACTIVE ? 1 : 0;
    return n;
}

}

// Each activation asks the display for the focus, whose events come back
// later: they must settle, not hand the activation to and fro for ever.
TEST(Input, TwoWindowsActivatedInQuickSuccessionSettleOnTheLast)
{
    Handler h1;
    Handler h2;
    WindowGuard main{Create(&h1, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100)};
    WindowGuard modeless{Create(&h2, WS_POPUP | WS_VISIBLE, 200, 0, 100, 100)};
    SetActiveWindow(main.hwnd);
    SetActiveWindow(modeless.hwnd);
    EXPECT_LT(Drain(1000), 1000) << "the queue never empties";
    EXPECT_EQ(GetActiveWindow(), modeless.hwnd);
    EXPECT_EQ(Headless().FocusedTopLevel(), NativeWindowOf(modeless.hwnd));
    EXPECT_LE(Activations(h1) + Activations(h2), 4u);

    // The user's click still moves the activation, once.
    h1.Clear();
    h2.Clear();
    Headless().InjectMouseDown(Display::MouseButton::Left, {50, 50});
    Headless().InjectMouseUp(Display::MouseButton::Left, {50, 50});
    EXPECT_LT(Drain(1000), 1000);
    EXPECT_EQ(GetActiveWindow(), main.hwnd);
    EXPECT_EQ(Activations(h1), 1u);
    EXPECT_EQ(Activations(h2), 0u);
}

// Another thread's SetForegroundWindow is a request, not a stale focus event:
// the window's thread activates it although the display's focus is elsewhere.
TEST(Input, SetForegroundWindowFromAnotherThreadActivatesTheWindow)
{
    Handler h;
    WindowGuard w{Create(&h, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100)};
    Drain();
    SetActiveWindow(nullptr);
    Drain();
    ASSERT_EQ(GetActiveWindow(), nullptr);
    h.Clear();
    std::thread other([&] { EXPECT_TRUE(SetForegroundWindow(w.hwnd)); });
    other.join();
    Drain();
    EXPECT_EQ(GetActiveWindow(), w.hwnd);
    EXPECT_EQ(Activations(h), 1u);
}
