// Drags between two windows of the test, driven by input injected into the
// headless display: the source's window starts the drag on its button press.
#include "Platform/Shell/DragCursor.h"
#include "Platform/Shell/DragDrop.h"
#include "Platform/Shell/Tests/DragDropTestSupport.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

using DragTest::Target;
using UiTest::Headless;

// The user's next action is injected each time the drag asks for the
// cursor: the drag has the mouse by then, as it has with a real display.
// The cursor the display shows is noted each time too.
class Source : public DragTest::Source {
public:
    Source()
    {
        m_onFeedback = [this] {
            m_shownBefore.push_back(Headless().StateOf(NativeWindowOf(m_window))->cursor);
            if (!m_script.empty()) {
                auto next = std::move(m_script.front());
                m_script.pop_front();
                next();
            }
        };
    }
    HWND m_window = nullptr;
    std::deque<std::function<void()>> m_script;
    std::vector<Display::CursorShape> m_shownBefore;  // what the cursor was as each feedback came
};

class DragDrop : public testing::Test {
protected:
    void SetUp() override
    {
        m_source.hwnd = UiTest::Create(&m_sourceHandler, WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
        m_target.hwnd = UiTest::Create(&m_targetHandler, WS_POPUP | WS_VISIBLE, 400, 100, 200, 150);
        ASSERT_NE(m_source.hwnd, nullptr);
        ASSERT_NE(m_target.hwnd, nullptr);
        m_dropSource.m_window = m_source.hwnd;
        ASSERT_EQ(RegisterDragDrop(m_target.hwnd, &m_dropTarget), S_OK);
        m_sourceHandler.m_onMessage = [this](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message == WM_LBUTTONDOWN && m_dragOnPress)
                m_result = DoDragDrop(&m_data, &m_dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE, &m_effect);
            return false;
        };
        SetFocus(m_source.hwnd);
        UiTest::Drain();
    }
    void TearDown() override
    {
        RevokeDragDrop(m_target.hwnd);
        Headless().InjectKeyUp(VK_CONTROL);
        UiTest::Drain();
    }

    static void Press(POINT at)
    {
        Headless().InjectMouseMove(at);
        Headless().InjectMouseDown(Display::MouseButton::Left, at);
    }
    static void Release(POINT at) { Headless().InjectMouseUp(Display::MouseButton::Left, at); }
    static void MoveTo(POINT at) { Headless().InjectMouseMove(at); }
    static void Tap(UINT key)
    {
        Headless().InjectKeyDown(key);
        Headless().InjectKeyUp(key);
    }
    // Presses the button on the source, then gives the drag the steps one by one.
    void Drag(std::initializer_list<std::function<void()>> steps)
    {
        m_dropSource.m_script.assign(steps.begin(), steps.end());
        m_dropSource.m_feedback.clear();
        m_dropSource.m_shownBefore.clear();
        m_dropTarget.m_calls.clear();
        Press({150, 150});
        UiTest::Drain();
        EXPECT_TRUE(m_dropSource.m_script.empty()) << "the drag ended before its last step";
    }

    UiTest::Handler m_sourceHandler;
    UiTest::Handler m_targetHandler;
    UiTest::WindowGuard m_source;
    UiTest::WindowGuard m_target;
    DragTest::TextData m_data{"dragged text"};
    Source m_dropSource;
    Target m_dropTarget;
    bool m_dragOnPress = true;
    HRESULT m_result = E_UNEXPECTED;
    DWORD m_effect = 0xFFFF;
};

}

TEST_F(DragDrop, MoveAndCopyReachTheTargetAndComeBackToTheSource)
{
    Drag({[] { MoveTo({450, 150}); }, [] { MoveTo({460, 160}); }, [] { Release({460, 160}); }});
    EXPECT_EQ(m_result, DRAGDROP_S_DROP);
    EXPECT_EQ(m_effect, DROPEFFECT_MOVE);
    EXPECT_EQ(m_dropTarget.Kinds(), "EOD");
    EXPECT_EQ(m_dropTarget.m_dropped, "dragged text");
    ASSERT_EQ(m_dropTarget.m_calls.size(), 3u);
    EXPECT_EQ(m_dropTarget.m_calls[0].point.x, 450) << "points are in screen coordinates";
    EXPECT_NE(m_dropTarget.m_calls[0].keyState & MK_LBUTTON, 0u);
    EXPECT_EQ(m_dropTarget.m_calls[2].point.x, 460);
    EXPECT_EQ(m_dropTarget.m_calls[2].keyState & MK_LBUTTON, 0u) << "the button is up at the drop";
    EXPECT_EQ(GetCapture(), nullptr) << "the drag lets the mouse go";

    m_dropTarget.m_dropped.clear();
    Drag({[] { Headless().InjectKeyDown(VK_CONTROL); }, [] { MoveTo({450, 150}); }, [] { Release({450, 150}); }});
    EXPECT_EQ(m_result, DRAGDROP_S_DROP);
    EXPECT_EQ(m_effect, DROPEFFECT_COPY);
    ASSERT_EQ(m_dropTarget.Kinds(), "ED");
    EXPECT_NE(m_dropTarget.m_calls[0].keyState & MK_CONTROL, 0u);
    EXPECT_EQ(m_dropTarget.m_dropped, "dragged text");
}

