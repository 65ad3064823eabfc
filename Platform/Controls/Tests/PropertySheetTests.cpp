// The property sheet through its pages' dialog procedures: a child sheet
// inside a dialog driven by the keyboard and the mouse, the notifications
// and their answers, the messages to the sheet, modal and modeless sheets,
// and the page records and handles.
#include "ControlTestSupport.h"
#include "SampleSheet.h"
#include "TemplateItems.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using UiTest::CDialogDriver;

namespace {

constexpr int kGeneralEdit = 301;
constexpr int kGeneralCheck = 302;
constexpr int kNetworkEdit = 311;
constexpr int kSmallEdit = 321;
constexpr int kHostStatic = 401;
constexpr int kHostButton = 402;
constexpr UINT kRunScript = WM_APP + 7;

struct PageEvent {
    int page = 0;
    UINT code = 0;
    LPARAM lParam = 0;
    bool operator==(const PageEvent&) const = default;
};

// How each page answers, and what the pages were told, in order.
struct PageKnobs {
    bool refuseLeave = false;
    bool refuseEnter = false;
    bool refuseCancel = false;
    LRESULT applyAnswer = PSNRET_NOERROR;
    LRESULT siblingsAnswer = 0;
};
std::array<PageKnobs, 3> g_knobs;
std::vector<PageEvent> g_events;
std::function<void(HWND page)> g_script;

const std::array<std::vector<BYTE>, 3>& PageImages()
{
    using ControlTest::Button;
    using ControlTest::Predefined;
    static const std::array<std::vector<BYTE>, 3> images = {
        ControlTest::DialogImage(L"General", 150, 80,
                  {Predefined(Ui::kClassEdit, kGeneralEdit, WS_TABSTOP | WS_BORDER, 7, 7, 100, 12),
                   Button(L"Verbose", kGeneralCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 25, 80, 10)}),
        ControlTest::DialogImage(L"Network", 200, 120, {Predefined(Ui::kClassEdit, kNetworkEdit, WS_TABSTOP | WS_BORDER, 7, 7, 150, 12)}),
        ControlTest::DialogImage(L"Small", 100, 40, {Predefined(Ui::kClassEdit, kSmallEdit, WS_TABSTOP | WS_BORDER, 7, 7, 60, 12)}),
    };
    return images;
}

int PageNumber(HWND page)
{
    return static_cast<int>(GetWindowLongPtrW(page, DWLP_USER));
}

INT_PTR Answer(HWND page, LRESULT result)
{
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT PageAnswer(const PageKnobs& knobs, UINT code)
{
    switch (code) {
    case PSN_KILLACTIVE: return knobs.refuseLeave ? TRUE : FALSE;
    case PSN_SETACTIVE: return knobs.refuseEnter ? -1 : 0;
    case PSN_QUERYCANCEL: return knobs.refuseCancel ? TRUE : FALSE;
    case PSN_APPLY: return knobs.applyAnswer;
    default: return 0;
    }
}

INT_PTR PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        return TRUE;
    case WM_NOTIFY: {
        const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
        const int number = PageNumber(page);
        g_events.push_back({number, notify->hdr.code, notify->lParam});
        if (notify->hdr.code == PSN_SETACTIVE && g_script)
            PostMessageW(page, kRunScript, 0, 0);
        return Answer(page, PageAnswer(g_knobs[static_cast<std::size_t>(number)], notify->hdr.code));
    }
    case PSM_QUERYSIBLINGS: {
        const LRESULT base = g_knobs[static_cast<std::size_t>(PageNumber(page))].siblingsAnswer;
        return Answer(page, base != 0 ? base + static_cast<LRESULT>(wParam) : 0);
    }
    case kRunScript:
        if (auto script = std::exchange(g_script, nullptr))
            script(page);
        return TRUE;
    default: return FALSE;
    }
}

PROPSHEETPAGEW PageRecord(int number)
{
    PROPSHEETPAGEW record;
    record.dwFlags = PSP_DLGINDIRECT;
    record.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(PageImages()[static_cast<std::size_t>(number)].data());
    record.pfnDlgProc = &PageProc;
    record.lParam = number;
    return record;
}

