// The operations every service shares, end to end: the real TCP/IP and
// serial services against the simulated device, the same cases over both
// transports. What a case checks is what lands in (or comes out of) the
// device model, so both the shared logic and each transport's conversion
// take part.
#include "Common/PelorusDLL/Tests/SIOServiceFixture.h"
#include "Common/PelorusDLL/Tests/TCPIPServiceRig.h"

#include "Platform/Base/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using DevSim::tDeviceData;
using tChange = std::function<void(tDeviceData&)>;

constexpr uint16_t kNetworkTable = 100;
constexpr uint16_t kConfigurationTable = 9;
constexpr uint16_t kGetNetworkParameter = 0x0501;
constexpr uint16_t kSetNetworkParameter = 0x0502;
constexpr uint16_t kGetDateTime = 0x0118;
constexpr uint16_t kSetDateTime = 0x0119;
constexpr uint16_t kSourceStatic = 3;
constexpr uint16_t kSourceDHCP = 2;

// What both transports start from: two ports that differ in every address,
// the configuration and network register tables, and identification texts
// both transports hand out.
void FillDevice(tDeviceData& d)
{
    d.identItems = {{"ORDER", "612-001"}, {"DESCR", "Line coupler"}, {"HW-VER", "04"}, {"SW-VER", "02.07.11"},
                    {"FWL-VER", "IDX=3"}, {"SN", "SN000001"},          {"IMEI", "--"}};
    d.AddDefaultPort(0, "192.168.1.10");
    d.AddDefaultPort(1, "10.0.0.20");
    d.SetNetAddress(1, DevSim::NET_STATIC, DevSim::NET_IP_ADDRESS, "10.0.0.99");
    d.SetNetAddress(1, DevSim::NET_ACTUAL, DevSim::NET_GATEWAY, "10.0.0.1");
    d.SetNetAddress(1, DevSim::NET_ACTUAL, DevSim::NET_SUBNET_MASK, "255.255.0.0");
    d.SetNetName(1, DevSim::NET_STATIC, DevSim::NET_HOST_NAME, "second");
    d.SetNetSource(1, DevSim::NET_ACTUAL, kSourceDHCP);
    d.networkId = "MAC-ID=025AE10A0B0C";
    d.internalVariables = "IP=192.168.1.10;NAME=coupler;HOST=coupler;ACTIP=192.168.1.77";
    d.serialInternalVariables = {{1, "IP address;192.168.1.10"}, {4, "ACTIP;192.168.1.77"}};
    d.registers[{0, kConfigurationTable}].words = {0x8212, 0x0401, 0x0559, 0, 0x0777};
    d.registers[{0, kNetworkTable}].words = std::vector<uint16_t>(64, 0);
}

class OverTCP : public TCPIPServiceTest::SimulatedDevice {
public:
    static constexpr const char* kName = "TCP";

protected:
    void SetUp() override
    {
        SimulatedDevice::SetUp();
        if (!HasFatalFailure())
            Change(FillDevice);
    }
    CServiceBase& Service() { return m_service; }
    void UseWholeSecondTimeouts() {}
    ZELL::CConnectionBase& Connection() { return m_connection; }
    void Change(const tChange& change) { m_sim.Model().Update(change); }
    tDeviceData Model() { return m_sim.Model().Get(); }

    Platform::ManualClockScope m_clock{100000};
};

class OverSerial : public SIOServiceTest {
public:
    static constexpr const char* kName = "Serial";

protected:
    void SetUp() override
    {
        SIOServiceTest::SetUp();
        if (!HasFatalFailure())
            Change(FillDevice);
    }
    CServiceBase& Service() { return *m_service; }
    void UseWholeSecondTimeouts() { ASSERT_TRUE(m_connection.SetSettingsXML(L"<RS232 timeout='2000'/>")); }
    ZELL::CConnectionBase& Connection() { return m_connection; }
    void Change(const tChange& change) { Update(change); }
    tDeviceData Model() { return Device(); }
};

// The four texts of ReadIPAddresses, compared as one.
struct tAddressTexts {
    std::wstring actual;
    std::wstring configured;
    std::wstring mask;
    std::wstring gateway;
    bool operator==(const tAddressTexts&) const = default;
};

void PrintTo(const tAddressTexts& t, std::ostream* out)
{
    *out << ::testing::PrintToString(std::vector<std::wstring>{t.actual, t.configured, t.mask, t.gateway});
}

