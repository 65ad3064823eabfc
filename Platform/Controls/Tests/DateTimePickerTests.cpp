// The date-time picker against a fixed locale (the C conventions in UTF-8):
// its pictures, typing and arrows with the notifications they raise, the
// range and the "no date" check box.
#include "AddressTestSupport.h"

#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/DateTimePicker.h"
#include "Platform/Controls/LocaleTimeNames.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace AddressTest;

namespace {


class FixedLocale {
public:
    FixedLocale() { UseCLocale(); }
};

struct Picker {
    FixedLocale locale;
    Host host{320, 240};
    HWND dtp = nullptr;
    explicit Picker(DWORD style, const SYSTEMTIME& start = Date(2026, 3, 7, 9, 5, 4), RECT place = {10, 10, 210, 32})
    {
        dtp = host.Add(DATETIMEPICK_CLASSW, style, place);
        SendMessageW(dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
    }
    std::wstring Text() const { return TextOf(dtp); }
    void Format(LPCWSTR picture) const { SendMessageW(dtp, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(picture)); }
    SYSTEMTIME Time(LRESULT* answer = nullptr) const
    {
        SYSTEMTIME t{};
        const LRESULT r = SendMessageW(dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        if (answer != nullptr)
            *answer = r;
        return t;
    }
    void Focus()
    {
        SetFocus(dtp);
        UiTest::Drain();
        host.Clear();
    }
    std::vector<std::string> Changes() const
    {
        std::vector<std::string> dates;
        for (const Heard& h : host.Notes(WM_NOTIFY, DTN_DATETIMECHANGE))
            dates.push_back(h.value == static_cast<int>(GDT_NONE) ? "none" : Ymd(h.time));
        return dates;
    }
};

}

TEST(DateTimePicker, TheLocaleFormatsBecomePictures)
{
    using ZELL::Controls::PictureFromStrftime;
    EXPECT_EQ(PictureFromStrftime(L"%d.%m.%Y"), L"dd.MM.yyyy");
    EXPECT_EQ(PictureFromStrftime(L"%I:%M:%S %p"), L"hh:mm:ss tt");
    EXPECT_EQ(PictureFromStrftime(L"%a %e %b"), L"ddd d MMM");
    EXPECT_EQ(PictureFromStrftime(L"%Y年%m月%d日"), L"yyyy'年'MM'月'dd'日'");
    EXPECT_EQ(PictureFromStrftime(L"%D at %R"), L"MM/dd/yy 'at' HH:mm") << "letters are quoted, conversions unfold";
    EXPECT_EQ(PictureFromStrftime(L"%Ey%%"), L"yy'%'");
    FixedLocale locale;
    const auto names = ZELL::Controls::LocaleTimeNames::FromUser();
    EXPECT_EQ(names.shortDate, L"MM/dd/yy");
    EXPECT_EQ(names.time, L"HH:mm:ss");
    EXPECT_EQ(names.longDate, L"dddd, MMMM d, yyyy");
    EXPECT_EQ(names.months[0], L"January");
    EXPECT_EQ(names.shortDays[6], L"Sat");
    EXPECT_EQ(names.pm, L"PM");
}

TEST(DateTimePicker, TheStylesChooseTheLocalesPictures)
{
    const std::vector<std::pair<DWORD, std::wstring>> cases = {
        {DTS_SHORTDATEFORMAT, L"03/07/26"},
        {DTS_LONGDATEFORMAT, L"Saturday, March 7, 2026"},
        {DTS_SHORTDATECENTURYFORMAT, L"03/07/2026"},
        {DTS_TIMEFORMAT, L"09:05:04"},
    };
    for (const auto& [style, shown] : cases) {
        Picker p(style);
        EXPECT_EQ(p.Text(), shown) << "style " << style;
    }
}

TEST(DateTimePicker, FormatPicturesWriteEachField)
{
    Picker p(0, Date(2026, 3, 7, 15, 5, 4));
    const std::vector<std::pair<LPCWSTR, std::wstring>> cases = {
        {L"d dd ddd dddd", L"7 07 Sat Saturday"},
        {L"M MM MMM MMMM", L"3 03 Mar March"},
        {L"y yy yyyy", L"26 26 2026"},
        {L"h hh H HH m mm s ss t tt", L"3 03 15 15 5 05 4 04 P PM"},
        {L"'Day' d 'of' MMMM", L"Day 7 of March"},
        {L"'it''s' HH''mm", L"it's 1505"},
        {L" ''yyyy'-'MM'-'dd'", L" 2026-03-07"},
        {L" ''HH' : 'mm' : 'ss", L" 15 : 05 : 04"},
        {L"yyyyMMdd", L"20260307"},
    };
    for (const auto& [picture, shown] : cases) {
        p.Format(picture);
        EXPECT_EQ(p.Text(), shown) << "picture " << std::filesystem::path(picture).string();
    }
    p.Format(nullptr);
    EXPECT_EQ(p.Text(), L"03/07/26") << "no picture: the style's again";
}

TEST(DateTimePicker, ADigitChangesTheFieldAndTwoInTimeMakeOneValue)
{
    Picker p(DTS_SHORTDATEFORMAT);
    p.Focus();
    p.host.Type(L"1");
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"2026-1-7"})) << "the month is the first field";
    p.host.Type(L"2");
    EXPECT_EQ(p.Text(), L"12/07/26");
    p.host.Wait(ZELL::Controls::CDateTimePicker::kTypingPause + 10);
    p.host.Type(L"5");
    EXPECT_EQ(p.Text(), L"05/07/26") << "after the pause a digit starts a new value";
    p.host.Type(L"9");
    EXPECT_EQ(p.Text(), L"09/07/26") << "59 is no month: the 9 starts anew";
    p.host.Press(VK_RIGHT);
    p.host.Type(L"31");
    EXPECT_EQ(p.Text(), L"09/01/26") << "31 does not fit September: the 1 starts anew";
    p.host.Press(VK_RIGHT);
    p.host.Type(L"98");
    EXPECT_EQ(Ymd(p.Time()), "1998-9-1");
    EXPECT_EQ(p.Changes().back(), "1998-9-1");
    EXPECT_EQ(p.host.Codes().size(), p.Changes().size()) << "nothing but DTN_DATETIMECHANGE";
}

