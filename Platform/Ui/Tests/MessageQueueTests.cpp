#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Thread.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include <pthread.h>
#include <sched.h>

using namespace UiTest;

namespace {

constexpr UINT WM_TEST = WM_USER + 1;

// A window on a thread of its own that runs a message loop until WM_QUIT.
class WorkerWindow {
public:
    explicit WorkerWindow(std::function<void(HWND)> onStart = {})
    {
        std::promise<HWND> ready;
        auto future = ready.get_future();
        m_thread = std::thread([this, &ready, onStart] {
            HWND hwnd = Create(&m_handler, WS_POPUP, 0, 0, 10, 10);
            m_threadId = GetCurrentThreadId();
            ready.set_value(hwnd);
            if (onStart)
                onStart(hwnd);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            DestroyWindow(hwnd);
        });
        m_hwnd = future.get();
    }
    ~WorkerWindow()
    {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    Handler m_handler;
    HWND m_hwnd = nullptr;

private:
    std::thread m_thread;
    std::atomic<DWORD> m_threadId{0};
};

}

TEST(MessageQueue, PostedMessagesComeInOrderAndPeekCanLeaveThem)
{
    for (WPARAM i = 0; i < 5; ++i)
        ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_TEST, i, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    for (WPARAM i = 0; i < 5; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_TEST);
        EXPECT_EQ(msg.wParam, i);
    }
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, FilterTakesOnlyTheRangeAndKeepsTheRest)
{
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 1, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST + 5, 2, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 3, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TEST + 5, WM_TEST + 5, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(MessageQueue, WindowFilterIncludesChildren)
{
    Handler h;
    Handler c;
    WindowGuard top{Create(&h, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100)};
    HWND child = Create(&c, WS_CHILD, 0, 0, 10, 10, top.hwnd, 7);
    HWND other = Create(&h, WS_POPUP, 0, 0, 10, 10);
    Drain();
    PostMessageW(other, WM_TEST, 1, 0);
    PostMessageW(child, WM_TEST, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, top.hwnd, WM_TEST, WM_TEST, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_FALSE(PeekMessageW(&msg, top.hwnd, WM_TEST, WM_TEST, PM_REMOVE));
    DestroyWindow(other);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TEST, WM_TEST, PM_REMOVE)) << "messages of a destroyed window are gone";
}

TEST(MessageQueue, RegisteredMessagesAreStablePerNameAndInTheirRange)
{
    const UINT a = RegisterWindowMessageW(L"Zell.Test.Progress");
    const UINT b = RegisterWindowMessageW(L"zell.test.PROGRESS");
    const UINT c = RegisterWindowMessageW(L"Zell.Test.Other");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

TEST(MessageQueue, PostingToNowhereFails)
{
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0u, WM_TEST, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x30000004)), WM_TEST, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x12345678)), WM_TEST, 0, 0), 0);
}

TEST(MessageQueue, AFullQueueRefusesMorePostsInsteadOfGrowingForever)
{
    int accepted = 0;
    for (int i = 0; i < 10050; ++i)
        accepted += PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 0, 0) ? 1 : 0;
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    MSG msg;
    int taken = 0;
    while (taken < 20000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ++taken;
    EXPECT_EQ(taken, 10000);
}

TEST(MessageQueue, QuitEndsGetMessageWithTheExitCode)
{
    PostThreadMessageW(GetCurrentThreadId(), WM_TEST, 0, 0);
    PostQuitMessage(42);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_TEST) << "posted messages come before the quit";
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 42u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, SendToOwnThreadCallsTheProcedureDirectly)
{
    Handler h;
    h.m_onMessage = [](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        r = static_cast<LRESULT>(w * 2);
        return true;
    };
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    EXPECT_EQ(SendMessageW(g.hwnd, WM_TEST, 21, 0), 42);
    EXPECT_FALSE(InSendMessage());
}

