#include "Products/Corvane/Pages/Codecs/SntpCodec.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

CFBCData TwoPortData()
{
    CFBCData data;
    data.HasNetworkParams = true;
    data.SetEthernetPortCount(2);
    for (DWORD port = 0; port < 2; ++port) {
        for (auto* record : {data.GetStaticNetworkParams(port), data.GetActualNetworkParams(port)}) {
            record->strParameter6 = L"10.0.0.9";
            record->strPreferredDNSServer = L"0.0.0.0";
            record->strAlternativeDNSServer = L"0.0.0.0";
        }
    }
    data.GetStaticNetworkParams(0)->strSNTPHostName = L"time.example.org";
    data.GetActualNetworkParams(0)->strSNTPHostName = L"time.example.net";
    return data;
}

}

TEST(SntpCodec, WordsOfTheBlockRoundTrip)
{
    CGuardedBlock words(84);
    words[0] = 0x0008 | 0x0101;
    words[6] = 60;
    words[7] = 1500;
    words[8] = 0x7777;
    CDeviceBlock block = words.Block();
    block.WriteAddress(19, 0xC0A8000A);
    CSntpCodec codec;
    codec.Load(block, nullptr, false);
    EXPECT_TRUE(codec.SntpOn);
    EXPECT_EQ(codec.Interval, 60);
    EXPECT_EQ(codec.Timeout, 1500);
    EXPECT_EQ(codec.ServerText, L"192.168.0.10");
    EXPECT_EQ(codec.CurrentServerText, L"192.168.0.10");
    EXPECT_FALSE(codec.HostNamesAllowed);

    codec.SntpOn = false;
    codec.Interval = 61;
    codec.Timeout = 1501;
    codec.ServerText = L"10.1.2.3";
    EXPECT_TRUE(codec.Store(block, nullptr, false));
    EXPECT_EQ(words[0], 0x0101);
    EXPECT_EQ(words[6], 61);
    EXPECT_EQ(words[7], 1501);
    EXPECT_EQ(words[8], 0x7777);
    EXPECT_EQ(block.ReadAddress(19), 0x0A010203u);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(SntpCodec, SecondPortSwitchCountsOnLoadAndIsClearedOnStore)
{
    CFBCData data = TwoPortData();
    CGuardedBlock words(84);
    words[83] = 0x0009;
    CDeviceBlock block = words.Block();
    CSntpCodec codec;
    codec.Load(block, &data, true);
    EXPECT_TRUE(codec.SntpOn);
    codec.Store(block, &data, true);
    EXPECT_EQ(words[0], 0x0008);
    EXPECT_EQ(words[83], 0x0001);
}

TEST(SntpCodec, ServerOfTheDataSetWithHostNames)
{
    CFBCData data = TwoPortData();
    CGuardedBlock words(84);
    CDeviceBlock block = words.Block();
    CSntpCodec codec;
    codec.Load(block, &data, true);
    EXPECT_TRUE(codec.HostNamesAllowed);
    EXPECT_EQ(codec.ServerText, L"time.example.org");
    EXPECT_EQ(codec.CurrentServerText, L"time.example.net");
    EXPECT_FALSE(codec.NameServerKnown);
    // The server as it was loaded changes no record: the records do not go
    // to the device again.
    EXPECT_TRUE(codec.Store(block, &data, true));
    EXPECT_FALSE(data.NetworkParamsModified);

    // An address empties the name in the static record of every port.
    codec.ServerText = L"10.0.0.1";
    EXPECT_TRUE(codec.Store(block, &data, true));
    EXPECT_TRUE(data.NetworkParamsModified);
    for (DWORD port = 0; port < 2; ++port) {
        EXPECT_EQ(data.GetStaticNetworkParams(port)->strParameter6, L"10.0.0.1");
        EXPECT_EQ(data.GetStaticNetworkParams(port)->strSNTPHostName, L"");
    }
    EXPECT_EQ(data.GetActualNetworkParams(0)->strSNTPHostName, L"time.example.net");

    // A name goes into the name field and empties the address.
    codec.ServerText = L"ntp.example.org";
    codec.Store(block, &data, true);
    EXPECT_EQ(data.GetStaticNetworkParams(1)->strSNTPHostName, L"ntp.example.org");
    EXPECT_EQ(data.GetStaticNetworkParams(1)->strParameter6, L"");
}

TEST(SntpCodec, DevicesWithoutNamesUseTheAddressField)
{
    CFBCData data = TwoPortData();
    data.GetActualNetworkParams(0)->strSNTPHostName = CServiceBase::SERVICE_NOT_SUPPORTED;
    CGuardedBlock words(84);
    CDeviceBlock block = words.Block();
    CSntpCodec codec;
    codec.Load(block, &data, false);
    EXPECT_FALSE(codec.HostNamesAllowed);
    EXPECT_EQ(codec.ServerText, L"10.0.0.9");
    codec.ServerText = L"10.2";
    codec.Store(block, &data, false);
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strParameter6, L"10.2.0.0");
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strSNTPHostName, L"time.example.org");

    // An empty name falls back to the address as well.
    CFBCData empty = TwoPortData();
    empty.GetStaticNetworkParams(0)->strSNTPHostName.clear();
    codec.Load(block, &empty, false);
    EXPECT_TRUE(codec.HostNamesAllowed);
    EXPECT_EQ(codec.ServerText, L"10.0.0.9");
}