struct TransportName {
    template<typename T>
    static std::string GetName(int)
    {
        return T::kName;
    }
};

template<typename Transport>
class SharedOperationsEndToEnd : public Transport {
protected:
    void Unsupported(std::initializer_list<uint16_t> codes)
    {
        this->Change([codes](tDeviceData& d) { d.unsupportedServices.insert(codes.begin(), codes.end()); });
    }
    void Refuse(uint16_t code, uint16_t status)
    {
        this->Change([code, status](tDeviceData& d) { d.refusedServices[code] = status; });
    }
    // Empty texts when the operation fails.
    tAddressTexts ReadAddresses()
    {
        tAddressTexts t;
        if (!this->Service().ReadIPAddresses(t.actual, t.configured, t.mask, t.gateway)) {
            ADD_FAILURE() << "ReadIPAddresses: " << Hex();
            return {};
        }
        return t;
    }
    std::vector<uint8_t> NetBytes(uint16_t port, uint16_t kind, uint16_t id)
    {
        return this->Model().NetParam(port, kind, id).value_or(std::vector<uint8_t>{});
    }
    std::vector<uint16_t> NetworkRegisters(size_t first, size_t count)
    {
        const tDeviceData device = this->Model();
        const auto& words = device.registers.at({0, kNetworkTable}).words;
        return {words.begin() + static_cast<std::ptrdiff_t>(first),
                words.begin() + static_cast<std::ptrdiff_t>(first + count)};
    }
    std::string Hex() { return "error 0x" + ToHex(this->Service().GetLastErrorCode()); }

private:
    static std::string ToHex(unsigned long code)
    {
        char text[16] = {};
        std::snprintf(text, sizeof text, "%08lX", code);
        return text;
    }
};

using Transports = ::testing::Types<OverTCP, OverSerial>;
TYPED_TEST_SUITE(SharedOperationsEndToEnd, Transports, TransportName);

// ---- network parameters --------------------------------------------------

TYPED_TEST(SharedOperationsEndToEnd, NetworkParametersAreReadPerPortAndSet)
{
    CServiceBase::tNetworkParams actual0, actual1, static1;
    ASSERT_TRUE(this->Service().GetActualNetworkParameters(0, actual0)) << this->Hex();
    ASSERT_TRUE(this->Service().GetActualNetworkParameters(1, actual1)) << this->Hex();
    ASSERT_TRUE(this->Service().GetStaticNetworkParameters(1, static1)) << this->Hex();

    EXPECT_EQ(actual0.wIPAddressSource, kSourceStatic);
    EXPECT_EQ(actual0.strIPAddress, L"192.168.1.10");
    EXPECT_EQ(actual0.strSubnetMask, L"255.255.255.0");
    EXPECT_EQ(actual0.strMACAddress, L"025AE1000001");
    EXPECT_EQ(actual0.strHostName, L"coupler");
    EXPECT_EQ(actual0.strDomainName, L"local");

    EXPECT_EQ(actual1.wIPAddressSource, kSourceDHCP);
    EXPECT_EQ(actual1.strIPAddress, L"10.0.0.20");
    EXPECT_EQ(actual1.strSubnetMask, L"255.255.0.0");
    EXPECT_EQ(actual1.strGatewayAddress, L"10.0.0.1");
    EXPECT_EQ(actual1.strMACAddress, L"025AE1000002");

    EXPECT_EQ(static1.wIPAddressSource, kSourceStatic);
    EXPECT_EQ(static1.strIPAddress, L"10.0.0.99");
    EXPECT_EQ(static1.strGatewayAddress, L"0.0.0.0");
    EXPECT_EQ(static1.strHostName, L"second");
    EXPECT_EQ(static1.strSNTPHostName, L"");
}

TYPED_TEST(SharedOperationsEndToEnd, AParameterTheDeviceLacksDoesNotStopTheSet)
{
    this->Change([](tDeviceData& d) {
        d.network.erase({0, DevSim::NET_ACTUAL, DevSim::NET_DNS2});
        d.network.erase({0, DevSim::NET_ACTUAL, DevSim::NET_MAC_ADDRESS});
    });
    CServiceBase::tNetworkParams params;
    ASSERT_TRUE(this->Service().GetActualNetworkParameters(0, params)) << this->Hex();
    EXPECT_EQ(params.strAlternativeDNSServer, CServiceBase::SERVICE_NOT_SUPPORTED);
    // Older devices name their MAC address only in the network id.
    EXPECT_EQ(params.strMACAddress, L"025AE10A0B0C");
    EXPECT_EQ(params.strHostName, L"coupler");
    EXPECT_EQ(params.strSNTPHostName, L"");
}

