// The main dialog as it opens, driven in the headless display: its
// controls and their first state, the pages of the catalog, the connection
// it builds from the profile, the pages' registered questions and the
// progress lines of a worker.
#include "Products/Corvane/MainDialog/Tests/MainDialogRig.h"

#include "Common/Communication/TCPIPConnection.h"
#include "Common/Skin/ZellMenu.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Products/Corvane/Core/ProgramVersion.h"

#include <gmock/gmock.h>

#include <map>

namespace Corvane {

using namespace MainDialogTest;
using namespace CorvaneIds;
using namespace ZELL::Skin;
using ::testing::ElementsAre;

namespace {

class CorvaneDlgTest : public MainDialogTestBase {
protected:
    // Opens the dialog, runs `step` inside its modal loop, then closes it
    // (answering No to what closing asks).
    void Run(CCorvaneDlg& dialog, const std::function<void(UiTest::CDialogDriver&)>& step)
    {
        ShellTest::ModalScript script;
        script.Then([&](UiTest::CDialogDriver& driver) {
            step(driver);
            ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
            driver.PumpUntilIdle();
            if (::IsWindow(driver.Dialog()))
                ::EndDialog(driver.Dialog(), IDABORT);
        });
        dialog.DoModal();
        EXPECT_EQ(script.Left(), 0u);
    }

    LRESULT Send(CCorvaneDlg& dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(dialog.GetSafeHwnd(), message, wParam, lParam);
    }

    const CWorkerMessages& m_Messages = CWorkerMessages::Get();
};

TEST_F(CorvaneDlgTest, OpensWithTheCommonPageOnlyAndReadAsTheOneDeviceCommand)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"STATUS", L"COMMON", L"CLOCK"});
    CTestDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_EQ(driver.Text(kStatusLine), L"Ready");
        EXPECT_EQ(driver.Text(kTitleLine1), kAppName);
        EXPECT_EQ(driver.Text(kTitleLine2), CProgramVersion::Text());
        EXPECT_EQ(driver.Text(kReadButton), L"Read");
        // The widened buttons show their text behind a blank.
        EXPECT_EQ(driver.Text(kRestartButton), L" Restart");
        EXPECT_TRUE(driver.IsEnabled(kReadButton));
        EXPECT_TRUE(driver.IsEnabled(kOpenButton));
        EXPECT_FALSE(driver.IsEnabled(kSaveButton));
        EXPECT_FALSE(driver.IsEnabled(kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kResetFileSystemButton));
        // Without a device read, nothing can be done to a device.
        EXPECT_FALSE(driver.IsEnabled(kRestartButton));
        EXPECT_FALSE(driver.IsEnabled(kFactoryDefaultsButton));
        EXPECT_TRUE(driver.IsEnabled(kSettingsButton));
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

// A message longer than the status line is cut where the user sees that it
// goes on, on one line.
TEST_F(CorvaneDlgTest, AStatusLongerThanItsLineEndsInAnEllipsis)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        const CString message(std::wstring(40, L'w') + L": no answer at 127.0.0.1, port 6627");
        dialog.ShowStatus(message);
        const auto* line = dynamic_cast<CZellStatic*>(CWnd::FromHandlePermanent(driver.Control(kStatusLine)));
        ASSERT_NE(line, nullptr);
        const UINT format = line->TextFormat(message);
        EXPECT_NE(format & DT_END_ELLIPSIS, 0u);
        EXPECT_NE(format & DT_SINGLELINE, 0u);
        EXPECT_EQ(driver.Text(kStatusLine), message.str()) << "the whole text stays the line's";
    });
}

TEST_F(CorvaneDlgTest, ConnectionOfTheLastTypeWithItsStoredSettings)
{
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"tcpip"));
    {
        ZELL::CTCPIPConnection stored;
        ASSERT_TRUE(stored.SetSettingsXML(L"<TCPIP IP-Address='10.3.4.5' />"));
        ASSERT_TRUE(stored.SaveSettings(m_pApp->CommunicationRegistryPath().str(), ZELL::ISettings::Registry));
    }
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    EXPECT_TRUE(dialog.IsTcpIpConnection());
    ASSERT_NE(dialog.Service(), nullptr);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_EQ(driver.Text(kConnectionText), L"10.3.4.5");
        // The pages work on the dialog's connection, service and data set.
        CSettingsPage* page = dialog.Page(L"COMMON");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GetConnection(), dialog.Connection());
        EXPECT_EQ(static_cast<void*>(page->GetService()), static_cast<void*>(dialog.Service()));
        EXPECT_EQ(page->GetDeviceData(), &dialog.Data());

        dialog.CreateConnectionOfType(L"RS232", L"<?xml version='1.0'?><RS232 device='COM7' />");
        EXPECT_FALSE(dialog.IsTcpIpConnection());
        EXPECT_EQ(dialog.Connection()->GetSettingsValue(L"device"), L"COM7");
        ASSERT_NE(dialog.Service(), nullptr);
        // The pages get the serial service too.
        EXPECT_EQ(page->GetConnection(), dialog.Connection());
        EXPECT_EQ(static_cast<void*>(page->GetService()), static_cast<void*>(dialog.Service()));
        EXPECT_FALSE(dialog.Service()->SendsRestartWithoutWaiting());
    });
}

