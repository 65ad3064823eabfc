// The main dialog as it opens, driven in the headless display: its
// controls and their first state, the pages of the catalog, the connection
// it builds from the profile, the pages' registered questions and the
// progress lines of a worker.
#include "Products/Corvane/MainDialog/Tests/MainDialogRig.h"

#include "Common/Communication/TCPIPConnection.h"

#include <gmock/gmock.h>

using namespace MainDialogTest;
using namespace CorvaneIds;
using ::testing::ElementsAre;

namespace {

class CorvaneDlgTest : public MainDialogTestBase {
protected:
    // Opens the dialog, runs `step` inside its modal loop, then closes it.
    void Run(CCorvaneDlg& dialog, const std::function<void(UiTest::CDialogDriver&)>& step)
    {
        ShellTest::ModalScript script;
        script.Then([&](UiTest::CDialogDriver& driver) {
            step(driver);
            ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        });
        dialog.DoModal();
        EXPECT_EQ(script.Left(), 0u);
    }

    LRESULT Send(CCorvaneDlg& dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(dialog.GetSafeHwnd(), message, wParam, lParam);
    }

    const CWorkerMessages& m_messages = CWorkerMessages::Get();
};

TEST_F(CorvaneDlgTest, OpensWithTheCommonPageOnlyAndReadAsTheOneDeviceCommand)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"STATUS", L"COMMON", L"CLOCK"});
    CCorvaneDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_EQ(driver.Text(kStatusLine), L"Ready");
        EXPECT_EQ(driver.Text(kTitleLine1), kAppName);
        EXPECT_EQ(driver.Text(kTitleLine2), L"6.8.2");
        EXPECT_EQ(driver.Text(kReadButton), L"Read");
        // The widened buttons show their text behind a blank.
        EXPECT_EQ(driver.Text(kRestartButton), L" Restart");
        EXPECT_TRUE(driver.IsEnabled(kReadButton));
        EXPECT_TRUE(driver.IsEnabled(kOpenButton));
        EXPECT_FALSE(driver.IsEnabled(kSaveButton));
        EXPECT_FALSE(driver.IsEnabled(kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kResetFileSystemButton));
        EXPECT_FALSE(driver.IsVisible(kBusyIndicator));
        EXPECT_FALSE(driver.IsVisible(kProgressBar));
        EXPECT_EQ(dialog.ActivePageName(), L"COMMON");
    });
    // Every page of the catalog exists, in sheet order, with its title.
    ASSERT_EQ(dialog.PageEntries().size(), 3u);
    EXPECT_EQ(dialog.PageEntries()[0].name, L"COMMON");
    EXPECT_EQ(dialog.PageEntries()[0].title, L"Identification");
    EXPECT_EQ(dialog.PageEntries()[1].name, L"CLOCK");
    EXPECT_EQ(dialog.PageEntries()[1].title, L"CLOCK");
    EXPECT_EQ(dialog.PageEntries()[2].name, L"STATUS");
    EXPECT_EQ(dialog.PageEntries()[2].title, L"State");
}

TEST_F(CorvaneDlgTest, ConnectionOfTheLastTypeWithItsStoredSettings)
{
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"tcpip"));
    {
        ZELL::CTCPIPConnection stored;
        ASSERT_TRUE(stored.SetSettingsXML(L"<TCPIP IP-Address='10.3.4.5' />"));
        ASSERT_TRUE(stored.SaveSettings(m_app->CommunicationRegistryPath().str(), ZELL::ISettings::Registry));
    }
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CCorvaneDlg dialog(kMainDialog, catalog);
    EXPECT_TRUE(dialog.IsTcpIpConnection());
    ASSERT_NE(dialog.Service(), nullptr);
    Run(dialog, [&](UiTest::CDialogDriver& driver) { EXPECT_EQ(driver.Text(kConnectionText), L"10.3.4.5"); });

    dialog.CreateConnectionOfType(L"RS232", L"<?xml version='1.0'?><RS232 device='COM7' />");
    EXPECT_FALSE(dialog.IsTcpIpConnection());
    EXPECT_EQ(dialog.Connection()->GetSettingsValue(L"device"), L"COM7");
    ASSERT_NE(dialog.Service(), nullptr);
}

TEST_F(CorvaneDlgTest, PagesLearnWhetherDataChangedAndWhichPagesAreListed)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON", L"STATUS"});
    CCorvaneDlg dialog(kMainDialog, catalog);
    LRESULT modifiedBefore = -1;
    LRESULT modifiedAfter = -1;
    LRESULT modifiedCleared = -1;
    LRESULT statusListed = -1;
    LRESULT networkParamListed = -1;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        modifiedBefore = Send(dialog, m_messages.IsModified);
        Send(dialog, m_messages.FbcSettingsChanged, 1);
        EXPECT_TRUE(driver.IsEnabled(kWriteButton));
        EXPECT_TRUE(driver.IsEnabled(kSaveButton));
        modifiedAfter = Send(dialog, m_messages.IsModified);
        Send(dialog, m_messages.FbcSettingsChanged, 0);
        modifiedCleared = Send(dialog, m_messages.IsModified);
        dialog.BuildPageList(L"");
        statusListed = Send(dialog, m_messages.IsPageInList, 0, reinterpret_cast<LPARAM>(L"STATUS"));
        networkParamListed = Send(dialog, m_messages.IsPageInList, 0, reinterpret_cast<LPARAM>(L"NETWORKPARAM"));
        EXPECT_EQ(Send(dialog, m_messages.IsPageInList, 0, 0), 0);
        EXPECT_EQ(Send(dialog, m_messages.IsOfflineConfig), 0);
    });
    EXPECT_EQ(modifiedBefore, 0);
    EXPECT_EQ(modifiedAfter, 1);
    EXPECT_EQ(modifiedCleared, 0);
    EXPECT_EQ(statusListed, 1);
    // A data set without network parameters shows the older network pages.
    EXPECT_EQ(networkParamListed, 0);
}

TEST_F(CorvaneDlgTest, ChangedDataInChangeIpModeEnablesWriteButNotSave)
{
    g_startupOptions.ChangeIPMode = true;
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CCorvaneDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_FALSE(driver.IsEnabled(kOpenButton));
        Send(dialog, m_messages.FbcSettingsChanged, 1);
        EXPECT_TRUE(driver.IsEnabled(kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kSaveButton));
        EXPECT_TRUE(dialog.IsModified());
    });
}

TEST_F(CorvaneDlgTest, ProgressLinesShowTheStepAndItsConnectionState)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CCorvaneDlg dialog(kMainDialog, catalog);
    std::vector<UINT> icons;
    std::wstring shown;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        Send(dialog, m_messages.ShowThreadState, 8, 2);
        icons.push_back(dialog.ConnectionState());
        Send(dialog, m_messages.ShowThreadState, 7, 2);
        icons.push_back(dialog.ConnectionState());
        Send(dialog, m_messages.ShowThreadState, 7, static_cast<LPARAM>(0x80000001u));
        shown = driver.Text(kStatusLine);
        Send(dialog, m_messages.ShowThreadState, 7, 0);
        icons.push_back(dialog.ConnectionState());
    });
    EXPECT_THAT(icons, ElementsAre(kStateConnecting, kStateWorking, kStateFailed));
    // The status line drops the indentation of a sub-step; the log keeps it.
    EXPECT_EQ(shown, L"Identify device done");
    EXPECT_EQ(dialog.StatusLog().str(), L"Connect device ...\r\nIdentify device ...\r\n    Identify device done\r\n"
                                        L"Identify device failed");
}

}