TYPED_TEST(SharedOperationsEndToEnd, StaticParametersWrittenReachOnlyThatPortsConfiguredSet)
{
    CServiceBase::tNetworkParams params;
    ASSERT_TRUE(this->Service().GetStaticNetworkParameters(1, params)) << this->Hex();
    params.wIPAddressSource = kSourceDHCP;
    params.strIPAddress = L"172.16.4.5";
    params.strSubnetMask = L"255.255.252.0";
    params.strGatewayAddress = L"172.16.4.1";
    params.strAlternativeDNSServer = L"8.8.4.4";
    params.strHostName = L"renamed";
    params.strSNTPHostName = L"time.local";
    ASSERT_TRUE(this->Service().SetStaticNetworkParameters(1, params)) << this->Hex();

    using namespace DevSim;
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_ADDRESS_SOURCE), (std::vector<uint8_t>{2, 0}));
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_IP_ADDRESS), (std::vector<uint8_t>{5, 4, 16, 172}));
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_SUBNET_MASK), (std::vector<uint8_t>{0, 252, 255, 255}));
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_GATEWAY), (std::vector<uint8_t>{1, 4, 16, 172}));
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_DNS2), (std::vector<uint8_t>{4, 4, 8, 8}));
    const std::string host = "renamed";
    const std::string sntp = "time.local";
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_HOST_NAME), std::vector<uint8_t>(host.begin(), host.end()));
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_SNTP_NAME), std::vector<uint8_t>(sntp.begin(), sntp.end()));
    // The set in use and the other port stay as they were.
    EXPECT_EQ(this->NetBytes(1, NET_ACTUAL, NET_IP_ADDRESS), (std::vector<uint8_t>{20, 0, 0, 10}));
    EXPECT_EQ(this->NetBytes(0, NET_STATIC, NET_IP_ADDRESS), (std::vector<uint8_t>{10, 1, 168, 192}));

    CServiceBase::tNetworkParams again;
    ASSERT_TRUE(this->Service().GetStaticNetworkParameters(1, again)) << this->Hex();
    EXPECT_EQ(again.strIPAddress, L"172.16.4.5");
    EXPECT_EQ(again.strSNTPHostName, L"time.local");
}

TYPED_TEST(SharedOperationsEndToEnd, AddressSourceIsAskedOfTheSetInUseAndChangedInTheConfiguredOne)
{
    bool dhcp = false;
    bool fixed = false;
    ASSERT_TRUE(this->Service().IsActualIPAddressFromDHCP(1, dhcp)) << this->Hex();
    ASSERT_TRUE(this->Service().IsActualIPAddressFromStaticConfig(1, fixed)) << this->Hex();
    EXPECT_TRUE(dhcp);
    EXPECT_FALSE(fixed);

    ASSERT_TRUE(this->Service().UseIPAddressFromStaticConfig(1)) << this->Hex();
    using namespace DevSim;
    EXPECT_EQ(this->NetBytes(1, NET_STATIC, NET_ADDRESS_SOURCE), (std::vector<uint8_t>{3, 0}));
    EXPECT_EQ(this->NetBytes(1, NET_ACTUAL, NET_ADDRESS_SOURCE), (std::vector<uint8_t>{2, 0}));
    // No register was touched: the service was there.
    EXPECT_EQ(this->NetworkRegisters(0, 1), std::vector<uint16_t>{0});
}

