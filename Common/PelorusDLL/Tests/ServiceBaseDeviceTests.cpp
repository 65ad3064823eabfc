#include "Common/PelorusDLL/Tests/MemoryService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Words = std::vector<unsigned short>;

class DeviceModes : public ::testing::Test {
protected:
    CFakeConnection m_connection;
    CMemoryService m_service{&m_connection};

    void SetUp() override { m_service.m_states = Words(9, 0); }
};

TEST_F(DeviceModes, MonitorModeAlreadyOnNeedsNoSwitch)
{
    m_service.m_states[3] = 1;
    ASSERT_TRUE(m_service.EnableBKMonitorMode(true));
    EXPECT_EQ(m_service.Calls("EnableBKMonitorModeWithoutCheck"), 0);
    ASSERT_TRUE(m_service.EnableBKMonitorMode(false));
    EXPECT_EQ(m_service.m_states[3], 0);
}

TEST_F(DeviceModes, MonitorModeIsRefusedWhileControlModeIsOn)
{
    m_service.m_states[4] = 1;
    EXPECT_FALSE(m_service.EnableBKMonitorMode(true));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_MONITOR_MODE_CONTROL);
    EXPECT_EQ(m_service.Calls("EnableBKMonitorModeWithoutCheck"), 0);
}

TEST_F(DeviceModes, ModeThatDoesNotTakeIsReported)
{
    m_service.m_onMonitorMode = [](bool) {};
    EXPECT_FALSE(m_service.EnableBKMonitorMode(true));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_MONITOR_MODE_OFF);

    struct Case {
        unsigned short fieldbus, monitor;
        DWORD code;
    };
    m_service.m_onControlMode = [](bool) {};
    for (const Case& c : {Case{0, 1, PELORUS_ERROR_CONTROL_MODE_MONITOR}, Case{1, 0, PELORUS_ERROR_CONTROL_MODE_FIELDBUS},
                          Case{0, 0, PELORUS_ERROR_CONTROL_MODE_OFF}}) {
        m_service.m_states[0] = c.fieldbus;
        m_service.m_states[3] = c.monitor;
        EXPECT_FALSE(m_service.EnableBKControlMode(true));
        EXPECT_EQ(m_service.GetLastErrorCode(), c.code);
    }
}

