// The operations of the serial service against the simulated device.
#include "Common/PelorusDLL/Tests/SIOServiceFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace DevSim;

namespace {

constexpr DWORD kNotSupported = 0x20088212;
constexpr DWORD kInvalidArgument = 0x20200008;

}

TEST_F(SIOServiceTest, IdentifyDeviceFormatsTheOrderNumber)
{
    std::wstring order, description, hw, sw;
    ASSERT_TRUE(m_service->IdentifyDevice(order, description, hw, sw)) << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(order, L"0614-0881");
    EXPECT_EQ(description, L"Simulated coupler");
    EXPECT_EQ(hw, L"01");
    EXPECT_EQ(sw, L"01.02.03");
}

TEST_F(SIOServiceTest, ReadFBCIdentificationFillsTheSerialFields)
{
    Update([](tDeviceData& d) { d.fieldbusBaudrate = {15, 5}; });
    tFbcIdentification id;
    id.strQSString = L"kept";
    ASSERT_TRUE(m_service->ReadFBCIdentification(&id)) << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(id.strOrderNumber, L"0614-0881");
    EXPECT_EQ(id.strSoftwareVersion, L"01.02.03");
    EXPECT_EQ(id.strFirmwareLoaderVersion, L"IDX=3");
    EXPECT_EQ(id.strSerialNumber, L"SN000001");
    EXPECT_EQ(id.strFieldbusBaudrate, L"1.5 MBaud");
    EXPECT_EQ(id.strFirmwareBurnDate, L"2026-01-01");
    EXPECT_EQ(id.strProductionSerialNumber, L"PSN0001");
    EXPECT_EQ(id.strIMEI, L"356938035643809");
    EXPECT_EQ(id.strQSString, L"kept");
}

TEST_F(SIOServiceTest, ReadFBCIdentificationLeavesDashesForWhatTheDeviceLacks)
{
    Update([](tDeviceData& d) { d.unsupportedServices = {0x0109, 0x0114, 0x0123}; });
    tFbcIdentification id;
    id.strFieldbusBaudrate = id.strFirmwareBurnDate = id.strIMEI = L"stale";
    ASSERT_TRUE(m_service->ReadFBCIdentification(&id));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0u);
    EXPECT_EQ(id.strFieldbusBaudrate, L"--");
    EXPECT_EQ(id.strFirmwareBurnDate, L"--");
    EXPECT_EQ(id.strProductionSerialNumber, L"--");
    EXPECT_EQ(id.strIMEI, L"--");

    // Without a serial number the record is not complete, but what the
    // identification brought stays together, the order number included.
    Update([](tDeviceData& d) { d.unsupportedServices = {0x010D}; });
    tFbcIdentification partial;
    EXPECT_FALSE(m_service->ReadFBCIdentification(&partial));
    EXPECT_EQ(m_service->GetLastErrorCode(), kNotSupported);
    EXPECT_EQ(partial.strSerialNumber, L"--");
    EXPECT_EQ(partial.strOrderNumber, L"0614-0881");
    EXPECT_EQ(partial.strDescription, L"Simulated coupler");
    EXPECT_FALSE(m_service->ReadFBCIdentification(nullptr));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
}

TEST(SIOServiceBaudrate, TextDropsTrailingZerosAndPicksTheUnit)
{
    EXPECT_EQ(CSIOService::FormatBaudrate(12000000), L"12 MBaud");
    EXPECT_EQ(CSIOService::FormatBaudrate(1500000), L"1.5 MBaud");
    EXPECT_EQ(CSIOService::FormatBaudrate(1000000), L"1000 kBaud");
    EXPECT_EQ(CSIOService::FormatBaudrate(500000), L"500 kBaud");
    EXPECT_EQ(CSIOService::FormatBaudrate(1250000), L"1.25 MBaud");
    EXPECT_EQ(CSIOService::FormatBaudrate(93750), L"93.75 kBaud");
}

