#pragma once
// What a test does while a menu loop waits: each idle moment of the loop
// (WM_ENTERIDLE with MSGF_MENU, sent to the menu's owner) runs the next
// step. When no step is left, or the loop idled too often, the menu is
// ended, so that a test that goes wrong cannot hang. Every step gives the
// loop input or ends it: the loop idles again only after new input.
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/WinUser.h"

#include <deque>
#include <functional>
#include <utility>

namespace UiTest {

class CMenuScript {
public:
    void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    // A key pressed and released with the modifiers, to `window`'s thread.
    void Key(HWND window, UINT virtualKey, unsigned modifiers = kNoModifier)
    {
        Add([window, virtualKey, modifiers] { CDialogDriver(window).Press(virtualKey, modifiers); });
    }
    // The owner's WM_ENTERIDLE; false for other kinds of idle.
    bool OnIdle(WPARAM kind, LPARAM menuWindow)
    {
        if (kind != MSGF_MENU)
            return false;
        m_menuWindow = reinterpret_cast<HWND>(menuWindow);
        if (m_steps.empty() || ++m_idles > kMaxIdles) {
            EndMenu();
            return true;
        }
        auto step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
        return true;
    }
    void Reset()
    {
        m_steps.clear();
        m_idles = 0;
    }
    HWND MenuWindow() const { return m_menuWindow; }
    int Idles() const { return m_idles; }

private:
    static constexpr int kMaxIdles = 50;
    std::deque<std::function<void()>> m_steps;
    HWND m_menuWindow = nullptr;
    int m_idles = 0;
};

// A visible overlapped window with the keyboard focus, whose messages the
// handler sees: the owner of the menus under test.
inline HWND CreateMenuOwner(Handler* handler, int x = 100, int y = 100, int width = 400, int height = 300)
{
    HWND owner = Create(handler, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height);
    if (owner != nullptr) {
        SetForegroundWindow(owner);
        SetFocus(owner);
        Drain();
    }
    return owner;
}

inline POINT CenterOf(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}
