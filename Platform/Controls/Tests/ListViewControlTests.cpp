// The list view driven as a user meets it: selection by keys and mouse with
// the notifications and vetoes, check boxes, column clicks that sort, the
// find and next-item rules at their edges, hit tests, column auto-size,
// custom draw colours and the report rendering.
#include "Platform/Controls/Tests/ListViewTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace {

using ListViewTest::Scene;

class ListViewControlTest : public ::testing::Test {
protected:
    HWND Make(DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS, int rows = 5, RECT r = RECT{10, 10, 340, 200})
    {
        m_list = m_scene.Add(WC_LISTVIEWW, style, r, Scene::kListId);
        AddColumn(0, L"Name", 120);
        AddColumn(1, L"Size", 70, LVCFMT_RIGHT);
        AddColumn(2, L"Kind", 90);
        static const wchar_t* names[] = {L"delta", L"alpha", L"echo", L"bravo", L"charlie", L"foxtrot"};
        for (int i = 0; i < rows; ++i) {
            const std::wstring name = std::wstring(names[i % 6]) + (i >= 6 ? std::to_wstring(i) : L"");
            AddItem(i, name, i * 10 + 5);
            SetText(i, 1, std::to_wstring((rows - i) * 3));
            SetText(i, 2, i % 2 == 0 ? L"file" : L"folder");
        }
        SetFocus(m_list);
        UiTest::Drain();
        m_scene.Forget();
        return m_list;
    }
    void AddColumn(int index, const wchar_t* title, int width, int format = LVCFMT_LEFT)
    {
        LVCOLUMNW column;
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = const_cast<LPWSTR>(title);
        column.cx = width;
        column.fmt = format;
        ASSERT_EQ(SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)), index);
    }
    void AddItem(int index, const std::wstring& text, LPARAM data)
    {
        LVITEMW item;
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text.c_str());
        item.lParam = data;
        ASSERT_EQ(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), index);
    }
    void SetText(int index, int subItem, const std::wstring& text)
    {
        LVITEMW item;
        item.iSubItem = subItem;
        item.pszText = const_cast<LPWSTR>(text.c_str());
        SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    std::wstring Text(int index, int subItem = 0) const
    {
        wchar_t buffer[64] = {};
        LVITEMW item;
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(m_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    UINT State(int index, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) const
    {
        return static_cast<UINT>(SendMessageW(m_list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    void SetState(int index, UINT state, UINT mask)
    {
        LVITEMW item;
        item.state = state;
        item.stateMask = mask;
        SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    RECT ItemRect(int index, int code = LVIR_BOUNDS) const
    {
        RECT r{};
        r.left = code;
        SendMessageW(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    POINT LabelPoint(int index) const
    {
        const RECT r = ItemRect(index, LVIR_LABEL);
        return POINT{r.left + 10, (r.top + r.bottom) / 2};
    }
    int Find(int start, UINT flags, const wchar_t* text, LPARAM data = 0) const
    {
        LVFINDINFOW find;
        find.flags = flags;
        find.psz = text;
        find.lParam = data;
        return static_cast<int>(SendMessageW(m_list, LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find)));
    }
    static void Wait(DWORD ms)
    {
        for (DWORD done = 0; done < ms; done += 10) {
            Platform::Clock::Advance(10);
            UiTest::Drain();
        }
    }
    int Next(int start, UINT flags) const
    {
        return static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }

    Scene m_scene;
    HWND m_list = nullptr;
};

TEST_F(ListViewControlTest, AKeyboardMoveReportsTheOldAndNewStates)
{
    Make();
    m_scene.Click(m_list, LabelPoint(1));
    ASSERT_EQ(State(1), LVIS_SELECTED | LVIS_FOCUSED);
    m_scene.Forget();
    m_scene.Press(VK_DOWN);
    const auto changed = m_scene.Heard(LVN_ITEMCHANGED);
    ASSERT_EQ(changed.size(), 3u);
    // The old item loses its selection, then its focus goes to the new one.
    EXPECT_EQ(changed[0].item, 1);
    EXPECT_EQ(changed[0].oldState, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(changed[0].newState, LVIS_FOCUSED);
    EXPECT_EQ(changed[1].item, 1);
    EXPECT_EQ(changed[1].newState, 0u);
    EXPECT_EQ(changed[2].item, 2);
    EXPECT_EQ(changed[2].oldState, 0u);
    EXPECT_EQ(changed[2].newState, LVIS_SELECTED | LVIS_FOCUSED);
    // Each change was asked about first, and the key went to the parent before all.
    const std::vector<UINT> codes = m_scene.Codes();
    EXPECT_EQ(codes.front(), LVN_KEYDOWN);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), LVN_ITEMCHANGING), 3);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTIONMARK, 0, 0), 2);
}

TEST_F(ListViewControlTest, AVetoedChangeKeepsTheState)
{
    Make();
    m_scene.Click(m_list, LabelPoint(0));
    m_scene.m_answer = [](NMHDR* h) {
        const auto* note = reinterpret_cast<NMLISTVIEW*>(h);
        return h->code == LVN_ITEMCHANGING && note->iItem == 3 ? TRUE : FALSE;
    };
    m_scene.Forget();
    m_scene.Click(m_list, LabelPoint(3));
    EXPECT_EQ(State(3), 0u);
    EXPECT_EQ(State(0), 0u);  // the deselection was not refused
    for (const auto& n : m_scene.Heard(LVN_ITEMCHANGED))
        EXPECT_NE(n.item, 3);
    SetState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(State(3), 0u);
}

TEST_F(ListViewControlTest, ShiftAndControlSelectionAndSelectAll)
{
    Make();
    m_scene.Click(m_list, LabelPoint(1));
    m_scene.Click(m_list, LabelPoint(3), UiTest::kShift);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 3);
    m_scene.Click(m_list, LabelPoint(2), UiTest::kControl);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(State(2), LVIS_FOCUSED);
    m_scene.Press(VK_DOWN, UiTest::kShift);
    EXPECT_EQ(State(3), LVIS_SELECTED | LVIS_FOCUSED);
    m_scene.Press('A', UiTest::kControl);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 5);
    m_scene.Press(VK_HOME);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(State(0), LVIS_SELECTED | LVIS_FOCUSED);
    m_scene.Press(VK_END);
    EXPECT_EQ(State(4), LVIS_SELECTED | LVIS_FOCUSED);
    // A click on empty space clears the selection.
    m_scene.Click(m_list, POINT{200, 180});
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ListViewControlTest, SingleSelectionRefusesMore)
{
    Make(LVS_REPORT | LVS_SINGLESEL);
    m_scene.Click(m_list, LabelPoint(1));
    m_scene.Click(m_list, LabelPoint(3), UiTest::kShift);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    m_scene.Press('A', UiTest::kControl);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    SetState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(State(3, LVIS_SELECTED), 0u);
}

TEST_F(ListViewControlTest, TypeAheadFindsByPrefix)
{
    Make();
    m_scene.Driver().Type(L"ch");
    m_scene.Driver().PumpUntilIdle();
    EXPECT_EQ(State(4), LVIS_SELECTED | LVIS_FOCUSED);
    Platform::Clock::Advance(1500);
    m_scene.Driver().Type(L"b");
    m_scene.Driver().PumpUntilIdle();
    EXPECT_EQ(State(3), LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(ListViewControlTest, PageKeysAndScrollingKeepTheFocusInView)
{
    Make(LVS_REPORT, 60);
    const int page = static_cast<int>(SendMessageW(m_list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(page, 3);
    m_scene.Click(m_list, LabelPoint(0));
    m_scene.Press(VK_NEXT);
    EXPECT_EQ(State(page - 1), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0), 0);
    m_scene.Press(VK_NEXT);
    const int top = static_cast<int>(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 0);
    m_scene.Press(VK_END);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0), 60 - page);
    ASSERT_TRUE(SendMessageW(m_list, LVM_ENSUREVISIBLE, 3, FALSE));
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0), 3);
    EXPECT_FALSE(SendMessageW(m_list, LVM_ENSUREVISIBLE, 60, FALSE));
    const RECT row = ItemRect(0);
    SendMessageW(m_list, LVM_SCROLL, 0, 2 * (row.bottom - row.top));
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0), 5);
    SendMessageW(m_list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0), 0);
    // The header stays at the top while the rows scroll.
    RECT headerRect{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0)), &headerRect);
    RECT listRect{};
    GetWindowRect(m_list, &listRect);
    EXPECT_EQ(headerRect.top, listRect.top);
}

