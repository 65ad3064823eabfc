#pragma once
// The "SysDateTimePick32" class: a date or time shown through a format
// picture whose fields are picked with Left/Right and changed with the
// arrows or typed digits; two digits typed within kTypingPause make one
// value. DTS_SHOWNONE adds a check box for "no date"; DTS_UPDOWN puts
// arrows at the right end, otherwise a button there drops a month calendar
// down (DTS_RIGHTALIGN: aligned with the control's right edge) whose pick
// is taken over. Every change by the user is told as DTN_DATETIMECHANGE.
// Runs of X in the picture are callback fields the parent writes and edits.
// With DTS_APPCANPARSE, F2 opens an edit over the field for free text that
// the parent turns into a date (DTN_USERSTRING) on Enter or when the edit
// loses the focus; Esc drops it.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/DateRange.h"
#include "Platform/Controls/DateTimePicture.h"
#include "Platform/Controls/DateTimeStyles.h"

#include <array>
#include <optional>
#include <vector>

namespace ZELL::Controls {

class CDateTimePicker : public CControlWindow {
public:
    // The longest pause between two digits that still make one value.
    static constexpr DWORD kTypingPause = 1000;

    explicit CDateTimePicker(HWND hwnd);
    ~CDateTimePicker() override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    void UsePicture(const wchar_t* picture);
    bool IsField(int part) const;
    void SelectField(int part);
    void MoveField(int direction);
    void OnKey(WPARAM key);
    void OnChar(wchar_t ch);
    void OnClick(POINT point);
    void Step(int delta);
    void TypeDigit(int digit);
    // Puts `time` in, held to the range, and tells the parent when it changed.
    void Change(SYSTEMTIME time);
    void SetChecked(bool checked);
    void NotifyChange() const;
    SYSTEMTIME InRange(SYSTEMTIME time) const;
    std::wstring Shown() const;
    std::wstring PartText(std::size_t part) const;
    LONG CallbackWidth(const PicturePart& part) const;
    void KeyToParent(WPARAM key);

    LRESULT GetSystemTime(SYSTEMTIME* time) const;
    LRESULT SetSystemTime(WPARAM flag, const SYSTEMTIME* time);
    LRESULT SetRange(WPARAM flags, const SYSTEMTIME* range);
    LRESULT SetCalendarColor(WPARAM index, COLORREF color);

    // --- the calendar drop-down --------------------------------------------
    void DropDown();
    void CloseUp(bool takeSelection);
    void OnCalendarNotify(const NMHDR* header);
    void NotifyParentOf(UINT code) const;
    // With the calendar down, input comes here under capture and goes on to it.
    bool ForwardToCalendar(UINT message, WPARAM wParam, LPARAM lParam);

    // --- free text for the parent to parse (DateTimeUserString.cpp) -------------
    void BeginUserString();
    void EndUserString(bool take);
    void TakeUserString(const std::wstring& text);
    // Sent to the picker by its edit: wParam nonzero takes the text.
    static constexpr UINT kEndUserString = WM_USER + 0x300;
    static LRESULT UserEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    // --- layout --------------------------------------------------------------
    RECT CheckRect() const;
    RECT ButtonRect() const;
    std::vector<RECT> PartRects(HDC dc) const;
    std::vector<RECT> PartRects() const;

    LocaleTimeNames m_names = LocaleTimeNames::FromUser();
    std::vector<PicturePart> m_parts;
    SYSTEMTIME m_time{};
    bool m_checked = true;
    CDateRange m_range;
    int m_selected = -1;  // the part index of the chosen field
    std::wstring m_typed;
    DWORD m_typedTick = 0;
    std::array<COLORREF, 6> m_calendarColors{};
    HWND m_calendar = nullptr;
    HWND m_userEdit = nullptr;
    std::optional<SYSTEMTIME> m_pick;  // the calendar's MCN_SELECT, until it is taken
};

}
