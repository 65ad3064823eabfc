#include "Common/PelorusDLL/Tests/DebugCapture.h"
#include "Common/PelorusDLL/Tests/MemoryService.h"

#include "Platform/Base/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr unsigned short kActual = 0;
constexpr unsigned short kStatic = 1;

class NetworkParameters : public ::testing::Test {
protected:
    CFakeConnection m_connection;
    CMemoryService m_service{&m_connection};

    // The service carries a.b.c.d as d, c, b, a.
    void SetAddress(unsigned short interfaceIndex, unsigned short id, unsigned short kind, Bytes dotted)
    {
        m_service.m_parameters[{interfaceIndex, id, kind}] = Bytes(dotted.rbegin(), dotted.rend());
    }
    void SetName(unsigned short interfaceIndex, unsigned short id, unsigned short kind, const std::string& text)
    {
        m_service.m_parameters[{interfaceIndex, id, kind}] = Bytes(text.begin(), text.end());
    }
    // Every parameter of one interface and kind, the MAC address included.
    void FillInterface(unsigned short interfaceIndex, unsigned short kind, unsigned char last)
    {
        m_service.m_parameters[{interfaceIndex, 0, kind}] = {2, 0};
        for (unsigned short id : {1, 2, 3, 4, 5, 6, 9})
            SetAddress(interfaceIndex, id, kind, {10, static_cast<unsigned char>(id), 0, last});
        SetName(interfaceIndex, 7, kind, "host");
        SetName(interfaceIndex, 8, kind, "example.org");
        m_service.m_parameters[{interfaceIndex, 10, kind}] = {last, 0, 0, 0xE1, 0x5A, 0x02};
        SetName(interfaceIndex, 11, kind, "time.example.org");
    }
    Bytes LastSet(unsigned short id) const
    {
        for (auto it = m_service.m_parametersSet.rbegin(); it != m_service.m_parametersSet.rend(); ++it)
            if (std::get<1>(it->first) == id)
                return it->second;
        return {};
    }
    bool WasSet(unsigned short id) const
    {
        for (const auto& [key, bytes] : m_service.m_parametersSet)
            if (std::get<1>(key) == id)
                return true;
        return false;
    }
};

TEST_F(NetworkParameters, AddressesAndMacAreShownLastByteFirst)
{
    SetAddress(0, 1, kActual, {192, 168, 1, 10});
    m_service.m_parameters[{0, 10, kActual}] = {0x01, 0x00, 0x00, 0xE1, 0x5A, 0x02};
    m_service.m_parameters[{0, 9, kActual}] = {6, 5, 4, 3, 2, 1};
    std::wstring text;
    ASSERT_TRUE(m_service.GetIPAddress(0, 1, kActual, text));
    EXPECT_EQ(text, L"192.168.1.10");
    ASSERT_TRUE(m_service.GetIPAddress(0, 10, kActual, text));
    EXPECT_EQ(text, L"025AE1000001");
    ASSERT_TRUE(m_service.GetIPAddress(0, 9, kActual, text));
    EXPECT_EQ(text, L"1.2.3.4.5.6");
}

TEST_F(NetworkParameters, AnswerOfAnotherLengthIsRefused)
{
    for (const Bytes& answer : {Bytes{1, 2, 3, 4, 5}, Bytes{1, 2}, Bytes{}}) {
        m_service.m_parameters[{0, 3, kActual}] = answer;
        std::wstring text = L"unchanged";
        EXPECT_FALSE(m_service.GetIPAddress(0, 3, kActual, text));
        EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ANSWER_LENGTH);
        EXPECT_EQ(text, L"unchanged");
    }
}

TEST_F(NetworkParameters, MissingParameterReadsAsNotSupported)
{
    std::wstring text;
    EXPECT_FALSE(m_service.GetIPAddress(0, 4, kStatic, text));
    EXPECT_EQ(text, CServiceBase::SERVICE_NOT_SUPPORTED);
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_PARAMETER_NOT_PRESENT);
    EXPECT_FALSE(m_service.GetNetworkParamName(0, 8, kStatic, text));
    EXPECT_EQ(text, CServiceBase::SERVICE_NOT_SUPPORTED);
    unsigned short source = 0;
    EXPECT_FALSE(m_service.ReadIPAddressSourceUsingService(0, kStatic, source));
    EXPECT_EQ(source, 0x8213);
}

