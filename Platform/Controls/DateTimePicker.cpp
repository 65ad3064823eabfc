#include "Platform/Controls/DateTimePicker.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/TextAnswer.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace ZELL::Controls {

namespace {

constexpr int kBorder = 2;
constexpr int kCheckSize = 13;
constexpr int kGap = 2;

std::wstring DefaultPicture(DWORD style, const LocaleTimeNames& names)
{
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return names.time;
    if ((style & DTS_SHORTDATECENTURYFORMAT) == DTS_SHORTDATECENTURYFORMAT) {
        std::wstring picture = names.shortDate;
        const auto year = picture.find(L"yy");
        if (year != std::wstring::npos && picture.find(L"yyyy") == std::wstring::npos)
            picture.replace(year, 2, L"yyyy");
        return picture;
    }
    if ((style & DTS_LONGDATEFORMAT) != 0)
        return names.longDate;
    return names.shortDate;
}

int Wrap(int value, int low, int high)
{
    const int span = high - low + 1;
    return low + ((value - low) % span + span) % span;
}

}

CDateTimePicker::CDateTimePicker(HWND hwnd) : CControlWindow(hwnd)
{
    m_time = Today();
    m_time.wMilliseconds = 0;
    m_calendarColors = {GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_WINDOWTEXT),  GetSysColor(COLOR_ACTIVECAPTION),
                        GetSysColor(COLOR_CAPTIONTEXT), GetSysColor(COLOR_WINDOW),     GetSysColor(COLOR_GRAYTEXT)};
}

CDateTimePicker::~CDateTimePicker() = default;

void CDateTimePicker::UsePicture(const wchar_t* picture)
{
    m_parts = ParsePicture(picture != nullptr ? std::wstring(picture) : DefaultPicture(Style(), m_names));
    m_selected = -1;
    for (int part = 0; part < static_cast<int>(m_parts.size()) && m_selected < 0; ++part)
        if (IsField(part))
            m_selected = part;
    m_typed.clear();
    Redraw();
}

bool CDateTimePicker::IsField(int part) const
{
    return part >= 0 && part < static_cast<int>(m_parts.size()) &&
           m_parts[static_cast<std::size_t>(part)].field != PictureField::Literal;
}

void CDateTimePicker::SelectField(int part)
{
    if (!IsField(part) || part == m_selected)
        return;
    m_selected = part;
    m_typed.clear();
    Redraw();
}

void CDateTimePicker::MoveField(int direction)
{
    for (int part = m_selected + direction; part >= 0 && part < static_cast<int>(m_parts.size()); part += direction) {
        if (IsField(part)) {
            SelectField(part);
            return;
        }
    }
}

// --- values ---------------------------------------------------------------------

SYSTEMTIME CDateTimePicker::InRange(SYSTEMTIME time) const
{
    return m_range.Clamp(time);
}

void CDateTimePicker::Change(SYSTEMTIME time)
{
    time.wDay = static_cast<WORD>(std::min<int>(time.wDay, DaysInMonth(time.wYear, time.wMonth)));
    time = InRange(time);
    if (CompareTimes(time, m_time) == 0)
        return;
    m_time = time;
    Redraw();
    NotifyChange();
}

void CDateTimePicker::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    Redraw();
    NotifyChange();
}

