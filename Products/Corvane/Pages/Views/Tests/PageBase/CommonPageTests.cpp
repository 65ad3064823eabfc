// The identification page: its rows from the identification texts, the
// states a read shows in the grid, the context menu and the text file.
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Common/Skin/ZellMenu.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Framework/Exceptions/Exception.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace Corvane {

using namespace PageBaseTest;
using namespace ZELL::Skin;
using namespace ZELL::Grid;

namespace {

class CTestCommonPage : public CCommonPage {
public:
    UINT m_nChoice = 0;
    int m_nMenusShown = 0;
    std::vector<std::pair<std::wstring, UINT>> m_arrItems;
    CString m_strSavePath;
    std::vector<CString> m_arrMessages;

protected:
    UINT TrackContextMenu(CZellMenu& menu, CPoint) override
    {
        ++m_nMenusShown;
        m_arrItems.clear();
        for (int i = 0; i < menu.ItemCount(); ++i)
            m_arrItems.emplace_back(menu.GetMenuText(static_cast<UINT>(i), MF_BYPOSITION),
                                 menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION));
        return m_nChoice;
    }
    CString AskSaveFileName() override { return m_strSavePath; }
    void ShowMessage(const CString& text) override { m_arrMessages.push_back(text); }
};

using TestSupport::ReadFile;

class CommonPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        m_App.m_pMainWnd = CWnd::FromHandlePermanent(m_Main.Handle());
        m_App.SetRegistryKey(L"Zell Software");
        const std::pair<LPCWSTR, LPCWSTR> texts[] = {
            {L"TXT_ITEM_NUMBER", L"Item number"}, {L"TXT_DESCRIPTION", L"Description"},
            {L"TXT_FW_VERSION", L"Firmware"},      {L"TXT_HW_VERSION", L"Hardware"},
            {L"TXT_FWL_VERSION", L"Loader"},       {L"TXT_SERIAL_NUMBER", L"Serial number"},
            {L"TXT_IMEI", L"IMEI"},                {L"TXT_MAC_ADDRESS", L"MAC address"},
            {L"TXT_IP_ADDRESS", L"IP address"},    {L"TXT_MAC_ADDRESS_X1", L"MAC address X1"},
            {L"TXT_MAC_ADDRESS_X2", L"MAC address X2"}, {L"TXT_IP_ADDRESS_X1", L"IP address X1"},
            {L"TXT_IP_ADDRESS_X2", L"IP address X2"}, {L"TXT_RUNTIME_SYSTEM", L"Runtime system"},
            {L"RUNTIMESYSTEM_02", L"Second runtime"}, {L"STATE_GRID_READ", L"Reading the device ..."},
            {L"CMD_REFRESH", L"Refresh"}, {L"CMD_COPY", L"Copy"}, {L"CMD_PASTE", L"Paste"},
            {L"CMD_DELETE", L"Delete"}, {L"CMD_SAVE", L"Save"}, {L"TXT_UNABLE_SAVE_FILE", L"Cannot save."}};
        for (const auto& [key, text] : texts)
            GetLanguageSupport().SetText(key, text);
        m_data.ArticleNo = L"0612-0003";
        m_data.Description = L"Fieldbus coupler";
        m_data.SWVersion = L"01.02.03 (04)";
        m_data.HWVersion = L"05";
        m_data.FWLVersion = L"01.00.00";
        m_data.SerialNo = L"SN12345";
        m_data.IMEI = L"--";
        m_Page.TakeIdentification(m_data);
        m_Page.m_strMACAddress = L"02:5A:E1:01:02:03";
        m_Page.SetIPAddressTexts(L"192.168.1.17", L"");
        m_Page.SetInSheet(true);
        m_Host.m_arrPages = {&m_Page};
    }
    void TearDown() override
    {
        if (m_Host.GetSafeHwnd())
            m_Host.DestroyWindow();
        UiTest::Drain();
        m_App.m_pMainWnd = nullptr;
        CCouplerSettingsPageBase::SetPagesSuspended(true);
    }
    void Show()
    {
        m_arrImage = ControlTest::DialogImage(L"Host", 350, 230, {ControlTest::Static(L"", 0, 5, 5, 340, 215, kPlaceholder)},
                                           WS_POPUP | WS_VISIBLE);
        ASSERT_TRUE(m_Host.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrImage.data())));
        CCouplerSettingsPageBase::SetPagesSuspended(false);
        m_Page.LoadFromDeviceData();
        UiTest::CDialogDriver(m_Host.GetSafeHwnd()).PumpUntilIdle();
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const CCommonPage::tRow& row : m_Page.Rows())
            names.emplace_back(row.name.GetString());
        return names;
    }
    CZellGrid& Grid() { return m_Page.Grid(); }

    CCorvaneApp m_App{L"CommonPageTests"};
    CMainWindow m_Main;
    CFBCData m_data;
    CTestCommonPage m_Page;
    CHostDialog m_Host;
    std::vector<BYTE> m_arrImage;
};

}

