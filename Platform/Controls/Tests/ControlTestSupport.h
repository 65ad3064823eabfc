#pragma once
// A parent window for the control tests that records what its controls tell
// it, input injected through the headless display as a user gives it, and
// the comparison of renderings with the golden pictures.
#include "Platform/Base/Clock.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace ControlTest {

// What the parent was told, in order.
struct Note {
    UINT message = 0;
    WORD code = 0;   // WM_COMMAND's notification, WM_NOTIFY's code, WM_xSCROLL's request
    int id = 0;
    int position = 0;  // UDN_DELTAPOS's iPos, WM_xSCROLL's position
    int delta = 0;     // UDN_DELTAPOS's iDelta
    DRAWITEMSTRUCT item{};
    bool operator==(const Note& other) const
    {
        return message == other.message && code == other.code && id == other.id;
    }
};

inline LPCWSTR ParentClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = UiTest::TestProc;
        wc.lpszClassName = L"ControlTestParent";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
        RegisterClassExW(&wc);
        return true;
    }();
    (void)registered;
    return L"ControlTestParent";
}

// A dialog-coloured top-level at a fixed place on the manual clock, with the
// standard controls registered; it keeps the notes of its children.
class Scene {
public:
    static constexpr POINT kOrigin{300, 200};

    explicit Scene(int width = 320, int height = 200)
    {
        ZELL::Controls::RegisterStandardControls();
        m_parent.m_onMessage = [this](HWND, UINT m, WPARAM w, LPARAM l, LRESULT& result) {
            return Record(m, w, l, result);
        };
        m_guard.hwnd = CreateWindowExW(0, ParentClass(), L"controls", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y,
                                       width, height, nullptr, nullptr, nullptr, &m_parent);
        SetActiveWindow(m_guard.hwnd);
        UiTest::Drain();
    }

    HWND Top() const { return m_guard.hwnd; }
    HWND Add(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int w, int h, int id, DWORD exStyle = 0)
    {
        HWND hwnd = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Top(),
                                    reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
        UiTest::Drain();
        return hwnd;
    }

    std::vector<Note> Notes(UINT message = 0) const
    {
        std::vector<Note> result;
        for (const Note& n : m_notes)
            if (message == 0 || n.message == message)
                result.push_back(n);
        return result;
    }
    std::vector<WORD> Codes(UINT message) const
    {
        std::vector<WORD> codes;
        for (const Note& n : Notes(message))
            codes.push_back(n.code);
        return codes;
    }
    void Clear() { m_notes.clear(); }

    // Answers for the parent: the WM_CTLCOLOR* brush and the UDN_DELTAPOS verdict.
    HBRUSH m_ctlColorBrush = nullptr;
    COLORREF m_ctlTextColor = RGB(0, 0, 0);
    bool m_refuseDelta = false;
    int m_deltaOverride = 0;
    std::function<void(const DRAWITEMSTRUCT&)> m_drawItem;

    // --- input as a user gives it -------------------------------------------
    void Press(HWND control, POINT at) const { Display().InjectMouseDown(Display::MouseButton::Left, Screen(control, at)); UiTest::Drain(); }
    void Move(HWND control, POINT at) const { Display().InjectMouseMove(Screen(control, at)); UiTest::Drain(); }
    void Release(HWND control, POINT at) const { Display().InjectMouseUp(Display::MouseButton::Left, Screen(control, at)); UiTest::Drain(); }
    // A click that is never taken for the second half of a double click.
    void Click(HWND control, POINT at) const
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        Press(control, at);
        Release(control, at);
    }
    void DoubleClick(HWND control, POINT at) const
    {
        Click(control, at);
        Press(control, at);
        Release(control, at);
    }
    void Key(UINT key) const
    {
        Display().InjectKeyDown(key);
        Display().InjectKeyUp(key);
        UiTest::Drain();
    }
    // Lets time pass on the test clock and serves the timers that came due.
    void Wait(DWORD ms, DWORD slice = 10) const
    {
        for (DWORD done = 0; done < ms; done += slice) {
            Platform::Clock::Advance(slice);
            UiTest::Drain();
        }
    }
    static Display::CHeadlessDisplay& Display() { return UiTest::Headless(); }

    // The pixel the display shows at a point of a control.
    COLORREF PixelOf(HWND control, POINT at) const
    {
        UpdateWindow(Top());
        UiTest::Drain();
        MapWindowPoints(control, Top(), &at, 1);
        return Display().PixelAt(NativeWindowOf(Top()), at.x, at.y).value_or(CLR_INVALID);
    }
    static constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

private:
    static POINT Screen(HWND control, POINT at)
    {
        ClientToScreen(control, &at);
        return at;
    }

    bool Record(UINT m, WPARAM w, LPARAM l, LRESULT& result)
    {
        switch (m) {
        case WM_COMMAND: m_notes.push_back({m, HIWORD(w), LOWORD(w)}); return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<NMHDR*>(l);
            Note note{m, static_cast<WORD>(header->code), static_cast<int>(header->idFrom)};
            if (header->code == UDN_DELTAPOS) {
                auto* change = reinterpret_cast<NMUPDOWN*>(l);
                note.position = change->iPos;
                note.delta = change->iDelta;
                if (m_deltaOverride != 0)
                    change->iDelta = m_deltaOverride;
            }
            m_notes.push_back(note);
            result = m_refuseDelta ? TRUE : FALSE;
            return true;
        }
        case WM_VSCROLL:
        case WM_HSCROLL:
            m_notes.push_back({m, LOWORD(w), GetDlgCtrlID(reinterpret_cast<HWND>(l)), static_cast<SHORT>(HIWORD(w))});
            return false;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            Note note{m, 0, static_cast<int>(item->CtlID)};
            note.item = *item;
            m_notes.push_back(note);
            if (m_drawItem)
                m_drawItem(*item);
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            m_notes.push_back({m, 0, GetDlgCtrlID(reinterpret_cast<HWND>(l))});
            if (m_ctlColorBrush == nullptr)
                return false;
            SetTextColor(reinterpret_cast<HDC>(w), m_ctlTextColor);
            SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
            result = reinterpret_cast<LRESULT>(m_ctlColorBrush);
            return true;
        default: return false;
        }
    }

    // Declared before the window, so that they outlive what it says while it goes.
    Platform::ManualClockScope m_clock{10000000};
    std::vector<Note> m_notes;
    UiTest::Handler m_parent;
    UiTest::WindowGuard m_guard;
};

// A bitmap of one colour.
inline HBITMAP SolidBitmap(int w, int h, COLORREF color)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}

// --- golden pictures ---------------------------------------------------------

// Compares what the display shows of the scene with Golden/<name>.png,
// through the window layer's golden-picture check.
inline void ExpectGolden(const Scene& scene, const std::string& name)
{
    namespace fs = std::filesystem;
    UpdateWindow(scene.Top());
    UiTest::Drain();
    const fs::path outputs = ZELL_CONTROLS_OUTPUT_DIR;
    fs::create_directories(outputs);
    const fs::path shown = outputs / (name + ".png");
    ASSERT_TRUE(Scene::Display().SaveAsPng(NativeWindowOf(scene.Top()), shown.string()));
    EXPECT_TRUE(UiTest::MatchesGolden(shown.string(), name, ZELL_CONTROLS_GOLDEN_DIR));
}

}
