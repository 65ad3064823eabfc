#include "Products/Corvane/Pages/Codecs/ClockCodec.h"

#include <gtest/gtest.h>

namespace Corvane {

TEST(ClockCodec, ZoneListAndLookup)
{
    EXPECT_EQ(CClockCodec::Zones().size(), 39u);
    EXPECT_EQ(CClockCodec::FindZone(-210), 10);
    EXPECT_STREQ(CClockCodec::Zones()[10].Text, L"UTC -03:30");
    EXPECT_EQ(CClockCodec::FindZone(0), 14);
    EXPECT_EQ(CClockCodec::FindZone(840), 38);
    EXPECT_EQ(CClockCodec::FindZone(90), -1);
}

TEST(ClockCodec, PcZoneTextKeepsSignAndMinutes)
{
    EXPECT_EQ(CClockCodec::PcZoneText(0), L"UTC");
    EXPECT_EQ(CClockCodec::PcZoneText(-210), L"UTC -03:30");
    EXPECT_EQ(CClockCodec::PcZoneText(-30), L"UTC -00:30");
    EXPECT_EQ(CClockCodec::PcZoneText(345), L"UTC +05:45");
    EXPECT_EQ(CClockCodec::PcZoneText(60), L"UTC +01:00");
}

TEST(ClockCodec, PickersAreLimitedToTheDevicesSeconds)
{
    const CClockCodec::CDateTime first{1970, 1, 1, 0, 0, 0};
    const CClockCodec::CDateTime last{2106, 2, 7, 6, 28, 15};
    EXPECT_EQ(CClockCodec::PickerMinimum(), first);
    EXPECT_EQ(CClockCodec::PickerMaximum(), last);
    EXPECT_EQ(CClockCodec::DeviceSeconds(first), 0u);
    EXPECT_EQ(CClockCodec::DeviceSeconds(last), 0xFFFFFFFFu);
    EXPECT_FALSE(CClockCodec::DeviceSeconds({2106, 2, 7, 6, 28, 16}));
    EXPECT_FALSE(CClockCodec::DeviceSeconds({1969, 12, 31, 23, 59, 59}));
    EXPECT_FALSE(CClockCodec::DeviceSeconds({2023, 2, 29, 0, 0, 0}));
    EXPECT_EQ(CClockCodec::DeviceSeconds({2024, 2, 29, 12, 0, 0}), 1709208000u);
}

TEST(ClockCodec, SecondsAndDatesRoundTrip)
{
    for (std::int64_t seconds : {0ll, 951782400ll, 1709208000ll, 4102444799ll, 0xFFFFFFFFll}) {
        const CClockCodec::CDateTime value = CClockCodec::FromSeconds(seconds);
        EXPECT_EQ(CClockCodec::ToSeconds(value), seconds);
    }
    const CClockCodec::CDateTime leapDay = CClockCodec::FromSeconds(951782400); // 2000-02-29
    EXPECT_EQ(leapDay.Year, 2000);
    EXPECT_EQ(leapDay.Month, 2);
    EXPECT_EQ(leapDay.Day, 29);
    EXPECT_EQ(CClockCodec::FromSeconds(-1).Year, 1969);
}

TEST(ClockCodec, DeviceLocalTime)
{
    CClockCodec::tDateTime record;
    record.dwSeconds = 1000000;
    record.sZoneMinutes = -210;
    record.sDaylightSaving = -1;
    EXPECT_FALSE(CClockCodec::HasDaylightSaving(record));
    EXPECT_EQ(CClockCodec::DeviceLocalSeconds(record), 1000000 - 12600);
    record.sDaylightSaving = 1;
    EXPECT_EQ(CClockCodec::DeviceLocalSeconds(record), 1000000 - 12600 + 3600);
    record.dwSeconds = 0;
    record.sZoneMinutes = -60;
    record.sDaylightSaving = 0;
    EXPECT_EQ(CClockCodec::DeviceLocalSeconds(record), -3600);
}

TEST(ClockCodec, SyncRecordOnlyForTimesTheDeviceCanCount)
{
    const auto record = CClockCodec::SyncRecord(1709208000, 60, true);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->dwSeconds, 1709208000u);
    EXPECT_EQ(record->sZoneMinutes, 60);
    EXPECT_EQ(record->sDaylightSaving, 1);
    EXPECT_FALSE(CClockCodec::SyncRecord(0x100000000ll, 0, false));
    EXPECT_FALSE(CClockCodec::SyncRecord(-1, 0, false));
}

}  // namespace Corvane
