// The shared service logic over a real TCP/IP connection to the simulated
// device: byte orders, the reconnect and the restart wait as they meet the
// wire.
#include "Common/PelorusDLL/Tests/TCPIPServiceRig.h"

#include "Platform/Base/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using TCPIPServiceTest::SimulatedDevice;

class SharedLogicOnTheWire : public SimulatedDevice {
protected:
    void SetNode()
    {
        Device([](DevSim::tDeviceData& d) {
            d.registers[{0, 9}].words = {0x8212, 0x0401, 559, 0};
            d.registers[{2, 0}].words = std::vector<uint16_t>(31, 0);
            d.registers[{2, 0}].words[30] = 5594;
        });
    }
};

TEST_F(SharedLogicOnTheWire, NetworkParametersReadAsTheDeviceKeepsThem)
{
    Device([](DevSim::tDeviceData& d) {
        d.AddDefaultPort(0, "192.168.1.10");
        d.SetNetMac(0, 0, "025AE10A0B0C");
        d.SetNetName(0, 0, 7, "coupler");
    });
    CServiceBase::tNetworkParams params;
    ASSERT_TRUE(m_service.GetActualNetworkParameters(0, params)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_EQ(params.wIPAddressSource, 3);
    EXPECT_EQ(params.strIPAddress, L"192.168.1.10");
    EXPECT_EQ(params.strSubnetMask, L"255.255.255.0");
    EXPECT_EQ(params.strMACAddress, L"025AE10A0B0C");
    EXPECT_EQ(params.strHostName, L"coupler");

    ASSERT_TRUE(m_service.SetStaticIPAddress(0, L"10.0.0.7"));
    std::wstring address;
    ASSERT_TRUE(m_service.GetStaticIPAddress(0, address));
    EXPECT_EQ(address, L"10.0.0.7");
}

TEST_F(SharedLogicOnTheWire, RestartWaitsUntilTheNodeIsBack)
{
    Platform::ManualClockScope clock(0);
    SetNode();
    ASSERT_TRUE(m_service.RestartSystem(2, 60)) << std::hex << m_service.GetLastErrorCode();
    unsigned restarts = 0;
    m_sim.Model().Read([&](const DevSim::tDeviceData& d) { restarts = d.restartCount; });
    EXPECT_EQ(restarts, 1u);
    EXPECT_EQ(m_sim.AcceptedConnections(), 2u);
    EXPECT_TRUE(m_connection.IsOpen());
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(SharedLogicOnTheWire, RestartNoticesAnotherModule)
{
    Platform::ManualClockScope clock(0);
    SetNode();
    Device([](DevSim::tDeviceData& d) { d.registers[{2, 0}].words[30] = 5600; });
    EXPECT_FALSE(m_service.RestartSystem(2, 2));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_RESTART_MODULE_MISMATCH);
}

TEST_F(SharedLogicOnTheWire, BaseCheckOpensAClosedConnectionAndPutsItBack)
{
    Platform::ManualClockScope clock(0);
    SetNode();
    m_connection.Close();
    const unsigned int timeout = m_connection.GetCommunicationTimeout();
    ASSERT_TRUE(m_service.CServiceBase::CheckCommunication(1)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_FALSE(m_connection.IsOpen());
    EXPECT_EQ(m_connection.GetCommunicationTimeout(), timeout);
    EXPECT_EQ(m_sim.AcceptedConnections(), 2u);
}

TEST_F(SharedLogicOnTheWire, SubBusConfigurationEndsAtTheTableEnd)
{
    Device([](DevSim::tDeviceData& d) { d.registers[{0, 9}].words = {0x8212, 0x0401, 0x0559}; });
    std::vector<unsigned short> config;
    ASSERT_TRUE(m_service.GetSubBusConfiguration(&config)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_EQ(config, (std::vector<unsigned short>{0x8212, 0x0401, 0x0559, 0}));
}

}
