// The whole program over the service cable (a pseudo-terminal to the
// simulated device): the settings are read, edited, written and read back,
// and the pages' immediate commands reach the device over serial as well.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Tests/DeviceSimulator/SerialSimulator.h"

namespace Corvane {

using namespace CorvaneIds;
using namespace EndToEnd;

namespace {

class CorvaneSerialEndToEnd : public EndToEndTestBase {
protected:
    void SetUp() override
    {
        EndToEndTestBase::SetUp();
        m_Device.Model().Update(FillCoupler);
        ASSERT_TRUE(m_Device.Start()) << m_Device.LastError();
    }
    void TearDown() override
    {
        m_Device.Stop();
        EndToEndTestBase::TearDown();
    }

    DevSim::CSerialSimulator m_Device;
};

TEST_F(CorvaneSerialEndToEnd, SettingsAreWrittenAndReadBackOverTheServiceCable)
{
    std::vector<WORD> written;
    bool ftp = false;
    const tRunResult first = RunOverSerial(m_Device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(dialog.Data().SpecificTable.GetCount() > 0) << "the device was read";
        ASSERT_TRUE(VisitPage(dialog, driver, L"PROTOCOL"));
        UiTest::CDialogDriver page(dialog.Page(L"PROTOCOL")->GetSafeHwnd());
        ASSERT_TRUE(page.Click(DevicePageIds::kFtpBox));
        driver.PumpUntilIdle();
        ftp = page.IsChecked(DevicePageIds::kFtpBox);
        ASSERT_TRUE(VisitPage(dialog, driver, L"COMMON"));
        written = dialog.Data().SpecificTable.Words();
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kWriteButton));
    });
    EXPECT_EQ(first.unplannedBoxes, 0u) << ::testing::PrintToString(first.boxTexts);
    const std::vector<uint16_t> onDevice = m_Device.Model().Get().registers.at({0, 100}).words;
    EXPECT_EQ(onDevice, std::vector<uint16_t>(written.begin(), written.end()));

    bool shown = !ftp;
    const tRunResult second = RunOverSerial(m_Device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        EXPECT_EQ(dialog.Data().SpecificTable.Words(), written);
        ASSERT_TRUE(VisitPage(dialog, driver, L"PROTOCOL"));
        shown = IsBoxChecked(dialog, L"PROTOCOL", DevicePageIds::kFtpBox);
    });
    EXPECT_EQ(shown, ftp);
}

// The state page's commands go through the service of the serial
// connection as they do over TCP/IP.
TEST_F(CorvaneSerialEndToEnd, StatePageSwitchesTheTerminalBusOverTheServiceCable)
{
    bool extension = false;
    bool constantSpeed = false;
    const tRunResult run = RunOverSerial(m_Device.SlavePath(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(VisitPage(dialog, driver, L"STATUS"));
        UiTest::CDialogDriver page(dialog.Page(L"STATUS")->GetSafeHwnd());
        ASSERT_TRUE(page.Click(DevicePageIds::kExtensionBox));
        driver.PumpUntilIdle();
        extension = page.IsChecked(DevicePageIds::kExtensionBox);
        ASSERT_TRUE(page.Click(DevicePageIds::kConstantSpeedBox));
        driver.PumpUntilIdle();
        constantSpeed = page.IsChecked(DevicePageIds::kConstantSpeedBox);
    },
    // Both are on the device already: closing writes nothing.
    {Press(IDNO)});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_TRUE(extension);
    EXPECT_TRUE(constantSpeed);
    const DevSim::tDeviceData device = m_Device.Model().Get();
    EXPECT_EQ(device.terminalBusExtension, 1);
    EXPECT_EQ(device.registers.at({0, 100}).words[69] & 0x10, 0x10) << "the speed bit reached the device at once";
    EXPECT_FALSE(device.writeAccess) << "write access is closed again";
}

}

}  // namespace Corvane
