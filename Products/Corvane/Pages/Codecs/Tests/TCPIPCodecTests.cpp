#include "Products/Corvane/Pages/Codecs/TCPIPCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

CGuardedBlock AddressBlock(std::size_t length)
{
    CGuardedBlock words(length);
    CDeviceBlock block = words.Block();
    block.WriteAddress(9, 0xC0A80102);   // 192.168.1.2
    block.WriteAddress(11, 0xFFFFFF00);  // 255.255.255.0
    block.WriteAddress(13, 0xC0A80101);  // 192.168.1.1
    block.WriteAddress(15, 0x08080808);
    block.WriteAddress(17, 0x08080404);
    return words;
}

const CTCPIPCodec::AddressFilter kNotOnList = [](const std::wstring& address) { return address != L"0.0.0.0"; };

}

TEST(TCPIPCodec, WideFormatSourceBitsLaterTestsWin)
{
    struct Case {
        WORD bits;
        bool autoIP;
        int mode;
        int source;
    };
    for (const Case c : {Case{0x0000, true, 1, -1}, Case{0x0100, true, 0, 0}, Case{0x0300, true, 0, 1},
                         Case{0x0380, true, 0, 2}, Case{0x0080, false, 1, -1}, Case{0x0180, false, 0, 0}}) {
        CGuardedBlock words = AddressBlock(19);
        words[0] = c.bits;
        CTCPIPCodec codec;
        codec.Load(words.Block(), true, c.autoIP);
        EXPECT_EQ(codec.AddressMode, c.mode) << c.bits;
        EXPECT_EQ(codec.Source, c.source) << c.bits;
    }
}

TEST(TCPIPCodec, WideFormatStoresOneSourceBitAndKeepsTheRest)
{
    CGuardedBlock words = AddressBlock(19);
    words[0] = 0x4C0F | 0x0300;
    CDeviceBlock block = words.Block();
    CTCPIPCodec codec;
    codec.Load(block, true, true);
    EXPECT_TRUE(codec.Store(block, true));
    EXPECT_EQ(words[0], 0x4C0F | 0x0200);
    codec.Source = 2;
    codec.Store(block, true);
    EXPECT_EQ(words[0], 0x4C0F | 0x0080);
    codec.AddressMode = CTCPIPCodec::kFixedMode;
    codec.Store(block, true);
    EXPECT_EQ(words[0], 0x4C0F);
}

