#include "PseudoTerminal.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"

#include <cstring>
#include <memory>
#include <thread>

using namespace SerialTest;
using std::chrono::steady_clock;

namespace {

class CommOverlapped : public ::testing::Test {
protected:
    void SetUp() override
    {
        port = OpenPort(pty, FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL);
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();
        event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(event, nullptr);
        overlapped.hEvent = event;
    }
    void TearDown() override
    {
        if (sender.joinable())
            sender.join();
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        CloseHandle(event);
    }
    PseudoTerminal pty;
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    OVERLAPPED overlapped{};
    std::thread sender;
};

}

TEST_F(CommOverlapped, PendingReadCompletesThroughTheEventAndTheResult)
{
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 1000));
    char buffer[8] = {};
    DWORD read = 77;
    ASSERT_FALSE(ReadFile(port, buffer, 4, &read, &overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &overlapped, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

    pty.Send("wxyz");
    EXPECT_EQ(WaitForSingleObject(event, 1000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &transferred, FALSE)) << GetLastError();
    EXPECT_EQ(transferred, 4u);
    EXPECT_EQ(std::string(buffer, 4), "wxyz");
    // Asking again gives the same result.
    transferred = 0;
    EXPECT_TRUE(GetOverlappedResult(port, &overlapped, &transferred, FALSE));
    EXPECT_EQ(transferred, 4u);
}

TEST_F(CommOverlapped, ReadThatTimesOutCompletesWithNoBytes)
{
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 150));
    char buffer[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(port, buffer, 4, &read, &overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    const auto start = steady_clock::now();
    DWORD transferred = 99;
    ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &transferred, TRUE));
    EXPECT_EQ(transferred, 0u);
    EXPECT_GE(ElapsedMs(start), 100);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
}

TEST_F(CommOverlapped, ReadThatCanBeServedAtOnceCompletesAtOnce)
{
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 1000));
    pty.Send("ab");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(event);
    char buffer[2];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(port, buffer, 2, &read, &overlapped)) << GetLastError();
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    DWORD transferred = 0;
    EXPECT_TRUE(GetOverlappedResult(port, &overlapped, &transferred, FALSE));
    EXPECT_EQ(transferred, 2u);
}

TEST_F(CommOverlapped, PurgeAbortsPendingReads)
{
    ASSERT_TRUE(SetTimeouts(port, 0, 0, 0));
    OVERLAPPED second{};
    char first[4];
    char other[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(port, first, 4, &read, &overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_FALSE(ReadFile(port, other, 4, &read, &second));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR));
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &overlapped, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(GetOverlappedResult(port, &second, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

    // The port works on.
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 500));
    SendLater(pty, "ok", 20, sender);
    if (!ReadFile(port, first, 2, &read, &overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &read, TRUE));
    }
    EXPECT_EQ(read, 2u);
}

TEST_F(CommOverlapped, GivenUpRequestNeverWritesIntoFreedMemory)
{
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 100));
    {
        // The caller's buffer and OVERLAPPED die while the read still runs.
        auto buffer = std::make_unique<char[]>(16);
        auto lost = std::make_unique<OVERLAPPED>();
        DWORD read = 0;
        ASSERT_FALSE(ReadFile(port, buffer.get(), 16, &read, lost.get()));
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    pty.Send("late data");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    // The same address used again starts a fresh request.
    char buffer[4];
    DWORD read = 0;
    pty.Send("next");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!ReadFile(port, buffer, 4, &read, &overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &read, TRUE));
    }
    EXPECT_EQ(read, 4u);
}

TEST_F(CommOverlapped, WritesCompleteAndReachTheDevice)
{
    ASSERT_TRUE(PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    DWORD written = 0;
    if (!WriteFile(port, "frame", 5, &written, &overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_EQ(WaitForSingleObject(event, 1000), WAIT_OBJECT_0);
        ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &written, FALSE));
    }
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(pty.Receive(5), "frame");
}

TEST_F(CommOverlapped, ResultOfAnUnknownRequestIsRefused)
{
    OVERLAPPED never{};
    never.Internal = STATUS_PENDING;
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &never, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GetOverlappedResult(port, nullptr, &transferred, FALSE));
}

TEST_F(CommOverlapped, ClosingWithAPendingReadIsSafe)
{
    ASSERT_TRUE(SetTimeouts(port, 0, 0, 0));
    char buffer[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(port, buffer, 4, &read, &overlapped));
    const auto start = steady_clock::now();
    ASSERT_TRUE(CloseHandle(port));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(WaitForSingleObject(event, 500), WAIT_OBJECT_0) << "the aborted request still signals its event";
    port = INVALID_HANDLE_VALUE;
}

// The connection's pattern: wait for the event, then collect without waiting.
// Whoever the event wakes must find the result ready, every time.
TEST_F(CommOverlapped, EventIsNeverAheadOfTheResult)
{
    ASSERT_TRUE(SetTimeouts(port, MAXDWORD, 0, 10));
    for (int i = 0; i < 20; ++i) {
        char buffer[4];
        DWORD read = 0;
        if (ReadFile(port, buffer, 4, &read, &overlapped))
            continue;
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_EQ(WaitForSingleObject(event, 1000), WAIT_OBJECT_0);
        DWORD transferred = 99;
        ASSERT_TRUE(GetOverlappedResult(port, &overlapped, &transferred, FALSE)) << "round " << i << ": " << GetLastError();
        EXPECT_EQ(transferred, 0u);
    }
}