TEST_F(CommonPageTest, AReadDeviceShowsItsIdentificationRowsAndCopyText)
{
    m_data.ActiveRuntimeSystem = 2;
    m_Page.SetDeviceData(&m_data);
    Show();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Item number ", L"Description ", L"Firmware ", L"Hardware ",
                                                  L"Loader ", L"Serial number ", L"MAC address ", L"IP address ",
                                                  L"Runtime system "}))
        << "no IMEI row for a device that has none";
    EXPECT_EQ(m_Page.Rows()[0].value, L"612-003") << "the article number without its leading zeros";
    EXPECT_EQ(m_Page.Rows()[8].value, L"Second runtime");
    ASSERT_EQ(Grid().GetRowCount(), 9);
    EXPECT_EQ(Grid().GetCellText(1, 1), L"Description ");
    EXPECT_EQ(Grid().GetCellText(1, 2), L"Fieldbus coupler");
    EXPECT_EQ(Grid().GetCellImage(1, 0), CGridPageBase::kImageNormal);
    EXPECT_EQ(m_Page.CopyText().Left(55), L"Item number = 612-003\r\nDescription = Fieldbus coupler\r\n");

    UpdateWindow(m_Host.GetSafeHwnd());
    UiTest::CDialogDriver(m_Host.GetSafeHwnd()).PumpUntilIdle();
    const std::string png =
        (std::filesystem::temp_directory_path() / ("CommonPage-" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(m_Host.GetSafeHwnd()), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, "CommonPageAfterRead", ZELL_PAGE_VIEWS_GOLDEN_DIR));
    std::filesystem::remove(png);
}

TEST_F(CommonPageTest, TheImeiComesFromTheDataSetAndAnEmptyOneStillHasItsRow)
{
    m_data.IMEI = L"";
    m_Page.TakeIdentification(m_data);
    m_Page.LoadFromDeviceData();
    const std::vector<std::wstring> names = Names();
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(names[6], L"IMEI ");
    EXPECT_EQ(m_Page.Rows()[6].value, L"");

    m_data.IMEI = L"356938035643809";
    m_Page.TakeIdentification(m_data);
    m_Page.LoadFromDeviceData();
    EXPECT_EQ(m_Page.Rows()[6].value, L"356938035643809");
}

TEST_F(CommonPageTest, UnreadValuesBecomeRedErrorRowsWithoutTheirMarker)
{
    m_Page.m_strSerialNo = L"ERR: timeout ERR: ";
    Show();
    const CCommonPage::tRow& row = m_Page.Rows()[5];
    EXPECT_EQ(row.value, L"timeout ");
    EXPECT_EQ(row.state, CGridPageBase::kRowError);
    EXPECT_EQ(Grid().GetCellImage(5, 0), CGridPageBase::kImageError);
    EXPECT_EQ(Grid().GetCellTextColour(5, 1), CGridPageBase::kErrorTextColour);
    EXPECT_EQ(Grid().GetCellTextColour(5, 2), CGridPageBase::kErrorTextColour);
    EXPECT_EQ(Grid().GetCellTextColour(4, 2), CLR_DEFAULT);
}

TEST_F(CommonPageTest, AddressRowsFollowThePortsAndVanishForADeviceWithoutIP)
{
    m_Page.m_strMACAddress2 = L"02:5A:E1:01:02:04";
    m_Page.SetIPAddressTexts(L"192.168.1.17", L"192.168.2.17");
    m_Page.LoadFromDeviceData();
    std::vector<std::wstring> names = Names();
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(std::vector<std::wstring>(names.begin() + 6, names.end()),
              (std::vector<std::wstring>{L"MAC address X1 ", L"MAC address X2 ", L"IP address X1 ", L"IP address X2 "}));

    const std::filesystem::path ini =
        std::filesystem::temp_directory_path() / ("common-page-" + std::to_string(getpid()) + ".ini");
    {
        std::ofstream out(ini);
        out << "[0612-0003]\nNOIP=1\n";
    }
    m_App.DeviceIni().SetIniPath(ini.c_str());
    m_Page.LoadFromDeviceData();
    EXPECT_EQ(Names().size(), 6u) << "neither MAC nor IP rows, whatever the texts hold";
    std::filesystem::remove(ini);
}

TEST_F(CommonPageTest, ARuntimeSystemRowNeedsTheDataSetAndACode)
{
    m_Page.LoadFromDeviceData();
    EXPECT_EQ(Names().size(), 8u);
    m_Page.SetDeviceData(&m_data);
    m_data.ActiveRuntimeSystem = CCommonPage::kNoRuntimeSystem;
    m_Page.LoadFromDeviceData();
    EXPECT_EQ(Names().size(), 8u);
}

