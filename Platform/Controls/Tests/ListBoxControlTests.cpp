#include "ListTestSupport.h"

using namespace ControlTest;
using namespace ListTest;

namespace {

constexpr DWORD kPlain = WS_BORDER | WS_VSCROLL | LBS_NOTIFY;

HWND AddList(Scene& s, DWORD style, int height = 100, int id = 7)
{
    return s.Add(L"ListBox", L"", style, 10, 10, 150, height, id);
}

void FillNumbered(HWND list, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::wstring text = L"Item " + std::to_wstring(i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    UiTest::Drain();
}

int ClientHeight(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    return r.bottom;
}


}

TEST(ListBoxSelection, SingleSelectionNotifiesForTheUserOnly)
{
    Scene s;
    HWND list = AddList(s, kPlain);
    FillNumbered(list, 10);
    EXPECT_EQ(Send(list, LB_SETCURSEL, 2), 2);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty()) << "LB_SETCURSEL tells nobody";

    s.Click(list, ItemPoint(list, 4));
    EXPECT_EQ(s.Codes(WM_COMMAND), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4);
    EXPECT_EQ(Send(list, LB_GETCARETINDEX), 4);

    // The same item again changes nothing and says nothing.
    s.Clear();
    s.Click(list, ItemPoint(list, 4));
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());

    s.Key(VK_DOWN);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 5);
    s.Key(VK_HOME);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 0);
    s.Key(VK_UP);  // already at the top: nothing to tell
    EXPECT_EQ(s.Codes(WM_COMMAND), (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE}));

    s.Clear();
    s.DoubleClick(list, ItemPoint(list, 1));
    EXPECT_EQ(s.Codes(WM_COMMAND), (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK}));

    // -1 clears and answers LB_ERR; a bad index is refused.
    EXPECT_EQ(Send(list, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(Send(list, LB_SETCURSEL, 10), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETSELCOUNT), LB_ERR) << "single selection has no count";
    EXPECT_EQ(Send(list, LB_SETSEL, TRUE, 1), LB_ERR);
}

TEST(ListBoxSelection, WithoutNotifyStyleTheParentHearsOnlyFocus)
{
    Scene s;
    HWND list = AddList(s, WS_BORDER);
    FillNumbered(list, 5);
    s.Click(list, ItemPoint(list, 2));
    s.Key(VK_DOWN);
    s.DoubleClick(list, ItemPoint(list, 0));
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{LBN_SETFOCUS});
    EXPECT_EQ(Send(list, LB_GETCURSEL), 0);
    SetFocus(s.Top());
    UiTest::Drain();
    EXPECT_EQ(s.Codes(WM_COMMAND).back(), LBN_KILLFOCUS);
}

TEST(ListBoxSelection, ExtendedSelectionWithShiftAndCtrl)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_EXTENDEDSEL, 150);
    FillNumbered(list, 8);
    s.Click(list, ItemPoint(list, 1));
    {
        HeldKey shift(VK_SHIFT);
        s.Click(list, ItemPoint(list, 4));
    }
    EXPECT_EQ(Selection(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Send(list, LB_GETANCHORINDEX), 1);
    EXPECT_EQ(Send(list, LB_GETCARETINDEX), 4);
    {
        HeldKey control(VK_CONTROL);
        s.Click(list, ItemPoint(list, 2));
        s.Click(list, ItemPoint(list, 6));
    }
    EXPECT_EQ(Selection(list), (std::vector<int>{1, 3, 4, 6}));
    // Shift+Down runs from the anchor (the last Ctrl click) to the caret.
    {
        HeldKey shift(VK_SHIFT);
        s.Key(VK_DOWN);
    }
    EXPECT_EQ(Selection(list), (std::vector<int>{6, 7}));
    // Ctrl+arrow moves only the caret, Ctrl+Space toggles there.
    {
        HeldKey control(VK_CONTROL);
        s.Key(VK_UP);
        s.Key(VK_UP);
        s.Key(VK_SPACE);
    }
    EXPECT_EQ(Selection(list), (std::vector<int>{5, 6, 7}));
    // A plain arrow selects just the item it reaches.
    s.Key(VK_HOME);
    EXPECT_EQ(Selection(list), std::vector<int>{0});
    EXPECT_EQ(Send(list, LB_GETSELCOUNT), 1);
}

