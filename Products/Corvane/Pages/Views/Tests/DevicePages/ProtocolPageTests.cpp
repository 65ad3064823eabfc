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
        rig.m_Block[CProtocolCodec::kProtocolWord] = kOtherPagesBits | CProtocolCodec::kWebServerBit | CProtocolCodec::kFtpBit;
        rig.m_Block[CProtocolCodec::kWideHttpPortWord] = 8080;
        rig.m_Block[CProtocolCodec::kFeatureWord] = CProtocolCodec::kHttpsAvailableBit;
    }

    CPageViewRig rig;
};

}

TEST_F(ProtocolPage, ShowsTheSwitchesOfAWideCouplerAndStoresAClickIntoItsBitsOnly)
{
    CDriven<CProtocolPage> page;
    rig.Show(page);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kWebServerBox));
    EXPECT_TRUE(driver.IsChecked(kFtpBox));
    EXPECT_FALSE(driver.IsChecked(kModbusTcpBox));
    EXPECT_EQ(driver.Text(kHttpPortEdit), L"8080");
    EXPECT_TRUE(driver.IsVisible(kHttpsBox)) << "the device offers HTTPS";
    EXPECT_FALSE(driver.IsVisible(kHttpPortStatic));
    EXPECT_FALSE(driver.IsVisible(kEthernetIPBox)) << "the article has no EtherNet/IP page";
    EXPECT_TRUE(page.m_arrBalloons.empty());

    const std::vector<WORD> before = rig.Words();
    rig.Click(kModbusTcpBox);
    EXPECT_EQ(rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[0], kOtherPagesBits | CProtocolCodec::kWebServerBit | CProtocolCodec::kFtpBit |
                                  CProtocolCodec::kModbusTcpBit);
    EXPECT_EQ(rig.ChangedWords(before), std::vector<std::size_t>{0});
}

TEST_F(ProtocolPage, SwitchingTheWebServerOffDisablesThePort)
{
    CDriven<CProtocolPage> page;
    rig.Show(page);
    EXPECT_TRUE(rig.Driver().IsEnabled(kHttpPortEdit));
    rig.Click(kWebServerBox);
    EXPECT_FALSE(rig.Driver().IsEnabled(kHttpPortEdit));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[0] & CProtocolCodec::kWebServerBit, 0);
    EXPECT_EQ(rig.m_Block[0] & kOtherPagesBits, kOtherPagesBits);
}

TEST_F(ProtocolPage, APortOutsideTheLimitsShowsTheBalloonAndBlocksTheStore)
{
    CDriven<CProtocolPage> page;
    rig.Show(page);
    const std::vector<WORD> before = rig.Words();
    rig.Replace(kHttpPortEdit, L"9001");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"HTTP port"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kHttpPortEdit));
    EXPECT_EQ(rig.Changes(), 1);
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_TRUE(rig.ChangedWords(before).empty());
    rig.Replace(kHttpPortEdit, L"9000");
    EXPECT_EQ(page.m_arrBalloons.size(), 2u) << "the refused store showed the balloon again";
    EXPECT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[CProtocolCodec::kWideHttpPortWord], 9000);
}

TEST_F(ProtocolPage, ADevicePortOutOfRangeIsShownQuietlyAndRefusedBeforeTheWrite)
{
    rig.m_Block[CProtocolCodec::kWideHttpPortWord] = 21;
    CDriven<CProtocolPage> page;
    rig.Show(page);
    EXPECT_EQ(rig.Driver().Text(kHttpPortEdit), L"21") << "the device's value, not the page's default";
    EXPECT_TRUE(page.m_arrBalloons.empty()) << "no balloon while the page is entered";
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(rig.m_Block[CProtocolCodec::kWideHttpPortWord], 21);
}

TEST_F(ProtocolPage, ANarrowDeviceKeepsItsWebServerAndPortInWords3And4)
{
    rig.m_Block[CProtocolCodec::kWebServerWord] = 1;
    rig.m_Block[CProtocolCodec::kHttpPortWord] = 88;
    CDriven<CProtocolPage> page;
    rig.Show(page, false, false);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_EQ(driver.Text(kHttpPortEdit), L"88");
    EXPECT_FALSE(driver.IsVisible(kFtpBox));
    EXPECT_FALSE(driver.IsVisible(kHttpsBox));
    const std::vector<WORD> before = rig.Words();
    rig.Replace(kHttpPortEdit, L"8081");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.ChangedWords(before), std::vector<std::size_t>{CProtocolCodec::kHttpPortWord});
    EXPECT_EQ(rig.m_Block[CProtocolCodec::kHttpPortWord], 8081);
}

TEST_F(ProtocolPage, WithoutTheEtherNetIPPageThePlcSwitchTakesItsPlace)
{
    const auto placeOf = [this](int id) {
        RECT place{};
        ::GetWindowRect(rig.Driver().Control(id), &place);
        return place;
    };
    rig.m_Main.Answer(rig.m_Main.Ids().IsPageInList, 1);
    CDriven<CProtocolPage> listed;
    rig.Show(listed, true, true);
    EXPECT_TRUE(rig.Driver().IsVisible(kEthernetIPBox));
    EXPECT_TRUE(rig.Driver().IsVisible(kPlcBox));
    const RECT ethernetIP = placeOf(kEthernetIPBox);
    EXPECT_GT(placeOf(kPlcBox).top, ethernetIP.top);

    rig.m_Main.Answer(rig.m_Main.Ids().IsPageInList, 0);
    listed.RefreshView();
    EXPECT_FALSE(rig.Driver().IsVisible(kEthernetIPBox));
    EXPECT_TRUE(rig.Driver().IsVisible(kPlcBox));
    EXPECT_EQ(placeOf(kPlcBox).top, ethernetIP.top);
    EXPECT_NE(std::find(rig.m_Main.m_arrAskedKeys.begin(), rig.m_Main.m_arrAskedKeys.end(), L"ETHERNETIP"),
              rig.m_Main.m_arrAskedKeys.end());
}

TEST_F(ProtocolPage, AControllerShowsOnlyTheWebServerAndItsPortAsText)
{
    rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
    CDriven<CProtocolPage> page;
    rig.Show(page, true, true);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_TRUE(driver.IsVisible(kWebServerBox));
    EXPECT_TRUE(driver.IsVisible(kHttpPortStatic));
    EXPECT_TRUE(driver.IsVisible(kSeeWebManagement));
    EXPECT_EQ(driver.Text(kHttpPortStatic), L"8080");
    for (int id : {kHttpPortEdit, kFtpBox, kModbusTcpBox, kPlcBox, kHttpsBox})
        EXPECT_FALSE(driver.IsVisible(id)) << id;
}

}  // namespace Corvane
