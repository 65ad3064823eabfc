// Answers that arrive but cannot be taken, played by the simulated device on
// a real socket: each is named for what it is and ends within the
// connection's time-out, whatever it announces.
#include "Common/Communication/AnswerFault.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace ZELL::Testing {
namespace {

using Clock = std::chrono::steady_clock;
using DevSim::ENFault;

constexpr unsigned int kTimeoutSeconds = 1;
constexpr auto kTimeout = std::chrono::seconds(kTimeoutSeconds);
// What a loaded machine may add to a deadline that has passed.
constexpr auto kSlack = std::chrono::milliseconds(700);
constexpr uint16_t kClockService = 0x116;
constexpr unsigned long kTimedOut = 0x3000274C;

class MalformedAnswers : public testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data{};
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(m_simulator.Start()) << m_simulator.LastError();
        m_connection.SetSettingsXML(FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' CloseWaitTime='0'/>",
                                            static_cast<unsigned int>(m_simulator.Port())));
        m_connection.SetCommunicationTimeout(kTimeoutSeconds);
        ASSERT_TRUE(m_api.Connect());
    }
    void TearDown() override
    {
        m_api.Disconnect();
        m_simulator.Stop();
        WSACleanup();
    }

    void Fault(ENFault kind, uint16_t value, int times = -1)
    {
        DevSim::tFaultRule rule;
        rule.kind = kind;
        rule.value = value;
        rule.times = times;
        rule.match.serviceCode = kClockService;
        m_simulator.Faults().Add(rule);
    }

    // The clock request and its error as the device services read it: the
    // connection's own code before the API's.
    unsigned long FailedClockRead()
    {
        DWORD time = 0;
        short zone = 0;
        if (m_api.GetRealTimeClock(time, zone))
            return 0;
        const unsigned long connectionCode = m_connection.GetLastErrorCode();
        const unsigned long apiCode = m_api.GetLastError();
        return connectionCode != 0 ? connectionCode : apiCode;
    }

    DevSim::CDeviceSimulator m_simulator;
    CTCPIPConnection m_connection;
    CServiceProtocol m_protocol{&m_connection};
    CServiceAPI m_api{&m_protocol};
};

struct tMalformedCase {
    const char* name;
    ENFault kind;
    uint16_t value;
    unsigned long expected;
};

TEST_F(MalformedAnswers, EachIsNamedAndEndsWithinTheTimeOut)
{
    const tMalformedCase cases[] = {
        {"length 0", ENFault::AnnouncedLength, 0, kErrorMalformedAnswer},
        {"length just over a fragment", ENFault::AnnouncedLength, 1401, kErrorMalformedAnswer},
        {"length 0xFFFF", ENFault::AnnouncedLength, 0xFFFF, kErrorMalformedAnswer},
        // Fits a fragment, but the bytes never come: only the deadline ends it.
        {"length of a full fragment", ENFault::AnnouncedLength, 1400, kTimedOut},
        {"64 bytes of garbage", ENFault::GarbageAnswer, 64, kErrorMalformedAnswer},
        {"wrong fragment number", ENFault::WrongFragmentNumber, 0, kErrorMalformedAnswer},
        {"fragment count 0", ENFault::ZeroFragmentCount, 0, kErrorMalformedAnswer},
        {"long answer of no slices", ENFault::ZeroAnswerTotal, 0, kErrorMalformedAnswer},
        {"long answer one slice too many", ENFault::LongAnswer, 95, kErrorAnswerTooLong},
        {"long answer of 65535 slices", ENFault::LongAnswer, 0xFFFF, kErrorAnswerTooLong},
    };
    for (const tMalformedCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_simulator.Faults().Clear();
        Fault(c.kind, c.value);
        // Each case on a fresh line: a refused answer leaves its bytes behind.
        m_connection.Close();
        ASSERT_TRUE(m_api.Connect());
        const auto start = Clock::now();
        EXPECT_EQ(FailedClockRead(), c.expected);
        EXPECT_LT(Clock::now() - start, kTimeout + kSlack);
    }
}

TEST_F(MalformedAnswers, TheLongestAnswerOfAnyServiceIsFetched)
{
    Fault(ENFault::LongAnswer, 94);
    EXPECT_EQ(FailedClockRead(), 0u);
}

// Slices that each come within the time-out still make one request that
// takes longer than it.
TEST_F(MalformedAnswers, OneDeadlineCoversEveryFragmentOfARequest)
{
    Fault(ENFault::LongAnswer, 4, 1);
    DevSim::tFaultRule slow;
    slow.kind = ENFault::Delay;
    slow.delayMs = 450;
    slow.times = -1;
    slow.match.readBack = true;
    m_simulator.Faults().Add(slow);
    const auto start = Clock::now();
    EXPECT_EQ(FailedClockRead(), kTimedOut);
    EXPECT_LT(Clock::now() - start, kTimeout + kSlack);
}

TEST_F(MalformedAnswers, AnAbortEndsAWaitingReceiveAtOnce)
{
    m_connection.SetCommunicationTimeout(30);
    Fault(ENFault::AnnouncedLength, 1400);
    auto reading = std::async(std::launch::async, [this] { return FailedClockRead(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto start = Clock::now();
    m_connection.AbortTransfers();
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_NE(reading.get(), 0u);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    // Until the owner takes it back, nothing goes out.
    DWORD time = 0;
    short zone = 0;
    EXPECT_FALSE(m_api.GetRealTimeClock(time, zone));
    m_connection.ResumeTransfers();
    m_simulator.Faults().Clear();
    m_connection.Close();
    ASSERT_TRUE(m_api.Connect());
    EXPECT_TRUE(m_api.GetRealTimeClock(time, zone));
}

}  // namespace
}  // namespace ZELL::Testing
