#include "Platform/Base/LastError.h"
#include "Platform/Base/Thread.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct Gate {
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> seenId{0};
    ~Gate() { CloseHandle(release); }
};

DWORD WaitAtGateThenReturn42(LPVOID parameter)
{
    auto* gate = static_cast<Gate*>(parameter);
    gate->seenId = GetCurrentThreadId();
    WaitForSingleObject(gate->release, 10000);
    return 42;
}

unsigned ReturnArgument(void* argument)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(argument));
}

TEST(Threads, ExitCodeIsStillActiveUntilTheRoutineReturns)
{
    Gate gate;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitAtGateThenReturn42, &gate, 0, &id);
    ASSERT_NE(thread, nullptr);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);

    SetEvent(gate.release);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(gate.seenId.load(), id); // the id handed out is the one the thread sees
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0); // stays signalled
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Threads, BeginThreadExReturnsAWaitableHandle)
{
    unsigned id = 0;
    const auto value = _beginthreadex(nullptr, 0, ReturnArgument, reinterpret_cast<void*>(std::uintptr_t{7}), 0, &id);
    ASSERT_NE(value, 0u);
    HANDLE thread = reinterpret_cast<HANDLE>(value);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_NE(id, 0u);
    CloseHandle(thread);
}

TEST(Threads, SuspendedThreadRunsOnlyAfterResume)
{
    Gate gate;
    SetEvent(gate.release);
    HANDLE thread = CreateThread(nullptr, 0, WaitAtGateThenReturn42, &gate, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 30), WAIT_TIMEOUT);
    EXPECT_EQ(gate.seenId.load(), 0u);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ResumeThread(thread), 0u);
    CloseHandle(thread);
}

TEST(Threads, ClosingTheHandleLeavesTheThreadRunning)
{
    static std::atomic<bool> finished;
    finished = false;
    Gate gate;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            WaitAtGateThenReturn42(parameter);
            finished = true;
            return 0;
        },
        &gate, 0, nullptr);
    ASSERT_TRUE(CloseHandle(thread));
    SetEvent(gate.release);
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!finished && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(2ms);
    EXPECT_TRUE(finished.load());
}

TEST(Threads, WaitForAllOfSeveralThreads)
{
    std::vector<HANDLE> threads;
    for (std::uintptr_t i = 0; i < 6; ++i)
        threads.push_back(reinterpret_cast<HANDLE>(
            _beginthreadex(nullptr, 0, ReturnArgument, reinterpret_cast<void*>(i), 0, nullptr)));
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, 10000), WAIT_OBJECT_0);
    for (std::size_t i = 0; i < threads.size(); ++i) {
        DWORD code = 0;
        GetExitCodeThread(threads[i], &code);
        EXPECT_EQ(code, i);
        CloseHandle(threads[i]);
    }
}

TEST(Threads, IdsAreStableAndDistinct)
{
    const DWORD mine = GetCurrentThreadId();
    EXPECT_NE(mine, 0u);
    EXPECT_EQ(GetCurrentThreadId(), mine);
    std::vector<DWORD> ids(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < ids.size(); ++i)
        threads.emplace_back([&ids, i] { ids[i] = GetCurrentThreadId(); });
    for (auto& thread : threads)
        thread.join();
    std::set<DWORD> distinct(ids.begin(), ids.end());
    distinct.insert(mine);
    EXPECT_EQ(distinct.size(), ids.size() + 1);
}

TEST(Threads, CurrentThreadPseudoHandleAndPriorities)
{
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(GetCurrentThread(), &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(GetCurrentThread(), 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL));

    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(SetThreadPriority(event, THREAD_PRIORITY_NORMAL)); // not a thread
    EXPECT_FALSE(GetExitCodeThread(event, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    CloseHandle(event);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}
