// The state page: the state words and the blink code shown, the mode boxes
// as commands to the simulated device (reverted when the device refuses),
// and the constant terminal-bus speed kept in the block even offline.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/StatePage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageViewRig.h"

namespace Corvane {

using namespace DevicePageIds;
using PageViewTest::CDriven;
using PageViewTest::CPageViewRig;

namespace {

class StatePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"BC_ERROR_004_007", L"Terminal %d does not answer");
        m_Rig.m_data.StatusWords = {1, 0, 0, 0, 0, 4, 7, 0, 1};
        m_Rig.ConnectDevice();
        m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) {
            d.stateWords = {1, 0, 0, 0, 0, 4, 7, 0, 1};
            d.registers[{0, 100}].words = std::vector<uint16_t>(CPageViewRig::kBlockWords, 0);
        });
    }

    // The mode boxes are shown for information; the device's own commands
    // behind them are reached once a box is enabled.
    void EnableBox(int id) { ::EnableWindow(m_Rig.Driver().Control(id), TRUE); }

    CPageViewRig m_Rig;
};

}

TEST_F(StatePage, ShowsTheStateWordsAndExplainsTheBlinkCode)
{
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kFieldbusBox));
    EXPECT_FALSE(driver.IsChecked(kMonitorModeBox));
    EXPECT_TRUE(driver.IsVisible(kExtensionBox)) << "a coupler with nine state words";
    EXPECT_TRUE(driver.IsChecked(kExtensionBox));
    EXPECT_FALSE(driver.IsEnabled(kWriteAccessBox));
    EXPECT_EQ(driver.Text(kErrorCode), L"4");
    EXPECT_EQ(driver.Text(kErrorArgument), L"7");
    EXPECT_EQ(driver.Text(kBlinkCodeText), L"Terminal 7 does not answer");

    m_Rig.Click(kFieldbusBox);
    EXPECT_TRUE(driver.IsChecked(kFieldbusBox)) << "the fieldbus box only shows the device's state";
}

TEST_F(StatePage, EightStateWordsHideTheTerminalBusExtension)
{
    m_Rig.m_data.StatusWords.resize(8);
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    EXPECT_FALSE(m_Rig.Driver().IsVisible(kExtensionBox));
    EXPECT_TRUE(m_Rig.Driver().IsChecked(kFieldbusBox));
    EXPECT_TRUE(m_Rig.Driver().IsVisible(kConstantSpeedBox));
}

TEST_F(StatePage, AControllerHasNoTerminalBusBoxes)
{
    m_Rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
    CDriven<CStatePage> page;
    m_Rig.Show(page, true, true);
    for (int id : {kExtensionBox, kExtensionLabel, kConstantSpeedBox, kConstantSpeedLabel})
        EXPECT_FALSE(m_Rig.Driver().IsVisible(id)) << id;
}

TEST_F(StatePage, TooFewStateWordsAreReportedAndLeaveTheBoxesDisabled)
{
    m_Rig.m_data.StatusWords = {1, 0, 1, 0, 0, 0, 0};
    PageViewTest::CMessageBoxCloser closer(m_Rig.m_Host);
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    m_Rig.Driver().PumpUntil([&closer] { return !closer.m_arrBoxes.empty(); });
    ASSERT_EQ(closer.m_arrBoxes.size(), 1u);
    EXPECT_NE(closer.m_arrBoxes[0].find(L"(count: 7, min. count: 8)"), std::wstring::npos) << closer.m_arrBoxes[0];
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kFieldbusBox));
    EXPECT_FALSE(m_Rig.Driver().IsEnabled(kExtensionBox));
}

TEST_F(StatePage, MonitorModeIsSwitchedOnTheDeviceAndLocksControlMode)
{
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    EnableBox(kMonitorModeBox);
    EnableBox(kControlModeBox);
    m_Rig.Click(kMonitorModeBox);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kMonitorModeBox));
    EXPECT_EQ(m_Rig.m_data.StatusWords[3], 1);
    EXPECT_EQ(m_Rig.m_Device.Model().Get().stateWords[3], 1);
    EXPECT_FALSE(driver.IsEnabled(kControlModeBox));
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
}

TEST_F(StatePage, AControlModeTheDeviceRefusesGoesBack)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x10B] = DevSim::STATUS_REJECTED; });
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    EnableBox(kControlModeBox);
    m_Rig.Click(kControlModeBox);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kControlModeBox));
    EXPECT_EQ(m_Rig.m_data.StatusWords[4], 0);
    EXPECT_EQ(m_Rig.m_Device.Model().Get().stateWords[4], 0);
    EXPECT_FALSE(m_Rig.m_pConnection->IsOpen());
}

TEST_F(StatePage, TheTerminalBusExtensionIsSwitchedOnTheDeviceAndReported)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.terminalBusExtension = 1; });
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    m_Rig.Click(kExtensionLabel);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kExtensionBox));
    EXPECT_EQ(m_Rig.m_data.StatusWords[8], 0);
    EXPECT_EQ(m_Rig.m_Device.Model().Get().terminalBusExtension, 0);
    EXPECT_EQ(m_Rig.Changes(), 1);
}

TEST_F(StatePage, ARefusedWriteAccessRevertsTheBoxAndTheStateWord)
{
    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x101] = DevSim::STATUS_REJECTED; });
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    EnableBox(kWriteAccessBox);
    m_Rig.Click(kWriteAccessBox);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kWriteAccessBox));
    EXPECT_EQ(m_Rig.m_data.StatusWords[2], 0);

    m_Rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices.clear(); });
    m_Rig.Click(kWriteAccessBox);
    EXPECT_TRUE(m_Rig.Driver().IsChecked(kWriteAccessBox));
    EXPECT_EQ(m_Rig.m_data.StatusWords[2], 1);
    EXPECT_TRUE(m_Rig.m_Device.Model().Get().writeAccess);
}

TEST_F(StatePage, TestModeIsRefusedAtOnceOverTcpIp)
{
    CDriven<CStatePage> page;
    m_Rig.Show(page);
    EnableBox(kTestModeBox);
    m_Rig.Click(kTestModeBox);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kTestModeBox));
    EXPECT_EQ(m_Rig.m_Device.Model().Get().factoryTestMode, 0);
}

TEST_F(StatePage, TheConstantSpeedGoesIntoTheBlockFirstAndToTheDeviceWhenOnline)
{
    m_Rig.m_Block[CStateCodec::kSpeedWord] = 0x0101;
    CDriven<CStatePage> page;
    m_Rig.SetOffline(true);
    m_Rig.Show(page);
    EXPECT_FALSE(m_Rig.Driver().IsChecked(kConstantSpeedBox));
    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Click(kConstantSpeedLabel);
    EXPECT_EQ(m_Rig.m_Block[CStateCodec::kSpeedWord], 0x0111) << "offline the change is kept for the next write";
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{CStateCodec::kSpeedWord});
    EXPECT_EQ(m_Rig.Changes(), 1);
    EXPECT_EQ(m_Rig.m_Device.Model().Get().registers.at({0, 100}).words[CStateCodec::kSpeedWord], 0);

    m_Rig.SetOffline(false);
    m_Rig.Click(kConstantSpeedBox);
    EXPECT_EQ(m_Rig.m_Block[CStateCodec::kSpeedWord], 0x0101);
    EXPECT_EQ(m_Rig.m_Device.Model().Get().registers.at({0, 100}).words[CStateCodec::kSpeedWord], 0x0101);
    EXPECT_FALSE(m_Rig.m_Device.Model().Get().writeAccess) << "write access is closed again";
}

}  // namespace Corvane
