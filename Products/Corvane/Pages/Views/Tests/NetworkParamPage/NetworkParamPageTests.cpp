// The network-parameters page: the ports' records in the grid, the
// configured column edited in place and stored field by field (the common
// fields into every port), refused addresses, copy and paste, and the
// interface-mode write and the address-switch poll against the simulated
// device.
#include "Common/Grid/GridCellBase.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Gdi/SysColors.h"
#include "Products/Corvane/Pages/Views/NetworkParamPage.h"
#include "Products/Corvane/Pages/Views/Res/NetworkParamPageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"

#include <algorithm>

namespace Corvane {

using namespace NetworkParamPageIds;
using namespace ZELL::Grid;
using PageViewTest::CDriven;
using Codec = CNetworkParamCodec;
using tNetworkParams = CFBCData::tNetworkParams;

namespace {

constexpr int kStatic = CNetworkParamPage::kStaticColumn;
constexpr int kActual = CNetworkParamPage::kActualColumn;

// The page with its balloons, messages and opened addresses noted.
class CNotedPage : public CDriven<CNetworkParamPage> {
public:
    struct tBalloon {
        int row;
        int column;
        CString title;
        UINT icon;
    };
    std::vector<tBalloon> m_arrCellBalloons;
    std::vector<CString> m_arrMessages;
    std::vector<CString> m_arrUrls;

protected:
    void ShowCellBalloon(int row, int column, const CString& title, const CString&, UINT icon) override
    {
        m_arrCellBalloons.push_back({row, column, title, icon});
    }
    void CloseCellBalloon() override {}
    void ShowMessage(const CString& text) override { m_arrMessages.push_back(text); }
    void OpenUrl(const CString& url) override { m_arrUrls.push_back(url); }
};

void FillRecord(tNetworkParams& record, const std::wstring& address, WORD source)
{
    record.wIPAddressSource = source;
    record.strIPAddress = address;
    record.strSubnetMask = L"255.255.255.0";
    record.strGatewayAddress = L"192.168.1.1";
    record.strPreferredDNSServer = L"192.168.1.2";
    record.strAlternativeDNSServer = L"192.168.1.3";
    record.strParameter6 = L"192.168.1.4";
    record.strHostName = L"coupler";
    record.strDomainName = L"example.org";
    record.strParameter9 = L"192.168.1.0";
}

bool SameRecord(const tNetworkParams& a, const tNetworkParams& b)
{
    return a.wIPAddressSource == b.wIPAddressSource && a.strIPAddress == b.strIPAddress &&
           a.strSubnetMask == b.strSubnetMask && a.strGatewayAddress == b.strGatewayAddress &&
           a.strPreferredDNSServer == b.strPreferredDNSServer &&
           a.strAlternativeDNSServer == b.strAlternativeDNSServer && a.strParameter6 == b.strParameter6 &&
           a.strHostName == b.strHostName && a.strDomainName == b.strDomainName &&
           a.strParameter9 == b.strParameter9 && a.strSNTPHostName == b.strSNTPHostName;
}

class NetworkParamPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto [key, text] : {std::pair{L"TXT_IP_ADDR_SOURCE_01", L"DHCP"}, {L"TXT_IP_ADDR_SOURCE_02", L"BootP"},
                                 {L"TXT_IP_ADDR_SOURCE_03", L"Fixed"}, {L"TXT_IP_ADDRESS", L"IP address"},
                                 {L"TXT_NOT_SUPPORTED", L"n/a"},
                                 {L"MSG_TO_MUCH_TEXT_IN_CLIPBOARD", L"Too much text"},
                                 {L"MSG_NO_IP_ADDR_IN_CLIPBOARD", L"No address"},
                                 {L"FAILED_TO_QUERY_DIP_FMT", L"Switch failed 0x%08X"}})
            GetLanguageSupport().SetText(key, text);
        SetPorts(2);
    }
    void TearDown() override { CCouplerSettingsPageBase::LoadInvalidIPAddresses(CDeviceCapabilityFile(CString())); }

    void SetPorts(DWORD ports)
    {
        CFBCData& data = m_Rig.m_data;
        data.HasNetworkParams = true;
        ASSERT_TRUE(data.SetEthernetPortCount(ports));
        for (DWORD port = 0; port < ports; ++port) {
            const std::wstring address = L"192.168.1." + std::to_wstring(10 + port);
            FillRecord(*data.GetStaticNetworkParams(port), address, 3);
            FillRecord(*data.GetActualNetworkParams(port), address, 3);
        }
        data.GetActualNetworkParams(0)->strIPAddress = L"192.168.1.99";
    }

    std::vector<tNetworkParams> StaticRecords() const
    {
        std::vector<tNetworkParams> records;
        for (DWORD port = 0; port < m_Rig.m_data.GetEthernetPortCount(); ++port)
            records.push_back(*m_Rig.m_data.GetStaticNetworkParams(port));
        return records;
    }

    // Shows the page as the main dialog does after a read: attached again
    // while it is the active page, so that it loads its grid.
    void Show(bool controller = false)
    {
        m_Rig.Show(m_Page, true, controller);
        m_Page.AttachDeviceData(&m_Rig.m_Block[0], static_cast<unsigned>(PageViewTest::CPageViewRig::kBlockWords), 1,
                              controller ? 1 : 0);
        m_Rig.Driver().PumpUntilIdle();
    }

    CString Cell(int row, int column) { return m_Page.Grid().GetCellText(row, column); }

    void ClickCell(int row, int column)
    {
        m_Page.Grid().EnsureVisible(row, column);
        CRect rect;
        ASSERT_TRUE(m_Page.Grid().GetCellRect(row, column, rect));
        UiTest::CDialogDriver driver = m_Rig.Driver();
        ASSERT_TRUE(driver.Click(kNetworkParamGrid, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}));
        driver.PumpUntilIdle();
    }

    bool IsEditing(int row)
    {
        const CGridCellBase* cell = m_Page.Grid().GetCell(row, kStatic);
        return cell != nullptr && cell->IsEditing();
    }

    // Opens the cell's in-place editor, types over its text and ends with Enter.
    void EditCell(int row, const std::wstring& text)
    {
        ClickCell(row, kStatic);
        UiTest::CDialogDriver driver = m_Rig.Driver();
        driver.Press(VK_F2);
        driver.PumpUntilIdle();
        ASSERT_TRUE(IsEditing(row)) << "the editor of row " << row << " did not open";
        // The editor opens with the caret at the end: select back to the start.
        driver.Press(VK_HOME, UiTest::kShift);
        driver.Type(text);
        driver.Press(VK_RETURN);
        driver.PumpUntilIdle();
    }

    PageViewTest::CPageViewRig m_Rig;
    CNotedPage m_Page;
};

}