TEST_F(SIOServiceTest, NetworkParameterBytesAndReallocation)
{
    unsigned short length = 4;
    unsigned char* data = new unsigned char[length];
    ASSERT_TRUE(m_service->GetNetworkParameter(0, NET_IP_ADDRESS, NET_STATIC, length, &data));
    EXPECT_EQ(length, 4);
    EXPECT_EQ(std::vector<unsigned char>(data, data + 4), (std::vector<unsigned char>{10, 1, 168, 192}));

    // The host name is longer than the caller's buffer: a new one of its size.
    length = 32;
    ASSERT_TRUE(m_service->GetNetworkParameter(0, NET_HOST_NAME, NET_STATIC, length, &data));
    EXPECT_EQ(length, 7);
    EXPECT_EQ(std::string(data, data + length), "coupler");
    delete[] data;

    data = nullptr;
    length = 6;
    ASSERT_TRUE(m_service->GetNetworkParameter(0, NET_MAC_ADDRESS, NET_ACTUAL, length, &data));
    EXPECT_EQ(data[0], 0x01);
    delete[] data;
    data = nullptr;

    EXPECT_FALSE(m_service->GetNetworkParameter(3, NET_IP_ADDRESS, NET_STATIC, length, &data));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088213u);
    EXPECT_FALSE(m_service->GetNetworkParameter(0, NET_IP_ADDRESS, NET_STATIC, length, nullptr));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
}

TEST_F(SIOServiceTest, SetNetworkParameterWritesTheBytesUpToTheMailboxLimit)
{
    const unsigned char address[4] = {20, 0, 0, 10};
    ASSERT_TRUE(m_service->SetNetworkParameter(0, NET_IP_ADDRESS, NET_STATIC, 4, address));
    EXPECT_EQ(*Device().NetParam(0, NET_STATIC, NET_IP_ADDRESS), (std::vector<uint8_t>{20, 0, 0, 10}));

    // 500 bytes fill the mailbox exactly (254 request words and the header).
    std::vector<unsigned char> name(500, 'n');
    name[499] = 'z';
    ASSERT_TRUE(m_service->SetNetworkParameter(0, NET_SNTP_NAME, NET_STATIC, 500, name.data()))
        << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(Device().NetParam(0, NET_STATIC, NET_SNTP_NAME)->back(), 'z');
}

TEST_F(SIOServiceTest, OversizedOrMissingByteBlocksAreRefusedBeforeSending)
{
    const auto before = m_sim.Telegrams().size();
    std::vector<unsigned char> block(501, 'x');
    EXPECT_FALSE(m_service->SetNetworkParameter(0, NET_SNTP_NAME, NET_STATIC, 501, block.data()));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    // A length far beyond the buffer: nothing of the buffer is read (ASan would say).
    unsigned char small[4] = {};
    EXPECT_FALSE(m_service->EnableTerminalControlMode(1, 2, 3, 60000, small));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    EXPECT_FALSE(m_service->SetNetworkParameter(0, NET_HOST_NAME, NET_STATIC, 4, nullptr));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    EXPECT_FALSE(m_service->EnableTerminalControlMode(1, 2, 3, 1, nullptr));
    EXPECT_EQ(m_sim.Telegrams().size(), before);
    // No bytes need no buffer.
    EXPECT_TRUE(m_service->EnableTerminalControlMode(1, 2, 3, 0, nullptr));
}

TEST_F(SIOServiceTest, AddressSwitchFallsBackToTheOldService)
{
    Update([](tDeviceData& d) { d.addressSwitch = 0x2A; });
    unsigned short value = 0;
    ASSERT_TRUE(m_service->GetAddressSwitchSetting(value));
    EXPECT_EQ(value, 0x2A);
    EXPECT_EQ(LastServiceCode(), 0x0701);

    Update([](tDeviceData& d) { d.unsupportedServices = {0x0107}; });
    value = 0;
    ASSERT_TRUE(m_service->GetAddressSwitchSetting(value));
    EXPECT_EQ(value, 0x2A);
    EXPECT_EQ(LastServiceCode(), 0xFF00);
    EXPECT_EQ(m_service->GetLastErrorCode(), 0u);

    Update([](tDeviceData& d) { d.unsupportedServices = {0x0107, 0x00FF}; });
    EXPECT_FALSE(m_service->GetAddressSwitchSetting(value));
    EXPECT_EQ(m_service->GetLastErrorCode(), kNotSupported);

    // Any other failure is not retried under the old service.
    Update([](tDeviceData& d) { d.serialRawAnswers[0x0107] = {1, 0x8214}; });
    EXPECT_FALSE(m_service->GetAddressSwitchSetting(value));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088214u);
    EXPECT_EQ(LastServiceCode(), 0x0701);
}

