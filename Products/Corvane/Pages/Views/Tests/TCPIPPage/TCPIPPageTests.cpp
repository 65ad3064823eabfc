// The TCP/IP page: the address source and the fixed addresses loaded from
// and stored into exactly their words, the enable rules of wide-format and
// older devices, refused addresses and a missing source with their
// balloons, the address-switch poll against the simulated device, and the
// changed addresses the main dialog's write question relies on.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Products/Corvane/Pages/Views/Res/TCPIPPageIds.h"
#include "Products/Corvane/Pages/Views/TCPIPPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace TCPIPPageIds;
using PageViewTest::CDriven;

namespace {

using Codec = CTCPIPCodec;

constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\nAUTOIP=1\n"
                                 "[InvalidIPAddresses]\nInvalidIP_00=0.0.0.0\nInvalidIP_01=255.255.255.255\n";

// The page with the browser noted instead of opened and the switch reads
// counted.
class CNotedTCPIPPage : public CDriven<CTCPIPPage> {
public:
    std::vector<CString> m_arrUrls;

protected:
    void OpenBrowser(const CString& url) override { m_arrUrls.push_back(url); }
};

class TCPIPPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TXT_IP_ADDRESS", L"IP address");
        GetLanguageSupport().SetText(L"TT_IPADDR_SERVER_HDR", L"Address server");
        GetLanguageSupport().SetText(L"TT_IPADDR_SERVER_BODY", L"Choose<br>a server");
        GetLanguageSupport().SetText(L"TXT_DETERMINED_BY_DIP_USE_DHCP", L"by switches: DHCP");
        GetLanguageSupport().SetText(L"TXT_DETERMINED_BY_EEPROM", L"fixed");
        GetLanguageSupport().SetText(L"FAILED_TO_QUERY_DIP_FMT", L"Switches not read: 0x%08X");
        m_Rig.UseCapabilities(kCapabilities);
        CCouplerSettingsPageBase::LoadInvalidIPAddresses(m_Rig.m_App.DeviceIni());
        m_Rig.m_data.ArticleNo = L"612-001";
        // 10.0.0.5 / 255.255.255.0 / 10.0.0.1, DNS 10.0.0.2 and 10.0.0.3.
        const WORD words[] = {0x000A, 0x0500, 0xFFFF, 0x00FF, 0x000A, 0x0100,
                              0x000A, 0x0200, 0x000A, 0x0300};
        for (std::size_t i = 0; i < std::size(words); ++i)
            m_Rig.m_Block[Codec::kFixedAddressWord + i] = words[i];
        m_Rig.m_Block[Codec::kSourceWord] = 0x1004;
    }
    void TearDown() override
    {
        m_Rig.UseCapabilities("[0612-0001]\nFBC=32\n");
        CCouplerSettingsPageBase::LoadInvalidIPAddresses(m_Rig.m_App.DeviceIni());
    }

    void HandOver(CTCPIPPage& page)
    {
        page.SetCurrentAddresses(L"10.0.0.5", L"10.0.0.5", L"255.255.255.0", L"10.0.0.1", L"", L"");
    }

    DWORD Address(int id) const
    {
        DWORD address = 0;
        ::SendMessageW(m_Rig.Driver().Control(id), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
        return address;
    }

    // Types a whole address into a field, as the user does.
    void TypeAddress(int id, const std::wstring& text)
    {
        UiTest::CDialogDriver driver = m_Rig.Driver();
        ::SendMessageW(driver.Control(id), IPM_CLEARADDRESS, 0, 0);
        ::SendMessageW(driver.Control(id), IPM_SETFOCUS, 0, 0);
        driver.Type(text);
        // Leaving the control ends the edit of its last field.
        driver.Press(VK_TAB);
        driver.PumpUntilIdle();
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(TCPIPPage, AWideFormatDeviceShowsItsSourceAndAddressesAndStoresOnlyItsBits)
{
    m_Rig.m_Block[Codec::kSourceWord] = 0x1004 | Codec::kDhcpBit | Codec::kBootPBit;
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kAutomaticRadio)) << "the later bit wins: BootP";
    EXPECT_EQ(m_Rig.Selection(kSourceList), 1);
    EXPECT_EQ(::SendMessageW(driver.Control(kSourceList), CB_GETCOUNT, 0, 0), 3) << "the article has Auto-IP";
    EXPECT_EQ(Address(kFixedAddressField), 0x0A000005u);
    EXPECT_EQ(Address(kSecondDnsField), 0x0A000003u);
    EXPECT_FALSE(driver.IsEnabled(kFixedAddressField)) << "addresses come from the server";
    EXPECT_TRUE(driver.IsEnabled(kSourceList));
    EXPECT_TRUE(driver.IsVisible(kFirstDnsField));
    EXPECT_FALSE(driver.IsVisible(kUseBootPBox));

    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.Words()[Codec::kSourceWord], 0x1004 | Codec::kBootPBit) << "BootP alone, other bits kept";
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kSourceWord});

    m_Rig.Click(kFixedRadio);
    EXPECT_TRUE(driver.IsEnabled(kFixedAddressField));
    EXPECT_FALSE(driver.IsEnabled(kSourceList));
    EXPECT_EQ(m_Rig.Selection(kSourceList), -1);
    EXPECT_EQ(m_Rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.Words()[Codec::kSourceWord], 0x1004);
}