TEST(ListBoxSelection, MultipleSelectionTogglesByClickAndSpace)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_MULTIPLESEL);
    FillNumbered(list, 6);
    s.Click(list, ItemPoint(list, 1));
    s.Click(list, ItemPoint(list, 3));
    EXPECT_EQ(Selection(list), (std::vector<int>{1, 3}));
    s.Click(list, ItemPoint(list, 1));
    EXPECT_EQ(Selection(list), std::vector<int>{3});
    s.Clear();
    s.Key(VK_DOWN);  // the caret moves, the selection stays
    EXPECT_EQ(Selection(list), std::vector<int>{3});
    EXPECT_EQ(Send(list, LB_GETCARETINDEX), 2);
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());
    s.Key(VK_SPACE);
    EXPECT_EQ(Selection(list), (std::vector<int>{2, 3}));
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{LBN_SELCHANGE});

    // The range messages, LB_SELITEMRANGEEX backwards clears.
    EXPECT_EQ(Send(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 5)), LB_OKAY);
    EXPECT_EQ(Send(list, LB_GETSELCOUNT), 6);
    EXPECT_EQ(Send(list, LB_SELITEMRANGEEX, 4, 1), LB_OKAY);
    EXPECT_EQ(Selection(list), (std::vector<int>{0, 5}));
    EXPECT_EQ(Send(list, LB_SETSEL, FALSE, -1), LB_OKAY);
    EXPECT_TRUE(Selection(list).empty());
    EXPECT_EQ(Send(list, LB_GETSEL, 9), LB_ERR);
    EXPECT_EQ(Send(list, LB_SETCURSEL, 1), LB_ERR) << "LB_SETCURSEL is for single selection";
}

TEST(ListBoxSelection, NoSelStyleKeepsNothingSelected)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_NOSEL);
    FillNumbered(list, 4);
    s.Click(list, ItemPoint(list, 2));
    s.Key(VK_DOWN);
    EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{LBN_SETFOCUS});
}

TEST(ListBoxMouse, DragFollowsUnderCaptureAndScrollsOnTheClock)
{
    Scene s;
    HWND list = AddList(s, kPlain, 80);
    FillNumbered(list, 20);
    const int visible = ClientHeight(list) / static_cast<int>(Send(list, LB_GETITEMHEIGHT));
    s.Press(list, ItemPoint(list, 0));
    EXPECT_EQ(GetCapture(), list);
    s.Move(list, ItemPoint(list, 2));
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
    // Below the bottom edge the list scrolls while the pointer stays there.
    s.Move(list, {10, ClientHeight(list) + 20});
    s.Wait(500);
    const int top = static_cast<int>(Send(list, LB_GETTOPINDEX));
    EXPECT_GT(top, 0);
    const int selected = static_cast<int>(Send(list, LB_GETCURSEL));
    EXPECT_GE(selected, visible);
    EXPECT_LT(selected, top + visible + 1) << "the selection stays in view";
    s.Release(list, {10, ClientHeight(list) + 20});
    EXPECT_EQ(GetCapture(), nullptr);
    s.Wait(300);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), top) << "no scrolling after the release";
    std::vector<WORD> codes = s.Codes(WM_COMMAND);
    EXPECT_GE(std::count(codes.begin(), codes.end(), LBN_SELCHANGE), 3);
}

TEST(ListBoxMouse, ExtendedDragSelectsTheRange)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_EXTENDEDSEL, 150);
    FillNumbered(list, 8);
    s.Press(list, ItemPoint(list, 2));
    s.Move(list, ItemPoint(list, 5));
    s.Move(list, ItemPoint(list, 4));
    s.Release(list, ItemPoint(list, 4));
    EXPECT_EQ(Selection(list), (std::vector<int>{2, 3, 4}));
}