TEST(DateTimePicker, TheArrowsStepTheChosenFieldAndWrapWithinIt)
{
    Picker p(DTS_SHORTDATEFORMAT, Date(2026, 1, 31));
    p.Focus();
    p.host.Press(VK_DOWN);
    EXPECT_EQ(Ymd(p.Time()), "2026-12-31") << "the month wraps without touching the year";
    p.host.Press(VK_UP);
    p.host.Press(VK_UP);
    EXPECT_EQ(Ymd(p.Time()), "2026-2-28") << "the day is held to the shorter month";
    p.host.Press(VK_RIGHT);
    p.host.Press(VK_UP);
    EXPECT_EQ(Ymd(p.Time()), "2026-2-1");
    p.host.Press(VK_END);
    p.host.Press(VK_UP);
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"2026-12-31", "2026-1-31", "2026-2-28", "2026-2-1", "2027-2-1"}));
    // The day name moves the date itself.
    p.Format(L"ddd dd");
    p.host.Press(VK_HOME);
    p.host.Press(VK_DOWN);
    EXPECT_EQ(Ymd(p.Time()), "2027-1-31");
    // A time: hours wrap through the day and t flips the half.
    Picker t(DTS_TIMEFORMAT, Date(2026, 3, 7, 23, 59, 0));
    t.Format(L"hh:mm tt");
    t.Focus();
    t.host.Press(VK_UP);
    EXPECT_EQ(t.Text(), L"12:59 AM");
    t.host.Press(VK_END);
    t.host.Press(VK_UP);
    EXPECT_EQ(t.Text(), L"12:59 PM");
    t.host.Press(VK_HOME);
    t.host.Type(L"3");
    EXPECT_EQ(t.Text(), L"03:59 PM");
}

