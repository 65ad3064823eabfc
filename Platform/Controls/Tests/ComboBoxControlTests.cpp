#include "ComboTestSupport.h"

using namespace ComboTest;
using UiTest::kAlt;

namespace {

constexpr DWORD kDropList = CBS_DROPDOWNLIST;

// The pointer onto a point of a window, given in its client coordinates.
void PointAt(HWND hwnd, POINT p)
{
    ClientToScreen(hwnd, &p);
    UiTest::Headless().InjectMouseMove(p);
    UiTest::Drain();
}

void ClickOn(UiTest::CDialogDriver& driver, HWND hwnd, POINT p)
{
    Platform::Clock::Advance(GetDoubleClickTime() + 1);
    ClientToScreen(hwnd, &p);
    UiTest::CDialogDriver::ClickAt(p);
    driver.PumpUntilIdle();
}

POINT Centre(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right / 2, r.bottom / 2};
}

std::vector<WORD> Codes(std::initializer_list<WORD> codes) { return codes; }

}

// --- the drop-down and its notifications ---------------------------------------

TEST(ComboBoxDropDown, MouseOpensBelowAndPicksInThePlatformsOrder)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    ASSERT_NE(combo, nullptr);
    Fill(combo, {L"Alpha", L"Bravo", L"Charlie", L"Delta", L"Echo"});
    Send(combo, CB_SETCURSEL, 1);
    UiTest::CDialogDriver driver = d.Driver();
    EXPECT_EQ(driver.FocusId(), kComboId) << "the first tab stop";
    SetFocus(GetDlgItem(d.Dialog(), IDOK));
    driver.PumpUntilIdle();
    d.m_commands.clear();

    ClickOn(driver, combo, Centre(combo));
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_SETFOCUS, CBN_DROPDOWN}));
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE);
    HWND list = ListOf(combo);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetCapture(), list) << "the list follows the pointer after the click that opened it";
    EXPECT_EQ(GetFocus(), combo);
    const RECT comboRect = ScreenRect(combo);
    const RECT listRect = ScreenRect(list);
    EXPECT_EQ(listRect.top, comboRect.bottom);
    EXPECT_EQ(listRect.left, comboRect.left);
    EXPECT_EQ(listRect.right - listRect.left, comboRect.right - comboRect.left);

    d.m_commands.clear();
    PointAt(list, ListTest::ItemPoint(list, 3));
    ClickOn(driver, list, ListTest::ItemPoint(list, 3));
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 3);
    EXPECT_EQ(TextOf(combo), L"Delta");
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(d.DialogCommands().empty());
}

TEST(ComboBoxDropDown, EscAndEnterCloseTheListFirstAndTheDialogAfter)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    Fill(combo, {L"One", L"Two", L"Three"});
    Send(combo, CB_SETCURSEL, 0);
    UiTest::CDialogDriver driver = d.Driver();
    SetFocus(combo);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);

    // Esc after the keys moved the selection: back to the first, told as a change.
    d.m_commands.clear();
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE);
    EXPECT_NE(Send(combo, WM_GETDLGCODE) & DLGC_WANTMESSAGE, 0);
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_SELCHANGE, CBN_CLOSEUP}));
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0);
    EXPECT_TRUE(d.DialogCommands().empty()) << "Esc closed the list, not the dialog";

    // Esc without a change says no change.
    d.m_commands.clear();
    driver.Press(VK_DOWN, kAlt);
    driver.PumpUntilIdle();
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));

    // Enter keeps what the keys chose.
    d.m_commands.clear();
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    driver.Press(VK_END);
    driver.PumpUntilIdle();
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);
    EXPECT_TRUE(d.DialogCommands().empty()) << "Enter closed the list, not the dialog";

    // Closed, the keys are the dialog's again.
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.DialogCommands(), (std::vector<int>{IDOK, IDCANCEL}));
}

