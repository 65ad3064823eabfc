// The devices `make run` starts, as shipped: the simulator's model of each
// kind, read by the program with its shipped capability file, shows every
// page the kind's section offers, each filled with the device's data, and
// write, restart, reset of the file system and factory settings go through
// against it.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Products/Corvane/MainDialog/Commands/AskStored.h"
#include "Products/Corvane/MainDialog/CorvanePageTable.h"
#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Tests/DeviceSimulator/ModelFile.h"

namespace Corvane {

using namespace CorvaneIds;
using namespace EndToEnd;

namespace {

struct tShippedDevice {
    std::string kind;
    std::vector<std::wstring> pages; // the pages the kind's section offers, in tab order
};

const tShippedDevice kDevices[] = {
    {"coupler",
     {L"COMMON", L"NETWORKPARAM", L"CLOCK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP", L"ETHERNETIP", L"SDCARD",
      L"STATUS"}},
    {"controller",
     {L"COMMON", L"NETWORKPARAM", L"CLOCK", L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP", L"ETHERNETIP", L"ORBIS",
      L"SDCARD", L"STATUS"}},
};

// A device command, the status line it ends with, and the device's count of
// the service that shows it reached the device.
struct tCommand {
    int button;
    const wchar_t* doneKey;
    unsigned DevSim::tDeviceData::*count;
};

const tCommand kCommands[] = {
    {kWriteButton, L"STATE_WRITE_DONE", &DevSim::tDeviceData::storeCount},
    {kRestartButton, L"STATE_RESTART_DONE", &DevSim::tDeviceData::restartCount},
    {kResetFileSystemButton, L"STATE_RESET_FILESYSTEM_DONE", &DevSim::tDeviceData::extractCount},
    // Over TCP/IP the device restarts on its own and is not read again.
    {kFactoryDefaultsButton, L"STATE_DEFAULT_STARTED", &DevSim::tDeviceData::factoryResetCount},
};

std::string Narrow(const std::wstring& text)
{
    return {text.begin(), text.end()};
}

class CorvaneShippedDevices : public EndToEndTestBase, public ::testing::WithParamInterface<tShippedDevice> {
protected:
    void StartKind(DevSim::CDeviceSimulator& device)
    {
        DevSim::tDeviceData model;
        std::string error;
        ASSERT_TRUE(DevSim::CModelFile::LoadKind(DEVSIM_MODEL_DIR, GetParam().kind, model, error)) << error;
        device.Model().Set(model);
        ASSERT_TRUE(device.Start()) << device.LastError();
    }
    static std::vector<CString> Arguments(const DevSim::CDeviceSimulator& device)
    {
        return {L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(device.Port())),
                L"/LANGUAGE:en"};
    }
};

// Walks the page table after the read: a page that shows has the device's
// data, so that no row leaves its page out of the read's fill order.
TEST_P(CorvaneShippedDevices, ReadFillsEveryPageThatShows)
{
    DevSim::CDeviceSimulator device;
    ASSERT_NO_FATAL_FAILURE(StartKind(device));
    const tRunResult run = RunProgram(CORVANE_INI, Arguments(device), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver&) {
        std::vector<std::wstring> shown;
        for (const tPageRow& row : CCorvanePageTable::Rows()) {
            const CSettingsPage* page = dialog.Page(row.key);
            ASSERT_TRUE(page != nullptr) << Narrow(row.key);
            if (!page->IsInSheet())
                continue;
            shown.push_back(row.key);
            EXPECT_TRUE(page->HasDeviceBlock()) << Narrow(row.key) << " shows without the device's data";
        }
        EXPECT_EQ(shown, GetParam().pages);
    }, {});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    device.Stop();
}

TEST_P(CorvaneShippedDevices, ShowEveryOfferedPageAndTakeEveryDeviceCommand)
{
    DevSim::CDeviceSimulator device;
    ASSERT_NO_FATAL_FAILURE(StartKind(device));
    const auto settingsWord = [&device] { return device.Model().Get().registers.at({0, 100}).words.at(1); };
    const WORD before = settingsWord();
    const tRunResult run = RunProgram(
        CORVANE_INI, Arguments(device),
        [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
            ASSERT_EQ(ShownPages(dialog), GetParam().pages);
            for (const std::wstring& name : GetParam().pages) {
                EXPECT_TRUE(VisitPage(dialog, driver, name)) << Narrow(name);
                EXPECT_TRUE(::IsWindowVisible(dialog.Page(name)->GetSafeHwnd())) << Narrow(name);
            }
            // An edit for the write to carry: the Modbus close-socket box.
            ASSERT_TRUE(VisitPage(dialog, driver, L"MODBUS"));
            UiTest::CDialogDriver(dialog.Page(L"MODBUS")->GetSafeHwnd()).Click(ServicePageIds::kCloseSocketBox);
            driver.PumpUntilIdle();
            ASSERT_TRUE(VisitPage(dialog, driver, L"COMMON"));
            for (const tCommand& command : kCommands) {
                const std::string key = Narrow(command.doneKey);
                const unsigned count = device.Model().Get().*command.count;
                ASSERT_TRUE(driver.IsEnabled(command.button)) << key;
                ASSERT_TRUE(ClickAndWait(driver, command.button)) << key;
                EXPECT_EQ(driver.Text(kStatusLine), GetLanguageText(command.doneKey).str()) << key;
                EXPECT_GT(device.Model().Get().*command.count, count) << key;
                if (command.button == kWriteButton) {
                    EXPECT_NE(settingsWord(), before) << "the edit reached the device";
                    EXPECT_EQ(ShownPages(dialog), GetParam().pages) << "the device read back after the write";
                }
            }
        },
        // The write changes no port record and asks nothing; restart and
        // reset of the file system ask to go on, the reset whether to restart
        // as well; factory settings ask first and tell afterwards.
        {Press(CAskStored::kContinueAnswer), Press(CAskStored::kContinueAnswer), Press(IDNO),
         Press(IDYES), Press(IDOK)});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    device.Stop();
}

INSTANTIATE_TEST_SUITE_P(Kinds, CorvaneShippedDevices, ::testing::ValuesIn(kDevices),
                         [](const ::testing::TestParamInfo<tShippedDevice>& info) { return info.param.kind; });

}

}  // namespace Corvane
