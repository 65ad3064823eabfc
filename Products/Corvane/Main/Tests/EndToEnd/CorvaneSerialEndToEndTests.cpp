// The whole program over the service cable (a pseudo-terminal to the
// simulated device): the settings are read, edited, written and read back,
// and the pages' immediate commands reach the device over serial as well.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Tests/DeviceSimulator/SerialSimulator.h"

using namespace CorvaneIds;
using namespace EndToEnd;

namespace {

class CorvaneSerialEndToEnd : public EndToEndTestBase {
protected:
    void SetUp() override
    {
        EndToEndTestBase::SetUp();
        m_device.Model().Update(FillCoupler);
        ASSERT_TRUE(m_device.Start()) << m_device.LastError();
    }
    void TearDown() override
    {
        m_device.Stop();
        EndToEndTestBase::TearDown();
    }

    DevSim::CSerialSimulator m_device;
};

TEST_F(CorvaneSerialEndToEnd, SettingsAreWrittenAndReadBackOverTheServiceCable)
{
    std::vector<WORD> written;
    bool ftp = false;
    const tRunResult first = RunOverSerial(m_device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(dialog.Data().SpecificTable.GetCount() > 0) << "the device was read";
        ASSERT_TRUE(VisitPage(dialog, driver, L"PROTOCOL"));
        UiTest::CDialogDriver page(dialog.Page(L"PROTOCOL")->GetSafeHwnd());
        ASSERT_TRUE(page.Click(DevicePageIds::kFtpBox));
        ftp = page.IsChecked(DevicePageIds::kFtpBox);
        ASSERT_TRUE(VisitPage(dialog, driver, L"COMMON"));
        written = dialog.Data().SpecificTable.Words();
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kWriteButton));
    });
    EXPECT_EQ(first.unplannedBoxes, 0u) << ::testing::PrintToString(first.boxTexts);
    const std::vector<uint16_t> onDevice = m_device.Model().Get().registers.at({0, 100}).words;
    EXPECT_EQ(onDevice, std::vector<uint16_t>(written.begin(), written.end()));

    bool shown = !ftp;
    const tRunResult second = RunOverSerial(m_device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        EXPECT_EQ(dialog.Data().SpecificTable.Words(), written);
        ASSERT_TRUE(VisitPage(dialog, driver, L"PROTOCOL"));
        shown = IsBoxChecked(dialog, L"PROTOCOL", DevicePageIds::kFtpBox);
    });
    EXPECT_EQ(shown, ftp);
}

// The state page's commands go through the service of the serial connection;
// the production test mode exists only there.
TEST_F(CorvaneSerialEndToEnd, StatePageSwitchesWriteAccessAndTestModeOverTheServiceCable)
{
    bool writeAccess = false;
    bool testMode = false;
    const tRunResult run = RunOverSerial(m_device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(VisitPage(dialog, driver, L"STATUS"));
        UiTest::CDialogDriver page(dialog.Page(L"STATUS")->GetSafeHwnd());
        ASSERT_TRUE(page.IsEnabled(DevicePageIds::kWriteAccessBox));
        ASSERT_TRUE(page.Click(DevicePageIds::kWriteAccessBox));
        driver.PumpUntilIdle();
        writeAccess = page.IsChecked(DevicePageIds::kWriteAccessBox);
        ASSERT_TRUE(page.IsEnabled(DevicePageIds::kTestModeBox));
        ASSERT_TRUE(page.Click(DevicePageIds::kTestModeBox));
        driver.PumpUntilIdle();
        testMode = page.IsChecked(DevicePageIds::kTestModeBox);
    });
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_TRUE(writeAccess);
    EXPECT_TRUE(testMode);
    const DevSim::tDeviceData device = m_device.Model().Get();
    EXPECT_TRUE(device.writeAccess);
    EXPECT_NE(device.factoryTestMode, 0);
    EXPECT_GE(device.storeCount, 1u) << "the test mode is saved on the device";
}

}