TEST_F(NetworkParamPage, ShowsOnePortAtATimeAndSwitchesPortsWithTheButtons)
{
    m_Rig.m_data.GetStaticNetworkParams(1)->strSubnetMask = L"255.255.0.0";
    Show();
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ASSERT_EQ(m_Page.Grid().GetRowCount(), 10) << "the header and nine rows without the switch feature";
    EXPECT_EQ(Cell(Codec::SourceRow, kStatic), L"Fixed");
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"192.168.1.10");
    EXPECT_EQ(Cell(Codec::AddressRow, kActual), L"192.168.1.99");
    EXPECT_EQ(Cell(Codec::AddressRow, 1), L"IP address ");
    EXPECT_TRUE(driver.IsChecked(kPortX1Button));
    EXPECT_TRUE(driver.IsEnabled(kPortX2Button));
    EXPECT_TRUE(driver.IsEnabled(kWebManagementButton));
    EXPECT_FALSE(driver.IsVisible(kDipPollButton));
    EXPECT_FALSE(driver.IsVisible(kInterfaceGroup)) << "the interface mode was not read";

    m_Rig.Click(kPortX2Button);
    EXPECT_EQ(m_Page.SelectedPort(), 1u);
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"192.168.1.11");
    EXPECT_EQ(Cell(Codec::MaskRow, kStatic), L"255.255.0.0");
    EXPECT_TRUE(driver.IsChecked(kPortX2Button));
    EXPECT_FALSE(driver.IsChecked(kPortX1Button));
    m_Rig.Click(kPortX1Button);
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"192.168.1.10");

    m_Rig.Click(kWebManagementButton);
    ASSERT_EQ(m_Page.m_arrUrls.size(), 1u);
    EXPECT_EQ(m_Page.m_arrUrls[0], L"http://192.168.1.99");
}

