#pragma once
// A top-level for the IP-address, date-time and calendar tests that keeps
// what its children tell it with the payloads those controls carry, answers
// the notices they raise from inside their modal loop, and types through the
// shared dialog driver.
#include "Platform/Base/Clock.h"
#include "Platform/Controls/CalendarMath.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace AddressTest {

struct Heard {
    UINT message = 0;
    UINT code = 0;  // WM_COMMAND's notification or WM_NOTIFY's code
    int id = 0;
    int field = 0;  // IPN_FIELDCHANGED
    int value = 0;  // IPN_FIELDCHANGED; DTN_DATETIMECHANGE's dwFlags
    SYSTEMTIME time{};  // DTN_DATETIMECHANGE, MCN_SELCHANGE/SELECT's start
};

inline SYSTEMTIME Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    ZELL::Controls::SetDayOfWeek(t);
    return t;
}

// Where a user sees a day cell: the calendar stacks a title, the day names,
// six weeks of cells and the today line, from the heights of its font.
inline POINT CellCentre(HWND calendar, int index)
{
    RECT need{};
    SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    const int textHeight = (need.bottom - 43) / 9;
    const int cellWidth = (need.right - 8) / 7;
    const int cellHeight = textHeight + 3;
    const int top = 4 + textHeight + 8 + cellHeight;
    return POINT{4 + (index % 7) * cellWidth + cellWidth / 2, top + (index / 7) * cellHeight + cellHeight / 2};
}

inline std::string Ymd(const SYSTEMTIME& t)
{
    return std::to_string(t.wYear) + "-" + std::to_string(t.wMonth) + "-" + std::to_string(t.wDay);
}

// The C conventions in UTF-8, whatever the machine's user has.
inline void UseCLocale()
{
    unsetenv("LC_ALL");
    setenv("LC_TIME", "C.UTF-8", 1);
}

using UiTest::TextOf;

class Host {
public:
    static constexpr int kFirstId = 7;

    explicit Host(int width = 260, int height = 120)
    {
        ZELL::Controls::RegisterStandardControls();
        m_handler.m_onMessage = [this](HWND, UINT m, WPARAM w, LPARAM l, LRESULT& result) {
            return Record(m, w, l, result);
        };
        m_top.hwnd = UiTest::Create(&m_handler, WS_POPUP | WS_VISIBLE, 300, 200, width, height);
        SetActiveWindow(m_top.hwnd);
        UiTest::Drain();
    }

    HWND Top() const { return m_top.hwnd; }
    HWND Add(LPCWSTR className, DWORD style, RECT place, int id = kFirstId)
    {
        HWND hwnd = CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, place.left,
                                    place.top, place.right - place.left, place.bottom - place.top, Top(),
                                    reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
        UiTest::Drain();
        return hwnd;
    }

    // --- what was heard -----------------------------------------------------
    std::vector<Heard> Notes(UINT message, UINT code) const
    {
        std::vector<Heard> found;
        for (const Heard& h : m_heard)
            if (h.message == message && h.code == code)
                found.push_back(h);
        return found;
    }
    // The codes in order: WM_COMMAND's and WM_NOTIFY's.
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Heard& h : m_heard)
            codes.push_back(h.code);
        return codes;
    }
    void Clear() { m_heard.clear(); }

    // Runs when a message box comes up over the host, from inside its loop;
    // the box's text is kept and Enter ends it unless the handler did.
    std::vector<std::wstring> m_notices;
    // May change what a WM_NOTIFY carries before the control reads it back.
    std::function<void(NMHDR*)> m_onNotify;

    // --- input ---------------------------------------------------------------
    void Type(const std::wstring& text)
    {
        UiTest::CDialogDriver driver(Top());
        for (const wchar_t ch : text) {
            driver.Type(std::wstring(1, ch));
            UiTest::Drain();
        }
    }
    void Press(UINT key, unsigned modifiers = UiTest::kNoModifier)
    {
        UiTest::CDialogDriver(Top()).Press(key, modifiers);
        UiTest::Drain();
    }
    static POINT Screen(HWND hwnd, POINT at)
    {
        ClientToScreen(hwnd, &at);
        return at;
    }
    void Click(HWND hwnd, POINT at)
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        UiTest::CDialogDriver::ClickAt(Screen(hwnd, at));
        UiTest::Drain();
    }
    void Wait(DWORD ms)
    {
        for (DWORD done = 0; done < ms; done += 10) {
            Platform::Clock::Advance(10);
            UiTest::Drain();
        }
    }

private:
    bool Record(UINT m, WPARAM w, LPARAM l, LRESULT& result)
    {
        if (m == WM_COMMAND && l != 0) {
            m_heard.push_back({m, HIWORD(w), LOWORD(w)});
        } else if (m == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(l);
            Heard heard{m, header->code, static_cast<int>(header->idFrom)};
            Describe(header, heard);
            if (m_onNotify)
                m_onNotify(header);
            m_heard.push_back(heard);
            result = 0;
            return true;
        } else if (m == WM_ENTERIDLE && !m_inBox) {
            m_inBox = true;
            HWND box = reinterpret_cast<HWND>(l);
            m_notices.push_back(TextOf(GetDlgItem(box, 0xFFFF)));
            UiTest::CDialogDriver driver(box);
            driver.Press(VK_RETURN);
            driver.PumpUntilIdle();
            m_inBox = false;
        }
        return false;
    }
    static void Describe(const NMHDR* header, Heard& heard)
    {
        if (header->code == IPN_FIELDCHANGED) {
            const auto* change = reinterpret_cast<const NMIPADDRESS*>(header);
            heard.field = change->iField;
            heard.value = change->iValue;
        } else if (header->code == DTN_DATETIMECHANGE) {
            const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
            heard.value = static_cast<int>(change->dwFlags);
            heard.time = change->st;
        } else if (header->code == MCN_SELCHANGE || header->code == MCN_SELECT) {
            heard.time = reinterpret_cast<const NMSELCHANGE*>(header)->stSelStart;
        }
    }

    Platform::ManualClockScope m_clock{10000000};
    std::vector<Heard> m_heard;
    bool m_inBox = false;
    UiTest::Handler m_handler;
    UiTest::WindowGuard m_top;
};

}