// The sheet made a control-parent child of the dialog it sits in.
int ChildSheetCallback(HWND, UINT message, LPARAM lParam)
{
    if (message != PSCB_PRECREATE)
        return 0;
    // The sheet's template is the extended kind: the style after version,
    // signature, help id and extended style.
    auto* style = reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(lParam) + 12);
    *style = (*style & (DS_SETFONT | DS_3DLOOK)) | WS_CHILD | WS_VISIBLE | DS_CONTROL;
    return 0;
}

INT_PTR HostProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<PageEvent> Events(std::initializer_list<PageEvent> events)
{
    return std::vector<PageEvent>(events);
}

class PropertySheetControl : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        g_knobs = {};
        g_events.clear();
        g_script = nullptr;
    }
    void TearDown() override
    {
        if (m_sheet != nullptr && IsWindow(m_sheet))
            DestroyWindow(m_sheet);
        if (m_host != nullptr)
            DestroyWindow(m_host);
        UiTest::Drain();
    }

    // A dialog holding a child sheet of the three pages.
    void MakeChildSheet(DWORD flags = 0)
    {
        m_hostImage = ControlTest::DialogImage(L"Host", 300, 230,
                                               {ControlTest::Static(L"Status", 0, 7, 210, 60, 10, kHostStatic),
                                                ControlTest::Button(L"Read", kHostButton, WS_TABSTOP, 240, 208, 50, 14)},
                                               WS_POPUP | WS_CAPTION | WS_VISIBLE);
        m_host = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(m_hostImage.data()), nullptr,
                                            &HostProc, 0);
        ASSERT_NE(m_host, nullptr);
        m_sheet = MakeSheet(flags | PSH_MODELESS | PSH_USECALLBACK, m_host, &ChildSheetCallback);
        ASSERT_NE(m_sheet, nullptr);
        SetActiveWindow(m_host);
        m_driver.emplace(m_host);
        m_driver->PumpUntilIdle();
    }

    HWND MakeSheet(DWORD flags, HWND parent, PFNPROPSHEETCALLBACK callback = nullptr)
    {
        m_records = {PageRecord(0), PageRecord(1), PageRecord(2)};
        PROPSHEETHEADERW header;
        header.dwFlags = flags | PSH_PROPSHEETPAGE;
        header.hwndParent = parent;
        header.pszCaption = L"Coupler";
        header.nPages = 3;
        header.ppsp = m_records.data();
        header.pfnCallback = callback;
        const INT_PTR made = PropertySheetW(&header);
        return made == -1 ? nullptr : reinterpret_cast<HWND>(made);
    }

    INT_PTR RunModal()
    {
        m_records = {PageRecord(0), PageRecord(1)};
        PROPSHEETHEADERW header;
        header.dwFlags = PSH_PROPSHEETPAGE;
        header.pszCaption = L"Modal";
        header.nPages = 2;
        header.ppsp = m_records.data();
        return PropertySheetW(&header);
    }

    // A modeless top-level sheet with its buttons, driven through its own dialog manager.
    void MakeTopLevelSheet(DWORD flags = 0)
    {
        m_sheet = MakeSheet(flags | PSH_MODELESS, nullptr);
        ASSERT_NE(m_sheet, nullptr);
        SetActiveWindow(m_sheet);
        m_driver.emplace(m_sheet);
        m_driver->PumpUntilIdle();
    }

    HWND Tab() const { return reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETTABCONTROL, 0, 0)); }
    std::wstring TabText(int index) const
    {
        wchar_t text[32]{};
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(Tab(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    int Selected() const { return static_cast<int>(SendMessageW(Tab(), TCM_GETCURSEL, 0, 0)); }
    HWND Current() const { return reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    int CurrentNumber() const { return Current() != nullptr ? PageNumber(Current()) : -1; }
    HWND PageWindow(int index) const { return reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(index), 0)); }
    void Press(UINT key, unsigned modifiers = UiTest::kNoModifier)
    {
        m_driver->Press(key, modifiers);
        m_driver->PumpUntilIdle();
    }
    void ClickTab(int index)
    {
        RECT item{};
        SendMessageW(Tab(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        ASSERT_TRUE(m_driver->Click(IDC_TABCONTROL_SHEET, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}));
        m_driver->PumpUntilIdle();
    }
    // Visits every page once, so that all are made, and comes back to the first.
    void VisitAll()
    {
        for (int i : {1, 2, 0})
            ASSERT_TRUE(SendMessageW(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0));
        g_events.clear();
    }
    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(m_sheet, ID_APPLY_NOW)) != FALSE; }

    std::vector<PROPSHEETPAGEW> m_records;
    std::vector<BYTE> m_hostImage;
    HWND m_host = nullptr;
    HWND m_sheet = nullptr;
    std::optional<CDialogDriver> m_driver;
    Platform::ManualClockScope m_clock{20000000};
};

}

