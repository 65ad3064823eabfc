// The whole program over TCP/IP, as a user goes through it: read a coupler
// and a controller, visit every page, change a setting on each page that has
// one, write, restart the device, read it again in a new program run and
// find every change on the device and on the pages; then carry the settings
// in a file to a second device, and meet the device's refusals of the
// pages' immediate commands.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace Corvane {

using namespace CorvaneIds;
using namespace EndToEnd;

namespace {

// The setting each page's edit changes: a box the page keeps in the
// device's settings table.
const std::vector<tPageEdit> kEdits = {
    {L"MODBUS", ServicePageIds::kCloseSocketBox},   {L"MODBUSPARAM", ServicePageIds::kErrorCheckBox},
    {L"PROTOCOL", DevicePageIds::kFtpBox},          {L"TRAFFIC", ServicePageIds::kBandwidthBox},
    {L"SNTP", ServicePageIds::kSntpBox},            {L"ETHERNETIP", ServicePageIds::kRunIdleO2TBox},
    {L"ORBIS", DevicePageIds::kResetOutputsBox},    {L"STATUS", DevicePageIds::kConstantSpeedBox},
};

std::vector<uint16_t> SettingsTable(DevSim::CDeviceSimulator& device)
{
    return device.Model().Get().registers.at({0, 100}).words;
}

class CorvaneEndToEnd : public EndToEndTestBase {
protected:
    void StartDevice(DevSim::CDeviceSimulator& device, bool controller)
    {
        device.Model().Update(controller ? FillController : FillCoupler);
        ASSERT_TRUE(device.Start()) << device.LastError();
    }

    // Visits every page and clicks each edit's box where the page offers it
    // enabled; the boxes' states afterwards by page.
    static std::map<std::wstring, bool> EditEveryPage(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver,
                                                      std::vector<std::wstring>& visited)
    {
        std::map<std::wstring, bool> edited;
        for (const std::wstring& name : ShownPages(dialog)) {
            if (!VisitPage(dialog, driver, name))
                continue;
            visited.push_back(name);
            const auto edit = std::find_if(kEdits.begin(), kEdits.end(), [&, page = name](const tPageEdit& e) { return e.page == page; });
            if (edit == kEdits.end())
                continue;
            UiTest::CDialogDriver page(dialog.Page(name)->GetSafeHwnd());
            if (!page.IsVisible(edit->box) || !page.IsEnabled(edit->box))
                continue;
            const bool before = page.IsChecked(edit->box);
            page.Click(edit->box);
            driver.PumpUntilIdle();
            EXPECT_NE(page.IsChecked(edit->box), before) << "the box of page " << std::string(name.begin(), name.end());
            edited[name] = page.IsChecked(edit->box);
        }
        // The bandwidth limit and the constant terminal-bus speed are one bit
        // of the device: the state page, edited last, wins.
        if (edited.count(L"TRAFFIC") != 0 && edited.count(L"STATUS") != 0)
            edited[L"TRAFFIC"] = edited[L"STATUS"];
        // Leaving the last page stores it as well.
        EXPECT_TRUE(VisitPage(dialog, driver, L"COMMON"));
        return edited;
    }

