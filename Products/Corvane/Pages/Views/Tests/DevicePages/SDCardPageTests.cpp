// The memory-card page: the card record of the data set shown, the program
// root chosen into the data set, and the brand's service buttons against the
// simulated device, with the wait on a busy device bounded.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/SDCardPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

class SDCardPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"SDCARD_STATUS_READY", L"Ready");
        GetLanguageSupport().SetText(L"SDCARD_STATUS_NO_CARD", L"No card");
        GetLanguageSupport().SetText(L"SDCARD_TYPE_00", L"Unknown card");
        GetLanguageSupport().SetText(L"SDCARD_TYPE_02", L"SDHC");
        GetLanguageSupport().SetText(L"TXT_INTERNAL_FLASH", L"Internal flash");
        GetLanguageSupport().SetText(L"TXT_SDCARD", L"Memory card");
        GetLanguageSupport().SetText(L"OEM_NAME", L"Zell");
    }
    void TearDown() override { GetLanguageSupport().SetText(L"OEM_NAME", L"Zell"); }

    CPageViewRig m_Rig;
};

}

TEST_F(SDCardPage, ADeviceWithoutASlotSaysSoAndShowsNothingElse)
{
    m_Rig.m_data.HasSDCardSlot = false;
    m_Rig.m_data.SDCardInfo.bInserted = true;
    m_Rig.m_data.SDCardInfo.wCapacity = 64;
    CDriven<CSDCardPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kCardStatus), L"Service not supported!");
    for (int id : {kCardType, kCardSerial, kCardCapacity, kCardFree})
        EXPECT_EQ(driver.Text(id), L"") << id;
    EXPECT_FALSE(driver.IsVisible(kCardQueryButton));
}

TEST_F(SDCardPage, ACardIsShownWithItsTextsAndTheRootChoiceGoesIntoTheDataSet)
{
    m_Rig.m_data.HasSDCardSlot = true;
    m_Rig.m_data.SDCardInfo = {true, 9, false, 8, 3, 4000000000u, 0};
    CDriven<CSDCardPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kCardStatus), L"Ready");
    EXPECT_EQ(driver.Text(kCardType), L"Unknown card") << "type 9 has no text of its own";
    EXPECT_EQ(driver.Text(kCardCapacity), L"08 MB");
    EXPECT_EQ(driver.Text(kCardFree), L"03 MB");
    EXPECT_EQ(driver.Text(kCardSerial), L"4000000000");
    EXPECT_EQ(driver.Text(kRootLocationList), L"Internal flash");

    ::SetFocus(driver.Control(kRootLocationList));
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(m_Rig.m_data.SDCardInfo.wRootLocation, 1);
    EXPECT_EQ(m_Rig.Changes(), 1);
    const std::vector<WORD> before = m_Rig.Words();
    EXPECT_TRUE(page.StoreIfDataPresent());
    EXPECT_TRUE(m_Rig.ChangedWords(before).empty()) << "the root location lives in the data set";
}

TEST_F(SDCardPage, TheServiceButtonsQueryTheCardAndGiveUpOnADeviceThatStaysBusy)
{
    GetLanguageSupport().SetText(L"OEM_NAME", L"TRELLAND Systems");
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) {
        d.sdCard = {true, 2, false, 512, 100, 77, };
        d.plcRootLocation = 0;
        // The device keeps creating the root folder for ever.
        d.refusedServices[0x312] = DevSim::STATUS_BUSY;
        d.commandStates[0x312] = DevSim::STATUS_BUSY;
    });
    m_Rig.m_data.HasSDCardSlot = true;
    CDriven<CSDCardPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ASSERT_TRUE(driver.IsVisible(kCardQueryButton));

    m_Rig.Click(kCardQueryButton);
    EXPECT_EQ(driver.Text(kCardServiceLine), L"Status der SD-Karte ermittelt");
    EXPECT_EQ(driver.Text(kCardType), L"SDHC");
    EXPECT_EQ(driver.Text(kCardCapacity), L"512 MB");
    EXPECT_TRUE(driver.IsEnabled(kCardCapacity));
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen()) << "each button closes what it opened";

    ::SetFocus(driver.Control(kRootLocationList));
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    const int pausesBefore = page.m_nPauses;
    m_Rig.Click(kRootSetButton);
    EXPECT_EQ(driver.Text(kCardServiceLine), L"PLC Root Location nicht eingestellt! - Invalid state: 33309");
    EXPECT_GE(page.m_nPauses - pausesBefore, CSDCardCodec::kMaxWaitPolls);
    EXPECT_LE(page.m_nPauses - pausesBefore, CSDCardCodec::kMaxWaitPolls + 4) << "the wait is bounded";
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
}

TEST_F(SDCardPage, AFailedCardQueryNamesTheErrorAndEmptiesTheFields)
{
    GetLanguageSupport().SetText(L"OEM_NAME", L"TRELLAND Systems");
    m_Rig.ConnectDevice();
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x310] = DevSim::STATUS_REJECTED; });
    m_Rig.m_data.HasSDCardSlot = true;
    m_Rig.m_data.SDCardInfo = {true, 2, false, 8, 3, 5, 0};
    CDriven<CSDCardPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kCardCapacity), L"08 MB");
    m_Rig.Click(kCardQueryButton);
    EXPECT_EQ(driver.Text(kCardServiceLine), L"Status der SD-Karte nicht ermittelt! - Errorcode: 0x20088214");
    EXPECT_EQ(driver.Text(kCardCapacity), L"");
    EXPECT_FALSE(driver.IsEnabled(kCardCapacity));
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
    EXPECT_EQ(m_Rig.m_data.SDCardInfo.wCapacity, 8) << "the data set keeps what was read";
}

TEST_F(SDCardPage, SettingTheRootWithoutAChoiceSaysSoAndLeavesTheDeviceAlone)
{
    GetLanguageSupport().SetText(L"OEM_NAME", L"TRELLAND Systems");
    m_Rig.ConnectDevice();
    m_Rig.m_data.HasSDCardSlot = false;
    CDriven<CSDCardPage> page;
    m_Rig.Show(page);
    m_Rig.Click(kRootSetButton);
    EXPECT_EQ(m_Rig.Driver().Text(kCardServiceLine), L"Keine PLC Root Location ausgewählt!");
    EXPECT_EQ(m_Rig.m_Device.AcceptedConnections(), 0u);
}

}  // namespace Corvane
