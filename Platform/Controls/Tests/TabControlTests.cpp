#include "ControlTestSupport.h"

using namespace ControlTest;

namespace {

constexpr WORD Code(UINT code)
{
    return static_cast<WORD>(code);
}

HWND AddTabs(Scene& s, DWORD style, std::initializer_list<LPCWSTR> texts, int width = 300, int height = 150)
{
    HWND tab = s.Add(WC_TABCONTROLW, L"", style, 10, 10, width, height, 7);
    int index = 0;
    for (LPCWSTR text : texts) {
        TCITEMW item;
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<LPWSTR>(text);
        item.lParam = 100 + index;
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }
    UiTest::Drain();
    return tab;
}

RECT ItemRect(HWND tab, int index)
{
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int Selected(HWND tab)
{
    return static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
}

void PressWith(UINT key, std::initializer_list<UINT> held)
{
    for (UINT modifier : held)
        Scene::Display().InjectKeyDown(modifier);
    Scene::Display().InjectKeyDown(key);
    Scene::Display().InjectKeyUp(key);
    for (UINT modifier : held)
        Scene::Display().InjectKeyUp(modifier);
    UiTest::Drain();
}

}

TEST(TabControl, ItemsKeepTheirFieldsAndTheSelectionFollowsInsertsAndDeletes)
{
    Scene s;
    HWND tab = AddTabs(s, 0, {L"One", L"Two", L"Three"});
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(Selected(tab), 0) << "the first item inserted is selected";
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);

    TCITEMW front;
    front.mask = TCIF_TEXT;
    front.pszText = const_cast<LPWSTR>(L"Zero");
    EXPECT_EQ(SendMessageW(tab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&front)), 3) << "appended at the end";
    EXPECT_EQ(SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&front)), 0);
    EXPECT_EQ(Selected(tab), 2) << "the selected item moved along";

    wchar_t buffer[4]{};
    TCITEMW read;
    read.mask = TCIF_TEXT | TCIF_PARAM;
    read.pszText = buffer;
    read.cchTextMax = 4;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&read)));
    EXPECT_STREQ(buffer, L"Thr") << "cut to the buffer with its terminator";
    EXPECT_EQ(read.lParam, 102);
    EXPECT_FALSE(SendMessageW(tab, TCM_GETITEMW, 9, reinterpret_cast<LPARAM>(&read)));

    TCITEMW state;
    state.mask = TCIF_STATE;
    state.dwState = TCIS_HIGHLIGHTED;
    state.dwStateMask = TCIS_HIGHLIGHTED;
    SendMessageW(tab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&state));
    state.dwState = 0;
    SendMessageW(tab, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(state.dwState, TCIS_HIGHLIGHTED);

    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(Selected(tab), 1);
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(Selected(tab), -1) << "deleting the selected item leaves none selected";
    EXPECT_FALSE(SendMessageW(tab, TCM_DELETEITEM, 5, 0));
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, 7, 0), -1) << "out of range";
    SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 0);
}

TEST(TabControl, AClickSelectsUnlessTheParentRefuses)
{
    Scene s;
    HWND tab = AddTabs(s, 0, {L"General", L"Network", L"Time"});
    s.Clear();
    s.Click(tab, Centre(ItemRect(tab, 2)));
    EXPECT_EQ(Selected(tab), 2);
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TCN_SELCHANGING), Code(TCN_SELCHANGE), Code(NM_CLICK)}));
    EXPECT_EQ(GetFocus(), tab) << "tabs take the focus when clicked";

    s.Clear();
    s.m_refuseDelta = true;
    s.Click(tab, Centre(ItemRect(tab, 1)));
    EXPECT_EQ(Selected(tab), 2) << "TCN_SELCHANGING's nonzero answer keeps the selection";
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TCN_SELCHANGING), Code(NM_CLICK)}));

    s.Clear();
    s.m_refuseDelta = false;
    s.Click(tab, POINT{250, 10});
    EXPECT_EQ(Selected(tab), 2);
    EXPECT_TRUE(s.Codes(WM_NOTIFY).empty()) << "a click beside the tabs says nothing";
}