TEST(ListBoxScrolling, KeysKeepTheCaretInViewAndTheBarFollows)
{
    Scene s;
    HWND list = AddList(s, kPlain, 80);
    FillNumbered(list, 30);
    const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT));
    EXPECT_EQ(ClientHeight(list) % height, 0) << "integral height";
    const int visible = ClientHeight(list) / height;
    SetFocus(list);
    for (int i = 0; i < visible + 2; ++i)
        s.Key(VK_DOWN);
    EXPECT_EQ(Send(list, LB_GETCURSEL), visible + 2);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 3);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 3);
    s.Key(VK_END);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 30 - visible);
    s.Key(VK_PRIOR);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 29 - (visible - 1));
    s.Key(VK_HOME);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 0);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 29);
    EXPECT_EQ(info.nPage, static_cast<UINT>(visible));

    // The list's own bar: its down arrow scrolls one item.
    ClickDownArrow(list);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 1);
    POINT middle{40, 30};
    ClientToScreen(list, &middle);
    s.Display().InjectWheel(-WHEEL_DELTA, middle);
    UiTest::Drain();
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 4) << "three items a notch";
    EXPECT_EQ(Send(list, LB_SETTOPINDEX, 100), LB_ERR);
    EXPECT_EQ(Send(list, LB_SETTOPINDEX, 29), LB_OKAY);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 30 - visible) << "the last page stays full";
}

TEST(ListBoxScrolling, TheBarGoesAwayOrStaysDisabledWhenAllFits)
{
    Scene s;
    HWND plain = AddList(s, kPlain, 80, 1);
    HWND keep = s.Add(L"ListBox", L"", kPlain | LBS_DISABLENOSCROLL, 170, 10, 120, 80, 2);
    FillNumbered(plain, 2);
    FillNumbered(keep, 2);
    EXPECT_EQ(GetWindowLongPtrW(plain, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_NE(GetWindowLongPtrW(keep, GWL_STYLE) & WS_VSCROLL, 0);
    FillNumbered(plain, 20);
    EXPECT_NE(GetWindowLongPtrW(plain, GWL_STYLE) & WS_VSCROLL, 0) << "back when there is more than fits";
    Send(plain, LB_RESETCONTENT);
    EXPECT_EQ(GetWindowLongPtrW(plain, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST(ListBoxItems, SortedInsertionAndTheStringMessagesAtTheirEdges)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_SORT);
    Fill(list, {L"banana", L"Apple", L"cherry", L"apple"});
    EXPECT_EQ(Texts(list), (std::vector<std::wstring>{L"Apple", L"apple", L"banana", L"cherry"}))
        << "case folded, equal ones in the order they came";
    EXPECT_EQ(Send(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"zebra")), 0) << "insertion ignores the order";
    EXPECT_EQ(Send(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"end")), 5);
    EXPECT_EQ(Send(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(L"x")), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETTEXTLEN, 3), 6);
    EXPECT_EQ(Send(list, LB_GETTEXTLEN, 6), LB_ERR);
    wchar_t buffer[16] = L"unchanged";
    EXPECT_EQ(Send(list, LB_GETTEXT, 6, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
    EXPECT_STREQ(buffer, L"unchanged");
    EXPECT_EQ(Send(list, LB_DELETESTRING, 0), 5) << "the count that is left";
    EXPECT_EQ(Send(list, LB_DELETESTRING, 5), LB_ERR);
    EXPECT_EQ(Send(list, LB_SETITEMDATA, 2, 77), TRUE);
    EXPECT_EQ(Send(list, LB_GETITEMDATA, 2), 77);
    EXPECT_EQ(Send(list, LB_GETITEMDATA, 9), LB_ERR);
}

TEST(ListBoxItems, FindRulesPrefixWrapExactAndEmpty)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_SORT);
    Fill(list, {L"banana", L"Apple", L"cherry", L"apple", L"Cherry pie"});
    const auto find = [list](UINT message, int start, LPCWSTR text) {
        return Send(list, message, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, L"CH"), 3);
    EXPECT_EQ(find(LB_FINDSTRING, 3, L"ch"), 4) << "the search starts after the start index";
    EXPECT_EQ(find(LB_FINDSTRING, 4, L"ch"), 3) << "and wraps round";
    EXPECT_EQ(find(LB_FINDSTRING, 2, L"banana"), 2) << "back to the start item itself";
    EXPECT_EQ(find(LB_FINDSTRING, -1, L"bananas"), LB_ERR);
    EXPECT_EQ(find(LB_FINDSTRING, -1, L""), 0) << "the empty prefix fits everything";
    EXPECT_EQ(find(LB_FINDSTRING, 0, L""), 1);
    EXPECT_EQ(find(LB_FINDSTRING, 42, L"b"), 2) << "a start beyond the end searches from the top";
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, L"APPLE"), 0);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, 0, L"APPLE"), 1);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, L"cherry"), 3);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, L"app"), LB_ERR);
    EXPECT_EQ(find(LB_FINDSTRING, -1, nullptr), LB_ERR);

    EXPECT_EQ(find(LB_SELECTSTRING, -1, L"cherry p"), 4);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, L"durian"), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4) << "a failed select keeps the selection";
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty());
}

