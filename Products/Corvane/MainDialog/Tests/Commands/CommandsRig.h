#pragma once
// The main dialog against the simulated device over TCP/IP, driven in the
// headless display: the dialog runs modally, the steps of a test run inside
// its loop and inside every message box it opens, and each wait for a
// worker has an upper bound.
#include "Products/Corvane/MainDialog/Tests/MainDialogRig.h"
#include "Products/Corvane/MainDialog/Tests/Commands/BoxAnswerer.h"

#include "Platform/Net/WinSock.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"
#include "Products/Corvane/Workers/Tests/WorkerRig.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <chrono>
#include <functional>
#include <string>

namespace Corvane {

namespace CommandsTest {

using Step = ShellTest::ModalScript::Step;

// The texts the commands show, each distinct so that a test can tell them.
constexpr std::pair<const wchar_t*, const wchar_t*> kTexts[] = {
    {L"STATE_IDENTIFY_DONE", L"Read done"},
    {L"STATE_IDENTIFY_FAILED", L"Read failed"},
    {L"STATE_WRITE_DONE", L"Write done"},
    {L"STATE_WRITE_FAILED", L"Write failed"},
    {L"STATE_RESTART_DONE", L"Restart done"},
    {L"STATE_RESTART_FAILED", L"Restart failed"},
    {L"STATE_DEFAULT_DONE", L"Defaults done"},
    {L"STATE_DEFAULT_STARTED", L"Defaults started"},
    {L"STATE_DEFAULT_FAILED", L"Defaults failed"},
    {L"STATE_RESET_FILESYSTEM_DONE", L"File system reset"},
    {L"STATE_RESET_FILESYSTEM_FAILED", L"File system reset failed"},
    {L"STATE_CHECK_ORDER", L"Checking %s"},
    {L"STATE_CHECK_ORDER_DONE", L"Order %s known"},
    {L"STATE_CHECK_ORDER_FAILED", L"Order %s unknown"},
    {L"STATE_CHECK_SW_VERSION", L"Checking firmware of %s"},
    {L"STATE_CHECK_SW_VERSION_DONE", L"Firmware %s fits"},
    {L"STATE_CHECK_SW_VERSION_FAILED", L"Firmware %s too old"},
    {L"STATE_CHECK_CONNECTION_FAILED", L"No connection"},
    {L"STATE_SAVE_FILE_WORK", L"Saving"},
    {L"STATE_SAVE_FILE_DONE", L"Saved"},
    {L"STATE_SAVE_FILE_FAILED", L"Not saved"},
    {L"STATE_WRITE_FILE_NAME", L"Writing %s"},
    {L"STATE_READ_FILE_NAME", L"Reading %s"},
    {L"MSG_SOFTWARE_RESET", L"Restart the device?"},
    {L"MSG_RESET_FILESYSTEM", L"Reset the file system?"},
    {L"MSG_RESTART_SOFTWARE", L"Restart now?"},
    {L"MSG_RESET_TO_FACTORY_DEFAULT", L"Factory defaults?"},
    {L"MSG_RESET_TO_FACTORY_DEFAULT_TCPIP", L"Factory defaults for %s at %s?"},
    {L"MSG_RESET_TO_FACTORY_DEFAULT_TCPIP_DONE", L"The device may have a new address."},
    {L"MSG_ACTIVE_THREAD", L"A command runs."},
    {L"MSG_CANT_CHANGE_SETTINGS", L"The connection cannot change now."},
    {L"TXT_WARNING_UPPER", L"WARNING"},
};

constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\nORBIS=0\nFILESYS=1\n"
                                 "[SUPPORTED_FBC]\nS00=0612-0001\n";

class CommandsTestBase : public MainDialogTest::MainDialogTestBase {
protected:
    void SetUp() override
    {
        MainDialogTestBase::SetUp();
        for (const auto& [key, text] : kTexts)
            GetLanguageSupport().SetText(key, text);
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &m_Winsock), 0);
        m_pApp->DeviceIni().SetIniPath(CString(m_Files.Write("corvane.ini", kCapabilities).wstring()));
        m_Sim.Model().Update(WorkerTest::FillDevice);
        ASSERT_TRUE(m_Sim.Start()) << m_Sim.LastError();
    }
    void TearDown() override
    {
        m_Sim.Stop();
        WSACleanup();
        MainDialogTestBase::TearDown();
    }