TEST(MessageQueue, SendFromAnotherThreadIsHandledInsideAModalLoop)
{
    Handler h;
    std::atomic<DWORD> handledOn{0};
    h.m_onMessage = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        handledOn = GetCurrentThreadId();
        EXPECT_TRUE(InSendMessage());
        r = static_cast<LRESULT>(w + 1);
        return true;
    };
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    Drain();
    std::atomic<LRESULT> answer{0};
    const DWORD self = GetCurrentThreadId();
    std::thread worker([&] {
        answer = SendMessageW(g.hwnd, WM_TEST, 99, 0);
        PostThreadMessageW(self, WM_QUIT, 0, 0);
    });
    // The modal loop: the send is serviced while GetMessage waits.
    MSG msg;
    int rounds = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && ++rounds < 1000)
        DispatchMessageW(&msg);
    worker.join();
    EXPECT_EQ(answer.load(), 100);
    EXPECT_EQ(handledOn.load(), GetCurrentThreadId());
}

TEST(MessageQueue, TwoThreadsSendingToEachOtherBothGetThrough)
{
    // The worker's window answers by sending back to ours while our send waits.
    Handler mine;
    mine.m_onMessage = [](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        r = static_cast<LRESULT>(w * 10);
        return true;
    };
    WindowGuard g{Create(&mine, WS_POPUP, 0, 0, 10, 10)};
    HWND ours = g.hwnd;
    WorkerWindow worker;
    worker.m_handler.m_onMessage = [ours](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        r = SendMessageW(ours, WM_TEST, w + 1, 0) + 1;
        return true;
    };
    EXPECT_EQ(SendMessageW(worker.m_hwnd, WM_TEST, 4, 0), 51);
}

TEST(MessageQueue, SendWhileTheReceiverIsItselfSendingSomewhereElse)
{
    WorkerWindow slow;
    std::atomic<bool> release{false};
    slow.m_handler.m_onMessage = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        for (int i = 0; i < 2000 && !release; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        r = 7;
        return true;
    };
    WorkerWindow middle;
    HWND slowWindow = slow.m_hwnd;
    middle.m_handler.m_onMessage = [slowWindow](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_TEST) {
            r = SendMessageW(slowWindow, WM_TEST, 0, 0);
            return true;
        }
        if (m == WM_TEST + 1) {
            r = 5;
            return true;
        }
        return false;
    };
    // `middle` waits in its own send to `slow`; a send to it is still served.
    auto first = std::async(std::launch::async, [&] { return SendMessageW(middle.m_hwnd, WM_TEST, 0, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(SendMessageW(middle.m_hwnd, WM_TEST + 1, 0, 0), 5);
    release = true;
    EXPECT_EQ(first.get(), 7);
}

TEST(MessageQueue, SendToAThreadThatEndsDoesNotHang)
{
    std::promise<HWND> made;
    std::promise<void> sent;
    HWND hwnd = nullptr;
    Handler h;
    std::thread owner([&] {
        HWND w = Create(&h, WS_POPUP, 0, 0, 10, 10);
        made.set_value(w);
        sent.get_future().wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // Ends without looking at its queue.
    });
    hwnd = made.get_future().get();
    auto result = std::async(std::launch::async, [&] { return SendMessageW(hwnd, WM_TEST, 0, 0); });
    sent.set_value();
    owner.join();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(result.get(), 0);
    EXPECT_FALSE(IsWindow(hwnd)) << "the windows of an ended thread are destroyed";
}

TEST(MessageQueue, ReplyMessageReleasesTheSenderEarly)
{
    std::atomic<bool> senderDone{false};
    std::atomic<bool> sawSenderDone{false};
    WorkerWindow worker;
    worker.m_handler.m_onMessage = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        EXPECT_TRUE(ReplyMessage(3));
        for (int i = 0; i < 2000 && !senderDone; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        sawSenderDone = senderDone.load();
        r = 9;  // too late: the reply was given
        return true;
    };
    EXPECT_EQ(SendMessageW(worker.m_hwnd, WM_TEST, 0, 0), 3);
    senderDone = true;
    for (int i = 0; i < 2000 && !sawSenderDone; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(sawSenderDone);
}

TEST(MessageQueue, MsgWaitReturnsForPostedInputAndForObjects)
{
    // Nothing there: the wait times out.
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT), WAIT_TIMEOUT);
    // A post from another thread ends it with WAIT_OBJECT_0 + count.
    const DWORD self = GetCurrentThreadId();
    std::thread poster([self] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostThreadMessageW(self, WM_TEST, 0, 0);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
    poster.join();
    Drain();
    EXPECT_EQ(MsgWaitForMultipleObjects(1, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
}

TEST(MessageQueue, MsgWaitServicesSendsWhileWaitingForAThread)
{
    Handler h;
    h.m_onMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        r = 11;
        return true;
    };
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    std::atomic<LRESULT> got{0};
    HANDLE thread = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
        std::unique_ptr<std::pair<HWND, std::atomic<LRESULT>*>> args(static_cast<std::pair<HWND, std::atomic<LRESULT>*>*>(p));
        *args->second = SendMessageW(args->first, WM_TEST, 0, 0);
        return 0;
    }, new std::pair<HWND, std::atomic<LRESULT>*>(g.hwnd, &got), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    DWORD result = WAIT_TIMEOUT;
    for (int i = 0; i < 500 && result != WAIT_OBJECT_0; ++i)
        result = MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_SENDMESSAGE);
    EXPECT_EQ(result, WAIT_OBJECT_0);
    EXPECT_EQ(got.load(), 11);
    CloseHandle(thread);
}

namespace {

// Keeps the calling thread on the n-th processor it may use, for its lifetime
// (the old affinity comes back); false when there is no such processor.
class ProcessorPin {
public:
    explicit ProcessorPin(int n)
    {
        pthread_getaffinity_np(pthread_self(), sizeof m_old, &m_old);
        for (int cpu = 0, seen = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &m_old) && seen++ == n) {
                cpu_set_t one;
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                m_pinned = pthread_setaffinity_np(pthread_self(), sizeof one, &one) == 0;
                return;
            }
        }
    }
    ~ProcessorPin()
    {
        if (m_pinned)
            pthread_setaffinity_np(pthread_self(), sizeof m_old, &m_old);
    }
    ProcessorPin(const ProcessorPin&) = delete;
    ProcessorPin& operator=(const ProcessorPin&) = delete;
    bool Pinned() const { return m_pinned; }

private:
    cpu_set_t m_old{};
    bool m_pinned = false;
};

}