TEST(TabControl, ArrowsAndControlKeysMoveTheSelection)
{
    Scene s;
    HWND tab = AddTabs(s, 0, {L"A", L"B", L"C"});
    SetFocus(tab);
    UiTest::Drain();
    EXPECT_EQ(SendMessageW(tab, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    s.Clear();
    s.Key(VK_RIGHT);
    EXPECT_EQ(Selected(tab), 1);
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TCN_KEYDOWN), Code(TCN_SELCHANGING), Code(TCN_SELCHANGE)}));
    s.Key(VK_RIGHT);
    s.Key(VK_RIGHT);
    EXPECT_EQ(Selected(tab), 2) << "the arrows stop at the last tab";
    s.Key(VK_LEFT);
    EXPECT_EQ(Selected(tab), 1);

    PressWith(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(Selected(tab), 2);
    PressWith(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(Selected(tab), 0) << "Ctrl+Tab wraps round";
    PressWith(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(Selected(tab), 2);
    PressWith(VK_PRIOR, {VK_CONTROL});
    EXPECT_EQ(Selected(tab), 1);
    PressWith(VK_NEXT, {VK_CONTROL});
    EXPECT_EQ(Selected(tab), 2);

    s.m_refuseDelta = true;
    EXPECT_FALSE(ZELL::Controls::StepTabSelection(tab, true));
    s.Key(VK_LEFT);
    EXPECT_EQ(Selected(tab), 2) << "a refused change keeps the selection";
    s.m_refuseDelta = false;
    EXPECT_TRUE(ZELL::Controls::StepTabSelection(tab, true));
    EXPECT_EQ(Selected(tab), 0);
    EXPECT_FALSE(ZELL::Controls::StepTabSelection(s.Top(), true)) << "no tab control";
}

TEST(TabControl, StackedRowsBringTheSelectedRowNextToThePanel)
{
    Scene s;
    HWND tab = AddTabs(s, TCS_MULTILINE, {L"General", L"Network", L"Serial", L"Time", L"Diagnostics", L"Memory card",
                                          L"About"},
                       220);
    const int rows = static_cast<int>(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0));
    ASSERT_GE(rows, 2);
    const RECT first = ItemRect(tab, 0);
    const RECT last = ItemRect(tab, 6);
    EXPECT_LT(last.top, first.top) << "the first row, selected, sits at the front; the last behind it";
    // Each row is stretched to the same right end.
    for (int i = 0; i < 7; ++i)
        if (i == 6 || ItemRect(tab, i + 1).top != ItemRect(tab, i).top) {
            EXPECT_EQ(ItemRect(tab, i).right, 218) << "row end at item " << i;
        }

    const int frontTop = first.top;
    s.Click(tab, Centre(last));
    EXPECT_EQ(Selected(tab), 6);
    EXPECT_EQ(ItemRect(tab, 6).top, frontTop) << "the clicked row moved to the front";
    EXPECT_LT(ItemRect(tab, 0).top, frontTop);

    RECT display{0, 0, 220, 150};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, ItemRect(tab, 6).bottom) << "the display area lies below every row";
    EXPECT_GT(display.left, 0);
    EXPECT_LT(display.right, 220);
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display.left, 0);
    EXPECT_EQ(display.top, 0);
    EXPECT_EQ(display.right, 220);
    EXPECT_EQ(display.bottom, 150);
}

TEST(TabControl, ArrowsScrollASingleRowThatDoesNotFit)
{
    Scene s;
    HWND tab = AddTabs(s, 0, {L"General", L"Network", L"Serial", L"Time", L"Diagnostics", L"About"}, 200);
    EXPECT_EQ(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0), 1);
    HWND arrows = GetWindow(tab, GW_CHILD);
    ASSERT_NE(arrows, nullptr) << "an up-down child for a row too wide";
    RECT box{};
    GetClientRect(arrows, &box);
    const int firstWidth = ItemRect(tab, 0).right - ItemRect(tab, 0).left;
    s.Click(arrows, POINT{box.right - 3, box.bottom / 2});
    EXPECT_EQ(ItemRect(tab, 1).left, 2) << "the second tab now comes first";
    EXPECT_LT(ItemRect(tab, 0).right, 3);
    TCHITTESTINFO hit;
    hit.pt = POINT{5, 10};
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    s.Click(arrows, POINT{2, box.bottom / 2});
    EXPECT_EQ(ItemRect(tab, 0).left, 2);
    EXPECT_EQ(ItemRect(tab, 0).right - ItemRect(tab, 0).left, firstWidth);

    // The keyboard scrolls the row along to the selected tab.
    SetFocus(tab);
    for (int i = 0; i < 5; ++i)
        s.Key(VK_RIGHT);
    ASSERT_EQ(Selected(tab), 5);
    RECT arrowsInTab = box;
    MapWindowPoints(arrows, tab, reinterpret_cast<POINT*>(&arrowsInTab), 2);
    EXPECT_LE(ItemRect(tab, 5).right, arrowsInTab.left);
    EXPECT_GE(ItemRect(tab, 5).left, 0);
    SendMessageW(tab, TCM_SETCURSEL, 0, 0);
    EXPECT_EQ(ItemRect(tab, 0).left, 2);

    SetWindowPos(tab, nullptr, 0, 0, 600, 150, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(tab, TCM_GETROWCOUNT, 0, 0);
    EXPECT_EQ(GetWindow(tab, GW_CHILD), nullptr) << "gone once the row fits";
}

TEST(TabControl, HitTestsFindTheRaisedSelectedTabFirst)
{
    Scene s;
    HWND tab = AddTabs(s, 0, {L"General", L"Network", L"Time"});
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    const RECT selected = ItemRect(tab, 1);
    TCHITTESTINFO hit;
    hit.pt = POINT{selected.left - 1, selected.top + 3};
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1)
        << "the selected tab reaches over its neighbour's edge";
    EXPECT_EQ(hit.flags, TCHT_ONITEMLABEL);
    hit.pt = Centre(ItemRect(tab, 2));
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    hit.pt = POINT{150, 100};
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, TCHT_NOWHERE);
}

TEST(TabControl, FixedWidthAndMinimumWidthShapeTheTabs)
{
    Scene s;
    HWND tab = AddTabs(s, TCS_FIXEDWIDTH, {L"A", L"A much longer title"});
    SendMessageW(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(70, 24));
    EXPECT_EQ(ItemRect(tab, 0).right - ItemRect(tab, 0).left, 70);
    EXPECT_EQ(ItemRect(tab, 1).right - ItemRect(tab, 1).left, 70);
    EXPECT_EQ(ItemRect(tab, 1).bottom - ItemRect(tab, 1).top, 24);

    HWND plain = AddTabs(s, 0, {L"A"});
    EXPECT_EQ(SendMessageW(plain, TCM_SETMINTABWIDTH, 0, 90), 42) << "the default minimum";
    EXPECT_EQ(ItemRect(plain, 0).right - ItemRect(plain, 0).left, 90);
}

TEST(TabControl, StackedTabsLookClassic)
{
    Scene s(260, 140);
    HWND tab = AddTabs(s, TCS_MULTILINE, {L"General", L"Network", L"Serial", L"Time", L"Diagnostics", L"About"},
                       240, 120);
    SendMessageW(tab, TCM_SETCURSEL, 5, 0);
    ExpectGolden(s, "tabs-stacked");
}