TEST(ComboBoxDropDown, AltArrowsAndF4ToggleAndTheExtendedUiOpensWithDown)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    Fill(combo, {L"One", L"Two", L"Three"});
    UiTest::CDialogDriver driver = d.Driver();
    SetFocus(combo);
    driver.PumpUntilIdle();
    d.m_commands.clear();

    driver.Press(VK_DOWN, kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE);
    driver.Press(VK_UP, kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));

    EXPECT_EQ(Send(combo, CB_SETEXTENDEDUI, TRUE), CB_OKAY);
    EXPECT_EQ(Send(combo, CB_GETEXTENDEDUI), TRUE);
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE) << "F4 does nothing in the extended interface";
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR) << "Down opened the list without choosing";
}

// The press that closes the list is the list's: what lies under it hears
// nothing, as on the platform.
TEST(ComboBoxDropDown, AnOutsideClickClosesAndDoesNotReachTheWindowUnderneath)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    Fill(combo, {L"One", L"Two", L"Three"});
    Send(combo, CB_SETCURSEL, 0);
    UiTest::CDialogDriver driver = d.Driver();
    ClickOn(driver, combo, Centre(combo));
    HWND list = ListOf(combo);
    PointAt(list, ListTest::ItemPoint(list, 2));
    ASSERT_EQ(Send(combo, CB_GETCURSEL), 2);
    d.m_commands.clear();

    ClickOn(driver, GetDlgItem(d.Dialog(), IDCANCEL), Centre(GetDlgItem(d.Dialog(), IDCANCEL)));
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_SELENDCANCEL, CBN_SELCHANGE, CBN_CLOSEUP}));
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0) << "the hovered item was not taken";
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_TRUE(d.DialogCommands().empty()) << "the Cancel button under the click was not pressed";
    EXPECT_EQ(GetCapture(), nullptr);

    // A click on the combo itself while the list is down closes it as well.
    ClickOn(driver, combo, Centre(combo));
    ASSERT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE);
    d.m_commands.clear();
    ClickOn(driver, combo, Centre(combo));
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_SELENDCANCEL, CBN_CLOSEUP}));

    // Leaving the combo closes the list too.
    Send(combo, CB_SHOWDROPDOWN, TRUE);
    d.m_commands.clear();
    driver.Press(VK_TAB);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST(ComboBoxDropDown, ShowDropDownPlacesTheListAndTheRectangleKeepsTheTemplateHeight)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    Fill(combo, {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11", L"12"});
    RECT template60{7, 7, 107, 67};
    MapDialogRect(d.Dialog(), &template60);
    RECT dropped{};
    ASSERT_EQ(Send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)), TRUE);
    EXPECT_EQ(dropped.bottom - dropped.top, template60.bottom - template60.top);
    EXPECT_EQ(dropped.top, ScreenRect(combo).top);
    EXPECT_LT(ScreenRect(combo).bottom - ScreenRect(combo).top, 30) << "the window is the field only";

    d.m_commands.clear();
    EXPECT_EQ(Send(combo, CB_SHOWDROPDOWN, TRUE), TRUE);
    UiTest::Drain();
    HWND list = ListOf(combo);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_LE(ScreenRect(list).bottom, dropped.bottom) << "the list ends where the template said";
    EXPECT_GT(Send(list, LB_GETTOPINDEX) + 100, 0);
    EXPECT_EQ(Send(combo, CB_SHOWDROPDOWN, FALSE), TRUE);
    EXPECT_EQ(d.ComboCodes(), Codes({CBN_DROPDOWN, CBN_CLOSEUP}));

    // Wider than the combo when asked; never narrower.
    EXPECT_EQ(Send(combo, CB_SETDROPPEDWIDTH, 400), 400);
    EXPECT_EQ(Send(combo, CB_GETDROPPEDWIDTH), 400);
    const LRESULT comboWidth = ScreenRect(combo).right - ScreenRect(combo).left;
    EXPECT_EQ(Send(combo, CB_SETDROPPEDWIDTH, 10), comboWidth);

    // Near the bottom of the monitor the list opens above the combo.
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT dialog = ScreenRect(d.Dialog());
    SetWindowPos(d.Dialog(), nullptr, dialog.left, screenHeight - (ScreenRect(combo).bottom - dialog.top) - 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UiTest::Drain();
    Send(combo, CB_SHOWDROPDOWN, TRUE);
    UiTest::Drain();
    EXPECT_EQ(ScreenRect(list).bottom, ScreenRect(combo).top);
    Send(combo, CB_SHOWDROPDOWN, FALSE);
}