TEST(DateTimePicker, TheRangeHoldsEveryChange)
{
    Picker p(DTS_SHORTDATEFORMAT, Date(2026, 3, 15));
    const SYSTEMTIME range[2] = {Date(2026, 3, 1), Date(2026, 3, 31, 23, 59, 59)};
    EXPECT_TRUE(SendMessageW(p.dtp, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME back[2]{};
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)),
              static_cast<LRESULT>(GDTR_MIN | GDTR_MAX));
    EXPECT_EQ(Ymd(back[0]), "2026-3-1");
    EXPECT_EQ(Ymd(back[1]), "2026-3-31");
    p.Focus();
    p.host.Press(VK_UP);
    EXPECT_EQ(Ymd(p.Time()), "2026-3-31") << "April is past the end";
    p.host.Press(VK_END);
    p.host.Press(VK_DOWN);
    EXPECT_EQ(Ymd(p.Time()), "2026-3-1");
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"2026-3-31", "2026-3-1"}));
    const SYSTEMTIME late = Date(2027, 1, 1);
    EXPECT_TRUE(SendMessageW(p.dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&late)));
    EXPECT_EQ(Ymd(p.Time()), "2026-3-31");
    // Refused: a date that does not exist, a range the wrong way round.
    SYSTEMTIME bad = Date(2026, 2, 1);
    bad.wDay = 30;
    EXPECT_FALSE(SendMessageW(p.dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&bad)));
    const SYSTEMTIME reversed[2] = {Date(2026, 4, 1), Date(2026, 3, 1)};
    EXPECT_FALSE(SendMessageW(p.dtp, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(reversed)));
    EXPECT_FALSE(SendMessageW(p.dtp, DTM_SETSYSTEMTIME, GDT_NONE, 0)) << "no check box, no 'none'";
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    // Only a minimum.
    EXPECT_TRUE(SendMessageW(p.dtp, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(range)));
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)), static_cast<LRESULT>(GDTR_MIN));
    EXPECT_EQ(back[1].wYear, 0);
}

TEST(DateTimePicker, TheCheckBoxOfShowNoneStandsForNoDate)
{
    Picker p(DTS_SHORTDATEFORMAT | DTS_SHOWNONE);
    LRESULT answer = 0;
    p.Time(&answer);
    EXPECT_EQ(answer, static_cast<LRESULT>(GDT_VALID));
    p.Focus();
    p.host.Click(p.dtp, POINT{8, 11});
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"none"}));
    p.Time(&answer);
    EXPECT_EQ(answer, static_cast<LRESULT>(GDT_NONE));
    p.host.Type(L"4");
    p.host.Press(VK_UP);
    EXPECT_EQ(p.Changes().size(), 1u) << "no editing without a date";
    p.host.Type(L" ");
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"none", "2026-3-7"}));
    EXPECT_TRUE(SendMessageW(p.dtp, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    p.Time(&answer);
    EXPECT_EQ(answer, static_cast<LRESULT>(GDT_NONE));
}

TEST(DateTimePicker, TheParentWritesAndStepsACallbackField)
{
    Picker p(0, Date(2026, 3, 7));
    std::vector<std::wstring> asked;
    LONG queriedWidth = 0;
    p.host.m_onNotify = [&](NMHDR* header) {
        if (header->code == DTN_FORMATQUERYW) {
            auto* query = reinterpret_cast<NMDATETIMEFORMATQUERYW*>(header);
            asked.emplace_back(query->pszFormat);
            query->szMax.cx = 60;
            queriedWidth = 60;
        } else if (header->code == DTN_FORMATW) {
            auto* format = reinterpret_cast<NMDATETIMEFORMATW*>(header);
            std::swprintf(format->szDisplay, std::size(format->szDisplay), L"Q%d", (format->st.wMonth + 2) / 3);
        } else if (header->code == DTN_WMKEYDOWNW) {
            auto* key = reinterpret_cast<NMDATETIMEWMKEYDOWNW*>(header);
            if (key->nVirtKey == VK_UP)
                key->st = ZELL::Controls::AddMonths(key->st, 3);
        }
    };
    p.Format(L"XX yyyy");
    EXPECT_EQ(p.Text(), L"Q1 2026");
    p.Focus();
    p.host.Press(VK_UP);
    EXPECT_EQ(p.Text(), L"Q2 2026");
    EXPECT_EQ(p.Changes(), (std::vector<std::string>{"2026-6-7"}));
    p.host.Type(L"4");
    EXPECT_EQ(p.Changes().size(), 1u) << "digits are the parent's too";
    UpdateWindow(p.host.Top());
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), L"XX");
    EXPECT_EQ(queriedWidth, 60);
}