TEST_F(SIOServiceTest, ClockRoundTrips)
{
    ASSERT_TRUE(m_service->SetDateTime(0x12345678u, -90, 1));
    unsigned int seconds = 0;
    short zone = 0, dst = 0;
    ASSERT_TRUE(m_service->GetDateTime(seconds, zone, dst));
    EXPECT_EQ(seconds, 0x12345678u);
    EXPECT_EQ(zone, -90);
    EXPECT_EQ(dst, 1);

    ASSERT_TRUE(m_service->SetRealTimeClock(0xFEDCBA98u, -2));
    EXPECT_EQ(Device().zoneMinutes, -120);
    short hours = 0;
    ASSERT_TRUE(m_service->GetRealTimeClock(seconds, hours));
    EXPECT_EQ(seconds, 0xFEDCBA98u);
    EXPECT_EQ(hours, -2);
}

TEST_F(SIOServiceTest, MemoryCardAndFileSystem)
{
    Update([](tDeviceData& d) {
        d.sdCard = {true, 2, true, 1024, 512, 0xCAFEBABE};
        d.plcRootLocation = 1;
    });
    std::vector<unsigned short> words;
    ASSERT_TRUE(m_service->GetSDCardStatus(words));
    EXPECT_EQ(words, (std::vector<unsigned short>{1, 2, 1, 1024, 512, 0xBABE, 0xCAFE}));
    unsigned short location = 0;
    ASSERT_TRUE(m_service->GetPLCRootLocation(location));
    EXPECT_EQ(location, 1);
    ASSERT_TRUE(m_service->SetPLCRootLocation(2));
    ASSERT_TRUE(m_service->ExtractFiles(5));
    ASSERT_TRUE(m_service->FormatFlashDisk(6));
    const auto d = Device();
    EXPECT_EQ(d.plcRootLocation, 2);
    EXPECT_EQ(d.extractCount, 1u);
    EXPECT_EQ(d.formatCount, 1u);
    EXPECT_EQ(d.lastFileGroup, 6);
}

TEST_F(SIOServiceTest, StateWordsAndModes)
{
    Update([](tDeviceData& d) {
        d.stateWords = {1, 0, 0, 0, 0, 0, 0, 0, 9};
        d.terminalBusState = {4, 5, 6, 0, 0, 0, 0, 0, 1};
    });
    std::vector<unsigned short> states;
    ASSERT_TRUE(m_service->GetFBCStates(states));
    EXPECT_EQ(states, (std::vector<unsigned short>{1, 0, 0, 0, 0, 0, 0, 0, 9}));
    ASSERT_TRUE(m_service->EnableBKMonitorModeWithoutCheck(true));
    ASSERT_TRUE(m_service->EnableBKControlModeWithoutCheck(true));
    ASSERT_TRUE(m_service->EnableBKMonitorModeWithoutCheck(false));
    EXPECT_EQ(Device().stateWords[3], 0);
    EXPECT_EQ(Device().stateWords[4], 1);
    ASSERT_TRUE(m_service->GetTerminalBusState(states));
    EXPECT_EQ(states.size(), 9u);
    EXPECT_EQ(states[2], 6);
}