TEST_F(CorvaneDlgTest, PagesLearnWhetherDataChangedAndWhichPagesAreListed)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON", L"STATUS"});
    CTestDlg dialog(kMainDialog, catalog);
    LRESULT modifiedBefore = -1;
    LRESULT modifiedAfter = -1;
    LRESULT modifiedCleared = -1;
    LRESULT statusListed = -1;
    LRESULT networkParamListed = -1;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        modifiedBefore = Send(dialog, m_Messages.IsModified);
        Send(dialog, m_Messages.FbcSettingsChanged, 1);
        EXPECT_TRUE(driver.IsEnabled(kWriteButton));
        EXPECT_TRUE(driver.IsEnabled(kSaveButton));
        modifiedAfter = Send(dialog, m_Messages.IsModified);
        Send(dialog, m_Messages.FbcSettingsChanged, 0);
        modifiedCleared = Send(dialog, m_Messages.IsModified);
        dialog.BuildPageList(L"");
        statusListed = Send(dialog, m_Messages.IsPageInList, 0, reinterpret_cast<LPARAM>(L"STATUS"));
        networkParamListed = Send(dialog, m_Messages.IsPageInList, 0, reinterpret_cast<LPARAM>(L"NETWORKPARAM"));
        EXPECT_EQ(Send(dialog, m_Messages.IsPageInList, 0, 0), 0);
        EXPECT_EQ(Send(dialog, m_Messages.IsOfflineConfig), 0);
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
    g_StartupOptions.ChangeIPMode = true;
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_FALSE(driver.IsEnabled(kOpenButton));
        Send(dialog, m_Messages.FbcSettingsChanged, 1);
        EXPECT_TRUE(driver.IsEnabled(kWriteButton));
        EXPECT_FALSE(driver.IsEnabled(kSaveButton));
        EXPECT_TRUE(dialog.IsModified());
    });
}

TEST_F(CorvaneDlgTest, ProgressLinesShowTheStepAndItsConnectionState)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    std::vector<UINT> icons;
    std::wstring shown;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        Send(dialog, m_Messages.ShowThreadState, 8, 2);
        icons.push_back(dialog.ConnectionState());
        Send(dialog, m_Messages.ShowThreadState, 7, 2);
        icons.push_back(dialog.ConnectionState());
        Send(dialog, m_Messages.ShowThreadState, 7, static_cast<LPARAM>(0x80000001u));
        shown = driver.Text(kStatusLine);
        Send(dialog, m_Messages.ShowThreadState, 7, 0);
        icons.push_back(dialog.ConnectionState());
    });
    EXPECT_THAT(icons, ElementsAre(kStateConnecting, kStateWorking, kStateFailed));
    // The status line drops the indentation of a sub-step; the log keeps it.
    EXPECT_EQ(shown, L"Identify device done");
    EXPECT_EQ(dialog.StatusLog().str(), L"Connect device ...\r\nIdentify device ...\r\n    Identify device done\r\n"
                                        L"Identify device failed");
}

}

namespace {

TEST_F(CorvaneDlgTest, ClosingWithUnwrittenEditsAsksAndCancelKeepsTheDialog)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    dialog.m_arrAnswers = {IDCANCEL};
    bool openAfterCancel = false;
    bool openAfterNo = true;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        Send(dialog, m_Messages.FbcSettingsChanged, 1);
        ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        openAfterCancel = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
        ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        driver.PumpUntilIdle();
        openAfterNo = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
    });
    EXPECT_TRUE(openAfterCancel);
    EXPECT_FALSE(openAfterNo);
    // Nothing was saved to a file, so only the device question is asked.
    ASSERT_GE(dialog.m_arrQuestions.size(), 2u);
    EXPECT_EQ(dialog.m_arrQuestions[0], L"##CLOSEMSG_CHANGED_SETTINGS_NOT_WRITTEN_TO_DEVICE");
    EXPECT_EQ(dialog.m_arrQuestions[1], dialog.m_arrQuestions[0]);
}

