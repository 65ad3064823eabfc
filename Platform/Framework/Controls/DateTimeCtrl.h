#pragma once
// The date-time picker with its drop-down month calendar.
#include "Platform/Framework/Controls/MonthCalCtrl.h"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(DATETIMEPICK_CLASSW, nullptr, style, rect, parent, id);
    }
    // GDT_VALID, GDT_NONE (DTS_SHOWNONE with its box unchecked) or GDT_ERROR.
    DWORD GetTime(SYSTEMTIME* time) const
    {
        return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
    }
    // A null time sets "none" (DTS_SHOWNONE only).
    BOOL SetTime(const SYSTEMTIME* time)
    {
        return SendMessage(DTM_SETSYSTEMTIME, time != nullptr ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(time)) != 0;
    }
    // A picture such as L"dd.MM.yyyy HH:mm"; null goes back to the style's own format.
    BOOL SetFormat(LPCWSTR format) { return SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)) != 0; }
    DWORD GetRange(SYSTEMTIME* range) const
    {
        return static_cast<DWORD>(SendMessage(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    }
    BOOL SetRange(const SYSTEMTIME* earliest, const SYSTEMTIME* latest);
    // The drop-down calendar while it is open, else null.
    CMonthCalCtrl* GetMonthCalCtrl() const
    {
        return CMonthCalCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(DTM_GETMONTHCAL)));
    }
    COLORREF SetMonthCalColor(int part, COLORREF color)
    {
        return static_cast<COLORREF>(SendMessage(DTM_SETMCCOLOR, static_cast<WPARAM>(part), static_cast<LPARAM>(color)));
    }
    COLORREF GetMonthCalColor(int part) const
    {
        return static_cast<COLORREF>(SendMessage(DTM_GETMCCOLOR, static_cast<WPARAM>(part)));
    }
};
