// The connection-settings dialog on the serial line, against the simulated
// device on a pseudo-terminal that the port list offers as a COM port:
// editing the line's time-out, refusing a bad one, testing and applying, and
// cancelling after a test that already stored the edited values.
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"
#include "Common/PelorusDLL/Dialogs/Tests/SettingsDialogScript.h"

#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace PelorusIds;
using namespace PelorusTest;

namespace {

class SerialSettingsDialog : public SettingsDialogScript {
protected:
    void SetUp() override
    {
        // The connection check reads the node's configuration table.
        m_device.Model().Update([](DevSim::tDeviceData& d) { d.registers[{0, 9}].words = {0x8212, 0}; });
        ASSERT_TRUE(m_device.Start()) << m_device.LastError();
        // The port list and the connection both find the line under this name.
        ::setenv("ZELL_SERIAL_PORTS", ("COM42=" + m_device.SlavePath()).c_str(), 1);
        CHostProfile().WriteString(L"Communication", L"LastConnection", L"RS232");
        StoreAndUse<ZELL::CRS232Connection>(L"<RS232 device='COM42' timeout='3000' RestartTimeoutSeconds='10' />");
    }
    void TearDown() override
    {
        ::unsetenv("ZELL_SERIAL_PORTS");
        m_device.Stop();
    }

    // Types the text into the shown form's edit, which checks it at once.
    static void Enter(UiTest::CDialogDriver& driver, int id, const wchar_t* text)
    {
        ::SetWindowTextW(ShownFormControl(driver.Dialog(), id), text);
        driver.PumpUntilIdle();
    }
    static std::wstring ShownPort(HWND dialog)
    {
        const HWND ports = ShownFormControl(dialog, kPortList);
        const LRESULT index = ::SendMessageW(ports, CB_GETCURSEL, 0, 0);
        wchar_t text[128] = {};
        if (index >= 0)
            ::SendMessageW(ports, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::wstring StoredSerialValue(const wchar_t* name) const
    {
        ZELL::CRS232Connection serial;
        serial.LoadSettings(m_storage, ZELL::ISettings::Registry);
        return serial.GetSettingsValue(name);
    }

    DevSim::CSerialSimulator m_device;
    const std::wstring m_found = L"Found 0612-0001 (Simulated coupler), firmware 01.02.03, hardware 01";
};

}

TEST_F(SerialSettingsDialog, ABadTimeoutIsRefusedAndTheEditedLineIdentifiesTheDeviceAndIsStored)
{
    ShellTest::ModalScript script;
    std::wstring port, shownTimeout;
    bool stillOpen = false;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        port = ShownPort(driver.Dialog());
        shownTimeout = TextOf(ShownFormControl(driver.Dialog(), kTimeoutEdit));
        Enter(driver, kTimeoutEdit, L"0");
        driver.Click(IDOK);
        driver.PumpUntilIdle();
        stillOpen = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
        Enter(driver, kTimeoutEdit, L"2");
        PressTest(driver);
        driver.PumpUntilIdle();
        driver.Click(IDOK);
    });
    for (int box = 0; box < 3; ++box)
        AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDOK);
    EXPECT_EQ(port.rfind(L"COM42", 0), 0u) << port;
    EXPECT_EQ(shownTimeout, L"3");
    EXPECT_TRUE(stillOpen);
    // On change and again on OK; then the test's answer from the line.
    EXPECT_EQ(m_boxes, (std::vector<std::wstring>{L"At least one second", L"At least one second", m_found}));
    EXPECT_FALSE(m_device.Telegrams().empty());
    ASSERT_NE(dynamic_cast<ZELL::CRS232Connection*>(m_connection), nullptr);
    EXPECT_EQ(m_connection->GetSettingsValue(L"timeout"), L"2000");
    EXPECT_EQ(StoredSerialValue(L"timeout"), L"2000");
    EXPECT_EQ(StoredSerialValue(L"device"), L"COM42");
    EXPECT_EQ(CHostProfile().GetString(L"Communication", L"LastConnection", L""), L"RS232");
}

TEST_F(SerialSettingsDialog, CancelAfterATestGivesBackTheStoredSettings)
{
    const std::wstring before = Stored();
    ShellTest::ModalScript script;
    std::wstring storedDuringTheDialog;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        driver.PumpUntilIdle();
        Enter(driver, kTimeoutEdit, L"9");
        Enter(driver, kRestartEdit, L"33");
        PressTest(driver);
        driver.PumpUntilIdle();
        storedDuringTheDialog = StoredSerialValue(L"timeout");
        driver.Click(IDCANCEL);
    });
    AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    EXPECT_EQ(m_boxes, std::vector<std::wstring>{m_found});
    EXPECT_EQ(storedDuringTheDialog, L"9000"); // the test ran with the edited line
    EXPECT_EQ(Stored(), before);
    ASSERT_NE(dynamic_cast<ZELL::CRS232Connection*>(m_connection), nullptr);
    EXPECT_EQ(m_connection->GetSettingsValue(L"timeout"), L"3000");
    EXPECT_EQ(m_connection->GetSettingsValue(L"RestartTimeoutSeconds"), L"10");
}

TEST_F(SerialSettingsDialog, ASilentLineIsAFailedTestWithItsCode)
{
    // Silent, not stopped: a closed pseudo-terminal's number is handed to the
    // next one opened, maybe another test's device.
    m_device.Faults().Add({.kind = DevSim::ENFault::NoAnswer, .times = -1});
    ShellTest::ModalScript script;
    DialogStep(script, [&](UiTest::CDialogDriver& driver) {
        Enter(driver, kTimeoutEdit, L"1");
        PressTest(driver);
        driver.PumpUntilIdle();
        driver.Click(IDCANCEL);
    });
    AnswerBox(script);
    EXPECT_EQ(PelorusSettings(&m_connection, L"1033", nullptr, L"", 0), IDCANCEL);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].rfind(L"The test failed.\n\nError 0x", 0), 0u) << m_boxes[0];
    EXPECT_EQ(m_boxes[0].find(L"0x00000000"), std::wstring::npos);
}
