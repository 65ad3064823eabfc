#pragma once
// A parent with two labels that each have a tip, for the tooltip tests:
// injected pointer moves and presses, the test clock, the tip's place.
#include "Common/Skin/RichToolTip.h"
#include "Common/Skin/Tests/ControlsTestSupport.h"

namespace ControlsTest {

// The parent hands every message to the tooltip before it is dispatched, as
// a dialog's PreTranslateMessage does.
template<typename Tip>
class CTooltipScene : public CScene {
public:
    CTooltipScene() : CScene(400, 300)
    {
        first = Add(L"STATIC", L"first", SS_LEFT, RECT{10, 10, 110, 40}, 1);
        second = Add(L"STATIC", L"second", SS_LEFT, RECT{150, 10, 250, 40}, 2);
        EXPECT_TRUE(tip.Create(&parent, TRUE));
        tip.AddToolText(first, L"First <b>tip</b>", 1);
        tip.AddToolText(second, L"Second tip", 2);
    }
    ~CTooltipScene() { tip.DestroyWindow(); }

    void Pump()
    {
        MSG msg{};
        for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (tip.RelayEvent(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    void Pass(DWORD ms, DWORD slice = 10)
    {
        for (DWORD done = 0; done < ms; done += slice) {
            Platform::Clock::Advance(slice);
            Pump();
        }
    }
    void Point(HWND control, POINT at = {20, 10})
    {
        Display().InjectMouseMove(Screen(control, at));
        Pump();
    }
    void PressLeft()
    {
        POINT at{};
        GetCursorPos(&at);
        Display().InjectMouseDown(Display::MouseButton::Left, at);
        Display().InjectMouseUp(Display::MouseButton::Left, at);
        Pump();
    }
    bool Shown() const { return tip.IsWindowVisible() != FALSE; }
    // A pixel of the tip as the display shows it, after it has painted.
    COLORREF TipPixel(int x, int y)
    {
        ::UpdateWindow(tip.m_hWnd);
        Pump();
        return Display().PixelAt(NativeWindowOf(tip.m_hWnd), x, y).value_or(CLR_INVALID);
    }
    RECT TipRect() const
    {
        RECT r{};
        ::GetWindowRect(tip.m_hWnd, &r);
        return r;
    }

    Tip tip;
    HWND first = nullptr;
    HWND second = nullptr;
};

}