    // Read, edit every page, write, restart; then a new program run reads the
    // device again and shows every change.
    void EditWriteRestartAndReadAgain(bool controller, const std::vector<std::wstring>& expectedPages,
                                      const std::vector<std::wstring>& expectedEdits)
    {
        DevSim::CDeviceSimulator device;
        StartDevice(device, controller);
        const std::vector<uint16_t> original = SettingsTable(device);
        std::map<std::wstring, bool> edited;
        std::vector<std::wstring> visited;
        std::vector<WORD> written;
        unsigned restartsByWrite = 0;
        const tRunResult first = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(dialog.Data().SpecificTable.GetCount() > 0) << "the device was read";
            edited = EditEveryPage(dialog, driver, visited);
            written = dialog.Data().SpecificTable.Words();
            ASSERT_TRUE(driver.IsEnabled(kWriteButton));
            ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
            EXPECT_FALSE(driver.IsEnabled(kWriteButton)) << "nothing is left to write";
            restartsByWrite = device.Model().Get().restartCount;
            ASSERT_TRUE(driver.Click(kRestartButton));
            driver.PumpUntilIdle();
            EXPECT_TRUE(WaitForWorker(driver));
        },
        // The edits leave the ports' addresses alone: the write asks nothing,
        // the restart asks to go on.
        {Press(CAskStored::kContinueAnswer)});
        EXPECT_EQ(first.unplannedBoxes, 0u) << ::testing::PrintToString(first.boxTexts);
        EXPECT_EQ(visited, expectedPages);
        std::vector<std::wstring> editedPages;
        for (const auto& [name, state] : edited)
            editedPages.push_back(name);
        EXPECT_THAT(editedPages, ::testing::UnorderedElementsAreArray(expectedEdits));

        const std::vector<uint16_t> onDevice = SettingsTable(device);
        EXPECT_NE(onDevice, original) << "the edits reached the device";
        EXPECT_EQ(onDevice, std::vector<uint16_t>(written.begin(), written.end()));
        EXPECT_EQ(device.Model().Get().restartCount, restartsByWrite + 1) << "the restart button restarted it";

        const tRunResult second = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
            EXPECT_EQ(dialog.Data().SpecificTable.Words(), written);
            for (const auto& [name, state] : edited) {
                ASSERT_TRUE(VisitPage(dialog, driver, name));
                const auto edit = std::find_if(kEdits.begin(), kEdits.end(), [&, page = name](const tPageEdit& e) { return e.page == page; });
                EXPECT_EQ(IsBoxChecked(dialog, name, edit->box), state) << std::string(name.begin(), name.end());
            }
        });
        EXPECT_EQ(second.unplannedBoxes, 0u) << ::testing::PrintToString(second.boxTexts);
        device.Stop();
    }
};

TEST_F(CorvaneEndToEnd, CouplerEditedOnEveryPageIsWrittenAndReadBackAfterARestart)
{
    EditWriteRestartAndReadAgain(false,
                                 {L"COMMON", L"NETWORKPARAM", L"CLOCK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP",
                                  L"ETHERNETIP", L"SDCARD", L"STATUS"},
                                 {L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP", L"ETHERNETIP", L"STATUS"});
}

TEST_F(CorvaneEndToEnd, ControllerEditedOnEveryPageIsWrittenAndReadBackAfterARestart)
{
    EditWriteRestartAndReadAgain(true,
                                 {L"COMMON", L"NETWORKPARAM", L"CLOCK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP",
                                  L"ETHERNETIP", L"ORBIS", L"SDCARD", L"STATUS"},
                                 // The controller's protocol and controller pages offer no box of the table.
                                 {L"MODBUS", L"TRAFFIC", L"SNTP", L"ETHERNETIP"});
}

TEST_F(CorvaneEndToEnd, SettingsSavedFromOneDeviceAreWrittenOfflineToASecondDevice)
{
    DevSim::CDeviceSimulator source;
    DevSim::CDeviceSimulator target;
    StartDevice(source, false);
    StartDevice(target, false);
    target.Model().Update([](DevSim::tDeviceData& d) { d.networkId = "MAC-ID=025AE10A0B0D"; });
    const CString file((m_Files.Path() / "coupler.wes").wstring());
    std::vector<WORD> saved;
    bool ftp = false;
    const tRunResult first = RunOverTcp(source.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(VisitPage(dialog, driver, L"PROTOCOL"));
        UiTest::CDialogDriver page(dialog.Page(L"PROTOCOL")->GetSafeHwnd());
        ASSERT_TRUE(page.Click(DevicePageIds::kFtpBox));
        driver.PumpUntilIdle();
        ftp = page.IsChecked(DevicePageIds::kFtpBox);
        ASSERT_TRUE(VisitPage(dialog, driver, L"COMMON"));
        saved = dialog.Data().SpecificTable.Words();
        ASSERT_TRUE(dialog.SaveSettingsFile(file));
    },
    // Closing: the edit is not to go to this device.
    {Press(IDNO)});
    ASSERT_NE(saved, std::vector<WORD>(saved.size(), 0)) << "the edit is in the saved settings" << ftp;
    EXPECT_THAT(SettingsTable(source), ::testing::Each(0)) << "nothing was written to the first device";

    const tRunResult second = RunOverTcp(target.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(dialog.OpenSettingsFile(file));
        EXPECT_TRUE(dialog.IsOfflineConfig());
        EXPECT_EQ(dialog.Data().SpecificTable.Words(), saved);
        ASSERT_TRUE(driver.IsEnabled(kWriteButton));
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
    });
    // The file's port records keep X1, the port this device is reached
    // through, static at 127.0.0.1 where both devices sit: the write moves
    // no connection, so it asks nothing.
    EXPECT_TRUE(second.boxTexts.empty()) << ::testing::PrintToString(second.boxTexts);
    EXPECT_EQ(SettingsTable(target), std::vector<uint16_t>(saved.begin(), saved.end()));
    target.Stop();
    source.Stop();
}

