// The SNTP page: the server of port 0's records edited and stored into the
// static record of every port (a host name or an address, never both), the
// address of devices without records in words 19 and 20, the text cleaned
// while typing, the name-server warning, and refused entries.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/SntpPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace ServicePageIds;
using PageViewTest::CDriven;

namespace {

using Codec = CSntpCodec;

// The page with its own balloons noted as well as the range balloons.
class CNotedSntpPage : public CDriven<CSntpPage> {
public:
    struct tServerBalloon {
        CString title;
        CString text;
        UINT icon;
    };
    std::vector<tServerBalloon> m_arrServerBalloons;
    int m_nClosed = 0;

protected:
    void ShowServerBalloon(const CString& title, const CString& text, UINT icon) override
    {
        m_arrServerBalloons.push_back({title, text, icon});
    }
    void CloseServerBalloon() override { ++m_nClosed; }
};

class SntpPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"MSG_INVALID_IP_ADDRESS", L"Invalid address");
        GetLanguageSupport().SetText(L"TT_SNTP_CLIENT_INTERVAL_HDR", L"Interval");
        m_Rig.UseCapabilities("[0612-0001]\nFBC=32\n[SNTP]\nClientIntervalMax=3600\n");
        m_Rig.m_Block[Codec::kSwitchWord] = 0x0108;
        m_Rig.m_Block[Codec::kIntervalWord] = 60;
        m_Rig.m_Block[Codec::kTimeoutWord] = 2000;
        m_Rig.m_Block[Codec::kKeptWord] = 0x1234;
    }

    void SetRecords(DWORD ports, const std::wstring& dns)
    {
        ASSERT_TRUE(m_Rig.m_data.SetEthernetPortCount(ports));
        for (DWORD port = 0; port < ports; ++port)
            for (auto* record : {m_Rig.m_data.GetStaticNetworkParams(port), m_Rig.m_data.GetActualNetworkParams(port)}) {
                record->strParameter6 = L"10.0.0.5";
                record->strPreferredDNSServer = dns;
                record->strAlternativeDNSServer = dns;
            }
        m_Rig.m_data.GetActualNetworkParams(0)->strParameter6 = L"10.0.0.9";
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(SntpPage, AHostNameIsCleanedAsTypedAndStoredIntoEveryPortsStaticRecord)
{
    SetRecords(2, L"10.0.0.1");
    m_Rig.m_Block[Codec::kSecondPortWord] = Codec::kSntpBit;
    CNotedSntpPage page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kServerEdit), L"10.0.0.5");
    EXPECT_EQ(driver.Text(kCurrentServerEdit), L"10.0.0.9");
    EXPECT_TRUE(driver.IsChecked(kSntpBox));
    EXPECT_EQ(driver.Text(kIntervalEdit), L"60");

    m_Rig.Replace(kServerEdit, L"Zeit_Geber.example.org");
    EXPECT_EQ(driver.Text(kServerEdit), L"zeitgeber.example.org");
    EXPECT_FALSE(driver.IsVisible(kDnsWarningIcon)) << "a name server is known";
    EXPECT_TRUE(page.m_arrServerBalloons.empty());
    EXPECT_GE(m_Rig.Changes(), 1);

    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    for (DWORD port = 0; port < 2; ++port) {
        EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(port)->strSNTPHostName, L"zeitgeber.example.org") << port;
        EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(port)->strParameter6, L"") << port;
    }
    EXPECT_TRUE(m_Rig.m_data.NetworkParamsModified);
    EXPECT_EQ(m_Rig.m_Block[Codec::kSecondPortWord], 0) << "the second port's switch is cleared";
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kSecondPortWord});
}

TEST_F(SntpPage, AnAddressEnteredOverAHostNameEmptiesTheName)
{
    SetRecords(1, L"10.0.0.1");
    m_Rig.m_data.GetStaticNetworkParams(0)->strSNTPHostName = L"old.example.org";
    CNotedSntpPage page;
    m_Rig.Show(page);
    EXPECT_EQ(m_Rig.Driver().Text(kServerEdit), L"old.example.org");
    m_Rig.Replace(kServerEdit, L"192.168.1.10");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strParameter6, L"192.168.1.10");
    EXPECT_EQ(m_Rig.m_data.GetStaticNetworkParams(0)->strSNTPHostName, L"") << "the device would keep the old name";
}

