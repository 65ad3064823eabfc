#include "Products/Corvane/Pages/Codecs/ModbusCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {
CGuardedBlock WideBlock()
{
    CGuardedBlock words(59);
    words[1] = 1;
    words[2] = 1;
    words[3] = 25;
    words[4] = 0x1234;
    words[5] = 0xABCD;
    words[57] = 3;
    words[58] = 700;
    return words;
}
}

TEST(ModbusCodec, WideLayoutLoadsAndStoresEveryWord)
{
    CGuardedBlock words = WideBlock();
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, true);
    EXPECT_TRUE(codec.CloseSocket);
    EXPECT_EQ(codec.Configuration, 1);
    EXPECT_EQ(codec.WatchdogTimeout, 25);
    EXPECT_EQ(codec.Mask1, 0x1234);
    EXPECT_EQ(codec.Mask2, 0xABCD);
    EXPECT_EQ(codec.MaxConnections, 3);
    EXPECT_EQ(codec.ConnectionWatchdog, 700);

    codec.CloseSocket = false;
    codec.Configuration = 0;
    codec.WatchdogTimeout = 26;
    codec.Mask1 = 0;
    codec.Mask2 = 0xFFFF;
    codec.MaxConnections = 4;
    codec.ConnectionWatchdog = 701;
    EXPECT_TRUE(codec.Store(block, true));
    EXPECT_EQ(words[1], 0);
    EXPECT_EQ(words[2], 0);
    EXPECT_EQ(words[3], 26);
    EXPECT_EQ(words[4], 0);
    EXPECT_EQ(words[5], 0xFFFF);
    EXPECT_EQ(words[57], 4);
    EXPECT_EQ(words[58], 701);
}

TEST(ModbusCodec, SixteenBitLayoutTouchesOnlyWordTwo)
{
    CGuardedBlock words = WideBlock();
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, false);
    EXPECT_EQ(codec.ConnectionWatchdog, 1);
    EXPECT_EQ(codec.RangeChecks(false).size(), 1u);
    codec.ConnectionWatchdog = 250;
    codec.Mask1 = 0;
    codec.Store(block, false);
    CGuardedBlock expected = WideBlock();
    expected[2] = 250;
    for (std::size_t i = 0; i < 59; ++i)
        EXPECT_EQ(words[i], expected[i]) << i;
}

TEST(ModbusCodec, ConfigurationWithoutSelectionKeepsWordTwo)
{
    CGuardedBlock words = WideBlock();
    words[2] = 7; // a configuration this program does not know
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, true);
    codec.Configuration = -1;
    codec.Store(block, true);
    EXPECT_EQ(words[2], 7);
    codec.Configuration = 0;
    codec.Store(block, true);
    EXPECT_EQ(words[2], 0);
}

TEST(ModbusCodec, WordTwoChangedByAnotherPageIsNotPutBack)
{
    CGuardedBlock words = WideBlock();
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, false);
    words[2] = 0x0C07;
    codec.Store(block, false);
    EXPECT_EQ(words[2], 0x0C07);
}

TEST(ModbusCodec, MasksAreStoredAsSixteenBits)
{
    CGuardedBlock words = WideBlock();
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, true);
    codec.Mask1 = 0x12345;
    codec.Mask2 = -1;
    EXPECT_FALSE(codec.Store(block, true));
    EXPECT_EQ(words[4], 0x2345);
    EXPECT_EQ(words[5], 0xFFFF);
}

TEST(ModbusCodec, LimitsAndDefaultsOfBothLayoutsFromTheFile)
{
    CCapabilityFileFixture files;
    const CDeviceCapabilityFile file = files.Write(
        "[MODBUS]\nConnectionWatchdogMin=10\nConnectionWatchdogMax=1000\nConnectionWatchdogDef32=300\n"
        "ConnectionWatchdogDef16=20\nWatchdogTimeoutMax=50\nTriggerMask1Min=1\nTriggerMask2Max=255\n"
        "ConnectionCountDef=2\n");
    CModbusCodec codec(file);
    EXPECT_EQ(codec.ConnectionWatchdog, 300);
    EXPECT_EQ(codec.ConnectionWatchdogDefault(true), 300);
    EXPECT_EQ(codec.ConnectionWatchdogDefault(false), 20);
    EXPECT_EQ(codec.MaxConnections, 2);
    EXPECT_EQ(codec.WatchdogTimeout, 1);

    codec.Mask1 = 1;
    codec.Mask2 = 0;
    codec.ConnectionWatchdog = 1000;
    codec.WatchdogTimeout = 50;
    EXPECT_TRUE(codec.Validate(true));
    codec.ConnectionWatchdog = 1001;
    EXPECT_EQ(CFieldRange::FirstFailure(codec.RangeChecks(true))->ControlId, CModbusCodec::kConnectionWatchdogControl);
    codec.ConnectionWatchdog = 10;
    codec.WatchdogTimeout = 51;
    EXPECT_EQ(CFieldRange::FirstFailure(codec.RangeChecks(true))->ControlId, CModbusCodec::kWatchdogTimeoutControl);
    // The 16-bit layout checks only the connection watchdog.
    EXPECT_TRUE(codec.Validate(false));
    codec.WatchdogTimeout = 0;
    codec.Mask1 = 0;
    const std::optional<CFieldRange> failure = CFieldRange::FirstFailure(codec.RangeChecks(true));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->ControlId, CModbusCodec::kMask1Control);
    EXPECT_EQ(failure->Mode, CFieldRange::kHexMode);
}

TEST(ModbusCodec, OutOfRangeDeviceValueIsTakenAndFlagged)
{
    CCapabilityFileFixture files;
    CModbusCodec codec(files.Write("[MODBUS]\nWatchdogTimeoutMax=100\n"));
    CGuardedBlock words = WideBlock();
    words[3] = 500;
    CDeviceBlock block = words.Block();
    codec.Load(block, true);
    EXPECT_EQ(codec.WatchdogTimeout, 500);
    EXPECT_FALSE(codec.Validate(true));
    words[3] = 5;
    codec.Load(block, true);
    EXPECT_EQ(codec.WatchdogTimeout, 5);
}

TEST(ModbusCodec, ShortBlock)
{
    CGuardedBlock words(4, 9);
    CDeviceBlock block = words.Block();
    CModbusCodec codec;
    codec.Load(block, true);
    EXPECT_EQ(codec.WatchdogTimeout, 9);
    EXPECT_EQ(codec.ConnectionWatchdog, 600);
    codec.Mask2 = 1;
    codec.Store(block, true);
    EXPECT_TRUE(words.GuardIntact());
    CDeviceBlock none;
    codec.Load(none, true);
    codec.Store(none, true);
}

}  // namespace Corvane
