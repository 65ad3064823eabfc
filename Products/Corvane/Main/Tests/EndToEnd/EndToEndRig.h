#pragma once
// The whole program as a user runs it, in the headless display against the
// simulated device: the program object is started with a connection on its
// command line, its main dialog reads the device at once, and a test's step
// runs inside the dialog's loop. Message boxes the program opens are answered
// as planned; a box nobody planned for is noted and closed.
#include "Products/Corvane/Main/CorvaneProgram.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Windows/PropertySheet.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Registry/RegistryTypes.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/MainDialog/Tests/Commands/BoxAnswerer.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"
#include "Products/Corvane/Workers/Tests/WorkerRig.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Corvane {

namespace EndToEnd {

using Step = CommandsTest::CBoxAnswerer::Step;
using DialogStep = std::function<void(CCorvaneDlg&, UiTest::CDialogDriver&)>;

constexpr char kControllerOrder[] = "612-8001";
// Words of the device's settings table: enough for every page's fields.
constexpr std::size_t kSettingsTableWords = 120;

// The coupler and the controller, each with every page, and the addresses a
// port may never get.
constexpr char kCapabilities[] = "[SUPPORTED_FBC]\nS00=0612-0001\nS01=0612-8001\nS02=EOL\n"
                                "[0612-0001]\nFBC=32\nORBIS=0\nFILESYS=1\nSDCARD=1\nPAGE01=ALL\nPAGE02=EOL\n"
                                "[0612-8001]\nFBC=0\nORBIS=32\nSPSCTRL=1\nSDCARD=1\nPAGE01=ALL\nPAGE02=EOL\n"
                                "[InvalidIPAddresses]\nInvalidIP_00=0.0.0.0\nInvalidIP_01=255.255.255.255\n"
                                "InvalidIP_02=EOL\n";

// The coupler of the worker tests with two ports, a clock, a memory card and
// a settings table every page has its words in.
inline void FillCoupler(DevSim::tDeviceData& d)
{
    WorkerTest::FillDevice(d);
    d.registers[{0, 100}].words = std::vector<uint16_t>(kSettingsTableWords, 0);
    d.stateWords = std::vector<uint16_t>(9, 0);
    d.clockSeconds = 1'700'000'000;
    d.zoneMinutes = 60;
    d.sdCard = {true, 2, false, 8, 3, 5};
}

// The same device as a controller with two runtime systems.
inline void FillController(DevSim::tDeviceData& d)
{
    FillCoupler(d);
    d.orderNumber = kControllerOrder;
    for (auto& [key, value] : d.identItems) {
        if (key == "ORDER")
            value = kControllerOrder;
        if (key == "DESCR")
            value = "Controller";
    }
}

inline std::wstring TcpSettings(uint16_t port)
{
    return L"<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='" + std::to_wstring(port) +
           L"' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' ReceiveTimeoutSeconds='2' CloseWaitTime='0' "
           L"RestartTimeoutSeconds='1' />";
}

inline std::wstring SerialSettings(const std::string& device)
{
    return L"<?xml version='1.0'?><RS232 device='" + std::wstring(device.begin(), device.end()) +
           L"' timeout='300' RestartTimeoutSeconds='0' />";
}

class CEndToEndProgram : public CCorvaneProgram {
public:
    explicit CEndToEndProgram(std::wstring capabilityFile) : m_strCapabilityFile(std::move(capabilityFile)) {}

    void InitGuiXmlFile() override { m_guiXmlFile = CORVANE_GUI_XML; }
    void InitExePaths() override
    {
        CCorvaneProgram::InitExePaths();
        DeviceIni().SetIniPath(m_strCapabilityFile.c_str());
    }

    std::vector<std::wstring> m_arrMessages;

protected:
    void ShowStartupMessage(const CString& text, UINT) override { m_arrMessages.push_back(text.str()); }

private:
    std::wstring m_strCapabilityFile;
};

// Pumps until no worker runs and its result is shown.
inline bool WaitForWorker(UiTest::CDialogDriver& driver, DWORD maxMs = 30000)
{
    return driver.PumpUntil([] { return !GetWorkerBusyFlag().IsSet(); }, maxMs) && driver.PumpUntilIdle();
}

// A message box step: the button the user presses.
inline Step Press(int button)
{
    return [button](UiTest::CDialogDriver& box) { box.Click(button); };
}

// Pumps until the read the program starts with is over: it is started by a
// posted message, so an idle worker alone does not tell it has run.
inline bool WaitForStartupRead(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver)
{
    return driver.PumpUntil([&dialog] { return !GetWorkerBusyFlag().IsSet() && dialog.Data().SpecificTable.GetCount() > 0; },
                            30000) &&
           driver.PumpUntilIdle();
}

// Clicks one of the dialog's buttons and waits for the worker it starts.
inline bool ClickAndWait(UiTest::CDialogDriver& driver, int id)
{
    if (!driver.Click(id))
        return false;
    driver.PumpUntilIdle();
    return WaitForWorker(driver);
}

// The sheet that holds the dialog's pages (null before the first page shows).
inline CPropertySheet* SheetOf(CCorvaneDlg& dialog)
{
    CSettingsPage* active = dialog.ActivePage();
    if (active == nullptr || active->GetSafeHwnd() == nullptr)
        return nullptr;
    return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(active->GetSafeHwnd())));
}