TYPED_TEST(SharedOperationsEndToEnd, AddressSourceFallsBackToRegisterZeroWithoutTheService)
{
    this->Unsupported({kGetNetworkParameter, kSetNetworkParameter});
    // Bit 8: DHCP; the other bits of the register are not the source's.
    this->Change([](tDeviceData& d) { d.registers[{0, kNetworkTable}].words[0] = 0x0105; });
    bool dhcp = false;
    bool bootp = true;
    ASSERT_TRUE(this->Service().IsActualIPAddressFromDHCP(0, dhcp)) << this->Hex();
    ASSERT_TRUE(this->Service().IsActualIPAddressFromBootP(0, bootp)) << this->Hex();
    EXPECT_TRUE(dhcp);
    EXPECT_FALSE(bootp);

    ASSERT_TRUE(this->Service().UseIPAddressFromBootP(0)) << this->Hex();
    EXPECT_EQ(this->NetworkRegisters(0, 1), std::vector<uint16_t>{0x0205});
    ASSERT_TRUE(this->Service().UseIPAddressFromStaticConfig(0)) << this->Hex();
    EXPECT_EQ(this->NetworkRegisters(0, 1), std::vector<uint16_t>{0x0005});

    // Bit 7, the fourth source, wins over the DHCP bit.
    this->Change([](tDeviceData& d) { d.registers[{0, kNetworkTable}].words[0] = 0x0180; });
    ASSERT_TRUE(this->Service().IsActualIPAddressFromDHCP(0, dhcp)) << this->Hex();
    EXPECT_FALSE(dhcp);
}

TYPED_TEST(SharedOperationsEndToEnd, MacAddressesOfEveryPortThenOfTheNetworkId)
{
    std::vector<std::wstring> macs;
    ASSERT_TRUE(this->Service().ReadMacAddresses(macs)) << this->Hex();
    EXPECT_EQ(macs, (std::vector<std::wstring>{L"025AE1000001", L"025AE1000002"}));
    EXPECT_EQ(this->Service().GetLastErrorCode(), 0u);

    this->Unsupported({kGetNetworkParameter});
    std::vector<std::wstring> fromNetworkId;
    ASSERT_TRUE(this->Service().ReadMacAddresses(fromNetworkId)) << this->Hex();
    EXPECT_EQ(fromNetworkId, std::vector<std::wstring>{L"025AE10A0B0C"});
}

TYPED_TEST(SharedOperationsEndToEnd, IPAddressesOfBothPortsTogether)
{
    EXPECT_EQ(this->ReadAddresses(), (tAddressTexts{L"192.168.1.10 | 10.0.0.20", L"192.168.1.10 | 10.0.0.99",
                                                    L"255.255.255.0 | 255.255.0.0", L"0.0.0.0 | 10.0.0.1"}));
    EXPECT_EQ(this->Service().GetLastErrorCode(), 0u);
}

TYPED_TEST(SharedOperationsEndToEnd, IPAddressesOfASinglePortDevice)
{
    this->Change([](tDeviceData& d) {
        for (auto it = d.network.begin(); it != d.network.end();)
            it = std::get<0>(it->first) == 1 ? d.network.erase(it) : std::next(it);
    });
    EXPECT_EQ(this->ReadAddresses(),
              (tAddressTexts{L"192.168.1.10", L"192.168.1.10", L"255.255.255.0", L"0.0.0.0"}));
    EXPECT_EQ(this->Service().GetLastErrorCode(), 0u);
}

TYPED_TEST(SharedOperationsEndToEnd, IPAddressesFromVariablesAndRegistersWithoutTheService)
{
    this->Unsupported({kGetNetworkParameter});
    this->Change([](tDeviceData& d) {
        auto& words = d.registers[{0, kNetworkTable}].words;
        words[9] = 192 | 168 << 8; // static address 192.168.5.6
        words[10] = 5 | 6 << 8;
        words[11] = 255 | 255 << 8; // mask 255.255.255.0
        words[12] = 255;
        words[13] = 192 | 168 << 8; // gateway 192.168.5.1
        words[14] = 5 | 1 << 8;
    });
    EXPECT_EQ(this->ReadAddresses(),
              (tAddressTexts{L"192.168.1.77", L"192.168.5.6", L"255.255.255.0", L"192.168.5.1"}));

    // A device that has not yet taken its address is asked once more a
    // second later; still without one, the configured address stands in.
    this->Change([](tDeviceData& d) {
        d.internalVariables = "IP=192.168.1.10;NAME=coupler;HOST=coupler;ACTIP=";
        d.serialInternalVariables[4] = "ACTIP;";
    });
    const ULONGLONG before = Platform::Clock::NowMs();
    const tAddressTexts late = this->ReadAddresses();
    EXPECT_GE(Platform::Clock::NowMs() - before, 1000u);
    EXPECT_EQ(late.actual, L"192.168.5.6");
    EXPECT_EQ(late.configured, L"192.168.5.6");
}