// --- keyboard selection in the closed list -------------------------------------

TEST(ComboBoxKeyboard, KeysAndLettersMoveTheClosedSelectionAndTellEachTime)
{
    ComboDialog d(kDropList);
    HWND combo = d.Combo();
    Fill(combo, {L"apple", L"banana", L"blueberry", L"cherry", L"date", L"fig", L"grape", L"kiwi", L"lemon", L"mango",
                 L"melon", L"orange"});
    UiTest::CDialogDriver driver = d.Driver();
    SetFocus(combo);
    driver.PumpUntilIdle();
    d.m_commands.clear();
    const auto press = [&](UINT key) {
        driver.Press(key);
        driver.PumpUntilIdle();
        return static_cast<int>(Send(combo, CB_GETCURSEL));
    };
    EXPECT_EQ(press(VK_DOWN), 0) << "nothing chosen: the first item";
    EXPECT_EQ(press(VK_DOWN), 1);
    EXPECT_EQ(press(VK_RIGHT), 2);
    EXPECT_EQ(press(VK_UP), 1);
    EXPECT_EQ(press(VK_END), 11);
    EXPECT_EQ(press(VK_DOWN), 11) << "at the end: nothing to tell";
    EXPECT_EQ(press(VK_HOME), 0);
    const int afterPage = press(VK_NEXT);
    EXPECT_GT(afterPage, 1);
    EXPECT_LT(afterPage, 11);
    EXPECT_EQ(press(VK_PRIOR), 0);
    EXPECT_EQ(d.ComboCodes(), std::vector<WORD>(8, CBN_SELCHANGE));
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE);

    d.m_commands.clear();
    driver.Type(L"m");
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 9);
    driver.Type(L"m");
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 10) << "the same letter again goes on to the next";
    Platform::Clock::Advance(GetDoubleClickTime() * 10);
    driver.Type(L"bl");
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 2) << "a typed prefix";
    EXPECT_EQ(TextOf(combo), L"blueberry");
    EXPECT_EQ(d.ComboCodes(), std::vector<WORD>(4, CBN_SELCHANGE));
    EXPECT_TRUE(d.DialogCommands().empty());
}

// --- strings, data and the find rules ------------------------------------------

TEST(ComboBoxItems, FindAndSelectFollowThePrefixAndWrapRules)
{
    ControlTest::Scene s;
    HWND combo = s.Add(L"ComboBox", L"", kDropList, 10, 10, 150, 120, 5);
    ASSERT_NE(combo, nullptr);
    Fill(combo, {L"Apple", L"apricot", L"Banana", L"APPLE", L""});
    const auto find = [&](UINT message, int start, LPCWSTR text) {
        return Send(combo, message, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(CB_FINDSTRING, -1, L"ap"), 0);
    EXPECT_EQ(find(CB_FINDSTRING, 0, L"AP"), 1) << "after the start, ignoring case";
    EXPECT_EQ(find(CB_FINDSTRING, 1, L"ap"), 3);
    EXPECT_EQ(find(CB_FINDSTRING, 3, L"ap"), 0) << "round past the end to the start";
    EXPECT_EQ(find(CB_FINDSTRING, 100, L"ban"), 2) << "a start past the end searches from the beginning";
    EXPECT_EQ(find(CB_FINDSTRING, -1, L""), 0) << "the empty prefix fits the first";
    EXPECT_EQ(find(CB_FINDSTRING, 2, L""), 3);
    EXPECT_EQ(find(CB_FINDSTRING, -1, L"cherry"), CB_ERR);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, -1, L"apple"), 0);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, 0, L"apple"), 3);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, 3, L"apple"), 0);
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, -1, L"appl"), CB_ERR) << "exact is no prefix";
    EXPECT_EQ(find(CB_FINDSTRINGEXACT, -1, L""), 4);

    EXPECT_EQ(find(CB_SELECTSTRING, -1, L"BAN"), 2);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 2);
    EXPECT_EQ(TextOf(combo), L"Banana");
    EXPECT_EQ(find(CB_SELECTSTRING, -1, L"zz"), CB_ERR);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 2) << "a failed select keeps the selection";
    EXPECT_EQ(SetWindowTextW(combo, L"apricot"), TRUE);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
    EXPECT_EQ(Send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"none")), CB_ERR);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty()) << "messages from code tell nobody";
}

