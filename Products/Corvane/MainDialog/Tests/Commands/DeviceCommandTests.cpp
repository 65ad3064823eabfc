// The device commands of the main dialog against the simulated device:
// read, restart, reset file system and factory defaults with their
// questions, a faulty device, and closing while a worker runs.
#include "Products/Corvane/MainDialog/Tests/Commands/CommandsRig.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace Corvane {

using namespace CommandsTest;
using namespace CorvaneIds;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using DeviceCommandTest = CommandsTestBase;

TEST_F(DeviceCommandTest, ReadShowsTheDeviceAndItsChecks)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Read done");
            EXPECT_EQ(driver.Text(kTitleLine1), L"612-001");
            EXPECT_EQ(driver.Text(kTitleLine2), L"Line coupler");
            EXPECT_TRUE(driver.IsEnabled(kSaveButton));
            EXPECT_FALSE(driver.IsEnabled(kWriteButton));
            EXPECT_TRUE(driver.IsEnabled(kRestartButton));
            EXPECT_TRUE(driver.IsEnabled(kResetFileSystemButton)) << "the capability file gives FILESYS";
            EXPECT_EQ(dialog->ConnectionState(), kStateIdle);
        });
    EXPECT_THAT(Log(*dialog), HasSubstr(L"    Checking 612-001\r\n    Order 612-001 known\r\n"));
    EXPECT_THAT(Log(*dialog), HasSubstr(L"    Firmware 02.07.11 fits\r\nRead done"));
    EXPECT_EQ(dialog->Data().NetworkID, L"025AE10A0B0C");
    // The identification page shows the device with both its ports.
    const std::wstring rows = Rows(*dialog);
    EXPECT_THAT(rows, HasSubstr(L"=Line coupler\n"));
    EXPECT_THAT(rows, HasSubstr(L"=02.07.11\n"));
    EXPECT_THAT(rows, HasSubstr(L"=SN000001\n"));
    EXPECT_THAT(rows, HasSubstr(L"=192.168.1.10"));
    EXPECT_THAT(rows, HasSubstr(L"=10.0.0.20"));
}

// Enter presses the focused button as Space does, here Read.
TEST_F(DeviceCommandTest, EnterOnAFocusedButtonPressesIt)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        ::SetFocus(driver.Control(kReadButton));
        MainDialogTest::PressInDialog(driver, VK_RETURN);
        ASSERT_TRUE(WaitForWorker(driver));
        EXPECT_EQ(driver.Text(kStatusLine), L"Read done");
    });
}

TEST_F(DeviceCommandTest, CommandLineConnectionReadsAtTheFirstShow)
{
    // The parameter file does not exist yet: the first read fills it.
    const std::filesystem::path file = m_Files.Path() / "new.wes";
    g_StartupOptions.ConnectionSettings = L"127.0.0.1";
    g_StartupOptions.ParamFile = CString(file.wstring());
    g_StartupOptions.ArticleNumber = L"0612-0001";
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        ASSERT_TRUE(WaitForWorker(driver));
        EXPECT_EQ(driver.Text(kTitleLine1), L"612-001");
        EXPECT_EQ(driver.Text(kStatusLine), L"Saved");
    });
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Read done"));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(DeviceCommandTest, ParameterFileOnTheCommandLineIsHeldAgainstTheDevice)
{
    const CString path = CString((m_Files.Path() / "device.wes").wstring());
    {
        auto first = MakeDialog();
        Run(*first, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(first->SaveSettingsFile(path));
        });
    }
    g_StartupOptions.ConnectionSettings = L"127.0.0.1";
    g_StartupOptions.ParamFile = path;
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        EXPECT_FALSE(GetWorkerBusyFlag().IsSet()) << "the file is opened, nothing read";
        EXPECT_EQ(dialog->ConnectionState(), kStateOffline);
        EXPECT_EQ(driver.Text(kTitleLine1), L"612-001");
        EXPECT_TRUE(driver.IsEnabled(kWriteButton)) << "the file fits the connected device";
    });
}