TEST(TCPIPCodec, WideFormatAddressesRoundTrip)
{
    CGuardedBlock words = AddressBlock(19);
    CDeviceBlock block = words.Block();
    CTCPIPCodec codec;
    codec.Load(block, true, false);
    EXPECT_EQ(codec.FixedAddress, 0xC0A80102u);
    EXPECT_EQ(codec.SubnetMask, 0xFFFFFF00u);
    EXPECT_EQ(codec.Gateway, 0xC0A80101u);
    EXPECT_EQ(codec.FirstDns, 0x08080808u);
    EXPECT_EQ(codec.SecondDns, 0x08080404u);
    codec.FixedAddress = 0x0A000001;
    codec.SecondDns = 0x01020304;
    codec.Store(block, true);
    EXPECT_EQ(words[9], 0x000A);
    EXPECT_EQ(words[10], 0x0100);
    EXPECT_EQ(words[17], 0x0201);
    EXPECT_EQ(words[18], 0x0403);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(TCPIPCodec, OlderDeviceOf14WordsKeepsOnlyTheBootPWord)
{
    CGuardedBlock words = AddressBlock(15);
    CGuardedBlock shortWords(14);
    shortWords[5] = 1;
    shortWords[9] = 0x1234;
    CDeviceBlock block = shortWords.Block();
    CTCPIPCodec codec;
    codec.Load(block, false, false);
    EXPECT_TRUE(codec.UseBootP);
    EXPECT_EQ(codec.FixedAddress, 0u);
    codec.UseBootP = false;
    codec.FixedAddress = 0x01020304;
    codec.Store(block, false);
    EXPECT_EQ(shortWords[5], 0);
    EXPECT_EQ(shortWords[9], 0x1234);
    EXPECT_TRUE(shortWords.GuardIntact());

    CDeviceBlock longer = words.Block();
    codec.Load(longer, false, false);
    EXPECT_EQ(codec.Gateway, 0xC0A80101u);
    codec.Gateway = 0x0A0A0A0A;
    codec.FirstDns = 0x09090909;
    codec.Store(longer, false);
    EXPECT_EQ(words[13], 0x0A0A);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(TCPIPCodec, ChecksOfFixedAddressAndSource)
{
    CTCPIPCodec codec;
    codec.AddressMode = CTCPIPCodec::kFixedMode;
    EXPECT_EQ(codec.Check(true, 19, kNotOnList), CTCPIPCodec::ECheck::FixedAddressRefused);
    codec.FixedAddress = 0x0A000001;
    EXPECT_EQ(codec.Check(true, 19, kNotOnList), CTCPIPCodec::ECheck::Passed);
    codec.AddressMode = CTCPIPCodec::kAutomaticMode;
    EXPECT_EQ(codec.Check(true, 19, kNotOnList), CTCPIPCodec::ECheck::NoSourceChosen);
    codec.Source = 0;
    EXPECT_EQ(codec.Check(true, 19, kNotOnList), CTCPIPCodec::ECheck::Passed);
    // Older devices: only with addresses in the block and without BootP.
    codec.FixedAddress = 0;
    EXPECT_EQ(codec.Check(false, 14, kNotOnList), CTCPIPCodec::ECheck::Passed);
    EXPECT_EQ(codec.Check(false, 15, kNotOnList), CTCPIPCodec::ECheck::FixedAddressRefused);
    codec.UseBootP = true;
    EXPECT_EQ(codec.Check(false, 15, kNotOnList), CTCPIPCodec::ECheck::Passed);
}

TEST(TCPIPCodec, AddressEditsMarkTheAddressesModified)
{
    CTCPIPCodec codec;
    codec.SetCurrentAddresses(L"10.0.0.5", L"10.0.0.6", L"255.0.0.0", L"10.0.0.1", L"", L"1.1.1.1");
    EXPECT_EQ(codec.FixedAddress, 0x0A000005u);
    EXPECT_EQ(codec.CurrentAddress, 0x0A000006u);
    EXPECT_EQ(codec.FirstDns, 0u);
    EXPECT_EQ(codec.SecondDns, 0x01010101u);
    bool changed = true;
    EXPECT_TRUE(codec.ApplyAddressEdit(0x0A000005, 0xFF000000, 0x0A000001, 0, 0x01010101, kNotOnList, changed));
    EXPECT_FALSE(changed);
    EXPECT_FALSE(codec.AddressesModified);
    EXPECT_TRUE(codec.ApplyAddressEdit(0x0A000005, 0xFF000000, 0x0A000001, 0x02020202, 0x01010101, kNotOnList, changed));
    EXPECT_TRUE(changed);
    EXPECT_FALSE(codec.AddressesModified);
    EXPECT_FALSE(codec.ApplyAddressEdit(0, 0xFF000000, 0x0A000001, 0, 0, kNotOnList, changed));
    EXPECT_EQ(codec.FixedAddress, 0x0A000005u);
    EXPECT_TRUE(codec.ApplyAddressEdit(0x0A000007, 0xFF000000, 0x0A000001, 0x02020202, 0x01010101, kNotOnList, changed));
    EXPECT_TRUE(codec.AddressesModified);
    codec.SetCurrentAddresses(L"", L"", L"", L"", L"", L"");
    EXPECT_FALSE(codec.AddressesModified);
}

TEST(TCPIPCodec, AddressSourceKeys)
{
    CTCPIPCodec codec;
    codec.AddressMode = CTCPIPCodec::kAutomaticMode;
    codec.Source = 0;
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_DHCP");
    codec.HasDipSwitches = true;
    codec.Source = 2;
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_DIP_OR_AUTOIP");
    codec.AddressMode = CTCPIPCodec::kFixedMode;
    codec.Source = -1;
    codec.FixedAddress = 1;
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_NOT_CONNECTED");
    codec.CurrentAddress = 2;
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_EEPROM");
    codec.CurrentAddress = 1;
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_DIP_OR_EEPROM");
    codec.SetAddressSource(true, true, 255);
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_DIP_USE_DHCP");
    codec.SetAddressSource(true, true, 17);
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_DIP");
    codec.Source = 1;
    codec.SetAddressSource(true, true, 0);
    EXPECT_EQ(codec.AddressSourceKey(), L"TXT_DETERMINED_BY_BOOTP");
}

TEST(TCPIPCodec, SwitchAndWebAddressTexts)
{
    CTCPIPCodec codec;
    codec.DipValue = 42;
    EXPECT_EQ(codec.DipAddressText(), L" 192 . 168 . 1 . 42 ");
    codec.FixedAddress = 0x0A000105;
    EXPECT_EQ(codec.DipAddressText(), L" 10 . 0 . 1 . 42 ");
    codec.CurrentAddress = 0xAC100001;
    EXPECT_EQ(codec.DipAddressText(), L" 172 . 16 . 0 . 42 ");
    EXPECT_EQ(codec.WebManagementUrl(), L"http://172.16.0.1");
    EXPECT_TRUE(codec.IsDipValueValid());
    codec.DipValue = 0xFFFF;
    EXPECT_FALSE(codec.IsDipValueValid());
}

}  // namespace Corvane