// The window manager may ask again while the question is open: that request
// is answered by the open question. No keeps the dialog and the command; Yes
// ends the dialog with the result that makes the program's exit code 1.
TEST_F(CorvaneDlgTest, ClosingDuringACommandAsksOnceAndYesQuits)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    dialog.m_arrAnswers = {IDNO, IDYES};
    bool openAfterNo = false;
    ShellTest::ModalScript script;
    script.Then([&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(GetWorkerBusyFlag().TryAcquire());
        dialog.m_fnWhileAsking = [&] { ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0); };
        ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        openAfterNo = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
        ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        // The modal loop ends once this returns; a Yes never asked ends it too.
        if (dialog.m_arrQuestions.size() < 2)
            ::EndDialog(driver.Dialog(), IDABORT);
    });
    const INT_PTR result = dialog.DoModal();
    GetWorkerBusyFlag().Release();
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(result, CCorvaneDlg::kQuitDuringCommand);
    const std::wstring question = L"##MSG_ACTIVE_THREAD\n\n##MSG_QUIT_NOT_RECOMMENDED";
    EXPECT_THAT(dialog.m_arrQuestions, ElementsAre(question, question));
}

TEST_F(CorvaneDlgTest, OfflineEditsAskForTheFileFirstAndCancelAsksNothingMore)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    dialog.m_arrAnswers = {IDCANCEL};
    bool openAfterCancel = false;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        dialog.SetConnectionState(kStateOffline);
        Send(dialog, m_Messages.FbcSettingsChanged, 1);
        EXPECT_EQ(Send(dialog, m_Messages.IsOfflineConfig), 1);
        ::SendMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        openAfterCancel = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
        dialog.m_arrAnswers = {IDNO};
    });
    EXPECT_TRUE(openAfterCancel);
    ASSERT_GE(dialog.m_arrQuestions.size(), 1u);
    EXPECT_EQ(dialog.m_arrQuestions[0], L"##CLOSEMSG_CHANGED_SETTINGS_NOT_SAVED_TO_FILE");
    // Offline there is no device to write to: the closing No asks no more.
    EXPECT_EQ(dialog.m_arrQuestions.size(), 2u);
}

TEST_F(CorvaneDlgTest, EnterAndEscapeNeverCloseTheDialog)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    bool open = false;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        ::SetFocus(driver.Control(kStatusLine));
        PressInDialog(driver, VK_ESCAPE);
        PressInDialog(driver, VK_RETURN);
        open = ::IsWindow(driver.Dialog()) && ::IsWindowVisible(driver.Dialog());
    });
    EXPECT_TRUE(open);
}

TEST_F(CorvaneDlgTest, StateOutsideTheTableEndsTheBusyDisplayButNotTheWorker)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    bool busyShown = false;
    bool busyAfter = true;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(GetWorkerBusyFlag().TryAcquire());
        dialog.StartBusy();
        busyShown = driver.IsVisible(kBusyIndicator);
        Send(dialog, m_Messages.ShowThreadState, 7, 5);
        busyAfter = driver.IsVisible(kBusyIndicator);
        EXPECT_EQ(dialog.ConnectionState(), kStateIdle);
        EXPECT_EQ(dialog.ActivePageName(), L"COMMON");
    });
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(busyAfter);
    // Only the worker ends itself, just before its end message.
    EXPECT_TRUE(GetWorkerBusyFlag().IsSet());
}

TEST_F(CorvaneDlgTest, StatusMenuDeleteEmptiesTheLogAndOffersNoMenuAfterwards)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    std::wstring logAfterDelete = L"(unchanged)";
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        dialog.ShowStatus(L"  Something happened");
        EXPECT_EQ(driver.Text(kStatusLine), L"Something happened");
        dialog.OnStatusMenuCommand(kStatusCopy);
        dialog.OnStatusMenuCommand(kStatusDelete);
        logAfterDelete = dialog.StatusLog().str();
        EXPECT_EQ(driver.Text(kStatusLine), L"Ready");
    });
    EXPECT_EQ(logAfterDelete, L"");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(data))), L"  Something happened");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(CorvaneDlgTest, AShortcutPressedOnAPageRunsItsCommandOnce)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        HWND field = nullptr;
        ::EnumChildWindows(driver.Dialog(), [](HWND child, LPARAM found) {
            if (::GetDlgCtrlID(child) != 3001)
                return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&field));
        ASSERT_NE(field, nullptr) << "the key must start on a page's field";
        ::SetFocus(field);
        ASSERT_EQ(::GetFocus(), field);
        // The pages hand their keys to the thread's main window, as in the program.
        AfxGetThread()->m_pMainWnd = &dialog;
        dialog.m_arrCommands.clear();
        PressInDialog(driver, 'G', UiTest::kControl | UiTest::kAlt);
        AfxGetThread()->m_pMainWnd = nullptr;
    });
    EXPECT_EQ(std::count(dialog.m_arrCommands.begin(), dialog.m_arrCommands.end(), kMenuLanguageDe), 1) << testing::PrintToString(dialog.m_arrCommands);
}

