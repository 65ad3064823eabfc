// The month calendar on its own and as the date-time picker's drop-down:
// navigation, picks and the notifications they raise, against the C locale.
#include "AddressTestSupport.h"

#include "Platform/Controls/CalendarMath.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <cairo.h>

#include <cstdlib>
#include <filesystem>

using namespace AddressTest;

namespace {



std::vector<std::string> Selections(const Host& host, UINT code)
{
    std::vector<std::string> dates;
    for (const Heard& h : host.Notes(WM_NOTIFY, code))
        dates.push_back(Ymd(h.time));
    return dates;
}

struct Calendar {
    Host host{320, 260};
    HWND cal = nullptr;
    Calendar()
    {
        UseCLocale();
        cal = host.Add(MONTHCAL_CLASSW, 0, RECT{10, 10, 250, 230});
        const SYSTEMTIME start = Date(2026, 3, 7);
        const SYSTEMTIME today = Date(2026, 3, 10);
        SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&start));
        SendMessageW(cal, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&today));
        SetFocus(cal);
        UiTest::Drain();
        host.Clear();
    }
    std::string Selection() const
    {
        SYSTEMTIME t{};
        SendMessageW(cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&t));
        return Ymd(t);
    }
};

}

TEST(MonthCalendar, KeysAndArrowButtonsMoveTheSelectionAndTellIt)
{
    Calendar c;
    c.host.Press(VK_NEXT);
    c.host.Press(VK_RIGHT);
    c.host.Press(VK_DOWN);
    c.host.Press(VK_UP);
    c.host.Press(VK_LEFT);
    c.host.Press(VK_PRIOR);
    EXPECT_EQ(Selections(c.host, MCN_SELCHANGE),
              (std::vector<std::string>{"2026-4-7", "2026-4-8", "2026-4-15", "2026-4-8", "2026-4-7", "2026-3-7"}));
    EXPECT_TRUE(c.host.Notes(WM_NOTIFY, MCN_SELECT).empty()) << "moving is no pick";
    c.host.Clear();
    // The title's arrows: the next month, then the one before.
    RECT need{};
    SendMessageW(c.cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    c.host.Click(c.cal, POINT{need.right - 12, 10});
    c.host.Click(c.cal, POINT{need.right - 12, 10});
    c.host.Click(c.cal, POINT{12, 10});
    EXPECT_EQ(Selections(c.host, MCN_SELCHANGE), (std::vector<std::string>{"2026-4-7", "2026-5-7", "2026-4-7"}));
    // The last day of a month stays within the shorter one.
    const SYSTEMTIME end = Date(2026, 1, 31);
    SendMessageW(c.cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&end));
    c.host.Press(VK_NEXT);
    EXPECT_EQ(c.Selection(), "2026-2-28");
}

TEST(MonthCalendar, AClickOnADayPicksIt)
{
    Calendar c;
    // 1 March 2026 is a Sunday, so the grid starts with it.
    c.host.Click(c.cal, CellCentre(c.cal, 19));
    EXPECT_EQ(Selections(c.host, MCN_SELCHANGE), (std::vector<std::string>{"2026-3-20"}));
    EXPECT_EQ(Selections(c.host, MCN_SELECT), (std::vector<std::string>{"2026-3-20"}));
    EXPECT_EQ(c.host.Codes(), (std::vector<UINT>{MCN_SELCHANGE, MCN_SELECT}));
    // A greyed day of the next month takes the calendar there.
    c.host.Clear();
    c.host.Click(c.cal, CellCentre(c.cal, 36));
    EXPECT_EQ(c.Selection(), "2026-4-6");
    // Monday first: the grid starts on 23 February.
    EXPECT_EQ(LOWORD(SendMessageW(c.cal, MCM_SETFIRSTDAYOFWEEK, 0, 0)), 6);
    EXPECT_EQ(LOWORD(SendMessageW(c.cal, MCM_GETFIRSTDAYOFWEEK, 0, 0)), 0);
    c.host.Press(VK_PRIOR);
    c.host.Click(c.cal, CellCentre(c.cal, 0));
    EXPECT_EQ(c.Selection(), "2026-2-23");
    // The today line picks today.
    c.host.Clear();
    RECT need{};
    SendMessageW(c.cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    c.host.Click(c.cal, POINT{60, need.bottom - 8});
    EXPECT_EQ(Selections(c.host, MCN_SELECT), (std::vector<std::string>{"2026-3-10"}));
    SYSTEMTIME today{};
    SendMessageW(c.cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&today));
    EXPECT_EQ(Ymd(today), "2026-3-10");
}