TEST(MessageQueue, RunsOfSendsAcrossProcessorsLoseNoReplyAndNoPost)
{
    // Threads on different processors wait awake for each other's replies and
    // next sends: a send back from inside the handler and posts from a third
    // thread must still get through every time.
    Handler mine;
    mine.m_onMessage = [](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        r = static_cast<LRESULT>(w * 2);
        return true;
    };
    WindowGuard g{Create(&mine, WS_POPUP, 0, 0, 10, 10)};
    HWND ours = g.hwnd;
    std::atomic<bool> workerPinned{false};
    WorkerWindow worker([&](HWND) {
        static thread_local ProcessorPin pin(1);
        workerPinned = pin.Pinned();
    });
    ProcessorPin pin(0);
    if (!pin.Pinned() || !workerPinned)
        GTEST_SKIP() << "needs two processors";
    std::atomic<int> posts{0};
    worker.m_handler.m_onMessage = [ours, &posts](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m == WM_TEST + 1) {
            ++posts;
            return true;
        }
        if (m != WM_TEST)
            return false;
        r = static_cast<LRESULT>(w % 16 == 0 ? SendMessageW(ours, WM_TEST, w, 0) / 2 + 1 : w + 1);
        return true;
    };
    constexpr int kPosts = 2000;
    std::thread poster([&] {
        for (int i = 0; i < kPosts; ++i)
            PostMessageW(worker.m_hwnd, WM_TEST + 1, 0, 0);
    });
    constexpr WPARAM kTrips = 20000;
    WPARAM value = 0;
    for (WPARAM i = 0; i < kTrips; ++i)
        value = static_cast<WPARAM>(SendMessageW(worker.m_hwnd, WM_TEST, value, 0));
    poster.join();
    EXPECT_EQ(value, kTrips);
    for (int i = 0; i < 5000 && posts < kPosts; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(posts.load(), kPosts);
}
