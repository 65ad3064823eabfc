#include "ComboTestSupport.h"
#include "Platform/Controls/EditStyles.h"

using namespace ComboTest;
using UiTest::kAlt;

namespace {

HWND EditOf(HWND combo)
{
    COMBOBOXINFO info;
    SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info.hwndItem;
}

std::pair<DWORD, DWORD> EditSel(HWND combo)
{
    DWORD start = 0;
    DWORD end = 0;
    Send(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

}

TEST(ComboBoxEdit, TypingTellsUpdateThenChangeAndAChoiceFillsTheEditSelected)
{
    ComboDialog d(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    HWND combo = d.Combo();
    ASSERT_NE(combo, nullptr);
    HWND edit = EditOf(combo);
    ASSERT_NE(edit, combo);
    ASSERT_NE(edit, nullptr);
    Fill(combo, {L"Alpha", L"Bravo", L"Charlie"});
    UiTest::CDialogDriver driver = d.Driver();
    EXPECT_EQ(GetFocus(), edit) << "the combo's focus is its edit's";
    d.m_commands.clear();

    driver.Type(L"ab");
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(TextOf(combo), L"ab");
    EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR);

    // Down in the closed combo chooses the first item, text selected.
    d.m_commands.clear();
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0);
    EXPECT_EQ(TextOf(combo), L"Alpha");
    EXPECT_EQ(EditSel(combo), (std::pair<DWORD, DWORD>{0, 5}));
    EXPECT_EQ(d.ComboCodes(), std::vector<WORD>{CBN_SELCHANGE}) << "the combo's own filling is no edit change";

    // A pick from the open list by mouse.
    d.m_commands.clear();
    RECT client{};
    GetClientRect(combo, &client);
    driver.Click(kComboId, {client.right - 5, client.bottom / 2});
    driver.PumpUntilIdle();
    ASSERT_EQ(Send(combo, CB_GETDROPPEDSTATE), TRUE) << "the button drops the list";
    HWND list = ListOf(combo);
    POINT item = ListTest::ItemPoint(list, 2);
    ClientToScreen(list, &item);
    UiTest::Headless().InjectMouseMove(item);
    driver.PumpUntilIdle();
    Platform::Clock::Advance(GetDoubleClickTime() + 1);
    UiTest::CDialogDriver::ClickAt(item);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(TextOf(combo), L"Charlie");
    EXPECT_EQ(EditSel(combo), (std::pair<DWORD, DWORD>{0, 7}));

    // Esc in the open list puts the text back as it was, and the dialog stays.
    d.m_commands.clear();
    driver.Press(VK_DOWN, kAlt);
    driver.PumpUntilIdle();
    driver.Press(VK_UP);
    driver.PumpUntilIdle();
    EXPECT_EQ(TextOf(combo), L"Bravo");
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(TextOf(combo), L"Charlie");
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_SELCHANGE, CBN_CLOSEUP}));
    EXPECT_TRUE(d.DialogCommands().empty());
    driver.Press(VK_RETURN);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.DialogCommands(), std::vector<int>{IDOK}) << "closed, Enter is the dialog's";
}

TEST(ComboBoxEdit, LimitSelectionAndTextGoThroughTheEdit)
{
    ComboDialog d(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    HWND combo = d.Combo();
    Fill(combo, {L"Alpha", L"Bravo"});
    UiTest::CDialogDriver driver = d.Driver();
    EXPECT_EQ(Send(combo, CB_LIMITTEXT, 4), TRUE);
    d.m_commands.clear();
    driver.Type(L"abcdef");
    driver.PumpUntilIdle();
    EXPECT_EQ(TextOf(combo), L"abcd");

    EXPECT_EQ(Send(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3)), TRUE);
    EXPECT_EQ(EditSel(combo), (std::pair<DWORD, DWORD>{1, 3}));
    EXPECT_EQ(Send(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, static_cast<WORD>(-1))), TRUE);
    EXPECT_EQ(EditSel(combo), (std::pair<DWORD, DWORD>{0, 4})) << "-1 selects to the end";

    // Text set from outside chooses the item of that text and tells no edit change.
    d.m_commands.clear();
    EXPECT_EQ(SetWindowTextW(combo, L"bravo"), TRUE);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 1);
    EXPECT_EQ(Send(combo, CB_SETCURSEL, 0), 0);
    EXPECT_EQ(TextOf(combo), L"Alpha");
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_EQ(TextOf(combo), L"");
    EXPECT_TRUE(d.ComboCodes().empty());
}