TEST(ListBoxItems, StorageAndGeometryMessages)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_NOINTEGRALHEIGHT, 95);
    EXPECT_EQ(ClientHeight(list), 93) << "no integral height asked for";
    EXPECT_EQ(Send(list, LB_INITSTORAGE, 100, 4000), 100);
    EXPECT_EQ(Send(list, LB_INITSTORAGE, static_cast<WPARAM>(-1) / 2, 0), LB_ERRSPACE);
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>{LBN_ERRSPACE});
    FillNumbered(list, 12);
    EXPECT_EQ(Send(list, LB_SETITEMHEIGHT, 0, 20), LB_OKAY);
    EXPECT_EQ(Send(list, LB_SETITEMHEIGHT, 0, 0), LB_ERR);
    EXPECT_EQ(Send(list, LB_SETITEMHEIGHT, 0, 300), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETITEMHEIGHT), 20);
    Send(list, LB_SETTOPINDEX, 2);
    RECT r{};
    EXPECT_EQ(Send(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r)), TRUE);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom, 40);
    EXPECT_EQ(Send(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)), TRUE);
    EXPECT_EQ(r.top, -40) << "items above the top lie above the client area";
    EXPECT_EQ(Send(list, LB_GETITEMRECT, 12, reinterpret_cast<LPARAM>(&r)), LB_ERR);
    EXPECT_EQ(Send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 45)), MAKELRESULT(4, 0));
    Send(list, LB_SETTOPINDEX, 0);
    Send(list, LB_DELETESTRING, 11);
    Send(list, LB_DELETESTRING, 10);
    Send(list, LB_SETTOPINDEX, 6);
    EXPECT_EQ(Send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 90)), MAKELRESULT(9, 1)) << "beyond the last item: the last, outside";
    EXPECT_EQ(Send(list, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST(ListBoxKeyboard, TypeAheadByFirstLetterAndByPrefixWithinTheTimeOut)
{
    Scene s;
    HWND list = AddList(s, kPlain | LBS_SORT, 150);
    Fill(list, {L"apple", L"banana", L"blueberry", L"cherry", L"bongo", L"Boysenberry"});
    // apple, banana, blueberry, bongo, Boysenberry, cherry
    SetFocus(list);
    UiTest::Drain();
    s.Clear();
    Type(L"b");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 1);
    s.Wait(GetDoubleClickTime() * 4 + 100);
    Type(L"b");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2) << "the same letter again goes to the next";
    Type(L"B");
    Type(L"b");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4);
    Type(L"b");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 1) << "round to the first";
    EXPECT_EQ(s.Codes(WM_COMMAND), std::vector<WORD>(5, LBN_SELCHANGE));

    // Letters in quick succession make a prefix, looked for from the caret on.
    s.Wait(GetDoubleClickTime() * 4 + 100);
    Type(L"bo");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 3);
    Type(L"y");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4);
    Type(L"x");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4) << "no item starts with boyx";
    // After the time-out a letter starts afresh.
    s.Wait(GetDoubleClickTime() * 4 + 100);
    Type(L"c");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 5);
}

