#pragma once
// A framework parent window for the controls' tests: it reflects what its
// children tell it, as a dialog does, and keeps a note of every command and
// notification; injected input, the test clock and the pixels the display
// shows.
#include "Common/Skin/SkinButton.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Base/Clock.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace ControlsTest {

struct Note {
    UINT message = 0;
    UINT code = 0;
    int id = 0;
};

class CTestParent : public CWnd {
public:
    std::vector<Note> notes;

    int Count(UINT message, UINT code, int id) const
    {
        int count = 0;
        for (const Note& n : notes)
            count += n.message == message && n.code == code && n.id == id ? 1 : 0;
        return count;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        notes.push_back({WM_COMMAND, HIWORD(wParam), LOWORD(wParam)});
        return CWnd::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        notes.push_back({WM_NOTIFY, header->code, static_cast<int>(header->idFrom)});
        return CWnd::OnNotify(wParam, lParam, result);
    }
};

// A top-level parent at a fixed place, on the manual clock.
class CScene {
public:
    static constexpr POINT kOrigin{200, 150};

    explicit CScene(int width = 320, int height = 200)
    {
        ZELL::Controls::RegisterStandardControls();
        parent.CreateEx(0, CWnd::DefaultClassName(), L"scene", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y, width,
                        height, nullptr, nullptr);
        SetActiveWindow(parent.m_hWnd);
        UiTest::Drain();
    }
    ~CScene()
    {
        if (parent.m_hWnd != nullptr)
            parent.DestroyWindow();
        UiTest::Drain();
    }
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    HWND Add(LPCWSTR className, LPCWSTR text, DWORD style, const RECT& r, int id) const
    {
        HWND hwnd = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, parent.m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
        UiTest::Drain();
        return hwnd;
    }
    // A child of the class, subclassed by `control`.
    template<typename Control>
    bool Attach(Control& control, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& r, int id) const
    {
        HWND hwnd = Add(className, text, style, r, id);
        const bool attached = hwnd != nullptr && control.SubclassWindow(hwnd);
        // Painted again, now by the control.
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
        UiTest::Drain();
        return attached;
    }

    static Display::CHeadlessDisplay& Display() { return UiTest::Headless(); }
    static POINT Screen(HWND control, POINT at)
    {
        ClientToScreen(control, &at);
        return at;
    }
    void MoveTo(HWND control, POINT at) const { Display().InjectMouseMove(Screen(control, at)); UiTest::Drain(); }
    void Press(HWND control, POINT at) const
    {
        Display().InjectMouseDown(Display::MouseButton::Left, Screen(control, at));
        UiTest::Drain();
    }
    void Release(HWND control, POINT at) const
    {
        Display().InjectMouseUp(Display::MouseButton::Left, Screen(control, at));
        UiTest::Drain();
    }
    void Click(HWND control, POINT at = {5, 5}) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Press(control, at);
        Release(control, at);
    }
    // Lets time pass on the test clock and serves the timers that came due.
    void Wait(DWORD ms, DWORD slice = 5) const
    {
        for (DWORD done = 0; done < ms; done += slice) {
            Platform::Clock::Advance(slice);
            UiTest::Drain();
        }
    }
    COLORREF PixelOf(HWND control, POINT at) const
    {
        UpdateWindow(parent.m_hWnd);
        UiTest::Drain();
        MapWindowPoints(control, parent.m_hWnd, &at, 1);
        return Display().PixelAt(NativeWindowOf(parent.m_hWnd), at.x, at.y).value_or(0xFFFFFFFFu);
    }

    // Declared before the window, so that it outlives what the window says while it goes.
    Platform::ManualClockScope clock{20000000};
    CTestParent parent;
};

// Draws the button's item into a canvas, as the parent's WM_DRAWITEM does.
inline void DrawInto(ZELL::Skin::CSkinButton& button, CCanvas& canvas, UINT state)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button.m_hWnd;
    item.hDC = canvas.Dc();
    item.rcItem = RECT{0, 0, canvas.Width(), canvas.Height()};
    button.DrawItem(&item);
}

inline RECT Area(int x, int y, int width, int height)
{
    return RECT{x, y, x + width, y + height};
}

}