TEST(MonthCalendar, TheRangeBoundsTheSelection)
{
    Calendar c;
    const SYSTEMTIME range[2] = {Date(2026, 3, 5), Date(2026, 3, 25)};
    EXPECT_TRUE(SendMessageW(c.cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME back[2]{};
    EXPECT_EQ(SendMessageW(c.cal, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)),
              static_cast<LRESULT>(GDTR_MIN | GDTR_MAX));
    c.host.Press(VK_NEXT);
    EXPECT_EQ(c.Selection(), "2026-3-25");
    c.host.Press(VK_PRIOR);
    EXPECT_EQ(c.Selection(), "2026-3-5");
    const SYSTEMTIME outside = Date(2026, 4, 1);
    EXPECT_FALSE(SendMessageW(c.cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&outside)));
    const SYSTEMTIME reversed[2] = {Date(2026, 4, 1), Date(2026, 3, 1)};
    EXPECT_FALSE(SendMessageW(c.cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(reversed)));
    const LRESULT before = SendMessageW(c.cal, MCM_GETCOLOR, MCSC_TITLEBK, 0);
    EXPECT_EQ(SendMessageW(c.cal, MCM_SETCOLOR, MCSC_TITLEBK, RGB(0, 99, 0)), before);
    EXPECT_EQ(SendMessageW(c.cal, MCM_GETCOLOR, MCSC_TITLEBK, 0), static_cast<LRESULT>(RGB(0, 99, 0)));
    EXPECT_EQ(SendMessageW(c.cal, MCM_SETCOLOR, 6, 0), static_cast<LRESULT>(static_cast<COLORREF>(-1)));
}

