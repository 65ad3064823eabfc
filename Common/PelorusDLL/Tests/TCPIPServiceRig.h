#pragma once
// A TCP/IP service on a real connection to the simulated device on
// 127.0.0.1, and pings that answer as a test wants.

#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Ping.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/WinError.h"
#include "Platform/Net/WinSock.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <memory>

namespace TCPIPServiceTest {

// Answers no echo request at all, or cannot send any.
class CSilentPing : public CPing {
public:
    explicit CSilentPing(int* sent, bool icmpAvailable) : m_sent(sent), m_available(icmpAvailable) {}

protected:
    HANDLE OpenICMP() override { return m_available ? CPing::OpenICMP() : INVALID_HANDLE_VALUE; }
    DWORD SendEcho(HANDLE, DWORD, void*, WORD, IP_OPTION_INFORMATION*, void*, DWORD, DWORD) override
    {
        ++*m_sent;
        return 0;
    }

private:
    int* m_sent = nullptr;
    bool m_available = true;
};

// The service with its ping replaced; pingSilent false keeps the real one.
class CServiceUnderTest : public CTCPIPService {
public:
    using CTCPIPService::CTCPIPService;
    using CTCPIPService::Attach;
    using CTCPIPService::EvaluateErrorCode;
    using CTCPIPService::Ping;

    bool m_pingSilent = false;
    bool m_icmpAvailable = true;
    mutable int m_pingsSent = 0;

protected:
    std::unique_ptr<CPing> CreatePing() const override
    {
        if (!m_pingSilent)
            return CTCPIPService::CreatePing();
        return std::make_unique<CSilentPing>(&m_pingsSent, m_icmpAvailable);
    }
};

class SimulatedDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &m_winsock), 0);
        ASSERT_TRUE(m_sim.Start()) << m_sim.LastError();
        ASSERT_TRUE(m_connection.SetSettingsXML(FormatW(
            L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
            L"ReceiveTimeoutSeconds='2' CloseWaitTime='0' RestartTimeoutSeconds='30'/>",
            unsigned{m_sim.Port()})));
        ASSERT_NO_THROW(m_connection.Open());
    }
    void TearDown() override
    {
        m_connection.Close();
        m_sim.Stop();
        WSACleanup();
    }

    void Device(const std::function<void(DevSim::tDeviceData&)>& change) { m_sim.Model().Update(change); }
    void FailService(uint16_t code, uint16_t status)
    {
        DevSim::tFaultRule rule;
        rule.kind = DevSim::ENFault::ServiceStatus;
        rule.match.serviceCode = code;
        rule.status = status;
        m_sim.Faults().Add(rule);
    }
    void Fault(DevSim::ENFault kind, uint16_t code)
    {
        DevSim::tFaultRule rule;
        rule.kind = kind;
        rule.match.serviceCode = code;
        m_sim.Faults().Add(rule);
    }

    WSADATA m_winsock{};
    DevSim::CDeviceSimulator m_sim;
    ZELL::CTCPIPConnection m_connection;
    CServiceUnderTest m_service{&m_connection};
};

}
