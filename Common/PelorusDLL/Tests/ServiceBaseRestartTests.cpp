#include "Common/PelorusDLL/Tests/MemoryService.h"

#include "Common/SystemHelper/System/RegistryEx.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Words = std::vector<unsigned short>;

class MemoryDevice : public ::testing::Test {
protected:
    CMemoryConnection connection;
    CMemoryService service{&connection};

    void SetConfiguration(const Words& words)
    {
        auto& table = service.registers[{0, 9}];
        table.clear();
        for (unsigned int i = 0; i < words.size(); ++i)
            table[i] = words[i];
    }
};

TEST_F(MemoryDevice, WaitUsesTheLongerSettingUnlessForced)
{
    Platform::ManualClockScope clock(0);
    connection.settings[L"RestartTimeoutSeconds"] = L"30";
    service.WaitForRestart(20, false);
    EXPECT_EQ(GetTickCount(), 30000u);
    service.WaitForRestart(20, true);
    EXPECT_EQ(GetTickCount(), 50000u);
    service.WaitForRestart(40, false);
    EXPECT_EQ(GetTickCount(), 90000u);
}

TEST_F(MemoryDevice, ConfigurationListEndsAtZeroOrAtTheTableEnd)
{
    SetConfiguration({0x8212, 0x0401, 0x1999, 0, 0x0555});
    Words config{7, 7};
    ASSERT_TRUE(service.GetSubBusConfiguration(&config));
    EXPECT_EQ(config, (Words{0x8212, 0x0401, 0x1999, 0}));
    SetConfiguration({0x8212, 0x0401});
    ASSERT_TRUE(service.GetSubBusConfiguration(&config));
    EXPECT_EQ(config, (Words{0x8212, 0x0401, 0}));
    EXPECT_EQ(service.GetLastErrorCode(), 0u);
}

TEST_F(MemoryDevice, ConfigurationNeedsTwoModules)
{
    Words config;
    for (const Words& words : {Words{0x8212, 0}, Words{0, 0x0401, 0}, Words{}}) {
        SetConfiguration(words);
        EXPECT_FALSE(service.GetSubBusConfiguration(&config));
        EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_NODE_CONFIGURATION);
    }
}

TEST_F(MemoryDevice, ConfigurationThatNeverEndsIsBounded)
{
    service.beforeRegisterRead = [&](unsigned int, unsigned int table, unsigned int start) {
        service.registers[{0, table}][start] = 0x0401;
    };
    Words config;
    EXPECT_FALSE(service.GetSubBusConfiguration(&config));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_NODE_CONFIGURATION);
    EXPECT_LE(service.Calls("ReadRegister"), 512);
}

TEST_F(MemoryDevice, ConfigurationRefusesNullAndPassesOtherFailures)
{
    EXPECT_FALSE(service.GetSubBusConfiguration(nullptr));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    SetConfiguration({0x8212, 0x0401, 0});
    service.registerFailures[{0, 9, 1}] = 0x20010200;
    Words config;
    EXPECT_FALSE(service.GetSubBusConfiguration(&config));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20010200u);
}

class Restart : public MemoryDevice {
protected:
    // The module at position 2 shows its id with one more digit in register 30.
    const Words kNode{0x8212, 0x0401, 559, 0};

    Platform::ManualClockScope clock{0};

    void SetUp() override
    {
        SetConfiguration(kNode);
        service.registers[{2, 0}][30] = 5594;
    }
};

TEST_F(Restart, PositionMustLieInsideTheNode)
{
    EXPECT_FALSE(service.RestartSystem(3, 10));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_RESTART_POSITION);
    EXPECT_EQ(service.Calls("RestartSystem"), 0);
}