void CDateTimePicker::NotifyChange() const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    NMDATETIMECHANGE change;
    change.nmhdr.hwndFrom = Hwnd();
    change.nmhdr.idFrom = static_cast<UINT_PTR>(Id());
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = m_checked ? GDT_VALID : GDT_NONE;
    change.st = m_time;
    SendMessageW(parent, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

void CDateTimePicker::Step(int delta)
{
    if (!IsField(m_selected) || !m_checked)
        return;
    m_typed.clear();
    SYSTEMTIME t = m_time;
    switch (m_parts[static_cast<std::size_t>(m_selected)].field) {
    case PictureField::Day: t.wDay = static_cast<WORD>(Wrap(t.wDay + delta, 1, DaysInMonth(t.wYear, t.wMonth))); break;
    case PictureField::DayName: t = AddDays(t, delta); break;
    case PictureField::Month: t.wMonth = static_cast<WORD>(Wrap(t.wMonth + delta, 1, 12)); break;
    case PictureField::Year:
        t.wYear = static_cast<WORD>(std::clamp(t.wYear + delta, kFirstCalendarYear, kLastCalendarYear));
        break;
    case PictureField::Hour12:
    case PictureField::Hour24: t.wHour = static_cast<WORD>(Wrap(t.wHour + delta, 0, 23)); break;
    case PictureField::Minute: t.wMinute = static_cast<WORD>(Wrap(t.wMinute + delta, 0, 59)); break;
    case PictureField::Second: t.wSecond = static_cast<WORD>(Wrap(t.wSecond + delta, 0, 59)); break;
    case PictureField::AmPm: t.wHour = static_cast<WORD>((t.wHour + 12) % 24); break;
    case PictureField::Literal:
    case PictureField::Callback: break;
    }
    Change(t);
}

void CDateTimePicker::TypeDigit(int digit)
{
    if (!IsField(m_selected) || !m_checked)
        return;
    const PicturePart& part = m_parts[static_cast<std::size_t>(m_selected)];
    const bool longYear = part.field == PictureField::Year && part.letters >= 4;
    const std::size_t most = longYear ? 4 : 2;
    const DWORD now = GetTickCount();
    if (now - m_typedTick > kTypingPause || m_typed.size() >= most)
        m_typed.clear();
    m_typedTick = now;
    m_typed += static_cast<wchar_t>(L'0' + digit);
    SYSTEMTIME t = m_time;
    const auto accept = [&](int low, int high) {
        int value = std::stoi(m_typed);
        if (value > high) {
            // What cannot grow into a value starts a new one.
            m_typed.assign(1, static_cast<wchar_t>(L'0' + digit));
            value = digit;
        }
        if (value * 10 > high)
            m_typed.clear();
        return value >= low ? std::optional<int>(value) : std::nullopt;
    };
    switch (part.field) {
    case PictureField::Day:
        if (const auto v = accept(1, DaysInMonth(t.wYear, t.wMonth)))
            t.wDay = static_cast<WORD>(*v);
        break;
    case PictureField::Month:
        if (const auto v = accept(1, 12))
            t.wMonth = static_cast<WORD>(*v);
        break;
    case PictureField::Year: {
        const int value = std::stoi(m_typed);
        if (m_typed.size() <= 2)
            t.wYear = static_cast<WORD>(value < 30 ? 2000 + value : 1900 + value);
        else if (m_typed.size() == 4)
            t.wYear = static_cast<WORD>(std::clamp(value, kFirstCalendarYear, kLastCalendarYear));
        break;
    }
    case PictureField::Hour12:
        if (const auto v = accept(1, 12))
            t.wHour = static_cast<WORD>(*v % 12 + (t.wHour >= 12 ? 12 : 0));
        break;
    case PictureField::Hour24:
        if (const auto v = accept(0, 23))
            t.wHour = static_cast<WORD>(*v);
        break;
    case PictureField::Minute:
        if (const auto v = accept(0, 59))
            t.wMinute = static_cast<WORD>(*v);
        break;
    case PictureField::Second:
        if (const auto v = accept(0, 59))
            t.wSecond = static_cast<WORD>(*v);
        break;
    default: m_typed.clear(); break;
    }
    Change(t);
}

// --- input ----------------------------------------------------------------------

void CDateTimePicker::OnKey(WPARAM key)
{
    const bool moves = key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END || key == VK_F4 || key == VK_F2;
    if (!moves && IsField(m_selected) && m_parts[static_cast<std::size_t>(m_selected)].field == PictureField::Callback) {
        KeyToParent(key);
        return;
    }
    switch (key) {
    case VK_LEFT: MoveField(-1); break;
    case VK_RIGHT: MoveField(1); break;
    case VK_UP: Step(1); break;
    case VK_DOWN: Step(-1); break;
    case VK_HOME: m_selected = -1; MoveField(1); break;
    case VK_END: m_selected = static_cast<int>(m_parts.size()); MoveField(-1); break;
    case VK_F4: DropDown(); break;
    case VK_F2: BeginUserString(); break;
    default: break;
    }
}

void CDateTimePicker::OnChar(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        TypeDigit(ch - L'0');
    else if (ch == L' ' && (Style() & DTS_SHOWNONE) != 0)
        SetChecked(!m_checked);
}

void CDateTimePicker::OnClick(POINT point)
{
    if (!Focused())
        SetFocus(Hwnd());
    const RECT check = CheckRect();
    if ((Style() & DTS_SHOWNONE) != 0 && PtInRect(&check, point)) {
        SetChecked(!m_checked);
        return;
    }
    const RECT button = ButtonRect();
    if (PtInRect(&button, point)) {
        if ((Style() & DTS_UPDOWN) == 0)
            DropDown();
        else
            Step(point.y < (button.top + button.bottom) / 2 ? 1 : -1);
        return;
    }
    const std::vector<RECT> rects = PartRects();
    for (int part = 0; part < static_cast<int>(rects.size()); ++part)
        if (IsField(part) && PtInRect(&rects[static_cast<std::size_t>(part)], point))
            SelectField(part);
}

// --- messages -----------------------------------------------------------------------

LRESULT CDateTimePicker::GetSystemTime(SYSTEMTIME* time) const
{
    if (time == nullptr)
        return GDT_ERROR;
    if (!m_checked)
        return static_cast<LRESULT>(GDT_NONE);
    *time = m_time;
    return static_cast<LRESULT>(GDT_VALID);
}

LRESULT CDateTimePicker::SetSystemTime(WPARAM flag, const SYSTEMTIME* time)
{
    if (flag == GDT_NONE) {
        if ((Style() & DTS_SHOWNONE) == 0)
            return FALSE;
        m_checked = false;
        Redraw();
        return TRUE;
    }
    if (flag != GDT_VALID || time == nullptr || !IsValidTime(*time))
        return FALSE;
    m_time = InRange(*time);
    m_time.wMilliseconds = 0;
    m_checked = true;
    m_typed.clear();
    Redraw();
    return TRUE;
}

LRESULT CDateTimePicker::SetRange(WPARAM flags, const SYSTEMTIME* range)
{
    if (!m_range.Set(static_cast<DWORD>(flags), range))
        return FALSE;
    m_time = InRange(m_time);
    if (m_calendar != nullptr)
        SendMessageW(m_calendar, MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
    Redraw();
    return TRUE;
}

LRESULT CDateTimePicker::SetCalendarColor(WPARAM index, COLORREF color)
{
    if (index >= m_calendarColors.size())
        return static_cast<LRESULT>(static_cast<COLORREF>(-1));
    const COLORREF previous = m_calendarColors[index];
    m_calendarColors[index] = color;
    if (m_calendar != nullptr)
        SendMessageW(m_calendar, MCM_SETCOLOR, index, static_cast<LPARAM>(color));
    return static_cast<LRESULT>(previous);
}

std::wstring CDateTimePicker::PartText(std::size_t part) const
{
    const PicturePart& p = m_parts[part];
    if (p.field != PictureField::Callback)
        return FormatPart(p, m_time, m_names);
    HWND parent = Parent();
    if (parent == nullptr)
        return {};
    NMDATETIMEFORMATW format;
    format.nmhdr = {Hwnd(), static_cast<UINT_PTR>(Id()), DTN_FORMATW};
    format.pszFormat = p.text.c_str();
    format.st = m_time;
    format.pszDisplay = format.szDisplay;
    SendMessageW(parent, WM_NOTIFY, format.nmhdr.idFrom, reinterpret_cast<LPARAM>(&format));
    if (format.pszDisplay == format.szDisplay) {
        format.szDisplay[std::size(format.szDisplay) - 1] = L'\0';
        return format.szDisplay;
    }
    return format.pszDisplay != nullptr ? std::wstring(format.pszDisplay) : std::wstring();
}

LONG CDateTimePicker::CallbackWidth(const PicturePart& part) const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return 0;
    NMDATETIMEFORMATQUERYW query;
    query.nmhdr = {Hwnd(), static_cast<UINT_PTR>(Id()), DTN_FORMATQUERYW};
    query.pszFormat = part.text.c_str();
    SendMessageW(parent, WM_NOTIFY, query.nmhdr.idFrom, reinterpret_cast<LPARAM>(&query));
    return query.szMax.cx;
}

// A key on a callback field is the parent's to turn into a change.
void CDateTimePicker::KeyToParent(WPARAM key)
{
    HWND parent = Parent();
    if (parent == nullptr || !m_checked)
        return;
    NMDATETIMEWMKEYDOWNW down;
    down.nmhdr = {Hwnd(), static_cast<UINT_PTR>(Id()), DTN_WMKEYDOWNW};
    down.nVirtKey = static_cast<int>(key);
    down.pszFormat = m_parts[static_cast<std::size_t>(m_selected)].text.c_str();
    down.st = m_time;
    SendMessageW(parent, WM_NOTIFY, down.nmhdr.idFrom, reinterpret_cast<LPARAM>(&down));
    if (IsValidTime(down.st))
        Change(down.st);
}

std::wstring CDateTimePicker::Shown() const
{
    std::wstring text;
    for (std::size_t part = 0; part < m_parts.size(); ++part)
        text += PartText(part);
    return text;
}

LRESULT CDateTimePicker::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_calendar != nullptr && ForwardToCalendar(message, wParam, lParam))
        return 0;
    switch (message) {
    case WM_CREATE: UsePicture(nullptr); return 0;
    case kEndUserString: EndUserString(wParam != 0); return 0;
    case WM_DESTROY:
        m_userEdit = nullptr;
        // The pop-up belongs to the top-level and would outlive the control.
        if (HWND calendar = std::exchange(m_calendar, nullptr))
            DestroyWindow(calendar);
        return 0;
    // While the calendar is down, Enter and Esc are the calendar's, not the dialog's.
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_calendar != nullptr ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_typed.clear();
        Redraw();
        return 0;
    case WM_LBUTTONDOWN: OnClick(PointOf(lParam)); return 0;
    case WM_KEYDOWN: OnKey(wParam); return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN && (Style() & DTS_UPDOWN) == 0) {
            DropDown();
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    case WM_CHAR: OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_NOTIFY: OnCalendarNotify(reinterpret_cast<const NMHDR*>(lParam)); return 0;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Shown().size());
    case WM_GETTEXT: return AnswerGetText(Shown(), wParam, lParam);
    case DTM_GETSYSTEMTIME: return GetSystemTime(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETSYSTEMTIME: return SetSystemTime(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_GETRANGE: return static_cast<LRESULT>(m_range.Get(reinterpret_cast<SYSTEMTIME*>(lParam)));
    case DTM_SETRANGE: return SetRange(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_SETFORMATW: UsePicture(reinterpret_cast<LPCWSTR>(lParam)); return TRUE;
    case DTM_GETMONTHCAL: return reinterpret_cast<LRESULT>(m_calendar);
    case DTM_SETMCCOLOR: return SetCalendarColor(wParam, static_cast<COLORREF>(lParam));
    case DTM_GETMCCOLOR:
        return wParam < m_calendarColors.size() ? static_cast<LRESULT>(m_calendarColors[wParam])
                                                : static_cast<LRESULT>(static_cast<COLORREF>(-1));
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// --- layout and drawing ---------------------------------------------------------------

RECT CDateTimePicker::CheckRect() const
{
    const RECT c = Client();
    const int top = (c.top + c.bottom - kCheckSize) / 2;
    return RECT{kBorder + kGap, top, kBorder + kGap + kCheckSize, top + kCheckSize};
}

RECT CDateTimePicker::ButtonRect() const
{
    const RECT c = Client();
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{c.right - kBorder - width, c.top + kBorder, c.right - kBorder, c.bottom - kBorder};
}

std::vector<RECT> CDateTimePicker::PartRects(HDC dc) const
{
    const RECT c = Client();
    int x = kBorder + kGap + ((Style() & DTS_SHOWNONE) != 0 ? kCheckSize + kGap : 0);
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        const std::wstring text = PartText(i);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (m_parts[i].field == PictureField::Callback)
            size.cx = std::max(size.cx, CallbackWidth(m_parts[i]));
        rects.push_back(RECT{x, c.top + kBorder, x + size.cx, c.bottom - kBorder});
        x += size.cx;
    }
    return rects;
}

std::vector<RECT> CDateTimePicker::PartRects() const
{
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    std::vector<RECT> rects = PartRects(dc);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    return rects;
}

void CDateTimePicker::Paint(HDC dc)
{
    RECT all = Client();
    const bool enabled = Enabled();
    FillRect(dc, &all, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_3DFACE));
    DrawEdge(dc, &all, EDGE_SUNKEN, BF_RECT);
    if ((Style() & DTS_SHOWNONE) != 0) {
        RECT check = CheckRect();
        DrawFrameControl(dc, &check, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | (m_checked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    }
    SetBkMode(dc, TRANSPARENT);
    const bool live = enabled && m_checked;
    const std::vector<RECT> rects = PartRects(dc);
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        RECT r = rects[i];
        const bool chosen = live && Focused() && static_cast<int>(i) == m_selected && m_calendar == nullptr;
        if (chosen)
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : (live ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT)));
        const std::wstring text = PartText(i);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT button = ButtonRect();
    const UINT inactive = enabled ? 0 : DFCS_INACTIVE;
    if ((Style() & DTS_UPDOWN) != 0) {
        RECT up{button.left, button.top, button.right, (button.top + button.bottom) / 2};
        RECT down{button.left, up.bottom, button.right, button.bottom};
        DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | inactive);
        DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive);
    } else {
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | inactive | (m_calendar != nullptr ? DFCS_PUSHED | DFCS_FLAT : 0));
    }
}

