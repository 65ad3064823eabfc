#pragma once
// The "SysMonthCal32" class: one month as a grid of days under a title with
// arrows to the months before and after, the days of the neighbouring months
// greyed, the selected day filled, today framed and named at the foot. A
// click on a day or Enter picks it (MCN_SELCHANGE when it moved, then
// MCN_SELECT); the arrow keys move the selection by days and weeks, PageUp
// and PageDown by months (MCN_SELCHANGE). A pop-up calendar tells the window
// whose handle came as its creation parameter, a child its parent.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/DateRange.h"
#include "Platform/Controls/DateTimeStyles.h"
#include "Platform/Controls/LocaleTimeNames.h"

#include <array>
#include <optional>

namespace ZELL::Controls {

class CMonthCalendar : public CControlWindow {
public:
    explicit CMonthCalendar(HWND hwnd);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Metrics {
        int cellWidth = 0;
        int cellHeight = 0;
        int titleHeight = 0;
        int footHeight = 0;
    };
    enum class Spot { None, Previous, Next, Day, Today };

    Metrics Measure() const;
    RECT MinimumRect() const;
    RECT PreviousArrow(const Metrics& m) const;
    RECT NextArrow(const Metrics& m) const;
    RECT CellRect(const Metrics& m, int index) const;
    RECT FootRect(const Metrics& m) const;
    // The date in grid cell `index` (0..41) of the month shown.
    SYSTEMTIME DateInCell(int index) const;
    int SundayBasedFirstDay() const;
    Spot HitTest(POINT point, SYSTEMTIME* date) const;

    void OnClick(POINT point);
    void OnKey(WPARAM key);
    // Moves the selection (held to the range) and shows its month; tells the
    // listener when it moved.
    void Select(SYSTEMTIME date, bool notify);
    void ShowMonth(int year, int month);
    void Notify(UINT code) const;
    HWND Listener() const;
    SYSTEMTIME InRange(SYSTEMTIME date) const;

    LRESULT SetSelection(const SYSTEMTIME* date);
    LRESULT SetRange(WPARAM flags, const SYSTEMTIME* range);
    LRESULT SetColor(WPARAM index, COLORREF color);
    LRESULT SetFirstDay(LPARAM day);

    void PaintTitle(HDC dc, const Metrics& m);
    void PaintDays(HDC dc, const Metrics& m);
    void PaintFoot(HDC dc, const Metrics& m);

    LocaleTimeNames m_names = LocaleTimeNames::FromUser();
    SYSTEMTIME m_selection{};
    std::optional<SYSTEMTIME> m_today;  // set by MCM_SETTODAY; else the clock's
    CDateRange m_range;
    int m_year = 0;   // the month shown
    int m_month = 0;
    int m_firstDay = 6;  // 0 Monday .. 6 Sunday, as MCM_SETFIRSTDAYOFWEEK counts
    std::array<COLORREF, 6> m_colors{};
    HWND m_listener = nullptr;
};

}