// The pages point into the data set: a settings file opened, or refused,
// while the state page is in front (a read started there brings it to the
// front again) leaves every page shown and on data that lives.
TEST_F(CorvaneEndToEnd, SettingsFileOpenedUnderTheStatePageShowsOnLiveData)
{
    DevSim::CDeviceSimulator device;
    StartDevice(device, false);
    const CString file((m_Files.Path() / "state.wes").wstring());
    const CString broken(m_Files.Write("broken.wes", "<application><device>").wstring());
    const tRunResult run = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        const std::vector<std::wstring> pages = ShownPages(dialog);
        ASSERT_TRUE(dialog.SaveSettingsFile(file));
        for (const CString& path : {file, broken, file}) {
            ASSERT_TRUE(VisitPage(dialog, driver, L"STATUS"));
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            EXPECT_EQ(dialog.OpenSettingsFile(path), path == file) << ::testing::PrintToString(path.str());
            driver.PumpUntilIdle();
            EXPECT_EQ(ShownPages(dialog), pages) << ::testing::PrintToString(path.str());
            EXPECT_EQ(dialog.ActivePageName(), L"STATUS");
        }
    },
    // The refused file is told.
    {Press(IDOK)});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    device.Stop();
}

TEST_F(CorvaneEndToEnd, ImmediateCommandsTheDeviceRefusesLeaveDeviceAndPagesUnchanged)
{
    DevSim::CDeviceSimulator device;
    StartDevice(device, false);
    const tRunResult run = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        // The device refuses once it has been read.
        device.Model().Update([](DevSim::tDeviceData& d) {
            d.refusedServices[0x115] = DevSim::STATUS_REJECTED; // terminal-bus extension
            d.refusedServices[0x119] = DevSim::STATUS_REJECTED; // date and time
        });
        ASSERT_TRUE(VisitPage(dialog, driver, L"STATUS"));
        UiTest::CDialogDriver state(dialog.Page(L"STATUS")->GetSafeHwnd());
        ASSERT_TRUE(state.Click(DevicePageIds::kExtensionBox));
        driver.PumpUntilIdle();

        ASSERT_TRUE(VisitPage(dialog, driver, L"CLOCK"));
        UiTest::CDialogDriver clock(dialog.Page(L"CLOCK")->GetSafeHwnd());
        ASSERT_TRUE(clock.Click(DevicePageIds::kSyncButton));
        driver.PumpUntilIdle();
    },
    // The failed synchronisation is told; closing leaves the edit unwritten.
    {Press(IDOK), Press(IDNO)});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    const DevSim::tDeviceData after = device.Model().Get();
    EXPECT_EQ(after.terminalBusExtension, 0);
    EXPECT_EQ(after.clockSeconds, 1'700'000'000u) << "the refused clock keeps its time";
    device.Stop();
}

}

}  // namespace Corvane