TEST_F(ListViewControlTest, ColumnClickSortsByTheCallbackWithTheArrow)
{
    Make();
    static HWND sorted = nullptr;
    sorted = m_list;
    m_scene.m_answer = [this](NMHDR* h) {
        if (h->code != LVN_COLUMNCLICK)
            return LRESULT{0};
        const int column = reinterpret_cast<NMLISTVIEW*>(h)->iSubItem;
        SendMessageW(m_list, LVM_SORTITEMSEX, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(
            +[](LPARAM a, LPARAM b, LPARAM sub) {
                wchar_t left[32] = {};
                wchar_t right[32] = {};
                LVITEMW item;
                item.iSubItem = static_cast<int>(sub);
                item.cchTextMax = 32;
                item.pszText = left;
                SendMessageW(sorted, LVM_GETITEMTEXTW, static_cast<WPARAM>(a), reinterpret_cast<LPARAM>(&item));
                item.pszText = right;
                SendMessageW(sorted, LVM_GETITEMTEXTW, static_cast<WPARAM>(b), reinterpret_cast<LPARAM>(&item));
                return std::wstring(left).compare(right);
            }));
        HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
        HDITEMW arrow;
        arrow.mask = HDI_FORMAT;
        arrow.fmt = HDF_STRING | HDF_SORTUP;
        SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&arrow));
        return LRESULT{0};
    };
    m_scene.Click(m_list, LabelPoint(3));
    HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
    m_scene.Forget();
    m_scene.Click(header, POINT{40, 8});
    const auto clicks = m_scene.Heard(LVN_COLUMNCLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].subItem, 0);
    EXPECT_EQ(clicks[0].item, -1);
    EXPECT_EQ(Text(0), L"alpha");
    EXPECT_EQ(Text(1), L"bravo");
    EXPECT_EQ(Text(4), L"echo");
    // The selected item moved with its state and sub-items.
    EXPECT_EQ(State(1), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Text(1, 2), L"folder");
    HDITEMW item;
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_NE(item.fmt & HDF_SORTUP, 0);

    // By item data, the plain sort puts them back in insertion order.
    SendMessageW(m_list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(+[](LPARAM a, LPARAM b, LPARAM) {
        return static_cast<int>(a - b);
    }));
    EXPECT_EQ(Text(0), L"delta");
    EXPECT_EQ(Text(4), L"charlie");
    EXPECT_FALSE(SendMessageW(m_list, LVM_SORTITEMS, 0, 0));
}