TEST(ComboBoxEdit, FocusIsTheWholeCombosAndTheEditsColoursReachTheParent)
{
    ComboDialog d(CBS_DROPDOWN);
    HWND combo = d.Combo();
    UiTest::CDialogDriver driver = d.Driver();
    SetFocus(GetDlgItem(d.Dialog(), IDOK));
    driver.PumpUntilIdle();
    d.m_commands.clear();
    SetFocus(combo);
    driver.PumpUntilIdle();
    EXPECT_EQ(GetFocus(), EditOf(combo));
    SetFocus(GetDlgItem(d.Dialog(), IDOK));
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_SETFOCUS, CBN_KILLFOCUS}));

    ControlTest::Scene s;
    ListTest::ListParent parent(s.Top());
    HWND other = s.Add(L"ComboBox", L"", CBS_DROPDOWN, 10, 10, 150, 100, 5);
    s.Clear();
    EnableWindow(other, FALSE);
    UpdateWindow(EditOf(other));
    UiTest::Drain();
    bool fromEdit = false;
    for (const ControlTest::Note& n : s.Notes(WM_CTLCOLORSTATIC))
        fromEdit = fromEdit || n.id == 1001;
    EXPECT_TRUE(fromEdit) << "a disabled edit asks the combo's parent for static colours";
}

TEST(ComboBoxSimple, TheListStaysShownAndClicksAndKeysFillTheEdit)
{
    ComboDialog d(CBS_SIMPLE | CBS_AUTOHSCROLL);
    HWND combo = d.Combo();
    ASSERT_NE(combo, nullptr);
    Fill(combo, {L"Alpha", L"Bravo", L"Charlie"});
    HWND list = ListOf(combo);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetParent(list), combo);
    RECT template60{7, 7, 107, 67};
    MapDialogRect(d.Dialog(), &template60);
    EXPECT_EQ(ScreenRect(combo).bottom - ScreenRect(combo).top, template60.bottom - template60.top)
        << "a simple combo keeps its height";
    EXPECT_GE(ScreenRect(list).top, ScreenRect(EditOf(combo)).bottom);
    EXPECT_EQ(Send(combo, CB_SHOWDROPDOWN, TRUE), TRUE);
    EXPECT_EQ(Send(combo, CB_GETDROPPEDSTATE), FALSE) << "nothing drops";

    UiTest::CDialogDriver driver = d.Driver();
    d.m_commands.clear();
    POINT item = ListTest::ItemPoint(list, 1);
    ClientToScreen(list, &item);
    Platform::Clock::Advance(GetDoubleClickTime() + 1);
    UiTest::CDialogDriver::ClickAt(item);
    driver.PumpUntilIdle();
    UiTest::CDialogDriver::ClickAt(item);
    driver.PumpUntilIdle();
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_SELCHANGE, CBN_DBLCLK}));
    EXPECT_EQ(TextOf(combo), L"Bravo");
    EXPECT_EQ(GetFocus(), EditOf(combo));

    d.m_commands.clear();
    driver.Press(VK_DOWN);
    driver.PumpUntilIdle();
    EXPECT_EQ(TextOf(combo), L"Charlie");
    driver.Type(L"x");
    driver.PumpUntilIdle();
    EXPECT_EQ(TextOf(combo), L"x");
    EXPECT_EQ(Send(combo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(d.ComboCodes(), (std::vector<WORD>{CBN_SELCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
}

TEST(ComboBoxEdit, TabFromTheEditMovesOnFromTheCombo)
{
    ComboDialog d(CBS_DROPDOWN);
    HWND combo = d.Combo();
    UiTest::CDialogDriver driver = d.Driver();
    SetFocus(combo);
    driver.PumpUntilIdle();
    ASSERT_EQ(GetFocus(), EditOf(combo));
    driver.Press(VK_TAB);
    driver.PumpUntilIdle();
    EXPECT_EQ(GetFocus(), GetDlgItem(d.Dialog(), IDOK)) << "the edit stands where its combo stands";
    driver.Press(VK_TAB, UiTest::kShift);
    driver.PumpUntilIdle();
    EXPECT_EQ(GetFocus(), EditOf(combo));
    driver.Press(VK_TAB, UiTest::kShift);
    driver.PumpUntilIdle();
    EXPECT_EQ(GetFocus(), GetDlgItem(d.Dialog(), IDCANCEL)) << "backwards from the combo wraps to the last";
}
