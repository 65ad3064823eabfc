#include "Platform/Base/Clock.h"
#include "Platform/Base/SystemTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using RealClock = std::chrono::steady_clock;

class RecordingListener : public Platform::ClockListener {
public:
    void OnClockChanged(ULONGLONG nowMs) override
    {
        ++m_calls;
        m_last = nowMs;
    }
    std::atomic<int> m_calls{0};
    std::atomic<ULONGLONG> m_last{0};
};

TEST(Clock, RealTickCountMovesWithRealTime)
{
    ASSERT_FALSE(Platform::Clock::IsManual());
    const ULONGLONG start = GetTickCount64();
    Sleep(30);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(static_cast<DWORD>(GetTickCount64()) - GetTickCount(), 0u);
}

TEST(Clock, TickCountWrapsAndDifferencesSurviveTheWrap)
{
    Platform::ManualClockScope manual(0xFFFFFF00ull);
    const DWORD start = GetTickCount();
    EXPECT_EQ(start, 0xFFFFFF00u);
    Platform::Clock::Advance(0x200);
    EXPECT_EQ(GetTickCount(), 0x100u);
    EXPECT_EQ(GetTickCount() - start, 0x200u);
    EXPECT_EQ(GetTickCount64(), 0x100000100ull); // the 64-bit count does not wrap
}

TEST(Clock, ManualSleepCostsNoRealTime)
{
    Platform::ManualClockScope manual(1000);
    const auto realStart = RealClock::now();
    Sleep(30000);
    Sleep(30000);
    EXPECT_LT(RealClock::now() - realStart, 1s);
    EXPECT_EQ(GetTickCount64(), 61000u);
    // Nothing else moves the manual clock.
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(GetTickCount64(), 61000u);
}

TEST(Clock, ConcurrentManualSleepsAddUp)
{
    Platform::ManualClockScope manual(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 100; ++i)
                Sleep(10);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(GetTickCount64(), 4000u);
}

TEST(Clock, ListenersHearEveryMoveUntilRemoved)
{
    RecordingListener listener;
    {
        Platform::ClockListenerRegistration registration(&listener);
        Platform::ManualClockScope manual(500);
        EXPECT_EQ(listener.m_calls.load(), 1);
        EXPECT_EQ(listener.m_last.load(), 500u);
        Platform::Clock::Advance(250);
        EXPECT_EQ(listener.m_last.load(), 750u);
        Sleep(100);
        EXPECT_EQ(listener.m_last.load(), 850u);
        Platform::Clock::Advance(0); // no move, no call
        EXPECT_EQ(listener.m_calls.load(), 3);
    } // the scope switches back to the real clock first, then the listener goes
    EXPECT_EQ(listener.m_calls.load(), 4);
    Platform::ManualClockScope again(0);
    Platform::Clock::Advance(10);
    EXPECT_EQ(listener.m_calls.load(), 4);
}

TEST(Clock, AdvanceUnderTheRealClockIsIgnored)
{
    const ULONGLONG before = GetTickCount64();
    Platform::Clock::Advance(1000000);
    EXPECT_LT(GetTickCount64() - before, 100000u);
}

TEST(Clock, WallClockFollowsManualAdvances)
{
    const __time64_t before = _time64(nullptr);
    {
        Platform::ManualClockScope manual;
        Sleep(3600 * 1000);
        const __time64_t shifted = _time64(nullptr);
        EXPECT_GE(shifted - before, 3600);
        EXPECT_LT(shifted - before, 3700);
    }
    EXPECT_LT(_time64(nullptr) - before, 100);
}

}
