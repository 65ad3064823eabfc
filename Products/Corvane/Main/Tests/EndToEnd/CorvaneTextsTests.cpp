// Every text a user reads on the main dialog and on each page after a read,
// in both languages of the program's text file. A text looked up under a key
// the file lacks shows as "##" and the key; none may be left, neither in a
// window's text, nor in a list's items, nor in a grid's cells.
#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Controls/TabStyles.h"
#include "Platform/Ui/Tests/WindowText.h"
#include "Platform/Ui/WindowFunctions.h"
#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/Pages/Views/GridPageBase.h"

#include <cwctype>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <tuple>

namespace Corvane {

using namespace EndToEnd;
using namespace ZELL::Grid;

namespace {

// The marker the text store puts before a key it has no text for.
bool ShowsMissingText(const std::wstring& text)
{
    for (std::size_t at = text.find(L"##"); at != std::wstring::npos; at = text.find(L"##", at + 1)) {
        if (at + 2 < text.size() && std::iswupper(text[at + 2]))
            return true;
    }
    return false;
}

using UiTest::TextOf;

bool IsComboBox(HWND window)
{
    wchar_t name[32]{};
    ::GetClassNameW(window, name, 32);
    return std::wstring(name) == L"ComboBox";
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring item(static_cast<std::size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
        const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        items.push_back(item);
    }
    return items;
}

// What the texts of one window tree showed: how many were read, and those
// that stand for a missing text.
struct tTextScan {
    std::size_t read = 0;
    std::vector<std::wstring> missing;

    void Check(const std::wstring& where, const std::wstring& text)
    {
        ++read;
        if (ShowsMissingText(text))
            missing.push_back(where + L": " + text);
    }
};

BOOL ScanWindow(HWND window, LPARAM scan)
{
    auto& result = *reinterpret_cast<tTextScan*>(scan);
    const std::wstring where = L"control " + std::to_wstring(::GetDlgCtrlID(window));
    result.Check(where, TextOf(window));
    if (IsComboBox(window)) {
        for (const std::wstring& item : ComboItems(window))
            result.Check(where + L" item", item);
    }
    return TRUE;
}

std::vector<std::wstring> ColumnHeaders(HWND list)
{
    std::vector<std::wstring> headers;
    for (int column = 0; column < 16; ++column) {
        wchar_t text[128] = {};
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = 128;
        if (!::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)))
            break;
        headers.push_back(text);
    }
    return headers;
}

// A dialog of its own: its caption, its controls (those of its child forms
// too) and a list's column headers.
tTextScan ScanDialog(HWND dialog)
{
    tTextScan scan;
    scan.Check(L"caption", TextOf(dialog));
    ::EnumChildWindows(dialog, ScanWindow, reinterpret_cast<LPARAM>(&scan));
    if (HWND list = ::GetDlgItem(dialog, PelorusIds::kDeviceList))
        for (const std::wstring& header : ColumnHeaders(list))
            scan.Check(L"column", header);
    return scan;
}

void ScanGrid(CSettingsPage* page, tTextScan& scan)
{
    auto* gridPage = dynamic_cast<CGridPageBase*>(page);
    if (gridPage == nullptr || !gridPage->IsGridSetUp())
        return;
    CZellGrid& grid = gridPage->Grid();
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int column = 0; column < grid.GetColumnCount(); ++column)
            scan.Check(L"cell " + std::to_wstring(row) + L"," + std::to_wstring(column),
                       grid.GetCellText(row, column).GetString());
    }
}

// A format shown without its arguments: a conversion left in the text.
bool ShowsConversion(const std::wstring& text)
{
    static const std::wregex conversion(L"%[-+ #0]*[0-9]*(\\.[0-9]+)?(l|ll|h|I64)?[sSdiuxXcfp]");
    return std::regex_search(text, conversion);
}