TEST_F(SIOServiceTest, RegistersPassThroughWithTheirCodes)
{
    std::vector<unsigned short> words(100, 0xBEEF);
    ASSERT_TRUE(m_service->WriteRegister(0, 0, 50, 100, words.data()));
    std::vector<unsigned short> back(100);
    ASSERT_TRUE(m_service->ReadRegister(0, 0, 50, 100, back.data()));
    EXPECT_EQ(back, words);
    EXPECT_FALSE(m_service->ReadRegister(0, 0, 250, 10, back.data()));
    EXPECT_EQ(m_service->GetLastErrorCode(), kInvalidArgument);
    EXPECT_FALSE(m_service->ReadRegister(0, 100, 60, 10, back.data()));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088215u);
    EXPECT_FALSE(m_service->ReadRegister(0, 9, 0, 1, back.data()));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088200u);
}

TEST_F(SIOServiceTest, TableInfoHandsOutTheTablesLastFirst)
{
    std::vector<tFBCTable> tables;
    ASSERT_TRUE(m_service->GetTableInfo(tables));
    EXPECT_EQ(tables, (std::vector<tFBCTable>{100 << 9 | 64, 256}));

    Update([](tDeviceData& d) { d.serialRawAnswers[0x0113] = {5, 0, 3, 0x1204, 0x0A10, 0x0040}; });
    ASSERT_TRUE(m_service->GetTableInfo(tables));
    EXPECT_EQ(tables, (std::vector<tFBCTable>{0x0040, 0x0A10, 0x1204}));
}

TEST_F(SIOServiceTest, OldDevicesAreProbedTableByTable)
{
    Update([](tDeviceData& d) {
        d.unsupportedServices = {0x0113};
        d.registers[{0, 5}].words = std::vector<uint16_t>(7, 1); // pairs at 0, 2, 4 only
        d.registers[{0, 9}].words.clear();                         // present, but no register
    });
    std::vector<tFBCTable> tables;
    ASSERT_TRUE(m_service->GetTableInfo(tables)) << std::hex << m_service->GetLastErrorCode();
    // The mailbox answers every register, so it reads as a full table.
    EXPECT_EQ(tables, (std::vector<tFBCTable>{256, 5 << 9 | 6, 9 << 9, 99 << 9 | 256, 100 << 9 | 64}));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0u);

    // An unexpected code ends the probe with an empty list.
    tFaultRule rule;
    rule.kind = ENFault::RegisterError;
    rule.status = 0x8214;
    rule.match.command = 7;
    m_sim.Faults().Add(rule);
    EXPECT_FALSE(m_service->GetTableInfoForOldFBC(tables));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088214u);
    EXPECT_TRUE(tables.empty());
}

TEST_F(SIOServiceTest, RuntimeSystems)
{
    std::vector<unsigned short> systems;
    ASSERT_TRUE(m_service->GetRuntimeSystems(systems));
    EXPECT_EQ(systems, (std::vector<unsigned short>{1, 3}));
    ASSERT_TRUE(m_service->SetActiveRuntimeSystem(3));
    unsigned short active = 0;
    ASSERT_TRUE(m_service->GetActiveRuntimeSystem(active));
    EXPECT_EQ(active, 3);
    EXPECT_FALSE(m_service->SetActiveRuntimeSystem(2));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088213u);
}

TEST_F(SIOServiceTest, MonitorEntriesAreReadInOrder)
{
    Update([](tDeviceData& d) {
        d.monitor = {{0x00012345, -3, 4, 0x03, 0x00054321}, {10, 0, 0xC0, 0x01, 20}};
    });
    unsigned short count = 0;
    ASSERT_TRUE(m_service->GetTerminalBusMonitorSize(count));
    EXPECT_EQ(count, 2);
    tKBMonEntry entry;
    long long readTime = 0;
    ASSERT_TRUE(m_service->GetTerminalBusMonitorEntry(entry, &readTime));
    EXPECT_EQ(entry.dwEventTime, 0x00012345u);
    EXPECT_EQ(entry.sErrorCode, -3);
    EXPECT_EQ(entry.byArgument, 4);
    EXPECT_EQ(entry.byFlags, 0x03);
    EXPECT_EQ(entry.dwReferenceTime, 0x00054321u);
    EXPECT_GT(readTime, 1700000000);
    ASSERT_TRUE(m_service->GetTerminalBusMonitorEntry(entry, nullptr));
    EXPECT_EQ(entry.byArgument, 0xC0);
    ASSERT_TRUE(m_service->GetTerminalBusMonitorEntry(entry, nullptr));
    EXPECT_EQ(entry.sErrorCode, -1); // past the end
    ASSERT_TRUE(m_service->ResetTerminalBusMonitorPtr());
    ASSERT_TRUE(m_service->GetTerminalBusMonitorEntry(entry, nullptr));
    EXPECT_EQ(entry.sErrorCode, -3);
    ASSERT_TRUE(m_service->ClearTerminalBusMonitor());
    ASSERT_TRUE(m_service->GetTerminalBusMonitorSize(count));
    EXPECT_EQ(count, 0);
}

