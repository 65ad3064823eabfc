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
        m_port = OpenPort(m_pty, FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
        m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(m_event, nullptr);
        m_overlapped.hEvent = m_event;
    }
    void TearDown() override
    {
        if (m_sender.joinable())
            m_sender.join();
        if (m_port != INVALID_HANDLE_VALUE)
            CloseHandle(m_port);
        CloseHandle(m_event);
    }
    PseudoTerminal m_pty;
    HANDLE m_port = INVALID_HANDLE_VALUE;
    HANDLE m_event = nullptr;
    OVERLAPPED m_overlapped{};
    std::thread m_sender;
};

}

TEST_F(CommOverlapped, PendingReadCompletesThroughTheEventAndTheResult)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 1000));
    char buffer[8] = {};
    DWORD read = 77;
    ASSERT_FALSE(ReadFile(m_port, buffer, 4, &read, &m_overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(m_port, &m_overlapped, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    EXPECT_EQ(WaitForSingleObject(m_event, 0), WAIT_TIMEOUT);

    m_pty.Send("wxyz");
    EXPECT_EQ(WaitForSingleObject(m_event, 1000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &transferred, FALSE)) << GetLastError();
    EXPECT_EQ(transferred, 4u);
    EXPECT_EQ(std::string(buffer, 4), "wxyz");
    // Asking again gives the same result.
    transferred = 0;
    EXPECT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &transferred, FALSE));
    EXPECT_EQ(transferred, 4u);
}

TEST_F(CommOverlapped, ReadThatTimesOutCompletesWithNoBytes)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 150));
    char buffer[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(m_port, buffer, 4, &read, &m_overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    const auto start = steady_clock::now();
    DWORD transferred = 99;
    ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &transferred, TRUE));
    EXPECT_EQ(transferred, 0u);
    EXPECT_GE(ElapsedMs(start), 100);
    EXPECT_EQ(WaitForSingleObject(m_event, 0), WAIT_OBJECT_0);
}

TEST_F(CommOverlapped, ReadThatCanBeServedAtOnceCompletesAtOnce)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 1000));
    m_pty.Send("ab");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(m_event);
    char buffer[2];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(m_port, buffer, 2, &read, &m_overlapped)) << GetLastError();
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(WaitForSingleObject(m_event, 0), WAIT_OBJECT_0);
    DWORD transferred = 0;
    EXPECT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &transferred, FALSE));
    EXPECT_EQ(transferred, 2u);
}

TEST_F(CommOverlapped, PurgeAbortsPendingReads)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 0, 0));
    OVERLAPPED second{};
    char first[4];
    char other[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(m_port, first, 4, &read, &m_overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_FALSE(ReadFile(m_port, other, 4, &read, &second));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR));
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(m_port, &m_overlapped, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(GetOverlappedResult(m_port, &second, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

    // The port works on.
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 500));
    SendLater(m_pty, "ok", 20, m_sender);
    if (!ReadFile(m_port, first, 2, &read, &m_overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &read, TRUE));
    }
    EXPECT_EQ(read, 2u);
}

TEST_F(CommOverlapped, GivenUpRequestNeverWritesIntoFreedMemory)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 100));
    {
        // The caller's buffer and OVERLAPPED die while the read still runs.
        auto buffer = std::make_unique<char[]>(16);
        auto lost = std::make_unique<OVERLAPPED>();
        DWORD read = 0;
        ASSERT_FALSE(ReadFile(m_port, buffer.get(), 16, &read, lost.get()));
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    m_pty.Send("late data");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    // The same address used again starts a fresh request.
    char buffer[4];
    DWORD read = 0;
    m_pty.Send("next");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!ReadFile(m_port, buffer, 4, &read, &m_overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &read, TRUE));
    }
    EXPECT_EQ(read, 4u);
}

TEST_F(CommOverlapped, WritesCompleteAndReachTheDevice)
{
    ASSERT_TRUE(PurgeComm(m_port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    DWORD written = 0;
    if (!WriteFile(m_port, "frame", 5, &written, &m_overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_EQ(WaitForSingleObject(m_event, 1000), WAIT_OBJECT_0);
        ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &written, FALSE));
    }
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(m_pty.Receive(5), "frame");
}

TEST_F(CommOverlapped, ResultOfAnUnknownRequestIsRefused)
{
    OVERLAPPED never{};
    never.Internal = STATUS_PENDING;
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(m_port, &never, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GetOverlappedResult(m_port, nullptr, &transferred, FALSE));
}

TEST_F(CommOverlapped, ClosingWithAPendingReadIsSafe)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 0, 0));
    char buffer[4];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(m_port, buffer, 4, &read, &m_overlapped));
    const auto start = steady_clock::now();
    ASSERT_TRUE(CloseHandle(m_port));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(WaitForSingleObject(m_event, 500), WAIT_OBJECT_0) << "the aborted request still signals its event";
    m_port = INVALID_HANDLE_VALUE;
}

// The connection's pattern: wait for the event, then collect without waiting.
// Whoever the event wakes must find the result ready, every time.
TEST_F(CommOverlapped, EventIsNeverAheadOfTheResult)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 10));
    for (int i = 0; i < 20; ++i) {
        char buffer[4];
        DWORD read = 0;
        if (ReadFile(m_port, buffer, 4, &read, &m_overlapped))
            continue;
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_EQ(WaitForSingleObject(m_event, 1000), WAIT_OBJECT_0);
        DWORD transferred = 99;
        ASSERT_TRUE(GetOverlappedResult(m_port, &m_overlapped, &transferred, FALSE)) << "round " << i << ": " << GetLastError();
        EXPECT_EQ(transferred, 0u);
    }
}