namespace {

struct DropDown {
    Host host{320, 260};
    HWND dtp = nullptr;
    explicit DropDown(DWORD style = 0)
    {
        UseCLocale();
        dtp = host.Add(DATETIMEPICK_CLASSW, style, RECT{10, 10, 210, 32});
        const SYSTEMTIME start = Date(2026, 3, 7);
        SendMessageW(dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
        SetFocus(dtp);
        UiTest::Drain();
        host.Clear();
    }
    HWND Calendar() const { return reinterpret_cast<HWND>(SendMessageW(dtp, DTM_GETMONTHCAL, 0, 0)); }
    void Open() { host.Click(dtp, POINT{190, 11}); }
    std::string Shown() const
    {
        SYSTEMTIME t{};
        SendMessageW(dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return Ymd(t);
    }
};

}

TEST(DateTimeDropDown, TheButtonOpensTheCalendarAndEnterTakesItsDate)
{
    DropDown d;
    d.Open();
    HWND cal = d.Calendar();
    ASSERT_NE(cal, nullptr);
    EXPECT_TRUE(IsWindowVisible(cal));
    EXPECT_EQ(d.host.Codes(), (std::vector<UINT>{DTN_DROPDOWN}));
    SYSTEMTIME shown{};
    SendMessageW(cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(Ymd(shown), "2026-3-7");
    RECT own{};
    RECT below{};
    GetWindowRect(d.dtp, &own);
    GetWindowRect(cal, &below);
    EXPECT_EQ(below.top, own.bottom);
    EXPECT_EQ(below.left, own.left);
    d.host.Press(VK_NEXT);
    d.host.Press(VK_RIGHT);
    EXPECT_EQ(d.Shown(), "2026-3-7") << "moving in the calendar is not yet a pick";
    d.host.Press(VK_RETURN);
    EXPECT_EQ(d.Calendar(), nullptr);
    EXPECT_FALSE(IsWindow(cal));
    EXPECT_EQ(d.Shown(), "2026-4-8");
    EXPECT_EQ(d.host.Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_DATETIMECHANGE, DTN_CLOSEUP}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(DateTimeDropDown, EscapeAndAClickOutsideCloseItUnchanged)
{
    DropDown d;
    d.host.Press(VK_DOWN, UiTest::kAlt);
    ASSERT_NE(d.Calendar(), nullptr);
    d.host.Press(VK_NEXT);
    d.host.Press(VK_ESCAPE);
    EXPECT_EQ(d.Calendar(), nullptr);
    EXPECT_EQ(d.Shown(), "2026-3-7");
    EXPECT_EQ(d.host.Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));
    d.Open();
    ASSERT_NE(d.Calendar(), nullptr);
    d.host.Click(d.host.Top(), POINT{300, 240});
    EXPECT_EQ(d.Calendar(), nullptr);
    EXPECT_EQ(d.Shown(), "2026-3-7");
    // The drop button again closes it too.
    d.Open();
    d.Open();
    EXPECT_EQ(d.Calendar(), nullptr);
    EXPECT_TRUE(d.host.Notes(WM_NOTIFY, DTN_DATETIMECHANGE).empty());
}

TEST(DateTimeDropDown, AClickedDayIsTakenOverAndClosesTheCalendar)
{
    DropDown d(DTS_SHOWNONE | DTS_RIGHTALIGN);
    SendMessageW(d.dtp, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    d.Open();
    HWND cal = d.Calendar();
    ASSERT_NE(cal, nullptr);
    RECT own{};
    RECT below{};
    GetWindowRect(d.dtp, &own);
    GetWindowRect(cal, &below);
    EXPECT_EQ(below.right, own.right) << "DTS_RIGHTALIGN";
    const SYSTEMTIME start = Date(2026, 3, 7);
    SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&start));
    d.host.Clear();
    d.host.Click(cal, CellCentre(cal, 19));
    EXPECT_EQ(d.Calendar(), nullptr);
    LRESULT answer = 0;
    SYSTEMTIME t{};
    answer = SendMessageW(d.dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(answer, static_cast<LRESULT>(GDT_VALID)) << "a pick checks the box";
    EXPECT_EQ(Ymd(t), "2026-3-20");
    const std::vector<Heard> changes = d.host.Notes(WM_NOTIFY, DTN_DATETIMECHANGE);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(Ymd(changes[0].time), "2026-3-20");
    EXPECT_EQ(d.host.Codes().back(), DTN_CLOSEUP);
}

TEST(DateTimeDropDown, GoldenOpenCalendar)
{
    DropDown d;
    d.Open();
    HWND cal = d.Calendar();
    ASSERT_NE(cal, nullptr);
    const SYSTEMTIME today = Date(2026, 3, 10);
    SendMessageW(cal, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&today));
    UpdateWindow(d.host.Top());
    UpdateWindow(cal);
    UiTest::Drain();
    namespace fs = std::filesystem;
    const fs::path out = ZELL_CONTROLS_OUTPUT_DIR;
    fs::create_directories(out);
    const std::string top = (out / "picker-top.png").string();
    const std::string drop = (out / "picker-calendar.png").string();
    ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(d.host.Top()), top));
    ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(cal), drop));
    // The pop-up is a window of its own: laid over the host where it stands.
    RECT host{};
    RECT pop{};
    GetWindowRect(d.host.Top(), &host);
    GetWindowRect(cal, &pop);
    cairo_surface_t* base = cairo_image_surface_create_from_png(top.c_str());
    cairo_surface_t* over = cairo_image_surface_create_from_png(drop.c_str());
    cairo_t* cr = cairo_create(base);
    cairo_set_source_surface(cr, over, pop.left - host.left, pop.top - host.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    const std::string shown = (out / "date-picker-open.png").string();
    cairo_surface_write_to_png(base, shown.c_str());
    cairo_surface_destroy(over);
    cairo_surface_destroy(base);
    EXPECT_TRUE(UiTest::MatchesGolden(shown, "date-picker-open", ZELL_CONTROLS_GOLDEN_DIR));
}
