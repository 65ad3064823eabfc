#include "Common/SystemHelper/Values/Nibble.h"
#include "ThrowsWithText.h"

#include <stdexcept>

using wutils::CNibble;

TEST(Nibble, FromEitherHalfOfAByte)
{
    CNibble high(0xA5, true);
    EXPECT_EQ(high.GetValue(), 10u);
    EXPECT_STREQ(high.ToString(), "1010");
    CNibble low(0xA5, false);
    EXPECT_EQ(low.GetValue(), 5u);
    EXPECT_STREQ(low.ToString(), "0101");
    EXPECT_EQ(CNibble().GetValue(), 0u);
}

TEST(Nibble, FromTextUsesAtMostFourCharacters)
{
    EXPECT_EQ(CNibble(std::string("101101")).GetValue(), 11u);
    EXPECT_EQ(CNibble(std::string("10")).GetValue(), 2u); // the last character is bit 0
    EXPECT_EQ(CNibble(std::wstring(L"0111")).GetValue(), 7u);
    EXPECT_EQ(CNibble(std::string("")).GetValue(), 0u);
    // Only the characters that are used are checked.
    EXPECT_EQ(CNibble(std::string("1111x")).GetValue(), 15u);
    EXPECT_THROW_TEXT(CNibble(std::string("10x1")), std::invalid_argument, "invalid bitset<N> char");
    EXPECT_THROW_TEXT(CNibble(std::wstring(L"1\u00b9")), std::invalid_argument, "invalid bitset<N> char");

    CNibble nibble(0x0F, false);
    EXPECT_THROW(nibble.SetText("2"), std::invalid_argument);
    EXPECT_EQ(nibble.GetValue(), 15u); // a refused text leaves the value alone
    nibble.SetText("0001");
    EXPECT_EQ(nibble.GetValue(), 1u);
}

TEST(Nibble, WholeValueOperationsMask)
{
    CNibble nibble;
    nibble.SetValue(0x1234);
    EXPECT_EQ(nibble.GetValue(), 4u);
    nibble.FlipAll();
    EXPECT_EQ(nibble.GetValue(), 11u);
    nibble.Reset();
    nibble.FlipAll();
    EXPECT_EQ(nibble.GetValue(), 15u);
    EXPECT_STREQ(nibble.ToString(), "1111");
    nibble.Reset();
    EXPECT_EQ(nibble.GetValue(), 0u);
    nibble.SetAll();
    EXPECT_EQ(nibble.GetValue(), 15u);
}

TEST(Nibble, SingleBitsAndTheirRange)
{
    CNibble nibble;
    nibble.Set(3, true);
    nibble.Set(0);
    EXPECT_EQ(nibble.GetValue(), 9u);
    EXPECT_TRUE(nibble.Test(3));
    EXPECT_FALSE(nibble.Test(1));
    EXPECT_TRUE(nibble.Flip(1));
    EXPECT_FALSE(nibble.Flip(1));
    nibble.Reset(3);
    nibble.Set(0, false);
    EXPECT_EQ(nibble.GetValue(), 0u);

    EXPECT_THROW_TEXT(nibble.Test(4), std::out_of_range, "invalid bitset<N> position");
    EXPECT_THROW_TEXT(nibble.Set(static_cast<std::size_t>(-1), true), std::out_of_range, "invalid bitset<N> position");
    EXPECT_THROW_TEXT(nibble.Reset(4), std::out_of_range, "invalid bitset<N> position");
    EXPECT_THROW_TEXT(nibble.Flip(100), std::out_of_range, "invalid bitset<N> position");
    EXPECT_EQ(nibble.GetValue(), 0u);
}

TEST(Nibble, TextFormRoundTrips)
{
    CNibble nibble;
    for (ULONG value = 0; value < 16; ++value) {
        nibble.SetValue(value);
        const std::string text = nibble.ToString();
        EXPECT_EQ(CNibble(text).GetValue(), value) << text;
    }
}