TEST(ListBoxKeyboard, WantKeyboardInputAsksTheParentFirst)
{
    Scene s;
    ListParent parent(s.Top());
    HWND list = AddList(s, kPlain | LBS_WANTKEYBOARDINPUT, 150);
    FillNumbered(list, 8);
    Send(list, LB_SETCURSEL, 2);
    SetFocus(list);
    UiTest::Drain();
    parent.m_vkeyAnswer = -2;
    s.Key(VK_DOWN);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2) << "-2: the parent did it all";
    ASSERT_EQ(parent.Of(WM_VKEYTOITEM).size(), 1u);
    EXPECT_EQ(parent.Of(WM_VKEYTOITEM)[0].wParam, MAKEWPARAM(VK_DOWN, 2));
    parent.m_vkeyAnswer = 5;
    s.Key(VK_DOWN);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 6) << "the key acts from the item the parent named";
    parent.m_vkeyAnswer = -1;
    s.Key(VK_UP);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 5);
    EXPECT_TRUE(parent.Of(WM_CHARTOITEM).empty()) << "a list with strings does its own type-ahead";
}

TEST(ListBoxKeyboard, OwnerDrawWithoutStringsAsksForCharacters)
{
    Scene s;
    ListParent parent(s.Top());
    HWND list = AddList(s, kPlain | LBS_OWNERDRAWFIXED | LBS_WANTKEYBOARDINPUT, 150);
    for (LPARAM data : {10, 20, 30})
        Send(list, LB_ADDSTRING, 0, data);
    SetFocus(list);
    UiTest::Drain();
    parent.m_charAnswer = 2;
    Type(L"q");
    ASSERT_EQ(parent.Of(WM_CHARTOITEM).size(), 1u);
    EXPECT_EQ(LOWORD(parent.Of(WM_CHARTOITEM)[0].wParam), L'q');
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
    EXPECT_EQ(Send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 1) << "without strings, find compares the data";
}

TEST(ListBoxOwnerDraw, FixedMeasuresOnceAndDrawsWithTheItemStates)
{
    Scene s;
    ListParent parent(s.Top());
    parent.m_measuredHeight = 18;
    HWND list = AddList(s, kPlain | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 100);
    ASSERT_EQ(parent.Of(WM_MEASUREITEM).size(), 1u);
    EXPECT_EQ(parent.Of(WM_MEASUREITEM)[0].itemID, 0u);
    EXPECT_EQ(Send(list, LB_GETITEMHEIGHT), 18);
    EXPECT_EQ(ClientHeight(list) % 18, 0);
    Fill(list, {L"one", L"two", L"three"});
    EXPECT_EQ(parent.Of(WM_MEASUREITEM).size(), 1u) << "fixed items are not measured one by one";
    UpdateWindow(s.Top());
    UiTest::Drain();
    std::vector<Note> draws = s.Notes(WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 3u);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        EXPECT_EQ(draws[i].item.CtlType, ODT_LISTBOX);
        EXPECT_EQ(draws[i].item.itemID, i);
        EXPECT_EQ(draws[i].item.itemAction, ODA_DRAWENTIRE);
        EXPECT_EQ(draws[i].item.itemState, 0u);
        EXPECT_EQ(draws[i].item.rcItem.top, static_cast<LONG>(18 * i));
    }

    // A click: the focus comes to the caret item, then the selection moves.
    s.Clear();
    s.Click(list, ItemPoint(list, 1));
    draws = s.Notes(WM_DRAWITEM);
    ASSERT_GE(draws.size(), 2u);
    EXPECT_EQ(draws[0].item.itemAction, ODA_FOCUS);
    EXPECT_EQ(draws[0].item.itemState, ODS_FOCUS);
    EXPECT_EQ(draws[0].item.itemID, 0u);
    const Note& select = draws[1];
    EXPECT_EQ(select.item.itemAction, ODA_SELECT);
    EXPECT_EQ(select.item.itemID, 1u);
    EXPECT_EQ(select.item.itemState, ODS_SELECTED);
    EXPECT_EQ(draws.back().item.itemID, 1u);
    EXPECT_EQ(draws.back().item.itemState, ODS_SELECTED | ODS_FOCUS);

    s.Clear();
    s.Key(VK_DOWN);
    draws = s.Notes(WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].item.itemAction, ODA_SELECT);  // 1 loses the selection
    EXPECT_EQ(draws[0].item.itemState, ODS_FOCUS);
    EXPECT_EQ(draws[1].item.itemID, 2u);               // 2 gains it
    EXPECT_EQ(draws[1].item.itemState, ODS_SELECTED);
    EXPECT_EQ(draws[2].item.itemAction, ODA_FOCUS);    // the focus leaves 1 ...
    EXPECT_EQ(draws[2].item.itemState, 0u);
    EXPECT_EQ(draws[3].item.itemState, ODS_SELECTED | ODS_FOCUS);  // ... for 2

    s.Clear();
    EnableWindow(list, FALSE);
    UpdateWindow(s.Top());
    UiTest::Drain();
    draws.clear();
    for (const Note& n : s.Notes(WM_DRAWITEM))
        if (n.item.itemAction == ODA_DRAWENTIRE)
            draws.push_back(n);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[2].item.itemState, ODS_SELECTED | ODS_DISABLED) << "a disabled window has no focus";
}