TEST_F(DeviceCommandTest, ParameterFileOfAnotherDeviceTypeCannotBeWritten)
{
    const CString path = CString((m_Files.Path() / "device.wes").wstring());
    {
        auto first = MakeDialog();
        Run(*first, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ASSERT_TRUE(first->SaveSettingsFile(path));
        });
    }
    m_Sim.Model().Update([](DevSim::tDeviceData& d) {
        d.orderNumber = "612-002";
        d.identItems[0] = {"ORDER", "612-002"};
    });
    g_StartupOptions.ConnectionSettings = L"127.0.0.1";
    g_StartupOptions.ParamFile = path;
    auto dialog = MakeDialog();
    Run(
        *dialog,
        [&](UiTest::CDialogDriver& driver) {
            driver.PumpUntilIdle();
            EXPECT_FALSE(driver.IsEnabled(kWriteButton));
        },
        {Answer(IDOK)});
    EXPECT_EQ(m_arrBoxTexts.size(), 1u);
}

TEST_F(DeviceCommandTest, UnknownDeviceTypeFailsTheOrderCheckAndKeepsOnlyTheFirstPage)
{
    m_pApp->DeviceIni().SetIniPath(CString(m_Files.Write("other.ini", "[0612-0001]\nFBC=32\nORBIS=32\n").wstring()));
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            EXPECT_EQ(dialog->ConnectionState(), kStateFailed);
            EXPECT_FALSE(driver.IsEnabled(kSaveButton));
            EXPECT_FALSE(driver.IsEnabled(kRestartButton));
            EXPECT_EQ(dialog->ActivePageName(), L"COMMON");
        });
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Order 612-001 unknown"));
    EXPECT_THAT(Log(*dialog), Not(HasSubstr(L"Checking firmware")));
}

// Every kind of misbehaviour from the device's first frame on ends in the
// failed read, never in a hang.
TEST_F(DeviceCommandTest, MisbehavingDeviceEndsInTheFailedRead)
{
    const std::pair<DevSim::ENFault, uint32_t> faults[] = {
        {DevSim::ENFault::Close, 0},            {DevSim::ENFault::Busy, 0},
        {DevSim::ENFault::Delay, 2500},         {DevSim::ENFault::ErrorStatus, 0},
        {DevSim::ENFault::WrongServiceEcho, 0}, {DevSim::ENFault::WrongTransaction, 0},
        {DevSim::ENFault::ShortFrame, 0},       {DevSim::ENFault::Reset, 0},
    };
    for (const auto& [kind, delayMs] : faults) {
        SCOPED_TRACE(static_cast<int>(kind));
        m_Sim.Faults().Clear();
        DevSim::tFaultRule rule = Always(kind);
        rule.delayMs = delayMs;
        rule.status = 3;
        m_Sim.Faults().Add(rule);
        auto dialog = MakeDialog();
        ExpectFailedRead(*dialog);
    }
}

TEST_F(DeviceCommandTest, RestartAsksAndTheTickedAnswerStandsNextTime)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      ASSERT_TRUE(ClickAndWait(driver, kRestartButton));
                      EXPECT_EQ(driver.Text(kStatusLine), L"Restart done");
                      // Asked no more: the kept answer starts the restart at once.
                      ASSERT_TRUE(ClickAndWait(driver, kRestartButton));
                      EXPECT_EQ(driver.Text(kStatusLine), L"Restart done");
                  },
                  {Answer(CAskStored::kContinueAnswer, true)});
    EXPECT_EQ(m_arrBoxTexts.size(), 1u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"SoftwareReset", 0), CAskStored::kDontAskAgain | 11u);
}

TEST_F(DeviceCommandTest, RestartAbortedStartsNothing)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      ASSERT_TRUE(ClickAndWait(driver, kRestartButton));
                      EXPECT_EQ(driver.Text(kStatusLine), L"Read done");
                  },
                  {Answer(IDABORT)});
    EXPECT_EQ(Profile().GetInt(L"Messages", L"SoftwareReset", 0), 0u);
}

