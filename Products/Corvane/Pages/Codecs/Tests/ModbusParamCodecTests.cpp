#include "Products/Corvane/Pages/Codecs/ModbusParamCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

TEST(ModbusParamCodec, ZeroWordShowsTheFirstEntries)
{
    CGuardedBlock words(3);
    CModbusParamCodec codec;
    codec.Load(words.Block());
    const auto& v = codec.Values;
    EXPECT_EQ(v.BaudIndex, 0);
    EXPECT_EQ(v.FrameIndex, 0);
    EXPECT_EQ(v.EndOfFrameIndex, 0);
    EXPECT_EQ(v.ModeIndex, 0);
    EXPECT_FALSE(v.ErrorCheck);
    EXPECT_TRUE(v.Watchdog);
    EXPECT_TRUE(v.UseLibrary);
    EXPECT_FALSE(v.Compatibility);
}

TEST(ModbusParamCodec, EveryFieldLoadsFromItsBitsAndStoresBack)
{
    // Baud 10, frame code 7 (index 5), end-of-frame code 4 (index 7), RTU,
    // error check, watchdog off, bit 13, and the foreign bits 14 and 15.
    const WORD word = 0xC000 | 0x2000 | 0x1000 | 0x0800 | 0x0400 | (4 << 7) | (7 << 4) | 10;
    CGuardedBlock words(3);
    words[2] = word;
    CDeviceBlock block = words.Block();
    CModbusParamCodec codec;
    codec.Load(block);
    const auto& v = codec.Values;
    EXPECT_EQ(v.BaudIndex, 10);
    EXPECT_EQ(v.FrameIndex, 5);
    EXPECT_EQ(v.EndOfFrameIndex, 7);
    EXPECT_EQ(v.ModeIndex, 1);
    EXPECT_TRUE(v.ErrorCheck);
    EXPECT_FALSE(v.Watchdog);
    EXPECT_FALSE(v.UseLibrary);
    EXPECT_TRUE(v.Compatibility);

    codec.Values = {};
    codec.Values.UseLibrary = true;
    EXPECT_TRUE(codec.Store(block, true));
    EXPECT_EQ(words[2], 0xC000);

    codec.Values = {7, 2, 1, 1, true, false, false, false};
    codec.Store(block, true);
    EXPECT_EQ(words[2], 0xC000 | 0x2000 | 0x1000 | 0x0800 | 0x0400 | (5 << 7) | (2 << 4) | 7);
    // Without the controller flag bit 13 is the compatibility value.
    codec.Values.Compatibility = false;
    codec.Store(block, false);
    EXPECT_EQ(words[2] & 0x2000, 0);
    EXPECT_EQ(words[2] & 0xC000, 0xC000);
}

TEST(ModbusParamCodec, TableLookups)
{
    EXPECT_EQ(CModbusParamCodec::FrameIndexOfCode(7), 5);
    EXPECT_EQ(CModbusParamCodec::FrameIndexOfCode(5), -1);
    EXPECT_EQ(CModbusParamCodec::FrameIndexOfCode(6), -1);
    EXPECT_EQ(CModbusParamCodec::FrameCodeOfIndex(6), -1);
    EXPECT_EQ(CModbusParamCodec::FrameCodeOfIndex(-1), -1);
    EXPECT_EQ(CModbusParamCodec::EndOfFrameIndexOfCode(5), 1);
    EXPECT_EQ(CModbusParamCodec::EndOfFrameIndexOfCode(0), 0);
    EXPECT_EQ(CModbusParamCodec::EndOfFrameCodeOfIndex(4), 1);
    EXPECT_EQ(CModbusParamCodec::EndOfFrameCodeOfIndex(8), -1);
}

TEST(ModbusParamCodec, UnknownCodesAreKeptWhenTheirListShowsNoSelection)
{
    // Frame code 5 and baud 13 are in no list.
    CGuardedBlock words(3);
    words[2] = (5 << 4) | 13;
    CDeviceBlock block = words.Block();
    CModbusParamCodec codec;
    codec.Load(block);
    EXPECT_EQ(codec.Values.FrameIndex, -1);
    EXPECT_EQ(codec.Values.BaudIndex, -1);
    codec.Values.ErrorCheck = true;
    codec.Store(block, true);
    EXPECT_EQ(words[2], 0x0800 | (5 << 4) | 13);
    // The user's choice replaces the unknown code.
    codec.Values.FrameIndex = 1;
    codec.Store(block, true);
    EXPECT_EQ(words[2], 0x0800 | (1 << 4) | 13);
}

TEST(ModbusParamCodec, FieldsNotChangedHereKeepWhatAnotherPageStored)
{
    CGuardedBlock words(3);
    CDeviceBlock block = words.Block();
    CModbusParamCodec codec;
    codec.Load(block);
    words[2] = 0x0007; // another page wrote word 2 meanwhile
    codec.Values.ModeIndex = 1;
    codec.Store(block, true);
    EXPECT_EQ(words[2], 0x0407);
}

TEST(ModbusParamCodec, ShortOrMissingBlock)
{
    CGuardedBlock words(2);
    CDeviceBlock block = words.Block();
    CModbusParamCodec codec;
    codec.Load(block);
    codec.Values.BaudIndex = 3;
    EXPECT_TRUE(codec.Store(block, false));
    EXPECT_TRUE(words.GuardIntact());
    CDeviceBlock none;
    EXPECT_FALSE(codec.Store(none, false));
}

}  // namespace Corvane