// Every text of the main dialog with the page in front: its windows' texts
// (but the status line's) and the page's grid.
std::map<std::wstring, std::wstring> TextsWithPage(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver,
                                                   const std::wstring& name)
{
    struct tCollect {
        std::map<std::wstring, std::wstring> texts;
        void Check(const std::wstring& where, const std::wstring& text) { texts[where] += text + L"\n"; }
    } collect;
    // The dialog's own controls (the status line changes with every step)
    // and those of the page.
    for (HWND child = ::GetWindow(driver.Dialog(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) != CorvaneIds::kStatusLine)
            collect.Check(L"dialog control " + std::to_wstring(::GetDlgCtrlID(child)), TextOf(child));
    }
    ::EnumChildWindows(
        dialog.Page(name)->GetSafeHwnd(),
        [](HWND window, LPARAM to) {
            reinterpret_cast<tCollect*>(to)->Check(L"control " + std::to_wstring(::GetDlgCtrlID(window)),
                                                   TextOf(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    if (auto* gridPage = dynamic_cast<CGridPageBase*>(dialog.Page(name)); gridPage != nullptr && gridPage->IsGridSetUp()) {
        CZellGrid& grid = gridPage->Grid();
        for (int row = 0; row < grid.GetRowCount(); ++row)
            for (int column = 0; column < grid.GetColumnCount(); ++column)
                collect.Check(L"cell " + std::to_wstring(row) + L"," + std::to_wstring(column),
                              grid.GetCellText(row, column).GetString());
    }
    return collect.texts;
}

std::vector<std::wstring> TabTexts(CCorvaneDlg& dialog)
{
    std::vector<std::wstring> texts;
    CPropertySheet* sheet = SheetOf(dialog);
    CWnd* tab = sheet != nullptr ? sheet->GetTabControl() : nullptr;
    if (tab == nullptr)
        return texts;
    for (int index = 0; index < sheet->GetPageCount(); ++index) {
        wchar_t text[80]{};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 80;
        ::SendMessageW(tab->GetSafeHwnd(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

// The titles the pages shown have in the language now in force.
std::vector<std::wstring> PageTitles(CCorvaneDlg& dialog)
{
    std::vector<std::wstring> titles;
    for (const std::wstring& name : ShownPages(dialog))
        titles.push_back(GetLanguageText(CString(L"TITLE_" + name)).str());
    return titles;
}

class CorvaneTextsRoads : public EndToEndTestBase {};

// A switch to German and back leaves every text as it was, German shows in
// the tabs and the status line meanwhile, and no road leaves a conversion in
// the status log or in a window.
TEST_F(CorvaneTextsRoads, LanguageSwitchReTextsEveryWindowAndNoRoadLeavesAConversion)
{
    DevSim::CDeviceSimulator device;
    device.Model().Update(FillCoupler);
    ASSERT_TRUE(device.Start()) << device.LastError();
    const CString file((m_Files.Path() / "roads.wes").wstring());
    const tRunResult run = RunOverTcp(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        const std::vector<std::wstring> pages = ShownPages(dialog);
        std::map<std::wstring, std::map<std::wstring, std::wstring>> before;
        for (const std::wstring& name : pages) {
            ASSERT_TRUE(VisitPage(dialog, driver, name));
            if (name != L"CLOCK")
                before[name] = TextsWithPage(dialog, driver, name);
        }
        const std::vector<std::wstring> englishTabs = TabTexts(dialog);

        ::SendMessageW(driver.Dialog(), WM_COMMAND, CorvaneIds::kMenuLanguageDe, 0);
        driver.PumpUntilIdle();
        EXPECT_EQ(TabTexts(dialog), PageTitles(dialog));
        EXPECT_NE(TabTexts(dialog), englishTabs);
        EXPECT_EQ(driver.Text(CorvaneIds::kStatusLine), GetLanguageText(L"STATE_READY").str());
        ::SendMessageW(driver.Dialog(), WM_COMMAND, CorvaneIds::kMenuLanguageEn, 0);
        driver.PumpUntilIdle();
        EXPECT_EQ(TabTexts(dialog), englishTabs);
        for (const std::wstring& name : pages) {
            ASSERT_TRUE(VisitPage(dialog, driver, name));
            if (name != L"CLOCK") {
                EXPECT_EQ(TextsWithPage(dialog, driver, name), before[name])
                    << "the texts with the page " << ::testing::PrintToString(name);
            }
        }

        // Every road: a read, an edit written, a save and an open.
        ASSERT_TRUE(ClickAndWait(driver, CorvaneIds::kReadButton));
        ::SendMessageW(driver.Dialog(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
        ASSERT_TRUE(ClickAndWait(driver, CorvaneIds::kWriteButton));
        ASSERT_TRUE(dialog.SaveSettingsFile(file));
        ASSERT_TRUE(dialog.OpenSettingsFile(file));
        ::SendMessageW(driver.Dialog(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
        ASSERT_TRUE(dialog.SaveFileCommand(false));
        const std::wstring log = dialog.StatusLog().str();
        EXPECT_FALSE(ShowsConversion(log)) << ::testing::PrintToString(log);
        EXPECT_NE(log.find(file.str()), std::wstring::npos) << "the file lines name the file";
        for (const auto& [where, text] : TextsWithPage(dialog, driver, dialog.ActivePageName()))
            EXPECT_FALSE(ShowsConversion(text)) << ::testing::PrintToString(where) << ": " << ::testing::PrintToString(text);
    });
    for (const std::wstring& text : run.boxTexts)
        EXPECT_FALSE(ShowsConversion(text)) << ::testing::PrintToString(text);
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    device.Stop();
}
// The form of the settings dialog that shows, and its driver.
UiTest::CDialogDriver ShownForm(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && ::GetDlgItem(child, PelorusIds::kTimeoutEdit) != nullptr)
            return UiTest::CDialogDriver(child);
    return UiTest::CDialogDriver(nullptr);
}

void ChooseConnection(UiTest::CDialogDriver& settings, int type)
{
    const HWND list = settings.Control(PelorusIds::kConnectionList);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    ::SendMessageW(settings.Dialog(), WM_COMMAND, MAKEWPARAM(PelorusIds::kConnectionList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

// Visits each dialog that becomes the active window, once: a timer of a
// hidden window of the test thread fires inside every modal loop.
class CDialogVisitor {
public:
    explicit CDialogVisitor(std::function<void(HWND)> visit) : m_fnVisit(std::move(visit))
    {
        m_Handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (message != WM_TIMER || wParam != kTimer)
                return false;
            const HWND active = ::GetActiveWindow();
            if (active != nullptr && m_Visited.insert(active).second)
                m_fnVisit(active);
            return true;
        };
        m_hWindow = UiTest::Create(&m_Handler, WS_POPUP, 0, 0, 1, 1);
        ::SetTimer(m_hWindow, kTimer, 15, nullptr);
    }
    ~CDialogVisitor()
    {
        ::KillTimer(m_hWindow, kTimer);
        ::DestroyWindow(m_hWindow);
        m_Handler.m_onMessage = nullptr;
    }
    CDialogVisitor(const CDialogVisitor&) = delete;
    CDialogVisitor& operator=(const CDialogVisitor&) = delete;

private:
    static constexpr UINT_PTR kTimer = 0x7A12;
    std::function<void(HWND)> m_fnVisit;
    std::set<HWND> m_Visited;
    UiTest::Handler m_Handler;
    HWND m_hWindow = nullptr;
};

// A device (controller or coupler) and a language.
using tCase = std::tuple<bool, std::wstring>;

class CorvaneTexts : public EndToEndTestBase, public ::testing::WithParamInterface<tCase> {
protected:
    bool Controller() const { return std::get<0>(GetParam()); }
    const std::wstring& Language() const { return std::get<1>(GetParam()); }

    tRunResult RunInLanguage(uint16_t port, const DialogStep& step) const
    {
        return RunProgram(m_CapabilityFile,
                          {L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(port)),
                           CString(L"/LANGUAGE:" + Language())},
                          step, {});
    }
};

TEST_P(CorvaneTexts, NoPageNorTheMainDialogShowsATextKey)
{
    DevSim::CDeviceSimulator device;
    device.Model().Update(Controller() ? FillController : FillCoupler);
    ASSERT_TRUE(device.Start()) << device.LastError();
    std::size_t pages = 0;
    std::wstring readButton;
    const tRunResult run = RunInLanguage(device.Port(), [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
        readButton = driver.Text(CorvaneIds::kReadButton);
        for (const std::wstring& name : ShownPages(dialog)) {
            ASSERT_TRUE(VisitPage(dialog, driver, name));
            tTextScan scan;
            ::EnumChildWindows(driver.Dialog(), ScanWindow, reinterpret_cast<LPARAM>(&scan));
            ScanGrid(dialog.Page(name), scan);
            EXPECT_GT(scan.read, 20u) << "the texts of the dialog with the page " << ::testing::PrintToString(name);
            EXPECT_TRUE(scan.missing.empty()) << ::testing::PrintToString(name) << " shows "
                                              << ::testing::PrintToString(scan.missing);
            ++pages;
        }
    });
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_EQ(pages, Controller() ? 11u : 10u) << "every page of the device was scanned";
    // The texts scanned are those of the language asked for.
    EXPECT_EQ(readButton, Language() == L"de" ? L"Lesen" : L"Read");
    device.Stop();
}

// The libraries' dialogs the program opens, in the program's language: a
// message box and the about box of the user-interface library, and the
// communication library's settings dialog with both forms and its scan.
class LibraryDialogTexts : public EndToEndTestBase, public ::testing::WithParamInterface<std::wstring> {
protected:
    std::map<std::wstring, tTextScan> m_mapScans;

    void Note(const std::wstring& name, HWND dialog) { m_mapScans[name] = ScanDialog(dialog); }
};

TEST_P(LibraryDialogTexts, NoDialogOfTheLibrariesShowsATextKey)
{
    DevSim::CDeviceSimulator device;
    device.Model().Update(FillCoupler);
    ASSERT_TRUE(device.Start()) << device.LastError();
    const Step box = [this](UiTest::CDialogDriver& driver) {
        Note(L"message box", driver.Dialog());
        driver.Click(IDNO);
    };
    std::wstring settingsCaption;
    const tRunResult run = RunProgram(
        m_CapabilityFile,
        {L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(device.Port())),
         CString(L"/LANGUAGE:" + GetParam())},
        [&](CCorvaneDlg& dialog, UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(driver.Click(CorvaneIds::kFactoryDefaultsButton));
            driver.PumpUntil([&] { return m_mapScans.count(L"message box") != 0; });
            // The dialogs the commands open, each told by its controls.
            CDialogVisitor visitor([&](HWND window) {
                UiTest::CDialogDriver shown(window);
                if (window == dialog.GetSafeHwnd() || CommandsTest::CBoxAnswerer::IsMessageText(
                                                          shown.Control(CommandsTest::CBoxAnswerer::kMessageTextId)))
                    return;
                if (shown.Control(PelorusIds::kConnectionList) != nullptr) {
                    settingsCaption = TextOf(window);
                    Note(L"settings, TCP/IP", window);
                    ChooseConnection(shown, 0);
                    Note(L"settings, serial", window);
                    ChooseConnection(shown, 1);
                    const HWND search = ShownForm(window).Control(PelorusIds::kSearchDevice);
                    ::SendMessageW(::GetParent(search), WM_COMMAND, MAKEWPARAM(PelorusIds::kSearchDevice, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(search));
                } else if (shown.Control(PelorusIds::kDeviceList) != nullptr) {
                    Note(L"scan", window);
                } else {
                    Note(L"about box", window);
                }
                ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            });
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CorvaneIds::kAboutCommand, 0));
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CorvaneIds::kMenuCommunication, 0));
        },
        {box});
    EXPECT_EQ(run.unplannedBoxes, 0u) << ::testing::PrintToString(run.boxTexts);
    EXPECT_EQ(m_mapScans.size(), 5u) << "every dialog came up";
    // The texts scanned are those of the language asked for.
    EXPECT_EQ(settingsCaption, GetParam() == L"de" ? L"Kommunikationseinstellungen" : L"Communication settings");
    for (const auto& [name, scan] : m_mapScans) {
        EXPECT_GT(scan.read, 3u) << ::testing::PrintToString(name);
        EXPECT_TRUE(scan.missing.empty()) << ::testing::PrintToString(name) << " shows "
                                          << ::testing::PrintToString(scan.missing);
    }
    device.Stop();
}

INSTANTIATE_TEST_SUITE_P(Languages, LibraryDialogTexts, ::testing::Values(L"de", L"en"),
                         [](const ::testing::TestParamInfo<std::wstring>& info) {
                             return std::string(info.param == L"de" ? "German" : "English");
                         });

INSTANTIATE_TEST_SUITE_P(DevicesAndLanguages, CorvaneTexts,
                         ::testing::Combine(::testing::Values(false, true), ::testing::Values(L"de", L"en")),
                         [](const ::testing::TestParamInfo<tCase>& info) {
                             return std::string(std::get<0>(info.param) ? "Controller" : "Coupler") +
                                    (std::get<1>(info.param) == L"de" ? "German" : "English");
                         });

}

}  // namespace Corvane
