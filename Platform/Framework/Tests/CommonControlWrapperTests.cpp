// The wrappers of the common controls on the real controls: what a dialog
// writes through them is what the control then holds and shows.
#include "Platform/Base/Clock.h"
#include "Platform/Framework/Controls/DateTimeCtrl.h"
#include "Platform/Framework/Controls/IPAddressCtrl.h"
#include "Platform/Framework/Controls/ListCtrl.h"
#include "Platform/Framework/Controls/TabCtrl.h"
#include "Platform/Framework/Controls/ToolTipCtrl.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <string>

using FrameworkTest::Area;

namespace {

constexpr UINT kListId = 300;
constexpr UINT kTabId = 301;
constexpr UINT kAddressId = 302;
constexpr UINT kPickerId = 303;
constexpr UINT kCalendarId = 304;
constexpr UINT kButtonId = 305;

// The controls' parent; it answers a message box that comes up over it (the
// address control's notice of a clamped value) with Enter and counts it.
class CHostWnd : public CWnd {
public:
    int m_notices = 0;

protected:
    LRESULT OnEnterIdle(WPARAM, LPARAM box)
    {
        if (m_inBox)
            return 0;
        m_inBox = true;
        ++m_notices;
        UiTest::CDialogDriver driver(reinterpret_cast<HWND>(box));
        driver.Press(VK_RETURN);
        driver.PumpUntilIdle();
        m_inBox = false;
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_inBox = false;
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

// A shown top-level that the controls of one test live in.
class CommonWrappers : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameworkTest::RegisterControls();
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, 100, 100, 420, 320, nullptr, nullptr));
        ::SetActiveWindow(m_host.m_hWnd);
        UiTest::Drain();
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        UiTest::Drain();
        AfxDeleteTempObjects();
    }

    CHostWnd m_host;
};

// Sorts by the item data, descending.
int ByDataDescending(LPARAM first, LPARAM second, LPARAM)
{
    return first < second ? 1 : first > second ? -1 : 0;
}

SYSTEMTIME Date(WORD year, WORD month, WORD day)
{
    SYSTEMTIME date;
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    return date;
}

}

TEST_F(CommonWrappers, AListFilledThroughTheWrapperHoldsItsRowsSortsAndSelects)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, Area(0, 0, 400, 200), &m_host, kListId));
    EXPECT_EQ(list.InsertColumn(0, L"Device", LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(list.InsertColumn(1, L"Address", LVCFMT_RIGHT, 150), 1);
    EXPECT_EQ(list.GetColumnWidth(1), 150);
    LVCOLUMNW column;
    column.mask = LVCF_FMT | LVCF_SUBITEM;
    ASSERT_TRUE(list.GetColumn(1, &column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(column.iSubItem, 1) << "the sub-item follows the column's index";

    for (int row = 0; row < 3; ++row) {
        const std::wstring name = L"Coupler " + std::to_wstring(row);
        EXPECT_EQ(list.InsertItem(row, name.c_str()), row);
        EXPECT_TRUE(list.SetItemText(row, 1, (L"10.0.0." + std::to_wstring(row)).c_str()));
        EXPECT_TRUE(list.SetItemData(row, static_cast<DWORD_PTR>(10 + row)));
    }
    // A text longer than the wrapper's first buffer comes back whole.
    const std::wstring longName(700, L'x');
    EXPECT_TRUE(list.SetItemText(2, 0, longName.c_str()));
    EXPECT_EQ(std::wstring(list.GetItemText(2, 0).GetString()), longName);
    EXPECT_EQ(std::wstring(list.GetItemText(1, 1).GetString()), L"10.0.0.1");
    EXPECT_EQ(list.GetItemText(7, 0).GetLength(), 0) << "no such row";
    EXPECT_EQ(list.GetItemCount(), 3);

    EXPECT_TRUE(list.SortItems(&ByDataDescending, 0));
    EXPECT_EQ(list.GetItemData(0), 12u);
    EXPECT_EQ(std::wstring(list.GetItemText(2, 0).GetString()), L"Coupler 0");

    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 1);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), LVIS_SELECTED);

    // The row's own rectangle hits that row.
    RECT row{};
    ASSERT_TRUE(list.GetItemRect(1, &row, LVIR_BOUNDS));
    UINT flags = 0;
    EXPECT_EQ(list.HitTest(POINT{row.left + 5, (row.top + row.bottom) / 2}, &flags), 1);
    EXPECT_NE(flags & LVHT_ONITEM, 0u);
    RECT cell{};
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell.left, 120) << "the second column starts where the first ends";
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(CommonWrappers, CheckBoxesTheHeaderArrowAndScrollingGoThroughTheList)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, Area(0, 0, 300, 120), &m_host, kListId));
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, L"Value", LVCFMT_LEFT, 100);
    for (int i = 0; i < 40; ++i)
        list.InsertItem(i, std::to_wstring(i).c_str());
    EXPECT_FALSE(list.GetCheck(3));
    EXPECT_TRUE(list.SetCheck(3));
    EXPECT_TRUE(list.GetCheck(3));
    EXPECT_TRUE(list.SetCheck(3, FALSE));
    EXPECT_FALSE(list.GetCheck(3));

    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetItemCount(), 2);
    header->SetSortArrow(1, HDF_SORTUP);
    header->SetSortArrow(0, HDF_SORTDOWN);
    HDITEMW item;
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(header->GetItem(0, &item));
    EXPECT_NE(item.fmt & HDF_SORTDOWN, 0);
    ASSERT_TRUE(header->GetItem(1, &item));
    EXPECT_EQ(item.fmt & (HDF_SORTUP | HDF_SORTDOWN), 0) << "only one column shows an arrow";

    EXPECT_EQ(list.GetTopIndex(), 0);
    EXPECT_TRUE(list.EnsureVisible(30, FALSE));
    const int top = list.GetTopIndex();
    EXPECT_GT(top, 0);
    EXPECT_LE(top, 30);
    EXPECT_GT(top + list.GetCountPerPage(), 30);
}