TEST_F(Restart, NodeThatComesBackEndsTheWait)
{
    ASSERT_TRUE(service.RestartSystem(2, 10));
    EXPECT_EQ(service.Calls("RestartSystem"), 1);
    EXPECT_EQ(connection.opens, 1);
    EXPECT_EQ(GetTickCount(), 1100u);
    EXPECT_EQ(service.GetLastErrorCode(), 0u);
}

TEST_F(Restart, SuccessAfterFailedRoundsCarriesNoCode)
{
    connection.failingOpens = 2;
    ASSERT_TRUE(service.RestartSystem(0, 10));
    EXPECT_EQ(connection.opens, 3);
    EXPECT_EQ(service.GetLastErrorCode(), 0u);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(Restart, ReconnectThatNeverWorksEndsAtTheLimit)
{
    connection.failingOpens = 1000000;
    EXPECT_FALSE(service.RestartSystem(0, 5));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_RESTART_RECONNECT);
    EXPECT_GE(GetTickCount(), 5000u);
    EXPECT_LT(GetTickCount(), 5300u);
}

TEST_F(Restart, ReconnectFailureInsideTheWaitHasItsOwnCode)
{
    CFakeConnection plain;
    CMemoryService other(&plain);
    other.registers = service.registers;
    EXPECT_FALSE(other.RestartSystem(0, 2));
    EXPECT_EQ(other.GetLastErrorCode(), PELORUS_ERROR_RESTART_RECONNECT);
}

TEST_F(Restart, ChangedNodeIsReported)
{
    struct Case {
        Words after;
        DWORD code;
    };
    // 0x1999 stands for any module.
    for (const Case& c : {Case{{0x8212, 0x0401, 0}, PELORUS_ERROR_RESTART_MODULE_COUNT},
                          Case{{0x8212, 0x0402, 559, 0}, PELORUS_ERROR_RESTART_CONFIGURATION},
                          Case{{0x8212, 0x1999, 559, 0}, 0}}) {
        SetConfiguration(kNode);
        service.onRestart = [&] { SetConfiguration(c.after); };
        EXPECT_EQ(service.RestartSystem(2, 2), c.code == 0);
        EXPECT_EQ(service.GetLastErrorCode(), c.code);
    }
}

TEST_F(Restart, ModuleAtThePositionIsCompared)
{
    service.registers[{2, 0}][30] = 5604;
    EXPECT_FALSE(service.RestartSystem(2, 2));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_RESTART_MODULE_MISMATCH);
    service.registerFailures[{2, 0, 30}] = 0x20010200;
    EXPECT_FALSE(service.RestartSystem(2, 2));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20010200u);
}

TEST_F(Restart, ReconnectClosesAndOpensTheConnection)
{
    ASSERT_TRUE(service.RestartSystem(0, 0));
    EXPECT_EQ(connection.closes, 1);
    EXPECT_EQ(connection.opens, 1);
}

// A registry of its own for the library's settings.
class ConnectionCheck : public MemoryDevice {
protected:
    Platform::ManualClockScope clock{0};
    TestSupport::CTempConfigHome m_config{"pelorus-check"};

    void SetUp() override { SetConfiguration({0x8212, 0x0401, 0}); }
    void SetSetting(const wchar_t* name, DWORD value)
    {
        const wutils::CRegistryEx registry(L"HKEY_CURRENT_USER\\SOFTWARE\\Zell Software\\PelorusNET");
        ASSERT_TRUE(registry.SetDWordValue(L"Settings", name, value));
    }
};

TEST_F(ConnectionCheck, TimeoutFromTheRegistryCappedByTheConnection)
{
    connection.timeoutSeconds = 10;
    EXPECT_EQ(service.GetCheckConnectionTimeoutSeconds(), 5u);
    SetSetting(L"CheckConnectionTimeoutSeconds", 0);
    EXPECT_EQ(service.GetCheckConnectionTimeoutSeconds(), 5u);
    SetSetting(L"CheckConnectionTimeoutSeconds", 3);
    EXPECT_EQ(service.GetCheckConnectionTimeoutSeconds(), 3u);
    SetSetting(L"CheckConnectionTimeoutSeconds", 30);
    EXPECT_EQ(service.GetCheckConnectionTimeoutSeconds(), 10u);
}