TEST(DateTimePicker, TheCalendarColoursAreKept)
{
    Picker p(0);
    const LRESULT before = SendMessageW(p.dtp, DTM_GETMCCOLOR, MCSC_TITLEBK, 0);
    EXPECT_EQ(SendMessageW(p.dtp, DTM_SETMCCOLOR, MCSC_TITLEBK, RGB(0, 128, 0)), before);
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETMCCOLOR, MCSC_TITLEBK, 0), static_cast<LRESULT>(RGB(0, 128, 0)));
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETMCCOLOR, 6, 0), static_cast<LRESULT>(static_cast<COLORREF>(-1)));
    EXPECT_EQ(SendMessageW(p.dtp, DTM_GETMONTHCAL, 0, 0), 0) << "no calendar while it is not dropped down";
}

TEST(DateTimePicker, GoldenPickers)
{
    Picker p(DTS_LONGDATEFORMAT);
    HWND none = p.host.Add(DATETIMEPICK_CLASSW, DTS_SHOWNONE, RECT{10, 40, 210, 62}, 8);
    const SYSTEMTIME fixed = Date(2026, 3, 7);
    SendMessageW(none, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&fixed));
    SendMessageW(none, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    HWND time = p.host.Add(DATETIMEPICK_CLASSW, DTS_TIMEFORMAT, RECT{10, 70, 130, 92}, 9);
    const SYSTEMTIME noon = Date(2026, 3, 7, 12, 30, 0);
    SendMessageW(time, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&noon));
    p.Focus();
    p.host.Press(VK_RIGHT);
    UpdateWindow(p.host.Top());
    UiTest::Drain();
    const std::string shown = std::string(ZELL_CONTROLS_OUTPUT_DIR) + "/date-picker.png";
    std::filesystem::create_directories(ZELL_CONTROLS_OUTPUT_DIR);
    ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(p.host.Top()), shown));
    EXPECT_TRUE(UiTest::MatchesGolden(shown, "date-picker", ZELL_CONTROLS_GOLDEN_DIR));
}

TEST(DateTimePicker, FreeTextGoesToTheParentWhichAnswersWithADate)
{
    Picker p(WS_TABSTOP | DTS_SHORTDATEFORMAT | DTS_APPCANPARSE);
    std::wstring heardText;
    p.host.m_onNotify = [&heardText](NMHDR* header) {
        if (header->code != DTN_USERSTRINGW)
            return;
        auto* note = reinterpret_cast<NMDATETIMESTRINGW*>(header);
        heardText = note->pszUserString;
        if (heardText == L"tomorrow") {
            EXPECT_EQ(Ymd(note->st), "2026-3-7") << "starts from the date shown";
            note->st.wDay = 8;
        } else {
            note->dwFlags = static_cast<DWORD>(GDT_ERROR);
        }
    };
    p.Focus();
    p.host.Press(VK_F2);
    HWND edit = GetFocus();
    ASSERT_NE(edit, p.dtp);
    EXPECT_EQ(GetParent(edit), p.dtp) << "an edit over the fields takes the text";
    EXPECT_EQ(TextOf(edit), p.Text());
    p.host.Type(L"tomorrow");
    p.host.Press(VK_RETURN);
    EXPECT_EQ(heardText, L"tomorrow");
    EXPECT_EQ(GetFocus(), p.dtp);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(Ymd(p.Time()), "2026-3-8");
    EXPECT_EQ(p.Changes(), std::vector<std::string>{"2026-3-8"});

    // A text the parent cannot read keeps the date; Esc asks nothing.
    p.host.Clear();
    p.host.Press(VK_F2);
    p.host.Type(L"someday");
    p.host.Press(VK_RETURN);
    EXPECT_EQ(heardText, L"someday");
    EXPECT_EQ(Ymd(p.Time()), "2026-3-8");
    p.host.Press(VK_F2);
    p.host.Type(L"never");
    p.host.Press(VK_ESCAPE);
    EXPECT_EQ(heardText, L"someday");
    EXPECT_TRUE(p.Changes().empty());

    // Without DTS_APPCANPARSE F2 opens nothing.
    Picker plain(WS_TABSTOP | DTS_SHORTDATEFORMAT);
    plain.Focus();
    plain.host.Press(VK_F2);
    EXPECT_EQ(GetFocus(), plain.dtp);
}