TEST_F(DeviceCommandTest, ResetFileSystemThenTheOfferedRestart)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      ASSERT_TRUE(ClickAndWait(driver, kResetFileSystemButton));
                      // The restart the second box started.
                      ASSERT_TRUE(WaitForWorker(driver));
                      EXPECT_EQ(driver.Text(kStatusLine), L"Restart done");
                  },
                  {Answer(CAskStored::kContinueAnswer), Answer(IDYES, true)});
    EXPECT_THAT(Log(*dialog), HasSubstr(L"File system reset"));
    EXPECT_EQ(Profile().GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", 0), CAskStored::kDontAskAgain | 6u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"ResetFileSystem", 0), 11u);
}

TEST_F(DeviceCommandTest, FactoryDefaultsOnlyAfterYes)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(ClickAndWait(driver, kReadButton));
                      ASSERT_TRUE(ClickAndWait(driver, kFactoryDefaultsButton));
                      EXPECT_EQ(driver.Text(kStatusLine), L"Read done") << "No starts nothing";
                      ASSERT_TRUE(ClickAndWait(driver, kFactoryDefaultsButton));
                      EXPECT_THAT(driver.Text(kStatusLine), Not(HasSubstr(L"failed")));
                  },
                  {Answer(IDNO), Answer(IDYES), Answer(IDOK)});
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Defaults"));
}

// After the factory settings the device restarts on its own and is not read
// again: no page keeps settings, or edits, that are no longer the device's.
TEST_F(DeviceCommandTest, FactorySettingsLeaveNoPageWithTheFormerSettings)
{
    auto dialog = MakeDialog();
    std::vector<std::wstring> shown;
    Run(
        *dialog,
        [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ::SendMessageW(driver.Dialog(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
            ASSERT_TRUE(driver.IsEnabled(kWriteButton)) << "an edit waits to be written";
            ASSERT_TRUE(ClickAndWait(driver, kFactoryDefaultsButton));
            for (const auto& entry : dialog->PageEntries())
                if (entry.page != nullptr && entry.page->IsInSheet())
                    shown.push_back(entry.name);
            EXPECT_EQ(driver.Text(kStatusLine), L"Defaults started");
            EXPECT_FALSE(driver.IsEnabled(kWriteButton));
            EXPECT_FALSE(driver.IsEnabled(kSaveButton));
            EXPECT_FALSE(driver.IsEnabled(kRestartButton)) << "the device is to be read first";
            EXPECT_TRUE(driver.IsEnabled(kReadButton));
            EXPECT_EQ(driver.Text(kTitleLine1), L"612-001") << "the device is still the one";
        },
        {Answer(IDYES), Answer(IDOK)});
    EXPECT_EQ(shown, std::vector<std::wstring>{L"COMMON"});
}

// A failed read shows that no device is connected, and a language switch
// afterwards brings nothing of the device read before back: the failure
// stays, in the new language.
TEST_F(DeviceCommandTest, AfterAFailedReadNoDeviceShowsInEitherLanguage)
{
    const auto both = [](const char* key, const char* de, const char* en) {
        return std::string("<text key=\"") + key + "\"><locale code=\"de\">" + de + "</locale><locale code=\"en\">" +
               en + "</locale></text>\n";
    };
    m_Folder.Write("Corvane.GUI.XML", AppTest::GuiXml(both("STATE_IDENTIFY_FAILED", "Lesen gescheitert", "Read failed") +
                                                      both("TXT_NO_DEVICE_CONNECTED", "Kein Gerät", "No device") +
                                                      both("STATE_READY", "Bereit", "Ready")));
    GetLanguageSupport().SetText(L"TXT_NO_DEVICE_CONNECTED", L"No device");
    auto dialog = MakeDialog();
    std::vector<std::wstring> titles, status;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        ASSERT_THAT(Rows(*dialog), HasSubstr(L"=Line coupler\n"));
        m_Sim.Faults().Add(Always(DevSim::ENFault::Close));
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        for (LPCWSTR language : {L"", L"de", L"en"}) {
            if (*language != 0)
                dialog->SwitchLanguage(language);
            driver.PumpUntilIdle();
            EXPECT_EQ(Rows(*dialog), L"") << "nothing of the device read before";
            titles.push_back(driver.Text(kTitleLine1) + L"|" + driver.Text(kTitleLine2));
            status.push_back(driver.Text(kStatusLine));
            CString window;
            dialog->GetWindowText(window);
            EXPECT_EQ(window.str(), std::wstring(AfxGetAppName())) << "the window's title names no device";
        }
    });
    const std::wstring app = AfxGetAppName();
    EXPECT_EQ(titles, (std::vector<std::wstring>{app + L"|No device", app + L"|Kein Gerät", app + L"|No device"}));
    EXPECT_EQ(status, (std::vector<std::wstring>{L"Read failed", L"Lesen gescheitert", L"Read failed"}));
}

