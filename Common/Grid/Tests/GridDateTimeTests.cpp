#include "Common/Grid/GridDateTime.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 0};
}

}

TEST(GridDateTime, ConvertsToDaysSinceTheVariantEpoch)
{
    double value = -1;
    ASSERT_TRUE(GridDateTimeFromSystemTime(Time(1899, 12, 30), &value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    ASSERT_TRUE(GridDateTimeFromSystemTime(Time(1900, 1, 1, 18), &value));
    EXPECT_DOUBLE_EQ(value, 2.75);
    ASSERT_TRUE(GridDateTimeFromSystemTime(Time(2000, 2, 29, 12), &value));
    EXPECT_DOUBLE_EQ(value, 36585.5);
    // Before the epoch the time of day still counts forward.
    ASSERT_TRUE(GridDateTimeFromSystemTime(Time(1899, 12, 29, 6), &value));
    EXPECT_DOUBLE_EQ(value, -1.25);
}

TEST(GridDateTime, RejectsDatesThatDoNotExist)
{
    double value = 7;
    EXPECT_FALSE(GridDateTimeFromSystemTime(Time(2001, 2, 29), &value));
    EXPECT_FALSE(GridDateTimeFromSystemTime(Time(2001, 13, 1), &value));
    EXPECT_FALSE(GridDateTimeFromSystemTime(Time(2001, 1, 1, 24), &value));
    EXPECT_FALSE(GridDateTimeFromSystemTime(Time(99, 1, 1), &value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(GridDateTimeFromSystemTime(Time(2001, 1, 1), nullptr));
}

TEST(GridDateTime, FormatsValidNullAndInvalidValues)
{
    GridDateTime stamp;
    ASSERT_TRUE(GridDateTimeFromSystemTime(Time(2026, 12, 9, 10, 5, 7), &stamp.value));
    stamp.status = GridDateTime::kValid;
    EXPECT_EQ(FormatGridDateTime(stamp, L"%Y-%m-%d %H:%M:%S %a"), CString(L"2026-12-09 10:05:07 Wed"));
    EXPECT_EQ(FormatGridDateTime(stamp, nullptr), CString(L"Invalid DateTime"));

    EXPECT_EQ(FormatGridDateTime(GridDateTime{}, L"%c"), CString());
    EXPECT_EQ(FormatGridDateTime(GridDateTime{stamp.value, GridDateTime::kInvalid}, L"%c"),
              CString(L"Invalid DateTime"));
    EXPECT_EQ(FormatGridDateTime(GridDateTime{1e300, GridDateTime::kValid}, L"%c"), CString(L"Invalid DateTime"));
    // The first and last days a value can hold; rounding must not carry past them.
    EXPECT_EQ(FormatGridDateTime(GridDateTime{-657434.5, GridDateTime::kValid}, L"%Y-%m-%d %H:%M"),
              CString(L"100-01-01 12:00"));
    EXPECT_EQ(FormatGridDateTime(GridDateTime{2958465.9999999, GridDateTime::kValid}, L"%Y"),
              CString(L"Invalid DateTime"));
}

TEST(GridDateTime, TimeValuesGiveTheirLocalTime)
{
    const __time64_t noon = 1'765'281'600;  // 2025-12-09 12:00:00 UTC
    std::tm local{};
    ASSERT_EQ(_localtime64_s(&local, &noon), 0);
    const GridDateTime value = GridDateTimeFromTime64(noon);
    ASSERT_EQ(value.status, GridDateTime::kValid);
    CString hour;
    hour.Format(L"%02d", local.tm_hour);
    EXPECT_EQ(FormatGridDateTime(value, L"%H"), hour);
    EXPECT_EQ(GridDateTimeFromTime64(-5).status, GridDateTime::kInvalid);
    EXPECT_EQ(CurrentGridDateTime().status, GridDateTime::kValid);
}