TEST_F(PropertySheetControl, CtrlTabInAChildSheetLeavesThenEntersEachPageAndTheFocusFollows)
{
    MakeChildSheet();
    EXPECT_EQ(g_events, Events({{0, PSN_SETACTIVE, 0}})) << "only the first page is made and told";
    EXPECT_EQ(PageWindow(1), nullptr) << "pages are made when first shown";
    ASSERT_TRUE(m_driver->Click(kGeneralEdit));
    m_driver->PumpUntilIdle();
    g_events.clear();

    Press(VK_TAB, UiTest::kControl);
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}, {1, PSN_SETACTIVE, 0}}));
    EXPECT_EQ(CurrentNumber(), 1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(m_driver->FocusId(), kNetworkEdit) << "the focus moves into the page entered";
    EXPECT_FALSE(IsWindowVisible(PageWindow(0)));

    Press(VK_NEXT, UiTest::kControl);
    EXPECT_EQ(CurrentNumber(), 2);
    Press(VK_TAB, UiTest::kControl);
    EXPECT_EQ(CurrentNumber(), 0) << "wraps round after the last page";
    Press(VK_TAB, UiTest::kControl | UiTest::kShift);
    EXPECT_EQ(CurrentNumber(), 2) << "and back round before the first";
    Press(VK_PRIOR, UiTest::kControl);
    EXPECT_EQ(CurrentNumber(), 1);

    // Plain Tab stays the dialog's: it walks into the host's own button.
    SetFocus(m_driver->Control(kNetworkEdit));
    Press(VK_TAB);
    EXPECT_NE(m_driver->FocusId(), kNetworkEdit);
}

TEST_F(PropertySheetControl, APageThatRefusesToBeLeftKeepsTheSheetAndTheTabOnIt)
{
    MakeChildSheet();
    ASSERT_TRUE(m_driver->Click(kGeneralEdit));
    g_knobs[0].refuseLeave = true;
    g_events.clear();

    Press(VK_TAB, UiTest::kControl);
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}}));
    EXPECT_EQ(CurrentNumber(), 0);
    EXPECT_EQ(Selected(), 0);
    ClickTab(2);
    EXPECT_EQ(CurrentNumber(), 0) << "a click on a tab is refused alike";
    EXPECT_EQ(Selected(), 0);
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_SETCURSEL, 1, 0));
    EXPECT_EQ(PageWindow(1), nullptr);

    g_knobs[0].refuseLeave = false;
    g_events.clear();
    ClickTab(2);
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}, {2, PSN_SETACTIVE, 0}}));
    EXPECT_EQ(CurrentNumber(), 2);
}

TEST_F(PropertySheetControl, APageThatRefusesToBeEnteredLeavesTheSheetOnThePageBefore)
{
    MakeChildSheet();
    g_knobs[1].refuseEnter = true;
    g_events.clear();
    ClickTab(1);
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}, {1, PSN_SETACTIVE, 0}, {0, PSN_SETACTIVE, 0}}));
    EXPECT_EQ(CurrentNumber(), 0);
    EXPECT_EQ(Selected(), 0);
    EXPECT_TRUE(IsWindowVisible(PageWindow(0)));
}

