// The connection check of the TCP/IP service, and a service that has no
// channel to a device at all.
#include "Common/PelorusDLL/Tests/TCPIPServiceRig.h"
#include "Platform/Base/Clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace DevSim;
using TCPIPServiceTest::CServiceUnderTest;
using TCPIPServiceTest::SimulatedDevice;

namespace {

class TCPIPConnectionCheck : public SimulatedDevice {
protected:
    void SetUp() override
    {
        SimulatedDevice::SetUp();
        // The register that the probe reads.
        Device([](tDeviceData& d) { d.registers[{0, 9}].words = {0x1234, 0}; });
    }
    bool ProbeWasSent()
    {
        for (const tFrameRecord& record : m_sim.Log().Records())
            if (record.data.size() >= 2 && record.data[0] == 0x01 && record.data[1] == 0x04)
                return true;
        return false;
    }
};

TEST_F(TCPIPConnectionCheck, AnsweringHostIsProbed)
{
    Platform::ManualClockScope clock;
    ASSERT_TRUE(CPing().IsICMPAvailable()) << "this machine lets no process send ICMP echo requests";
    EXPECT_EQ(m_service.GetConnection(), &m_connection);
    EXPECT_TRUE(m_service.CheckCommunication(2)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_TRUE(ProbeWasSent());
    EXPECT_TRUE(m_connection.IsOpen());

    m_connection.Close();
    EXPECT_TRUE(m_service.CheckCommunication(1)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_FALSE(m_connection.IsOpen()) << "opened for the check only";
}

TEST_F(TCPIPConnectionCheck, PingOfAnAnsweringHostProbesTheDevice)
{
    Platform::ManualClockScope clock;
    ASSERT_TRUE(CPing().IsICMPAvailable()) << "this machine lets no process send ICMP echo requests";
    EXPECT_TRUE(m_service.Ping(L"127.0.0.1", 1)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_TRUE(ProbeWasSent());

    // The host answers, the device does not have the register of the probe.
    Device([](tDeviceData& d) { d.registers.erase({0, 9}); });
    EXPECT_FALSE(m_service.Ping(L"127.0.0.1", 1));
    const unsigned long code = m_service.GetLastErrorCode();
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, PELORUS_ERROR_NO_PING_ANSWER);
}

TEST_F(TCPIPConnectionCheck, SilentHostIsNotProbed)
{
    m_service.m_pingSilent = true;
    EXPECT_FALSE(m_service.CheckCommunication(3));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_NO_PING_ANSWER);
    EXPECT_EQ(m_service.m_pingsSent, 3);
    EXPECT_FALSE(ProbeWasSent());
    EXPECT_FALSE(m_service.CheckCommunication(0));
    EXPECT_EQ(m_service.m_pingsSent, 4) << "at least one ping";
    EXPECT_FALSE(m_service.Ping(L"127.0.0.1", 2));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_NO_PING_ANSWER);
}

TEST_F(TCPIPConnectionCheck, UnspecifiedAddressIsNoAnswer)
{
    ASSERT_TRUE(m_connection.SetSettingsXML(L"<TCPIP IP-Address='0.0.0.0'/>"));
    EXPECT_FALSE(m_service.CheckCommunication(1));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_NO_PING_ANSWER);
}

