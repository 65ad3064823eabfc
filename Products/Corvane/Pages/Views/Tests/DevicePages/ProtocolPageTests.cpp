// The protocol page: switches and port shown from the block, a click stored
// into word 0 with the other pages' bits kept, and a port outside the
// capability file's limits refused with the balloon before any write.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/ProtocolPage.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

#include <algorithm>

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

constexpr WORD kOtherPagesBits = 0x4F8C;

class ProtocolPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TT_HTTP_PORT_HEADER", L"HTTP port");
        m_Rig.m_Block[CProtocolCodec::kProtocolWord] = kOtherPagesBits | CProtocolCodec::kWebServerBit | CProtocolCodec::kFtpBit;
        m_Rig.m_Block[CProtocolCodec::kWideHttpPortWord] = 8080;
        m_Rig.m_Block[CProtocolCodec::kFeatureWord] = CProtocolCodec::kHttpsAvailableBit;
    }

    CPageViewRig m_Rig;
};

}

TEST_F(ProtocolPage, ShowsTheSwitchesOfAWideCouplerAndStoresAClickIntoItsBitsOnly)
{
    CDriven<CProtocolPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kWebServerBox));
    EXPECT_TRUE(driver.IsChecked(kFtpBox));
    EXPECT_FALSE(driver.IsChecked(kModbusTcpBox));
    EXPECT_EQ(driver.Text(kHttpPortEdit), L"8080");
    EXPECT_TRUE(driver.IsVisible(kHttpsBox)) << "the device offers HTTPS";
    EXPECT_FALSE(driver.IsVisible(kHttpPortStatic));
    EXPECT_FALSE(driver.IsVisible(kEthernetIPBox)) << "the article has no EtherNet/IP page";
    EXPECT_TRUE(page.m_arrBalloons.empty());

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Click(kModbusTcpBox);
    EXPECT_EQ(m_Rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[0], kOtherPagesBits | CProtocolCodec::kWebServerBit | CProtocolCodec::kFtpBit |
                                  CProtocolCodec::kModbusTcpBit);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{0});
}

TEST_F(ProtocolPage, SwitchingTheWebServerOffDisablesThePort)
{
    CDriven<CProtocolPage> page;
    m_Rig.Show(page);
    EXPECT_TRUE(m_Rig.Driver().IsEnabled(kHttpPortEdit));
    m_Rig.Click(kWebServerBox);
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kHttpPortEdit));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[0] & CProtocolCodec::kWebServerBit, 0);
    EXPECT_EQ(m_Rig.m_Block[0] & kOtherPagesBits, kOtherPagesBits);
}

TEST_F(ProtocolPage, APortOutsideTheLimitsShowsTheBalloonAndBlocksTheStore)
{
    CDriven<CProtocolPage> page;
    m_Rig.Show(page);
    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Replace(kHttpPortEdit, L"9001");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"HTTP port"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kHttpPortEdit));
    EXPECT_EQ(m_Rig.Changes(), 1);
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty());
    m_Rig.Replace(kHttpPortEdit, L"9000");
    EXPECT_EQ(page.m_arrBalloons.size(), 2u) << "the refused store showed the balloon again";
    EXPECT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[CProtocolCodec::kWideHttpPortWord], 9000);
}

TEST_F(ProtocolPage, ADevicePortOutOfRangeIsShownQuietlyAndRefusedBeforeTheWrite)
{
    m_Rig.m_Block[CProtocolCodec::kWideHttpPortWord] = 21;
    CDriven<CProtocolPage> page;
    m_Rig.Show(page);
    EXPECT_EQ(m_Rig.Driver().Text(kHttpPortEdit), L"21") << "the device's value, not the page's default";
    EXPECT_TRUE(page.m_arrBalloons.empty()) << "no balloon while the page is entered";
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(m_Rig.m_Block[CProtocolCodec::kWideHttpPortWord], 21);
}

TEST_F(ProtocolPage, ANarrowDeviceKeepsItsWebServerAndPortInWords3And4)
{
    m_Rig.m_Block[CProtocolCodec::kWebServerWord] = 1;
    m_Rig.m_Block[CProtocolCodec::kHttpPortWord] = 88;
    CDriven<CProtocolPage> page;
    m_Rig.Show(page, false, false);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kHttpPortEdit), L"88");
    EXPECT_FALSE(driver.IsVisible(kFtpBox));
    EXPECT_FALSE(driver.IsVisible(kHttpsBox));
    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Replace(kHttpPortEdit, L"8081");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{CProtocolCodec::kHttpPortWord});
    EXPECT_EQ(m_Rig.m_Block[CProtocolCodec::kHttpPortWord], 8081);
}

TEST_F(ProtocolPage, WithoutTheEtherNetIPPageThePlcSwitchTakesItsPlace)
{
    const auto placeOf = [this](int id) {
        RECT place{};
        ::GetWindowRect(m_Rig.Driver().Control(id), &place);
        return place;
    };
    m_Rig.m_Main.Answer(m_Rig.m_Main.Ids().IsPageInList, 1);
    CDriven<CProtocolPage> listed;
    m_Rig.Show(listed, true, true);
    EXPECT_TRUE(m_Rig.Driver().IsVisible(kEthernetIPBox));
    EXPECT_TRUE(m_Rig.Driver().IsVisible(kPlcBox));
    const RECT ethernetIP = placeOf(kEthernetIPBox);
    EXPECT_GT(placeOf(kPlcBox).top, ethernetIP.top);

    m_Rig.m_Main.Answer(m_Rig.m_Main.Ids().IsPageInList, 0);
    listed.RefreshView();
    EXPECT_FALSE(m_Rig.Driver().IsVisible(kEthernetIPBox));
    EXPECT_TRUE(m_Rig.Driver().IsVisible(kPlcBox));
    EXPECT_EQ(placeOf(kPlcBox).top, ethernetIP.top);
    EXPECT_NE(std::find(m_Rig.m_Main.m_arrAskedKeys.begin(), m_Rig.m_Main.m_arrAskedKeys.end(), L"ETHERNETIP"),
              m_Rig.m_Main.m_arrAskedKeys.end());
}

TEST_F(ProtocolPage, AControllerShowsOnlyTheWebServerAndItsPortAsText)
{
    m_Rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
    CDriven<CProtocolPage> page;
    m_Rig.Show(page, true, true);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kWebServerBox));
    EXPECT_TRUE(driver.IsVisible(kHttpPortStatic));
    EXPECT_TRUE(driver.IsVisible(kSeeWebManagement));
    EXPECT_EQ(driver.Text(kHttpPortStatic), L"8080");
    for (int id : {kHttpPortEdit, kFtpBox, kModbusTcpBox, kPlcBox, kHttpsBox})
        EXPECT_FALSE(driver.IsVisible(id)) << id;
}

}  // namespace Corvane
