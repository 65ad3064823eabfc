#pragma once
// A parent for the list view and header tests: it keeps every WM_NOTIFY its
// children send (with what the list view and header structures carry), lets
// a test answer them, and drives the children with injected input through
// the shared dialog driver.
#include "Platform/Base/Clock.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace ListViewTest {

struct Notice {
    UINT code = 0;
    int item = -1;
    int subItem = 0;
    UINT newState = 0;
    UINT oldState = 0;
    int width = -1;  // the header's HDI_WIDTH, when it says one
};

class Scene {
public:
    static constexpr int kListId = 100;
    static constexpr int kHeaderId = 101;

    explicit Scene(int width = 360, int height = 220)
    {
        ZELL::Controls::RegisterStandardControls();
        m_parent.m_onMessage = [this](HWND, UINT m, WPARAM, LPARAM l, LRESULT& result) {
            if (m != WM_NOTIFY)
                return false;
            result = Record(reinterpret_cast<NMHDR*>(l));
            return true;
        };
        m_guard.hwnd = CreateWindowExW(0, UiTest::ClassName(true), L"list", WS_POPUP | WS_VISIBLE, 200, 150, width, height,
                                       nullptr, nullptr, nullptr, &m_parent);
        SetActiveWindow(m_guard.hwnd);
        UiTest::Drain();
    }

    HWND Top() const { return m_guard.hwnd; }
    HWND Add(LPCWSTR className, DWORD style, RECT r, int id)
    {
        HWND hwnd = CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, Top(), reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                                    nullptr, nullptr);
        UiTest::Drain();
        return hwnd;
    }

    // --- input --------------------------------------------------------------
    UiTest::CDialogDriver Driver() const { return UiTest::CDialogDriver(Top()); }
    // A click never taken for the second half of a double click.
    void Click(HWND control, POINT at, unsigned modifiers = UiTest::kNoModifier)
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        ClickNow(control, at, modifiers);
    }
    void DoubleClick(HWND control, POINT at)
    {
        Click(control, at);
        ClickNow(control, at, UiTest::kNoModifier);
    }
    void Press(UINT key, unsigned modifiers = UiTest::kNoModifier)
    {
        UiTest::CDialogDriver driver = Driver();
        driver.Press(key, modifiers);
        driver.PumpUntilIdle();
    }
    void Drag(HWND control, POINT from, POINT to)
    {
        Platform::Clock::Advance(GetDoubleClickTime() + 1);
        auto& display = UiTest::Headless();
        display.InjectMouseMove(Screen(control, from));
        display.InjectMouseDown(Display::MouseButton::Left, Screen(control, from));
        UiTest::Drain();
        display.InjectMouseMove(Screen(control, to));
        UiTest::Drain();
        display.InjectMouseUp(Display::MouseButton::Left, Screen(control, to));
        UiTest::Drain();
    }
    void MoveTo(HWND control, POINT at)
    {
        UiTest::Headless().InjectMouseMove(Screen(control, at));
        UiTest::Drain();
    }

    // --- what the parent heard ------------------------------------------------
    std::vector<Notice> Heard(UINT code) const
    {
        std::vector<Notice> found;
        for (const Notice& n : m_heard)
            if (n.code == code)
                found.push_back(n);
        return found;
    }
    // The codes in order, leaving out custom draw and display-info requests.
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Notice& n : m_heard)
            if (n.code != NM_CUSTOMDRAW && n.code != LVN_GETDISPINFOW)
                codes.push_back(n.code);
        return codes;
    }
    void Forget() { m_heard.clear(); }

    // The parent's answer to a notification; none answers 0.
    std::function<LRESULT(NMHDR*)> m_answer;

    COLORREF PixelOf(HWND control, POINT at) const
    {
        UpdateWindow(Top());
        UiTest::Drain();
        MapWindowPoints(control, Top(), &at, 1);
        return UiTest::Headless().PixelAt(NativeWindowOf(Top()), at.x, at.y).value_or(0xFFFFFFFFu);
    }

    ::testing::AssertionResult MatchesGolden(const std::string& name) const
    {
        UpdateWindow(Top());
        UiTest::Drain();
        const std::string shown = (std::filesystem::temp_directory_path() / (name + "-shown.png")).string();
        if (!UiTest::Headless().SaveAsPng(NativeWindowOf(Top()), shown))
            return ::testing::AssertionFailure() << "cannot save the rendering";
        return UiTest::MatchesGolden(shown, name, ZELL_CONTROLS_GOLDEN_DIR);
    }

private:
    static POINT Screen(HWND control, POINT at)
    {
        ClientToScreen(control, &at);
        return at;
    }
    void ClickNow(HWND control, POINT at, unsigned modifiers)
    {
        auto& display = UiTest::Headless();
        if ((modifiers & UiTest::kControl) != 0)
            display.InjectKeyDown(VK_CONTROL);
        if ((modifiers & UiTest::kShift) != 0)
            display.InjectKeyDown(VK_SHIFT);
        display.InjectMouseMove(Screen(control, at));
        display.InjectMouseDown(Display::MouseButton::Left, Screen(control, at));
        display.InjectMouseUp(Display::MouseButton::Left, Screen(control, at));
        if ((modifiers & UiTest::kShift) != 0)
            display.InjectKeyUp(VK_SHIFT);
        if ((modifiers & UiTest::kControl) != 0)
            display.InjectKeyUp(VK_CONTROL);
        UiTest::Drain();
    }

    LRESULT Record(NMHDR* header)
    {
        Notice n;
        n.code = header->code;
        if (header->code >= HDN_TRACKW && header->code <= HDN_ITEMCHANGINGW) {
            const auto* note = reinterpret_cast<NMHEADERW*>(header);
            n.item = note->iItem;
            if (note->pitem != nullptr && (note->pitem->mask & HDI_WIDTH) != 0)
                n.width = note->pitem->cxy;
        } else if (header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED ||
                   header->code == LVN_COLUMNCLICK || header->code == LVN_INSERTITEM ||
                   header->code == LVN_DELETEITEM || header->code == NM_CLICK || header->code == NM_DBLCLK ||
                   header->code == NM_RCLICK) {
            const auto* note = reinterpret_cast<NMLISTVIEW*>(header);
            n.item = note->iItem;
            n.subItem = note->iSubItem;
            n.newState = note->uNewState;
            n.oldState = note->uOldState;
        } else if (header->code == LVN_KEYDOWN) {
            n.item = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        }
        m_heard.push_back(n);
        return m_answer ? m_answer(header) : 0;
    }

    Platform::ManualClockScope m_clock{20000000};
    std::vector<Notice> m_heard;
    UiTest::Handler m_parent;
    UiTest::WindowGuard m_guard;
};

}
