#include "Platform/Base/CriticalSection.h"
#include "Platform/Base/Interlocked.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>
#include <vector>

namespace {

TEST(CriticalSection, OwnerMayEnterAgainAndOthersWaitForTheLastLeave)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    EXPECT_EQ(section.RecursionCount(), 3);

    const auto otherTries = [&section] {
        bool entered = false;
        std::thread([&] {
            entered = TryEnterCriticalSection(&section) != FALSE;
            if (entered)
                LeaveCriticalSection(&section);
        }).join();
        return entered;
    };
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_FALSE(otherTries());
    LeaveCriticalSection(&section);
    EXPECT_EQ(section.Owner(), 0u);
    EXPECT_TRUE(otherTries());
    DeleteCriticalSection(&section);
}

TEST(CriticalSection, LeaveByAnotherThreadDoesNotUnlock)
{
    CRITICAL_SECTION section;
    EXPECT_TRUE(InitializeCriticalSectionAndSpinCount(&section, 4000));
    EnterCriticalSection(&section);
    std::thread([&] { LeaveCriticalSection(&section); }).join();
    bool entered = true;
    std::thread([&] { entered = TryEnterCriticalSection(&section) != FALSE; }).join();
    EXPECT_FALSE(entered);
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section); // one too many: ignored
    EXPECT_EQ(section.Owner(), 0u);
}

TEST(CriticalSection, GuardsAPlainCounterAcrossThreads)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                EnterCriticalSection(&section);
                EnterCriticalSection(&section);
                ++counter;
                LeaveCriticalSection(&section);
                LeaveCriticalSection(&section);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 8 * 5000);
    DeleteCriticalSection(&section);
}

TEST(Interlocked, ValuesAre32BitAndWrap)
{
    LONG value = INT32_MAX;
    EXPECT_EQ(InterlockedIncrement(&value), INT32_MIN);
    EXPECT_EQ(InterlockedDecrement(&value), INT32_MAX);
    EXPECT_EQ(InterlockedExchange(&value, 5), INT32_MAX);
    EXPECT_EQ(InterlockedCompareExchange(&value, 9, 4), 5); // no match: unchanged
    EXPECT_EQ(value, 5);
    EXPECT_EQ(InterlockedCompareExchange(&value, 9, 5), 5);
    EXPECT_EQ(value, 9);
}

TEST(Interlocked, ConcurrentIncrementsAreNotLost)
{
    LONG volatile value = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i)
                InterlockedIncrement(&value);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(value, 80000);
}

}