TEST_F(PropertySheetControl, EveryPageFitsThePageAreaWhichHoldsTheLargestTemplate)
{
    MakeChildSheet();
    VisitAll();
    RECT tab{};
    GetWindowRect(Tab(), &tab);
    MapWindowPoints(nullptr, m_sheet, reinterpret_cast<POINT*>(&tab), 2);
    RECT display = tab;
    SendMessageW(Tab(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    RECT largest{0, 0, 200, 120};
    MapDialogRect(m_sheet, &largest);
    EXPECT_GE(display.right - display.left, largest.right);
    EXPECT_GE(display.bottom - display.top, largest.bottom);
    for (int i = 0; i < 3; ++i) {
        RECT page{};
        GetWindowRect(PageWindow(i), &page);
        MapWindowPoints(nullptr, m_sheet, reinterpret_cast<POINT*>(&page), 2);
        EXPECT_TRUE(EqualRect(&page, &display)) << "page " << i;
        EXPECT_EQ(GetParent(PageWindow(i)), m_sheet);
        EXPECT_NE(GetWindowLongPtrW(PageWindow(i), GWL_STYLE) & WS_CHILD, 0);
        EXPECT_EQ(GetWindowLongPtrW(PageWindow(i), GWL_STYLE) & WS_CAPTION, 0) << "a page has no frame of its own";
    }
    // The sheet's buttons lie below the tab control, inside the sheet.
    RECT ok{};
    GetWindowRect(GetDlgItem(m_sheet, IDOK), &ok);
    MapWindowPoints(nullptr, m_sheet, reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_GE(ok.top, tab.bottom);
    RECT client{};
    GetClientRect(m_sheet, &client);
    EXPECT_LE(ok.bottom, client.bottom);
}

TEST_F(PropertySheetControl, ApplyFollowsTheChangedPagesAndAppliesEveryMadePage)
{
    MakeTopLevelSheet();
    SendMessageW(m_sheet, PSM_SETCURSEL, 1, 0);
    SendMessageW(m_sheet, PSM_SETCURSEL, 0, 0);
    g_events.clear();
    EXPECT_FALSE(ApplyEnabled());
    SendMessageW(m_sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(PageWindow(0)), 0);
    SendMessageW(m_sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(PageWindow(1)), 0);
    EXPECT_TRUE(ApplyEnabled());
    SendMessageW(m_sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(PageWindow(0)), 0);
    EXPECT_TRUE(ApplyEnabled()) << "another page is still changed";
    SendMessageW(m_sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(PageWindow(1)), 0);
    EXPECT_FALSE(ApplyEnabled());

    SendMessageW(m_sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(PageWindow(1)), 0);
    ASSERT_TRUE(m_driver->Click(ID_APPLY_NOW));
    m_driver->PumpUntilIdle();
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, FALSE}, {1, PSN_APPLY, FALSE}}))
        << "the page never shown is not made to apply";
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_NE(Current(), nullptr) << "Apply keeps the sheet open";

    ASSERT_TRUE(m_driver->Click(kGeneralEdit));
    g_events.clear();
    Press(VK_RETURN);
    EXPECT_EQ(g_events, Events({{0, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, TRUE}, {1, PSN_APPLY, TRUE}}));
    EXPECT_EQ(Current(), nullptr) << "a closed modeless sheet has no current page";
    EXPECT_EQ(SendMessageW(m_sheet, PSM_GETRESULT, 0, 0), 1);
}

TEST_F(PropertySheetControl, AnInvalidApplyKeepsTheSheetOpenOnTheRefusingPage)
{
    MakeTopLevelSheet(PSH_NOAPPLYNOW);
    EXPECT_EQ(GetDlgItem(m_sheet, ID_APPLY_NOW), nullptr);
    VisitAll();
    g_knobs[2].applyAnswer = PSNRET_INVALID;
    Press(VK_RETURN);
    EXPECT_NE(Current(), nullptr);
    EXPECT_EQ(CurrentNumber(), 2) << "the page that refused is shown";
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(SendMessageW(m_sheet, PSM_GETRESULT, 0, 0), -1) << "still open";

    g_knobs[2].applyAnswer = PSNRET_INVALID_NOCHANGEPAGE;
    g_knobs[0].applyAnswer = PSNRET_NOERROR;
    SendMessageW(m_sheet, PSM_SETCURSEL, 1, 0);
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_APPLY, 0, 0));
    EXPECT_EQ(CurrentNumber(), 1) << "PSNRET_INVALID_NOCHANGEPAGE keeps the current page";
}

