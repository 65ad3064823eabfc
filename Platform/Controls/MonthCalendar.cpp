#include "Platform/Controls/MonthCalendar.h"

#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/DateTimePicture.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

constexpr int kMargin = 4;
constexpr int kWeeks = 6;
constexpr int kCells = kWeeks * 7;
constexpr COLORREF kTodayMark = RGB(192, 0, 0);

SYSTEMTIME DateOnly(SYSTEMTIME date)
{
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    SetDayOfWeek(date);
    return date;
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Frame(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

void Write(HDC dc, const std::wstring& text, RECT r, COLORREF color, UINT align = DT_CENTER)
{
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}

CMonthCalendar::CMonthCalendar(HWND hwnd) : CControlWindow(hwnd)
{
    m_selection = DateOnly(Today());
    m_year = m_selection.wYear;
    m_month = m_selection.wMonth;
    m_colors = {GetSysColor(COLOR_WINDOW),      GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_ACTIVECAPTION),
                GetSysColor(COLOR_CAPTIONTEXT), GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_GRAYTEXT)};
}

// --- layout -------------------------------------------------------------------

CMonthCalendar::Metrics CMonthCalendar::Measure() const
{
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int widest = 0;
    for (const std::wstring& day : m_names.shortDays) {
        SIZE size{};
        GetTextExtentPoint32W(dc, day.c_str(), static_cast<int>(day.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    SIZE digits{};
    GetTextExtentPoint32W(dc, L"00", 2, &digits);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    Metrics m;
    m.cellWidth = std::max<int>(widest, digits.cx) + 6;
    m.cellHeight = tm.tmHeight + 3;
    m.titleHeight = tm.tmHeight + 8;
    m.footHeight = (Style() & MCS_NOTODAY) != 0 ? 0 : tm.tmHeight + 6;
    return m;
}

RECT CMonthCalendar::MinimumRect() const
{
    const Metrics m = Measure();
    return RECT{0, 0, 2 * kMargin + 7 * m.cellWidth,
                2 * kMargin + m.titleHeight + (kWeeks + 1) * m.cellHeight + m.footHeight};
}

RECT CMonthCalendar::PreviousArrow(const Metrics& m) const
{
    return RECT{kMargin + 2, kMargin + 2, kMargin + m.titleHeight - 2, kMargin + m.titleHeight - 2};
}

RECT CMonthCalendar::NextArrow(const Metrics& m) const
{
    const int right = kMargin + 7 * m.cellWidth;
    return RECT{right - m.titleHeight + 2, kMargin + 2, right - 2, kMargin + m.titleHeight - 2};
}

RECT CMonthCalendar::CellRect(const Metrics& m, int index) const
{
    const int left = kMargin + (index % 7) * m.cellWidth;
    const int top = kMargin + m.titleHeight + (1 + index / 7) * m.cellHeight;
    return RECT{left, top, left + m.cellWidth, top + m.cellHeight};
}

RECT CMonthCalendar::FootRect(const Metrics& m) const
{
    const int top = kMargin + m.titleHeight + (kWeeks + 1) * m.cellHeight;
    return RECT{kMargin, top, kMargin + 7 * m.cellWidth, top + m.footHeight};
}

int CMonthCalendar::SundayBasedFirstDay() const
{
    return (m_firstDay + 1) % 7;
}

SYSTEMTIME CMonthCalendar::DateInCell(int index) const
{
    SYSTEMTIME first{};
    first.wYear = static_cast<WORD>(m_year);
    first.wMonth = static_cast<WORD>(m_month);
    first.wDay = 1;
    const int lead = (DayOfWeek(m_year, m_month, 1) - SundayBasedFirstDay() + 7) % 7;
    return AddDays(first, index - lead);
}

CMonthCalendar::Spot CMonthCalendar::HitTest(POINT point, SYSTEMTIME* date) const
{
    const Metrics m = Measure();
    const RECT previous = PreviousArrow(m);
    const RECT next = NextArrow(m);
    const RECT foot = FootRect(m);
    if (PtInRect(&previous, point))
        return Spot::Previous;
    if (PtInRect(&next, point))
        return Spot::Next;
    if (m.footHeight > 0 && PtInRect(&foot, point))
        return Spot::Today;
    for (int index = 0; index < kCells; ++index) {
        const RECT cell = CellRect(m, index);
        if (PtInRect(&cell, point)) {
            *date = DateInCell(index);
            return Spot::Day;
        }
    }
    return Spot::None;
}

// --- selection ------------------------------------------------------------------

// The range's ends count by their dates only.
SYSTEMTIME CMonthCalendar::InRange(SYSTEMTIME date) const
{
    if (m_range.Min() && CompareTimes(date, DateOnly(*m_range.Min())) < 0)
        date = DateOnly(*m_range.Min());
    if (m_range.Max() && CompareTimes(date, DateOnly(*m_range.Max())) > 0)
        date = DateOnly(*m_range.Max());
    return date;
}

void CMonthCalendar::ShowMonth(int year, int month)
{
    if (year == m_year && month == m_month)
        return;
    m_year = year;
    m_month = month;
    Redraw();
}

void CMonthCalendar::Select(SYSTEMTIME date, bool notify)
{
    date = InRange(DateOnly(date));
    ShowMonth(date.wYear, date.wMonth);
    if (SameDate(date, m_selection))
        return;
    m_selection = date;
    Redraw();
    if (notify)
        Notify(MCN_SELCHANGE);
}

HWND CMonthCalendar::Listener() const
{
    if (Gone())
        return nullptr;
    return (Style() & WS_CHILD) != 0 ? Parent() : m_listener;
}

void CMonthCalendar::Notify(UINT code) const
{
    HWND listener = Listener();
    if (listener == nullptr)
        return;
    NMSELCHANGE change;
    change.nmhdr.hwndFrom = Hwnd();
    change.nmhdr.idFrom = static_cast<UINT_PTR>(Id());
    change.nmhdr.code = code;
    change.stSelStart = m_selection;
    change.stSelEnd = m_selection;
    SendMessageW(listener, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

void CMonthCalendar::OnClick(POINT point)
{
    if ((Style() & WS_CHILD) != 0 && !Focused())
        SetFocus(Hwnd());
    SYSTEMTIME date{};
    switch (HitTest(point, &date)) {
    case Spot::Previous: Select(AddMonths(m_selection, -1), true); break;
    case Spot::Next: Select(AddMonths(m_selection, 1), true); break;
    case Spot::Today:
        Select(m_today.value_or(Today()), true);
        Notify(MCN_SELECT);
        break;
    case Spot::Day:
        Select(date, true);
        Notify(MCN_SELECT);
        break;
    case Spot::None: break;
    }
}

void CMonthCalendar::OnKey(WPARAM key)
{
    switch (key) {
    case VK_LEFT: Select(AddDays(m_selection, -1), true); break;
    case VK_RIGHT: Select(AddDays(m_selection, 1), true); break;
    case VK_UP: Select(AddDays(m_selection, -7), true); break;
    case VK_DOWN: Select(AddDays(m_selection, 7), true); break;
    case VK_PRIOR: Select(AddMonths(m_selection, -1), true); break;
    case VK_NEXT: Select(AddMonths(m_selection, 1), true); break;
    case VK_RETURN: Notify(MCN_SELECT); break;
    default: break;
    }
}

// --- messages -----------------------------------------------------------------------

LRESULT CMonthCalendar::SetSelection(const SYSTEMTIME* date)
{
    if (date == nullptr || !IsValidTime(DateOnly(*date)))
        return FALSE;
    const SYSTEMTIME day = DateOnly(*date);
    if (!SameDate(InRange(day), day))
        return FALSE;
    Select(day, false);
    return TRUE;
}

LRESULT CMonthCalendar::SetRange(WPARAM flags, const SYSTEMTIME* range)
{
    if (!m_range.Set(static_cast<DWORD>(flags), range))
        return FALSE;
    Select(m_selection, false);
    return TRUE;
}

LRESULT CMonthCalendar::SetColor(WPARAM index, COLORREF color)
{
    if (index >= m_colors.size())
        return static_cast<LRESULT>(static_cast<COLORREF>(-1));
    const COLORREF previous = m_colors[index];
    m_colors[index] = color;
    Redraw();
    return static_cast<LRESULT>(previous);
}

// The previous day in the low word; the high word is set when it was the
// locale's own.
LRESULT CMonthCalendar::SetFirstDay(LPARAM day)
{
    const int previous = m_firstDay;
    if (day >= 0 && day <= 6) {
        m_firstDay = static_cast<int>(day);
        Redraw();
    }
    return MAKELRESULT(static_cast<WORD>(previous), previous == 6 ? 1 : 0);
}

LRESULT CMonthCalendar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if ((Style() & WS_CHILD) == 0)
            m_listener = static_cast<HWND>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: OnClick(PointOf(lParam)); return 0;
    case WM_KEYDOWN: OnKey(wParam); return 0;
    case MCM_GETCURSEL:
        if (lParam == 0)
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = m_selection;
        return TRUE;
    case MCM_SETCURSEL: return SetSelection(reinterpret_cast<const SYSTEMTIME*>(lParam));
    case MCM_GETTODAY:
        if (lParam == 0)
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = DateOnly(m_today.value_or(Today()));
        return TRUE;
    case MCM_SETTODAY:
        // No date: back to the clock's.
        if (lParam == 0)
            m_today.reset();
        else if (IsValidTime(DateOnly(*reinterpret_cast<const SYSTEMTIME*>(lParam))))
            m_today = DateOnly(*reinterpret_cast<const SYSTEMTIME*>(lParam));
        Redraw();
        return 0;
    case MCM_SETRANGE: return SetRange(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case MCM_GETRANGE: return static_cast<LRESULT>(m_range.Get(reinterpret_cast<SYSTEMTIME*>(lParam)));
    case MCM_GETMINREQRECT:
        if (lParam == 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = MinimumRect();
        return TRUE;
    case MCM_SETCOLOR: return SetColor(wParam, static_cast<COLORREF>(lParam));
    case MCM_GETCOLOR:
        return wParam < m_colors.size() ? static_cast<LRESULT>(m_colors[wParam])
                                        : static_cast<LRESULT>(static_cast<COLORREF>(-1));
    case MCM_SETFIRSTDAYOFWEEK: return SetFirstDay(lParam);
    case MCM_GETFIRSTDAYOFWEEK: return MAKELRESULT(static_cast<WORD>(m_firstDay), m_firstDay == 6 ? 1 : 0);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// --- drawing ------------------------------------------------------------------------

void CMonthCalendar::PaintTitle(HDC dc, const Metrics& m)
{
    const RECT band{kMargin, kMargin, kMargin + 7 * m.cellWidth, kMargin + m.titleHeight};
    Fill(dc, band, m_colors[MCSC_TITLEBK]);
    const std::wstring title =
        m_names.months[static_cast<std::size_t>(m_month - 1)] + L" " + std::to_wstring(m_year);
    Write(dc, title, band, m_colors[MCSC_TITLETEXT]);
    RECT previous = PreviousArrow(m);
    RECT next = NextArrow(m);
    DrawFrameControl(dc, &previous, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_FLAT);
    DrawFrameControl(dc, &next, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_FLAT);
}

void CMonthCalendar::PaintDays(HDC dc, const Metrics& m)
{
    const RECT grid{kMargin, kMargin + m.titleHeight + m.cellHeight, kMargin + 7 * m.cellWidth,
                    kMargin + m.titleHeight + (kWeeks + 1) * m.cellHeight};
    Fill(dc, grid, m_colors[MCSC_MONTHBK]);
    for (int column = 0; column < 7; ++column) {
        RECT head = CellRect(m, column);
        OffsetRect(&head, 0, -m.cellHeight);
        const std::size_t day = static_cast<std::size_t>((SundayBasedFirstDay() + column) % 7);
        Write(dc, m_names.shortDays[day], head, m_colors[MCSC_TITLEBK]);
    }
    // The line under the day names.
    const RECT rule{grid.left, grid.top - 1, grid.right, grid.top};
    Fill(dc, rule, GetSysColor(COLOR_3DSHADOW));
    const SYSTEMTIME today = DateOnly(m_today.value_or(Today()));
    for (int index = 0; index < kCells; ++index) {
        const SYSTEMTIME date = DateInCell(index);
        RECT cell = CellRect(m, index);
        const bool selected = SameDate(date, m_selection);
        if (selected)
            Fill(dc, cell, GetSysColor(COLOR_HIGHLIGHT));
        if (SameDate(date, today) && (Style() & MCS_NOTODAYCIRCLE) == 0)
            Frame(dc, cell, kTodayMark);
        const COLORREF color = selected                  ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : date.wMonth != m_month ? m_colors[MCSC_TRAILINGTEXT]
                                                        : m_colors[MCSC_TEXT];
        Write(dc, std::to_wstring(date.wDay), cell, color);
    }
}

void CMonthCalendar::PaintFoot(HDC dc, const Metrics& m)
{
    if (m.footHeight == 0)
        return;
    const RECT foot = FootRect(m);
    const SYSTEMTIME today = DateOnly(m_today.value_or(Today()));
    const std::wstring text = L"Today: " + FormatPicture(ParsePicture(m_names.shortDate), today, m_names);
    RECT mark{foot.left + 4, foot.top + 3, foot.left + 4 + m.cellWidth - 6, foot.bottom - 3};
    if ((Style() & MCS_NOTODAYCIRCLE) == 0)
        Frame(dc, mark, kTodayMark);
    RECT label{mark.right + 4, foot.top, foot.right, foot.bottom};
    Write(dc, text, label, m_colors[MCSC_TEXT], DT_LEFT);
}

void CMonthCalendar::Paint(HDC dc)
{
    const RECT all = Client();
    Fill(dc, all, m_colors[MCSC_BACKGROUND]);
    SetBkMode(dc, TRANSPARENT);
    const Metrics m = Measure();
    PaintTitle(dc, m);
    PaintDays(dc, m);
    PaintFoot(dc, m);
}

}