TEST_F(NetworkParamPage, ASinglePortDeviceOffersNoSecondPortAndAPortBeyondTheCountFallsBackToTheFirst)
{
    Show();
    m_Rig.Click(kPortX2Button);
    ASSERT_EQ(m_Page.SelectedPort(), 1u);
    SetPorts(1);
    m_Page.LoadFromDeviceData();
    EXPECT_EQ(m_Page.SelectedPort(), 0u);
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kPortX2Button));
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"192.168.1.10");
}

TEST_F(NetworkParamPage, AnUnsupportedParameterIsReadOnlyAndAFailedReadIsShownInRed)
{
    m_Rig.m_data.GetActualNetworkParams(0)->strDomainName = CServiceBase::SERVICE_NOT_SUPPORTED;
    m_Rig.m_data.GetActualNetworkParams(0)->strHostName = L"ERR: timeout";
    Show();
    EXPECT_EQ(Cell(Codec::DomainNameRow, kStatic), L"n/a");
    EXPECT_EQ(Cell(Codec::DomainNameRow, kActual), L"n/a");
    EXPECT_FALSE(m_Page.Grid().IsCellEditable(Codec::DomainNameRow, kStatic));
    EXPECT_EQ(m_Page.Grid().GetCellTextColour(Codec::DomainNameRow, kStatic), ::GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(Cell(Codec::HostNameRow, kActual), L"timeout");
    EXPECT_EQ(m_Page.Grid().GetCellTextColour(Codec::HostNameRow, kActual), CGridPageBase::kErrorTextColour);
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::HostNameRow, 0), CGridPageBase::kImageError);
    EXPECT_TRUE(m_Page.Grid().IsCellEditable(Codec::HostNameRow, kStatic)) << "the configured name can still be set";
}

TEST_F(NetworkParamPage, AnEditInPlaceStoresExactlyItsFieldAndReportsTheChange)
{
    Show();
    const std::vector<tNetworkParams> before = StaticRecords();
    const std::vector<WORD> words = m_Rig.Words();
    EditCell(Codec::AddressRow, L"10.1.2.3");
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"10.1.2.3");
    EXPECT_TRUE(m_Rig.m_data.NetworkParamsModified);
    EXPECT_GE(m_Rig.Changes(), 1);
    std::vector<tNetworkParams> expected = before;
    expected[0].strIPAddress = L"10.1.2.3";
    const std::vector<tNetworkParams> after = StaticRecords();
    EXPECT_TRUE(SameRecord(after[0], expected[0]));
    EXPECT_TRUE(SameRecord(after[1], expected[1])) << "the address stays per port";
    EXPECT_TRUE(m_Rig.ChangedWords(words).empty()) << "the page owns no word of the device block";
    EXPECT_TRUE(m_Page.StoreToDeviceData());
}

TEST_F(NetworkParamPage, NothingIsStoredWithoutTheExtraBlock)
{
    Show();
    ASSERT_TRUE(m_Page.StoreToDeviceData());
    m_Page.AttachExtraData(nullptr, 0, 1, 0);
    EXPECT_FALSE(m_Page.StoreToDeviceData());
}

