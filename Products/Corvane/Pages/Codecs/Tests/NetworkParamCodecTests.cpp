#include "Products/Corvane/Pages/Codecs/NetworkParamCodec.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Products/Corvane/Pages/Codecs/Tests/BlockFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace Corvane {

namespace {

using Codec = CNetworkParamCodec;

CFBCData PortData(DWORD ports)
{
    CFBCData data;
    data.HasNetworkParams = true;
    data.SetEthernetPortCount(ports);
    for (DWORD port = 0; port < ports; ++port) {
        const std::wstring suffix = std::to_wstring(port + 1);
        auto& fixed = *data.GetStaticNetworkParams(port);
        auto& actual = *data.GetActualNetworkParams(port);
        fixed.wIPAddressSource = 1;
        actual.wIPAddressSource = 2;
        fixed.strIPAddress = L"192.168.1." + suffix;
        actual.strIPAddress = L"10.0.0." + suffix;
        fixed.strSubnetMask = actual.strSubnetMask = L"255.255.255.0";
        fixed.strGatewayAddress = L"192.168.1.254";
        fixed.strPreferredDNSServer = L"192.168.1.253";
        fixed.strAlternativeDNSServer = L"0.0.0.0";
        fixed.strParameter6 = L"192.168.1.252";
        fixed.strHostName = L"host" + suffix;
        fixed.strDomainName = L"example.org";
        fixed.strParameter9 = L"192.168.1.0";
        actual.strParameter9 = L"192.168.1.255";
    }
    return data;
}

using tNetworkParams = CFBCData::tNetworkParams;
using Refused = std::pair<DWORD, int>;
const Refused kNoneRefused{0, 0};

Refused FirstRefused(CFBCData& data)
{
    const auto field = Codec::FirstUnwritableField(data, [](const std::wstring& address) {
        return address != L"192.168.1.99";
    });
    return field ? Refused{field->Port, field->Row} : kNoneRefused;
}

const Codec::SourceTextOf kSourceText = [](WORD code) { return L"source " + std::to_wstring(code); };
const Codec::AddressFilter kNotOnList = [](const std::wstring& address) { return address != L"192.168.1.99"; };

}

// An address no device takes, as a file may hold one, marks its row; a
// name row and a parameter the device does not support never do.
TEST(NetworkParamCodec, ConfiguredAddressesNoDeviceTakesMarkTheirRows)
{
    CFBCData data = PortData(1);
    auto& fixed = *data.GetStaticNetworkParams(0);
    fixed.strIPAddress = L"999.1.1.1";
    fixed.strGatewayAddress = CServiceBase::SERVICE_NOT_SUPPORTED;
    fixed.strHostName = L"999.1.1.1";
    data.GetActualNetworkParams(0)->strSubnetMask = L"bad";
    std::vector<int> refused;
    for (const Codec::CRow& row : Codec::BuildRows(data, 0, true, kSourceText)) {
        if (row.Refused)
            refused.push_back(row.Row);
    }
    EXPECT_EQ(refused, std::vector<int>{Codec::AddressRow});
}

TEST(NetworkParamCodec, RowsOfAPortFromBothRecords)
{
    CFBCData data = PortData(2);
    const std::vector<Codec::CRow> rows = Codec::BuildRows(data, 1, true, kSourceText);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0].Static, L"source 1");
    EXPECT_EQ(rows[0].Actual, L"source 2");
    EXPECT_EQ(rows[1].Static, L"192.168.1.2");
    EXPECT_EQ(rows[1].Actual, L"10.0.0.2");
    EXPECT_STREQ(rows[2].CaptionKey, L"TT_SUBNET_MASK_HDR");
    EXPECT_EQ(rows[7].Static, L"host2");
    EXPECT_EQ(rows[9].Row, Codec::DipRow);
    EXPECT_EQ(Codec::WithDhcpMark(rows[9].Actual), L"192.168.1.255 (DHCP)");
    EXPECT_EQ(Codec::WithDhcpMark(rows[9].Static), L"192.168.1.0");
    EXPECT_EQ(Codec::BuildRows(data, 1, false, kSourceText).size(), 9u);
    EXPECT_TRUE(Codec::BuildRows(data, 2, true, kSourceText).empty());
    data.HasNetworkParams = false;
    EXPECT_TRUE(Codec::BuildRows(data, 0, true, kSourceText).empty());
}

