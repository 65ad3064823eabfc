#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls a condition for up to five seconds.
bool Eventually(const std::function<bool()>& condition)
{
    const auto end = Clock::now() + 5s;
    while (Clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(2ms);
    }
    return condition();
}

class EventHandle {
public:
    EventHandle(bool manualReset, bool initial) : m_handle(CreateEventW(nullptr, manualReset, initial, nullptr)) {}
    ~EventHandle() { CloseHandle(m_handle); }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle = nullptr;
};

TEST(Events, InitialStateAndReset)
{
    EventHandle manual(true, true);
    EXPECT_EQ(WaitForSingleObject(manual.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual.get(), 0), WAIT_OBJECT_0); // stays set
    EXPECT_TRUE(ResetEvent(manual.get()));
    EXPECT_EQ(WaitForSingleObject(manual.get(), 0), WAIT_TIMEOUT);

    EventHandle automatic(false, true);
    EXPECT_EQ(WaitForSingleObject(automatic.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic.get(), 0), WAIT_TIMEOUT); // reset by the wait
}

TEST(Events, AutoResetWakesExactlyOneWaiterPerSet)
{
    EventHandle event(false, false);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            if (WaitForSingleObject(event.get(), 10000) == WAIT_OBJECT_0)
                ++woken;
        });
    std::this_thread::sleep_for(50ms); // let them all reach the wait
    for (int expected = 1; expected <= 4; ++expected) {
        SetEvent(event.get());
        ASSERT_TRUE(Eventually([&] { return woken.load() == expected; }));
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(woken.load(), expected);
    }
    for (auto& thread : waiters)
        thread.join();
    EXPECT_EQ(WaitForSingleObject(event.get(), 0), WAIT_TIMEOUT);
}

TEST(Events, ManualResetWakesAllWaiters)
{
    EventHandle event(true, false);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 5; ++i)
        waiters.emplace_back([&] {
            if (WaitForSingleObject(event.get(), 10000) == WAIT_OBJECT_0)
                ++woken;
        });
    std::this_thread::sleep_for(30ms);
    SetEvent(event.get());
    for (auto& thread : waiters)
        thread.join();
    EXPECT_EQ(woken.load(), 5);
}

TEST(Waits, TimeoutTakesAboutItsTime)
{
    EventHandle event(false, false);
    const auto start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(event.get(), 60), WAIT_TIMEOUT);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 60ms);
    EXPECT_LT(elapsed, 2s);
}

TEST(Waits, WaitAnyReportsTheFirstSignalledInListOrder)
{
    EventHandle a(true, false), b(true, true), c(true, true);
    const HANDLE list[] = {a.get(), b.get(), c.get()};
    EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_OBJECT_0 + 1);
    ResetEvent(b.get());
    EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_OBJECT_0 + 2);
    ResetEvent(c.get());
    EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_TIMEOUT);
}

TEST(Waits, WaitAllNeedsEveryObjectAndTakesThemTogether)
{
    EventHandle a(false, false), b(false, false), c(false, false);
    const HANDLE list[] = {a.get(), b.get(), c.get()};
    std::atomic<DWORD> result{0xDEAD};
    std::thread waiter([&] { result = WaitForMultipleObjects(3, list, TRUE, 10000); });
    SetEvent(a.get());
    SetEvent(b.get());
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(result.load(), 0xDEADu);
    // A wait-all that is still waiting must not have taken part of its list.
    EXPECT_EQ(WaitForSingleObject(a.get(), 0), WAIT_OBJECT_0);
    SetEvent(a.get());
    SetEvent(c.get());
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
    // All three auto-reset events were taken by that one wait.
    EXPECT_EQ(WaitForMultipleObjects(3, list, FALSE, 0), WAIT_TIMEOUT);
}