TEST_F(CorvaneDlgTest, LanguageShortcutsNeedControlAndAltWithoutShift)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON", L"STATUS"});
    CTestDlg dialog(kMainDialog, catalog);
    std::vector<std::wstring> languages;
    std::vector<std::wstring> readTexts;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        PressInDialog(driver, 'E', UiTest::kControl | UiTest::kAlt | UiTest::kShift);
        languages.push_back(dialog.Language().str());
        PressInDialog(driver, 'G', UiTest::kControl | UiTest::kAlt);
        languages.push_back(dialog.Language().str());
        readTexts.push_back(driver.Text(kReadButton));
        PressInDialog(driver, 'E', UiTest::kControl);
        languages.push_back(dialog.Language().str());
        PressInDialog(driver, 'I', UiTest::kControl | UiTest::kAlt);
        languages.push_back(dialog.Language().str());
        readTexts.push_back(driver.Text(kReadButton));
    });
    // The dialog starts in the profile's language, German by default.
    EXPECT_THAT(languages, ElementsAre(L"de", L"de", L"de", L"en"));
    EXPECT_THAT(readTexts, ElementsAre(L"Lesen", L"Read"));
    EXPECT_EQ(Profile().GetString(L"Common", L"Language"), L"en");
}

}

namespace {

UINT MenuState(CMenu* menu, UINT id) { return ::GetMenuState(menu->GetSafeHmenu(), id, MF_BYCOMMAND); }

// Whether each command item of the menu and its pop-ups shows an image.
void CollectItemImages(const CZellMenu* menu, std::map<UINT_PTR, bool>& images)
{
    for (int i = 0; menu != nullptr && i < menu->ItemCount(); ++i) {
        const CZellMenuData* data = menu->ItemData(i);
        if (data == nullptr || data->IsSeparator())
            continue;
        if (data->IsPopup())
            CollectItemImages(menu->SubMenu(i), images);
        else
            images[data->command] = data->HasOwnImage();
    }
}

TEST_F(CorvaneDlgTest, SettingsMenuShowsItsImagesBesideTheConnectionAndMessagesItems)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    std::map<UINT_PTR, bool> images;
    Run(dialog, [&](UiTest::CDialogDriver&) { CollectItemImages(dynamic_cast<CZellMenu*>(dialog.SettingsMenu()), images); });
    ASSERT_FALSE(images.empty());
    EXPECT_TRUE(images[kMenuCommunication]);
    EXPECT_TRUE(images[kMenuMessages]);
    EXPECT_FALSE(images[kMenuLanguageEn]) << "the languages have none";
}

TEST_F(CorvaneDlgTest, SettingsMenuOffersTheSupportedLanguagesAndChecksTheCurrentOne)
{
    ASSERT_TRUE(Profile().WriteString(L"Common", L"Language", L"en"));
    ASSERT_TRUE(Profile().WriteInt(L"Messages", L"ResetFileSystem", 0x4000006));
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    std::vector<UINT> states;
    UINT messagesAfterReset = 0;
    Run(dialog, [&](UiTest::CDialogDriver&) {
        CMenu* menu = dialog.SettingsMenu();
        ASSERT_NE(menu, nullptr);
        for (const UINT id : {kMenuLanguageDe, kMenuLanguageEn, kMenuLanguageFr, kMenuLanguageEs, kMenuLanguageJa,
                              kMenuMessages})
            states.push_back(MenuState(menu, id));
        ::SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, kMenuMessages, 0);
        messagesAfterReset = MenuState(menu, kMenuMessages);
    });
    // "de;en" is the default list of supported languages.
    ASSERT_EQ(states.size(), 6u);
    EXPECT_EQ(states[0] & MF_CHECKED, 0u);
    EXPECT_NE(states[1] & MF_CHECKED, 0u);
    EXPECT_EQ(states[2], static_cast<UINT>(-1));
    EXPECT_EQ(states[3], static_cast<UINT>(-1));
    EXPECT_EQ(states[4], static_cast<UINT>(-1));
    // A silenced question makes "show all messages" available, once.
    EXPECT_EQ(states[5] & MF_GRAYED, 0u);
    EXPECT_NE(messagesAfterReset & MF_GRAYED, 0u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"ResetFileSystem", -1), 0u);
}