TEST_F(ConnectionCheck, ClosedConnectionIsOpenedForTheCheckAndClosedAgain)
{
    connection.open = false;
    connection.timeoutSeconds = 8;
    ASSERT_TRUE(service.CheckCommunication(3));
    EXPECT_EQ(connection.timeoutsSet, (std::vector<unsigned int>{5, 8}));
    EXPECT_EQ(connection.opens, 1);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(service.Calls("ReadRegister"), 1);
    EXPECT_EQ(GetTickCount(), 500u);
}

TEST_F(ConnectionCheck, OpenConnectionStaysOpen)
{
    SetSetting(L"WaitBeforCheckConnection", 20);
    ASSERT_TRUE(service.CheckCommunication(1));
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.closes, 0);
    EXPECT_EQ(connection.clears, 1);
    EXPECT_EQ(GetTickCount(), 20u);
}

TEST_F(ConnectionCheck, OverlongWaitSettingIsCapped)
{
    SetSetting(L"WaitBeforCheckConnection", 0xFFFFFFFF);
    ASSERT_TRUE(service.CheckCommunication(1));
    EXPECT_EQ(GetTickCount(), 60000u);
}

TEST_F(ConnectionCheck, SilentDeviceIsProbedEveryAttemptThenClosed)
{
    service.Fail("ReadRegister", 0x20010200);
    EXPECT_FALSE(service.CheckCommunication(3));
    EXPECT_EQ(service.Calls("ReadRegister"), 3);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(GetTickCount(), 1500u);
    EXPECT_EQ(connection.timeoutSeconds, 10u);
    EXPECT_EQ(service.GetLastErrorCode(), 0x20010200u);

    service.Fail("ReadRegister", 0);
    connection.open = true;
    service.registers.clear();
    EXPECT_FALSE(service.CheckCommunication(0));
    EXPECT_EQ(service.Calls("ReadRegister"), 4);
}

TEST_F(ConnectionCheck, FailedOpenStillRestoresTheTimeout)
{
    connection.open = false;
    connection.timeoutSeconds = 9;
    connection.failingOpens = 1;
    EXPECT_FALSE(service.CheckCommunication(2));
    EXPECT_EQ(connection.timeoutSeconds, 9u);
    EXPECT_EQ(service.Calls("ReadRegister"), 0);
    EXPECT_EQ(service.GetLastErrorCode(), 0x30002751u);
}

TEST_F(ConnectionCheck, ExceptionDuringTheProbeRestoresTheTimeout)
{
    connection.timeoutSeconds = 7;
    connection.open = false;
    service.beforeRegisterRead = [](unsigned int, unsigned int, unsigned int) {
        throw std::runtime_error("line broke");
    };
    EXPECT_FALSE(service.CheckCommunication(2));
    EXPECT_EQ(connection.timeoutSeconds, 7u);
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionCheck, ProbeFailureReopensAClosedLine)
{
    int reads = 0;
    service.registerFailures[{0, 9, 0}] = 0x20010200;
    service.beforeRegisterRead = [&](unsigned int, unsigned int, unsigned int) {
        if (++reads == 1)
            connection.open = false;
        else
            service.registerFailures.clear();
    };
    ASSERT_TRUE(service.CheckCommunication(2));
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(connection.opens, 1);
    EXPECT_TRUE(connection.IsOpen());
}

TEST(ConnectionCheckWithoutBase, PlainConnectionIsRefused)
{
    CFakeConnection plain;
    CMemoryService service(&plain);
    EXPECT_FALSE(service.CheckCommunication(1));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_NO_CONNECTION);
    EXPECT_EQ(service.Calls("ReadRegister"), 0);
}

}