TEST_F(NetworkParamPage, TheCommonFieldsAreStoredIntoEveryPortAndNamesAreCutTo31Characters)
{
    Show();
    EditCell(Codec::GatewayRow, L"192.168.1.254");
    EXPECT_EQ(Cell(Codec::GatewayRow, kStatic), L"192.168.1.254");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strGatewayAddress, L"192.168.1.254");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(1)->strGatewayAddress, L"192.168.1.254");

    const std::wstring name(32, L'h');
    EditCell(Codec::HostNameRow, name);
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strHostName, name.substr(0, 31));
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(1)->strHostName, name.substr(0, 31));
    EXPECT_EQ(Cell(Codec::HostNameRow, kStatic), name.substr(0, 31).c_str());
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::HostNameRow, 0), CGridPageBase::kImageMarked);
    ASSERT_FALSE(m_Page.m_arrCellBalloons.empty());
    EXPECT_EQ(m_Page.m_arrCellBalloons.back().row, Codec::HostNameRow);
    EXPECT_EQ(m_Page.ShownBalloon(), CNetworkParamPage::EBalloon::MaxLength);

    // The warning outlives a rebuild (a language change), not a change of port.
    m_Page.UpdateLanguageTexts();
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::HostNameRow, 0), CGridPageBase::kImageMarked);
    m_Rig.Click(kPortX1Button);
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::HostNameRow, 0), CGridPageBase::kImageNormal);
}

// A refused address changes nothing: not the record, not the settings'
// modified state. The page is not left while the refused entry is open (its
// editor opens on it again); Escape ends it on the old value, and then the
// page may be left.
TEST_F(NetworkParamPage, AnAddressThatIsNoAddressIsRefusedWithItsBalloonAndTheEditorReopens)
{
    Show();
    const std::vector<tNetworkParams> before = StaticRecords();
    for (auto [row, stored] : {std::pair{Codec::FirstDnsRow, L"192.168.1.2"}, {Codec::AddressRow, L"192.168.1.10"}}) {
        SCOPED_TRACE(row);
        m_Page.m_arrCellBalloons.clear();
        EditCell(row, L"300.1.1.1");
        EXPECT_EQ(Cell(row, kStatic), stored) << "the cell keeps the stored value";
        EXPECT_TRUE(SameRecord(StaticRecords()[0], before[0]));
        ASSERT_EQ(m_Page.m_arrCellBalloons.size(), 1u);
        EXPECT_EQ(m_Page.m_arrCellBalloons[0].row, row);
        EXPECT_EQ(m_Page.m_arrCellBalloons[0].icon, CNetworkParamPage::kErrorIcon);
        EXPECT_EQ(m_Page.Grid().GetCellImage(row, 0), CNetworkParamPage::kImageInvalid);
        EXPECT_GT(m_Page.Grid().GetImageList()->GetImageCount(), CNetworkParamPage::kImageInvalid)
            << "the row's mark is one the grid can draw";
        EXPECT_TRUE(m_Rig.Driver().PumpUntil([&, refusedRow = row] { return IsEditing(refusedRow); }))
            << "the editor reopens on the refused cell";
        EXPECT_EQ(m_Rig.Changes(), 0) << "a refused edit leaves the settings unmodified";
    }
    EXPECT_FALSE(m_Page.OnKillActive()) << "the page stays while the refused entry is open";
    EXPECT_TRUE(m_Rig.Driver().PumpUntil([&] { return IsEditing(Codec::AddressRow); }));
    EXPECT_EQ(m_Page.ShownBalloon(), CNetworkParamPage::EBalloon::InvalidAddress);

    const HWND grid = m_Page.Grid().GetSafeHwnd();
    m_Rig.Driver().Press(VK_ESCAPE);
    m_Rig.Driver().PumpUntilIdle();
    MSG released{grid, WM_KEYUP, VK_ESCAPE, 0, 0, {}};
    m_Page.PreTranslateMessage(&released);
    EXPECT_FALSE(IsEditing(Codec::AddressRow));
    EXPECT_EQ(Cell(Codec::AddressRow, kStatic), L"192.168.1.10");
    EXPECT_TRUE(m_Page.OnKillActive()) << "the old value back, the page may be left";
    EXPECT_EQ(m_Rig.Changes(), 0) << "neither the refused entry nor leaving modified anything";
    EXPECT_FALSE(m_Rig.m_data.NetworkParamsModified);
    EXPECT_TRUE(SameRecord(StaticRecords()[0], before[0]));
}