// ---- the register fall-back of the writes ------------------------------------

TYPED_TEST(SharedOperationsEndToEnd, AlternativeDNSGoesToTheServiceWhileTheDeviceHasIt)
{
    ASSERT_TRUE(this->Service().WriteAlternativeDNSAddress(0, L"9.9.9.9")) << this->Hex();
    EXPECT_EQ(this->NetBytes(0, DevSim::NET_STATIC, DevSim::NET_DNS2), (std::vector<uint8_t>{9, 9, 9, 9}));
    EXPECT_EQ(this->NetworkRegisters(17, 2), (std::vector<uint16_t>{0, 0}));
}

TYPED_TEST(SharedOperationsEndToEnd, NotSupportedSendsTheAlternativeDNSToRegisters17And18)
{
    this->Unsupported({kSetNetworkParameter});
    ASSERT_TRUE(this->Service().WriteAlternativeDNSAddress(0, L"10.20.30.40")) << this->Hex();
    EXPECT_EQ(this->NetworkRegisters(17, 2), (std::vector<uint16_t>{10 | 20 << 8, 30 | 40 << 8}));
    EXPECT_TRUE(this->Model().writeAccess);
    EXPECT_EQ(this->NetBytes(0, DevSim::NET_STATIC, DevSim::NET_DNS2), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(this->Service().GetLastErrorCode(), 0u);

    ASSERT_TRUE(this->Service().WriteHostName(L"north")) << this->Hex();
    EXPECT_EQ(this->NetworkRegisters(25, 4), (std::vector<uint16_t>{'n' | 'o' << 8, 'r' | 't' << 8, 'h', 0}));

    this->Unsupported({kGetNetworkParameter});
    std::wstring name;
    ASSERT_TRUE(this->Service().ReadHostName(name)) << this->Hex();
    EXPECT_EQ(name, L"north");
}

TYPED_TEST(SharedOperationsEndToEnd, NamesKeepTheirLengthOnTheServiceAndAreCutInRegisters)
{
    // The SNTP host name may be far longer than one answer word block.
    const std::string sntp(200, 's');
    ASSERT_TRUE(this->Service().WriteSntpHostName(std::wstring(sntp.begin(), sntp.end()))) << this->Hex();
    EXPECT_EQ(this->NetBytes(0, DevSim::NET_STATIC, DevSim::NET_SNTP_NAME), std::vector<uint8_t>(sntp.begin(), sntp.end()));
    std::wstring name;
    ASSERT_TRUE(this->Service().ReadSntpHostName(name)) << this->Hex();
    EXPECT_EQ(name, std::wstring(sntp.begin(), sntp.end()));

    // A name of 32 characters suits the service; sixteen registers leave
    // room for 31 and the NUL.
    this->Unsupported({kGetNetworkParameter, kSetNetworkParameter});
    ASSERT_TRUE(this->Service().WriteDomainName(std::wstring(32, L'd'))) << this->Hex();
    const std::vector<uint16_t> words = this->NetworkRegisters(41, 16);
    EXPECT_EQ(words.front(), 'd' | 'd' << 8);
    EXPECT_EQ(words.back(), 'd');
    ASSERT_TRUE(this->Service().ReadDomainName(name)) << this->Hex();
    EXPECT_EQ(name, std::wstring(31, L'd'));
}

TYPED_TEST(SharedOperationsEndToEnd, AnotherFailureIsNoReasonForTheRegisters)
{
    // Port 3 does not exist: "parameter not present", not "not supported".
    EXPECT_FALSE(this->Service().WriteAlternativeDNSAddress(3, L"10.20.30.40"));
    EXPECT_EQ(this->Service().GetLastErrorCode(), PELORUS_ERROR_PARAMETER_NOT_PRESENT);
    EXPECT_EQ(this->NetworkRegisters(17, 2), (std::vector<uint16_t>{0, 0}));

    // A busy device is no older device.
    this->Refuse(kSetNetworkParameter, DevSim::STATUS_BUSY);
    this->Refuse(kGetNetworkParameter, DevSim::STATUS_BUSY);
    EXPECT_FALSE(this->Service().WritePreferedDNSAddress(0, L"1.1.1.1"));
    EXPECT_EQ(this->Service().GetLastErrorCode(), 0x2008821Du);
    EXPECT_EQ(this->NetworkRegisters(15, 2), (std::vector<uint16_t>{0, 0}));
    EXPECT_FALSE(this->Service().UseIPAddressFromDHCP(0));
    EXPECT_EQ(this->NetworkRegisters(0, 1), std::vector<uint16_t>{0});

    this->Unsupported({kSetNetworkParameter});
    EXPECT_FALSE(this->Service().WriteAlternativeDNSAddress(0, L"10.20.300.40"));
    EXPECT_EQ(this->Service().GetLastErrorCode(), PELORUS_ERROR_ADDRESS_TEXT);
    EXPECT_EQ(this->NetworkRegisters(17, 2), (std::vector<uint16_t>{0, 0}));
}

TYPED_TEST(SharedOperationsEndToEnd, ARejectedNetworkServiceAlsoLeadsToTheRegisters)
{
    this->Refuse(kGetNetworkParameter, DevSim::STATUS_REJECTED);
    this->Refuse(kSetNetworkParameter, DevSim::STATUS_REJECTED);
    ASSERT_TRUE(this->Service().WriteGatewayAddress(0, L"192.168.5.1")) << this->Hex();
    EXPECT_EQ(this->NetworkRegisters(13, 2), (std::vector<uint16_t>{192 | 168 << 8, 5 | 1 << 8}));
    EXPECT_EQ(this->ReadAddresses(), (tAddressTexts{L"192.168.1.77", L"0.0.0.0", L"0.0.0.0", L"192.168.5.1"}));
}

// ---- clock, card, modes, monitor -----------------------------------------

TYPED_TEST(SharedOperationsEndToEnd, DateTimeSettingsRoundTrip)
{
    this->Change([](tDeviceData& d) {
        d.clockSeconds = 1780000000;
        d.zoneMinutes = -90;
        d.daylightSaving = 1;
    });
    CServiceBase::tDateTime read;
    ASSERT_TRUE(this->Service().GetDateTimeSettings(read)) << this->Hex();
    EXPECT_EQ(read.dwSeconds, 1780000000u);
    EXPECT_EQ(read.sZoneMinutes, -90);
    EXPECT_EQ(read.sDaylightSaving, 1);

    CServiceBase::tDateTime written;
    written.dwSeconds = 0xF0000001u;
    written.sZoneMinutes = 330;
    written.sDaylightSaving = 0;
    ASSERT_TRUE(this->Service().SetDateTimeSettings(written)) << this->Hex();
    const tDeviceData d = this->Model();
    EXPECT_EQ(d.clockSeconds, 0xF0000001u);
    EXPECT_EQ(d.zoneMinutes, 330);
    EXPECT_EQ(d.daylightSaving, 0);
}

TYPED_TEST(SharedOperationsEndToEnd, DateTimeFallsBackToTheRealTimeClockZonedInHours)
{
    this->Unsupported({kGetDateTime, kSetDateTime});
    this->Change([](tDeviceData& d) {
        d.clockSeconds = 1780000000;
        d.zoneMinutes = 120;
        d.daylightSaving = 1;
    });
    CServiceBase::tDateTime read;
    ASSERT_TRUE(this->Service().GetDateTimeSettings(read)) << this->Hex();
    EXPECT_EQ(read.dwSeconds, 1780000000u);
    EXPECT_EQ(read.sZoneMinutes, 120);
    EXPECT_EQ(read.sDaylightSaving, -1);

    CServiceBase::tDateTime written;
    written.dwSeconds = 1790000000u;
    written.sZoneMinutes = -180;
    ASSERT_TRUE(this->Service().SetDateTimeSettings(written)) << this->Hex();
    EXPECT_EQ(this->Model().clockSeconds, 1790000000u);
    EXPECT_EQ(this->Model().zoneMinutes, -180);
}

TYPED_TEST(SharedOperationsEndToEnd, SDCardInformationJoinsStatusAndRootLocation)
{
    this->Change([](tDeviceData& d) {
        d.sdCard = {true, 2, true, 1900, 640, 0x12345678};
        d.plcRootLocation = 1;
    });
    CServiceBase::tSDCardInfo info;
    ASSERT_TRUE(this->Service().GetSDCardInformation(info)) << this->Hex();
    EXPECT_TRUE(info.bInserted);
    EXPECT_EQ(info.wCardType, 2);
    EXPECT_TRUE(info.bWriteProtected);
    EXPECT_EQ(info.wCapacity, 1900);
    EXPECT_EQ(info.wFreeMemory, 640);
    EXPECT_EQ(info.dwSerialNumber, 0x12345678u);
    EXPECT_EQ(info.wRootLocation, 1);
}

TYPED_TEST(SharedOperationsEndToEnd, MonitorModeFollowsTheStateWords)
{
    ASSERT_TRUE(this->Service().EnableBKMonitorMode(true)) << this->Hex();
    EXPECT_EQ(this->Model().stateWords.at(3), 1);
    ASSERT_TRUE(this->Service().EnableBKMonitorMode(false)) << this->Hex();
    EXPECT_EQ(this->Model().stateWords.at(3), 0);

    // Control mode holds the bus: monitor mode is refused before any request.
    this->Change([](tDeviceData& d) { d.stateWords[4] = 1; });
    EXPECT_FALSE(this->Service().EnableBKMonitorMode(true));
    EXPECT_EQ(this->Service().GetLastErrorCode(), PELORUS_ERROR_MONITOR_MODE_CONTROL);
    EXPECT_EQ(this->Model().stateWords.at(3), 0);
    EXPECT_EQ(this->Model().stateWords.at(4), 1);

    // Too few state words are a malformed answer, not a mode.
    this->Change([](tDeviceData& d) { d.stateWords.resize(4); });
    EXPECT_FALSE(this->Service().EnableBKMonitorMode(true));
    EXPECT_NE(this->Service().GetLastErrorCode(), 0u);
}

TYPED_TEST(SharedOperationsEndToEnd, MonitorEntriesFromTheFirstWithTheRestartMarked)
{
    this->Change([](tDeviceData& d) {
        d.monitor = {{100, 7, 1, 0, 500}, {200, 0, 0xC0, 0, 500}, {300, 12, 4, 1, 500}};
        d.monitorReadPos = 2; // the host must start again from the first entry
    });
    std::vector<tKBMonEntryEx> entries;
    ASSERT_TRUE(this->Service().GetTerminalBusMonitorEntries(entries)) << this->Hex();
    ASSERT_EQ(entries.size(), 3u);
    // The record is packed: its fields are compared as copies, never bound by reference.
    EXPECT_EQ(int{entries[0].wErrorCode}, 7);
    EXPECT_EQ(int{entries[1].wErrorCode}, 0);
    EXPECT_EQ(entries[1].byArgument, 0xC0);
    EXPECT_EQ(int{entries[2].wErrorCode}, 12);
    EXPECT_EQ(entries[2].byEntryFlag, 1);
    // Entries up to the restart, counted from the newest, are the current run.
    EXPECT_EQ(entries[0].byAbsoluteTimes, 0);
    EXPECT_EQ(entries[1].byAbsoluteTimes, 1);
    EXPECT_EQ(entries[2].byAbsoluteTimes, 1);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(static_cast<long long>(entries[i].llSecondsSinceStart), static_cast<long long>(10 * (i + 1)));
        EXPECT_EQ(entries[i].llEventTime - entries[i].llStartTime, static_cast<long long>(10 * (i + 1)));
    }
    EXPECT_EQ(this->Model().monitorReadPos, 3u);
}