TEST_F(ListViewControlTest, NoSortHeaderTakesNoColumnClicks)
{
    Make(LVS_REPORT | LVS_NOSORTHEADER);
    m_scene.Click(reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0)), POINT{40, 8});
    EXPECT_TRUE(m_scene.Heard(LVN_COLUMNCLICK).empty());
}

TEST_F(ListViewControlTest, FindAndNextItemAtTheEdges)
{
    Make();
    EXPECT_EQ(Find(-1, LVFI_STRING, L"ECHO"), 2);
    EXPECT_EQ(Find(2, LVFI_STRING, L"echo"), -1);
    EXPECT_EQ(Find(2, LVFI_STRING | LVFI_WRAP, L"echo"), 2);
    EXPECT_EQ(Find(-1, LVFI_STRING, L"ech"), -1);
    EXPECT_EQ(Find(-1, LVFI_PARTIAL, L"ch"), 4);
    EXPECT_EQ(Find(4, LVFI_PARTIAL, L"ch"), -1);
    EXPECT_EQ(Find(-1, LVFI_PARAM, nullptr, 35), 3);
    EXPECT_EQ(Find(4, LVFI_PARAM | LVFI_WRAP, nullptr, 5), 0);
    EXPECT_EQ(Find(9, LVFI_STRING, L"echo"), -1);
    EXPECT_EQ(Find(-1, LVFI_STRING, nullptr), -1);

    SetState(1, LVIS_SELECTED, LVIS_SELECTED);
    SetState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Next(-1, LVNI_ALL), 0);
    EXPECT_EQ(Next(4, LVNI_ALL), -1);
    EXPECT_EQ(Next(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(Next(1, LVNI_SELECTED), 4);
    EXPECT_EQ(Next(4, LVNI_SELECTED), -1);
    EXPECT_EQ(Next(-1, LVNI_FOCUSED), 4);
    EXPECT_EQ(Next(4, LVNI_ABOVE | LVNI_SELECTED), 1);
    EXPECT_EQ(Next(0, LVNI_ABOVE), -1);
    EXPECT_EQ(Next(2, LVNI_BELOW), 3);
    EXPECT_EQ(Next(2, LVNI_TORIGHT), -1);
    EXPECT_EQ(Next(7, LVNI_ALL), -1);
}

TEST_F(ListViewControlTest, HitTestsAndRectangles)
{
    Make(LVS_REPORT, 5);
    const RECT row = ItemRect(2);
    LVHITTESTINFO hit;
    hit.pt = POINT{20, (row.top + row.bottom) / 2};
    EXPECT_EQ(SendMessageW(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
    hit.pt = POINT{150, (row.top + row.bottom) / 2};
    EXPECT_EQ(SendMessageW(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(SendMessageW(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.iSubItem, 1);
    hit.pt = POINT{300, (row.top + row.bottom) / 2};
    EXPECT_EQ(SendMessageW(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, LVHT_NOWHERE);
    hit.pt = POINT{20, 170};
    EXPECT_EQ(SendMessageW(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    hit.pt = POINT{20, 2};
    SendMessageW(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, LVHT_ABOVE);

    RECT sub{};
    sub.top = 2;
    sub.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(m_list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&sub)));
    EXPECT_EQ(sub.left, 190);
    EXPECT_EQ(sub.right, 280);
    EXPECT_EQ(sub.top, ItemRect(1).top);
    sub.top = 3;
    sub.left = LVIR_BOUNDS;
    EXPECT_FALSE(SendMessageW(m_list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&sub)));
    EXPECT_EQ(ItemRect(0).right, 280);
    RECT bad{};
    bad.left = 9;
    EXPECT_FALSE(SendMessageW(m_list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bad)));
    EXPECT_FALSE(SendMessageW(m_list, LVM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&bad)));
}

TEST_F(ListViewControlTest, AutoSizedColumnsFitTheirTexts)
{
    Make();
    SetText(2, 1, L"a much longer text than the rest");
    ASSERT_TRUE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE));
    const int fitted = static_cast<int>(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_GT(fitted, 150);
    SetText(2, 1, L"1");
    ASSERT_TRUE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE));
    const int narrow = static_cast<int>(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_LT(narrow, 40);
    // With the header its title counts too; the last column reaches the edge.
    ASSERT_TRUE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER));
    EXPECT_GT(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 1, 0), narrow);
    ASSERT_TRUE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER));
    RECT client{};
    GetClientRect(m_list, &client);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 2, 0), client.right - 120 - SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_FALSE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 7, 50));
    EXPECT_FALSE(SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, -5));
}

