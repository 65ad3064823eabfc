#pragma once
// The month calendar, on its own or as the drop-down of a date-time picker.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Base/SystemTime.h"
#include "Platform/Controls/DateTimeStyles.h"

class CMonthCalCtrl : public CWnd {
    DECLARE_DYNAMIC(CMonthCalCtrl)
public:
    // The framework object of a calendar window, or a temporary one; null for none.
    static CMonthCalCtrl* FromHandle(HWND hwnd);

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(MONTHCAL_CLASSW, nullptr, style, rect, parent, id);
    }
    BOOL GetCurSel(SYSTEMTIME* date) const { return Int(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(date)); }
    BOOL SetCurSel(const SYSTEMTIME* date) { return Int(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(date)); }
    BOOL GetToday(SYSTEMTIME* date) const { return Int(MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(date)); }
    void SetToday(const SYSTEMTIME* date) { SendMessage(MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(date)); }
    // MCSC_BACKGROUND, MCSC_TEXT, MCSC_TITLEBK ...; the previous colour.
    COLORREF SetColor(int part, COLORREF color)
    {
        return static_cast<COLORREF>(SendMessage(MCM_SETCOLOR, static_cast<WPARAM>(part), static_cast<LPARAM>(color)));
    }
    COLORREF GetColor(int part) const { return static_cast<COLORREF>(SendMessage(MCM_GETCOLOR, static_cast<WPARAM>(part))); }
    // 0 is Monday, 6 Sunday.
    BOOL SetFirstDayOfWeek(int day, int* previous = nullptr);
    int GetFirstDayOfWeek(BOOL* fromLocale = nullptr) const;
    // GDTR_MIN and GDTR_MAX tell which of range[0] and range[1] are set.
    DWORD GetRange(SYSTEMTIME* range) const
    {
        return static_cast<DWORD>(SendMessage(MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    }
    BOOL SetRange(DWORD which, const SYSTEMTIME* range)
    {
        return Int(MCM_SETRANGE, which, reinterpret_cast<LPARAM>(range));
    }
    BOOL GetMinReqRect(RECT* rect) const { return Int(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(rect)); }

private:
    int Int(UINT message, WPARAM wParam, LPARAM lParam) const { return static_cast<int>(SendMessage(message, wParam, lParam)); }
};