// ---- configuration, identification, connection ---------------------------

TYPED_TEST(SharedOperationsEndToEnd, SubBusConfigurationEndsAtTheFirstZero)
{
    std::vector<unsigned short> config;
    ASSERT_TRUE(this->Service().GetSubBusConfiguration(&config)) << this->Hex();
    EXPECT_EQ(config, (std::vector<unsigned short>{0x8212, 0x0401, 0x0559, 0}));

    // A table without the closing zero ends at its last register.
    this->Change([](tDeviceData& d) { d.registers[{0, kConfigurationTable}].words = {0x8212, 0x0401}; });
    ASSERT_TRUE(this->Service().GetSubBusConfiguration(&config)) << this->Hex();
    EXPECT_EQ(config, (std::vector<unsigned short>{0x8212, 0x0401, 0}));

    this->Change([](tDeviceData& d) { d.registers[{0, kConfigurationTable}].words = {0x8212, 0, 0x0401}; });
    EXPECT_FALSE(this->Service().GetSubBusConfiguration(&config));
    EXPECT_EQ(this->Service().GetLastErrorCode(), PELORUS_ERROR_INVALID_NODE_CONFIGURATION);
}

TYPED_TEST(SharedOperationsEndToEnd, BasicIdentificationPacksTheTextsWithLengthBytes)
{
    const std::string order = "0612-0001";
    const std::string expected = std::string(1, char(9)) + order + char(12) + "Line coupler" + char(2) + "04" +
                                 char(8) + "02.07.11";
    std::vector<unsigned char> buffer(64, 0xEE);
    ASSERT_TRUE(this->Service().BasicFbcIdentification(buffer.data(), static_cast<unsigned short>(buffer.size())))
        << this->Hex();
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(buffer[expected.size()], 0xEE);

    // A text that does not fit is left out whole, with all behind it.
    std::vector<unsigned char> small(20, 0xEE);
    ASSERT_TRUE(this->Service().BasicFbcIdentification(small.data(), static_cast<unsigned short>(small.size())))
        << this->Hex();
    EXPECT_EQ(std::string(small.begin(), small.begin() + 10), expected.substr(0, 10));
    EXPECT_EQ(small[10], 0xEE);
}