TEST_F(ListViewControlTest, DraggingTheHeaderDividerResizesTheColumn)
{
    Make();
    HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
    m_scene.Drag(header, POINT{120, 8}, POINT{160, 8});
    EXPECT_EQ(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 0, 0), 160);
    EXPECT_FALSE(m_scene.Heard(HDN_BEGINTRACKW).empty());
    // A parent that refuses the track keeps the width.
    m_scene.m_answer = [](NMHDR* h) { return h->code == HDN_BEGINTRACKW ? TRUE : FALSE; };
    m_scene.Drag(header, POINT{160, 8}, POINT{100, 8});
    EXPECT_EQ(SendMessageW(m_list, LVM_GETCOLUMNWIDTH, 0, 0), 160);
}

TEST_F(ListViewControlTest, CheckBoxesToggleBySpaceAndClick)
{
    Make();
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    EXPECT_EQ(State(0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
    m_scene.Click(m_list, LabelPoint(1));
    m_scene.Forget();
    m_scene.Press(VK_SPACE);
    EXPECT_EQ(State(1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    ASSERT_EQ(m_scene.Heard(LVN_ITEMCHANGED).size(), 1u);
    EXPECT_EQ(m_scene.Heard(LVN_ITEMCHANGED)[0].oldState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(1));
    m_scene.Press(VK_SPACE);
    EXPECT_EQ(State(1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));

    const RECT icon = ItemRect(3, LVIR_ICON);
    const POINT box{icon.left - 8, (icon.top + icon.bottom) / 2};
    LVHITTESTINFO hit;
    hit.pt = box;
    SendMessageW(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, LVHT_ONITEMSTATEICON);
    m_scene.Click(m_list, box);
    EXPECT_EQ(State(3, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    EXPECT_EQ(State(1), LVIS_SELECTED | LVIS_FOCUSED);  // the check box click leaves the selection
}

TEST_F(ListViewControlTest, MouseNotificationsAndFocus)
{
    Make();
    SetFocus(nullptr);
    UiTest::Drain();
    m_scene.Forget();
    m_scene.Click(m_list, LabelPoint(2));
    const std::vector<UINT> codes = m_scene.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), NM_SETFOCUS);
    EXPECT_EQ(codes.back(), NM_CLICK);
    EXPECT_EQ(m_scene.Heard(NM_CLICK)[0].item, 2);
    m_scene.Forget();
    m_scene.DoubleClick(m_list, LabelPoint(2));
    EXPECT_EQ(m_scene.Heard(NM_DBLCLK).size(), 1u);
    m_scene.Forget();
    // Outside a dialog's message loop Enter reaches the list itself.
    UiTest::Headless().InjectKeyDown(VK_RETURN);
    UiTest::Headless().InjectKeyUp(VK_RETURN);
    UiTest::Drain();
    EXPECT_EQ(m_scene.Codes(), (std::vector<UINT>{LVN_KEYDOWN, NM_RETURN}));
}

TEST_F(ListViewControlTest, TextCallbacksAskTheParent)
{
    Make();
    LVITEMW item;
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 1;
    item.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(m_list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    m_scene.m_answer = [](NMHDR* h) {
        if (h->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(h);
            if ((info->item.mask & LVIF_TEXT) != 0)
                wcsncpy(info->item.pszText, info->item.iSubItem == 1 ? L"asked" : L"?", static_cast<size_t>(info->item.cchTextMax));
        }
        return LRESULT{0};
    };
    EXPECT_EQ(Text(0, 1), L"asked");
    EXPECT_EQ(m_scene.Heard(LVN_GETDISPINFOW).size(), 1u);
    EXPECT_EQ(Text(1, 1), L"12");
}

TEST_F(ListViewControlTest, DeletingTellsTheParent)
{
    Make();
    ASSERT_TRUE(SendMessageW(m_list, LVM_DELETEITEM, 1, 0));
    ASSERT_EQ(m_scene.Heard(LVN_DELETEITEM).size(), 1u);
    EXPECT_EQ(Text(1), L"echo");
    EXPECT_FALSE(SendMessageW(m_list, LVM_DELETEITEM, 9, 0));
    m_scene.Forget();
    // A parent that answers TRUE to the whole deletion hears no single ones.
    m_scene.m_answer = [](NMHDR* h) { return h->code == LVN_DELETEALLITEMS ? TRUE : FALSE; };
    ASSERT_TRUE(SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(m_scene.Codes(), std::vector<UINT>{LVN_DELETEALLITEMS});
    EXPECT_EQ(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETSELECTIONMARK, 0, 0), -1);
}

TEST_F(ListViewControlTest, CustomDrawColoursTheRowsItIsAskedFor)
{
    Make();
    m_scene.m_answer = [](NMHDR* h) {
        if (h->code != NM_CUSTOMDRAW)
            return LRESULT{0};
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(h);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec == 1)
            return CDRF_NOTIFYSUBITEMDRAW;
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && draw->iSubItem == 2)
            draw->clrTextBk = RGB(255, 255, 0);
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec == 3) {
            draw->clrTextBk = RGB(0, 0, 255);
            return CDRF_DODEFAULT;
        }
        return CDRF_DODEFAULT;
    };
    InvalidateRect(m_list, nullptr, TRUE);
    const RECT second = ItemRect(1);
    const RECT fourth = ItemRect(3);
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{275, second.top + 1}), RGB(255, 255, 0));
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{150, second.top + 1}), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{275, fourth.top + 1}), RGB(0, 0, 255));
    // Skipping an item leaves only the background.
    m_scene.m_answer = [](NMHDR* h) {
        if (h->code != NM_CUSTOMDRAW)
            return LRESULT{0};
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(h);
        return draw->nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_SKIPDEFAULT;
    };
    SendMessageW(m_list, LVM_SETBKCOLOR, 0, RGB(0, 128, 0));
    SendMessageW(m_list, LVM_SETTEXTBKCOLOR, 0, RGB(200, 0, 0));
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{275, second.top + 1}), RGB(0, 128, 0));
    m_scene.m_answer = nullptr;
    InvalidateRect(m_list, nullptr, TRUE);
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{275, second.top + 1}), RGB(200, 0, 0));
}