TEST(ComboBoxItems, StringsDataAndTheEditlessMessages)
{
    ControlTest::Scene s;
    HWND sorted = s.Add(L"ComboBox", L"", kDropList | CBS_SORT | CBS_UPPERCASE, 10, 10, 150, 120, 5);
    Fill(sorted, {L"pear", L"Apple", L"fig"});
    std::vector<std::wstring> texts;
    for (int i = 0; i < Send(sorted, CB_GETCOUNT); ++i) {
        std::wstring text(static_cast<std::size_t>(Send(sorted, CB_GETLBTEXTLEN, static_cast<WPARAM>(i))), L'\0');
        Send(sorted, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"APPLE", L"FIG", L"PEAR"}));
    EXPECT_EQ(Send(sorted, CB_GETLBTEXTLEN, 3), CB_ERR);

    HWND lower = s.Add(L"ComboBox", L"", kDropList | CBS_LOWERCASE, 10, 40, 150, 120, 6);
    EXPECT_EQ(Send(lower, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"MiXeD")), 0);
    EXPECT_EQ(Send(lower, CB_INSERTSTRING, 5, reinterpret_cast<LPARAM>(L"x")), CB_ERR);
    EXPECT_EQ(Send(lower, CB_SETCURSEL, 0), 0);
    EXPECT_EQ(TextOf(lower), L"mixed");

    EXPECT_EQ(Send(sorted, CB_SETITEMDATA, 1, 77), TRUE);
    EXPECT_EQ(Send(sorted, CB_GETITEMDATA, 1), 77);
    EXPECT_EQ(Send(sorted, CB_GETITEMDATA, 9), CB_ERR);
    Send(sorted, CB_SETCURSEL, 2);
    EXPECT_EQ(Send(sorted, CB_DELETESTRING, 2), 2);
    EXPECT_EQ(Send(sorted, CB_GETCURSEL), CB_ERR) << "the chosen item went";
    EXPECT_EQ(TextOf(sorted), L"");
    EXPECT_EQ(Send(sorted, CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
    EXPECT_GE(Send(sorted, CB_INITSTORAGE, 100, 4000), 102);
    for (int i = 0; i < 20; ++i)
        Send(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"more"));
    EXPECT_EQ(Send(sorted, CB_GETTOPINDEX), 0);
    EXPECT_EQ(Send(sorted, CB_SETTOPINDEX, 5), CB_OKAY);
    EXPECT_EQ(Send(sorted, CB_GETTOPINDEX), 5);
    EXPECT_EQ(Send(sorted, CB_SETTOPINDEX, 500), CB_ERR);
    EXPECT_EQ(Send(sorted, CB_RESETCONTENT), CB_OKAY);
    EXPECT_EQ(Send(sorted, CB_GETCOUNT), 0);

    // A drop-down list has no edit.
    DWORD start = 0;
    EXPECT_EQ(Send(sorted, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0), CB_ERR);
    EXPECT_EQ(Send(sorted, CB_SETEDITSEL, 0, MAKELPARAM(0, 1)), CB_ERR);
    EXPECT_EQ(Send(sorted, CB_LIMITTEXT, 5), CB_ERR);
    COMBOBOXINFO info;
    ASSERT_EQ(Send(sorted, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(info.hwndCombo, sorted);
    EXPECT_NE(info.hwndList, nullptr);
    EXPECT_LT(info.rcItem.right, info.rcButton.left + 1);
    info.cbSize = 3;
    EXPECT_EQ(Send(sorted, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)), FALSE);

}

// --- owner draw ------------------------------------------------------------------

TEST(ComboBoxOwnerDraw, FixedMeasuresTheFieldAndTheItemsAndDrawsWithTheStates)
{
    ControlTest::Scene s;
    ListTest::ListParent parent(s.Top());
    std::vector<std::pair<UINT, UINT>> measured;  // CtlType, itemID
    parent.m_measure = [&](const MEASUREITEMSTRUCT& m) {
        measured.push_back({m.CtlType, m.itemID});
        EXPECT_EQ(m.CtlID, 5u);
        return m.itemID == static_cast<UINT>(-1) ? 18u : 16u;
    };
    std::vector<DRAWITEMSTRUCT> drawn;
    s.m_drawItem = [&](const DRAWITEMSTRUCT& item) { drawn.push_back(item); };
    HWND combo = s.Add(L"ComboBox", L"", kDropList | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 10, 150, 120, 5);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(measured, (std::vector<std::pair<UINT, UINT>>{{ODT_COMBOBOX, static_cast<UINT>(-1)}, {ODT_COMBOBOX, 0u}}));
    EXPECT_EQ(Send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), 18);
    EXPECT_EQ(Send(combo, CB_GETITEMHEIGHT, 0), 16);
    const LONG fieldWindow = ScreenRect(combo).bottom - ScreenRect(combo).top;
    EXPECT_EQ(Send(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24), CB_OKAY);
    EXPECT_EQ(ScreenRect(combo).bottom - ScreenRect(combo).top, fieldWindow + 6);
    EXPECT_EQ(Send(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0), CB_ERR);

    Fill(combo, {L"Red", L"Green", L"Blue"});
    Send(combo, CB_SETITEMDATA, 1, 0xAB);
    Send(combo, CB_SETCURSEL, 1);
    drawn.clear();
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    UiTest::Drain();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().CtlType, ODT_COMBOBOX);
    EXPECT_EQ(drawn.back().CtlID, 5u);
    EXPECT_EQ(drawn.back().itemID, 1u);
    EXPECT_EQ(drawn.back().itemData, 0xABu);
    EXPECT_EQ(drawn.back().hwndItem, combo);
    EXPECT_EQ(drawn.back().itemState, ODS_COMBOBOXEDIT);

    // Focused: the field's item is selected and has the focus; the list's
    // items come under the combo's type and id, the chosen one selected.
    drawn.clear();
    s.Click(combo, Centre(combo));
    UpdateWindow(combo);
    UpdateWindow(ListOf(combo));
    UiTest::Drain();
    bool sawField = false;
    bool sawSelectedItem = false;
    for (const DRAWITEMSTRUCT& item : drawn) {
        EXPECT_EQ(item.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(item.CtlID, 5u);
        if ((item.itemState & ODS_COMBOBOXEDIT) != 0) {
            sawField = true;
            EXPECT_EQ(item.itemState, ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS);
        } else if (item.itemID == 1) {
            sawSelectedItem = (item.itemState & ODS_SELECTED) != 0;
            EXPECT_EQ(item.hwndItem, ListOf(combo));
        }
    }
    EXPECT_TRUE(sawField);
    EXPECT_TRUE(sawSelectedItem);
    s.Key(VK_ESCAPE);

    // Disabled, the field says so.
    drawn.clear();
    EnableWindow(combo, FALSE);
    UpdateWindow(combo);
    UiTest::Drain();
    ASSERT_FALSE(drawn.empty());
    EXPECT_NE(drawn.back().itemState & ODS_DISABLED, 0u);
    EXPECT_EQ(drawn.back().itemState & ODS_FOCUS, 0u);
}