TYPED_TEST(SharedOperationsEndToEnd, CommunicationCheckOnAnOpenConnectionLeavesItOpen)
{
    const unsigned int timeout = this->Connection().GetCommunicationTimeout();
    ASSERT_TRUE(this->Service().CServiceBase::CheckCommunication(1)) << this->Hex();
    EXPECT_TRUE(this->Connection().IsOpen());
    EXPECT_EQ(this->Connection().GetCommunicationTimeout(), timeout);

    // A device without the configuration table does not answer the probe.
    this->Change([](tDeviceData& d) { d.registers.erase({0, kConfigurationTable}); });
    EXPECT_FALSE(this->Service().CServiceBase::CheckCommunication(1));
    EXPECT_NE(this->Service().GetLastErrorCode(), 0u);
    EXPECT_FALSE(this->Connection().IsOpen());
}

TYPED_TEST(SharedOperationsEndToEnd, CommunicationCheckClosesAConnectionItOpenedItself)
{
    this->UseWholeSecondTimeouts();
    const unsigned int timeout = this->Connection().GetCommunicationTimeout();
    this->Connection().Close();
    ASSERT_TRUE(this->Service().CServiceBase::CheckCommunication(1)) << this->Hex();
    EXPECT_FALSE(this->Connection().IsOpen());
    EXPECT_EQ(this->Connection().GetCommunicationTimeout(), timeout);
}

