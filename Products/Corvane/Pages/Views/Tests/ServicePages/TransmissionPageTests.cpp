// The transmission page: the link mode shown from word 69 and stored into
// its three bits, the bandwidth limit stored into the block at the click (it
// is the state page's constant-speed bit too), the duplex-mismatch warning,
// and an activation time out of range refused while all words are stored.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Codecs/StateCodec.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/TransmissionPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace ServicePageIds;
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
        m_Rig.UseCapabilities("[0612-0001]\nFBC=32\n[SNTP]\nActivationTimeMin=10\nActivationTimeMax=500\n");
        m_Rig.m_Block[Codec::kModeWord] = kForeignBits | Codec::kAutoNegotiationBit | Codec::kBandwidthLimitBit;
        m_Rig.m_Block[Codec::kActivationTimeWord] = 40;
        m_Rig.m_Block[Codec::kPriorityWord] = 2;
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(TransmissionPage, AutoNegotiationIsShownWhateverBits1And2SayAndAChosenModeStoresItsBits)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kSpeedList), L"  Auto Negotiate");
    EXPECT_TRUE(driver.IsChecked(kBandwidthBox));
    EXPECT_EQ(driver.Text(kActivationTimeEdit), L"40");
    EXPECT_EQ(m_Rig.Selection(kPriorityList), 1);

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Choose(kSpeedList, 3);
    EXPECT_EQ(driver.Text(kSpeedList), L"  100 MBit / Half Duplex");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kModeWord], kForeignBits | Codec::kSpeed100Bit | Codec::kBandwidthLimitBit);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kModeWord});
}

// The link modes are words: a new language names them anew, on the mode
// the user chose.
TEST_F(TransmissionPage, TheLinkModesAreNamedInTheNewLanguageOnTheChosenMode)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    m_Rig.Choose(kSpeedList, 2);
    GetLanguageSupport().SetText(L"TXT_LINK_10_FULL_DUPLEX", L"10 MBit / Vollduplex");
    page.UpdateLanguageTexts();
    EXPECT_EQ(m_Rig.Driver().Text(kSpeedList), L"  10 MBit / Vollduplex");
    GetLanguageSupport().SetText(L"TXT_LINK_10_FULL_DUPLEX", L"10 MBit / Full Duplex");
}

TEST_F(TransmissionPage, AFixedFullDuplexModeWarnsOfAMismatchAndHalfDuplexTakesTheWarningAway)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    m_Rig.Choose(kSpeedList, 4);
    ASSERT_FALSE(page.m_arrWarnings.empty());
    EXPECT_TRUE(page.m_arrWarnings.back());
    m_Rig.Choose(kSpeedList, 3);
    EXPECT_FALSE(page.m_arrWarnings.back());
    EXPECT_GE(m_Rig.Changes(), 2);
}

TEST_F(TransmissionPage, TheBandwidthLimitGoesIntoTheBlockAtTheClickAndTheLastChangeWins)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    EXPECT_TRUE(m_Rig.Driver().IsEnabled(kActivationTimeEdit));
    m_Rig.Click(kBandwidthLabel);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kBandwidthBox));
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kActivationTimeEdit));
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kPriorityList));
    EXPECT_EQ(m_Rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0) << "stored before any write";
    EXPECT_EQ(m_Rig.Changes(), 1);

    // The state page switches the same bit on; this page, entered again,
    // shows it and does not put its own older value back.
    CDeviceBlock block(&m_Rig.m_Block[0], static_cast<DWORD>(PageViewTest::CPageViewRig::kBlockWords));
    ASSERT_TRUE(CStateCodec::WriteConstantSpeed(block, true));
    ServicePageTest::CRig::Reattach(page, m_Rig.m_Block, PageViewTest::CPageViewRig::kBlockWords, true, false);
    EXPECT_TRUE(m_Rig.Driver().IsChecked(kBandwidthBox));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_NE(m_Rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0);
}

TEST_F(TransmissionPage, AStoreDoesNotPutBackABitTheStatePageChangedMeanwhile)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    CDeviceBlock block(&m_Rig.m_Block[0], static_cast<DWORD>(PageViewTest::CPageViewRig::kBlockWords));
    ASSERT_TRUE(CStateCodec::WriteConstantSpeed(block, false));
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kModeWord] & Codec::kBandwidthLimitBit, 0);
}

TEST_F(TransmissionPage, AnActivationTimeOutOfRangeIsRefusedYetEveryWordIsStored)
{
    m_Rig.m_Block[Codec::kPriorityWord] = 0;
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    EXPECT_EQ(m_Rig.Selection(kPriorityList), -1) << "word 71 = 0 is no priority";
    m_Rig.Replace(kActivationTimeEdit, L"501");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Activation time"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kActivationTimeEdit));
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kActivationTimeWord], 501);
    EXPECT_EQ(m_Rig.m_Block[Codec::kPriorityWord], 0) << "no priority chosen: word 71 untouched";
}

TEST_F(TransmissionPage, ADeviceTimeBelowTheMinimumIsShownQuietlyThenRefused)
{
    m_Rig.m_Block[Codec::kActivationTimeWord] = 5;
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    EXPECT_EQ(m_Rig.Driver().Text(kActivationTimeEdit), L"5");
    EXPECT_TRUE(page.m_arrBalloons.empty());
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(page.m_arrBalloons.size(), 1u);
}

TEST_F(TransmissionPage, ALanguageChangeRefillsThePriorityListAndKeepsItsSelection)
{
    CNotedTransmissionPage page;
    m_Rig.Show(page);
    ASSERT_EQ(m_Rig.Selection(kPriorityList), 1);
    GetLanguageSupport().SetText(L"TXT_CMB_TASK_KBUS_SPS", L"Terminal bus and PLC");
    page.UpdateLanguageTexts();
    m_Rig.Driver().PumpUntilIdle();
    EXPECT_EQ(m_Rig.Selection(kPriorityList), 1);
    EXPECT_EQ(m_Rig.Driver().Text(kPriorityList), L"Terminal bus and PLC");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kPriorityWord], 2);
}

}  // namespace Corvane