TEST_F(SntpPage, AHostNameWithoutANameServerShowsTheWarningIconAndItsBalloon)
{
    SetRecords(1, L"0.0.0.0");
    CNotedSntpPage page;
    m_Rig.Show(page);
    m_Rig.Replace(kServerEdit, L"time.example.org");
    EXPECT_TRUE(m_Rig.Driver().IsVisible(kDnsWarningIcon));
    ASSERT_EQ(page.m_arrServerBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrServerBalloons[0].icon, CSntpPage::kWarningIcon);
    m_Rig.Replace(kServerEdit, L"10.1.2.3");
    EXPECT_FALSE(m_Rig.Driver().IsVisible(kDnsWarningIcon)) << "an address needs no name server";
    EXPECT_EQ(page.m_arrServerBalloons.size(), 1u);
}

TEST_F(SntpPage, WithoutRecordsTheAddressIsCleanedAndStoredInWords19And20)
{
    ASSERT_TRUE(m_Rig.m_data.SetEthernetPortCount(0));
    m_Rig.m_Block[Codec::kAddressWord] = 0x000A;
    m_Rig.m_Block[Codec::kAddressWord + 1] = 0x0500;
    CNotedSntpPage page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kServerEdit), L"10.0.0.5");
    m_Rig.Replace(kServerEdit, L"10.0.0.300");
    EXPECT_EQ(driver.Text(kServerEdit), L"10.0.0.255");
    const std::vector<WORD> before = m_Rig.Words();
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kAddressWord + 1], 0xFF00);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kAddressWord + 1});
    EXPECT_EQ(m_Rig.m_Block[Codec::kKeptWord], 0x1234);
}

TEST_F(SntpPage, ATextThatIsNoAddressIsRefusedAndTheStoredAddressKept)
{
    ASSERT_TRUE(m_Rig.m_data.SetEthernetPortCount(0));
    m_Rig.m_Block[Codec::kAddressWord] = 0x000A;
    CNotedSntpPage page;
    m_Rig.Show(page);
    // Too long for an address, even with its leading zeros read away.
    m_Rig.Replace(kServerEdit, L"0001.0001.0001.001");
    ASSERT_FALSE(page.m_arrServerBalloons.empty());
    EXPECT_EQ(page.m_arrServerBalloons.back().text, CString(L"Invalid address"));
    EXPECT_EQ(page.m_arrServerBalloons.back().icon, CSntpPage::kErrorIcon);
    const std::size_t shown = page.m_arrServerBalloons.size();
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_GT(page.m_arrServerBalloons.size(), shown) << "the refused store names the field again";
    EXPECT_EQ(m_Rig.m_Block[Codec::kAddressWord], 0x000A);
}

TEST_F(SntpPage, SwitchingTheClientOffDisablesItsFieldsAndClearsBit3Only)
{
    SetRecords(1, L"10.0.0.1");
    CNotedSntpPage page;
    m_Rig.Show(page);
    EXPECT_TRUE(m_Rig.Driver().IsEnabled(kServerEdit));
    m_Rig.Click(kSntpBox);
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kServerEdit));
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kIntervalEdit));
    EXPECT_EQ(m_Rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kSwitchWord], 0x0100);
}

TEST_F(SntpPage, AnIntervalAboveTheFilesMaximumShowsTheRangeBalloon)
{
    SetRecords(1, L"10.0.0.1");
    CNotedSntpPage page;
    m_Rig.Show(page);
    m_Rig.Replace(kIntervalEdit, L"3601");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Interval"));
    EXPECT_FALSE(page.StoreIfDataPresent());
    m_Rig.Replace(kIntervalEdit, L"3600");
    EXPECT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kIntervalWord], 3600);
}

TEST_F(SntpPage, TheWarningBalloonFollowsThePointerOverTheIcon)
{
    SetRecords(1, L"0.0.0.0");
    CNotedSntpPage page;
    m_Rig.Show(page);
    m_Rig.Replace(kServerEdit, L"time.example.org");
    ASSERT_TRUE(m_Rig.Driver().IsVisible(kDnsWarningIcon));
    ASSERT_EQ(page.m_arrServerBalloons.size(), 1u);

    CRect icon;
    ::GetWindowRect(m_Rig.Driver().Control(kDnsWarningIcon), &icon);
    page.ScreenToClient(&icon);
    const auto move = [&](LONG x, LONG y) {
        ::SendMessageW(page.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    };
    move(icon.left + 1, icon.top + 1);
    EXPECT_EQ(page.m_arrServerBalloons.size(), 2u);
    move(icon.left + 2, icon.top + 2);
    EXPECT_EQ(page.m_arrServerBalloons.size(), 2u) << "shown once while the pointer stays";
    move(1, 1);
    EXPECT_EQ(page.m_nClosed, 1);
    move(2, 2);
    EXPECT_EQ(page.m_nClosed, 1) << "nothing left to close";
}

}  // namespace Corvane