// The connection interface counts time-outs in whole seconds; the check puts
// the connection's own settings back, to the millisecond and each one.
using SharedOperationsOverSerial = OverSerial;
using SharedOperationsOverTCP = OverTCP;

TEST_F(SharedOperationsOverTCP, CommunicationCheckKeepsEachOfTheThreeTimeouts)
{
    ASSERT_TRUE(m_connection.SetSettingsXML(
        L"<TCPIP ConnectTimeoutSeconds='3' SendTimeoutSeconds='9' ReceiveTimeoutSeconds='7'/>"));
    m_connection.Close();
    ASSERT_TRUE(m_service.CServiceBase::CheckCommunication(1)) << std::hex << m_service.GetLastErrorCode();
    EXPECT_FALSE(m_connection.IsOpen());
    EXPECT_EQ(m_connection.GetSettingsValue(L"ConnectTimeoutSeconds"), L"3");
    EXPECT_EQ(m_connection.GetSettingsValue(L"SendTimeoutSeconds"), L"9");
    EXPECT_EQ(m_connection.GetSettingsValue(L"ReceiveTimeoutSeconds"), L"7");
}

TEST_F(SharedOperationsOverSerial, CommunicationCheckKeepsASubSecondTimeout)
{
    ASSERT_TRUE(m_service->CServiceBase::CheckCommunication(1)) << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(m_connection.GetSettingsValue(L"timeout"), L"300");
    m_connection.Close();
    EXPECT_TRUE(m_service->CServiceBase::CheckCommunication(1)) << std::hex << m_service->GetLastErrorCode();
    EXPECT_EQ(m_connection.GetSettingsValue(L"timeout"), L"300");
}

}