TEST_F(NetworkParameters, IdsOfTheOtherKindAreRefusedBeforeAsking)
{
    std::wstring text;
    for (unsigned short id : {0, 7, 8, 12}) {
        EXPECT_FALSE(m_service.GetIPAddress(0, id, kActual, text)) << id;
        EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
        EXPECT_FALSE(m_service.SetIPAddress(0, id, kActual, L"1.2.3.4")) << id;
        EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    }
    for (unsigned short id : {1, 6, 9, 10})
        EXPECT_FALSE(m_service.GetNetworkParamName(0, id, kActual, text)) << id;
    EXPECT_EQ(m_service.Calls("GetNetworkParameter"), 0);
    EXPECT_EQ(m_service.Calls("SetNetworkParameter"), 0);
}

TEST_F(NetworkParameters, AddressTextIsWrittenReversed)
{
    ASSERT_TRUE(m_service.SetIPAddress(0, 2, kStatic, L"255.255.254.0"));
    EXPECT_EQ(LastSet(2), (Bytes{0, 254, 255, 255}));
    ASSERT_TRUE(m_service.SetIPAddress(1, 3, kStatic, L"10:0:0:1"));
    EXPECT_EQ(LastSet(3), (Bytes{1, 0, 0, 10}));
    EXPECT_EQ(std::get<0>(m_service.m_parametersSet.back().first), 1);
}

TEST_F(NetworkParameters, MalformedAddressTextWritesNothing)
{
    for (const wchar_t* text : {L"1.2.3", L"1.2.3.4.5", L"256.1.1.1", L"a.b.c.d", L"1..2.3", L"", L"-1.2.3.4",
                                L"1.2.3.4 ", L"1.2.3.0400", L"1.2.3.", L"1.2.3.99999999999"}) {
        EXPECT_FALSE(m_service.SetIPAddress(0, 1, kStatic, text)) << text;
        EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_ADDRESS_TEXT) << text;
    }
    EXPECT_TRUE(m_service.m_parametersSet.empty());
}

TEST_F(NetworkParameters, NotSupportedTextsAreNotWritten)
{
    EXPECT_TRUE(m_service.SetIPAddress(0, 1, kStatic, CServiceBase::SERVICE_NOT_SUPPORTED));
    EXPECT_TRUE(m_service.SetNetworkParamName(0, 7, kStatic, CServiceBase::SERVICE_NOT_SUPPORTED));
    EXPECT_TRUE(m_service.WriteIPAddressSourceUsingService(0, kStatic, 0x8213));
    EXPECT_TRUE(m_service.m_parametersSet.empty());
    ASSERT_TRUE(m_service.WriteIPAddressSourceUsingService(0, kStatic, 0x0102));
    EXPECT_EQ(LastSet(0), (Bytes{0x02, 0x01}));
}

TEST_F(NetworkParameters, NamesEndAtTheFirstNulOrTheAnswer)
{
    m_service.m_parameters[{0, 7, kStatic}] = {'p', 'l', 'c', 0, 'x', 'y'};
    m_service.m_parameters[{0, 11, kStatic}] = Bytes(256, 'n');
    std::wstring text;
    ASSERT_TRUE(m_service.GetNetworkParamName(0, 7, kStatic, text));
    EXPECT_EQ(text, L"plc");
    ASSERT_TRUE(m_service.GetNetworkParamName(0, 11, kStatic, text));
    EXPECT_EQ(text, std::wstring(256, L'n'));
}

TEST_F(NetworkParameters, NameLongerThanTheParameterIsRefused)
{
    EXPECT_FALSE(m_service.SetNetworkParamName(0, 7, kStatic, std::wstring(33, L'h')));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    ASSERT_TRUE(m_service.SetNetworkParamName(0, 7, kStatic, std::wstring(32, L'h')));
    EXPECT_EQ(LastSet(7), Bytes(32, 'h'));
}