TEST(NetworkParamCodec, ErrorAndNotSupportedRows)
{
    CFBCData data = PortData(1);
    data.GetActualNetworkParams(0)->strGatewayAddress = L"ERR: no route";
    data.GetStaticNetworkParams(0)->strDomainName = CServiceBase::SERVICE_NOT_SUPPORTED;
    const std::vector<Codec::CRow> rows = Codec::BuildRows(data, 0, false, kSourceText);
    EXPECT_EQ(rows[3].Actual, L"no route");
    EXPECT_EQ(rows[3].Kind, Codec::kErrorKind);
    EXPECT_FALSE(rows[3].NotSupported);
    EXPECT_TRUE(rows[8].NotSupported);
    EXPECT_EQ(rows[2].Kind, Codec::kNormalKind);
}

TEST(NetworkParamCodec, SntpRowShowsPortZerosNameOrFallsBack)
{
    CFBCData data = PortData(2);
    data.GetStaticNetworkParams(0)->strSNTPHostName = L"time.example.org";
    data.GetActualNetworkParams(0)->strSNTPHostName = L"time.example.net";
    EXPECT_EQ(Codec::BuildRows(data, 1, false, kSourceText)[6].Static, L"time.example.org");
    data.GetActualNetworkParams(0)->strSNTPHostName = CServiceBase::SERVICE_NOT_SUPPORTED;
    EXPECT_EQ(Codec::BuildRows(data, 1, false, kSourceText)[6].Static, L"192.168.1.252");
    data.GetActualNetworkParams(0)->strSNTPHostName = L"x";
    data.GetStaticNetworkParams(0)->strSNTPHostName.clear();
    EXPECT_FALSE(Codec::ShowsSntpName(data));
}

TEST(NetworkParamCodec, AddressEditsAreNormalisedOrRefused)
{
    CFBCData data = PortData(1);
    Codec::CEditResult result = Codec::ApplyText(data, 0, Codec::MaskRow, L"255.255.0", kNotOnList);
    EXPECT_TRUE(result.Stored);
    EXPECT_EQ(result.CellText, L"255.255.0.0");
    EXPECT_TRUE(data.NetworkParamsModified);
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strSubnetMask, L"255.255.0.0");

    result = Codec::ApplyText(data, 0, Codec::GatewayRow, L"1.2.3.256", kNotOnList);
    EXPECT_FALSE(result.Stored);
    EXPECT_EQ(result.Balloon, Codec::EBalloon::InvalidAddress);
    EXPECT_EQ(result.BalloonRow, Codec::GatewayRow);
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strGatewayAddress, L"192.168.1.254");

    result = Codec::ApplyText(data, 0, Codec::DipRow, L"abc", kNotOnList);
    EXPECT_FALSE(result.Stored);
    EXPECT_FALSE(Codec::ApplyText(data, 3, Codec::MaskRow, L"1.2.3.4", kNotOnList).Stored);
    EXPECT_FALSE(Codec::ApplyText(data, 0, 11, L"1.2.3.4", kNotOnList).Stored);
}

TEST(NetworkParamCodec, FixedSourceRequiresAnAllowedAddress)
{
    CFBCData data = PortData(1);
    Codec::CEditResult result = Codec::ApplyText(data, 0, Codec::AddressRow, L"192.168.1.99", kNotOnList);
    // Source 1: any valid address.
    EXPECT_EQ(result.Balloon, Codec::EBalloon::None);
    result = Codec::ApplySource(data, 0, Codec::kFixedSourceCode, kNotOnList);
    EXPECT_TRUE(result.Stored);
    EXPECT_EQ(data.GetStaticNetworkParams(0)->wIPAddressSource, 3);
    EXPECT_EQ(result.Balloon, Codec::EBalloon::InvalidAddress);
    EXPECT_EQ(result.BalloonRow, Codec::AddressRow);
    // Stored, yet refused again before a write.
    EXPECT_EQ(FirstRefused(data), (Refused{0, Codec::AddressRow}));
    result = Codec::ApplyText(data, 0, Codec::AddressRow, L"192.168.1.98", kNotOnList);
    EXPECT_EQ(result.Balloon, Codec::EBalloon::None);
    EXPECT_EQ(FirstRefused(data), kNoneRefused);
}

