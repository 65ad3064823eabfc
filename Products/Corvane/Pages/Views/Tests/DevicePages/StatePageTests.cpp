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
        rig.m_data.StatusWords = {1, 0, 0, 0, 0, 4, 7, 0, 1};
        rig.ConnectDevice();
        rig.m_Device.Model().Update([](DevSim::tDeviceData& d) {
            d.stateWords = {1, 0, 0, 0, 0, 4, 7, 0, 1};
            d.registers[{0, 100}].words = std::vector<uint16_t>(CPageViewRig::kBlockWords, 0);
        });
    }

    // The mode boxes are shown for information; the device's own commands
    // behind them are reached once a box is enabled.
    void EnableBox(int id) { ::EnableWindow(rig.Driver().Control(id), TRUE); }

    CPageViewRig rig;
};

}

TEST_F(StatePage, ShowsTheStateWordsAndExplainsTheBlinkCode)
{
    CDriven<CStatePage> page;
    rig.Show(page);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kFieldbusBox));
    EXPECT_FALSE(driver.IsChecked(kMonitorModeBox));
    EXPECT_TRUE(driver.IsVisible(kExtensionBox)) << "a coupler with nine state words";
    EXPECT_TRUE(driver.IsChecked(kExtensionBox));
    EXPECT_FALSE(driver.IsEnabled(kWriteAccessBox));
    EXPECT_EQ(driver.Text(kErrorCode), L"4");
    EXPECT_EQ(driver.Text(kErrorArgument), L"7");
    EXPECT_EQ(driver.Text(kBlinkCodeText), L"Terminal 7 does not answer");

    rig.Click(kFieldbusBox);
    EXPECT_TRUE(driver.IsChecked(kFieldbusBox)) << "the fieldbus box only shows the device's state";
}

TEST_F(StatePage, EightStateWordsHideTheTerminalBusExtension)
{
    rig.m_data.StatusWords.resize(8);
    CDriven<CStatePage> page;
    rig.Show(page);
    EXPECT_FALSE(rig.Driver().IsVisible(kExtensionBox));
    EXPECT_TRUE(rig.Driver().IsChecked(kFieldbusBox));
    EXPECT_TRUE(rig.Driver().IsVisible(kConstantSpeedBox));
}

TEST_F(StatePage, AControllerHasNoTerminalBusBoxes)
{
    rig.m_data.ArticleNo = CString(PageViewTest::kControllerArticle);
    CDriven<CStatePage> page;
    rig.Show(page, true, true);
    for (int id : {kExtensionBox, kExtensionLabel, kConstantSpeedBox, kConstantSpeedLabel})
        EXPECT_FALSE(rig.Driver().IsVisible(id)) << id;
}

TEST_F(StatePage, TooFewStateWordsAreReportedAndLeaveTheBoxesDisabled)
{
    rig.m_data.StatusWords = {1, 0, 1, 0, 0, 0, 0};
    PageViewTest::CMessageBoxCloser closer(rig.m_Host);
    CDriven<CStatePage> page;
    rig.Show(page);
    rig.Driver().PumpUntil([&closer] { return !closer.m_arrBoxes.empty(); });
    ASSERT_EQ(closer.m_arrBoxes.size(), 1u);
    EXPECT_NE(closer.m_arrBoxes[0].find(L"(count: 7, min. count: 8)"), std::wstring::npos) << closer.m_arrBoxes[0];
    EXPECT_FALSE(rig.Driver().IsChecked(kFieldbusBox));
    EXPECT_FALSE(rig.Driver().IsEnabled(kExtensionBox));
}

TEST_F(StatePage, MonitorModeIsSwitchedOnTheDeviceAndLocksControlMode)
{
    CDriven<CStatePage> page;
    rig.Show(page);
    EnableBox(kMonitorModeBox);
    EnableBox(kControlModeBox);
    rig.Click(kMonitorModeBox);
    UiTest::CDialogDriver driver = rig.Driver();
    EXPECT_TRUE(driver.IsChecked(kMonitorModeBox));
    EXPECT_EQ(rig.m_data.StatusWords[3], 1);
    EXPECT_EQ(rig.m_Device.Model().Get().stateWords[3], 1);
    EXPECT_FALSE(driver.IsEnabled(kControlModeBox));
    EXPECT_FALSE(rig.m_pConnection->IsOpen());
}