TEST_F(NetworkParameters, WholeSetTakesTheMacFromTheNetworkIdWhenParameterTenIsMissing)
{
    FillInterface(0, kActual, 5);
    m_service.m_parameters.erase({0, 10, kActual});
    m_service.m_parameters.erase({0, 6, kActual});
    CServiceBase::tNetworkParams params;
    ASSERT_TRUE(m_service.GetActualNetworkParameters(0, params));
    EXPECT_EQ(params.wIPAddressSource, 2);
    EXPECT_EQ(params.strIPAddress, L"10.1.0.5");
    EXPECT_EQ(params.strParameter6, CServiceBase::SERVICE_NOT_SUPPORTED);
    EXPECT_EQ(params.strHostName, L"host");
    EXPECT_EQ(params.strDomainName, L"example.org");
    EXPECT_EQ(params.strMACAddress, L"025AE1000001");
    EXPECT_EQ(params.strSNTPHostName, L"time.example.org");
}

TEST_F(NetworkParameters, WholeSetStopsAtARealFailure)
{
    FillInterface(0, kStatic, 5);
    m_service.m_parameterFailures[{0, 3, kStatic}] = 0x20010200;
    CServiceBase::tNetworkParams params;
    EXPECT_FALSE(m_service.GetStaticNetworkParameters(0, params));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    EXPECT_EQ(params.strSubnetMask, L"10.2.0.5");
    EXPECT_TRUE(params.strPreferredDNSServer.empty());
}

TEST_F(NetworkParameters, WholeSetNamesTheTimeServerOneWay)
{
    CServiceBase::tNetworkParams params;
    params.wIPAddressSource = 3;
    params.strIPAddress = L"192.168.1.10";
    params.strSubnetMask = L"255.255.255.0";
    params.strGatewayAddress = L"192.168.1.1";
    params.strPreferredDNSServer = L"192.168.1.2";
    params.strAlternativeDNSServer = L"192.168.1.3";
    params.strParameter6 = L"192.168.1.4";
    params.strHostName = L"plc";
    params.strDomainName = L"local";
    params.strParameter9 = L"0.0.0.0";
    ASSERT_TRUE(m_service.SetStaticNetworkParameters(0, params));
    EXPECT_EQ(LastSet(6), (Bytes{4, 1, 168, 192}));
    EXPECT_FALSE(WasSet(11));
    EXPECT_EQ(LastSet(0), (Bytes{3, 0}));
    EXPECT_EQ(LastSet(8), (Bytes{'l', 'o', 'c', 'a', 'l'}));

    m_service.m_parametersSet.clear();
    params.strSNTPHostName = L"time.example.org";
    ASSERT_TRUE(m_service.SetStaticNetworkParameters(0, params));
    EXPECT_FALSE(WasSet(6));
    EXPECT_TRUE(WasSet(11));

    m_service.m_parametersSet.clear();
    params.strGatewayAddress = L"192.168.1";
    EXPECT_FALSE(m_service.SetStaticNetworkParameters(0, params));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_ADDRESS_TEXT);
    EXPECT_FALSE(WasSet(4));
}