// A mask with a gap is refused like an address that is none; its mark and
// the write it stops last while the editor is open on it again, and go
// when the editor closes on the old value.
TEST_F(NetworkParamPage, ARefusedMaskMarksItsRowUntilTheOldValueIsBack)
{
    GetLanguageSupport().SetText(L"TT_SUBNET_MASK_HDR", L"Subnet mask");
    GetLanguageSupport().SetText(L"TT_BTN_INTERFACE_X2_HDR", L"Port X2");
    Show();
    m_Rig.Click(kPortX2Button);
    EditCell(Codec::MaskRow, L"255.0.255.0");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(1)->strSubnetMask, L"255.255.255.0");
    EXPECT_EQ(Cell(Codec::MaskRow, kStatic), L"255.255.255.0");
    ASSERT_FALSE(m_Page.m_arrCellBalloons.empty());
    EXPECT_EQ(m_Page.m_arrCellBalloons.back().row, Codec::MaskRow);
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::MaskRow, 0), CNetworkParamPage::kImageInvalid);
    ASSERT_TRUE(m_Rig.Driver().PumpUntil([&] { return IsEditing(Codec::MaskRow); }));
    EXPECT_FALSE(m_Page.StoreToDeviceData()) << "the entry being mended stops a write";
    EXPECT_EQ(m_Page.RefusedFieldName(), L"Subnet mask, Port X2");

    const HWND grid = m_Page.Grid().GetSafeHwnd();
    m_Rig.Driver().Press(VK_ESCAPE);
    m_Rig.Driver().PumpUntilIdle();
    MSG released{grid, WM_KEYUP, VK_ESCAPE, 0, 0, {}};
    m_Page.PreTranslateMessage(&released);
    EXPECT_FALSE(IsEditing(Codec::MaskRow));
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::MaskRow, 0), CGridPageBase::kImageNormal) << "the mark went";
    EXPECT_TRUE(m_Page.StoreToDeviceData());
    EXPECT_EQ(m_Rig.Changes(), 0);
}

// One gateway, name servers, time server and names for both ports: X2 shows
// them for reference only.
TEST_F(NetworkParamPage, TheSecondPortShowsTheCommonValuesReadOnly)
{
    Show();
    m_Rig.Click(kPortX2Button);
    for (int row = Codec::GatewayRow; row <= Codec::DomainNameRow; ++row)
        EXPECT_FALSE(m_Page.Grid().IsCellEditable(row, kStatic)) << row;
    EXPECT_TRUE(m_Page.Grid().IsCellEditable(Codec::MaskRow, kStatic));
    m_Rig.Click(kPortX1Button);
    EXPECT_TRUE(m_Page.Grid().IsCellEditable(Codec::GatewayRow, kStatic));
}

TEST_F(NetworkParamPage, APortWhoseFixedAddressIsOnTheInvalidListStopsTheWriteAndIsShown)
{
    CCapabilityFileFixture files;
    CCouplerSettingsPageBase::LoadInvalidIPAddresses(files.Write("[InvalidIPAddresses]\nInvalidIP_00=192.168.1.11\n"));
    ASSERT_FALSE(CCouplerSettingsPageBase::IsAddressAllowed(L"192.168.1.11"));
    Show();
    EXPECT_TRUE(m_Page.m_arrCellBalloons.empty()) << "entering the page checks quietly";
    EXPECT_EQ(m_Page.SelectedPort(), 0u);

    EXPECT_FALSE(m_Page.ValidateAll());
    EXPECT_EQ(m_Page.SelectedPort(), 1u) << "the page shows the failing port";
    ASSERT_EQ(m_Page.m_arrCellBalloons.size(), 1u);
    EXPECT_EQ(m_Page.m_arrCellBalloons[0].row, Codec::AddressRow);
    EXPECT_TRUE(m_Rig.Driver().PumpUntil([&] { return IsEditing(Codec::AddressRow); }));
    m_Rig.Driver().Press(VK_ESCAPE);
    m_Rig.Driver().PumpUntilIdle();
    EXPECT_FALSE(m_Page.StoreToDeviceData());

    m_Rig.m_data.GetStaticNetworkParams(1)->wIPAddressSource = 1;
    EXPECT_TRUE(m_Page.StoreToDeviceData()) << "an address server's address is not checked against the list";
}

