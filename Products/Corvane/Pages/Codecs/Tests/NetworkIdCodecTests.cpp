#include "Products/Corvane/Pages/Codecs/NetworkIdCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace Corvane {

namespace {
void PutBytes(CGuardedBlock& words, DWORD offset, const std::string& bytes)
{
    CDeviceBlock block = words.Block();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        block.WriteByte(offset + static_cast<DWORD>(i), static_cast<BYTE>(bytes[i]));
}
}

TEST(NetworkIdCodec, NamesRoundTripThroughTheirFields)
{
    CGuardedBlock words(57, 0xFFFF);
    CDeviceBlock block = words.Block();
    CNetworkIdCodec codec;
    codec.HostName = L"coupler-7";
    codec.DomainName = L"";
    EXPECT_TRUE(codec.Store(block));
    // Byte 50 is the low byte of word 25.
    EXPECT_EQ(words[25], ('o' << 8) | 'c');
    for (std::size_t word = 41; word <= 56; ++word)
        EXPECT_EQ(words[word], 0) << word;
    EXPECT_EQ(words[24], 0xFFFF);
    CNetworkIdCodec loaded;
    loaded.Load(block);
    EXPECT_EQ(loaded.HostName, L"coupler-7");
    EXPECT_EQ(loaded.DomainName, L"");
    EXPECT_TRUE(words.GuardIntact());
}

TEST(NetworkIdCodec, ThirtyOneCharactersLeaveTheTerminator)
{
    CGuardedBlock words(57, 0xFFFF);
    CDeviceBlock block = words.Block();
    CNetworkIdCodec codec;
    codec.HostName = std::wstring(31, L'h');
    codec.DomainName = std::wstring(40, L'd');
    codec.Store(block);
    EXPECT_EQ(block.ReadByte(80), 'h');
    EXPECT_EQ(block.ReadByte(81), 0);
    EXPECT_EQ(block.ReadByte(112), 'd');
    EXPECT_EQ(block.ReadByte(113), 0);
    codec.Load(block);
    EXPECT_EQ(codec.DomainName, std::wstring(31, L'd'));
}

TEST(NetworkIdCodec, ReadsUpToThe32BytesOfAFieldWithoutTerminator)
{
    CGuardedBlock words(57);
    PutBytes(words, 50, std::string(32, 'a'));
    PutBytes(words, 82, "b");
    CNetworkIdCodec codec;
    codec.Load(words.Block());
    EXPECT_EQ(codec.HostName, std::wstring(32, L'a'));
    EXPECT_EQ(codec.DomainName, L"b");
}

TEST(NetworkIdCodec, ANameAsLoadedGoesBackWholeAndAChangedOneIsCutTo31)
{
    CGuardedBlock words(57);
    PutBytes(words, 50, std::string(32, 'a'));
    PutBytes(words, 82, std::string(32, 'b'));
    CDeviceBlock block = words.Block();
    CNetworkIdCodec codec;
    codec.Load(block);
    codec.DomainName = std::wstring(32, L'c');
    EXPECT_TRUE(codec.Store(block));
    EXPECT_EQ(block.ReadByte(81), 'a') << "the device's own name keeps all 32 bytes";
    EXPECT_EQ(block.ReadByte(112), 'c');
    EXPECT_EQ(block.ReadByte(113), 0) << "a new name ends within the field";
}

TEST(NetworkIdCodec, ShortBlockReadsAndWritesOnlyWhatItHolds)
{
    CGuardedBlock words(30);
    PutBytes(words, 50, "abcdefghij");
    CDeviceBlock block = words.Block();
    CNetworkIdCodec codec;
    codec.Load(block);
    EXPECT_EQ(codec.HostName, L"abcdefghij");
    EXPECT_EQ(codec.DomainName, L"");
    codec.HostName = std::wstring(31, L'x');
    codec.DomainName = L"domain";
    EXPECT_TRUE(codec.Store(block));
    EXPECT_TRUE(words.GuardIntact());
    CDeviceBlock none;
    EXPECT_FALSE(codec.Store(none));
}

TEST(NetworkIdCodec, NonAsciiCharactersAreSingleBytes)
{
    CGuardedBlock words(57);
    CDeviceBlock block = words.Block();
    CNetworkIdCodec codec;
    codec.HostName = L"m\u00FCller";
    codec.Store(block);
    EXPECT_EQ(block.ReadByte(51), 0xFC);
    EXPECT_EQ(block.ReadByte(56), 0);
    CNetworkIdCodec loaded;
    loaded.Load(block);
    EXPECT_EQ(loaded.HostName, L"m\u00FCller");
}

}  // namespace Corvane
