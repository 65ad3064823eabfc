#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"

#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

TEST(ProtocolCodec, LoadsEverySwitchOfAWideFormatDevice)
{
    CGuardedBlock words(84);
    words[0] = 0xB073;
    words[59] = 8080;
    words[68] = 0x0010;
    CProtocolCodec codec;
    codec.Load(words.Block(), true, false);
    EXPECT_TRUE(codec.Ftp && codec.WebServer && codec.ModbusTcp && codec.ModbusUdp && codec.EthernetIP &&
                codec.Authentication && codec.Plc && codec.Https && codec.HttpsAvailable);
    EXPECT_EQ(codec.HttpPort, 8080);

    words[0] = 0x4F8C;
    words[68] = 0xFFEF;
    codec.Load(words.Block(), true, false);
    EXPECT_FALSE(codec.Ftp || codec.WebServer || codec.ModbusTcp || codec.ModbusUdp || codec.EthernetIP ||
                 codec.Authentication || codec.Plc || codec.Https || codec.HttpsAvailable);
}

TEST(ProtocolCodec, StoreKeepsTheOtherPagesBitsOfWordZero)
{
    CGuardedBlock words(84);
    words[0] = 0x4F8C | 0x0002;
    CDeviceBlock block = words.Block();
    CProtocolCodec codec;
    codec.Load(block, true, false);
    codec.WebServer = false;
    codec.Ftp = true;
    codec.Plc = true;
    codec.HttpPort = 443;
    EXPECT_TRUE(codec.Store(block, true, false));
    EXPECT_EQ(words[0], 0x4F8C | 0x0001 | 0x2000);
    EXPECT_EQ(words[59], 443);
    EXPECT_EQ(words[83], 0);
}

TEST(ProtocolCodec, HttpsOfTwoPortsGoesIntoBothWords)
{
    CGuardedBlock words(84);
    words[83] = 0x8000 | 0x0008;
    CDeviceBlock block = words.Block();
    CProtocolCodec codec;
    codec.Load(block, true, true);
    EXPECT_TRUE(codec.Https);
    codec.Store(block, true, true);
    EXPECT_EQ(words[0], 0x8000);
    EXPECT_EQ(words[83], 0x8008);
    codec.Https = false;
    codec.Store(block, true, true);
    EXPECT_EQ(words[0], 0);
    EXPECT_EQ(words[83], 0x0008);
    // One port: word 83 is another matter.
    words[83] = 0x8000;
    codec.Load(block, true, false);
    EXPECT_FALSE(codec.Https);
}

TEST(ProtocolCodec, OlderDevicesUseWordsThreeAndFour)
{
    CGuardedBlock words(5);
    words[3] = 1;
    words[4] = 81;
    CDeviceBlock block = words.Block();
    CProtocolCodec codec;
    codec.Load(block, false, false);
    EXPECT_TRUE(codec.WebServer);
    EXPECT_EQ(codec.HttpPort, 81);
    codec.WebServer = false;
    codec.HttpPort = 82;
    EXPECT_TRUE(codec.Store(block, false, false));
    EXPECT_EQ(words[3], 0);
    EXPECT_EQ(words[4], 82);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(ProtocolCodec, PortLimitsAtTheirEdgesBlockTheStore)
{
    CCapabilityFileFixture files;
    CProtocolCodec codec(files.Write("[PROTOCOL]\nHttpPortMin=80\nHttpPortMax=8080\nHttpPortDef=8000\n"));
    EXPECT_EQ(codec.HttpPort, 8000);
    CGuardedBlock words(60);
    words[59] = 9000;
    CDeviceBlock block = words.Block();
    codec.Load(block, true, false);
    EXPECT_EQ(codec.HttpPort, 9000);
    EXPECT_FALSE(codec.Validate());
    words[0] = 0x1234;
    codec.Ftp = true;
    EXPECT_FALSE(codec.Store(block, true, false));
    EXPECT_EQ(words[0], 0x1234);
    codec.HttpPort = 8080;
    EXPECT_TRUE(codec.Store(block, true, false));
    codec.HttpPort = 80;
    EXPECT_TRUE(codec.Validate());
    codec.HttpPort = 79;
    EXPECT_FALSE(codec.Validate());
}

TEST(ProtocolCodec, ShortOrMissingBlock)
{
    CGuardedBlock words(50);
    CDeviceBlock block = words.Block();
    CProtocolCodec codec;
    codec.Load(block, true, true);
    EXPECT_EQ(codec.HttpPort, 80);
    EXPECT_TRUE(codec.Store(block, true, true));
    EXPECT_TRUE(words.GuardIntact());
    CDeviceBlock none;
    EXPECT_FALSE(codec.Store(none, true, false));
}

TEST(ProtocolCodec, HttpsInUseNeedsTheSwitchAndTheFeature)
{
    CGuardedBlock words(84);
    CDeviceBlock block = words.Block();
    words[0] = 0x8000;
    EXPECT_FALSE(CProtocolCodec::IsHttpsInUse(block));
    words[68] = 0x0010;
    EXPECT_TRUE(CProtocolCodec::IsHttpsInUse(block));
    words[0] = 0;
    words[83] = 0x8000;
    EXPECT_TRUE(CProtocolCodec::IsHttpsInUse(block));
}

}  // namespace Corvane