TEST_F(CorvaneDlgTest, ConnectionStateIconsAreLoaded)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    std::vector<bool> loaded;
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        for (const UINT icon : {kStateWorking, kStateConnecting, kStateFailed, kStateIdle, kStateOffline}) {
            dialog.SetConnectionState(icon);
            loaded.push_back(::SendMessageW(driver.Control(kConnectionIcon), STM_GETICON, 0, 0) != 0);
        }
    });
    EXPECT_THAT(loaded, ElementsAre(true, true, true, true, true));
}

}

namespace {

TEST_F(CorvaneDlgTest, PageListOfADeviceWithoutCapabilitiesAndTheBasePagesAlone)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON", L"TCPIP", L"NETWORK", L"CLOCK", L"STATUS"});
    CTestDlg dialog(kMainDialog, catalog);
    std::vector<std::wstring> basic;
    std::vector<std::wstring> extended;
    const auto inSheet = [&] {
        std::vector<std::wstring> names;
        for (const auto& entry : dialog.PageEntries()) {
            if (entry.page->IsInSheet())
                names.push_back(entry.name);
        }
        return names;
    };
    Run(dialog, [&](UiTest::CDialogDriver&) {
        // No capability file: the defaults of a device with an address and a clock.
        dialog.BuildPageList(L"0612-0001");
        EXPECT_THAT(dialog.PageList(), ElementsAre(L"COMMON", L"TCPIP", L"NETWORK", L"CLOCK", L"STATUS"));
        dialog.ApplyPageList();
        basic = inSheet();
        dialog.SetExtendedPages(true);
        dialog.ApplyPageList();
        extended = inSheet();
        dialog.ResetToFirstPage();
        EXPECT_THAT(inSheet(), ElementsAre(L"COMMON"));
        EXPECT_EQ(dialog.ActivePageName(), L"COMMON");
    });
    EXPECT_THAT(basic, ElementsAre(L"COMMON", L"TCPIP", L"STATUS"));
    EXPECT_THAT(extended, ElementsAre(L"COMMON", L"TCPIP", L"NETWORK", L"CLOCK", L"STATUS"));
}

}

// The about item sits in the window menu, whose caption icon a window
// manager keeps for its own menu: the header icon opens it, and so does
// Alt+Space where nothing else takes it. Up goes to the last item, About.
TEST_F(CorvaneDlgTest, HeaderIconAndAltSpaceOpenTheWindowMenuWhoseAboutItemOpensTheAboutBox)
{
    const CCorvanePageCatalog catalog = TestCatalog({L"COMMON"});
    CTestDlg dialog(kMainDialog, catalog);
    const std::vector<std::function<void(UiTest::CDialogDriver&)>> openers = {
        [](UiTest::CDialogDriver& driver) { ASSERT_TRUE(driver.Click(kHeaderIcon)); },
        [](UiTest::CDialogDriver& driver) { driver.Press(VK_SPACE, UiTest::kAlt); },
    };
    // The about box runs its own modal loop: a timer there closes it.
    static std::vector<std::wstring> s_aboutBoxes;
    static HWND s_main = nullptr;
    s_aboutBoxes.clear();
    const TIMERPROC closeAboutBox = [](HWND, UINT, UINT_PTR, DWORD) {
        HWND active = ::GetActiveWindow();
        if (active == nullptr || active == s_main)
            return;
        s_aboutBoxes.push_back(UiTest::TextOf(active));
        ::EndDialog(active, IDOK);
    };
    Run(dialog, [&](UiTest::CDialogDriver& driver) {
        s_main = driver.Dialog();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, closeAboutBox);
        for (const auto& open : openers) {
            open(driver);
            driver.Press(VK_UP);
            driver.Press(VK_RETURN);
            EXPECT_TRUE(driver.PumpUntilIdle());
        }
        ::KillTimer(nullptr, timer);
    });
    ASSERT_EQ(s_aboutBoxes.size(), 2u);
    EXPECT_EQ(s_aboutBoxes[0].rfind(L"About ", 0), 0u) << s_aboutBoxes[0];
}

}  // namespace Corvane