TEST(ListBoxOwnerDraw, VariableMeasuresEachItemAndLaysThemOut)
{
    Scene s;
    ListParent parent(s.Top());
    parent.m_measure = [](const MEASUREITEMSTRUCT& m) { return static_cast<UINT>(10 + 5 * m.itemID); };
    HWND list = AddList(s, kPlain | LBS_OWNERDRAWVARIABLE, 100);
    EXPECT_TRUE(parent.Of(WM_MEASUREITEM).empty());
    for (LPARAM data : {100, 200, 300, 400, 500, 600})
        Send(list, LB_ADDSTRING, 0, data);
    const std::vector<Asked> measured = parent.Of(WM_MEASUREITEM);
    ASSERT_EQ(measured.size(), 6u);
    EXPECT_EQ(measured[3].itemID, 3u);
    EXPECT_EQ(measured[3].itemData, 400u);
    EXPECT_EQ(Send(list, LB_GETITEMHEIGHT, 3), 25);
    RECT r{};
    Send(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 10 + 15 + 20);
    EXPECT_EQ(r.bottom, 10 + 15 + 20 + 25);
    SetFocus(list);
    s.Key(VK_END);
    // Items 4 and 5 (30 and 35 pixels) and what fits before them.
    const int top = static_cast<int>(Send(list, LB_GETTOPINDEX));
    Send(list, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.bottom, ClientHeight(list));
    Send(list, LB_GETITEMRECT, static_cast<WPARAM>(top - 1), reinterpret_cast<LPARAM>(&r));
    EXPECT_LT(r.top, 0);
    EXPECT_EQ(Send(list, LB_SETITEMHEIGHT, 9, 20), LB_ERR);
}

TEST(ListBoxOwnerDraw, SortedWithoutStringsComparesAndDeletesThroughTheParent)
{
    Scene s;
    ListParent parent(s.Top());
    HWND list = AddList(s, kPlain | LBS_OWNERDRAWFIXED | LBS_SORT, 100);
    for (LPARAM data : {30, 10, 20, 10})
        Send(list, LB_ADDSTRING, 0, data);
    ASSERT_FALSE(parent.m_compared.empty());
    for (const auto& [first, second] : parent.m_compared) {
        EXPECT_EQ(first, static_cast<UINT>(-1)) << "the new item has no index yet";
        EXPECT_LT(second, 4u) << "the other is an item in the list";
    }
    std::vector<LRESULT> order;
    for (WPARAM i = 0; i < 4; ++i)
        order.push_back(Send(list, LB_GETITEMDATA, i));
    EXPECT_EQ(order, (std::vector<LRESULT>{10, 10, 20, 30}));
    ULONG_PTR data = 0;
    EXPECT_EQ(Send(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(&data)), static_cast<LRESULT>(sizeof(ULONG_PTR)));
    EXPECT_EQ(data, 20u) << "the text of an item without strings is its data";

    Send(list, LB_DELETESTRING, 2);
    ASSERT_EQ(parent.Of(WM_DELETEITEM).size(), 1u);
    EXPECT_EQ(parent.Of(WM_DELETEITEM)[0].itemID, 2u);
    EXPECT_EQ(parent.Of(WM_DELETEITEM)[0].itemData, 20u);
    Send(list, LB_RESETCONTENT);
    EXPECT_EQ(parent.Of(WM_DELETEITEM).size(), 4u);
    Send(list, LB_ADDSTRING, 0, 99);
    DestroyWindow(list);
    EXPECT_EQ(parent.Of(WM_DELETEITEM).size(), 5u) << "destroying the list lets go of its items too";
}