// The keys of the pages the sheet shows, in tab order.
inline std::vector<std::wstring> ShownPages(CCorvaneDlg& dialog)
{
    std::vector<std::wstring> shown;
    for (const CCorvaneDlg::tPageEntry& entry : dialog.PageEntries()) {
        if (entry.page != nullptr && entry.page->IsInSheet())
            shown.push_back(entry.name);
    }
    return shown;
}

// Brings the page to the front as a click on its tab does; the page's
// window then exists and its values are shown.
inline bool VisitPage(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver, const std::wstring& name)
{
    CPropertySheet* sheet = SheetOf(dialog);
    CSettingsPage* page = dialog.Page(name);
    if (sheet == nullptr || page == nullptr)
        return false;
    const int index = sheet->GetPageIndex(page);
    if (index < 0 || !sheet->SetActivePage(index))
        return false;
    driver.PumpUntilIdle();
    return dialog.ActivePageName() == name;
}

// The check state of a box on a page.
inline bool IsBoxChecked(CCorvaneDlg& dialog, const std::wstring& name, int box)
{
    CSettingsPage* page = dialog.Page(name);
    return page != nullptr && page->GetSafeHwnd() != nullptr && UiTest::CDialogDriver(page->GetSafeHwnd()).IsChecked(box);
}

// One setting a user changes on a page: a check box the page stores into
// the device's settings table.
struct tPageEdit {
    std::wstring page;
    int box = 0;
};

// What a program run met: the message boxes' texts, how many of them no
// answer was planned for, and the messages of the start-up.
struct tRunResult {
    std::vector<std::wstring> boxTexts;
    std::size_t unplannedBoxes = 0;
    std::vector<std::wstring> startupMessages;
};

// Runs the whole program on `arguments`. `step` runs inside its main dialog
// once the start-up read is over; the program is closed afterwards. Each of
// `answers` answers the next message box.
inline tRunResult RunProgram(const std::filesystem::path& capabilityFile, std::vector<CString> arguments,
                             const DialogStep& step, std::vector<Step> answers)
{
    CEndToEndProgram program(capabilityFile.wstring());
    program.SetArguments(std::move(arguments));
    ShellTest::ModalScript script;
    CommandsTest::CBoxAnswerer boxes(std::move(answers));
    program.SetDialogObserver([&](CCorvaneDlg& dialog) {
        script.Then([&](UiTest::CDialogDriver& driver) {
            EXPECT_TRUE(WaitForStartupRead(dialog, driver)) << "the start-up read ends";
            step(dialog, driver);
            if (::IsWindow(driver.Dialog()))
                ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        });
    });
    program.InitInstance();
    program.ExitInstance();
    EXPECT_EQ(boxes.Left(), 0u) << "a planned answer found no box";
    EXPECT_EQ(script.Left(), 0u) << "the main dialog never showed";
    return {boxes.Texts(), boxes.Unplanned(), program.m_arrMessages};
}

class EndToEndTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        GetLanguageSupport().Clear();
        Registry::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Zell Software\\Corvane");
        g_StartupOptions = {};
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &m_Winsock), 0);
        m_CapabilityFile = m_Files.Write("corvane.ini", kCapabilities);
    }
    void TearDown() override
    {
        WSACleanup();
        GetLanguageSupport().Clear();
        Registry::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Zell Software\\Corvane");
    }

    // The program with a TCP/IP connection to the simulated device on `port`.
    tRunResult RunOverTcp(uint16_t port, const DialogStep& step, std::vector<Step> answers = {}) const
    {
        return RunProgram(m_CapabilityFile,
                          {L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(port)), L"/LANGUAGE:en"},
                          step, std::move(answers));
    }
    // The same over the pseudo-terminal `device`.
    tRunResult RunOverSerial(const std::string& device, const DialogStep& step, std::vector<Step> answers = {}) const
    {
        return RunProgram(m_CapabilityFile,
                          {L"/ConnectionType:RS232", CString(L"/ConnectionSettings:" + SerialSettings(device)),
                           L"/LANGUAGE:en"},
                          step, std::move(answers));
    }

    CTempFolder m_Files;
    std::filesystem::path m_CapabilityFile;
    WSADATA m_Winsock{};
};

}

}  // namespace Corvane
