#pragma once
// Drives windows as a user does, through input injected into the headless
// display: finds controls by id, clicks them, types into them, presses keys
// with modifiers, reads their text and state, and pumps messages until the
// thread is idle (never longer than a bound).
#include "Platform/Ui/WinUser.h"

#include <functional>
#include <string>

namespace UiTest {

enum Modifier : unsigned {
    kNoModifier = 0,
    kShift = 1,
    kControl = 2,
    kAlt = 4,
};

class CDialogDriver {
public:
    // `dialog` is the window whose controls are reached by id; its
    // IsDialogMessageW sees what the driver pumps.
    explicit CDialogDriver(HWND dialog) : m_dialog(dialog) {}

    HWND Dialog() const { return m_dialog; }
    // The control with the id, also inside child windows (property pages,
    // group containers); null when there is none.
    HWND Control(int id) const;

    // --- input --------------------------------------------------------------
    // Moves the pointer onto the control and clicks its centre, or the given
    // point in its client coordinates. False when the control is not there.
    bool Click(int id);
    bool Click(int id, POINT clientPoint);
    static void ClickAt(POINT screen);
    // Presses and releases a key with the modifiers held around it.
    void Press(UINT virtualKey, unsigned modifiers = kNoModifier);
    // Types the text key by key (letters, digits and space as their keys,
    // anything else as typed text).
    void Type(const std::wstring& text);
    // Clicks the control, then types into it.
    bool TypeInto(int id, const std::wstring& text);

    // --- state --------------------------------------------------------------
    std::wstring Text(int id) const;
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    bool IsVisible(int id) const;
    // The id of the focused control, 0 when the focus is elsewhere.
    int FocusId() const;

    // --- pumping ------------------------------------------------------------
    // Dispatches what the calling thread has (through IsDialogMessageW of the
    // dialog while it exists) until nothing is left. False when the thread
    // was still busy after `maxMs`.
    bool PumpUntilIdle(DWORD maxMs = 2000) const;
    // Pumps until `done` holds; false when it did not within `maxMs`.
    bool PumpUntil(const std::function<bool()>& done, DWORD maxMs = 2000) const;

private:
    bool PumpOnce() const;

    HWND m_dialog = nullptr;
};

}