TEST_F(SIOServiceTest, RestartWaitsTheConfiguredTimeLessTheServiceTime)
{
    Connect(30);
    Update([](tDeviceData& d) { d.writeAccessRequired = true; });
    const DWORD start = GetTickCount();
    ASSERT_TRUE(m_service->RestartSystem()) << std::hex << m_service->GetLastErrorCode();
    // 500 ms before the answer poll, then the rest of the 30 s (whole seconds).
    EXPECT_EQ(GetTickCount() - start, 30500u);
    EXPECT_EQ(Device().restartCount, 1u);
    EXPECT_TRUE(Device().writeAccess);

    Connect(0);
    const DWORD again = GetTickCount();
    ASSERT_TRUE(m_service->RestartSystem());
    EXPECT_EQ(GetTickCount() - again, 500u);
}

TEST_F(SIOServiceTest, FailedRestartDoesNotWait)
{
    Connect(30);
    Update([](tDeviceData& d) { d.unsupportedServices = {0x0102}; });
    const DWORD start = GetTickCount();
    EXPECT_FALSE(m_service->RestartSystem());
    EXPECT_EQ(m_service->GetLastErrorCode(), kNotSupported);
    EXPECT_LT(GetTickCount() - start, 2000u);

    // Without write access the restart is not even asked for.
    Update([](tDeviceData& d) { d.unsupportedServices = {0x0101}; });
    EXPECT_FALSE(m_service->RestartSystem());
    EXPECT_EQ(LastServiceCode(), 0x0101);
    EXPECT_EQ(Device().restartCount, 0u);
}