TEST_F(DragDrop, EscapeCancelsAndTheTargetSeesTheDragLeave)
{
    Drag({[] { MoveTo({450, 150}); }, [] { Tap(VK_ESCAPE); }});
    EXPECT_EQ(m_result, DRAGDROP_S_CANCEL);
    EXPECT_EQ(m_effect, DROPEFFECT_NONE);
    EXPECT_EQ(m_dropTarget.Kinds(), "EL");
    EXPECT_TRUE(m_dropTarget.m_dropped.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    Release({450, 150});
    UiTest::Drain();
    EXPECT_EQ(m_targetHandler.Of(WM_LBUTTONUP).size(), 1u) << "after the drag, input reaches the windows again";
}

TEST_F(DragDrop, RefusingTargetsAndPlacesWithoutTargetGiveNoEffect)
{
    m_dropTarget.m_refuse = true;
    Drag({[] { MoveTo({450, 150}); }, [] { Release({450, 150}); }});
    EXPECT_EQ(m_result, DRAGDROP_S_DROP);
    EXPECT_EQ(m_effect, DROPEFFECT_NONE);
    EXPECT_EQ(m_dropTarget.Kinds(), "EL") << "no drop on a target that refused";

    m_dropTarget.m_refuse = false;
    Drag({[] { MoveTo({700, 500}); }, [] { Release({700, 500}); }});
    EXPECT_EQ(m_result, DRAGDROP_S_DROP);
    EXPECT_EQ(m_effect, DROPEFFECT_NONE);
    EXPECT_TRUE(m_dropTarget.m_calls.empty());
}

TEST_F(DragDrop, TheCursorShowsWhatADropWouldDo)
{
    Drag({[] { MoveTo({450, 150}); }, [] { Headless().InjectKeyDown(VK_CONTROL); }, [] { MoveTo({700, 500}); },
          [] { Release({700, 500}); }});
    const std::vector<DWORD> effects{DROPEFFECT_NONE, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_NONE};
    EXPECT_EQ(m_dropSource.m_feedback, effects) << "over the source, the target, the target with Ctrl, nowhere";
    const std::vector<Display::CursorShape> shown{Display::CursorShape::Arrow, Display::CursorShape::No,
                                                  Display::CursorShape::DragMove, Display::CursorShape::DragCopy};
    EXPECT_EQ(m_dropSource.m_shownBefore, shown);
    EXPECT_EQ(Headless().StateOf(NativeWindowOf(m_source.hwnd))->cursor, Display::CursorShape::Arrow) << "put back";

    EXPECT_EQ(DragCursorShape(DROPEFFECT_COPY | DROPEFFECT_SCROLL), Display::CursorShape::DragCopy);
    EXPECT_EQ(DragCursorShape(DROPEFFECT_LINK), Display::CursorShape::DragLink);
    EXPECT_EQ(DragCursorShape(DROPEFFECT_COPY | DROPEFFECT_MOVE), Display::CursorShape::DragMove);
    ShowDragCursor(m_source.hwnd, DROPEFFECT_NONE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_NO));
}

TEST_F(DragDrop, ADragStartsOnlyBeyondTheThreshold)
{
    m_dragOnPress = false;
    const int half = GetSystemMetrics(SM_CXDRAG) / 2;
    ASSERT_GT(half, 0);
    BOOL started = TRUE;
    m_sourceHandler.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_LBUTTONDOWN)
            started = WaitForDragStart(nullptr);
        return false;
    };
    Press({150, 150});
    MoveTo({150 + half, 150 - half});
    Release({150 + half, 150 - half});
    UiTest::Drain();
    EXPECT_FALSE(started);
    EXPECT_EQ(m_sourceHandler.Of(WM_LBUTTONUP).size(), 1u) << "a click stays a click";
    EXPECT_EQ(GetCapture(), nullptr);

    Press({150, 150});
    MoveTo({150 + half + 1, 150});
    UiTest::Drain();
    EXPECT_TRUE(started);
    Release({150 + half + 1, 150});
    ReleaseCapture();
    UiTest::Drain();

    Press({150, 150});
    Tap(VK_ESCAPE);
    MoveTo({250, 150});
    Release({250, 150});
    UiTest::Drain();
    EXPECT_FALSE(started) << "Esc before the drag started";

    const RECT wide{100, 100, 300, 250};
    m_sourceHandler.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_LBUTTONDOWN)
            started = WaitForDragStart(&wide);
        return false;
    };
    Press({150, 150});
    MoveTo({290, 240});
    Release({290, 240});
    UiTest::Drain();
    EXPECT_FALSE(started) << "the caller's rectangle";
    m_sourceHandler.m_onMessage = nullptr;
}

TEST_F(DragDrop, RegistrationIsCheckedAndAChildDropsOnItsRegisteredParent)
{
    Target other;
    EXPECT_EQ(RegisterDragDrop(m_target.hwnd, &other), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(m_source.hwnd, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(nullptr, &other), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RevokeDragDrop(m_source.hwnd), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(DoDragDrop(nullptr, &m_dropSource, DROPEFFECT_COPY, &m_effect), E_INVALIDARG);

    UiTest::Handler childHandler;
    HWND child = UiTest::Create(&childHandler, WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_target.hwnd);
    ASSERT_NE(child, nullptr);
    Drag({[] { MoveTo({420, 120}); }, [] { Release({420, 120}); }});
    EXPECT_EQ(m_dropTarget.Kinds(), "ED");
    EXPECT_EQ(m_effect, DROPEFFECT_MOVE);

    // A window that goes without revoking leaves nothing behind.
    HWND gone = UiTest::Create(&childHandler, WS_POPUP, 0, 0, 10, 10);
    ASSERT_EQ(RegisterDragDrop(gone, &other), S_OK);
    DestroyWindow(gone);
    EXPECT_EQ(RevokeDragDrop(gone), S_OK) << "the stale entry goes";
    EXPECT_EQ(RevokeDragDrop(gone), DRAGDROP_E_INVALIDHWND);
    DestroyWindow(child);
}