TEST(ComboBoxOwnerDraw, VariableMeasuresEachItemWithItsDataAndDeletesThroughTheParent)
{
    ControlTest::Scene s;
    ListTest::ListParent parent(s.Top());
    parent.m_measure = [](const MEASUREITEMSTRUCT& m) { return m.itemID == static_cast<UINT>(-1) ? 15u : static_cast<UINT>(m.itemData); };
    HWND combo = s.Add(L"ComboBox", L"", kDropList | CBS_OWNERDRAWVARIABLE, 10, 10, 150, 120, 5);
    ASSERT_NE(combo, nullptr);
    parent.m_asked.clear();
    Send(combo, CB_ADDSTRING, 0, 20);
    Send(combo, CB_ADDSTRING, 0, 30);
    const std::vector<ListTest::Asked> measures = parent.Of(WM_MEASUREITEM);
    ASSERT_EQ(measures.size(), 2u);
    EXPECT_EQ(measures[1].itemID, 1u);
    EXPECT_EQ(measures[1].itemData, 30u);
    EXPECT_EQ(measures[1].wParam, 5u);
    EXPECT_EQ(Send(combo, CB_GETITEMHEIGHT, 1), 30);
    EXPECT_EQ(Send(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), 30), 1) << "no strings: found by data";
    Send(combo, CB_DELETESTRING, 0);
    const std::vector<ListTest::Asked> deletes = parent.Of(WM_DELETEITEM);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].itemData, 20u);
    EXPECT_EQ(deletes[0].wParam, 5u);
}