TEST(ListBoxOwnerDraw, PlainItemsReportDeletionOnlyWhenTheyCarryData)
{
    Scene s;
    ListParent parent(s.Top());
    HWND list = AddList(s, kPlain);
    Fill(list, {L"a", L"b"});
    Send(list, LB_SETITEMDATA, 1, 5);
    Send(list, LB_RESETCONTENT);
    ASSERT_EQ(parent.Of(WM_DELETEITEM).size(), 1u);
    EXPECT_EQ(parent.Of(WM_DELETEITEM)[0].itemData, 5u);
}

TEST(ListBoxDrawing, SetRedrawHoldsThePaintingBack)
{
    Scene s;
    ListParent parent(s.Top());
    HWND list = AddList(s, kPlain | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    Send(list, WM_SETREDRAW, FALSE);
    Fill(list, {L"a", L"b", L"c"});
    Send(list, LB_SETCURSEL, 1);
    UpdateWindow(s.Top());
    UiTest::Drain();
    EXPECT_TRUE(s.Notes(WM_DRAWITEM).empty());
    Send(list, WM_SETREDRAW, TRUE);
    UpdateWindow(s.Top());
    UiTest::Drain();
    EXPECT_EQ(s.Notes(WM_DRAWITEM).size(), 3u);
    EXPECT_FALSE(parent.Of(WM_CTLCOLORLISTBOX).empty()) << "the parent chooses the colours";
}

TEST(ListBoxDrawing, TabStopsOnlyWithTheirStyle)
{
    Scene s;
    HWND plain = AddList(s, kPlain, 60, 1);
    HWND tabbed = s.Add(L"ListBox", L"", kPlain | LBS_USETABSTOPS, 170, 10, 140, 60, 2);
    const int stops[] = {40, 80};
    EXPECT_EQ(Send(plain, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)), FALSE);
    EXPECT_EQ(Send(tabbed, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)), TRUE);
    EXPECT_EQ(Send(tabbed, LB_SETTABSTOPS, 2, 0), FALSE);
    EXPECT_EQ(Send(tabbed, LB_SETTABSTOPS, 0, 0), TRUE);
}

TEST(ListBoxDrawing, SetFontTakesTheFontsHeight)
{
    Scene s;
    HWND list = AddList(s, kPlain, 120);
    LOGFONTW big{};
    big.lfHeight = -24;
    wcscpy(big.lfFaceName, L"DejaVu Sans");
    HFONT font = CreateFontIndirectW(&big);
    const LRESULT before = Send(list, LB_GETITEMHEIGHT);
    Send(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const LRESULT after = Send(list, LB_GETITEMHEIGHT);
    EXPECT_GT(after, before);
    EXPECT_EQ(ClientHeight(list) % after, 0);
    EXPECT_EQ(Send(list, WM_GETFONT), reinterpret_cast<LRESULT>(font));
    DestroyWindow(list);
    DeleteObject(font);
}

TEST(ListBoxDropDown, FollowsThePointerPicksAndCancelsForItsCombo)
{
    Scene s;
    UiTest::Handler combo;
    UiTest::WindowGuard comboWindow{UiTest::Create(&combo, WS_CHILD | WS_VISIBLE, 10, 10, 120, 22, s.Top(), 3)};
    RECT below{Scene::kOrigin.x + 10, Scene::kOrigin.y + 32, Scene::kOrigin.x + 130, Scene::kOrigin.y + 112};
    HWND list = ZELL::Controls::CreateComboList(comboWindow.hwnd, WS_VSCROLL, below);
    ASSERT_NE(list, nullptr);
    FillNumbered(list, 10);
    ShowWindow(list, SW_SHOWNA);
    UiTest::Drain();
    const auto codes = [&combo] {
        std::vector<WORD> result;
        for (const UiTest::Record& r : combo.Of(WM_COMMAND))
            result.push_back(HIWORD(r.wParam));
        return result;
    };
    EXPECT_EQ(Send(list, ZELL::Controls::LBCB_STARTTRACK, TRUE), TRUE);
    EXPECT_EQ(GetCapture(), list);
    s.Move(list, ItemPoint(list, 2));
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2) << "hovering selects without a click";
    s.Move(list, ItemPoint(list, 3));
    // Released over the combo (where the press began): the list goes on following.
    s.Release(comboWindow.hwnd, {5, 5});
    EXPECT_EQ(GetCapture(), list);
    s.Press(list, ItemPoint(list, 4));
    s.Release(list, ItemPoint(list, 4));
    EXPECT_EQ(codes(), (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, ZELL::Controls::kListPicked}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(GetFocus(), list) << "the combo keeps the focus";
    EXPECT_TRUE(s.Codes(WM_COMMAND).empty()) << "nothing reaches the dialog directly";

    // A press on the list's own bar scrolls it and leaves it tracking.
    combo.Clear();
    Send(list, ZELL::Controls::LBCB_STARTTRACK, FALSE);
    ClickDownArrow(list);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 1);
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(GetCapture(), list);
    s.Press(s.Top(), {300, 180});
    EXPECT_EQ(codes(), std::vector<WORD>{LBN_SELCANCEL});
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 4);
    s.Release(s.Top(), {300, 180});
    DestroyWindow(list);
}

