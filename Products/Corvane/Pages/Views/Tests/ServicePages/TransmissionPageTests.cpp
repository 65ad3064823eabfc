// The transmission page: the link mode shown from word 69 and stored into
// its three bits, the bandwidth limit stored into the block at the click (it
// is the state page's constant-speed bit too), the duplex-mismatch warning,
// and an activation time out of range refused while all words are stored.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Codecs/StateCodec.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds2.h"
#include "Products/Corvane/Pages/Views/TransmissionPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace DevicePageIds2;
using PageViewTest::CDriven;

namespace {

using Codec = CTransmissionCodec;

// Bits of word 69 that belong to other settings.
constexpr WORD kForeignBits = 0x0108;

class CNotedTransmissionPage : public CDriven<CTransmissionPage> {
public:
    std::vector<bool> m_arrWarnings;

protected:
    void ShowDuplexWarning(bool shown) override { m_arrWarnings.push_back(shown); }
};

class TransmissionPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TT_ACTIVATION_TIME_HDR", L"Activation time");
        rig.UseCapabilities("[0612-0001]\nFBC=32\n[SNTP]\nActivationTimeMin=10\nActivationTimeMax=500\n");
        rig.m_Block[Codec::kModeWord] = kForeignBits | Codec::kAutoNegotiationBit | Codec::kBandwidthLimitBit;
        rig.m_Block[Codec::kActivationTimeWord] = 40;
        rig.m_Block[Codec::kPriorityWord] = 2;
    }

    ServicePageTest::CRig rig;
};

}

TEST_F(TransmissionPage, AutoNegotiationIsShownWhateverBits1And2SayAndAChosenModeStoresItsBits)
{
    CNotedTransmissionPage page;
    rig.Show(page);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_EQ(driver.Text(kSpeedList), L"  Auto Negotiate");
    EXPECT_TRUE(driver.IsChecked(kBandwidthBox));
    EXPECT_EQ(driver.Text(kActivationTimeEdit), L"40");
    EXPECT_EQ(rig.Selection(kPriorityList), 1);

    const std::vector<WORD> before = rig.Words();
    rig.Choose(kSpeedList, 3);
    EXPECT_EQ(driver.Text(kSpeedList), L"  100 MBit / Half Duplex");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[Codec::kModeWord], kForeignBits | Codec::kSpeed100Bit | Codec::kBandwidthLimitBit);
    EXPECT_EQ(rig.ChangedWords(before), std::vector<std::size_t>{Codec::kModeWord});
}

TEST_F(TransmissionPage, AFixedFullDuplexModeWarnsOfAMismatchAndHalfDuplexTakesTheWarningAway)
{
    CNotedTransmissionPage page;
    rig.Show(page);
    rig.Choose(kSpeedList, 4);
    ASSERT_FALSE(page.m_arrWarnings.empty());
    EXPECT_TRUE(page.m_arrWarnings.back());
    rig.Choose(kSpeedList, 3);
    EXPECT_FALSE(page.m_arrWarnings.back());
    EXPECT_GE(rig.Changes(), 2);
}

TEST_F(TransmissionPage, TheBandwidthLimitGoesIntoTheBlockAtTheClickAndTheLastChangeWins)
{
    CNotedTransmissionPage page;
    rig.Show(page);
    EXPECT_TRUE(rig.Driver().IsEnabled(kActivationTimeEdit));
    rig.Click(kBandwidthLabel);
    EXPECT_FALSE(rig.Driver().IsChecked(kBandwidthBox));
    EXPECT_FALSE(rig.Driver().IsEnabled(kActivationTimeEdit));
    EXPECT_FALSE(rig.Driver().IsEnabled(kPriorityList));
    EXPECT_EQ(rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0) << "stored before any write";
    EXPECT_EQ(rig.Changes(), 1);

    // The state page switches the same bit on; this page, entered again,
    // shows it and does not put its own older value back.
    CDeviceBlock block(&rig.m_Block[0], static_cast<DWORD>(PageViewTest::CPageViewRig::kBlockWords));
    ASSERT_TRUE(CStateCodec::WriteConstantSpeed(block, true));
    ServicePageTest::CRig::Reattach(page, rig.m_Block, PageViewTest::CPageViewRig::kBlockWords, true, false);
    EXPECT_TRUE(rig.Driver().IsChecked(kBandwidthBox));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_NE(rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0);
}

TEST_F(TransmissionPage, AStoreDoesNotPutBackABitTheStatePageChangedMeanwhile)
{
    CNotedTransmissionPage page;
    rig.Show(page);
    CDeviceBlock block(&rig.m_Block[0], static_cast<DWORD>(PageViewTest::CPageViewRig::kBlockWords));
    ASSERT_TRUE(CStateCodec::WriteConstantSpeed(block, false));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0);
}

TEST_F(TransmissionPage, AnActivationTimeOutOfRangeIsRefusedYetEveryWordIsStored)
{
    rig.m_Block[Codec::kPriorityWord] = 0;
    CNotedTransmissionPage page;
    rig.Show(page);
    EXPECT_EQ(rig.Selection(kPriorityList), -1) << "word 71 = 0 is no priority";
    rig.Replace(kActivationTimeEdit, L"501");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Activation time"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kActivationTimeEdit));
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[Codec::kActivationTimeWord], 501);
    EXPECT_EQ(rig.m_Block[Codec::kPriorityWord], 0) << "no priority chosen: word 71 untouched";
}

TEST_F(TransmissionPage, ADeviceTimeBelowTheMinimumIsShownQuietlyThenRefused)
{
    rig.m_Block[Codec::kActivationTimeWord] = 5;
    CNotedTransmissionPage page;
    rig.Show(page);
    EXPECT_EQ(rig.Driver().Text(kActivationTimeEdit), L"5");
    EXPECT_TRUE(page.m_arrBalloons.empty());
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(page.m_arrBalloons.size(), 1u);
}

TEST_F(TransmissionPage, ALanguageChangeRefillsThePriorityListAndKeepsItsSelection)
{
    CNotedTransmissionPage page;
    rig.Show(page);
    ASSERT_EQ(rig.Selection(kPriorityList), 1);
    GetLanguageSupport().SetText(L"TXT_CMB_TASK_KBUS_SPS", L"Terminal bus and PLC");
    page.UpdateLanguageTexts();
    rig.Driver().PumpUntilIdle();
    EXPECT_EQ(rig.Selection(kPriorityList), 1);
    EXPECT_EQ(rig.Driver().Text(kPriorityList), L"Terminal bus and PLC");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(rig.m_Block[Codec::kPriorityWord], 2);
}

}  // namespace Corvane
