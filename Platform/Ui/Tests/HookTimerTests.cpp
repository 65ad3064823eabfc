#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <algorithm>
#include <thread>

using namespace UiTest;

namespace {

constexpr UINT WM_TEST = WM_USER + 7;

std::vector<std::string>* g_trace = nullptr;
HHOOK g_first = nullptr;
HHOOK g_second = nullptr;

LRESULT FirstGetMessage(int code, WPARAM w, LPARAM l)
{
    auto* msg = reinterpret_cast<MSG*>(l);
    if (msg->message == WM_TEST) {
        g_trace->push_back("first");
        msg->wParam += 100;  // hooks may change the message on its way
    }
    return CallNextHookEx(g_first, code, w, l);
}

LRESULT SecondGetMessage(int code, WPARAM w, LPARAM l)
{
    if (reinterpret_cast<MSG*>(l)->message == WM_TEST)
        g_trace->push_back("second");
    return CallNextHookEx(g_second, code, w, l);
}

int g_keysSeen = 0;
LRESULT SwallowKeyA(int code, WPARAM w, LPARAM l)
{
    ++g_keysSeen;
    if (code == HC_ACTION && w == 'A' && (l & (LPARAM{1} << 31)) == 0)
        return 1;
    return CallNextHookEx(nullptr, code, w, l);
}

std::vector<UINT> g_calls;
LRESULT CallWndHook(int code, WPARAM w, LPARAM l)
{
    g_calls.push_back(reinterpret_cast<CWPSTRUCT*>(l)->message);
    return CallNextHookEx(nullptr, code, w, l);
}

int g_mouseSeen = 0;
LRESULT SwallowMouse(int, WPARAM w, LPARAM)
{
    ++g_mouseSeen;
    return w == WM_LBUTTONDOWN ? 1 : 0;
}

std::vector<UINT_PTR> g_timerCalls;
void TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    g_timerCalls.push_back(id);
}

}

TEST(Hooks, ANewerHookPassingOnWithoutItsHandleReachesTheOlderOne)
{
    std::vector<UINT> older;
    static std::vector<UINT>* s_older = nullptr;
    s_older = &older;
    HHOOK first = SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM w, LPARAM l) -> LRESULT {
        s_older->push_back(reinterpret_cast<CWPSTRUCT*>(l)->message);
        return CallNextHookEx(nullptr, code, w, l);
    }, nullptr, GetCurrentThreadId());
    HHOOK second = SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
    UiTest::Handler handler;
    UiTest::WindowGuard window{UiTest::Create(&handler, WS_OVERLAPPEDWINDOW, 0, 0, 50, 50)};
    g_calls.clear();
    SendMessageW(window.hwnd, WM_TEST, 0, 0);
    UnhookWindowsHookEx(second);
    UnhookWindowsHookEx(first);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), WM_TEST), 1);
    EXPECT_EQ(std::count(older.begin(), older.end(), WM_TEST), 1);
}

TEST(Hooks, GetMessageHooksRunNewestFirstAndMayChangeTheMessage)
{
    std::vector<std::string> trace;
    g_trace = &trace;
    g_first = SetWindowsHookExW(WH_GETMESSAGE, FirstGetMessage, nullptr, GetCurrentThreadId());
    g_second = SetWindowsHookExW(WH_GETMESSAGE, SecondGetMessage, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_first, nullptr);
    ASSERT_NE(g_second, nullptr);
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 1, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 101u);
    EXPECT_EQ(trace, (std::vector<std::string>{"second", "first"}));

    EXPECT_TRUE(UnhookWindowsHookEx(g_second));
    EXPECT_FALSE(UnhookWindowsHookEx(g_second)) << "a hook is removed once";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_HANDLE);
    trace.clear();
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 1, 0);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(trace, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(UnhookWindowsHookEx(g_first));
    g_trace = nullptr;
}

TEST(Hooks, KeyboardHookSwallowsKeysBeforeTheWindowSeesThem)
{
    Handler h;
    WindowGuard g{Create(&h, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100)};
    Drain();
    SetFocus(g.hwnd);
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, SwallowKeyA, nullptr, GetCurrentThreadId());
    g_keysSeen = 0;
    auto& display = Headless();
    display.InjectKeyDown('A');
    display.InjectKeyUp('A');
    display.InjectKeyDown('B');
    h.Clear();
    Drain();
    UnhookWindowsHookEx(hook);
    auto downs = h.Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('B'));
    EXPECT_EQ(h.Of(WM_KEYUP).size(), 1u) << "only the key-down of A was swallowed";
    EXPECT_EQ(g_keysSeen, 3);
    display.InjectKeyUp('B');
    Drain();
}