TEST_F(NetworkParamPage, ChoosingAFixedSourceChecksTheAddressAgainstTheInvalidList)
{
    CCapabilityFileFixture files;
    CCouplerSettingsPageBase::LoadInvalidIPAddresses(files.Write("[InvalidIPAddresses]\nInvalidIP_00=192.168.1.10\n"));
    m_Rig.m_data.GetStaticNetworkParams(0)->wIPAddressSource = 2;
    m_Rig.m_data.GetStaticNetworkParams(1)->wIPAddressSource = 1;
    Show();
    EXPECT_EQ(Cell(Codec::SourceRow, kStatic), L"BootP");
    ClickCell(Codec::SourceRow, kStatic);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    driver.Press(VK_F2);
    driver.PumpUntilIdle();
    ASSERT_TRUE(IsEditing(Codec::SourceRow)) << "the list of sources opens in the cell";
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->wIPAddressSource, 2) << "the open list picks on Enter only";
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->wIPAddressSource, 3);
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(1)->wIPAddressSource, 1) << "the source stays per port";
    EXPECT_EQ(Cell(Codec::SourceRow, kStatic), L"Fixed");
    EXPECT_TRUE(m_Rig.m_data.NetworkParamsModified);
    ASSERT_EQ(m_Page.m_arrCellBalloons.size(), 1u);
    EXPECT_EQ(m_Page.m_arrCellBalloons[0].row, Codec::AddressRow);
    EXPECT_TRUE(driver.PumpUntil([&] { return IsEditing(Codec::AddressRow); })) << "the address's editor opens";
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
}

TEST_F(NetworkParamPage, ACopiedCellPastesIntoAnotherAndABlockOfLinesIsRefused)
{
    Show();
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ClickCell(Codec::SntpRow, kStatic);
    driver.Press('C', UiTest::kControl);
    driver.PumpUntilIdle();
    ClickCell(Codec::SecondDnsRow, kStatic);
    driver.Press('V', UiTest::kControl);
    driver.PumpUntilIdle();
    EXPECT_EQ(Cell(Codec::SecondDnsRow, kStatic), L"192.168.1.4");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strAlternativeDNSServer, L"192.168.1.4");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(1)->strAlternativeDNSServer, L"192.168.1.4");
    EXPECT_TRUE(m_Rig.m_data.NetworkParamsModified);

    // A block of three rows reaches the clipboard as three lines.
    m_Page.Grid().SetSelectedRange(Codec::AddressRow, kStatic, Codec::GatewayRow, kStatic);
    m_Page.RunMenuCommand(CNetworkParamPage::kCopyCommand);
    const std::vector<tNetworkParams> before = StaticRecords();
    ClickCell(Codec::FirstDnsRow, kStatic);
    m_Page.RunMenuCommand(CNetworkParamPage::kPasteCommand);
    ASSERT_EQ(m_Page.m_arrMessages.size(), 1u);
    EXPECT_EQ(m_Page.m_arrMessages[0], L"Too much text");
    EXPECT_TRUE(SameRecord(StaticRecords()[0], before[0]));

    // A name is no address.
    ClickCell(Codec::HostNameRow, kStatic);
    driver.Press('C', UiTest::kControl);
    ClickCell(Codec::MaskRow, kStatic);
    driver.Press('V', UiTest::kControl);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strSubnetMask, L"255.255.255.0");
}