TEST(SntpCodec, NameServerKnownFromSourceOrAddresses)
{
    CFBCData data = TwoPortData();
    CGuardedBlock words(84);
    CSntpCodec codec;
    data.GetActualNetworkParams(0)->strAlternativeDNSServer = L"8.8.8.8";
    codec.Load(words.Block(), &data, false);
    EXPECT_TRUE(codec.NameServerKnown);
    data = TwoPortData();
    data.GetStaticNetworkParams(0)->wIPAddressSource = 2;
    codec.Load(words.Block(), &data, false);
    EXPECT_TRUE(codec.NameServerKnown);

    data = TwoPortData();
    codec.Load(words.Block(), &data, false);
    const CSntpCodec::CServerCheck check = codec.CheckServerText(L"pool.example.org", true);
    EXPECT_TRUE(check.Passed);
    EXPECT_TRUE(check.WarnNoNameServer);
    EXPECT_FALSE(codec.CheckServerText(L"10.0.0.1", true).WarnNoNameServer);
}

TEST(SntpCodec, AddressCleaner)
{
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"10.0.0.300", true), L"10.0.0.255");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"10.0.0.2555", true), L"10.0.0.255");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"1.2.3.4.5", true), L"1.2.3.4");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"1.2.3.4.", true), L"1.2.3.4");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"1.2.", true), L"1.2.");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"1a.b2.x", true), L"1.2.");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"99999999999999999999.1", true), L"255.1");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"1.2", false), L"1.2.0.0");
    EXPECT_EQ(CSntpCodec::CleanAddressText(L"", true), L"");
}

TEST(SntpCodec, HostNameCleaner)
{
    EXPECT_EQ(CSntpCodec::CleanHostName(L"zeitgeber-.\u00F6s", true), L"zeitgeber-.oes");
    EXPECT_EQ(CSntpCodec::CleanHostName(L"zeitgeber-.\u00F6s", false), L"zeitgeber.oes");
    EXPECT_EQ(CSntpCodec::CleanHostName(L"-a_b c.d\u00DF.", true), L"abc.dss.");
    EXPECT_EQ(CSntpCodec::CleanHostName(L"\u00C4\u00DCx", false), L"aeuex");
}

TEST(SntpCodec, CheckingWhileTypingAndOnValidation)
{
    CFBCData data = TwoPortData();
    data.GetActualNetworkParams(0)->strPreferredDNSServer = L"1.1.1.1";
    CGuardedBlock words(84);
    CSntpCodec codec;
    codec.Load(words.Block(), &data, false);

    CSntpCodec::CServerCheck check = codec.CheckServerText(L"Zeitgeber-.\u00D6s", true);
    EXPECT_TRUE(check.Passed);
    EXPECT_TRUE(check.Replace);
    EXPECT_EQ(check.Text, L"zeitgeber-.oes");
    EXPECT_EQ(check.LengthChange, 1);
    EXPECT_EQ(codec.LastAcceptedText, L"zeitgeber-.oes");
    // One character deleted: the text stands as typed.
    check = codec.CheckServerText(L"zeitgeber-.oe", true);
    EXPECT_FALSE(check.Replace);
    EXPECT_TRUE(check.Passed);

    codec.ServerText = L"Zeitgeber-.\u00F6s";
    EXPECT_TRUE(codec.Validate());
    EXPECT_EQ(codec.ServerText, L"zeitgeber.oes");

    check = codec.CheckServerText(std::wstring(256, L'a'), true);
    EXPECT_FALSE(check.Passed);
    EXPECT_EQ(check.Failure, CSntpCodec::EFailure::TooLong);
    EXPECT_TRUE(codec.CheckServerText(std::wstring(255, L'a'), true).Passed);
}