// The tip's text, or empty when no tip shows.
std::wstring ShownTip(HWND list)
{
    HWND tip = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETTOOLTIPS, 0, 0));
    if (tip == nullptr || !IsWindowVisible(tip))
        return {};
    wchar_t shown[128] = {};
    TTTOOLINFOW info;
    info.hwnd = list;
    info.uId = 1;
    info.lpszText = shown;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    return shown;
}

TEST_F(ListViewControlTest, ALabelTipUnfoldsACutTextAndNotOneThatFits)
{
    Make(LVS_REPORT, 4);
    EXPECT_EQ(SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0), 0) << "no tip before it is asked for";
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_LABELTIP, LVS_EX_LABELTIP);
    const std::wstring cut = L"a kind far wider than its column of ninety pixels";
    SetText(1, 2, cut);
    const RECT row = ItemRect(1);
    const POINT inKind{120 + 70 + 20, (row.top + row.bottom) / 2};
    const POINT inName = LabelPoint(0);

    // A label that fits shows nothing.
    m_scene.MoveTo(m_list, inName);
    Wait(1200);
    HWND tip = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
    if (tip != nullptr) {
        EXPECT_FALSE(IsWindowVisible(tip));
    }

    m_scene.MoveTo(m_list, inKind);
    Wait(1200);
    tip = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(IsWindowVisible(tip)) << "the cut kind unfolds after the initial delay";
    EXPECT_EQ(ShownTip(m_list), cut);

    // Back on a fitting label the tip goes.
    m_scene.MoveTo(m_list, inName);
    Wait(100);
    EXPECT_FALSE(IsWindowVisible(tip));
    DestroyWindow(m_list);
    EXPECT_FALSE(IsWindow(tip)) << "the tip goes with its list";
}