TEST_F(CommonPageTest, AReadInProgressAndAFailureFillTheWholeGrid)
{
    Show();
    m_Page.BeginWaitState(2, L"");
    ASSERT_EQ(Grid().GetRowCount(), 1);
    EXPECT_EQ(Grid().GetCellText(0, 2), L"Reading the device ...");
    EXPECT_EQ(Grid().GetCellImage(0, 0), CGridPageBase::kImageBusy);
    EXPECT_EQ(Grid().GetCellBackColour(0, 1), ::GetSysColor(COLOR_BTNFACE));

    m_Page.BeginWaitState(1, L"The device does not answer.");
    EXPECT_EQ(Grid().GetCellText(0, 2), L"The device does not answer.");
    EXPECT_EQ(Grid().GetCellTextColour(0, 2), CGridPageBase::kErrorTextColour);
    EXPECT_EQ(Grid().GetCellImage(0, 0), CGridPageBase::kImageError);

    m_Page.BeginWaitState(0, L"");
    EXPECT_EQ(Grid().GetRowCount(), 8) << "done: the rows again";
}

TEST_F(CommonPageTest, TheMenuWaitsForTheFirstReadThenOffersItsCommands)
{
    m_Page.ShowContextMenu(CPoint(10, 10));
    EXPECT_EQ(m_Page.m_nMenusShown, 0) << "nothing to copy yet";
    Show();
    m_Page.ShowContextMenu(CPoint(10, 10));
    ASSERT_EQ(m_Page.m_nMenusShown, 1);
    ASSERT_EQ(m_Page.m_arrItems.size(), 7u);
    EXPECT_EQ(m_Page.m_arrItems[0].first, L"Refresh");
    EXPECT_NE(m_Page.m_arrItems[1].second & MF_SEPARATOR, 0u);
    EXPECT_EQ(m_Page.m_arrItems[2].second & MF_GRAYED, 0u);
    EXPECT_NE(m_Page.m_arrItems[3].second & MF_GRAYED, 0u);
    EXPECT_NE(m_Page.m_arrItems[4].second & MF_GRAYED, 0u);
    EXPECT_EQ(m_Page.m_arrItems[6].first, L"Save");

    m_Main.Answer(m_Main.Ids().ReadSettings, 1);
    m_Page.m_nChoice = CCommonPage::kRefreshCommand;
    m_Page.ShowContextMenu(CPoint(10, 10));
    EXPECT_EQ(m_Main.Count(m_Main.Ids().ReadSettings), 1);
}

TEST_F(CommonPageTest, CopyPutsTheRowsOnTheClipboard)
{
    Show();
    m_Page.RunMenuCommand(CCommonPage::kCopyCommand);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring text(static_cast<const wchar_t*>(::GlobalLock(data)));
    ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(text, m_Page.CopyText().GetString());
}

TEST_F(CommonPageTest, SavingWritesTheRowsAndKeepsTheFolderForNextTime)
{
    Show();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("common-page-save-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    m_Page.m_strSavePath = (folder / "device.txt").c_str();
    m_Page.RunMenuCommand(CCommonPage::kSaveCommand);
    const std::string written = ReadFile(folder / "device.txt");
    EXPECT_EQ(written.substr(0, 23), "Item number = 612-003\r\n");
    EXPECT_EQ(written.size(), static_cast<std::size_t>(m_Page.CopyText().GetLength()));
    EXPECT_EQ(std::wstring(m_App.GetProfileString(L"Folder", L"MyDocuments", L"").GetString()), folder.wstring());
    EXPECT_TRUE(m_Page.m_arrMessages.empty());
    std::filesystem::remove_all(folder);
}

TEST_F(CommonPageTest, AFileThatCannotBeCreatedIsReportedAndNothingElseHappens)
{
    Show();
    static std::vector<std::wstring> reports;
    reports.clear();
    const AfxReportErrorHandler previous = AfxSetReportErrorHandler([](LPCWSTR text, UINT) {
        reports.emplace_back(text);
        return IDOK;
    });
    EXPECT_FALSE(m_Page.SaveToFile(L"/nonexistent-folder/for/sure/device.txt"));
    AfxSetReportErrorHandler(previous);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(CommonPageTest, ARightClickInTheGridOpensTheMenu)
{
    Show();
    RECT cell{};
    ASSERT_TRUE(Grid().GetCellRect(1, 2, &cell));
    const LPARAM point = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    ::SendMessageW(Grid().GetSafeHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, point);
    ::SendMessageW(Grid().GetSafeHwnd(), WM_RBUTTONUP, 0, point);
    EXPECT_EQ(m_Page.m_nMenusShown, 1);
}

TEST_F(CommonPageTest, AWriteThatFailsIsToldAndReportedAsFailed)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no device that is always full";
    Show();
    EXPECT_FALSE(m_Page.SaveToFile(L"/dev/full"));
    EXPECT_EQ(m_Page.m_arrMessages, std::vector<CString>{L"Cannot save."});
}

}  // namespace Corvane