TEST(NetworkParamCodec, EveryPortIsCheckedBeforeAWrite)
{
    CFBCData data = PortData(2);
    data.GetStaticNetworkParams(1)->wIPAddressSource = Codec::kFixedSourceCode;
    data.GetStaticNetworkParams(1)->strIPAddress = L"192.168.1.99";
    data.GetStaticNetworkParams(0)->strIPAddress = L"10.1";
    EXPECT_EQ(FirstRefused(data), (Refused{1, Codec::AddressRow}));
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strIPAddress, L"10.1.0.0");
    data.GetStaticNetworkParams(1)->strIPAddress = L"x";
    data.GetStaticNetworkParams(1)->wIPAddressSource = 1;
    EXPECT_EQ(FirstRefused(data), (Refused{1, Codec::AddressRow}));
    data.GetStaticNetworkParams(1)->strIPAddress = CServiceBase::SERVICE_NOT_SUPPORTED;
    EXPECT_EQ(FirstRefused(data), kNoneRefused);
}

// Values that reach the page from a file, not through its editor: each is
// found on its own port and row before a write.
TEST(NetworkParamCodec, EveryStaticValueTheDeviceCannotTakeIsFound)
{
    const std::vector<std::tuple<int, std::wstring tNetworkParams::*, std::wstring>> cases = {
        {Codec::AddressRow, &tNetworkParams::strIPAddress, L"999.1.1.1"},
        {Codec::MaskRow, &tNetworkParams::strSubnetMask, L"255.0.255.0"},
        {Codec::GatewayRow, &tNetworkParams::strGatewayAddress, L"1.2.3.4."},
        {Codec::HostNameRow, &tNetworkParams::strHostName, std::wstring(32, L'h')},
        {Codec::DipRow, &tNetworkParams::strParameter9, L"switch"},
    };
    for (const auto& [row, field, value] : cases) {
        SCOPED_TRACE(row);
        CFBCData data = PortData(2);
        data.GetStaticNetworkParams(1)->*field = value;
        EXPECT_EQ(FirstRefused(data), (Refused{1, row}));
        EXPECT_FALSE(Codec::IsWritable(*data.GetStaticNetworkParams(1), row, kNotOnList));
        EXPECT_TRUE(Codec::IsWritable(*data.GetStaticNetworkParams(0), row, kNotOnList));
    }
    CFBCData data = PortData(1);
    for (WORD source : {WORD{0}, WORD{5}}) {
        data.GetStaticNetworkParams(0)->wIPAddressSource = source;
        EXPECT_EQ(FirstRefused(data), (Refused{0, Codec::SourceRow})) << source;
    }
    data.GetStaticNetworkParams(0)->wIPAddressSource = 0x8213;
    EXPECT_EQ(FirstRefused(data), kNoneRefused) << "a source the device does not support is not written";
}

TEST(NetworkParamCodec, ASubnetMaskRunsItsOnesFromTheLeft)
{
    const std::vector<std::pair<std::wstring, bool>> masks = {
        {L"255.255.255.0", true},  {L"255.255.240.0", true},   {L"128.0.0.0", true},
        {L"255.255.255.254", true}, {L"255.255.255", true},    {L"0.0.0.0", true},
        {L"255.255.255.255", true}, {L"255.0.255.0", false},   {L"0.255.255.255", false},
        {L"255.255.0.255", false},  {L"255.255.253.0", false}, {L"255.255.255.1", false},
        {L"1.2.3.256", false},      {L"mask", false},
    };
    for (const auto& [mask, valid] : masks) {
        SCOPED_TRACE(std::string(mask.begin(), mask.end()));
        EXPECT_EQ(Codec::IsValidSubnetMask(mask), valid);
        CFBCData data = PortData(2);
        const Codec::CEditResult result = Codec::ApplyText(data, 1, Codec::MaskRow, mask, kNotOnList);
        EXPECT_EQ(result.Stored, valid);
        EXPECT_EQ(result.Balloon, valid ? Codec::EBalloon::None : Codec::EBalloon::InvalidAddress);
        if (!valid) {
            EXPECT_EQ(data.GetStaticNetworkParams(1)->strSubnetMask, L"255.255.255.0") << "the old mask stays";
            EXPECT_FALSE(data.NetworkParamsModified);
        }
    }
}