TEST_F(ListViewControlTest, AnInfoTipShowsWhatTheParentSaysForTheHoveredCell)
{
    Make(LVS_REPORT, 4);
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT,
                 LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT);
    const std::wstring cut = L"a kind far wider than its column of ninety pixels";
    SetText(1, 2, cut);
    std::vector<NMLVGETINFOTIPW> asked;
    std::vector<std::wstring> given;
    // Row 0 gets the parent's own tip, row 2 none at all; row 1 keeps the cut text.
    m_scene.m_answer = [&](NMHDR* h) {
        if (h->code != LVN_GETINFOTIPW)
            return LRESULT{0};
        auto* note = reinterpret_cast<NMLVGETINFOTIPW*>(h);
        asked.push_back(*note);
        given.emplace_back(note->pszText);
        if (note->iItem == 0)
            wcscpy(note->pszText, L"Row zero");
        if (note->iItem == 2)
            note->pszText[0] = L'\0';
        return LRESULT{0};
    };
    const RECT row = ItemRect(1);
    const struct {
        POINT at;
        int item, subItem;
        DWORD flags;
        std::wstring filled, shown;
    } cases[] = {
        {LabelPoint(0), 0, 0, LVGIT_UNFOLDED, L"", L"Row zero"},
        {POINT{120 + 70 + 20, (row.top + row.bottom) / 2}, 1, 2, 0, cut, cut},
        {LabelPoint(2), 2, 0, LVGIT_UNFOLDED, L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        asked.clear();
        given.clear();
        m_scene.MoveTo(m_list, c.at);
        m_scene.MoveTo(m_list, POINT{c.at.x + 1, c.at.y});
        Wait(1200);
        ASSERT_EQ(asked.size(), 1u) << "asked once while the pointer stays in the cell";
        EXPECT_EQ(asked[0].iItem, c.item);
        EXPECT_EQ(asked[0].iSubItem, c.subItem);
        EXPECT_EQ(asked[0].dwFlags, c.flags);
        EXPECT_EQ(asked[0].cchTextMax, INFOTIPSIZE);
        EXPECT_EQ(given[0], c.filled);
        EXPECT_EQ(ShownTip(m_list), c.shown);
    }
}