TEST_F(DeviceModes, ControlModeSwitchesWithoutThePreCheck)
{
    m_service.m_states[3] = 1;
    m_service.m_onControlMode = [&](bool on) {
        m_service.m_states[4] = on ? 1 : 0;
        m_service.m_states[3] = 0;
    };
    ASSERT_TRUE(m_service.EnableBKControlMode(true));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(DeviceModes, TooFewStateWordsAreAnError)
{
    m_service.m_states = Words(4, 1);
    EXPECT_FALSE(m_service.EnableBKMonitorMode(true));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
    EXPECT_FALSE(m_service.EnableBKControlMode(false));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
    // Five words switch on, and the answer after switching has three.
    m_service.m_states = Words(5, 0);
    m_service.m_onControlMode = [&](bool) { m_service.m_states.resize(3); };
    EXPECT_FALSE(m_service.EnableBKControlMode(true));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
}

TEST_F(DeviceModes, ClockFallsBackToTheRealTimeClock)
{
    m_service.m_clockSeconds = 1700000000;
    m_service.m_rtcZoneHours = -2;
    m_service.Fail("GetDateTime", PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
    CServiceBase::tDateTime time;
    time.sDaylightSaving = 1;
    ASSERT_TRUE(m_service.GetDateTimeSettings(time));
    EXPECT_EQ(time.dwSeconds, 1700000000u);
    EXPECT_EQ(time.sZoneMinutes, -120);
    EXPECT_EQ(time.sDaylightSaving, -1);

    m_service.Fail("SetDateTime", PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
    time.sZoneMinutes = 180;
    ASSERT_TRUE(m_service.SetDateTimeSettings(time));
    ASSERT_EQ(m_service.m_realTimeClocksSet.size(), 1u);
    EXPECT_EQ(m_service.m_realTimeClocksSet[0], (std::pair<unsigned int, short>{1700000000u, 3}));
}

TEST_F(DeviceModes, ClockWithTheFullServiceOrAnotherFailure)
{
    m_service.m_clockSeconds = 42;
    m_service.m_clockZoneMinutes = 60;
    m_service.m_clockDaylightSaving = 1;
    CServiceBase::tDateTime time;
    ASSERT_TRUE(m_service.GetDateTimeSettings(time));
    EXPECT_EQ(time.sZoneMinutes, 60);
    EXPECT_EQ(time.sDaylightSaving, 1);
    EXPECT_EQ(m_service.Calls("GetRealTimeClock"), 0);

    m_service.Fail("GetDateTime", 0x20010200);
    EXPECT_FALSE(m_service.GetDateTimeSettings(time));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    EXPECT_EQ(m_service.Calls("GetRealTimeClock"), 0);
}

tKBMonEntry Entry(DWORD event, short code, BYTE argument, BYTE flags, DWORD reference)
{
    tKBMonEntry entry;
    entry.dwEventTime = event;
    entry.sErrorCode = code;
    entry.byArgument = argument;
    entry.byFlags = flags;
    entry.dwReferenceTime = reference;
    return entry;
}

TEST_F(DeviceModes, MonitorTicksBecomeTimesBeforeTheReading)
{
    m_service.m_monitorReadTime = 1000000;
    m_service.m_monitor = {Entry(100, 7, 3, 0x01, 600)};
    tKBMonEntryEx entry;
    ASSERT_TRUE(m_service.GetTerminalBusMonitorEntryEx(entry));
    EXPECT_EQ(entry.llStartTime, 1000000 - 60);
    EXPECT_EQ(entry.llEventTime, 1000000 - 50);
    EXPECT_EQ(entry.llSecondsSinceStart, 10);
    EXPECT_EQ(entry.wErrorCode, 7);
    EXPECT_EQ(entry.byArgument, 3);
    EXPECT_EQ(entry.byEntryFlag, 1);
    EXPECT_EQ(entry.byAbsoluteTimes, 0);
}

TEST_F(DeviceModes, MonitorAbsoluteTimesArePassedThrough)
{
    m_service.m_monitor = {Entry(1700000500, -1, 0, 0x02, 1700000000)};
    tKBMonEntryEx entry;
    ASSERT_TRUE(m_service.GetTerminalBusMonitorEntryEx(entry));
    EXPECT_EQ(entry.llEventTime, 1700000500);
    EXPECT_EQ(entry.llStartTime, 1700000000);
    EXPECT_EQ(entry.llSecondsSinceStart, 500);
    EXPECT_EQ(entry.wErrorCode, 0xFFFF);
    EXPECT_EQ(entry.byAbsoluteTimes, 1);
}

TEST_F(DeviceModes, MonitorListSkipsEmptyEntriesAndMarksSinceTheRestart)
{
    m_service.m_monitor = {Entry(1, 5, 1, 0, 10), Entry(2, -1, 0, 0, 10), Entry(3, 0, 0xC0, 0, 10),
                       Entry(4, 9, 2, 0, 10), Entry(5, -1, 0, 0, 10), Entry(6, 11, 4, 0, 10)};
    m_service.m_monitorSize = 4;
    m_service.m_monitorPointer = 3;
    std::vector<tKBMonEntryEx> entries(2);
    ASSERT_TRUE(m_service.GetTerminalBusMonitorEntries(entries));
    ASSERT_EQ(entries.size(), 4u);
    std::vector<int> codes;
    std::vector<int> marks;
    for (const auto& entry : entries) {
        codes.push_back(entry.wErrorCode);
        marks.push_back(entry.byAbsoluteTimes);
    }
    EXPECT_EQ(codes, (std::vector<int>{5, 0, 9, 11}));
    EXPECT_EQ(marks, (std::vector<int>{0, 1, 1, 1}));
}

TEST_F(DeviceModes, MonitorOfOnlyEmptyEntriesEnds)
{
    m_service.m_monitor = {Entry(1, -1, 0, 0, 10)};
    m_service.m_monitorSize = 3;
    std::vector<tKBMonEntryEx> entries;
    EXPECT_FALSE(m_service.GetTerminalBusMonitorEntries(entries));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
    EXPECT_EQ(m_service.Calls("GetTerminalBusMonitorEntry"), 65535);
    EXPECT_TRUE(entries.empty());
}

TEST_F(DeviceModes, MemoryCardWords)
{
    m_service.m_cardWords = {1, 2, 0, 1024, 512, 0x5678, 0x1234};
    m_service.m_rootLocation = 3;
    CServiceBase::tSDCardInfo info;
    ASSERT_TRUE(m_service.GetSDCardInformation(info));
    EXPECT_TRUE(info.bInserted);
    EXPECT_EQ(info.wCardType, 2);
    EXPECT_FALSE(info.bWriteProtected);
    EXPECT_EQ(info.wCapacity, 1024);
    EXPECT_EQ(info.wFreeMemory, 512);
    EXPECT_EQ(info.dwSerialNumber, 0x12345678u);
    EXPECT_EQ(info.wRootLocation, 3);

    m_service.m_cardWords.resize(6);
    EXPECT_FALSE(m_service.GetSDCardInformation(info));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
}

class ShortIdentification : public DeviceModes {
protected:
    void SetUp() override
    {
        m_service.m_order = L"123-45";
        m_service.m_description = L"Coupler";
        m_service.m_hardware = L"03";
        m_service.m_software = L"01.07";
    }
    std::vector<unsigned char> Buffer(unsigned short size)
    {
        std::vector<unsigned char> buffer(size + 8, 0xEE);
        m_result = m_service.BasicFbcIdentification(buffer.data(), size);
        return buffer;
    }
    bool m_result = false;
};

TEST_F(ShortIdentification, FourLengthPrefixedTexts)
{
    const std::vector<unsigned char> buffer = Buffer(64);
    ASSERT_TRUE(m_result);
    const std::string expected = std::string("\x09") + "0123-0045" + "\x07" + "Coupler" + "\x02" + "03" + "\x05" +
                                 "01.07";
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(buffer[expected.size()], 0xEE);
}

TEST_F(ShortIdentification, TextThatDoesNotFitIsLeftOutWithAllAfterIt)
{
    // Exactly the first two texts (10 + 8 bytes), then one byte short of the third.
    for (unsigned short size : {18, 20}) {
        const std::vector<unsigned char> buffer = Buffer(size);
        ASSERT_TRUE(m_result);
        EXPECT_EQ(buffer[10], 7);
        EXPECT_TRUE(std::all_of(buffer.begin() + 18, buffer.end(), [](unsigned char b) { return b == 0xEE; }))
            << size;
    }
    const std::vector<unsigned char> tiny = Buffer(9);
    EXPECT_TRUE(std::all_of(tiny.begin(), tiny.end(), [](unsigned char b) { return b == 0xEE; }));
}

TEST_F(ShortIdentification, FailedIdentificationWritesNothing)
{
    m_service.Fail("IdentifyDevice", 0x20010200);
    const std::vector<unsigned char> buffer = Buffer(64);
    EXPECT_FALSE(m_result);
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    EXPECT_FALSE(m_service.BasicFbcIdentification(nullptr, 10));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
}

}
