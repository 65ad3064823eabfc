#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/Tests/ServiceProtocolFakeDevice.h"
#include "Platform/Base/Clock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace ZELL::Testing {
namespace {

// A device answering each service request (the data behind the fragment
// header) with the bytes the test's function gives.
struct ServiceRig {
    using Service = std::function<Bytes(const Bytes& request)>;

    explicit ServiceRig(Service service_)
        : service(std::move(service_))
        , connection([this](const Bytes& frame) {
            requests.emplace_back(frame.begin() + 18, frame.end());
            return std::vector<Bytes>{AnswerTo(frame, 0x0004, 0, service(requests.back()))};
        })
    {
    }

    Service service;
    std::vector<Bytes> requests;
    CFakeDeviceConnection connection;
    CServiceProtocol protocol{&connection};
    CServiceAPI api{&protocol};
};

Bytes Reply(unsigned short code, unsigned short status, std::initializer_list<unsigned short> words = {})
{
    Bytes bytes;
    AppendWord(bytes, code);
    AppendWord(bytes, status);
    for (unsigned short word : words)
        AppendWord(bytes, word);
    return bytes;
}

TEST(ServiceAPIErrors, ClosedConnectionSendsNothing)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x102, 0, {5}); });
    rig.connection.m_open = false;
    WORD seconds = 0;
    EXPECT_FALSE(rig.api.RestartSystem(seconds));
    EXPECT_TRUE(rig.connection.m_writes.empty());
    EXPECT_EQ(rig.api.GetLastError(), 0x202008CAu);
    EXPECT_EQ(rig.api.GetLastError(), 0u) << "read once";
}

TEST(ServiceAPIErrors, StatusEchoAndProtocolFailures)
{
    ServiceRig rig([](const Bytes& request) { return Reply(Word(request, 0), 0x8212); });
    WORD value = 0;
    EXPECT_FALSE(rig.api.GetAddressSwitchSetting(value));
    EXPECT_EQ(rig.api.GetLastError(), 0x20088212u);

    rig.service = [](const Bytes&) { return Reply(0x999, 0, {1}); };
    EXPECT_FALSE(rig.api.GetAddressSwitchSetting(value));
    EXPECT_EQ(rig.api.GetLastError(), 0x20080000u) << "wrong echo with status 0";

    rig.connection.m_throwOnWrite = true;
    EXPECT_FALSE(rig.api.GetAddressSwitchSetting(value));
    EXPECT_EQ(rig.api.GetLastError(), 0x20300001u);
}

TEST(ServiceAPIErrors, ShortAnswersAreRefusedNotReadPast)
{
    ServiceRig rig([](const Bytes& request) { return Reply(Word(request, 0), 0); });
    WORD value = 7;
    EXPECT_FALSE(rig.api.RestartSystem(value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(rig.api.GetLastError(), 0x20080000u);

    rig.service = [](const Bytes&) { return Reply(0x113, 0, {3, 1, 2}); };
    WORD count = 0;
    t_Table_Details* tables = nullptr;
    EXPECT_FALSE(rig.api.GetTableInfo(count, &tables)) << "three tables announced, one delivered";
    EXPECT_EQ(tables, nullptr);

    rig.service = [](const Bytes&) { return Reply(0x501, 0, {0, 1, 0, 40, 0x0201}); };
    WORD length = 0;
    BYTE* data = nullptr;
    EXPECT_FALSE(rig.api.GetNetworkParameter(1, 0, 0, length, &data));
    EXPECT_EQ(data, nullptr);
}

TEST(ServiceAPIRecords, DeviceStateOfTwentyBytesKeepsTheNinthWord)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x106, 0, {1, 2, 3, 4, 5, 6, 7, 8}); });
    t_DeviceStates states{};
    states.words[8] = 0xBEEF;
    ASSERT_TRUE(rig.api.GetDeviceState(states));
    EXPECT_EQ(states.words[0], 1);
    EXPECT_EQ(states.words[7], 8);
    EXPECT_EQ(states.words[8], 0xBEEF);
}