TEST_F(TCPIPPage, AnEditedAddressGoesIntoItsTwoWordsAndIsReportedAsChanged)
{
    m_Rig.m_Block[Codec::kSourceWord] = 0;
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page);
    EXPECT_FALSE(page.HasChangedAddresses());
    EXPECT_TRUE(page.UsesFixedAddress());

    TypeAddress(kFixedAddressField, L"10.0.0.77");
    EXPECT_TRUE(page.HasChangedAddresses());
    EXPECT_GE(m_Rig.Changes(), 1);
    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kFixedAddressWord + 1});
    EXPECT_EQ(m_Rig.Words()[Codec::kFixedAddressWord + 1], 0x4D00);
    EXPECT_EQ(page.GetFixedAddressText(), L"10.0.0.77");

    // Entering the page again reloads the block, which now holds the edit:
    // the address still differs from the device's.
    ServicePageTest::CRig::Reattach(page, m_Rig.m_Block, PageViewTest::CPageViewRig::kBlockWords, true, false);
    EXPECT_TRUE(page.HasChangedAddresses());
}

TEST_F(TCPIPPage, ARefusedAddressIsNotTakenAndItsBalloonComesOnceUntilRearmed)
{
    m_Rig.m_Block[Codec::kSourceWord] = 0;
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page);
    TypeAddress(kFixedAddressField, L"255.255.255.255");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kFixedAddressField));
    EXPECT_NE(page.m_arrBalloons[0].text.Find(L"255.255.255.255"), -1) << "the message lists the refused addresses";
    EXPECT_EQ(page.Codec().FixedAddress, 0xFFFFFF00u) << "the refused last field is not taken over";

    const std::vector<WORD> before = m_Rig.Words();
    EXPECT_FALSE(page.StoreIfDataPresent()) << "the store reads the field and refuses it";
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty()) << "nothing stored";
    EXPECT_EQ(page.m_arrBalloons.size(), 1u) << "the balloon is disarmed";
    m_Rig.Click(kFixedRadio);
    EXPECT_EQ(page.m_arrBalloons.size(), 1u) << "choosing fixed addresses does not re-arm it";
    m_Rig.Click(kAutomaticRadio);
    m_Rig.Click(kFixedRadio);
    ASSERT_EQ(page.m_arrBalloons.size(), 3u) << "the source balloon, then the address balloon again";
    EXPECT_EQ(page.m_arrBalloons.back().field, static_cast<UINT>(kFixedAddressField));

    TypeAddress(kFixedAddressField, L"10.0.0.9");
    EXPECT_TRUE(page.ValidateAll());
}

TEST_F(TCPIPPage, GettingTheAddressAutomaticallyWithoutAServerRefusesTheWrite)
{
    m_Rig.m_Block[Codec::kSourceWord] = 0;
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page);
    m_Rig.Click(kAutomaticRadio);
    ASSERT_FALSE(page.m_arrBalloons.empty());
    EXPECT_EQ(page.m_arrBalloons.back().field, static_cast<UINT>(kSourceList));
    EXPECT_EQ(page.m_arrBalloons.back().text, L"Choose\na server");
    EXPECT_EQ(m_Rig.Driver().Text(kAddressSourceText), L"---");

    const std::vector<WORD> before = m_Rig.Words();
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty());

    m_Rig.Choose(kSourceList, 0);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.Words()[Codec::kSourceWord], Codec::kDhcpBit);
}

TEST_F(TCPIPPage, AnOlderDeviceUsesTheBootPWordAndItsAddressesOnlyInALongBlock)
{
    m_Rig.m_Block[Codec::kUseBootPWord] = 1;
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page, false);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kUseBootPBox));
    EXPECT_TRUE(driver.IsChecked(kUseBootPBox));
    EXPECT_FALSE(driver.IsVisible(kAutomaticRadio));
    EXPECT_FALSE(driver.IsVisible(kFirstDnsField));
    EXPECT_FALSE(driver.IsEnabled(kFixedAddressField)) << "BootP gives the addresses";

    m_Rig.Click(kUseBootPBox);
    EXPECT_TRUE(driver.IsEnabled(kFixedAddressField));
    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kUseBootPWord});
    EXPECT_EQ(m_Rig.Words()[Codec::kUseBootPWord], 0);

    // Fourteen words hold no addresses: the fields stay off and nothing
    // past the use-BootP word is written.
    ServicePageTest::CRig::Reattach(page, m_Rig.m_Block, 14, false, false);
    page.RefreshView();
    EXPECT_FALSE(driver.IsEnabled(kFixedAddressField));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kUseBootPWord});
}

