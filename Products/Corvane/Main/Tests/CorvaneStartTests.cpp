// The whole start of the program as a user meets it, driven in the headless
// display: the command line's connection and language reach the main
// dialog, which reads the simulated device at once and shows it on its
// identification page, and closing the program gives the profile back as it
// was before this run.
#include "Products/Corvane/Main/Tests/SourceTreeProgram.h"

#include "Common/Communication/TCPIPConnection.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Registry/RegistryTypes.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/MainDialog/Tests/Commands/BoxAnswerer.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Core/ProgramVersion.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/Tests/WorkerRig.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace Corvane {

using namespace CorvaneIds;

namespace {

class CStartProgram : public CSourceTreeProgram {
public:
    std::vector<std::wstring> m_arrMessages;

protected:
    void ShowStartupMessage(const CString& text, UINT) override { m_arrMessages.push_back(text.str()); }
};

class CorvaneStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        GetLanguageSupport().Clear();
        Registry::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Zell Software\\Corvane");
        g_StartupOptions = {};
    }
    void TearDown() override { GetLanguageSupport().Clear(); }

    static Registry::CProfileStore Profile() { return {L"Zell Software", L"Corvane"}; }
};

TEST_F(CorvaneStart, CommandLineConnectionIsReadAtOnceAndLastsOneRun)
{
    WSADATA winsock{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
    DevSim::CDeviceSimulator device;
    device.Model().Update(WorkerTest::FillDevice);
    ASSERT_TRUE(device.Start()) << device.LastError();

    ASSERT_TRUE(Profile().WriteString(L"Common", L"Language", L"en"));
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"RS232"));
    CStartProgram program;
    const std::wstring settings = L"<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='" +
                                  std::to_wstring(device.Port()) + L"' ConnectTimeoutSeconds='2' />";
    program.SetArguments({L"/ConnectionType:TCPIP", L"/ConnectionSettings:" + settings, L"/LANGUAGE:de"});
    ShellTest::ModalScript script;
    std::wstring connection, read, page, caption;
    bool common = false;
    program.SetDialogObserver([&](CCorvaneDlg& dialog) {
        script.Then([&](UiTest::CDialogDriver& driver) {
            // The first show reads the device named on the command line.
            driver.PumpUntil([] { return !GetWorkerBusyFlag().IsSet(); });
            driver.PumpUntilIdle();
            connection = driver.Text(kConnectionText);
            read = driver.Text(kReadButton);
            page = dialog.ActivePageName();
            common = dynamic_cast<CCommonPage*>(dialog.ActivePage()) != nullptr;
            caption = UiTest::TextOf(driver.Dialog());
            // The dialog as the user sees it after the device was read.
            ::UpdateWindow(driver.Dialog());
            driver.PumpUntilIdle();
            const std::string png = (std::filesystem::temp_directory_path() /
                                     ("CorvaneStart-" + std::to_string(::getpid()) + ".png")).string();
            ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(driver.Dialog()), png));
            EXPECT_TRUE(UiTest::MatchesGolden(png, "MainDialogAfterRead", CORVANE_GOLDEN_DIR));
            std::filesystem::remove(png);
            ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        });
    });
    EXPECT_FALSE(program.InitInstance());
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(connection, L"127.0.0.1");
    EXPECT_EQ(read, L"Lesen");
    EXPECT_EQ(page, L"COMMON");
    EXPECT_TRUE(common);
    EXPECT_EQ(caption, L"612-001 - Corvane") << "the article read from the device";
    EXPECT_TRUE(program.m_arrMessages.empty());
    program.ExitInstance();
    device.Stop();
    WSACleanup();
    EXPECT_EQ(Profile().GetString(L"Common", L"Language"), L"en");
    EXPECT_EQ(Profile().GetString(L"Communication", L"LastConnection"), L"RS232");
}

TEST_F(CorvaneStart, BadConnectionOnTheCommandLineIsToldAndTheProgramStillStarts)
{
    CStartProgram program;
    program.SetArguments({L"/Connection:USB:7"});
    ShellTest::ModalScript script;
    std::wstring connection;
    // Quit while a command runs. The try of the fall-back port may already have
    // ended on a busy machine, so the test holds the busy flag in its place.
    CommandsTest::CBoxAnswerer boxes({[](UiTest::CDialogDriver& driver) { ShellTest::Key(driver, VK_RETURN); }});
    bool heldByTest = false;
    program.SetDialogObserver([&](CCorvaneDlg&) {
        script.Then([&](UiTest::CDialogDriver& driver) {
            connection = driver.Text(kConnectionText);
            heldByTest = GetWorkerBusyFlag().TryAcquire();
            ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        });
    });
    program.InitInstance();
    program.ExitInstance();
    if (heldByTest)
        GetWorkerBusyFlag().Release();
    ASSERT_EQ(program.m_arrMessages.size(), 1u);
    EXPECT_EQ(program.m_arrMessages[0], L"Invalid communication settings!--> Set connection to RS232.");
    // The fall-back is the first serial port.
    EXPECT_EQ(connection, L"COM1");
    EXPECT_EQ(boxes.Left(), 0u) << "the quit question was asked";
}

TEST_F(CorvaneStart, SystemMenuAboutOpensTheLibrarysAboutBoxWithTheProgramsVersion)
{
    constexpr int kVersionText = 1059;
    CStartProgram program;
    ShellTest::ModalScript script;
    HWND main = nullptr;
    std::wstring version;
    // The about box runs its own loop inside the command: a timer of the
    // test thread fires there, notes the box's version and closes it.
    UiTest::Handler handler;
    handler.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        const HWND about = ::GetActiveWindow();
        if (message != WM_TIMER || main == nullptr || about == main || ::GetDlgItem(about, kVersionText) == nullptr)
            return message == WM_TIMER;
        version = UiTest::TextOf(::GetDlgItem(about, kVersionText));
        ::PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        main = nullptr;
        return true;
    };
    const HWND timerWindow = UiTest::Create(&handler, WS_POPUP, 0, 0, 1, 1);
    ::SetTimer(timerWindow, 1, 20, nullptr);
    program.SetDialogObserver([&](CCorvaneDlg&) {
        script.Then([&](UiTest::CDialogDriver& driver) {
            main = driver.Dialog();
            ::SendMessageW(main, WM_SYSCOMMAND, kAboutCommand, 0);
        });
    });
    program.InitInstance();
    program.ExitInstance();
    ::DestroyWindow(timerWindow);
    handler.m_onMessage = nullptr;
    EXPECT_EQ(version, std::wstring(L"Version ") + CProgramVersion::Text()) << "the about box came up with the program's version";
}

}

}  // namespace Corvane
