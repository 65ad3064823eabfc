// The connection-settings dialog through its export, against the simulated
// device: testing the connection, refusing a bad value, applying and
// cancelling, and what the caller's connection pointer holds afterwards.
#include "Common/PelorusDLL/ConnectionTypes.h"
#include "Common/PelorusDLL/Dialogs/CommunicationSettingsDlg.h"
#include "Common/PelorusDLL/Dialogs/ConnectionTypeForms.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"
#include "Common/PelorusDLL/Dialogs/Tests/DialogGolden.h"
#include "Common/PelorusDLL/Dialogs/Tests/SettingsDialogScript.h"

#include "Platform/Base/Format.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

using namespace PelorusIds;
using namespace PelorusTest;

namespace {

class SettingsDialog : public SettingsDialogScript {
protected:
    void SetUp() override
    {
        // The connection check reads the node's configuration table, which
        // every coupler has and the simulated one only when given.
        m_device.Model().Update([](DevSim::tDeviceData& d) { d.registers[{0, 9}].words = {0x8212, 0}; });
        ASSERT_TRUE(m_device.Start());
        StoreAndUse<ZELL::CTCPIPConnection>(FormatW(
            L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='3' SendTimeoutSeconds='3' "
            L"ReceiveTimeoutSeconds='3' RestartTimeoutSeconds='10' />",
            unsigned{m_device.Port()}));
    }

    DevSim::CDeviceSimulator m_device;
};

}

// A type the user can choose has a form and a list entry; a form belongs to a type.
TEST(SettingsDialogTypes, EveryOfferedTypeHasItsFormAndEveryFormItsType)
{
    const auto types = ZELL::CConnectionTypes::All();
    for (std::size_t index = 0; index < types.size(); ++index) {
        EXPECT_EQ(CConnectionTypeForms::Find(types[index].word) != nullptr, types[index].offered) << types[index].word;
        EXPECT_STREQ(CCommunicationSettingsDlg::TypeWord(static_cast<int>(index)), types[index].word);
    }
    for (const tConnectionTypeForm& form : CConnectionTypeForms::All())
        EXPECT_NE(ZELL::CConnectionTypes::Find(form.word), nullptr) << form.word;
    EXPECT_STREQ(CCommunicationSettingsDlg::TypeWord(-1), L"RS232");
    EXPECT_STREQ(CCommunicationSettingsDlg::TypeWord(static_cast<int>(types.size())), L"RS232");
}

TEST_F(SettingsDialog, TheTestIdentifiesTheDeviceAndOkStoresTheKindOfConnection)
{
    CHostProfile().WriteString(L"Communication", L"LastConnection", L"RS232");
    ShellTest::ModalScript script;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        EXPECT_TRUE(::IsWindowVisible(driver.Control(kConnectionList)));
        EXPECT_EQ(TextOf(ShownFormControl(driver.Dialog(), kTimeoutEdit)), L"3");
        PressTest(driver);
        driver.PumpUntilIdle();
        driver.Click(IDOK);
    });
    AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDOK);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"Found 0612-0001 (Simulated coupler), firmware 01.02.03, hardware 01");
    EXPECT_EQ(CHostProfile().GetString(L"Communication", L"LastConnection", L""), L"TCPIP");
    EXPECT_NE(dynamic_cast<ZELL::CTCPIPConnection*>(m_connection), nullptr);
}

TEST_F(SettingsDialog, ADeviceThatDoesNotIdentifyIsAFailedTestWithItsCode)
{
    m_device.Faults().Add({DevSim::ENFault::Close, {}, -1});
    ShellTest::ModalScript script;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        PressTest(driver);
        driver.PumpUntilIdle();
        driver.Click(IDCANCEL);
    });
    AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    ASSERT_EQ(m_boxes.size(), 1u); // only OK without the library: not asked again
    EXPECT_EQ(m_boxes[0].rfind(L"The test failed.\n\nError 0x", 0), 0u);
    EXPECT_EQ(m_boxes[0].find(L"0x00000000"), std::wstring::npos); // the code of the failure, not none
}