TEST_F(PropertySheetControl, CancelAsksTheCurrentPageThenResetsEveryMadePage)
{
    MakeTopLevelSheet();
    SendMessageW(m_sheet, PSM_SETCURSEL, 2, 0);
    g_knobs[2].refuseCancel = true;
    g_events.clear();
    Press(VK_ESCAPE);
    EXPECT_EQ(g_events, Events({{2, PSN_QUERYCANCEL, 0}}));
    EXPECT_NE(Current(), nullptr);

    g_knobs[2].refuseCancel = false;
    g_events.clear();
    ASSERT_TRUE(m_driver->Click(IDCANCEL));
    m_driver->PumpUntilIdle();
    EXPECT_EQ(g_events, Events({{2, PSN_QUERYCANCEL, 0}, {0, PSN_RESET, FALSE}, {2, PSN_RESET, FALSE}}));
    EXPECT_EQ(Current(), nullptr);
    EXPECT_EQ(SendMessageW(m_sheet, PSM_GETRESULT, 0, 0), 0) << "nothing was applied";
}

TEST_F(PropertySheetControl, AModalSheetAnswersWhetherChangesWereSaved)
{
    g_script = [](HWND page) {
        CDialogDriver driver(GetParent(page));
        driver.Press(VK_RETURN);
    };
    EXPECT_EQ(RunModal(), 1);

    g_script = [](HWND page) { PostMessageW(GetParent(page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); };
    EXPECT_EQ(RunModal(), 0);

    // Applied, then cancelled: the changes were saved all the same.
    g_script = [](HWND page) {
        HWND sheet = GetParent(page);
        SendMessageW(sheet, PSM_REBOOTSYSTEM, 0, 0);
        SendMessageW(sheet, PSM_APPLY, 0, 0);
        SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    };
    EXPECT_EQ(RunModal(), ID_PSREBOOTSYSTEM);
}

TEST_F(PropertySheetControl, PagesAreAddedRemovedAndFoundThroughTheSheetsMessages)
{
    MakeTopLevelSheet();
    const PROPSHEETPAGEW record = PageRecord(1);
    HPROPSHEETPAGE added = CreatePropertySheetPageW(&record);
    ASSERT_NE(added, nullptr);
    ASSERT_TRUE(SendMessageW(m_sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(added)));
    EXPECT_EQ(SendMessageW(Tab(), TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(m_sheet, PSM_PAGETOINDEX, 0, reinterpret_cast<LPARAM>(added)), 3);
    EXPECT_EQ(reinterpret_cast<HPROPSHEETPAGE>(SendMessageW(m_sheet, PSM_INDEXTOPAGE, 3, 0)), added);
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(added))) << "a page is in a sheet once";

    EXPECT_EQ(TabText(3), L"Network") << "the tab shows the template's caption";

    ASSERT_TRUE(SendMessageW(m_sheet, PSM_SETCURSEL, 0, reinterpret_cast<LPARAM>(added)));
    EXPECT_EQ(SendMessageW(m_sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Current()), 0), 3);
    g_knobs[1].siblingsAnswer = 40;
    EXPECT_EQ(SendMessageW(m_sheet, PSM_QUERYSIBLINGS, 2, 0), 42) << "the first page that answers ends the question";

    // Removing the current page shows the one before it, which is told.
    g_events.clear();
    ASSERT_TRUE(SendMessageW(m_sheet, PSM_REMOVEPAGE, 3, 0));
    EXPECT_EQ(g_events, Events({{2, PSN_SETACTIVE, 0}}));
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(SendMessageW(m_sheet, PSM_PAGETOINDEX, 0, reinterpret_cast<LPARAM>(added)), -1);
    EXPECT_FALSE(DestroyPropertySheetPage(added)) << "the sheet destroyed the removed page";

    ASSERT_TRUE(SendMessageW(m_sheet, PSM_REMOVEPAGE, 0, 0));
    EXPECT_EQ(Selected(), 1) << "a page before the current one moves the selection down";
    EXPECT_EQ(CurrentNumber(), 2);
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_REMOVEPAGE, 9, 0));
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_SETCURSEL, 9, 0));

    SendMessageW(m_sheet, PSM_SETTITLEW, PSH_PROPTITLE, reinterpret_cast<LPARAM>(L"Coupler 612"));
    EXPECT_EQ(UiTest::TextOf(m_sheet), L"Properties for Coupler 612");
}