TEST(ComboBoxColours, TheListAndTheFieldAskTheParent)
{
    ControlTest::Scene s;
    ListTest::ListParent parent(s.Top());
    HWND combo = s.Add(L"ComboBox", L"", kDropList, 10, 10, 150, 120, 5);
    Fill(combo, {L"One"});
    parent.m_asked.clear();
    Send(combo, CB_SHOWDROPDOWN, TRUE);
    UpdateWindow(ListOf(combo));
    UiTest::Drain();
    bool fromList = false;
    for (const ListTest::Asked& a : parent.Of(WM_CTLCOLORLISTBOX))
        fromList = fromList || a.wParam != 0;
    EXPECT_TRUE(fromList);
    Send(combo, CB_SHOWDROPDOWN, FALSE);
    s.Clear();
    EnableWindow(combo, FALSE);
    UpdateWindow(combo);
    UiTest::Drain();
    EXPECT_FALSE(s.Notes(WM_CTLCOLORSTATIC).empty()) << "a disabled field is coloured as static text";
    EXPECT_EQ(Send(combo, CB_SHOWDROPDOWN, TRUE), TRUE);
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE) << "a disabled combo does not drop";
}

TEST(ComboBoxDropDown, TheTemplatesScrollBarsGoToTheListNotBesideTheField)
{
    ComboDialog d(CBS_DROPDOWNLIST | WS_HSCROLL);
    HWND combo = d.Combo();
    ASSERT_NE(combo, nullptr);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(combo, GWL_STYLE));
    EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0u);
    RECT window{};
    RECT client{};
    GetWindowRect(combo, &window);
    GetClientRect(combo, &client);
    EXPECT_EQ(client.right, window.right - window.left) << "no bar beside the field";
    COMBOBOXINFO info;
    ASSERT_TRUE(Send(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)));
    const auto listStyle = static_cast<DWORD>(GetWindowLongPtrW(info.hwndList, GWL_STYLE));
    EXPECT_NE(listStyle & WS_HSCROLL, 0u) << "the list shows its vertical bar only when it has more than a page";
}