    // The dialog on the simulated device.
    std::unique_ptr<CCorvaneDlg> MakeDialog()
    {
        auto dialog = std::make_unique<CCorvaneDlg>(CorvaneIds::kMainDialog, m_Catalog);
        ConnectToSimulator(*dialog);
        return dialog;
    }
    void ConnectToSimulator(CCorvaneDlg& dialog) const
    {
        dialog.CreateConnectionOfType(
            L"TCPIP", FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' "
                              L"SendTimeoutSeconds='2' ReceiveTimeoutSeconds='2' CloseWaitTime='0' "
                              L"RestartTimeoutSeconds='1'/>",
                              unsigned{m_Sim.Port()}));
    }

    // Runs the dialog modally: `step` inside its loop, each of `answers` in
    // the next message box it opens. Unless the step closed the dialog, it
    // is closed afterwards.
    void Run(CCorvaneDlg& dialog, const Step& step, std::vector<Step> answers = {})
    {
        ShellTest::ModalScript script;
        CBoxAnswerer boxes(std::move(answers));
        script.Then([&](UiTest::CDialogDriver& driver) {
            step(driver);
            if (::IsWindow(driver.Dialog()))
                dialog.EndDialog(IDCANCEL);
        });
        dialog.DoModal();
        m_arrBoxTexts = boxes.Texts();
        EXPECT_EQ(boxes.Left(), 0u) << "a planned answer found no box";
        EXPECT_EQ(boxes.Unplanned(), 0u) << "a box came that no answer was planned for";
    }

    // Pumps until no worker runs and its result is shown.
    static bool WaitForWorker(UiTest::CDialogDriver& driver, DWORD maxMs = 60000)
    {
        return driver.PumpUntil([] { return !GetWorkerBusyFlag().IsSet(); }, maxMs) && driver.PumpUntilIdle();
    }
    // Clicks a button and waits for the worker it starts.
    static bool ClickAndWait(UiTest::CDialogDriver& driver, int id)
    {
        if (!driver.Click(id))
            return false;
        driver.PumpUntilIdle();
        return WaitForWorker(driver);
    }
    // A box step: ticks the do-not-ask-again box when asked, then the button.
    static Step Answer(int button, bool tick = false)
    {
        return [=](UiTest::CDialogDriver& box) {
            if (tick)
                box.Click(5555);
            box.Click(button);
        };
    }

    // Reads a device that misbehaves: the read fails in bounded time, names
    // its failing step, keeps no device data and lets the user try again.
    void ExpectFailedRead(CCorvaneDlg& dialog)
    {
        const auto start = std::chrono::steady_clock::now();
        Run(dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, CorvaneIds::kReadButton));
            EXPECT_EQ(driver.Text(CorvaneIds::kStatusLine), L"Read failed");
            EXPECT_EQ(dialog.ConnectionState(), CorvaneIds::kStateFailed);
            EXPECT_TRUE(driver.IsEnabled(CorvaneIds::kReadButton));
            EXPECT_FALSE(driver.IsEnabled(CorvaneIds::kWriteButton));
        });
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_TRUE(dialog.Data().ArticleNo.IsEmpty());
        EXPECT_FALSE(dialog.Data().Description.IsEmpty()) << "the failed step is named";
    }
    // Slows every answer of the device down, so that a command is still
    // running when the dialog goes.
    static void SlowDown(DevSim::CFaultPlan& faults)
    {
        DevSim::tFaultRule slow = Always(DevSim::ENFault::Delay);
        slow.delayMs = 30;
        faults.Add(slow);
    }
    // Destroys the dialog while the command of `button` runs on the slowed
    // device: the dialog waits for its worker, which then touches no window
    // that has gone. `prepare` runs in the dialog first.
    void CloseDuringCommand(CCorvaneDlg& dialog, DevSim::CFaultPlan& faults, int button, const Step& prepare = {})
    {
        Run(dialog, [&](UiTest::CDialogDriver& driver) {
            if (prepare)
                prepare(driver);
            SlowDown(faults);
            ASSERT_TRUE(driver.Click(button));
            driver.PumpUntil([] { return false; }, 100);
            ASSERT_TRUE(GetWorkerBusyFlag().IsSet()) << "the command still runs";
            ::DestroyWindow(driver.Dialog());
        });
        EXPECT_FALSE(GetWorkerBusyFlag().IsSet());
        UiTest::Drain();
    }
    static DevSim::tFaultRule Always(DevSim::ENFault kind)
    {
        DevSim::tFaultRule rule;
        rule.kind = kind;
        rule.times = -1;
        return rule;
    }

    static std::wstring Log(const CCorvaneDlg& dialog) { return dialog.StatusLog().str(); }
    // The identification page's rows as "name=value" lines.
    static std::wstring Rows(const CCorvaneDlg& dialog)
    {
        const auto* page = dynamic_cast<const CCommonPage*>(dialog.Page(L"COMMON"));
        std::wstring rows;
        if (page == nullptr)
            return rows;
        for (const CCommonPage::tRow& row : page->Rows())
            rows += row.name.str() + L"=" + row.value.str() + L"\n";
        return rows;
    }

    // The identification page as the program has it, a test page beside it.
    static CCorvanePageCatalog Catalog()
    {
        CCorvanePageCatalog catalog = MainDialogTest::TestCatalog({L"STATUS"});
        catalog.Register(L"COMMON", [](const CCorvaneApp::tTemplateIds&) { return std::make_unique<CCommonPage>(); });
        return catalog;
    }

    CCorvanePageCatalog m_Catalog = Catalog();
    CTempFolder m_Files;
    WSADATA m_Winsock{};
    DevSim::CDeviceSimulator m_Sim;
    // The message texts of the boxes the last run met.
    std::vector<std::wstring> m_arrBoxTexts;
};

}

}  // namespace Corvane