TEST_F(StatePage, AControlModeTheDeviceRefusesGoesBack)
{
    rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x10B] = DevSim::STATUS_REJECTED; });
    CDriven<CStatePage> page;
    rig.Show(page);
    EnableBox(kControlModeBox);
    rig.Click(kControlModeBox);
    EXPECT_FALSE(rig.Driver().IsChecked(kControlModeBox));
    EXPECT_EQ(rig.m_data.StatusWords[4], 0);
    EXPECT_EQ(rig.m_Device.Model().Get().stateWords[4], 0);
    EXPECT_FALSE(rig.m_pConnection->IsOpen());
}

TEST_F(StatePage, TheTerminalBusExtensionIsSwitchedOnTheDeviceAndReported)
{
    rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.terminalBusExtension = 1; });
    CDriven<CStatePage> page;
    rig.Show(page);
    rig.Click(kExtensionLabel);
    EXPECT_FALSE(rig.Driver().IsChecked(kExtensionBox));
    EXPECT_EQ(rig.m_data.StatusWords[8], 0);
    EXPECT_EQ(rig.m_Device.Model().Get().terminalBusExtension, 0);
    EXPECT_EQ(rig.Changes(), 1);
}

TEST_F(StatePage, ARefusedWriteAccessRevertsTheBoxAndTheStateWord)
{
    rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices[0x101] = DevSim::STATUS_REJECTED; });
    CDriven<CStatePage> page;
    rig.Show(page);
    EnableBox(kWriteAccessBox);
    rig.Click(kWriteAccessBox);
    EXPECT_FALSE(rig.Driver().IsChecked(kWriteAccessBox));
    EXPECT_EQ(rig.m_data.StatusWords[2], 0);

    rig.m_Device.Model().Update([](DevSim::tDeviceData& d) { d.refusedServices.clear(); });
    rig.Click(kWriteAccessBox);
    EXPECT_TRUE(rig.Driver().IsChecked(kWriteAccessBox));
    EXPECT_EQ(rig.m_data.StatusWords[2], 1);
    EXPECT_TRUE(rig.m_Device.Model().Get().writeAccess);
}

TEST_F(StatePage, TestModeIsRefusedAtOnceOverTcpIp)
{
    CDriven<CStatePage> page;
    rig.Show(page);
    EnableBox(kTestModeBox);
    rig.Click(kTestModeBox);
    EXPECT_FALSE(rig.Driver().IsChecked(kTestModeBox));
    EXPECT_EQ(rig.m_Device.Model().Get().factoryTestMode, 0);
}

TEST_F(StatePage, TheConstantSpeedGoesIntoTheBlockFirstAndToTheDeviceWhenOnline)
{
    rig.m_Block[CStateCodec::kSpeedWord] = 0x0101;
    CDriven<CStatePage> page;
    rig.SetOffline(true);
    rig.Show(page);
    EXPECT_FALSE(rig.Driver().IsChecked(kConstantSpeedBox));
    const std::vector<WORD> before = rig.Words();
    rig.Click(kConstantSpeedLabel);
    EXPECT_EQ(rig.m_Block[CStateCodec::kSpeedWord], 0x0111) << "offline the change is kept for the next write";
    EXPECT_EQ(rig.ChangedWords(before), std::vector<std::size_t>{CStateCodec::kSpeedWord});
    EXPECT_EQ(rig.Changes(), 1);
    EXPECT_EQ(rig.m_Device.Model().Get().registers.at({0, 100}).words[CStateCodec::kSpeedWord], 0);

    rig.SetOffline(false);
    rig.Click(kConstantSpeedBox);
    EXPECT_EQ(rig.m_Block[CStateCodec::kSpeedWord], 0x0101);
    EXPECT_EQ(rig.m_Device.Model().Get().registers.at({0, 100}).words[CStateCodec::kSpeedWord], 0x0101);
    EXPECT_FALSE(rig.m_Device.Model().Get().writeAccess) << "write access is closed again";
}

}  // namespace Corvane