// Which edits move the device off the address the program is connected at.
// Port 1 is reached at 10.0.0.1 (static source), port 2 at 10.0.0.2 (DHCP).
TEST(NetworkParamCodec, OnlyAMoveOfTheConnectedAddressOrItsSourceChangesTheConnection)
{
    struct tCase {
        const char* name;
        std::function<void(CFBCData&)> edit;
        const wchar_t* connection;
        bool changes;
    };
    const auto fixed = [](CFBCData& data, DWORD port) -> tNetworkParams& { return *data.GetStaticNetworkParams(port); };
    const std::vector<tCase> cases = {
        {"nothing", [](CFBCData&) {}, L"10.0.0.1", false},
        {"host name", [&](CFBCData& d) { Codec::ApplyText(d, 0, Codec::HostNameRow, L"edited-1", kNotOnList); },
         L"10.0.0.1", false},
        {"mask of X2", [&](CFBCData& d) { Codec::ApplyText(d, 1, Codec::MaskRow, L"255.255.0.0", kNotOnList); },
         L"10.0.0.1", false},
        {"mask of X1", [&](CFBCData& d) { Codec::ApplyText(d, 0, Codec::MaskRow, L"255.255.0.0", kNotOnList); },
         L"10.0.0.1", false},
        {"address of X1", [&](CFBCData& d) { Codec::ApplyText(d, 0, Codec::AddressRow, L"10.0.0.9", kNotOnList); },
         L"10.0.0.1", true},
        {"same address written longer", [&](CFBCData& d) { fixed(d, 0).strIPAddress = L"10.0.0.001"; },
         L"10.0.0.1", false},
        {"source of X1", [&](CFBCData& d) { Codec::ApplySource(d, 0, Codec::kDhcpSourceCode, kNotOnList); },
         L"10.0.0.1", true},
        {"address of X2, connected at X1",
         [&](CFBCData& d) { Codec::ApplyText(d, 1, Codec::AddressRow, L"10.0.0.8", kNotOnList); }, L"10.0.0.1", false},
        {"address of X2 under DHCP, connected at X2",
         [&](CFBCData& d) { Codec::ApplyText(d, 1, Codec::AddressRow, L"10.0.0.8", kNotOnList); }, L"10.0.0.2", false},
        {"source of X2, connected at X2",
         [&](CFBCData& d) { Codec::ApplySource(d, 1, Codec::kFixedSourceCode, kNotOnList); }, L"10.0.0.2", true},
        {"address of X2, connected by name",
         [&](CFBCData& d) { Codec::ApplySource(d, 1, Codec::kFixedSourceCode, kNotOnList); }, L"device.local", true},
        {"host name, connected by name",
         [&](CFBCData& d) { Codec::ApplyText(d, 0, Codec::HostNameRow, L"edited-1", kNotOnList); }, L"device.local",
         false},
    };
    for (const tCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFBCData data = PortData(2);
        for (DWORD port = 0; port < 2; ++port) {
            const WORD source = port == 0 ? Codec::kFixedSourceCode : Codec::kDhcpSourceCode;
            const std::wstring address = L"10.0.0." + std::to_wstring(port + 1);
            fixed(data, port).wIPAddressSource = data.GetActualNetworkParams(port)->wIPAddressSource = source;
            fixed(data, port).strIPAddress = data.GetActualNetworkParams(port)->strIPAddress = address;
        }
        c.edit(data);
        EXPECT_EQ(Codec::ChangesConnectionAddress(data, c.connection), c.changes);
    }
}

TEST(NetworkParamCodec, TheCommonValuesAreEditedOnTheFirstPortOnly)
{
    CFBCData data = PortData(2);
    for (DWORD port = 0; port < 2; ++port) {
        for (const Codec::CRow& row : Codec::BuildRows(data, port, true, kSourceText))
            EXPECT_EQ(row.Shared, port == 1 && row.Row >= Codec::GatewayRow && row.Row <= Codec::DomainNameRow)
                << "port " << port << ", row " << row.Row;
    }
}

TEST(NetworkParamCodec, NamesAreCutTo31Characters)
{
    CFBCData data = PortData(1);
    Codec::CEditResult result = Codec::ApplyText(data, 0, Codec::HostNameRow, std::wstring(32, L'h'), kNotOnList);
    EXPECT_TRUE(result.Stored);
    EXPECT_EQ(result.Balloon, Codec::EBalloon::MaxLength);
    EXPECT_EQ(result.CellText, std::wstring(31, L'h'));
    result = Codec::ApplyText(data, 0, Codec::DomainNameRow, std::wstring(31, L'd'), kNotOnList);
    EXPECT_EQ(result.Balloon, Codec::EBalloon::None);
    EXPECT_EQ(data.GetStaticNetworkParams(0)->strDomainName, std::wstring(31, L'd'));
}