TEST_F(NetworkParamPage, AControllersServerEditReplacesTheServerNameOfEveryPort)
{
    for (DWORD port = 0; port < 2; ++port) {
        m_Rig.m_data.GetStaticNetworkParams(port)->strSNTPHostName = L"time.example.org";
        m_Rig.m_data.GetActualNetworkParams(port)->strSNTPHostName = L"time.example.org";
    }
    Show(true);
    EXPECT_EQ(Cell(Codec::SntpRow, kStatic), L"time.example.org");
    EditCell(Codec::SntpRow, L"10.0.0.7");
    for (DWORD port = 0; port < 2; ++port) {
        EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(port)->strParameter6, L"10.0.0.7");
        EXPECT_TRUE(m_Rig.m_data.GetStaticNetworkParams(port)->strSNTPHostName.empty()) << "port " << port;
    }
}

TEST_F(NetworkParamPage, ACouplersServerRowIsReadOnlyAndExplainsItself)
{
    Show();
    EXPECT_FALSE(m_Page.Grid().IsCellEditable(Codec::SntpRow, kStatic));
    EXPECT_EQ(m_Page.Grid().GetCellImage(Codec::SntpRow, 0), CGridPageBase::kImageMarked);
    ClickCell(Codec::SntpRow, kStatic);
    EXPECT_EQ(m_Page.ShownBalloon(), CNetworkParamPage::EBalloon::Sntp);
    // Another cell of the row, so that the second click is no double click.
    ClickCell(Codec::SntpRow, 1);
    EXPECT_EQ(m_Page.ShownBalloon(), CNetworkParamPage::EBalloon::None);
}

TEST_F(NetworkParamPage, TheInterfaceModeIsWrittenAtOnceWithoutTheWorkersBusyFlag)
{
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.ethernetMode = 0; });
    m_Rig.m_data.EthernetInterfaceMode = 0;
    Show();
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kInterfaceGroup));
    EXPECT_TRUE(driver.IsChecked(kSwitchedRadio));

    m_Rig.Click(kSeparatedRadio);
    EXPECT_EQ(m_Rig.m_data.EthernetInterfaceMode, 1);
    EXPECT_TRUE(m_Rig.m_data.InterfaceModeToWrite);
    EXPECT_EQ(m_Rig.Changes(), 1);

    const CString description = m_Rig.m_data.Description = L"Simulated coupler";
    ::SendMessageW(m_Page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kSetModeButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(driver.Control(kSetModeButton)));
    driver.PumpUntilIdle();
    EXPECT_TRUE(m_Page.m_arrMessages.empty());
    m_Rig.m_Device.Model().Read([](const DevSim::tDeviceData& d) { EXPECT_EQ(d.ethernetMode, 1); });
    EXPECT_FALSE(m_Rig.m_data.InterfaceModeToWrite) << "written: the next write leaves it alone";
    EXPECT_FALSE(GetWorkerBusyFlag().IsSet());
    EXPECT_TRUE(GetWorkerBusyFlag().TryAcquire()) << "a worker can start afterwards";
    GetWorkerBusyFlag().Release();
    EXPECT_EQ(m_Rig.m_data.Description, description);
    EXPECT_TRUE(driver.IsEnabled(kSeparatedRadio)) << "the controls come back";
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
}

TEST_F(NetworkParamPage, ARefusedInterfaceModeWriteIsReported)
{
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x503] = DevSim::STATUS_REJECTED; });
    m_Rig.m_data.EthernetInterfaceMode = 0;
    Show();
    ::CheckRadioButton(m_Page.GetSafeHwnd(), kSwitchedRadio, kSeparatedRadio, kSeparatedRadio);
    ::SendMessageW(m_Page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kSetModeButton, BN_CLICKED), 0);
    m_Rig.Driver().PumpUntilIdle();
    ASSERT_EQ(m_Page.m_arrMessages.size(), 1u);
    EXPECT_EQ(m_Page.m_arrMessages[0].Find(L"Set Ethernet Interface Mode failed!"), 0);
    EXPECT_TRUE(m_Rig.m_data.InterfaceModeToWrite || m_Rig.m_data.EthernetInterfaceMode == 0xFFFF)
        << "the data set still asks for the mode or no longer claims to know it";
}