TEST_F(SettingsDialog, ARefusedValueKeepsTheDialogAndCancelRestoresKindAndStoredSettings)
{
    CHostProfile().WriteString(L"Communication", L"LastConnection", L"TCPIP");
    const std::wstring before = Stored();
    ShellTest::ModalScript script;
    bool stillOpen = false;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        // Another kind, then a refused value in its form.
        ::SendMessageW(driver.Control(kConnectionList), CB_SETCURSEL, 0, 0);
        ::SendMessageW(driver.Dialog(), WM_COMMAND, MAKEWPARAM(kConnectionList, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(driver.Control(kConnectionList)));
        driver.PumpUntilIdle();
        EXPECT_NE(ShownFormControl(driver.Dialog(), kPortList), nullptr);
        ::SetWindowTextW(ShownFormControl(driver.Dialog(), kRestartEdit), L"0");
        driver.PumpUntilIdle();
        driver.Click(IDOK);
        driver.PumpUntilIdle();
        stillOpen = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
        driver.Click(IDCANCEL);
    });
    AnswerBox(script);
    AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(m_boxes, std::vector<std::wstring>(2, L"At least one second"));
    EXPECT_EQ(Stored(), before);
    EXPECT_NE(dynamic_cast<ZELL::CTCPIPConnection*>(m_connection), nullptr);
    EXPECT_EQ(CHostProfile().GetString(L"Communication", L"LastConnection", L""), L"TCPIP");
}

