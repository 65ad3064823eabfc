#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

TEST(DeviceBlock, MissingBlockReadsNothingAndStoresNothing)
{
    CDeviceBlock none;
    EXPECT_FALSE(none.IsPresent());
    EXPECT_FALSE(none.Read(0));
    EXPECT_FALSE(none.Write(0, 1));
    EXPECT_FALSE(none.WriteBits(0, 0xFFFF, 1));
    EXPECT_FALSE(none.ReadAddress(0));
    EXPECT_FALSE(none.WriteByte(0, 1));

    WORD word = 7;
    CDeviceBlock nullWithLength(nullptr, 10);
    EXPECT_FALSE(nullWithLength.IsPresent());
    CDeviceBlock emptyLength(&word, 0);
    EXPECT_FALSE(emptyLength.Write(0, 1));
    EXPECT_EQ(word, 7);
}

TEST(DeviceBlock, NeverReadsOrWritesAtOrPastTheLength)
{
    CGuardedBlock words(4, 0x1111);
    CDeviceBlock block = words.Block();
    EXPECT_EQ(block.Read(3), 0x1111);
    EXPECT_FALSE(block.Read(4));
    EXPECT_FALSE(block.Write(4, 0));
    EXPECT_FALSE(block.WriteFlag(0xFFFFFFFF, 1, true));
    EXPECT_FALSE(block.WriteByte(8, 0));
    EXPECT_TRUE(block.WriteByte(7, 0x22));
    EXPECT_EQ(words[3], 0x2211);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(DeviceBlock, BitsOutsideTheMaskAreKept)
{
    CGuardedBlock words(1, 0xF0F0);
    CDeviceBlock block = words.Block();
    EXPECT_TRUE(block.WriteBits(0, 0x00FF, 0x1234));
    EXPECT_EQ(words[0], 0xF034);
    EXPECT_TRUE(block.WriteFlag(0, 0x8000, false));
    EXPECT_EQ(words[0], 0x7034);
    EXPECT_EQ(block.ReadFlag(0, 0x0004), true);
    EXPECT_EQ(block.ReadFlag(0, 0x0008), false);
}

TEST(DeviceBlock, AddressesKeepTheFirstOctetInTheLowByteOfTheFirstWord)
{
    CGuardedBlock words(3);
    CDeviceBlock block = words.Block();
    EXPECT_TRUE(block.WriteAddress(1, 0xC0A80102)); // 192.168.1.2
    EXPECT_EQ(words[1], 0xA8C0);
    EXPECT_EQ(words[2], 0x0201);
    EXPECT_EQ(block.ReadAddress(1), 0xC0A80102u);
    EXPECT_EQ(block.ReadByte(2), 192);
    EXPECT_EQ(block.ReadByte(5), 2);
    // Half an address is neither read nor written.
    EXPECT_FALSE(block.ReadAddress(2));
    EXPECT_FALSE(block.WriteAddress(2, 0x01020304));
    EXPECT_EQ(words[2], 0x0201);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(DeviceBlock, ViewsARegisterTable)
{
    CRegisterTable table;
    ASSERT_TRUE(table.Allocate(2));
    CDeviceBlock block(table);
    EXPECT_EQ(block.GetLength(), 2u);
    block.Write(1, 42);
    EXPECT_EQ(table.GetAt(1), 42);

    CRegisterTable empty;
    EXPECT_FALSE(CDeviceBlock(empty).IsPresent());
}

}  // namespace Corvane