TEST_F(DeviceCommandTest, ConnectionSettingsAreRefusedWhileAWorkerRuns)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
                      ASSERT_TRUE(GetWorkerBusyFlag().TryAcquire());
                      ::SendMessageW(driver.Dialog(), WM_COMMAND, MAKEWPARAM(kMenuCommunication, 0), 0);
                      GetWorkerBusyFlag().Release();
                  },
                  {Answer(IDOK)});
    ASSERT_EQ(m_arrBoxTexts.size(), 1u);
    EXPECT_EQ(m_arrBoxTexts[0], L"A command runs.\nThe connection cannot change now.");
}

TEST_F(DeviceCommandTest, WhileAWorkerReplacesTheTablesNoPageHoldsTheOldOnes)
{
    auto dialog = MakeDialog();
    std::vector<std::wstring> holding;
    std::size_t attachedAfter = 0;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        SlowDown(m_Sim.Faults());
        ASSERT_TRUE(dialog->StartReadThread());
        ASSERT_TRUE(GetWorkerBusyFlag().IsSet()) << "the read still runs";
        for (const auto& entry : dialog->PageEntries())
            if (entry.page != nullptr && entry.page->HasDeviceBlock())
                holding.push_back(entry.name);
        m_Sim.Faults().Clear();
        ASSERT_TRUE(WaitForWorker(driver));
        for (const auto& entry : dialog->PageEntries())
            attachedAfter += entry.page != nullptr && entry.page->IsInSheet() && entry.page->HasDeviceBlock();
    });
    EXPECT_TRUE(holding.empty()) << holding.front();
    EXPECT_GT(attachedAfter, 0u) << "the read's end attaches the pages again";
}

TEST_F(DeviceCommandTest, ASecondCloseWhileTheQuestionIsOpenAsksNothingMore)
{
    auto dialog = MakeDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            SlowDown(m_Sim.Faults());
            ASSERT_TRUE(driver.Click(kReadButton));
            driver.PumpUntil([] { return false; }, 100);
            ASSERT_TRUE(GetWorkerBusyFlag().IsSet()) << "the read still runs";
            ::SendMessageW(driver.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
            m_Sim.Faults().Clear();
            ASSERT_TRUE(WaitForWorker(driver));
            EXPECT_TRUE(::IsWindow(driver.Dialog())) << "No keeps the dialog";
        },
        {[&](UiTest::CDialogDriver& box) {
            // The window manager asks once more while the question is open.
            ::PostMessageW(dialog->GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            box.PumpUntilIdle();
            box.Click(IDNO);
        }});
    EXPECT_EQ(m_arrBoxTexts.size(), 1u) << ::testing::PrintToString(m_arrBoxTexts);
}

TEST_F(DeviceCommandTest, ClosingDuringAReadStopsTheWorkerFirst)
{
    auto dialog = MakeDialog();
    CloseDuringCommand(*dialog, m_Sim.Faults(), kReadButton);
}

}

}  // namespace Corvane