TEST_F(TCPIPPage, TheSwitchesDecideTheSourceTextAndTheirAddress)
{
    CNotedTCPIPPage page;
    HandOver(page);
    page.SetAddressSource(true, true, 255);
    m_Rig.Show(page);
    EXPECT_EQ(page.GetAddressSourceText(), L"by switches: DHCP");
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kAddressSourceText), L"by switches: DHCP");
    EXPECT_TRUE(driver.IsVisible(kDipPollBox));
    EXPECT_TRUE(driver.IsVisible(kDipAddress));
    EXPECT_EQ(driver.Text(kDipAddress), L" 10 . 0 . 0 . 255 ");
    EXPECT_FALSE(driver.IsVisible(kOldFirmwareText));
}

TEST_F(TCPIPPage, SwitchesThatTheFirmwareCannotReadShowTheOldFirmwareText)
{
    CNotedTCPIPPage page;
    HandOver(page);
    page.SetAddressSource(true, false, 0xFFFF);
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kOldFirmwareText));
    EXPECT_FALSE(driver.IsVisible(kDipPollBox));
    EXPECT_FALSE(driver.IsVisible(kDipAddress));
    EXPECT_FALSE(driver.IsVisible(kDipApplyButton));
    EXPECT_FALSE(driver.IsVisible(kDipHint));
}

TEST_F(TCPIPPage, TheSwitchPollReadsTheDeviceAndApplyRestartsIt)
{
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.addressSwitch = 17; });
    CNotedTCPIPPage page;
    HandOver(page);
    page.SetAddressSource(true, true, 5);
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    m_Rig.Click(kDipPollBox);
    EXPECT_TRUE(page.IsDipPollRunning());
    ASSERT_TRUE(driver.PumpUntil([&] { return driver.Text(kDipAddress) == L" 10 . 0 . 0 . 17 "; }, 4000));
    EXPECT_EQ(page.Codec().DipValue, 17);
    EXPECT_TRUE(driver.IsEnabled(kDipApplyButton)) << "the switches differ from the current address";

    m_Rig.Click(kDipApplyButton);
    EXPECT_FALSE(page.IsDipPollRunning());
    EXPECT_FALSE(driver.IsChecked(kDipPollBox));
    EXPECT_EQ(m_Rig.m_Main.Count(m_Rig.m_Main.Ids().SoftwareReset), 1);
}

TEST_F(TCPIPPage, AFailedSwitchReadEndsThePollWithItsMessage)
{
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x107] = DevSim::STATUS_REJECTED; });
    CNotedTCPIPPage page;
    HandOver(page);
    page.SetAddressSource(true, true, 5);
    m_Rig.Show(page);
    PageViewTest::CMessageBoxCloser closer(m_Rig.m_Host);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    m_Rig.Click(kDipPollBox);
    ASSERT_TRUE(driver.PumpUntil([&] { return !closer.m_arrBoxes.empty(); }, 4000));
    EXPECT_NE(closer.m_arrBoxes[0].find(L"Switches not read: 0x"), std::wstring::npos);
    EXPECT_FALSE(page.IsDipPollRunning());
    EXPECT_FALSE(driver.IsChecked(kDipPollBox));
    const std::vector<WPARAM> states = m_Rig.m_Main.WParams(m_Rig.m_Main.Ids().ShowConnectionState);
    EXPECT_NE(std::find(states.begin(), states.end(), CCouplerSettingsPageBase::kConnectionFailed), states.end());
}

TEST_F(TCPIPPage, WebManagementOpensTheCurrentAddressAfterAskingAboutUnwrittenEdits)
{
    CNotedTCPIPPage page;
    HandOver(page);
    m_Rig.Show(page);
    EXPECT_NE(SendMessageW(m_Rig.Driver().Control(kWebManagementButton), BM_GETIMAGE, IMAGE_ICON, 0), 0)
        << "the button shows its picture";
    m_Rig.Click(kWebManagementButton);
    ASSERT_EQ(page.m_arrUrls.size(), 1u);
    EXPECT_EQ(page.m_arrUrls[0], L"http://10.0.0.5");

    m_Rig.m_Main.Answer(m_Rig.m_Main.Ids().IsModified, 1);
    PageViewTest::CMessageBoxCloser closer(m_Rig.m_Host);
    m_Rig.Click(kWebManagementButton);
    EXPECT_EQ(closer.m_arrBoxes.size(), 1u);
    EXPECT_EQ(page.m_arrUrls.size(), 2u) << "the browser opens whatever the answer";
    EXPECT_EQ(m_Rig.m_Main.Count(m_Rig.m_Main.Ids().WriteSettings), 0) << "no Yes, no write";
}

TEST_F(TCPIPPage, EveryShownControlLiesInThePageAreaAndIsPaintedAfterAFullRedraw)
{
    CNotedTCPIPPage page;
    HandOver(page);
    page.SetAddressSource(true, true, 255);
    m_Rig.Show(page);
    ASSERT_TRUE(m_Rig.Driver().IsVisible(kSecondDnsField));
    ASSERT_TRUE(m_Rig.Driver().IsVisible(kDipHint));
    EXPECT_EQ(PageViewTest::CPageViewRig::ControlsOutsidePageArea(page), std::vector<int>{});
    EXPECT_TRUE(m_Rig.LooksAsGolden("TCPIPPageAfterLoad", ZELL_PAGE_VIEWS_GOLDEN_DIR));
}

}  // namespace Corvane