// A device from before the network-parameter service keeps its settings in
// table 100 of node position 0.
class OlderDevice : public NetworkParameters {
protected:
    void SetUp() override
    {
        m_service.Fail("GetNetworkParameter", PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
        m_service.Fail("SetNetworkParameter", PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
    }
    std::map<unsigned int, unsigned short>& Table() { return m_service.m_registers[{0, 100}]; }
};

TEST_F(OlderDevice, SourceBitsOfRegisterZero)
{
    struct Case {
        unsigned short word;
        bool bootp, dhcp, configured;
    };
    // 0x0180: bit 7 means the fourth source and wins over DHCP.
    for (const Case& c : {Case{0x0180, false, false, false}, Case{0x0100, false, true, false},
                          Case{0x0200, true, false, false}, Case{0x8000, false, false, true}}) {
        Table()[0] = c.word;
        bool bootp = true, dhcp = true, configured = true;
        ASSERT_TRUE(m_service.IsActualIPAddressFromBootP(0, bootp));
        ASSERT_TRUE(m_service.IsActualIPAddressFromDHCP(0, dhcp));
        ASSERT_TRUE(m_service.IsActualIPAddressFromStaticConfig(0, configured));
        EXPECT_EQ(bootp, c.bootp) << c.word;
        EXPECT_EQ(dhcp, c.dhcp) << c.word;
        EXPECT_EQ(configured, c.configured) << c.word;
    }
}

TEST_F(OlderDevice, ChosenSourceKeepsTheOtherBits)
{
    Table()[0] = 0x8281;
    ASSERT_TRUE(m_service.UseIPAddressFromDHCP(0));
    EXPECT_EQ(Table()[0], 0x0101);
    ASSERT_TRUE(m_service.UseIPAddressFromStaticConfig(0));
    EXPECT_EQ(Table()[0], 0x0001);
    ASSERT_TRUE(m_service.UseIPAddressFromBootP(0));
    EXPECT_EQ(Table()[0], 0x0201);
}

TEST_F(OlderDevice, AlternativeDnsGoesToRegistersSeventeenAndEighteen)
{
    ASSERT_TRUE(m_service.WriteAlternativeDNSAddress(0, L"192.168.1.10"));
    ASSERT_EQ(m_service.m_registerWrites.size(), 1u);
    const auto& write = m_service.m_registerWrites[0];
    EXPECT_EQ(write.table, 100u);
    EXPECT_EQ(write.start, 17u);
    EXPECT_EQ(write.words, (std::vector<unsigned short>{192 + 256 * 168, 1 + 256 * 10}));
    EXPECT_EQ(m_service.Calls("EnableParamWriting"), 1);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
    EXPECT_EQ(m_service.ReadIPAddressFromRegister(5), L"192.168.1.10");
}

TEST_F(OlderDevice, RegisterWriteRefusesAMalformedAddress)
{
    EXPECT_FALSE(m_service.WriteSubnetMask(0, L"255.255.0"));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_ADDRESS_TEXT);
    EXPECT_TRUE(m_service.m_registerWrites.empty());
}

TEST_F(NetworkParameters, OtherFailuresDoNotFallBackToRegisters)
{
    m_service.Fail("SetNetworkParameter", 0x20010200);
    EXPECT_FALSE(m_service.WriteIPAddress(0, L"10.0.0.1"));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    EXPECT_TRUE(m_service.m_registerWrites.empty());
    ASSERT_TRUE(m_service.WriteGatewayAddress(0, CServiceBase::SERVICE_NOT_SUPPORTED));
}

TEST_F(OlderDevice, HostNameRoundTripsThroughSixteenRegisters)
{
    ASSERT_TRUE(m_service.WriteHostName(std::wstring(32, L'h')));
    ASSERT_EQ(m_service.m_registerWrites.size(), 1u);
    EXPECT_EQ(m_service.m_registerWrites[0].start, 25u);
    EXPECT_EQ(m_service.m_registerWrites[0].words.size(), 16u);
    // 31 characters and the NUL.
    EXPECT_EQ(m_service.m_registerWrites[0].words[15], 'h');
    std::wstring name;
    ASSERT_TRUE(m_service.ReadHostName(name));
    EXPECT_EQ(name, std::wstring(31, L'h'));

    ASSERT_TRUE(m_service.WriteDomainName(L"abc"));
    EXPECT_EQ(m_service.m_registerWrites.back().start, 41u);
    EXPECT_EQ(m_service.m_registerWrites.back().words[0], 'a' | ('b' << 8));
    ASSERT_TRUE(m_service.ReadDomainName(name));
    EXPECT_EQ(name, L"abc");
}

TEST_F(OlderDevice, NameOperationsAreTracedLikeEveryOther)
{
    CDebugCapture capture;
    m_service.EnableLogging(true, L"device");
    ASSERT_TRUE(m_service.WriteHostName(L"ab"));
    std::wstring name;
    ASSERT_TRUE(m_service.ReadHostName(name));
    EXPECT_FALSE(m_service.ReadSntpHostName(name));
    const std::wstring text = capture.Text();
    EXPECT_NE(text.find(L" ### ENTER - CServiceBase::WriteHostName (Line "), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CServiceBase::ReadHostName with true (Line "), std::wstring::npos);
    EXPECT_NE(text.find(L" ### LEAVE - CServiceBase::ReadSntpHostName with error 0x20088212 (Line "),
              std::wstring::npos);
}

TEST_F(OlderDevice, SntpHostNameHasNoRegister)
{
    std::wstring name = L"before";
    EXPECT_FALSE(m_service.ReadSntpHostName(name));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
    EXPECT_FALSE(m_service.WriteSntpHostName(L"time"));
    EXPECT_TRUE(m_service.m_registerWrites.empty());
}

TEST_F(OlderDevice, AddressesFromRegistersAskTheCurrentAddressTwice)
{
    Platform::ManualClockScope clock(0);
    Table()[9] = 192 + 256 * 168;
    Table()[10] = 1 + 256 * 20;
    Table()[11] = 0xFFFF;
    Table()[12] = 0x00FF;
    int asked = 0;
    m_service.m_onInternalVariable = [&] {
        if (++asked == 2)
            m_service.m_internalVariables[4] = {L"IP address", L"192.168.1.30"};
    };
    std::wstring actual, configured, mask, gateway;
    ASSERT_TRUE(m_service.ReadIPAddresses(actual, configured, mask, gateway));
    EXPECT_EQ(actual, L"192.168.1.30");
    EXPECT_EQ(configured, L"192.168.1.20");
    EXPECT_EQ(mask, L"255.255.255.0");
    EXPECT_EQ(gateway, L"0.0.0.0");
    EXPECT_EQ(GetTickCount(), 1000u);
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(OlderDevice, CurrentAddressFallsBackToTheFirstVariable)
{
    m_service.m_internalVariables[1] = {L"IP address", L"10.0.0.9"};
    EXPECT_EQ(m_service.GetCurrentlyUsedIPAddressFromInternalVariables(), L"10.0.0.9");
    m_service.m_internalVariables[1] = {L"", L"10.0.0.9"};
    EXPECT_EQ(m_service.GetCurrentlyUsedIPAddressFromInternalVariables(), L"");
}

TEST_F(NetworkParameters, AddressesOfBothInterfacesAreJoined)
{
    for (unsigned short index : {0, 1}) {
        FillInterface(index, kActual, static_cast<unsigned char>(10 + index));
        FillInterface(index, kStatic, static_cast<unsigned char>(20 + index));
    }
    std::wstring actual, configured, mask, gateway;
    ASSERT_TRUE(m_service.ReadIPAddresses(actual, configured, mask, gateway));
    EXPECT_EQ(actual, L"10.1.0.10 | 10.1.0.11");
    EXPECT_EQ(configured, L"10.1.0.20 | 10.1.0.21");
    EXPECT_EQ(mask, L"10.2.0.10 | 10.2.0.11");
    EXPECT_EQ(gateway, L"10.3.0.10 | 10.3.0.11");
}

TEST_F(NetworkParameters, SingleInterfaceDeviceShowsOneAddress)
{
    FillInterface(0, kActual, 10);
    FillInterface(0, kStatic, 20);
    std::wstring actual, configured, mask, gateway;
    ASSERT_TRUE(m_service.ReadIPAddresses(actual, configured, mask, gateway));
    EXPECT_EQ(actual, L"10.1.0.10");
    EXPECT_EQ(configured, L"10.1.0.20");
    EXPECT_TRUE(m_service.m_registerWrites.empty());
    EXPECT_EQ(m_service.Calls("ReadRegister"), 0);
}

TEST_F(NetworkParameters, MacAddressesOfEveryAnsweringInterface)
{
    m_service.m_parameters[{0, 10, kActual}] = {1, 0, 0, 0xE1, 0x5A, 0x02};
    m_service.m_parameters[{1, 10, kActual}] = {2, 0, 0, 0xE1, 0x5A, 0x02};
    std::vector<std::wstring> macs;
    ASSERT_TRUE(m_service.ReadMacAddresses(macs));
    EXPECT_EQ(macs, (std::vector<std::wstring>{L"025AE1000001", L"025AE1000002"}));
}

TEST_F(NetworkParameters, MacWalkEndsEvenIfEveryInterfaceAnswers)
{
    for (unsigned short index = 0; index < 100; ++index)
        m_service.m_parameters[{index, 10, kActual}] = {1, 2, 3, 4, 5, 6};
    std::vector<std::wstring> macs;
    ASSERT_TRUE(m_service.ReadMacAddresses(macs));
    EXPECT_EQ(macs.size(), 16u);
}

TEST_F(NetworkParameters, MacFromTheNetworkIdWhenNoInterfaceAnswers)
{
    std::vector<std::wstring> macs;
    ASSERT_TRUE(m_service.ReadMacAddresses(macs));
    EXPECT_EQ(macs, std::vector<std::wstring>{L"025AE1000001"});
    m_service.Fail("GetNetworkParameter", 0x20010200);
    macs.clear();
    EXPECT_FALSE(m_service.ReadMacAddresses(macs));
    EXPECT_TRUE(macs.empty());
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
}

}
