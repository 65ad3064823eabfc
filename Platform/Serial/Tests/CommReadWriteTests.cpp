#include "PseudoTerminal.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <thread>

using namespace SerialTest;
using std::chrono::steady_clock;

namespace {

class CommTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_port = OpenPort(m_pty);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
    }
    void TearDown() override
    {
        if (m_sender.joinable())
            m_sender.join();
        if (m_port != INVALID_HANDLE_VALUE)
            CloseHandle(m_port);
    }
    std::string ReadSome(DWORD length, BOOL* result = nullptr)
    {
        std::string buffer(length, '\0');
        DWORD read = 12345;
        const BOOL ok = ReadFile(m_port, buffer.data(), length, &read, nullptr);
        if (result != nullptr)
            *result = ok;
        else
            EXPECT_TRUE(ok) << GetLastError();
        buffer.resize(ok ? read : 0);
        return buffer;
    }
    PseudoTerminal m_pty;
    HANDLE m_port = INVALID_HANDLE_VALUE;
    std::thread m_sender;
};

}

TEST_F(CommTransfer, ImmediateModeReturnsWhatIsThereAtOnce)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 0));
    auto start = steady_clock::now();
    EXPECT_EQ(ReadSome(10), "");
    EXPECT_LT(ElapsedMs(start), 50);
    m_pty.Send("abc");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    start = steady_clock::now();
    EXPECT_EQ(ReadSome(10), "abc");
    EXPECT_LT(ElapsedMs(start), 50);
}

TEST_F(CommTransfer, TotalTimeoutIsMultiplierTimesBytesPlusConstant)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 20, 100));
    auto start = steady_clock::now();
    EXPECT_EQ(ReadSome(5), "");
    long long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 600);

    // Fewer bytes than asked for come back when the total runs out.
    m_pty.Send("xy");
    start = steady_clock::now();
    EXPECT_EQ(ReadSome(5), "xy");
    EXPECT_GE(ElapsedMs(start), 190);

    // All bytes end the read before the time-out.
    SendLater(m_pty, "12345", 30, m_sender);
    start = steady_clock::now();
    EXPECT_EQ(ReadSome(5), "12345");
    EXPECT_LT(ElapsedMs(start), 190);
}

TEST_F(CommTransfer, IntervalTimeoutRunsFromTheLastByte)
{
    ASSERT_TRUE(SetTimeouts(m_port, 80, 0, 0));
    m_sender = std::thread([this] {
        for (const char* part : {"a", "b", "c"}) {
            m_pty.Send(part);
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    });
    const auto start = steady_clock::now();
    EXPECT_EQ(ReadSome(10), "abc") << "gaps shorter than the interval keep the read going";
    const long long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 150);
    EXPECT_LT(elapsed, 600);
}

TEST_F(CommTransfer, FirstByteModeReturnsAsSoonAsSomethingArrives)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, MAXDWORD, 800));
    SendLater(m_pty, "hi", 50, m_sender);
    const auto start = steady_clock::now();
    EXPECT_EQ(ReadSome(10), "hi");
    EXPECT_LT(ElapsedMs(start), 500);
    m_sender.join();
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, MAXDWORD, 100));
    EXPECT_EQ(ReadSome(10), "");
}

TEST_F(CommTransfer, ByteByByteReadsWithTheConnectionsTimeouts)
{
    // What the RS-232 connection sets: a total constant and no interval.
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 150));
    m_pty.Send("abcd");
    std::string got;
    for (int i = 0; i < 4; ++i)
        got += ReadSome(1);
    EXPECT_EQ(got, "abcd");
    const auto start = steady_clock::now();
    EXPECT_EQ(ReadSome(1), "");
    EXPECT_GE(ElapsedMs(start), 140);
}

TEST_F(CommTransfer, WritesReachTheDeviceUnchanged)
{
    std::string data;
    for (int i = 0; i < 3000; ++i)
        data.push_back(static_cast<char>(i % 256));
    std::string received;
    std::thread reader([&] { received = m_pty.Receive(data.size()); });
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(m_port, data.data(), static_cast<DWORD>(data.size()), &written, nullptr)) << GetLastError();
    EXPECT_EQ(written, data.size());
    reader.join();
    EXPECT_TRUE(received == data) << "raw mode: no CR/LF translation";
    EXPECT_TRUE(WriteFile(m_port, "", 0, &written, nullptr));
    EXPECT_EQ(written, 0u);
}

TEST_F(CommTransfer, PurgeDropsWaitingInputAndQueueShowsIt)
{
    ASSERT_TRUE(SetTimeouts(m_port, MAXDWORD, 0, 0));
    m_pty.Send("12345");
    COMSTAT status;
    DWORD errors = 99;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(ClearCommError(m_port, &errors, &status));
        if (status.cbInQue == 5)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(status.cbInQue, 5u);
    EXPECT_EQ(errors, 0u);
    ASSERT_TRUE(PurgeComm(m_port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT));
    ASSERT_TRUE(ClearCommError(m_port, &errors, &status));
    EXPECT_EQ(status.cbInQue, 0u);
    EXPECT_EQ(ReadSome(5), "");
    // A purge ends no later request.
    m_pty.Send("z");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(ReadSome(5), "z");
    EXPECT_FALSE(PurgeComm(m_port, 0x10));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(CommTransfer, AbortEndsAWaitingSynchronousRead)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 0, 0));
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread reader([&] {
        char buffer[4];
        DWORD read = 0;
        result = ReadFile(m_port, buffer, 4, &read, nullptr);
        error = GetLastError();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = steady_clock::now();
    ASSERT_TRUE(PurgeComm(m_port, PURGE_RXABORT));
    reader.join();
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_OPERATION_ABORTED);
}

TEST_F(CommTransfer, CloseEndsAWaitingReadAndTheHandleIsGone)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 0, 0));
    BOOL result = TRUE;
    std::thread reader([&] {
        char buffer[4];
        DWORD read = 0;
        result = ReadFile(m_port, buffer, 4, &read, nullptr);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = steady_clock::now();
    ASSERT_TRUE(CloseHandle(m_port));
    reader.join();
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_FALSE(result);
    char buffer[4];
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(m_port, buffer, 4, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    m_port = INVALID_HANDLE_VALUE;
}

TEST_F(CommTransfer, VanishedDeviceEndsAReadInsteadOfSpinning)
{
    ASSERT_TRUE(SetTimeouts(m_port, 0, 0, 1500));
    std::thread closer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_pty.CloseMaster();
    });
    const auto start = steady_clock::now();
    BOOL result = TRUE;
    ReadSome(4, &result);
    closer.join();
    EXPECT_FALSE(result);
    EXPECT_LT(ElapsedMs(start), 1000);
}

TEST(CommAccess, AHandleOnlyDoesWhatItWasOpenedFor)
{
    PseudoTerminal pty;
    HANDLE port = CreateFileW(pty.DeviceName().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    char buffer[2];
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(port, buffer, 2, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(port, "ok", 2, &written, nullptr));
    EXPECT_EQ(pty.Receive(2), "ok");
    CloseHandle(port);
}