TEST_F(ListViewControlTest, ReportGolden)
{
    Make(LVS_REPORT | LVS_SHOWSELALWAYS);
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
    HDITEMW arrow;
    arrow.mask = HDI_FORMAT;
    arrow.fmt = HDF_STRING | HDF_RIGHT | HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&arrow));
    m_scene.Click(m_list, LabelPoint(1));
    m_scene.Click(m_list, LabelPoint(3), UiTest::kControl);
    EXPECT_TRUE(m_scene.MatchesGolden("listview-report"));
}

}

namespace {

using ListViewTest::Scene;

HWND g_changing = nullptr;

class ListViewModesTest : public ListViewControlTest {};

TEST_F(ListViewModesTest, ASortWhoseCallbackDeletesItemsIsCancelled)
{
    Make();
    g_changing = m_list;
    EXPECT_FALSE(SendMessageW(m_list, LVM_SORTITEMSEX, 0, reinterpret_cast<LPARAM>(+[](LPARAM, LPARAM, LPARAM) {
        if (SendMessageW(g_changing, LVM_GETITEMCOUNT, 0, 0) > 2)
            SendMessageW(g_changing, LVM_DELETEITEM, 0, 0);
        return -1;
    })));
    EXPECT_EQ(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0), 2);
    // A callback that contradicts itself still leaves every item in place once.
    SendMessageW(m_list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(+[](LPARAM, LPARAM, LPARAM) { return -1; }));
    EXPECT_EQ(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(ListViewModesTest, InsertionOutOfRangeAppendsAndTellsTheParent)
{
    Make();
    AddItem(4, L"golf", 99);  // inserted in the middle
    m_scene.Forget();
    LVITEMW item;
    item.mask = LVIF_TEXT | LVIF_INDENT;
    item.iItem = 500;
    item.iIndent = 2;
    item.pszText = const_cast<LPWSTR>(L"hotel");
    EXPECT_EQ(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 6);
    ASSERT_EQ(m_scene.Heard(LVN_INSERTITEM).size(), 1u);
    EXPECT_EQ(m_scene.Heard(LVN_INSERTITEM)[0].item, 6);
    item.iItem = -1;
    EXPECT_EQ(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
    item.iItem = 0;
    item.iSubItem = 1;
    EXPECT_EQ(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), -1);
    EXPECT_EQ(SendMessageW(m_list, LVM_INSERTITEMW, 0, 0), -1);
    // The indent moves the label right.
    EXPECT_GT(ItemRect(6, LVIR_LABEL).left, ItemRect(5, LVIR_LABEL).left + 30);
    EXPECT_EQ(Text(4), L"golf");
}

TEST_F(ListViewModesTest, ListModeShowsTheFirstColumnAcrossTheWidth)
{
    Make(LVS_LIST);
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0))));
    RECT client{};
    GetClientRect(m_list, &client);
    EXPECT_EQ(ItemRect(0).top, 0);
    EXPECT_EQ(ItemRect(0).right, client.right);
    m_scene.Click(m_list, LabelPoint(2));
    EXPECT_EQ(State(2), LVIS_SELECTED | LVIS_FOCUSED);
    const RECT row = ItemRect(2);
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{row.left + 3, row.top + 1}), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(ListViewModesTest, SmallImagesAreDrawnBeforeTheLabel)
{
    Make();
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT all{0, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, red);
    DeleteObject(red);
    SelectObject(memory, old);
    DeleteDC(memory);
    ImageList_Add(images, bitmap, nullptr);
    DeleteObject(bitmap);
    SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    LVITEMW item;
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    item.iImage = 0;
    SendMessageW(m_list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const RECT icon = ItemRect(1, LVIR_ICON);
    EXPECT_EQ(icon.right - icon.left, 18);
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{icon.left + 8, (icon.top + icon.bottom) / 2}), RGB(255, 0, 0));
    EXPECT_NE(m_scene.PixelOf(m_list, POINT{icon.left + 8, (ItemRect(2).top + ItemRect(2).bottom) / 2}), RGB(255, 0, 0));
    // A full row's background, selected or not, lies under the image.
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{icon.left + 8, (icon.top + icon.bottom) / 2}), RGB(255, 0, 0));
    m_scene.Click(m_list, LabelPoint(1));
    EXPECT_EQ(m_scene.PixelOf(m_list, POINT{icon.left + 8, (icon.top + icon.bottom) / 2}), RGB(255, 0, 0));
    SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    ImageList_Destroy(images);
}

}
