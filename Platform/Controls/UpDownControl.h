#pragma once
// The "msctls_updown32" class: a pair of arrows that steps a position within
// a range, asks its parent first (UDN_DELTAPOS), reports the move
// (WM_VSCROLL/WM_HSCROLL) and can show the position in a buddy window.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlWindow.h"

#include <optional>
#include <vector>

namespace ZELL::Controls {

class CUpDownControl : public CControlWindow {
public:
    explicit CUpDownControl(HWND hwnd);
    ~CUpDownControl() override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    enum class Arrow { None, Up, Down };

    // The buddy's keys come here while UDS_ARROWKEYS is set.
    static LRESULT BuddyProc(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    HWND SetBuddy(HWND buddy);
    void AttachBuddy();
    void DetachBuddy();
    void AlignToBuddy();

    Arrow ArrowAt(POINT point) const;
    void OnButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp();
    void OnTimer();
    bool OnKey(UINT message, WPARAM key);
    void EndPress();

    // One step of `increment` towards the upper end (up) or the lower end.
    void Step(Arrow arrow, int increment);
    int AccelerationNow() const;
    void ReportScroll(WORD code) const;

    int Low() const { return std::min(m_lower, m_upper); }
    int High() const { return std::max(m_lower, m_upper); }
    LRESULT SetPosition(long long position);
    // The position, read from the buddy's text first with UDS_SETBUDDYINT.
    int CurrentPosition(bool* failed);
    std::optional<int> ParseBuddy() const;
    void ShowInBuddy() const;
    LRESULT SetAccelerations(WPARAM count, LPARAM table);
    LRESULT GetAccelerations(WPARAM count, LPARAM table) const;

    int m_lower = 100;  // the value at the bottom (or left) arrow's end
    int m_upper = 0;    // the value at the top (or right) arrow's end
    int m_position = 0;
    int m_base = 10;
    HWND m_buddy = nullptr;
    std::vector<UDACCEL> m_accels{{0, 1}, {2, 5}, {5, 20}};
    Arrow m_pressed = Arrow::None;
    bool m_over = false;        // the pointer is over the pressed arrow
    bool m_repeating = false;   // the first delay has passed
    DWORD m_pressTick = 0;
    Arrow m_keyStep = Arrow::None;
};

}