TEST_F(TCPIPConnectionCheck, WithoutICMPTheProbeDecides)
{
    Platform::ManualClockScope clock;
    m_service.m_pingSilent = true;
    m_service.m_icmpAvailable = false;
    EXPECT_TRUE(m_service.CheckCommunication(1)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_TRUE(ProbeWasSent());
    EXPECT_EQ(m_service.m_pingsSent, 0);
}

// Every operation of a service without a channel, as the main program calls them.
std::vector<std::function<bool(CTCPIPServiceBase&)>> AllOperations()
{
    static unsigned short w = 0;
    static unsigned int u = 0;
    static short s = 0;
    static std::wstring t;
    static std::vector<unsigned short> words;
    static unsigned short registers[4] = {};
    static unsigned char* bytes = nullptr;
    static tFbcIdentification id;
    static tKBMonEntry entry;
    static tServiceState state;
    static std::vector<tFBCTable> tables;
    static double baud = 0;
    return {
        [](CTCPIPServiceBase& x) { return x.EnableParamWriting(true); },
        [](CTCPIPServiceBase& x) { return x.RestartSystem(); },
        [](CTCPIPServiceBase& x) { return x.RestartSystemWithoutWaiting(); },
        [](CTCPIPServiceBase& x) { return x.GetParameterChecksum(w); },
        [](CTCPIPServiceBase& x) { return x.SetFactoryDefaults(); },
        [](CTCPIPServiceBase& x) { return x.SetFactoryDefaultsWithoutWaiting(); },
        [](CTCPIPServiceBase& x) { return x.SaveParameter(); },
        [](CTCPIPServiceBase& x) { return x.GetFBCStates(words); },
        [](CTCPIPServiceBase& x) { return x.GetAddressSwitchSetting(w); },
        [](CTCPIPServiceBase& x) { return x.ReadFBCIdentification(&id); },
        [](CTCPIPServiceBase& x) { return x.IdentifyDevice(t, t, t, t); },
        [](CTCPIPServiceBase& x) { return x.GetFieldbusBaudrate(baud); },
        [](CTCPIPServiceBase& x) { return x.EnableBKMonitorModeWithoutCheck(true); },
        [](CTCPIPServiceBase& x) { return x.EnableBKControlModeWithoutCheck(true); },
        [](CTCPIPServiceBase& x) { return x.GetNetworkID(t, t); },
        [](CTCPIPServiceBase& x) { return x.GetSerialNumber(t); },
        [](CTCPIPServiceBase& x) { return x.SetFactoryTestMode(1); },
        [](CTCPIPServiceBase& x) { return x.GetTerminalBusState(words); },
        [](CTCPIPServiceBase& x) { return x.GetProductionMarking(t, t); },
        [](CTCPIPServiceBase& x) { return x.GetInternalVariable(1, t, t); },
        [](CTCPIPServiceBase& x) { return x.GetFWLVersion(t); },
        [](CTCPIPServiceBase& x) { return x.GetTableInfo(tables); },
        [](CTCPIPServiceBase& x) { return x.GetCPUInfo(t, t); },
        [](CTCPIPServiceBase& x) { return x.EnableTerminalBusExtension(true); },
        [](CTCPIPServiceBase& x) { return x.GetRealTimeClock(u, s); },
        [](CTCPIPServiceBase& x) { return x.SetRealTimeClock(u, s); },
        [](CTCPIPServiceBase& x) { return x.GetDateTime(u, s, s); },
        [](CTCPIPServiceBase& x) { return x.SetDateTime(u, s, s); },
        [](CTCPIPServiceBase& x) { return x.ControlParamSequence(1, 2, 3); },
        [](CTCPIPServiceBase& x) { return x.EnableTerminalControlMode(1, 2, 3, 0, nullptr); },
        [](CTCPIPServiceBase& x) { return x.GetTerminalControlModeStatus(w, w, w); },
        [](CTCPIPServiceBase& x) { return x.GetIMEI(t); },
        [](CTCPIPServiceBase& x) { return x.TerminalBusReset(); },
        [](CTCPIPServiceBase& x) { return x.ClearTerminalBusMonitor(); },
        [](CTCPIPServiceBase& x) { return x.ResetTerminalBusMonitorPtr(); },
        [](CTCPIPServiceBase& x) { return x.GetTerminalBusMonitorEntry(entry, nullptr); },
        [](CTCPIPServiceBase& x) { return x.GetTerminalBusMonitorSize(w); },
        [](CTCPIPServiceBase& x) { return x.GetServiceState(1, 2, state); },
        [](CTCPIPServiceBase& x) { return x.ExtractFiles(1); },
        [](CTCPIPServiceBase& x) { return x.FormatFlashDisk(1); },
        [](CTCPIPServiceBase& x) { return x.GetSDCardStatus(words); },
        [](CTCPIPServiceBase& x) { return x.GetPLCRootLocation(w); },
        [](CTCPIPServiceBase& x) { return x.SetPLCRootLocation(1); },
        [](CTCPIPServiceBase& x) { return x.WriteRegister(0, 0, 0, 1, registers); },
        [](CTCPIPServiceBase& x) { return x.ReadRegister(0, 0, 0, 1, registers); },
        [](CTCPIPServiceBase& x) { return x.GetNetworkParameter(0, 1, 0, w, &bytes); },
        [](CTCPIPServiceBase& x) { return x.SetNetworkParameter(0, 1, 0, 0, nullptr); },
        [](CTCPIPServiceBase& x) { return x.GetEthernetInterfaceMode(w); },
        [](CTCPIPServiceBase& x) { return x.SetEthernetInterfaceMode(1); },
        [](CTCPIPServiceBase& x) { return x.GetRuntimeSystems(words); },
        [](CTCPIPServiceBase& x) { return x.GetActiveRuntimeSystem(w); },
        [](CTCPIPServiceBase& x) { return x.SetActiveRuntimeSystem(1); },
        [](CTCPIPServiceBase& x) { return x.CheckCommunication(1); },
    };
}

void ExpectEveryOperationToFail(CServiceUnderTest& service)
{
    EXPECT_EQ(service.GetConnection(), nullptr);
    service.EnableLogging(true, L"none");
    service.EvaluateErrorCode();
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_NO_CONNECTION);
    const auto operations = AllOperations();
    for (std::size_t i = 0; i < operations.size(); ++i) {
        EXPECT_FALSE(operations[i](service)) << "operation " << i;
        EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_NO_CONNECTION) << "operation " << i;
    }
}

TEST(TCPIPServiceWithoutConnection, EveryOperationReportsTheMissingConnection)
{
    CServiceUnderTest service(nullptr);
    ExpectEveryOperationToFail(service);
}

TEST(TCPIPServiceWithoutConnection, AProtocolWithoutItsAPIIsNoChannel)
{
    ZELL::CTCPIPConnection connection;
    CServiceUnderTest service(&connection);
    ASSERT_EQ(service.GetConnection(), &connection);
    service.Attach(std::make_unique<ZELL::CServiceProtocol>(&connection), nullptr);
    ExpectEveryOperationToFail(service);
}

}
