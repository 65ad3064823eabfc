// The TCP/IP device service against the simulated device over real TCP.
#include "Common/PelorusDLL/Tests/DebugCapture.h"
#include "Common/PelorusDLL/Tests/TCPIPServiceRig.h"

#include "Common/Communication/ServiceAPI.h"
#include "Common/PelorusDLL/IdentificationText.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/SystemTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace DevSim;
using TCPIPServiceTest::SimulatedDevice;

namespace {

using TCPIPIdentification = SimulatedDevice;

TEST_F(TCPIPIdentification, AllElevenFieldsAndTheSingleKeyOperations)
{
    Device([](tDeviceData& d) {
        d.identItems = {{"ORDER", "614-352"},     {"DESCR", "Coupler"},     {"HW-VER", "03"},
                        {"SW-VER", "01.08.02"},   {"FWL-VER", "IDX=3"},     {"SN", "SN-4711"},
                        {"BAUD", "12 MBaud"},     {"QS-STRING", "QS-0815"}, {"FW-BURN-DATE", "2026-03-04"},
                        {"PSN", "PSN-99"},        {"IMEI", "490154203237518"}};
    });
    tFbcIdentification id;
    ASSERT_TRUE(m_service.ReadFBCIdentification(&id)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_EQ(id.strOrderNumber, L"0614-0352");
    EXPECT_EQ(id.strDescription, L"Coupler");
    EXPECT_EQ(id.strHardwareVersion, L"03");
    EXPECT_EQ(id.strSoftwareVersion, L"01.08.02");
    EXPECT_EQ(id.strFirmwareLoaderVersion, L"IDX=3");
    EXPECT_EQ(id.strSerialNumber, L"SN-4711");
    EXPECT_EQ(id.strFieldbusBaudrate, L"12 MBaud");
    EXPECT_EQ(id.strQSString, L"QS-0815");
    EXPECT_EQ(id.strFirmwareBurnDate, L"2026-03-04");
    EXPECT_EQ(id.strProductionSerialNumber, L"PSN-99");
    EXPECT_EQ(id.strIMEI, L"490154203237518");

    std::wstring order, description, hw, sw;
    ASSERT_TRUE(m_service.IdentifyDevice(order, description, hw, sw));
    EXPECT_EQ(order + L"|" + description + L"|" + hw + L"|" + sw, L"0614-0352|Coupler|03|01.08.02");
    std::wstring text, second = L"stale", first = L"stale";
    ASSERT_TRUE(m_service.GetFWLVersion(text));
    EXPECT_EQ(text, L"IDX=3");
    ASSERT_TRUE(m_service.GetSerialNumber(text));
    EXPECT_EQ(text, L"SN-4711");
    ASSERT_TRUE(m_service.GetProductionMarking(first, second));
    EXPECT_EQ(first, L"");
    EXPECT_EQ(second, L"QS-0815");
    ASSERT_TRUE(m_service.GetCPUInfo(first, second));
    EXPECT_EQ(first + L"|" + second, L"2026-03-04|PSN-99");
    ASSERT_TRUE(m_service.GetIMEI(text));
    EXPECT_EQ(text, L"490154203237518");
    double baud = 0;
    ASSERT_TRUE(m_service.GetFieldbusBaudrate(baud));
    EXPECT_DOUBLE_EQ(baud, 12e6);
}

TEST_F(TCPIPIdentification, EmptyValuesAndKeysInsideValuesDoNotShiftFields)
{
    Device([](tDeviceData& d) { d.identTextOverride = "DESCR=SN;SN=;HW-VER=;BAUD=1.5 MBaud"; });
    tFbcIdentification id;
    ASSERT_TRUE(m_service.ReadFBCIdentification(&id));
    EXPECT_EQ(id.strDescription, L"SN");
    EXPECT_EQ(id.strSerialNumber, L"");
    EXPECT_EQ(id.strHardwareVersion, L"");
    EXPECT_EQ(id.strIMEI, L"") << "absent key";
    double baud = 0;
    ASSERT_TRUE(m_service.GetFieldbusBaudrate(baud));
    EXPECT_DOUBLE_EQ(baud, 1.5e6);
}

TEST_F(TCPIPIdentification, MalformedTextsFailWithACode)
{
    double baud = 7;
    Device([](tDeviceData& d) { d.identTextOverride = "ORDER=1;BAUD=x MBaud"; });
    EXPECT_FALSE(m_service.GetFieldbusBaudrate(baud));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_DOUBLE_EQ(baud, 7);

    Device([](tDeviceData& d) { d.identTextOverride = "ORDER=1;BAUD=--"; });
    EXPECT_FALSE(m_service.GetFieldbusBaudrate(baud));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_PARAMETER_NOT_PRESENT);

    Device([](tDeviceData& d) { d.identTextOverride = "ORDER"; });
    std::wstring order, description, hw, sw;
    EXPECT_FALSE(m_service.IdentifyDevice(order, description, hw, sw));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.ReadFBCIdentification(nullptr));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

TEST_F(TCPIPIdentification, LongAnswersAreCut)
{
    Device([](tDeviceData& d) { d.identTextOverride = "SN=" + std::string(100000, '7') + ";IMEI=1"; });
    std::wstring serial, imei = L"stale";
    ASSERT_TRUE(m_service.GetSerialNumber(serial));
    EXPECT_EQ(serial, std::wstring(CIdentificationText::kMaxValueLength, L'7'));
    ASSERT_TRUE(m_service.GetIMEI(imei));
    EXPECT_EQ(imei, L"") << "beyond the part of the text that is read";
}

using TCPIPNetworkTexts = SimulatedDevice;

TEST_F(TCPIPNetworkTexts, NetworkIdAndInternalVariables)
{
    std::wstring id, mac, name, value;
    ASSERT_TRUE(m_service.GetNetworkID(id, mac));
    EXPECT_EQ(id + L"|" + mac, L"MAC-ID|025AE1000001");
    ASSERT_TRUE(m_service.GetInternalVariable(4, name, value));
    EXPECT_EQ(name + L"|" + value, L"ACTIP|192.168.1.10");
    ASSERT_TRUE(m_service.GetInternalVariable(1, name, value));
    EXPECT_EQ(name + L"|" + value, L"IP|192.168.1.10");

    EXPECT_FALSE(m_service.GetInternalVariable(5, name, value));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_PARAMETER_NOT_PRESENT);
    m_sim.Log().Clear();
    EXPECT_FALSE(m_service.GetInternalVariable(0, name, value));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(m_sim.Log().Size(), 0u) << "index 0 is refused before asking the device";

