#pragma once
// What the connection-settings dialog tests share: the stored settings of
// both kinds of connection, the dialog's steps in a modal script and the
// message boxes it shows.
#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace PelorusTest {

// The shown form's control: both forms carry controls of the same ids.
inline HWND ShownFormControl(HWND dialog, int id)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && ::GetDlgItem(child, id))
            return ::GetDlgItem(child, id);
    return nullptr;
}

// The connection test as a caller offers it: its button is hidden until shown.
inline bool PressTest(UiTest::CDialogDriver& driver)
{
    ::ShowWindow(driver.Control(PelorusIds::kTest), SW_SHOW);
    return driver.Click(PelorusIds::kTest);
}

using UiTest::TextOf;

class SettingsDialogScript : public ::testing::Test {
protected:
    SettingsDialogScript()
    {
        GetLanguageSupport().SetText(L"CSD_MSG_CONNECTION_TEST_SUCCESS_FMT", L"Found %s (%s), firmware %s, hardware %s");
        GetLanguageSupport().SetText(L"CSD_MSG_CONNECTION_TEST_FAILED", L"The test failed.");
        GetLanguageSupport().SetText(L"CSD_TXT_ERRORCODE_FMT", L"Error 0x%08X");
        GetLanguageSupport().SetText(L"CSD_MSG_RETRY", L"Again?");
        GetLanguageSupport().SetText(L"CSD_MSG_INVALID_TIMOUT_MIN", L"At least one second");
    }
    ~SettingsDialogScript() override { delete m_connection; }

    // Both kinds of stored settings, as one text.
    std::wstring Stored() const
    {
        ZELL::CTCPIPConnection tcpip;
        tcpip.LoadSettings(m_storage, ZELL::ISettings::Registry);
        ZELL::CRS232Connection serial;
        serial.LoadSettings(m_storage, ZELL::ISettings::Registry);
        return tcpip.GetSettingsXML() + L"|" + serial.GetSettingsXML();
    }
    // Stores the settings text and makes the connection the dialog starts with.
    template <typename Connection>
    void StoreAndUse(const std::wstring& xml)
    {
        auto connection = std::make_unique<Connection>();
        connection->SetStorageProperties(m_storage, ZELL::ISettings::Registry);
        ASSERT_TRUE(connection->SetSettingsXML(xml));
        ASSERT_TRUE(connection->SaveSettings(m_storage, ZELL::ISettings::Registry));
        delete m_connection;
        m_connection = connection.release();
    }
    // The dialog and its two forms (dialogs too) each take a step; the step
    // runs in whichever of them is the top-level window.
    static void DialogStep(ShellTest::ModalScript& script, ShellTest::ModalScript::Step step)
    {
        auto shared = std::make_shared<ShellTest::ModalScript::Step>(std::move(step));
        for (int i = 0; i < 3; ++i)
            script.Then([shared](UiTest::CDialogDriver& driver) {
                if ((::GetWindowLongW(driver.Dialog(), GWL_STYLE) & WS_CHILD) == 0)
                    (*shared)(driver);
            });
    }
    void AnswerBox(ShellTest::ModalScript& script)
    {
        script.Then([this](UiTest::CDialogDriver& box) {
            m_boxes.push_back(ShellTest::ModalScript::BoxText(box.Dialog()));
            box.Click(IDOK);
        });
    }

    const std::wstring m_storage = L"HKEY_CURRENT_USER\\Software\\Zell Software\\PelorusDialogsTests\\Communication";
    ZELL::CConnectionBase* m_connection = nullptr;
    std::vector<std::wstring> m_boxes;
};

}