TEST_F(NetworkParamPage, AModeWriteWithoutAConnectionIsReportedAndKeepsTheModeToWrite)
{
    m_Rig.m_data.EthernetInterfaceMode = 1;
    Show();
    ::SendMessageW(m_Page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kSetModeButton, BN_CLICKED), 0);
    m_Rig.Driver().PumpUntilIdle();
    ASSERT_EQ(m_Page.m_arrMessages.size(), 1u);
    EXPECT_EQ(m_Page.m_arrMessages[0].Find(L"Set Ethernet Interface Mode failed!"), 0);
    EXPECT_TRUE(m_Rig.m_data.InterfaceModeToWrite) << "the next write still sets the mode";
    EXPECT_TRUE(m_Rig.Driver().IsEnabled(kSeparatedRadio));
}

class NetworkParamPageWithSwitch : public NetworkParamPage {
protected:
    void SetUp() override
    {
        NetworkParamPage::SetUp();
        m_pCapabilities = std::make_unique<CCapabilityFileFixture>();
        m_Rig.m_App.DeviceIni() = CCorvaneDeviceIni(
            CString(m_pCapabilities->Write("[0612-0001]\nFBC=32\nDIP=1\n").GetIniPath()));
        m_Rig.ConnectDevice();
    }
    std::unique_ptr<CCapabilityFileFixture> m_pCapabilities;
};

TEST_F(NetworkParamPageWithSwitch, ThePollShowsTheSwitchAddressEverySecondUntilClickedAgain)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.addressSwitch = 255; });
    Show();
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ASSERT_EQ(m_Page.Grid().GetRowCount(), 11);
    EXPECT_TRUE(driver.IsVisible(kDipPollButton));
    EXPECT_EQ(Cell(Codec::DipRow, kActual), L"192.168.1.0");

    m_Rig.Click(kDipPollButton);
    EXPECT_TRUE(m_Page.IsDipPolling());
    EXPECT_TRUE(driver.PumpUntil([&] { return Cell(Codec::DipRow, kActual) == L"192.168.1.255 (DHCP)"; }, 4000));
    EXPECT_EQ(m_Rig.m_data.GetActualNetworkParams(0)->strParameter9, L"192.168.1.255");

    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.addressSwitch = 7; });
    EXPECT_TRUE(driver.PumpUntil([&] { return Cell(Codec::DipRow, kActual) == L"192.168.1.7"; }, 4000));
    m_Rig.Click(kDipPollButton);
    EXPECT_FALSE(m_Page.IsDipPolling());
    EXPECT_TRUE(m_Page.m_arrMessages.empty());
}

TEST_F(NetworkParamPageWithSwitch, AFailedSwitchReadEndsThePollWithItsMessage)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x107] = DevSim::STATUS_REJECTED; });
    Show();
    m_Rig.Click(kDipPollButton);
    EXPECT_TRUE(m_Rig.Driver().PumpUntil([&] { return !m_Page.IsDipPolling(); }, 4000));
    ASSERT_EQ(m_Page.m_arrMessages.size(), 1u);
    EXPECT_EQ(m_Page.m_arrMessages[0].Find(L"Switch failed 0x"), 0);
    const std::vector<WPARAM> states = m_Rig.m_Main.WParams(m_Rig.m_Main.Ids().ShowConnectionState);
    EXPECT_NE(std::find(states.begin(), states.end(), CCouplerSettingsPageBase::kConnectionFailed), states.end());
}

TEST_F(NetworkParamPage, EveryControlLiesInThePageAreaOfTheOtherPages)
{
    m_Rig.m_data.EthernetInterfaceMode = 0;
    Show();
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ASSERT_TRUE(driver.IsVisible(kInterfaceGroup));
    EXPECT_EQ(PageViewTest::CPageViewRig::ControlsOutsidePageArea(m_Page), std::vector<int>{});
    EXPECT_TRUE(m_Rig.LooksAsGolden("NetworkParamPageAfterLoad", ZELL_PAGE_VIEWS_GOLDEN_DIR));
}

}  // namespace Corvane