TEST(Hooks, MouseHookSwallowsClicks)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP | WS_VISIBLE, 300, 300, 50, 50)};
    Drain();
    HHOOK hook = SetWindowsHookExW(WH_MOUSE, SwallowMouse, nullptr, 0);
    g_mouseSeen = 0;
    Headless().InjectMouseDown(Display::MouseButton::Left, {310, 310});
    Headless().InjectMouseUp(Display::MouseButton::Left, {310, 310});
    h.Clear();
    Drain();
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(h.Of(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(h.Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_GE(g_mouseSeen, 2);
}

TEST(Hooks, CallWndProcHookSeesSentMessages)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    g_calls.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
    SendMessageW(g.hwnd, WM_TEST, 0, 0);
    UnhookWindowsHookEx(hook);
    SendMessageW(g.hwnd, WM_TEST + 1, 0, 0);
    EXPECT_EQ(g_calls, std::vector<UINT>{WM_TEST});
}

TEST(Hooks, BadArgumentsAreRefused)
{
    EXPECT_EQ(SetWindowsHookExW(WH_KEYBOARD, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(SetWindowsHookExW(99, SwallowMouse, nullptr, 0), nullptr);
    EXPECT_EQ(SetWindowsHookExW(WH_MOUSE, SwallowMouse, nullptr, 0x7FFFFFF1u), nullptr);
    EXPECT_FALSE(UnhookWindowsHookEx(nullptr));
}

class Timers : public ::testing::Test {
protected:
    Platform::ManualClockScope m_clock{1000000};
};

TEST_F(Timers, WindowTimerFiresOnlyWhenDueAndDoesNotPileUp)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    Drain();
    EXPECT_EQ(SetTimer(g.hwnd, 5, 100, nullptr), 5u);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    Platform::Clock::Advance(99);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    Platform::Clock::Advance(1000);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, g.hwnd);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) << "one WM_TIMER however late";
    Platform::Clock::Advance(100);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_TRUE(KillTimer(g.hwnd, 5));
    EXPECT_FALSE(KillTimer(g.hwnd, 5));
    Platform::Clock::Advance(1000);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(Timers, TimersDueAtTheSameTickFireInTheOrderTheyWereSet)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    Drain();
    for (UINT_PTR id : {7, 3, 5})
        SetTimer(g.hwnd, id, 50, nullptr);
    // Fired together, they are due together again, in the same order.
    for (int round = 0; round < 2; ++round) {
        Platform::Clock::Advance(50);
        std::vector<WPARAM> order;
        MSG msg;
        while (order.size() < 4 && PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
            order.push_back(msg.wParam);
        EXPECT_EQ(order, (std::vector<WPARAM>{7, 3, 5})) << "round " << round;
    }
    for (UINT_PTR id : {7, 3, 5})
        KillTimer(g.hwnd, id);
}

TEST_F(Timers, TimerComesAfterPostedMessages)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    Drain();
    SetTimer(g.hwnd, 1, 10, nullptr);
    Platform::Clock::Advance(50);
    PostMessageW(g.hwnd, WM_TEST, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TEST);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    KillTimer(g.hwnd, 1);
}

TEST_F(Timers, ThreadTimerCallsItsProcedureThroughDispatch)
{
    g_timerCalls.clear();
    const UINT_PTR id = SetTimer(nullptr, 0, 30, TimerProc);
    ASSERT_NE(id, 0u);
    Platform::Clock::Advance(30);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.hwnd, nullptr);
    DispatchMessageW(&msg);
    EXPECT_EQ(g_timerCalls, std::vector<UINT_PTR>{id});
    EXPECT_TRUE(KillTimer(nullptr, id));

    // A forged WM_TIMER cannot make DispatchMessage jump anywhere.
    MSG forged = msg;
    forged.lParam = reinterpret_cast<LPARAM>(&TimerProc);
    forged.wParam = 12345;
    DispatchMessageW(&forged);
    EXPECT_EQ(g_timerCalls.size(), 1u);
}

TEST_F(Timers, AdvancingTheClockWakesAThreadInGetMessage)
{
    std::atomic<bool> gotTimer{false};
    std::thread loop([&] {
        Handler h;
        HWND w = Create(&h, WS_POPUP, 0, 0, 10, 10);
        SetTimer(w, 9, 500, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER) {
                gotTimer = true;
                break;
            }
        }
        DestroyWindow(w);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(gotTimer.load());
    Platform::Clock::Advance(500);
    loop.join();
    EXPECT_TRUE(gotTimer.load());
}

TEST_F(Timers, TimersOfADestroyedWindowAreGone)
{
    Handler h;
    HWND w = Create(&h, WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 3, 10, nullptr);
    DestroyWindow(w);
    Drain();
    Platform::Clock::Advance(100);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}
