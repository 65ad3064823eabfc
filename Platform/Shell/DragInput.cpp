#include "Platform/Shell/DragInput.h"

#include "Platform/Shell/DragDropTypes.h"

#include <utility>

namespace {

// How long one wait for input lasts before the keys are looked at again.
constexpr DWORD kPollMs = 50;

// The drag's key state through the given key reader (GetKeyState: as of the
// messages taken so far; GetAsyncKeyState: as of now).
template <typename Reader>
DWORD KeyStateBy(Reader read)
{
    constexpr std::pair<int, DWORD> kKeys[] = {{VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_MBUTTON, MK_MBUTTON},
                                               {VK_SHIFT, MK_SHIFT},     {VK_CONTROL, MK_CONTROL}, {VK_MENU, MK_ALT}};
    DWORD state = 0;
    for (const auto& [key, bit] : kKeys) {
        if ((read(key) & 0x8000) != 0)
            state |= bit;
    }
    return state;
}

DWORD SynchronousKeyState() { return KeyStateBy(GetKeyState); }
DWORD AsynchronousKeyState() { return KeyStateBy(GetAsyncKeyState); }

// Non-client ones too: input that came before the capture was taken may have
// been routed to a frame.
bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}
bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}

POINT MessagePoint()
{
    const DWORD position = GetMessagePos();
    return POINT{GET_X_LPARAM(static_cast<LPARAM>(position)), GET_Y_LPARAM(static_cast<LPARAM>(position))};
}

CDragInput::CDragInput(HWND capture) : m_capture(capture), m_point(MessagePoint()), m_keyState(SynchronousKeyState()) {}

DragStep CDragInput::Next()
{
    for (;;) {
        MSG msg;
        DragStep step;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (WhileIdle(step))
                return step;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits for it
            return Step(DragStep::Kind::Lost, m_keyState);
        }
        if (IsMouseMessage(msg.message)) {
            if (FromMouse(msg, step))
                return step;
        } else if (IsKeyMessage(msg.message)) {
            if (FromKey(msg, step))
                return step;
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void CDragInput::GiveBackLastMouseMessage() const
{
    if (m_lastMouse.message != 0 && IsWindow(m_lastMouse.hwnd))
        PostMessageW(m_lastMouse.hwnd, m_lastMouse.message, m_lastMouse.wParam, m_lastMouse.lParam);
}

bool CDragInput::FromMouse(const MSG& msg, DragStep& step)
{
    if (msg.message == WM_MOUSEWHEEL)
        return false;
    m_lastMouse = msg;
    m_point = msg.pt;
    const DWORD keys = SynchronousKeyState();
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        step = Step(DragStep::Kind::Moved, keys);
        return true;
    }
    return KeysChangedTo(keys, step);
}

bool CDragInput::FromKey(const MSG& msg, DragStep& step)
{
    const DWORD keys = SynchronousKeyState();
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
        step = Step(DragStep::Kind::Escape, keys);
        return true;
    }
    return KeysChangedTo(keys, step);
}

// With the queue empty, what the keys are now is what the messages would
// have said: a button let go where no window of ours saw it counts too.
bool CDragInput::WhileIdle(DragStep& step)
{
    if (GetCapture() != m_capture) {
        step = Step(DragStep::Kind::Lost, m_keyState);
        return true;
    }
    const DWORD keys = AsynchronousKeyState();
    if (keys != m_keyState)
        GetCursorPos(&m_point);
    return KeysChangedTo(keys, step);
}

bool CDragInput::KeysChangedTo(DWORD keys, DragStep& step)
{
    if (keys == m_keyState)
        return false;
    step = Step(DragStep::Kind::KeysChanged, keys);
    return true;
}

DragStep CDragInput::Step(DragStep::Kind kind, DWORD keyState)
{
    m_keyState = keyState;
    return DragStep{kind, m_point, keyState};
}