TEST(ServiceAPIRecords, TextAnswersAreTerminated)
{
    ServiceRig rig([](const Bytes&) {
        Bytes reply = Reply(0x108, 0, {0, 0, 0});
        for (char c : std::string("ORDER=0614-0352"))
            reply.push_back(static_cast<BYTE>(c));
        return reply;
    });
    char* text = new char[2]{'x', 0};
    ASSERT_TRUE(rig.api.IdentifyDevice(&text));
    EXPECT_STREQ(text, "ORDER=0614-0352");
    delete[] text;
    EXPECT_EQ(Word(rig.requests.at(0), 0), 0x108);
}

TEST(ServiceAPIRecords, TableInfoAndRuntimeSystems)
{
    ServiceRig rig([](const Bytes& request) {
        if (Word(request, 0) == 0x113)
            return Reply(0x113, 0, {2, 10, 100, 11, 200});
        return Reply(0x601, 0, {1, 3, 5});
    });
    WORD count = 0;
    t_Table_Details* tables = nullptr;
    ASSERT_TRUE(rig.api.GetTableInfo(count, &tables));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(tables[1].tableNumber, 11);
    EXPECT_EQ(tables[1].registerCount, 200);
    delete[] tables;
    WORD* list = nullptr;
    DWORD systems = 0;
    ASSERT_TRUE(rig.api.GetRuntimeSystems(&list, systems));
    ASSERT_EQ(systems, 3u);
    EXPECT_EQ(list[2], 5);
    delete[] list;
}

TEST(ServiceAPIChecks, SwitchAndEchoChecks)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x10B, 0, {1}); });
    EXPECT_FALSE(rig.api.EnableControlMode(true));
    EXPECT_EQ(rig.api.GetLastError(), 0x20080000u);
    EXPECT_TRUE(rig.api.EnableControlMode(false));
    EXPECT_EQ(Word(rig.requests.at(0), 2), 2);

    rig.service = [](const Bytes& request) { return Reply(0x101, 0, {static_cast<unsigned short>(Word(request, 2) != 0 ? 1 : 0)}); };
    EXPECT_TRUE(rig.api.EnableWriteAccess(true));
    EXPECT_EQ(Word(rig.requests.back(), 2), 0x5C3B);
}

// The monitor resets answer with or without a word; a bare answer keeps the
// caller's value.
TEST(ServiceAPIChecks, MonitorResetsTakeAWordOnlyWhenOneIsSent)
{
    ServiceRig rig([](const Bytes& request) { return Reply(Word(request, 0), 0, {9}); });
    WORD first = 0;
    WORD cleared = 0;
    EXPECT_TRUE(rig.api.SetTerminalBusMonitorFirst(first));
    EXPECT_TRUE(rig.api.ClearTerminalBusMonitor(cleared));
    EXPECT_EQ(first, 9);
    EXPECT_EQ(cleared, 9);
    EXPECT_EQ(Word(rig.requests.at(0), 0), 0x226);
    EXPECT_EQ(Word(rig.requests.at(1), 0), 0x228);

    rig.service = [](const Bytes& request) { return Reply(Word(request, 0), 0); };
    first = 4;
    cleared = 5;
    EXPECT_TRUE(rig.api.SetTerminalBusMonitorFirst(first));
    EXPECT_TRUE(rig.api.ClearTerminalBusMonitor(cleared));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(cleared, 5);
}

TEST(ServiceAPIChecks, FileSystemBusyCountsAsSuccess)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x301, 0x821D, {12}); });
    WORD value = 0;
    EXPECT_TRUE(rig.api.ExtractFiles(value, eFileGroups{3}));
    EXPECT_EQ(value, 12);
    EXPECT_EQ(Word(rig.requests.at(0), 2), 3);
    rig.service = [](const Bytes&) { return Reply(0x301, 2, {12}); };
    EXPECT_FALSE(rig.api.ExtractFiles(value, eFileGroups{3}));
    EXPECT_EQ(rig.api.GetLastError(), 0x20080002u);
}