// --- the drop-down --------------------------------------------------------------------

void CDateTimePicker::DropDown()
{
    if (m_calendar != nullptr || (Style() & DTS_UPDOWN) != 0 || !Enabled())
        return;
    if (!Focused())
        SetFocus(Hwnd());
    m_typed.clear();
    m_pick.reset();
    m_calendar = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MONTHCAL_CLASSW, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                 Hwnd(), nullptr, nullptr, Hwnd());
    if (m_calendar == nullptr)
        return;
    SendMessageW(m_calendar, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    for (std::size_t i = 0; i < m_calendarColors.size(); ++i)
        SendMessageW(m_calendar, MCM_SETCOLOR, i, static_cast<LPARAM>(m_calendarColors[i]));
    SYSTEMTIME range[2]{};
    const auto flags = static_cast<WPARAM>(m_range.Get(range));
    SendMessageW(m_calendar, MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
    const SYSTEMTIME shown = m_checked ? m_time : InRange(Today());
    SendMessageW(m_calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    // Under the control, at its left edge or (DTS_RIGHTALIGN) its right one.
    RECT need{};
    SendMessageW(m_calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    RECT own{};
    GetWindowRect(Hwnd(), &own);
    const int width = need.right + 2;
    const int height = need.bottom + 2;
    const int left = (Style() & DTS_RIGHTALIGN) != 0 ? own.right - width : own.left;
    SetWindowPos(m_calendar, HWND_TOPMOST, left, own.bottom, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetCapture(Hwnd());
    Redraw();
    NotifyParentOf(DTN_DROPDOWN);
}

void CDateTimePicker::NotifyParentOf(UINT code) const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    NMHDR header;
    header.hwndFrom = Hwnd();
    header.idFrom = static_cast<UINT_PTR>(Id());
    header.code = code;
    SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CDateTimePicker::CloseUp(bool takeSelection)
{
    if (m_calendar == nullptr)
        return;
    SYSTEMTIME picked{};
    const bool have = SendMessageW(m_calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&picked)) != FALSE;
    HWND calendar = m_calendar;
    m_calendar = nullptr;
    m_pick.reset();
    DestroyWindow(calendar);
    if (GetCapture() == Hwnd())
        ReleaseCapture();
    Redraw();
    if (takeSelection && have) {
        SYSTEMTIME t = m_time;
        t.wYear = picked.wYear;
        t.wMonth = picked.wMonth;
        t.wDay = picked.wDay;
        if (!m_checked) {
            // A pick gives the control its date back.
            m_checked = true;
            m_time = InRange(t);
            NotifyChange();
        } else {
            Change(t);
        }
    }
    NotifyParentOf(DTN_CLOSEUP);
}

void CDateTimePicker::OnCalendarNotify(const NMHDR* header)
{
    // The calendar is still inside its own handler: the pick is taken once
    // the forwarded input has come back.
    if (header != nullptr && header->hwndFrom == m_calendar && header->code == MCN_SELECT)
        m_pick = reinterpret_cast<const NMSELECT*>(header)->stSelStart;
}

bool CDateTimePicker::ForwardToCalendar(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
        POINT at = PointOf(lParam);
        MapWindowPoints(Hwnd(), m_calendar, &at, 1);
        RECT inside{};
        GetClientRect(m_calendar, &inside);
        if (PtInRect(&inside, at)) {
            SendMessageW(m_calendar, message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message, wParam,
                         MAKELPARAM(at.x, at.y));
            if (m_pick)
                CloseUp(true);
        } else if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
            // A click anywhere else, the drop button too, closes it unchanged.
            CloseUp(false);
        }
        return true;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE || wParam == VK_F4)
            CloseUp(false);
        else if (wParam == VK_RETURN)
            CloseUp(true);
        else
            SendMessageW(m_calendar, message, wParam, lParam);
        return true;
    case WM_SYSKEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            CloseUp(true);
            return true;
        }
        return false;
    case WM_CHAR: return true;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        CloseUp(false);
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Hwnd())
            CloseUp(false);
        return true;
    default: return false;
    }
}

}