    Device([](tDeviceData& d) { d.networkId = "MAC-ID"; });
    EXPECT_FALSE(m_service.GetNetworkID(id, mac));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

using TCPIPNetworkParameters = SimulatedDevice;

TEST_F(TCPIPNetworkParameters, RawBytesPerPortAndSet)
{
    Device([](tDeviceData& d) {
        d.AddDefaultPort(0, "192.168.1.10");
        d.AddDefaultPort(1, "10.0.0.7");
    });
    unsigned short length = 0;
    unsigned char* data = nullptr;
    ASSERT_TRUE(m_service.GetNetworkParameter(1, NET_IP_ADDRESS, NET_ACTUAL, length, &data));
    ASSERT_EQ(length, 4);
    EXPECT_EQ(std::vector<unsigned char>(data, data + 4), (std::vector<unsigned char>{7, 0, 0, 10}));

    unsigned char* kept = data;
    ASSERT_TRUE(m_service.GetNetworkParameter(0, NET_IP_ADDRESS, NET_ACTUAL, length, &data));
    EXPECT_EQ(data, kept) << "a buffer of the answer's size is reused";
    EXPECT_EQ(data[3], 192);

    ASSERT_TRUE(m_service.GetNetworkParameter(0, NET_MAC_ADDRESS, NET_ACTUAL, length, &data));
    EXPECT_EQ(length, 6);
    delete[] data;

    const unsigned char address[] = {4, 3, 2, 1};
    ASSERT_TRUE(m_service.SetNetworkParameter(1, NET_IP_ADDRESS, NET_STATIC, 4, address));
    EXPECT_EQ(m_sim.Model().Get().NetParam(1, NET_STATIC, NET_IP_ADDRESS), (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(m_sim.Model().Get().NetParam(0, NET_STATIC, NET_IP_ADDRESS),
              (std::vector<uint8_t>{10, 1, 168, 192}));

    data = nullptr;
    EXPECT_FALSE(m_service.GetNetworkParameter(2, NET_IP_ADDRESS, NET_ACTUAL, length, &data));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088213u);
    EXPECT_EQ(data, nullptr);
    EXPECT_FALSE(m_service.GetNetworkParameter(0, NET_IP_ADDRESS, NET_ACTUAL, length, nullptr));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.SetNetworkParameter(0, NET_IP_ADDRESS, NET_STATIC, 4, nullptr));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

using TCPIPDeviceState = SimulatedDevice;

TEST_F(TCPIPDeviceState, NineWordsOrEightWithoutTheNinth)
{
    Device([](tDeviceData& d) { d.stateWords = {1, 2, 3, 4, 5, 6, 7, 8, 9}; });
    std::vector<unsigned short> states;
    ASSERT_TRUE(m_service.GetFBCStates(states));
    EXPECT_EQ(states, (std::vector<unsigned short>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    Device([](tDeviceData& d) { d.stateWords[8] = 0xFFFF; });
    ASSERT_TRUE(m_service.GetFBCStates(states));
    EXPECT_EQ(states.size(), 8u);
    Device([](tDeviceData& d) { d.stateWords.resize(8); });
    ASSERT_TRUE(m_service.GetFBCStates(states));
    EXPECT_EQ(states, (std::vector<unsigned short>{1, 2, 3, 4, 5, 6, 7, 8})) << "an older device's eight words";
}

TEST_F(TCPIPDeviceState, SwitchesAndWordsPassThrough)
{
    Device([](tDeviceData& d) {
        d.addressSwitch = 17;
        d.terminalBusState = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        d.terminalControlStatus = {4, 5, 6};
        d.ethernetMode = 2;
    });
    unsigned short a = 0, b = 0, c = 0;
    ASSERT_TRUE(m_service.GetAddressSwitchSetting(a));
    EXPECT_EQ(a, 17);
    std::vector<unsigned short> words;
    ASSERT_TRUE(m_service.GetTerminalBusState(words));
    EXPECT_EQ(words, (std::vector<unsigned short>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(m_service.GetTerminalControlModeStatus(a, b, c));
    EXPECT_EQ(std::vector<unsigned short>({a, b, c}), (std::vector<unsigned short>{4, 5, 6}));
    ASSERT_TRUE(m_service.GetEthernetInterfaceMode(a));
    EXPECT_EQ(a, 2);

    const unsigned char control[] = {9, 8, 7};
    EXPECT_TRUE(m_service.EnableParamWriting(true));
    EXPECT_TRUE(m_service.EnableBKMonitorModeWithoutCheck(true));
    EXPECT_TRUE(m_service.EnableBKControlModeWithoutCheck(true));
    EXPECT_TRUE(m_service.SetFactoryTestMode(0x55));
    EXPECT_TRUE(m_service.EnableTerminalBusExtension(true));
    EXPECT_TRUE(m_service.ControlParamSequence(1, 2, 3));
    EXPECT_TRUE(m_service.EnableTerminalControlMode(4, 5, 6, 3, control));
    EXPECT_TRUE(m_service.SetEthernetInterfaceMode(1));
    const tDeviceData d = m_sim.Model().Get();
    EXPECT_TRUE(d.writeAccess);
    EXPECT_EQ(d.stateWords[3], 1);
    EXPECT_EQ(d.stateWords[4], 1);
    EXPECT_EQ(d.factoryTestMode, 0x55);
    EXPECT_EQ(d.terminalBusExtension, 1);
    EXPECT_EQ(d.paramSequence, (std::array<uint16_t, 3>{1, 2, 3}));
    EXPECT_EQ(d.terminalControl, (std::array<uint16_t, 3>{4, 5, 6}));
    EXPECT_EQ(d.terminalControlData, (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(d.ethernetMode, 1);
    EXPECT_FALSE(m_service.EnableTerminalControlMode(4, 5, 6, 3, nullptr));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

using TCPIPRegisters = SimulatedDevice;

TEST_F(TCPIPRegisters, RoundTripAndOutOfRangeArguments)
{
    Device([](tDeviceData& d) { d.registers[{2, 100}].words = std::vector<uint16_t>(64, 0); });
    const unsigned short written[] = {0x1111, 0x2222, 0x3333};
    ASSERT_TRUE(m_service.WriteRegister(2, 100, 9, 3, written));
    unsigned short read[3] = {};
    ASSERT_TRUE(m_service.ReadRegister(2, 100, 9, 3, read));
    EXPECT_EQ(std::vector<unsigned short>(read, read + 3), std::vector<unsigned short>(written, written + 3));
    EXPECT_EQ(m_sim.Model().Get().registers.at({2, 100}).words[11], 0x3333);

    EXPECT_FALSE(m_service.ReadRegister(2, 101, 0, 1, read));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088200u);
    m_sim.Log().Clear();
    EXPECT_FALSE(m_service.ReadRegister(2, 100 + 0x10000, 0, 1, read)) << "would read table 100";
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.WriteRegister(2, 100, 0, 1, nullptr));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(m_sim.Log().Size(), 0u);
}

TEST_F(TCPIPRegisters, HighestWordIsStillAnArgument)
{
    Device([](tDeviceData& d) { d.registers[{0xFFFF, 0xFFFF}].words = {0x1234}; });
    unsigned short word = 0;
    ASSERT_TRUE(m_service.ReadRegister(0xFFFF, 0xFFFF, 0, 1, &word)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_EQ(word, 0x1234);
    EXPECT_FALSE(m_service.ReadRegister(0x10000, 0xFFFF, 0, 1, &word));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

TEST_F(TCPIPRegisters, TableInfoIsSorted)
{
    Device([](tDeviceData& d) { d.tableInfoOverride = {{100, 64}, {0, 256}, {9, 4}, {1, 0x3FF}}; });
    std::vector<tFBCTable> tables;
    ASSERT_TRUE(m_service.GetTableInfo(tables));
    EXPECT_EQ(tables, (std::vector<tFBCTable>{256, (1 << 9) | 0x1FF, (9 << 9) | 4, (100 << 9) | 64}));
}

using TCPIPClockAndCard = SimulatedDevice;

TEST_F(TCPIPClockAndCard, DateTimeAndRealTimeClock)
{
    ASSERT_TRUE(m_service.SetDateTime(1'700'000'000u, static_cast<short>(-120), static_cast<short>(1)));
    unsigned int seconds = 0;
    short zone = 0, daylight = 0;
    ASSERT_TRUE(m_service.GetDateTime(seconds, zone, daylight));
    EXPECT_EQ(seconds, 1'700'000'000u);
    EXPECT_EQ(zone, -120);
    EXPECT_EQ(daylight, 1);
    ASSERT_TRUE(m_service.GetRealTimeClock(seconds, zone));
    EXPECT_EQ(zone, -2);
    ASSERT_TRUE(m_service.SetRealTimeClock(1234u, static_cast<short>(3)));
    EXPECT_EQ(m_sim.Model().Get().zoneMinutes, 180);

    FailService(0x118, STATUS_NOT_SUPPORTED);
    EXPECT_FALSE(m_service.GetDateTime(seconds, zone, daylight));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
    EXPECT_EQ(seconds, 0u);
    EXPECT_EQ(zone, 0);
    EXPECT_EQ(daylight, -1);
}

TEST_F(TCPIPClockAndCard, MemoryCardWordsAndRootLocation)
{
    Device([](tDeviceData& d) {
        d.sdCard = tSDCard{true, 2, true, 1024, 512, 0x12345678};
        d.plcRootLocation = 1;
    });
    std::vector<unsigned short> words;
    ASSERT_TRUE(m_service.GetSDCardStatus(words));
    EXPECT_EQ(words, (std::vector<unsigned short>{1, 2, 1, 1024, 512, 0x5678, 0x1234}));
    unsigned short location = 0;
    ASSERT_TRUE(m_service.GetPLCRootLocation(location));
    EXPECT_EQ(location, 1);
    ASSERT_TRUE(m_service.SetPLCRootLocation(2));
    EXPECT_EQ(m_sim.Model().Get().plcRootLocation, 2);
}

using TCPIPMonitor = SimulatedDevice;

TEST_F(TCPIPMonitor, EntriesSizeAndPointer)
{
    Device([](tDeviceData& d) {
        d.monitor = {tMonitorEntry{100, -5, 3, 0x02, 50}, tMonitorEntry{0x01020304, 7, 0xC0, 0x01, 0x0A0B0C0D}};
        d.monitorReadPos = 1;
    });
    unsigned short size = 0;
    ASSERT_TRUE(m_service.GetTerminalBusMonitorSize(size));
    EXPECT_EQ(size, 2);
    ASSERT_TRUE(m_service.ResetTerminalBusMonitorPtr());
    tKBMonEntry entry;
    ASSERT_TRUE(m_service.GetTerminalBusMonitorEntry(entry, nullptr));
    EXPECT_EQ(entry.dwEventTime, 100u);
    EXPECT_EQ(entry.sErrorCode, -5);
    EXPECT_EQ(entry.byArgument, 3);
    EXPECT_EQ(entry.byFlags, 0x02);
    EXPECT_EQ(entry.dwReferenceTime, 50u);
    const long long before = _time64(nullptr);
    long long readTime = 0;
    ASSERT_TRUE(m_service.GetTerminalBusMonitorEntry(entry, &readTime));
    EXPECT_GE(readTime, before);
    EXPECT_LE(readTime, _time64(nullptr));
    EXPECT_EQ(entry.dwEventTime, 0x01020304u);
    EXPECT_EQ(entry.dwReferenceTime, 0x0A0B0C0Du);
    EXPECT_EQ(entry.byArgument, 0xC0);
    ASSERT_TRUE(m_service.ClearTerminalBusMonitor());
    EXPECT_TRUE(m_sim.Model().Get().monitor.empty());
}

using TCPIPRuntime = SimulatedDevice;

TEST_F(TCPIPRuntime, SystemsAndTheActiveOne)
{
    Device([](tDeviceData& d) {
        d.runtimeSystems = {1, 3};
        d.commandStates[0x0302] = 5;
    });
    std::vector<unsigned short> systems;
    ASSERT_TRUE(m_service.GetRuntimeSystems(systems));
    EXPECT_EQ(systems, (std::vector<unsigned short>{1, 3}));
    ASSERT_TRUE(m_service.SetActiveRuntimeSystem(3));
    unsigned short active = 0;
    ASSERT_TRUE(m_service.GetActiveRuntimeSystem(active));
    EXPECT_EQ(active, 3);
    EXPECT_FALSE(m_service.SetActiveRuntimeSystem(7));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088213u);

    tServiceState state;
    ASSERT_TRUE(m_service.GetServiceState(3, 2, state));
    EXPECT_EQ(state.wService, 0x0302);
    EXPECT_EQ(state.wState, 5);
    EXPECT_EQ(state.sThirdWord, 0);
}

class TCPIPWaits : public SimulatedDevice {
protected:
    // Milliseconds the operation slept on the manual clock.
    template<typename Operation>
    ULONGLONG Slept(Operation operation)
    {
        Platform::ManualClockScope clock(1'000'000);
        const ULONGLONG start = GetTickCount64();
        EXPECT_TRUE(operation()) << std::hex << m_service.GetLastErrorCode();
        return GetTickCount64() - start;
    }
};

TEST_F(TCPIPWaits, RestartWaitsTheLongerOfDeviceAndSetting)
{
    Device([](tDeviceData& d) { d.restartSeconds = 20; });
    EXPECT_EQ(Slept([&] { return m_service.RestartSystem(); }), 30'000u);
    EXPECT_EQ(Slept([&] { return m_service.RestartSystemWithoutWaiting(); }), 0u);
    EXPECT_EQ(m_sim.Model().Get().restartCount, 2u);
    Device([](tDeviceData& d) { d.restartSeconds = 45; });
    EXPECT_EQ(Slept([&] { return m_service.RestartSystem(); }), 45'000u);
}

TEST_F(TCPIPWaits, ServicesSleepWhatTheDeviceAnnounces)
{
    Device([](tDeviceData& d) {
        d.factoryResetSeconds = 4;
        d.storeSeconds = 2;
        d.terminalBusRestartSeconds = 3;
        d.fileSystemSeconds = 6;
        d.plcRootSeconds = 1;
    });
    EXPECT_EQ(Slept([&] { return m_service.SetFactoryDefaults(); }), 4'000u);
    EXPECT_EQ(Slept([&] { return m_service.SetFactoryDefaultsWithoutWaiting(); }), 0u);
    EXPECT_EQ(Slept([&] { return m_service.SaveParameter(); }), 2'000u);
    EXPECT_EQ(Slept([&] { return m_service.TerminalBusReset(); }), 3'000u);
    EXPECT_EQ(Slept([&] { return m_service.ExtractFiles(1); }), 6'000u);
    EXPECT_EQ(Slept([&] { return m_service.FormatFlashDisk(2); }), 6'000u);
    EXPECT_EQ(Slept([&] { return m_service.SetPLCRootLocation(1); }), 1'000u);
    const tDeviceData d = m_sim.Model().Get();
    EXPECT_EQ(d.factoryResetCount, 2u);
    EXPECT_EQ(d.extractCount, 1u);
    EXPECT_EQ(d.formatCount, 1u);
    EXPECT_EQ(d.lastFileGroup, 2);
}

TEST_F(TCPIPWaits, AWildDeviceWaitIsCapped)
{
    Device([](tDeviceData& d) {
        d.storeSeconds = 0xFFFF;
        d.restartSeconds = 0xFFFF;
    });
    EXPECT_EQ(Slept([&] { return m_service.SaveParameter(); }), CTCPIPServiceBase::kMaxDeviceWaitSeconds * 1000u);
    EXPECT_EQ(Slept([&] { return m_service.RestartSystem(); }), CTCPIPServiceBase::kMaxDeviceWaitSeconds * 1000u);
}

using TCPIPFailures = SimulatedDevice;

TEST_F(TCPIPFailures, DeviceStatusBecomesTheCode)
{
    unsigned short value = 0;
    FailService(0x107, STATUS_REJECTED);
    EXPECT_FALSE(m_service.GetAddressSwitchSetting(value));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088214u);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u) << "read once";
    Device([](tDeviceData& d) { d.unsupportedServices = {0x503}; });
    EXPECT_FALSE(m_service.GetEthernetInterfaceMode(value));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
    EXPECT_FALSE(m_service.GetParameterChecksum(value));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
    ASSERT_TRUE(m_service.GetAddressSwitchSetting(value)) << "no code left over";
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(TCPIPFailures, MalformedAnswersAndLostConnections)
{
    unsigned short value = 0;
    Fault(ENFault::WrongServiceEcho, 0x107);
    EXPECT_FALSE(m_service.GetAddressSwitchSetting(value));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20080000u);

    std::wstring serial;
    Fault(ENFault::ShortFrame, 0x108);
    EXPECT_FALSE(m_service.GetSerialNumber(serial));
    EXPECT_NE(m_service.GetLastErrorCode(), 0u);

    m_connection.Close();
    EXPECT_FALSE(m_service.GetSerialNumber(serial));
    EXPECT_EQ(m_service.GetLastErrorCode(), ZELL::CServiceAPI::kNotConnected);
}

TEST_F(TCPIPFailures, TracesAndLoggingReachTheServiceAPI)
{
    CDebugCapture capture;
    // The service API traces through the library-wide switch.
    SetDebugTraceEnabled(true);
    m_service.EnableLogging(true, L"tcp");
    unsigned short value = 0;
    ASSERT_TRUE(m_service.GetAddressSwitchSetting(value));
    FailService(0x107, STATUS_REJECTED);
    EXPECT_FALSE(m_service.GetAddressSwitchSetting(value));
    m_service.EnableLogging(false, nullptr);
    SetDebugTraceEnabled(false);
    const std::wstring text = capture.Text();
    EXPECT_NE(text.find(L"CServiceAPI - Logging enabled!"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### ENTER - CTCPIPServiceBase::GetAddressSwitchSetting"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CTCPIPServiceBase::GetAddressSwitchSetting with true"), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CTCPIPServiceBase::GetAddressSwitchSetting with error 0x20088214"),
              std::wstring::npos);
}

}