TEST_F(SIOServiceTest, DeviceSettingsServices)
{
    unsigned short checksum = 0;
    ASSERT_TRUE(m_service->GetParameterChecksum(checksum));
    EXPECT_EQ(checksum, 0x1234);
    ASSERT_TRUE(m_service->SetFactoryDefaults());
    ASSERT_TRUE(m_service->SaveParameter());
    ASSERT_TRUE(m_service->SetFactoryTestMode(7));
    ASSERT_TRUE(m_service->EnableTerminalBusExtension(true));
    ASSERT_TRUE(m_service->ControlParamSequence(1, 2, 3));
    const unsigned char bytes[3] = {0xA1, 0xB2, 0xC3};
    ASSERT_TRUE(m_service->EnableTerminalControlMode(4, 5, 6, 3, bytes));
    ASSERT_TRUE(m_service->TerminalBusReset());
    const auto d = Device();
    EXPECT_EQ(d.factoryResetCount, 1u);
    EXPECT_EQ(d.storeCount, 1u);
    EXPECT_EQ(d.factoryTestMode, 7);
    EXPECT_EQ(d.terminalBusExtension, 1);
    EXPECT_EQ(d.paramSequence, (std::array<uint16_t, 3>{1, 2, 3}));
    EXPECT_EQ(d.terminalControl, (std::array<uint16_t, 3>{4, 5, 6}));
    EXPECT_EQ(d.terminalControlData, (std::vector<uint8_t>{0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(d.terminalBusRestartCount, 1u);
}

TEST_F(SIOServiceTest, StatusAndTextServices)
{
    Update([](tDeviceData& d) {
        d.terminalControlStatus = {7, 8, 9};
        d.commandStates[0x0301] = 2;
        d.serviceStateThirdWord = -5;
        d.ethernetMode = 3;
    });
    unsigned short a = 0, b = 0, c = 0;
    ASSERT_TRUE(m_service->GetTerminalControlModeStatus(a, b, c));
    EXPECT_EQ((std::vector<unsigned short>{a, b, c}), (std::vector<unsigned short>{7, 8, 9}));
    tServiceState state;
    ASSERT_TRUE(m_service->GetServiceState(0x03, 0x01, state));
    EXPECT_EQ(state.wService, 0x0301);
    EXPECT_EQ(state.wState, 2);
    EXPECT_EQ(state.sThirdWord, -5);
    ASSERT_TRUE(m_service->GetEthernetInterfaceMode(a));
    EXPECT_EQ(a, 3);
    ASSERT_TRUE(m_service->SetEthernetInterfaceMode(1));
    EXPECT_EQ(Device().ethernetMode, 1);

    std::wstring first, second;
    ASSERT_TRUE(m_service->GetNetworkID(first, second));
    EXPECT_EQ(first, L"MAC-ID");
    EXPECT_EQ(second, L"025AE1000001");
    ASSERT_TRUE(m_service->GetProductionMarking(first, second));
    EXPECT_EQ(first + L"|" + second, L"PM-0001|PM-0002");
    ASSERT_TRUE(m_service->GetCPUInfo(first, second));
    EXPECT_EQ(first + L"|" + second, L"2026-01-01|PSN0001");
}

TEST_F(SIOServiceTest, InternalVariablesSplitAtTheSemicolon)
{
    Update([](tDeviceData& d) {
        d.serialInternalVariables = {{4, " ACTIP ; 10.0.0.1 ;x"}, {2, "255.255.0.0"}, {6, "lonely"}};
    });
    std::wstring name, value;
    ASSERT_TRUE(m_service->GetInternalVariable(4, name, value));
    EXPECT_EQ(name, L"ACTIP");
    EXPECT_EQ(value, L"10.0.0.1");
    ASSERT_TRUE(m_service->GetInternalVariable(2, name, value));
    EXPECT_EQ(name, L"Subnet mask;");
    EXPECT_EQ(value, L"255.255.0.0");
    ASSERT_TRUE(m_service->GetInternalVariable(6, name, value));
    EXPECT_EQ(name, L"");
    EXPECT_EQ(value, L"lonely");
    EXPECT_FALSE(m_service->GetInternalVariable(9, name, value));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x20088213u);
}

TEST_F(SIOServiceTest, BusyInterfaceModeWaitsWhatTheDeviceAnnounces)
{
    Update([](tDeviceData& d) { d.serialRawAnswers[0x0504] = {2, 0x821D, 5}; });
    const DWORD start = GetTickCount();
    EXPECT_FALSE(m_service->SetEthernetInterfaceMode(2));
    EXPECT_EQ(m_service->GetLastErrorCode(), 0x2008821Du);
    EXPECT_EQ(GetTickCount() - start, 5000u);

    // A wait of 18 hours is taken for a corrupt word.
    Update([](tDeviceData& d) { d.serialRawAnswers[0x0504] = {2, 0x821D, 0xFFFF}; });
    const DWORD again = GetTickCount();
    EXPECT_FALSE(m_service->SetEthernetInterfaceMode(2));
    EXPECT_EQ(GetTickCount() - again, 600000u);
}

TEST_F(SIOServiceTest, OperationsWithoutConnectionFail)
{
    CSIOService unconnected(nullptr);
    std::vector<unsigned short> states;
    EXPECT_FALSE(unconnected.GetFBCStates(states));
    EXPECT_EQ(unconnected.GetLastErrorCode(), 0x20200009u);
    EXPECT_EQ(unconnected.GetConnection(), nullptr);
    EXPECT_EQ(m_service->GetConnection(), &m_connection);
}