TEST_F(CommonWrappers, ToolsAddedByWindowAndByRectangleKeepTheirTextsAndShowOnRelayedMoves)
{
    Platform::ManualClockScope clock{30000000};
    CWnd button;
    ASSERT_TRUE(button.Create(L"Button", L"Apply", WS_CHILD | WS_VISIBLE, Area(10, 10, 80, 24), &m_host, kButtonId));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_host));
    EXPECT_TRUE(tip.AddTool(&button, L"Applies the settings"));
    const RECT area = Area(200, 200, 100, 50);
    EXPECT_TRUE(tip.AddTool(&m_host, L"Lower right", &area, 7));
    EXPECT_EQ(tip.GetToolCount(), 2);

    CString text;
    tip.GetText(text, &button);
    EXPECT_EQ(std::wstring(text.GetString()), L"Applies the settings");
    tip.UpdateTipText(L"Writes the settings", &button);
    tip.GetText(text, &button);
    EXPECT_EQ(std::wstring(text.GetString()), L"Writes the settings");

    TOOLINFOW info;
    ASSERT_TRUE(tip.GetToolInfo(info, &m_host, 7));
    EXPECT_EQ(info.rect.left, 200);
    EXPECT_NE(info.uFlags & TTF_SUBCLASS, 0u);
    const RECT moved = Area(0, 250, 60, 40);
    tip.SetToolRect(&m_host, 7, &moved);
    ASSERT_TRUE(tip.GetToolInfo(info, &m_host, 7));
    EXPECT_EQ(info.rect.top, 250);
    ASSERT_TRUE(tip.HitTest(&m_host, POINT{10, 260}, &info));
    EXPECT_EQ(info.uId, 7u);
    EXPECT_FALSE(tip.HitTest(&m_host, POINT{300, 10}, &info));

    EXPECT_EQ(tip.SetMaxTipWidth(300), -1) << "no limit before";
    EXPECT_EQ(tip.GetMaxTipWidth(), 300);
    tip.SetDelayTime(100);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 100);
    EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 1000);
    tip.SetDelayTime(TTDT_AUTOPOP, 5000);
    EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 5000);
    tip.SetTipBkColor(RGB(1, 2, 3));
    EXPECT_EQ(tip.GetTipBkColor(), RGB(1, 2, 3));

    // A move over the rectangle tool, relayed as a dialog's PreTranslateMessage does.
    POINT screen{20, 270};
    ::ClientToScreen(m_host.m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    MSG move{m_host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 270), 0, screen};
    tip.RelayEvent(&move);
    Platform::Clock::Advance(150);
    UiTest::Drain();
    EXPECT_TRUE(tip.IsWindowVisible()) << "shown after the initial delay";
    tip.GetText(text, &m_host, 7);
    EXPECT_EQ(std::wstring(text.GetString()), L"Lower right");
    tip.Pop();
    EXPECT_FALSE(tip.IsWindowVisible());

    tip.DelTool(&button);
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.DestroyWindow();
}

