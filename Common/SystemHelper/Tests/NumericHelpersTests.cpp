#include "Common/SystemHelper/Values/NumericHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>

namespace {
const double kInfinity = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(Rounding, HalvesThatPrintExactlyRoundUp)
{
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(RoundToDecimals(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(RoundToDecimals(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.4999, 0), 2.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(1234.0, -2), 1200.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(1250.0, -2), 1300.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(0.123456, 4), 0.1235);
}

TEST(Rounding, ZeroInfinityAndNaNUnchanged)
{
    EXPECT_EQ(RoundToDecimals(0.0, 3), 0.0);
    EXPECT_TRUE(std::signbit(RoundToDecimals(-0.0, 3)));
    EXPECT_EQ(RoundToDecimals(kInfinity, 2), kInfinity);
    EXPECT_EQ(RoundToDecimals(-kInfinity, 2), -kInfinity);
    EXPECT_TRUE(std::isnan(RoundToDecimals(kNaN, 2)));
    EXPECT_EQ(RoundingEpsilon(kInfinity), 0.0);
    EXPECT_EQ(RoundingEpsilon(kNaN), 0.0);
}

TEST(Rounding, ExtremeScalesStayFinite)
{
    // Scaling these would leave the range of doubles.
    EXPECT_EQ(RoundToDecimals(1e300, 20), 1e300);
    EXPECT_EQ(RoundToDecimals(-1e300, 400), -1e300);
    EXPECT_EQ(RoundToDecimals(5.0, -400), 0.0);
    EXPECT_EQ(RoundToFixedDecimals(1e305, 8), 1e305);
}

TEST(Rounding, EpsilonIsOneUnitOfTheSeventeenthDigit)
{
    EXPECT_DOUBLE_EQ(RoundingEpsilon(267.5), 1e-14);
    EXPECT_DOUBLE_EQ(RoundingEpsilon(2.675), 1e-16);
    EXPECT_DOUBLE_EQ(RoundingEpsilon(-0.03), 1e-18);
    EXPECT_DOUBLE_EQ(RoundingEpsilon(0.0), 1e-16);
}

TEST(Rounding, FixedDecimalsClampTheirCount)
{
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(1.23456789, 3), 1.235);
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(1.123456789, 8), 1.12345679);
    // Counts outside 0..8 used to be read from beyond the table.
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(1.123456789, 12), RoundToFixedDecimals(1.123456789, 8));
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(2.5, -1), RoundToFixedDecimals(2.5, 0));
    EXPECT_DOUBLE_EQ(RoundToFixedDecimals(2.5, INT_MIN), 3.0);
    EXPECT_EQ(RoundToFixedDecimals(kInfinity, 2), kInfinity);
    EXPECT_TRUE(std::isnan(RoundToFixedDecimals(kNaN, 2)));
}

TEST(IntPower, SignedExponents)
{
    EXPECT_DOUBLE_EQ(IntPower(2.0, -2), 0.25);
    EXPECT_DOUBLE_EQ(IntPower(2.0, 10), 1024.0);
    EXPECT_DOUBLE_EQ(IntPower(-3.0, 3), -27.0);
    EXPECT_DOUBLE_EQ(IntPower(7.0, 0), 1.0);
    EXPECT_DOUBLE_EQ(IntPower(10.0, 22), 1e22);
    EXPECT_EQ(IntPower(2.0, INT_MIN), 0.0);
    EXPECT_EQ(IntPower(2.0, INT_MAX), kInfinity);
    EXPECT_DOUBLE_EQ(IntPower(-1.0, INT_MIN), 1.0);
}

TEST(IsoWeek, AroundTheTurnOfTheYear)
{
    using Week = std::pair<WORD, WORD>;
    EXPECT_EQ(GetIsoWeek(2021, 1, 1), Week(2020, 53));
    EXPECT_EQ(GetIsoWeek(2018, 12, 31), Week(2019, 1));
    EXPECT_EQ(GetIsoWeek(2020, 12, 31), Week(2020, 53));
    EXPECT_EQ(GetIsoWeek(2021, 1, 4), Week(2021, 1));
    EXPECT_EQ(GetIsoWeek(2016, 1, 3), Week(2015, 53));
    EXPECT_EQ(GetIsoWeek(2024, 2, 29), Week(2024, 9));
    EXPECT_EQ(GetIsoWeek(2000, 1, 2), Week(1999, 52));
}

TEST(IsoWeek, AgreesWithTheCalendarLibraryForYears)
{
    // strftime's %G/%V compute the same week independently.
    for (int year = 1999; year <= 2030; ++year) {
        for (int yday = 0; yday < 366; yday += 3) {
            std::tm date{};
            date.tm_year = year - 1900;
            date.tm_mon = 0;
            date.tm_mday = 1 + yday;
            date.tm_hour = 12;
            std::time_t when = timegm(&date);
            std::tm normal{};
            gmtime_r(&when, &normal);
            char text[16] = {};
            std::strftime(text, sizeof(text), "%G %V", &normal);
            int weekYear = 0;
            int week = 0;
            ASSERT_EQ(std::sscanf(text, "%d %d", &weekYear, &week), 2);
            const auto result = GetIsoWeek(normal.tm_year + 1900, normal.tm_mon + 1, normal.tm_mday);
            EXPECT_EQ(result.first, weekYear) << text;
            EXPECT_EQ(result.second, week) << text;
        }
    }
}

TEST(Bytes, SwapsAndHalves)
{
    EXPECT_EQ(SwapBytes16(0x1234), 0x3412);
    WORD value = 0xABCD;
    EXPECT_EQ(SwapBytes16InPlace(&value), 0xCDAB);
    EXPECT_EQ(value, 0xCDAB);
    EXPECT_EQ(SwapBytes16InPlace(nullptr), 0);
    EXPECT_EQ(HighByte(0x1234), 0x12);
    EXPECT_EQ(LowByte(0x1234), 0x34);
    const BYTE high = 0x12;
    const BYTE low = 0xFE;
    EXPECT_EQ(MakeWord(&high, &low), 0x12FE);
    EXPECT_EQ(MakeWord(nullptr, &low), 0x00FE);
}

TEST(Bytes, BuffersInPlace)
{
    BYTE buffer[] = {1, 2, 3, 4, 5};
    ReverseBytes(buffer, 5);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[4], 1);
    ReverseBytes(buffer, 0);
    ReverseBytes(nullptr, 5);
    EXPECT_EQ(buffer[0], 5);

    EXPECT_EQ(XorBuffer(buffer, 5, 0x5A), 5u);
    EXPECT_EQ(buffer[0], 5 ^ 0x5A);
    XorBuffer(buffer, 5, 0x5A);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(XorBuffer(nullptr, 5, 0x5A), 0u);

    std::unique_ptr<wchar_t[]> copy(CopyToCharArray(L"abc"));
    EXPECT_EQ(std::wstring(copy.get(), 3), L"abc");
}

TEST(ElapsedTime, WholeSecondsAgainstMilliseconds)
{
    const std::int64_t now = std::time(nullptr);
    EXPECT_TRUE(IsTimeElapsed(now - 1, 1999));
    EXPECT_TRUE(IsTimeElapsed(now, 999));
    EXPECT_FALSE(IsTimeElapsed(now + 60, 0));
    EXPECT_FALSE(IsTimeElapsed(now, 60000));
    EXPECT_TRUE(IsTimeElapsed(now - 3600, 3600000));
}