// The user reaches the kind of connection with the mouse and with Tab: a
// click drops the list (its idle update once ran round the window tree for
// ever), and Tab runs from the list through the shown form to the buttons,
// past the hidden connection test.
TEST_F(SettingsDialog, TheListDropsOnAClickAndTabRunsFromItThroughTheFormToTheButtons)
{
    ShellTest::ModalScript script;
    std::vector<std::wstring> stops;
    bool dropped = false;
    bool serialShown = false;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        EXPECT_FALSE(driver.IsVisible(kTest));
        driver.Click(kConnectionList);
        driver.PumpUntilIdle();
        dropped = ::SendMessageW(driver.Control(kConnectionList), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        driver.Press(VK_UP);
        driver.Press(VK_RETURN);
        driver.PumpUntilIdle();
        serialShown = ShownFormControl(driver.Dialog(), kPortList) != nullptr;
        // Where each Tab from the list stops, until it comes back there.
        ::SetFocus(driver.Control(kConnectionList));
        for (int i = 0; i < 20; ++i) {
            driver.Press(VK_TAB);
            driver.PumpUntilIdle();
            const HWND focus = ::GetFocus();
            if (focus == driver.Control(kConnectionList))
                break;
            stops.push_back(::GetParent(focus) == driver.Dialog() ? std::to_wstring(::GetDlgCtrlID(focus)) : L"form");
        }
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(serialShown);
    EXPECT_EQ(stops, (std::vector<std::wstring>{L"form", L"form", L"form", std::to_wstring(kDefault), L"1", L"2"}));
}

// Walking through the TCP/IP form with Tab changes no setting: Enter after
// four Tabs keeps finding the device by its address. A click into the
// network name still chooses the name.
TEST_F(SettingsDialog, TabOnlyMovesTheFocusWhereAClickIntoTheNameChoosesIt)
{
    CHostProfile().WriteString(L"Communication", L"LastConnection", L"TCPIP");
    ShellTest::ModalScript script;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        for (int i = 0; i < 4; ++i)
            driver.Press(VK_TAB);
        driver.PumpUntilIdle();
        EXPECT_TRUE(driver.IsChecked(kByAddress));
        driver.Press(VK_RETURN);
        driver.PumpUntilIdle();
    });
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDOK);
    EXPECT_EQ(m_connection->GetSettingsValue(L"IdentifyByName"), L"false");
    EXPECT_EQ(m_connection->GetSettingsValue(L"IP-Address"), L"127.0.0.1");

    bool byName = false;
    ShellTest::ModalScript clicks;
    DialogStep(clicks, [&](UiTest::CDialogDriver& driver) {
        driver.Click(kNetworkName);
        driver.PumpUntilIdle();
        byName = driver.IsChecked(kByName) && !driver.IsChecked(kByAddress);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    EXPECT_TRUE(byName);
}

TEST(SettingsDialogEntry, NullConnectionsAreRefusedBeforeAnyWindowAndTheScanExportDoesNothing)
{
    EXPECT_THROW(CCommunicationSettingsDlg(nullptr, nullptr), std::wstring);
    ZELL::CConnectionBase* none = nullptr;
    EXPECT_THROW(CCommunicationSettingsDlg(&none, nullptr), std::wstring);
    // The resource module is back after the refusal.
    const HINSTANCE before = AfxGetResourceHandle();
    EXPECT_THROW(PelorusSettings(&none, L"1033", nullptr, L"", 0), std::wstring);
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_EQ(PelorusDoNetworkScan(1, L"x", 2, 3, 4), 0u);
}

TEST_F(SettingsDialog, EachFormLooksAsItShould)
{
    PelorusTest::UseTexts({{L"CSD_LBL_TITLE", L"Communication settings"}, {L"CSD_TXT_CONNECTION", L"Connection"},
                           {L"CSD_TXT_SETTINGS", L"Settings"}, {L"CSD_BTN_DEFAULT", L"Default"},
                           {L"CSD_BTN_TEST", L"Test"}, {L"CSD_BTN_CANCEL", L"Cancel"},
                           {L"CSD_LBL_IPADDRESS", L"IP address"}, {L"CSD_LBL_HOSTNAME", L"Network name"},
                           {L"CSD_LBL_RESOLVE_HOSTNAMES", L"Resolve network names"},
                           {L"CSD_LBL_TIMEOUT", L"Time-out (s)"}, {L"CSD_LBL_RESTART_TO", L"Restart time-out (s)"},
                           {L"CSD_LBL_COMMPORT", L"Port"}, {L"CSD_LBL_BAUDRATE", L"Baud rate"},
                           {L"CSD_LBL_PARITY", L"Parity"}, {L"CSD_LBL_DATABITS", L"Data bits"},
                           {L"CSD_LBL_STOPBITS", L"Stop bits"}, {L"CSD_BTN_SEARCH_DEVICE", L"..."},
                           {L"SND_BTN_APPLY", L"OK"}});
    // The serial settings as stored, whatever earlier tests left there.
    ZELL::CRS232Connection serial;
    serial.SetStorageProperties(m_storage, ZELL::ISettings::Registry);
    ASSERT_TRUE(serial.SetSettingsXML(L"<RS232 device='COM1' baudrate='19200' parity='Even' databits='8' "
                                      L"stopbits='1' timeout='7000' RestartTimeoutSeconds='20' />"));
    ASSERT_TRUE(serial.SaveSettings(m_storage, ZELL::ISettings::Registry));
    ShellTest::ModalScript script;
    bool serialShown = false;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        PelorusTest::ExpectLooksAsGolden(driver.Dialog(), "SettingsDialogTCPIP");
        ::SetFocus(driver.Control(kConnectionList));
        driver.Press(VK_UP);
        driver.PumpUntilIdle();
        const HWND ports = ShownFormControl(driver.Dialog(), kPortList);
        serialShown = ports != nullptr;
        // The machine's own ports differ from machine to machine: the picture shows none.
        ::SendMessageW(ports, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        PelorusTest::ExpectLooksAsGolden(driver.Dialog(), "SettingsDialogRS232");
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    EXPECT_TRUE(serialShown);
}

// The dialogs' text file lies beside the module in a build tree and in the
// share folder of an installed one; the first folder that has it wins.
TEST(SettingsDialogTexts, TheFileIsFoundBesideAModuleOrInItsInstalledShareFolder)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("PelorusTexts-" + std::to_string(::getpid()));
    const std::wstring name = L"COMMSETTINGSDLG.GUI.XML";
    for (const char* place : {"build/bin", "prefix/share/pelorus"}) {
        fs::create_directories(root / place);
        std::ofstream(root / place / name) << "<gui/>";
    }
    fs::create_directories(root / "prefix/lib");
    const std::wstring build = (root / "build/bin").wstring() + L"/";
    const std::wstring installed = (root / "prefix/lib").wstring() + L"/";
    const std::wstring nowhere = (root / "prefix").wstring() + L"/";
    EXPECT_EQ(FindDataFile({build, installed}, name), build + name);
    EXPECT_EQ(FindDataFile({L"", installed, build}, name), (root / "prefix/share/pelorus" / name).wstring());
    EXPECT_EQ(FindDataFile({nowhere}, name), name);
    fs::remove_all(root);
}