TEST(Waits, BadArgumentsFail)
{
    EventHandle event(true, true);
    HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));

    for (HANDLE bad : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, closed}) {
        SetLastError(0);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        SetLastError(0);
        EXPECT_FALSE(SetEvent(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(ResetEvent(bad));
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    // One bad handle spoils the whole list, even behind a signalled one.
    const HANDLE mixed[] = {event.get(), closed};
    EXPECT_EQ(WaitForMultipleObjects(2, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    const HANDLE twice[] = {event.get(), event.get()};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);

    EXPECT_EQ(WaitForMultipleObjects(0, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS + 1, event.get());
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(tooMany.size()), tooMany.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Waits, CloseHandleWhileAnotherThreadWaits)
{
    // The close must land while the other thread is inside its wait; a
    // close that came first only makes that wait fail, so try again then.
    bool closedDuringWait = false;
    for (int attempt = 1; attempt <= 20 && !closedDuringWait; ++attempt) {
        HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        std::atomic<DWORD> result{0xDEAD};
        std::thread waiter([&] { result = WaitForSingleObject(event, 300); });
        std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
        EXPECT_TRUE(CloseHandle(event));
        // The handle is gone, so nothing can signal it any more; the waiter
        // keeps its object and ends with its time-out.
        EXPECT_FALSE(SetEvent(event));
        waiter.join();
        EXPECT_TRUE(result.load() == WAIT_TIMEOUT || result.load() == WAIT_FAILED) << result.load();
        closedDuringWait = result.load() == WAIT_TIMEOUT;
    }
    EXPECT_TRUE(closedDuringWait);
}

TEST(Waits, NumbersNearALiveHandleAreNoHandles)
{
    EventHandle event(true, true);
    const auto number = reinterpret_cast<std::uintptr_t>(event.get());
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(number + 4), 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(number + 2), 0), WAIT_FAILED);
}

TEST(Waiter, WakeEndsWaitOnObjects)
{
    EventHandle event(false, false);
    Platform::Waiter waiter;
    HANDLE list[] = {event.get()};
    std::atomic<DWORD> result{0xDEAD};
    std::thread thread([&] { result = Platform::WaitForObjectsOrWake(1, list, FALSE, 10000, &waiter); });
    std::this_thread::sleep_for(30ms);
    waiter.Wake();
    thread.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0 + 1);
    EXPECT_FALSE(waiter.IsWoken()); // used up
}

TEST(Waiter, WakeBeforeTheWaitIsKept)
{
    Platform::Waiter waiter;
    waiter.Wake();
    const auto start = Clock::now();
    EXPECT_EQ(Platform::WaitForObjectsOrWake(0, nullptr, FALSE, 5000, &waiter), WAIT_OBJECT_0);
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(Platform::WaitForObjectsOrWake(0, nullptr, FALSE, 10, &waiter), WAIT_TIMEOUT);
    waiter.Wake();
    waiter.ClearWake();
    EXPECT_EQ(Platform::WaitForObjectsOrWake(0, nullptr, FALSE, 10, &waiter), WAIT_TIMEOUT);
}

TEST(Waiter, SignalledObjectComesBeforeAWake)
{
    EventHandle event(false, true);
    Platform::Waiter waiter;
    waiter.Wake();
    HANDLE list[] = {event.get()};
    EXPECT_EQ(Platform::WaitForObjectsOrWake(1, list, FALSE, 0, &waiter), WAIT_OBJECT_0);
    EXPECT_TRUE(waiter.IsWoken()); // still kept for the next wait
    EXPECT_EQ(Platform::WaitForObjectsOrWake(1, list, FALSE, 0, &waiter), WAIT_OBJECT_0 + 1);
}

// Waits on this thread with a manual time-out while another thread keeps
// moving the manual clock by `step`; returns the wait's result and the
// manual milliseconds that passed.
std::pair<DWORD, ULONGLONG> WaitWhileClockMoves(DWORD timeout, const std::function<void()>& step)
{
    EventHandle event(false, false);
    std::atomic<bool> done{false};
    std::thread mover([&] {
        while (!done) {
            step();
            std::this_thread::sleep_for(2ms);
        }
    });
    const ULONGLONG start = GetTickCount64();
    const DWORD result = WaitForSingleObject(event.get(), timeout);
    const ULONGLONG elapsed = GetTickCount64() - start;
    done = true;
    mover.join();
    return {result, elapsed};
}

TEST(Waits, ManualClockAdvanceEndsTimedWait)
{
    Platform::ManualClockScope manual;
    const auto realStart = Clock::now();
    const auto [result, elapsed] = WaitWhileClockMoves(20000, [] { Platform::Clock::Advance(500); });
    EXPECT_EQ(result, WAIT_TIMEOUT);
    EXPECT_GE(elapsed, 20000u); // not before its manual deadline
    EXPECT_LT(Clock::now() - realStart, 10s);
}

TEST(Waits, ManualClockSleepOnAnotherThreadEndsTimedWait)
{
    Platform::ManualClockScope manual;
    const auto realStart = Clock::now();
    const auto [result, elapsed] = WaitWhileClockMoves(30000, [] { Sleep(1000); });
    EXPECT_EQ(result, WAIT_TIMEOUT);
    EXPECT_GE(elapsed, 30000u);
    EXPECT_LT(Clock::now() - realStart, 10s);
}

TEST(Waits, ManualClockShortOfTheDeadlineKeepsWaiting)
{
    Platform::ManualClockScope manual;
    EventHandle event(false, false);
    std::atomic<DWORD> result{0xDEAD};
    std::thread waiter([&] { result = WaitForSingleObject(event.get(), 20000); });
    std::this_thread::sleep_for(30ms);
    // Whenever the wait began, it began at most this far back in manual time.
    Platform::Clock::Advance(19999);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(result.load(), 0xDEADu);
    SetEvent(event.get());
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
}

TEST(Waits, ManualClockNeverMakesAWaitLongerThanRealTime)
{
    Platform::ManualClockScope manual;
    EventHandle event(false, false);
    const auto start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(event.get(), 80), WAIT_TIMEOUT);
    EXPECT_LT(Clock::now() - start, 3s);
}

}