TEST_F(PropertySheetControl, APageDestroyedBehindTheSheetsBackIsPassedOverWithoutHarm)
{
    MakeTopLevelSheet();
    auto second = reinterpret_cast<HPROPSHEETPAGE>(SendMessageW(m_sheet, PSM_INDEXTOPAGE, 1, 0));
    ASSERT_TRUE(DestroyPropertySheetPage(second));
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_SETCURSEL, 1, 0));
    EXPECT_EQ(CurrentNumber(), 0);
    EXPECT_EQ(Selected(), 0);
    ClickTab(1);
    EXPECT_EQ(CurrentNumber(), 0) << "the tab of the gone page leads nowhere";
    EXPECT_EQ(Selected(), 0);
    int bogus = 0;
    EXPECT_FALSE(SendMessageW(m_sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(&bogus)));
    EXPECT_TRUE(SendMessageW(m_sheet, PSM_REMOVEPAGE, 1, 0));
    EXPECT_EQ(SendMessageW(Tab(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_TRUE(SendMessageW(m_sheet, PSM_SETCURSEL, 1, 0));
    EXPECT_EQ(CurrentNumber(), 2);
}

TEST_F(PropertySheetControl, PageRecordsAreCheckedCopiedAndToldTheirLifeThroughTheCallback)
{
    EXPECT_EQ(CreatePropertySheetPageW(nullptr), nullptr);
    PROPSHEETPAGEW shortRecord = PageRecord(0);
    shortRecord.dwSize = 8;
    EXPECT_EQ(CreatePropertySheetPageW(&shortRecord), nullptr);
    int bogus = 0;
    EXPECT_FALSE(DestroyPropertySheetPage(reinterpret_cast<HPROPSHEETPAGE>(&bogus)));

    static std::vector<UINT> calls;
    static UINT createAnswer = 0;
    calls.clear();
    createAnswer = 0;
    UINT references = 0;
    std::wstring title = L"Temporary";
    PROPSHEETPAGEW record = PageRecord(1);
    record.dwFlags |= PSP_USECALLBACK | PSP_USEREFPARENT | PSP_USETITLE;
    record.pszTitle = title.c_str();
    record.pcRefParent = &references;
    record.pfnCallback = [](HWND, UINT message, PROPSHEETPAGEW*) -> UINT {
        calls.push_back(message);
        return message == PSPCB_CREATE ? createAnswer : 1;
    };
    HPROPSHEETPAGE page = CreatePropertySheetPageW(&record);
    ASSERT_NE(page, nullptr);
    title = L"Overwritten";
    EXPECT_EQ(references, 1u);

    MakeTopLevelSheet();
    ASSERT_TRUE(SendMessageW(m_sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(page)));
    EXPECT_EQ(TabText(3), L"Temporary") << "the title was copied when the page was made";

    EXPECT_FALSE(SendMessageW(m_sheet, PSM_SETCURSEL, 3, 0)) << "the callback refused to make the page";
    EXPECT_EQ(CurrentNumber(), 0);
    EXPECT_EQ(Selected(), 0);
    createAnswer = 1;
    EXPECT_TRUE(SendMessageW(m_sheet, PSM_SETCURSEL, 3, 0));
    DestroyWindow(m_sheet);
    m_sheet = nullptr;
    EXPECT_EQ(calls, (std::vector<UINT>{PSPCB_ADDREF, PSPCB_CREATE, PSPCB_CREATE, PSPCB_RELEASE}));
    EXPECT_EQ(references, 0u) << "the sheet's end released its pages";
}

TEST_F(PropertySheetControl, ASheetWithTwoTabsLooksAsBefore)
{
    m_sheet = ControlTest::CreateSampleSheet();
    ASSERT_NE(m_sheet, nullptr);
    UiTest::Drain();
    namespace fs = std::filesystem;
    const fs::path outputs = ZELL_CONTROLS_OUTPUT_DIR;
    fs::create_directories(outputs);
    const fs::path shown = outputs / "property-sheet.png";
    ASSERT_TRUE(ControlTest::Scene::Display().SaveAsPng(NativeWindowOf(m_sheet), shown.string()));
    EXPECT_TRUE(UiTest::MatchesGolden(shown.string(), "property-sheet", ZELL_CONTROLS_GOLDEN_DIR));
}