TEST(NetworkParamCodec, CommonRowsAreMirroredToTheOtherPort)
{
    CFBCData data = PortData(2);
    Codec::ApplyText(data, 1, Codec::GatewayRow, L"10.9.9.9", kNotOnList);
    Codec::ApplyText(data, 1, Codec::HostNameRow, L"shared", kNotOnList);
    Codec::ApplyText(data, 1, Codec::MaskRow, L"255.0.0.0", kNotOnList);
    Codec::ApplyText(data, 1, Codec::AddressRow, L"10.9.9.1", kNotOnList);
    const auto& other = *data.GetStaticNetworkParams(0);
    EXPECT_EQ(other.strGatewayAddress, L"10.9.9.9");
    EXPECT_EQ(other.strHostName, L"shared");
    EXPECT_EQ(other.strSubnetMask, L"255.255.255.0");
    EXPECT_EQ(other.strIPAddress, L"192.168.1.1");
    EXPECT_EQ(other.strParameter9, L"192.168.1.0");
}

TEST(NetworkParamCodec, SntpEditReplacesTheShownName)
{
    CFBCData data = PortData(2);
    data.GetStaticNetworkParams(0)->strSNTPHostName = L"time.example.org";
    data.GetStaticNetworkParams(1)->strSNTPHostName = L"time.example.org";
    data.GetActualNetworkParams(0)->strSNTPHostName = L"time.example.org";
    const Codec::CEditResult result = Codec::ApplyText(data, 1, Codec::SntpRow, L"10.1.1.1", kNotOnList);
    EXPECT_TRUE(result.Stored);
    for (DWORD port = 0; port < 2; ++port) {
        EXPECT_EQ(data.GetStaticNetworkParams(port)->strParameter6, L"10.1.1.1");
        EXPECT_EQ(data.GetStaticNetworkParams(port)->strSNTPHostName, L"");
    }
    EXPECT_EQ(Codec::BuildRows(data, 0, false, kSourceText)[6].Static, L"10.1.1.1");
}

TEST(NetworkParamCodec, PortAndInterfaceMode)
{
    CFBCData data = PortData(1);
    EXPECT_EQ(Codec::EffectivePort(data, 1), 0u);
    EXPECT_EQ(Codec::EffectivePort(PortData(2), 1), 1u);
    EXPECT_TRUE(Codec::SetInterfaceMode(data, 1));
    EXPECT_TRUE(data.InterfaceModeToWrite);
    data.InterfaceModeToWrite = false;
    EXPECT_FALSE(Codec::SetInterfaceMode(data, 1));
    EXPECT_FALSE(data.InterfaceModeToWrite);
}

TEST(NetworkParamCodec, WebManagementUrl)
{
    CGuardedBlock words(84);
    CDeviceBlock block = words.Block();
    EXPECT_EQ(Codec::WebManagementUrl(block, L"10.0.0.1"), L"http://10.0.0.1");
    EXPECT_EQ(Codec::WebManagementUrl(block, L"0.0.0.0"), L"");
    words[83] = 0x8000;
    words[68] = 0x0010;
    EXPECT_EQ(Codec::WebManagementUrl(block, L"10.0.0.1"), L"https://10.0.0.1");
    CDeviceBlock none;
    EXPECT_EQ(Codec::WebManagementUrl(none, L"10.0.0.1"), L"http://10.0.0.1");
}

TEST(NetworkParamCodec, PasteCheck)
{
    EXPECT_EQ(Codec::CheckPaste(Codec::SourceRow, L"1"), Codec::EPaste::Refused);
    EXPECT_EQ(Codec::CheckPaste(Codec::MaskRow, L"255.0.0.0"), Codec::EPaste::Allowed);
    EXPECT_EQ(Codec::CheckPaste(Codec::MaskRow, L"a\nb"), Codec::EPaste::TooMuchText);
    EXPECT_EQ(Codec::CheckPaste(Codec::HostNameRow, std::wstring(257, L'a')), Codec::EPaste::TooMuchText);
    EXPECT_EQ(Codec::CheckPaste(Codec::HostNameRow, std::wstring(256, L'a')), Codec::EPaste::Allowed);
    EXPECT_EQ(Codec::CheckPaste(Codec::DipRow, L"name"), Codec::EPaste::NoAddress);
}

TEST(NetworkParamCodec, SwitchAddressTakesTheSwitchValueAsItsLastPart)
{
    EXPECT_EQ(Codec::WithDhcpMark(Codec::SwitchAddress(L"192.168.1.0", 255)), L"192.168.1.255 (DHCP)");
    EXPECT_EQ(Codec::SwitchAddress(L"10.0.0.200", 7), L"10.0.0.7");
    // Without a base address the value alone is shown, never a broken address.
    EXPECT_EQ(Codec::SwitchAddress(L"", 12), L"12");
    EXPECT_EQ(Codec::SwitchAddress(L"not an address", 65535), L"65535");
}

}  // namespace Corvane