TEST(ListBoxDrawing, PrintClientDrawsTheSelectionIntoAnyContext)
{
    Scene s;
    HWND list = AddList(s, kPlain, 100);
    FillNumbered(list, 3);
    Send(list, LB_SETCURSEL, 1);
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = SolidBitmap(150, 100, RGB(1, 2, 3));
    const HGDIOBJ old = SelectObject(memory, bitmap);
    Send(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const POINT inside = ItemPoint(list, 1);
    EXPECT_EQ(GetPixel(memory, 100, inside.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(memory, 100, ItemPoint(list, 2).y), GetSysColor(COLOR_WINDOW));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// --- golden pictures ------------------------------------------------------------

TEST(ListBoxGolden, PlainSelectedFocusedDisabledAndOwnerDrawn)
{
    Scene s(520, 130);
    HWND plain = s.Add(L"ListBox", L"", WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS, 10, 10, 120, 100, 1);
    Fill(plain, {L"Alpha\t1", L"Beta\t22", L"Gamma\t333"});
    HWND focused = s.Add(L"ListBox", L"", kPlain | LBS_EXTENDEDSEL, 135, 10, 120, 100, 2);
    FillNumbered(focused, 12);
    Send(focused, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 2));
    Send(focused, LB_SETCARETINDEX, 4);
    SetFocus(focused);
    HWND disabled = s.Add(L"ListBox", L"", kPlain | WS_DISABLED, 260, 10, 120, 100, 3);
    Fill(disabled, {L"Off", L"Greyed"});
    Send(disabled, LB_SETCURSEL, 1);
    s.m_drawItem = [](const DRAWITEMSTRUCT& d) {
        const bool selected = (d.itemState & ODS_SELECTED) != 0;
        HBRUSH fill = CreateSolidBrush(selected ? RGB(0, 96, 0) : RGB(224, 240, 224));
        FillRect(d.hDC, &d.rcItem, fill);
        DeleteObject(fill);
        RECT swatch{d.rcItem.left + 3, d.rcItem.top + 3, d.rcItem.left + 15, d.rcItem.bottom - 3};
        HBRUSH color = CreateSolidBrush(RGB(static_cast<int>(d.itemData) * 60, 0, 200));
        FillRect(d.hDC, &swatch, color);
        DeleteObject(color);
        if ((d.itemState & ODS_FOCUS) != 0)
            DrawFocusRect(d.hDC, &d.rcItem);
    };
    HWND owner = s.Add(L"ListBox", L"", kPlain | LBS_OWNERDRAWFIXED, 385, 10, 120, 100, 4);
    for (LPARAM data : {1, 2, 3, 4})
        Send(owner, LB_ADDSTRING, 0, data);
    Send(owner, LB_SETCURSEL, 2);
    ExpectGolden(s, "listboxes");
}