TEST(SntpCodec, InvalidAddressFallsBackToTheStoredServer)
{
    CGuardedBlock words(84);
    CDeviceBlock block = words.Block();
    block.WriteAddress(19, 0x0A000001);
    CSntpCodec codec;
    codec.Load(block, nullptr, false);
    const CSntpCodec::CServerCheck check = codec.CheckServerText(L"10.0.0.1.", false);
    EXPECT_TRUE(check.Passed);
    EXPECT_EQ(codec.ServerText, L"10.0.0.1");
    // Leading zeros make a text too long for an address.
    const CSntpCodec::CServerCheck typing = codec.CheckServerText(L"0010.0020.0030.0040", true);
    EXPECT_FALSE(typing.Passed);
    EXPECT_EQ(typing.Failure, CSntpCodec::EFailure::NotAnAddress);
    EXPECT_EQ(codec.LastAcceptedText, L"10.0.0.1");
}

TEST(SntpCodec, LimitsFromTheFileAndOutOfRangeDeviceValues)
{
    CCapabilityFileFixture files;
    CSntpCodec codec(files.Write("[SNTP]\nClientIntervalMin=10\nClientIntervalMax=3600\nClientIntervalDef=600\n"
                                 "ClientTimeoutMax=5000\n"));
    EXPECT_EQ(codec.Interval, 600);
    EXPECT_EQ(codec.Timeout, 2000);
    CGuardedBlock words(9);
    words[6] = 9;
    words[7] = 5000;
    CDeviceBlock block = words.Block();
    codec.Load(block, nullptr, false);
    EXPECT_EQ(codec.Interval, 9);
    EXPECT_FALSE(codec.Validate());
    codec.Interval = 10;
    EXPECT_TRUE(codec.Validate());
    codec.Interval = 3600;
    codec.Timeout = 5001;
    EXPECT_EQ(CFieldRange::FirstFailure(codec.RangeChecks())->ControlId, CSntpCodec::kTimeoutControl);
    // The store writes whatever the checks say, and nothing past the block.
    EXPECT_FALSE(codec.Store(block, nullptr, false));
    EXPECT_EQ(words[7], 5001);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(SntpCodec, MissingBlockStoresNothing)
{
    CFBCData data = TwoPortData();
    CDeviceBlock none;
    CSntpCodec codec;
    codec.Load(none, &data, false);
    codec.ServerText = L"10.9.9.9";
    EXPECT_FALSE(codec.Store(none, &data, false));
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strParameter6, L"10.0.0.9");
    EXPECT_FALSE(data.NetworkParamsModified);

    // Word 8 of a block too short to hold it is never written.
    CGuardedBlock words(8);
    CDeviceBlock block = words.Block();
    CSntpCodec shortCodec;
    shortCodec.Load(block, nullptr, false);
    EXPECT_EQ(shortCodec.Word8, -1);
    shortCodec.Store(block, nullptr, false);
    EXPECT_TRUE(words.GuardIntact());
}

TEST(SntpCodec, ARefusedServerTextLeavesTheStoredServerAsItWas)
{
    CGuardedBlock words(24);
    words[CSntpCodec::kAddressWord] = 0x000A;
    words[CSntpCodec::kAddressWord + 1] = 0x0500;
    CDeviceBlock block = words.Block();
    CSntpCodec codec;
    codec.Load(block, nullptr, false);
    ASSERT_EQ(codec.ServerText, L"10.0.0.5");
    // Too long for an address even with its leading zeros read away.
    codec.ServerText = L"0001.0001.0001.001";
    codec.Interval = 60;
    EXPECT_FALSE(codec.Store(block, nullptr, false));
    EXPECT_EQ(words[CSntpCodec::kAddressWord], 0x000A);
    EXPECT_EQ(words[CSntpCodec::kAddressWord + 1], 0x0500);
    EXPECT_EQ(words[CSntpCodec::kIntervalWord], 60) << "the numbers are still stored";

    CFBCData data = TwoPortData();
    CSntpCodec named;
    named.Load(block, &data, true);
    named.ServerText = std::wstring(CSntpCodec::kMaxServerLength + 1, L'a');
    EXPECT_FALSE(named.Store(block, &data, true));
    EXPECT_EQ(data.GetStaticNetworkParams(1)->strSNTPHostName, L"");
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strSNTPHostName, L"time.example.org");
}

}  // namespace Corvane
