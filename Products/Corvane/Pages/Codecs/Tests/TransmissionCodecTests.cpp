#include "Products/Corvane/Pages/Codecs/TransmissionCodec.h"

#include "Products/Corvane/Pages/Codecs/StateCodec.h"
#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {
CGuardedBlock TransmissionBlock(WORD word69, WORD word70, WORD word71)
{
    CGuardedBlock words(72);
    words[69] = word69;
    words[70] = word70;
    words[71] = word71;
    return words;
}
}

TEST(TransmissionCodec, LoadsEverySpeedModeAndStoresItsBits)
{
    struct Case {
        WORD word69;
        int index;
        WORD stored;
    };
    for (const Case c : {Case{0x0001, 0, 0x0007}, Case{0x0007, 0, 0x0007}, Case{0x0000, 1, 0x0000},
                         Case{0x0004, 2, 0x0004}, Case{0x0002, 3, 0x0002}, Case{0x0006, 4, 0x0006}}) {
        CGuardedBlock words = TransmissionBlock(static_cast<WORD>(0xFFE8 | c.word69), 30, 1);
        CDeviceBlock block = words.Block();
        CTransmissionCodec codec;
        codec.Load(block);
        EXPECT_EQ(codec.SpeedIndex, c.index) << c.word69;
        codec.Store(block);
        EXPECT_EQ(words[69], 0xFFE8 | c.stored) << c.word69;
    }
}

TEST(TransmissionCodec, LoadsAndStoresTimeAndPriority)
{
    CGuardedBlock words = TransmissionBlock(0x0010, 1234, 3);
    CDeviceBlock block = words.Block();
    CTransmissionCodec codec;
    codec.Load(block);
    EXPECT_TRUE(codec.BandwidthLimit);
    EXPECT_EQ(codec.ActivationTime, 1234);
    EXPECT_EQ(codec.PriorityIndex, 2);
    codec.ActivationTime = 77;
    codec.PriorityIndex = 0;
    EXPECT_TRUE(codec.Store(block));
    EXPECT_EQ(words[70], 77);
    EXPECT_EQ(words[71], 1);
}

TEST(TransmissionCodec, UnknownPriorityIsShownAsNoneAndKept)
{
    for (WORD priority : {WORD{0}, WORD{4}, WORD{0xFFFF}}) {
        CGuardedBlock words = TransmissionBlock(0, 30, priority);
        CDeviceBlock block = words.Block();
        CTransmissionCodec codec;
        codec.Load(block);
        EXPECT_EQ(codec.PriorityIndex, -1);
        codec.Store(block);
        EXPECT_EQ(words[71], priority);
    }
}

TEST(TransmissionCodec, LimitsFromTheSntpSectionAtTheirEdges)
{
    CCapabilityFileFixture files;
    const CDeviceCapabilityFile file =
        files.Write("[SNTP]\nActivationTimeMin=10\nActivationTimeMax=500\nActivationTimeDef=20\n"
                    "[TRAFFIC]\nActivationTimeMax=1\n");
    CTransmissionCodec codec(file);
    EXPECT_EQ(codec.ActivationTime, 20);
    codec.ActivationTime = 10;
    EXPECT_TRUE(codec.Validate());
    codec.ActivationTime = 500;
    EXPECT_TRUE(codec.Validate());
    codec.ActivationTime = 9;
    EXPECT_FALSE(codec.Validate());
    codec.ActivationTime = 501;
    EXPECT_FALSE(codec.Validate());
    EXPECT_EQ(codec.RangeChecks().front().ControlId, CTransmissionCodec::kActivationTimeControl);
}

TEST(TransmissionCodec, OutOfRangeDeviceValueIsLoadedAndFlaggedYetStored)
{
    CCapabilityFileFixture files;
    CTransmissionCodec codec(files.Write("[SNTP]\nActivationTimeMax=100\n"));
    CGuardedBlock words = TransmissionBlock(0x0001, 900, 2);
    CDeviceBlock block = words.Block();
    codec.Load(block);
    EXPECT_EQ(codec.ActivationTime, 900);
    EXPECT_FALSE(codec.Validate());
    words[70] = 50;
    codec.Load(block);
    // The next device's value replaces the bad one instead of sticking.
    EXPECT_EQ(codec.ActivationTime, 50);
    codec.ActivationTime = 101;
    EXPECT_FALSE(codec.Store(block));
    EXPECT_EQ(words[70], 101);
}

TEST(TransmissionCodec, BandwidthBitIsSharedWithTheStatePageWithoutStaleStores)
{
    CGuardedBlock words = TransmissionBlock(0x0000, 30, 1);
    CDeviceBlock block = words.Block();
    CTransmissionCodec codec;
    codec.Load(block);
    EXPECT_FALSE(codec.BandwidthLimit);

    // The state page switches the bit while this page is not shown...
    CStateCodec::WriteConstantSpeed(block, true);
    // ...and the store before a write does not put the old value back.
    codec.Store(block);
    EXPECT_EQ(words[69] & 0x0010, 0x0010);

    // A change made on this page reaches the block at once; a later change
    // on the state page wins again.
    codec.Load(block);
    codec.BandwidthLimit = false;
    EXPECT_TRUE(codec.CommitBandwidthLimit(block));
    EXPECT_EQ(words[69] & 0x0010, 0);
    CStateCodec::WriteConstantSpeed(block, true);
    codec.Store(block);
    EXPECT_EQ(words[69] & 0x0010, 0x0010);

    // A change only in the member is stored.
    codec.Load(block);
    codec.BandwidthLimit = false;
    codec.Store(block);
    EXPECT_EQ(words[69] & 0x0010, 0);
}

TEST(TransmissionCodec, ShortBlockIsNeitherReadNorWrittenPastItsEnd)
{
    CGuardedBlock words(70, 0x0006);
    CDeviceBlock block = words.Block();
    CTransmissionCodec codec;
    codec.Load(block);
    EXPECT_EQ(codec.SpeedIndex, 4);
    EXPECT_EQ(codec.ActivationTime, 30);
    EXPECT_EQ(codec.PriorityIndex, -1);
    codec.PriorityIndex = 1;
    codec.Store(block);
    EXPECT_TRUE(words.GuardIntact());

    CDeviceBlock none;
    codec.Load(none);
    codec.Store(none);
}

TEST(TransmissionCodec, FullDuplexWithoutNegotiationWarns)
{
    EXPECT_FALSE(CTransmissionCodec::WarnsOfDuplexMismatch(0));
    EXPECT_FALSE(CTransmissionCodec::WarnsOfDuplexMismatch(1));
    EXPECT_TRUE(CTransmissionCodec::WarnsOfDuplexMismatch(2));
    EXPECT_FALSE(CTransmissionCodec::WarnsOfDuplexMismatch(3));
    EXPECT_TRUE(CTransmissionCodec::WarnsOfDuplexMismatch(4));
}

}  // namespace Corvane