TEST(ServiceAPIChecks, RegisterForms)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x402, 0, {0, 0, 0, 0xFFFC}); });
    const WORD words[] = {1, 2};
    EXPECT_FALSE(rig.api.WriteRegister(0, 1, 2, 2, words, false));
    EXPECT_EQ(rig.api.GetLastError(), 0x20088302u);
    EXPECT_EQ(rig.requests.at(0).size(), 14u);

    rig.service = [](const Bytes&) { return Reply(0x401, 0x1111, {0, 0, 0, 0, 5, 6, 7}); };
    WORD read[4] = {};
    EXPECT_FALSE(rig.api.ReadRegister(0, 1, 2, 4, read));
    EXPECT_EQ(rig.api.GetLastError(), 0x20200001u) << "status bytes 2 to 9 are not examined";
    rig.service = [](const Bytes&) { return Reply(0x401, 0, {0, 0, 0, 0, 5, 6, 7, 8}); };
    ASSERT_TRUE(rig.api.ReadRegister(0, 1, 2, 4, read));
    EXPECT_EQ(read[3], 8);
}

TEST(ServiceAPIEthernetMode, BusyWaitsTheDeviceSecondsCappedAtTheRestartTimeOut)
{
    Platform::ManualClockScope clock(1000);
    ServiceRig rig([](const Bytes&) { return Reply(0x504, 0x821D, {5}); });
    ULONGLONG before = Platform::Clock::NowMs();
    EXPECT_FALSE(rig.api.SetEthernetInterfaceMode(2));
    EXPECT_EQ(Platform::Clock::NowMs() - before, 5000u);
    EXPECT_EQ(rig.api.GetLastError(), 0x2008821Du);

    rig.service = [](const Bytes&) { return Reply(0x504, 0x821D, {65535}); };
    rig.connection.m_restartTimeout = 20;
    before = Platform::Clock::NowMs();
    EXPECT_FALSE(rig.api.SetEthernetInterfaceMode(2));
    EXPECT_EQ(Platform::Clock::NowMs() - before, 20000u);
}

TEST(ServiceAPIEthernetMode, MismatchAndForeignAnswersFailWithACode)
{
    ServiceRig rig([](const Bytes&) { return Reply(0x504, 0, {2}); });
    EXPECT_TRUE(rig.api.SetEthernetInterfaceMode(2));
    EXPECT_FALSE(rig.api.SetEthernetInterfaceMode(3));
    EXPECT_EQ(rig.api.GetLastError(), 0x20080000u);
    rig.service = [](const Bytes&) { return Reply(0x503, 0, {2}); };
    EXPECT_FALSE(rig.api.SetEthernetInterfaceMode(2));
    EXPECT_EQ(rig.api.GetLastError(), 0x20080000u);
    rig.service = [](const Bytes&) { return Reply(0x504, 0x8213, {2}); };
    EXPECT_FALSE(rig.api.SetEthernetInterfaceMode(2));
    EXPECT_EQ(rig.api.GetLastError(), 0x20088213u);
}

TEST(ServiceAPIRequests, ArgumentLayouts)
{
    ServiceRig rig([](const Bytes& request) { return Reply(Word(request, 0), 0); });
    EXPECT_TRUE(rig.api.ControlParamSequence(1, 2, 3));
    EXPECT_EQ(rig.requests.back(), (Bytes{0x20, 1, 1, 0, 3, 0, 2, 0}));
    EXPECT_TRUE(rig.api.SetRealTimeClock(0x01020304, -2));
    EXPECT_EQ(rig.requests.back(), (Bytes{0x17, 1, 4, 3, 2, 1, 0xFE, 0xFF}));
    const BYTE data[] = {9, 8, 7};
    EXPECT_TRUE(rig.api.SetNetworkParameter(1, 2, 3, 3, data));
    EXPECT_EQ(rig.requests.back(), (Bytes{2, 5, 0, 0, 1, 0, 2, 0, 3, 0, 3, 0, 9, 8, 7}));
}

TEST(DeviceAPIBase, SettingsAreUnsupported)
{
    CServiceAPI api(nullptr);
    const std::wstring block = api.GetSettingsValue(L"anything");
    EXPECT_NE(block.find(L"  Class:\t\tCDeviceAPIBase\n  Function:\tGetSettingsValue( )\n"), std::wstring::npos);
    EXPECT_EQ(api.GetSettingsValue(L"other"), block);
    EXPECT_FALSE(api.SetSettingsXML(L"<x/>"));
    EXPECT_FALSE(api.LoadSettingsXML(L"f"));
    EXPECT_EQ(api.GetDriverInfo(), L"1.0");
}

}
}