TEST_F(CommonWrappers, TabsTakeTextsAndSelectionAndMapTheirDisplayArea)
{
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | TCS_MULTILINE, Area(0, 0, 200, 150), &m_host, kTabId));
    for (LPCWSTR title : {L"General", L"Network", L"Serial line", L"Time", L"Diagnosis"})
        tabs.InsertItem(tabs.GetItemCount(), title);
    EXPECT_EQ(tabs.GetItemCount(), 5);
    EXPECT_EQ(std::wstring(tabs.GetItemText(2).GetString()), L"Serial line");
    EXPECT_TRUE(tabs.SetItemText(2, L"RS-232"));
    EXPECT_EQ(std::wstring(tabs.GetItemText(2).GetString()), L"RS-232");
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_EQ(tabs.SetCurSel(3), 0);
    EXPECT_EQ(tabs.GetCurSel(), 3);
    EXPECT_GT(tabs.GetRowCount(), 1) << "five tabs do not fit one row of 200 pixels";

    RECT area = Area(0, 0, 200, 150);
    tabs.AdjustRect(FALSE, &area);
    EXPECT_GT(area.top, 20) << "the display area lies below the rows";
    tabs.AdjustRect(TRUE, &area);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.bottom, 150);

    TCHITTESTINFO hit;
    RECT third{};
    ASSERT_TRUE(tabs.GetItemRect(2, &third));
    hit.pt = POINT{(third.left + third.right) / 2, (third.top + third.bottom) / 2};
    EXPECT_EQ(tabs.HitTest(&hit), 2);
    EXPECT_TRUE(tabs.DeleteItem(4));
    EXPECT_TRUE(tabs.DeleteAllItems());
    EXPECT_EQ(tabs.GetItemCount(), 0);
}

TEST_F(CommonWrappers, AnAddressRoundTripsByFieldsAndAFieldRangeClampsTypedDigits)
{
    CIPAddressCtrl address;
    ASSERT_TRUE(address.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, Area(10, 10, 160, 22), &m_host, kAddressId));
    EXPECT_TRUE(address.IsBlank());
    address.SetAddress(192, 168, 1, 20);
    BYTE a = 0;
    BYTE b = 0;
    BYTE c = 0;
    BYTE d = 0;
    EXPECT_EQ(address.GetAddress(a, b, c, d), 4);
    EXPECT_EQ(a, 192);
    EXPECT_EQ(b, 168);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(d, 20);
    EXPECT_EQ(UiTest::TextOf(address.m_hWnd), L"192.168.1.20");

    address.ClearAddress();
    EXPECT_TRUE(address.IsBlank());
    DWORD whole = 1;
    EXPECT_EQ(address.GetAddress(whole), 0);
    EXPECT_EQ(whole, 0u);

    address.SetFieldRange(0, 10, 100);
    address.SetFieldFocus(0);
    UiTest::CDialogDriver driver(m_host.m_hWnd);
    driver.Type(L"250");
    driver.PumpUntilIdle();
    EXPECT_EQ(address.GetAddress(whole), 1);
    EXPECT_EQ(FIRST_IPADDRESS(whole), 100u) << "clamped to the field's range";
    EXPECT_EQ(m_host.m_notices, 1) << "with the platform's notice";
}

TEST_F(CommonWrappers, APickerKeepsItsDateWithinItsRangeAndLendsItsOpenCalendar)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, Area(10, 10, 160, 24), &m_host,
                              kPickerId));
    const SYSTEMTIME start = Date(2024, 2, 29);
    ASSERT_TRUE(picker.SetTime(&start));
    SYSTEMTIME read;
    EXPECT_EQ(picker.GetTime(&read), static_cast<DWORD>(GDT_VALID));
    EXPECT_EQ(read.wYear, 2024);
    EXPECT_EQ(read.wMonth, 2);
    EXPECT_EQ(read.wDay, 29);

    EXPECT_TRUE(picker.SetFormat(L"yyyy'-'MM'-'dd"));
    EXPECT_EQ(UiTest::TextOf(picker.m_hWnd), L"2024-02-29");

    const SYSTEMTIME earliest = Date(2024, 3, 1);
    EXPECT_TRUE(picker.SetRange(&earliest, nullptr));
    SYSTEMTIME range[2];
    EXPECT_EQ(picker.GetRange(range), GDTR_MIN);
    EXPECT_EQ(range[0].wMonth, 3);
    ASSERT_EQ(picker.GetTime(&read), static_cast<DWORD>(GDT_VALID));
    EXPECT_EQ(read.wMonth, 3) << "the range moved the date into it";
    EXPECT_EQ(read.wDay, 1);
    const SYSTEMTIME tooEarly = Date(2024, 1, 5);
    EXPECT_TRUE(picker.SetTime(&tooEarly));
    picker.GetTime(&read);
    EXPECT_EQ(read.wMonth, 3) << "held to the range";

    picker.SetMonthCalColor(MCSC_TITLEBK, RGB(0x53, 0xB1, 0x00));
    EXPECT_EQ(picker.GetMonthCalColor(MCSC_TITLEBK), RGB(0x53, 0xB1, 0x00));
    EXPECT_EQ(picker.GetMonthCalCtrl(), nullptr) << "closed";
    picker.SetFocus();
    UiTest::CDialogDriver driver(m_host.m_hWnd);
    driver.Press(VK_F4);
    driver.PumpUntilIdle();
    CMonthCalCtrl* calendar = picker.GetMonthCalCtrl();
    ASSERT_NE(calendar, nullptr);
    SYSTEMTIME shown;
    ASSERT_TRUE(calendar->GetCurSel(&shown));
    EXPECT_EQ(shown.wMonth, read.wMonth);
    EXPECT_EQ(shown.wDay, read.wDay);
    EXPECT_EQ(calendar->GetColor(MCSC_TITLEBK), RGB(0x53, 0xB1, 0x00)) << "the picker's colours reach its calendar";
    // Esc belongs to the open calendar, not to the dialog manager.
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_EQ(picker.GetMonthCalCtrl(), nullptr);
    EXPECT_EQ(::GetFocus(), picker.m_hWnd);
}

TEST_F(CommonWrappers, ACalendarOnItsOwnTakesSelectionTodayFirstDayAndRange)
{
    CMonthCalCtrl calendar;
    ASSERT_TRUE(calendar.Create(WS_CHILD | WS_VISIBLE, Area(0, 0, 240, 180), &m_host, kCalendarId));
    RECT least{};
    ASSERT_TRUE(calendar.GetMinReqRect(&least));
    EXPECT_GT(least.right - least.left, 100);
    const SYSTEMTIME day = Date(2025, 6, 15);
    ASSERT_TRUE(calendar.SetCurSel(&day));
    SYSTEMTIME read;
    ASSERT_TRUE(calendar.GetCurSel(&read));
    EXPECT_EQ(read.wDay, 15);
    EXPECT_EQ(read.wDayOfWeek, 0) << "a Sunday";
    const SYSTEMTIME today = Date(2025, 6, 3);
    calendar.SetToday(&today);
    ASSERT_TRUE(calendar.GetToday(&read));
    EXPECT_EQ(read.wDay, 3);

    int previous = -1;
    calendar.SetFirstDayOfWeek(6, &previous);
    EXPECT_EQ(calendar.GetFirstDayOfWeek(), 6);
    calendar.SetFirstDayOfWeek(0, &previous);
    EXPECT_EQ(previous, 6);

    SYSTEMTIME range[2] = {Date(2025, 1, 1), Date(2025, 12, 31)};
    EXPECT_TRUE(calendar.SetRange(GDTR_MIN | GDTR_MAX, range));
    SYSTEMTIME back[2];
    EXPECT_EQ(calendar.GetRange(back), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(back[1].wMonth, 12);
    const SYSTEMTIME outside = Date(2026, 1, 2);
    EXPECT_FALSE(calendar.SetCurSel(&outside));
}
