// Input: display events become messages; focus, activation, capture, key
// states, the cursor and hit testing.
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/SystemMenuAccess.h"
#include "Platform/Ui/HoverTracking.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <cstdlib>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

constexpr UINT kDoubleClickTime = 500;
constexpr LONG kDoubleClickDistance = 4;

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool InShape(const Window& w, POINT inWindow)
{
    return w.shape == nullptr || cairo_region_contains_point(w.shape, inWindow.x, inWindow.y);
}

// The window when it belongs to the calling thread, else null: each thread
// sees only its own focus, active window and capture. Called under the lock.
HWND IfCallingThreads(const WindowSystem& ws, HWND hwnd)
{
    auto w = ws.Peek(hwnd);
    return w && w->queue->threadId == CurrentThreadId() ? hwnd : nullptr;
}

// The display window of the window's top level; 0 while it has none.
// Called under the lock.
Display::NativeId NativeRootOf(const WindowSystem& ws, const Window& w)
{
    auto root = RootOf(ws, w);
    return root ? root->native : 0;
}

std::shared_ptr<Window> TopLevelOfNative(WindowSystem& ws, Display::NativeId id)
{
    if (id == 0)
        return nullptr;
    for (HWND top : ws.TopLevels()) {
        auto w = ws.Peek(top);
        if (w && w->native == id)
            return w;
    }
    return nullptr;
}

bool Skipped(const std::vector<HWND>& skip, HWND hwnd)
{
    return std::find(skip.begin(), skip.end(), hwnd) != skip.end();
}

// The deepest visible child under a point given in `w`'s client coordinates;
// a disabled child leaves the point to its parent, and so does a point on the
// parent's non-client area, where no child shows.
std::shared_ptr<Window> DeepestChild(WindowSystem& ws, std::shared_ptr<Window> w, POINT client, const std::vector<HWND>& skip)
{
    for (int depth = 0; depth < 1000; ++depth) {
        const RECT clientArea{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
        if (!Contains(clientArea, client))
            return w;
        std::shared_ptr<Window> hit;
        for (HWND childHandle : w->children) {
            auto child = ws.Peek(childHandle);
            if (!child || (child->style & WS_VISIBLE) == 0 || !Contains(child->rect, client) || Skipped(skip, childHandle))
                continue;
            if (!InShape(*child, {client.x - child->rect.left, client.y - child->rect.top}))
                continue;
            hit = child;
            break;
        }
        if (!hit || (hit->style & WS_DISABLED) != 0)
            return w;
        client = {client.x - hit->rect.left - hit->client.left, client.y - hit->rect.top - hit->client.top};
        w = hit;
    }
    return w;
}

std::shared_ptr<Window> WindowAt(WindowSystem& ws, POINT screen)
{
    return WindowAtSkipping(ws, screen, {});
}

WPARAM MouseKeys(DWORD modifiers)
{
    WPARAM keys = 0;
    if (modifiers & Display::ModLeftButton)
        keys |= MK_LBUTTON;
    if (modifiers & Display::ModRightButton)
        keys |= MK_RBUTTON;
    if (modifiers & Display::ModMiddleButton)
        keys |= MK_MBUTTON;
    if (modifiers & Display::ModShift)
        keys |= MK_SHIFT;
    if (modifiers & Display::ModControl)
        keys |= MK_CONTROL;
    return keys;
}

UINT ButtonMessage(Display::MouseButton button, bool down)
{
    switch (button) {
    case Display::MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case Display::MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case Display::MouseButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return WM_NULL;
}

UINT ButtonKey(Display::MouseButton button)
{
    switch (button) {
    case Display::MouseButton::Left: return VK_LBUTTON;
    case Display::MouseButton::Right: return VK_RBUTTON;
    case Display::MouseButton::Middle: return VK_MBUTTON;
    }
    return 0;
}

void SetAsync(WindowSystem& ws, UINT vk, bool down)
{
    Ui::SetKeyDownBit(ws.m_asyncKeyState, vk, down);
}

void PostTo(WindowSystem& ws, const std::shared_ptr<Window>& w, UINT message, WPARAM wParam, LPARAM lParam,
            std::wstring keyText = {}, ULONGLONG time = 0)
{
    MSG msg;
    msg.hwnd = w->hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(time != 0 ? time : Platform::Clock::NowMs());
    msg.pt = ws.m_cursorPos;
    // Consecutive moves collapse into the newest, as the platform's queue does.
    if (message == WM_MOUSEMOVE && !w->queue->posted.empty()) {
        QueuedMessage& last = w->queue->posted.back();
        if (last.msg.message == WM_MOUSEMOVE && last.msg.hwnd == w->hwnd) {
            last.msg = msg;
            ws.WakeQueue(*w->queue);
            return;
        }
    }
    PostLocked(ws, *w->queue, msg, std::move(keyText));
}

std::shared_ptr<Window> KeyTarget(WindowSystem& ws, Display::NativeId native)
{
    if (auto focus = ws.Peek(ws.m_focus))
        return focus;
    if (auto active = ws.Peek(ws.m_active))
        return active;
    return TopLevelOfNative(ws, native);
}

void LeaveHover(WindowSystem& ws, std::shared_ptr<Window> newHover)
{
    HWND newHandle = newHover ? newHover->hwnd : nullptr;
    NoteMouseMoveForHover(ws, newHandle, ws.m_cursorPos);
    if (ws.m_hover == newHandle)
        return;
    if (auto old = ws.Peek(ws.m_hover)) {
        if (old->trackLeave) {
            old->trackLeave = false;
            PostTo(ws, old, WM_MOUSELEAVE, 0, 0);
        }
    }
    ws.m_hover = newHandle;
}

class DisplaySink : public Display::IEventSink {
public:
    void OnDisplayEvent(const Display::Event& e) override
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        switch (e.kind) {
        case Display::EventKind::KeyDown:
        case Display::EventKind::KeyUp: Key(ws, e); break;
        case Display::EventKind::TextInput:
            if (auto target = KeyTarget(ws, e.window)) {
                for (wchar_t c : e.text)
                    PostTo(ws, target, WM_CHAR, static_cast<WPARAM>(c), 1);
            }
            break;
        case Display::EventKind::MouseMove:
        case Display::EventKind::MouseDown:
        case Display::EventKind::MouseUp:
        case Display::EventKind::MouseWheel: Mouse(ws, e); break;
        case Display::EventKind::MouseLeave: LeaveHover(ws, nullptr); break;
        case Display::EventKind::CloseRequest: CloseRequest(ws, e); break;
        case Display::EventKind::Expose:
            if (auto top = TopLevelOfNative(ws, e.window)) {
                cairo_rectangle_int_t r{e.rect.left, e.rect.top, e.rect.right - e.rect.left, e.rect.bottom - e.rect.top};
                cairo_region_t* area = cairo_region_create_rectangle(&r);
                InvalidateLocked(ws, *top, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                cairo_region_destroy(area);
            }
            break;
        case Display::EventKind::Configure:
            if (auto top = TopLevelOfNative(ws, e.window)) {
                const RECT outer{e.rect.left - top->frame.left, e.rect.top - top->frame.top, e.rect.right + top->frame.right,
                                 e.rect.bottom + top->frame.bottom};
                const WPARAM size = (static_cast<WPARAM>(static_cast<WORD>(outer.right - outer.left)) << 16) |
                                    (static_cast<WPARAM>(static_cast<WORD>(outer.bottom - outer.top)) << 32);
                PostTo(ws, top, DisplayActionMessage(), kActionConfigure | size,
                       MAKELPARAM(static_cast<WORD>(outer.left), static_cast<WORD>(outer.top)));
            }
            break;
        case Display::EventKind::FocusIn:
            if (auto top = TopLevelOfNative(ws, e.window))
                PostTo(ws, top, DisplayActionMessage(), kActionActivate, 0);
            break;
        case Display::EventKind::FocusOut:
            if (auto top = TopLevelOfNative(ws, e.window); top && ws.m_active == top->hwnd)
                PostTo(ws, top, DisplayActionMessage(), kActionDeactivate, 0);
            break;
        }
    }

private:
    // A disabled window waits for a modal window of its own (a dialog, a
    // question): that one is brought forward to be answered first, as a
    // click on the disabled window does, and the close is not taken.
    static void CloseRequest(WindowSystem& ws, const Display::Event& e)
    {
        auto top = TopLevelOfNative(ws, e.window);
        if (!top || !SystemCommandAllowedLocked(ws, *top, SC_CLOSE))
            return;
        if ((top->style & WS_DISABLED) == 0)
            PostTo(ws, top, WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (auto waitedFor = ws.Peek(EnabledPopupLocked(ws, top->hwnd, true)))
            PostTo(ws, waitedFor, DisplayActionMessage(), kActionForeground, 0);
    }

    static void Key(WindowSystem& ws, const Display::Event& e)
    {
        const bool down = e.kind == Display::EventKind::KeyDown;
        SetAsync(ws, e.virtualKey, down);
        auto target = KeyTarget(ws, e.window);
        if (!target) {
            // A release no window receives still lets the key go, or it
            // would read as held down from then on.
            if (!down)
                SetKeyDownBit(ws.m_keyState, e.virtualKey, false);
            return;
        }
        const bool alt = (e.modifiers & Display::ModAlt) != 0 && (e.modifiers & Display::ModControl) == 0;
        const bool sys = alt || e.virtualKey == VK_F10 || e.virtualKey == VK_MENU;
        UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        LPARAM lParam = 1 | static_cast<LPARAM>((e.scanCode & 0xFF) << 16);
        if (alt)
            lParam |= 1 << 29;
        if (down && e.repeat)
            lParam |= 1 << 30;
        if (!down)
            lParam |= static_cast<LPARAM>(0xC0000000u);
        PostTo(ws, target, message, e.virtualKey, lParam, down ? e.text : std::wstring(), e.time);
    }

    static void Mouse(WindowSystem& ws, const Display::Event& e)
    {
        ws.m_cursorPos = e.screen;
        if (e.kind == Display::EventKind::MouseDown || e.kind == Display::EventKind::MouseUp)
            SetAsync(ws, ButtonKey(e.button), e.kind == Display::EventKind::MouseDown);
        const WPARAM keys = MouseKeys(e.modifiers);
        if (e.kind == Display::EventKind::MouseWheel) {
            // The wheel goes to the focus, as on the platform.
            auto target = KeyTarget(ws, e.window);
            if (target)
                PostTo(ws, target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<SHORT>(e.wheelDelta))),
                       MAKELPARAM(static_cast<WORD>(e.screen.x), static_cast<WORD>(e.screen.y)));
            return;
        }
        std::shared_ptr<Window> under = WindowAt(ws, e.screen);
        LeaveHover(ws, under);
        std::shared_ptr<Window> target = ws.Peek(ws.m_capture);
        if (!target)
            target = under;
        if (!target)
            return;
        // A disabled top-level (the owner of a modal dialog) gets no mouse input.
        if (!ws.m_capture) {
            auto root = RootOf(ws, *target);
            if (root && (root->style & WS_DISABLED) != 0)
                return;
        }
        const POINT origin = ClientOriginOnScreen(ws, *target);
        const LPARAM where = MAKELPARAM(static_cast<WORD>(e.screen.x - origin.x), static_cast<WORD>(e.screen.y - origin.y));
        UINT message = WM_MOUSEMOVE;
        if (e.kind != Display::EventKind::MouseMove) {
            const bool down = e.kind == Display::EventKind::MouseDown;
            message = ButtonMessage(e.button, down);
            if (down) {
                const DWORD now = static_cast<DWORD>(e.time != 0 ? e.time : Platform::Clock::NowMs());
                // Non-client areas take double clicks whatever the class.
                // Which area it is, the hit test says when the message is
                // taken; a client click of a class without CS_DBLCLKS then
                // becomes a press again.
                const RECT clientArea{0, 0, target->client.right - target->client.left, target->client.bottom - target->client.top};
                const bool nonClient = !ws.m_capture && !Contains(clientArea, {e.screen.x - origin.x, e.screen.y - origin.y});
                const bool dbl = ((target->windowClass->style & CS_DBLCLKS) != 0 || nonClient) && ws.m_lastClickWindow == target->hwnd &&
                                 ws.m_lastClickMessage == message && now - ws.m_lastClickTime <= kDoubleClickTime &&
                                 std::abs(e.screen.x - ws.m_lastClickPos.x) <= kDoubleClickDistance &&
                                 std::abs(e.screen.y - ws.m_lastClickPos.y) <= kDoubleClickDistance;
                if (dbl) {
                    message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                    ws.m_lastClickWindow = nullptr;  // a third click starts over
                } else {
                    ws.m_lastClickWindow = target->hwnd;
                    ws.m_lastClickMessage = message;
                    ws.m_lastClickTime = now;
                    ws.m_lastClickPos = e.screen;
                }
            }
        }
        PostTo(ws, target, message, keys, where, {}, e.time);
    }
};

DisplaySink g_sink;

}

namespace Ui {

std::shared_ptr<Window> WindowAtSkipping(WindowSystem& ws, POINT screen, const std::vector<HWND>& skip)
{
    for (HWND top : ws.TopLevels()) {
        auto w = ws.Peek(top);
        if (!w || (w->style & WS_VISIBLE) == 0 || !Contains(w->rect, screen) || Skipped(skip, top))
            continue;
        if (!InShape(*w, {screen.x - w->rect.left, screen.y - w->rect.top}))
            continue;
        return DeepestChild(ws, w, {screen.x - w->rect.left - w->client.left, screen.y - w->rect.top - w->client.top}, skip);
    }
    return nullptr;
}

void SetKeyDownBit(BYTE (&state)[256], UINT vk, bool down)
{
    auto set = [&](UINT key) {
        state[key] = down ? static_cast<BYTE>(state[key] | 0x80) : static_cast<BYTE>(state[key] & ~0x80);
    };
    if (vk > 255)
        return;
    set(vk);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT)
        set(VK_SHIFT);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL)
        set(VK_CONTROL);
    if (vk == VK_LMENU || vk == VK_RMENU)
        set(VK_MENU);
}

void InstallDisplaySink(WindowSystem& ws)
{
    if (!ws.m_sinkInstalled && ws.m_display != nullptr) {
        ws.m_display->SetEventSink(&g_sink);
        ws.m_sinkInstalled = true;
    }
}

UINT DisplayActionMessage()
{
    // The last id of the registered range, which RegisterWindowMessage never hands out.
    return 0xFFFF;
}

namespace {

bool HasDisplayFocus(HWND hwnd)
{
    const Display::NativeId native = NativeWindowOf(hwnd);
    return native != 0 && LayerDisplay().FocusedTopLevel() == native;
}

// A disabled window takes no keys, nor do the children of a disabled parent
// up to their top-level: a modal box disables its owner, whose own calls for
// the focus must leave the box active.
bool IsDisabledChain(const WindowSystem& ws, std::shared_ptr<Window> current)
{
    for (int depth = 0; current && depth < 1000; ++depth) {
        if ((current->style & WS_DISABLED) != 0)
            return true;
        if (IsTopLevel(*current))
            return false;
        current = ws.Peek(current->parent);
    }
    return false;
}

// The enabled window a disabled top-level waits for (its modal dialog or question).
HWND WaitedForWindow(HWND owner)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return EnabledPopupLocked(ws, owner, true);
}

// Activates the window and has the display raise and focus it, also when it
// is active already but the display's focus went elsewhere.
void BringForward(HWND hwnd)
{
    if (GetActiveWindow() != hwnd) {
        SetActiveWindow(hwnd);
        return;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    if (auto w = ws.Peek(hwnd); w && w->native != 0)
        DisplayLocked(ws).RaiseTopLevel(w->native, true);
}

}

// Runs on the window's own thread, from DispatchMessage.
void RunDisplayAction(HWND hwnd, WPARAM action, LPARAM data)
{
    switch (action & 0xFFFF) {
    case kActionConfigure: {
        const int width = static_cast<WORD>(action >> 16);
        const int height = static_cast<WORD>(action >> 32);
        SetWindowPos(hwnd, nullptr, GET_X_LPARAM(data), GET_Y_LPARAM(data), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    // A focus event is old when it is handled: activating a window for an
    // event that a later focus change overtook would ask the display for the
    // focus again, and two windows would hand it to and fro for ever, each
    // activation echoed by the next event. The display's focus now decides.
    // A disabled window that the display focused (a click on its frame)
    // hands the focus to the dialog it waits for, as it hands the clicks.
    case kActionActivate:
        if (!HasDisplayFocus(hwnd))
            break;
        if (IsWindowEnabled(hwnd))
            SetActiveWindow(hwnd);
        else if (HWND waitedFor = WaitedForWindow(hwnd))
            BringForward(waitedFor);
        break;
    case kActionDeactivate:
        if (GetActiveWindow() == hwnd && !HasDisplayFocus(hwnd))
            SetActiveWindow(nullptr);
        break;
    case kActionForeground:
        if (IsWindowEnabled(hwnd))
            BringForward(hwnd);
        break;
    default: break;
    }
}

void ReleaseInputState(const std::vector<HWND>& dying)
{
    auto& ws = WindowSystem::Get();
    HWND activateInstead = nullptr;
    bool deactivate = false;
    HWND lostFocus = nullptr;
    HWND lostCapture = nullptr;
    {
        Lock lock(ws.Lock());
        auto gone = [&](HWND hwnd) {
            if (hwnd == nullptr)
                return false;
            auto w = ws.Peek(hwnd);
            if (!w)
                return true;
            for (auto p = w; p; p = ws.Peek(p->parent)) {
                if (std::find(dying.begin(), dying.end(), p->hwnd) != dying.end())
                    return true;
                if (IsTopLevel(*p))
                    break;
            }
            return !IsVisibleChain(ws, *w);
        };
        if (gone(ws.m_focus)) {
            lostFocus = ws.m_focus;
            ws.m_focus = nullptr;
        }
        if (gone(ws.m_capture)) {
            lostCapture = ws.m_capture;
            ws.m_capture = nullptr;
            if (ws.m_display != nullptr)
                ws.m_display->GrabPointer(0);
        }
        if (gone(ws.m_active)) {
            auto w = ws.Peek(ws.m_active);
            HWND owner = w ? w->owner : nullptr;
            auto o = ws.Peek(owner);
            if (o && IsVisibleChain(ws, *o) && !o->destroying)
                activateInstead = owner;
            else
                deactivate = true;
        }
        if (gone(ws.m_hover))
            ws.m_hover = nullptr;
    }
    const bool lostIsDying = std::find(dying.begin(), dying.end(), lostFocus) != dying.end();
    if (lostFocus != nullptr && !lostIsDying)
        SendMessageW(lostFocus, WM_KILLFOCUS, 0, 0);
    if (lostCapture != nullptr && std::find(dying.begin(), dying.end(), lostCapture) == dying.end())
        SendMessageW(lostCapture, WM_CAPTURECHANGED, 0, 0);
    if (activateInstead != nullptr)
        SetActiveWindow(activateInstead);
    else if (deactivate) {
        Lock lock(ws.Lock());
        ws.m_active = nullptr;
    }
}

}

// ---------------------------------------------------------------------------
// Focus and activation
// ---------------------------------------------------------------------------

HWND SetFocus(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    HWND old = nullptr;
    HWND root = nullptr;
    {
        Lock lock(ws.Lock());
        old = ws.m_focus;
        if (hwnd != nullptr) {
            auto w = ws.Find(hwnd);
            if (!w)
                return nullptr;
            if (w->queue->threadId != CurrentThreadId()) {
                SetLastError(ERROR_ACCESS_DENIED);
                return nullptr;
            }
            if (IsDisabledChain(ws, w))
                return nullptr;
            auto r = RootOf(ws, *w);
            root = r ? r->hwnd : nullptr;
        }
        if (old == hwnd)
            return old;
    }
    if (CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(old), nullptr) != 0)
        return nullptr;
    if (root != nullptr && GetActiveWindow() != root)
        SetActiveWindow(root);
    {
        Lock lock(ws.Lock());
        old = ws.m_focus;
        if (old == hwnd)
            return old;
    }
    if (old != nullptr)
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    {
        Lock lock(ws.Lock());
        if (hwnd != nullptr && !ws.Peek(hwnd))
            return old;
        ws.m_focus = hwnd;
    }
    if (hwnd != nullptr)
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return IfCallingThreads(ws, ws.m_focus);
}

HWND SetActiveWindow(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    HWND old = nullptr;
    std::vector<HWND> threadTops;
    bool appWasActive = false;
    {
        Lock lock(ws.Lock());
        if (hwnd != nullptr) {
            auto w = ws.Find(hwnd);
            if (!w)
                return nullptr;
            auto root = RootOf(ws, *w);
            hwnd = root ? root->hwnd : hwnd;
        }
        old = ws.m_active;
        if (old == hwnd)
            return old;
        appWasActive = ws.m_appActive;
        for (HWND top : ws.TopLevels())
            threadTops.push_back(top);
    }
    CBTACTIVATESTRUCT activation{FALSE, old};
    if (hwnd != nullptr &&
        CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&activation), nullptr) != 0)
        return nullptr;
    if (old != nullptr && IsWindow(old)) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd == nullptr) {
        {
            Lock lock(ws.Lock());
            ws.m_active = nullptr;
            ws.m_appActive = false;
        }
        for (HWND top : threadTops)
            SendMessageW(top, WM_ACTIVATEAPP, FALSE, 0);
        HWND focus = nullptr;
        {
            Lock lock(ws.Lock());
            focus = ws.m_focus;
            ws.m_focus = nullptr;
        }
        if (focus != nullptr)
            SendMessageW(focus, WM_KILLFOCUS, 0, 0);
        return old;
    }
    {
        Lock lock(ws.Lock());
        ws.m_active = hwnd;
        ws.m_appActive = true;
        auto w = ws.Peek(hwnd);
        if (w) {
            auto& tops = ws.TopLevels();
            std::erase(tops, hwnd);
            tops.insert(tops.begin() + static_cast<std::ptrdiff_t>(TopMostInsertIndex(ws, *w)), hwnd);
            if (w->native != 0)
                DisplayLocked(ws).RaiseTopLevel(w->native, true);
        }
    }
    if (!appWasActive) {
        for (HWND top : threadTops)
            SendMessageW(top, WM_ACTIVATEAPP, TRUE, 0);
    }
    SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
    return old;
}

HWND GetActiveWindow()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return IfCallingThreads(ws, ws.m_active);
}

BOOL SetForegroundWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return FALSE;
    if (GetWindowThreadProcessId(hwnd, nullptr) != CurrentThreadId()) {
        // Another thread's window: let that thread activate it.
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return FALSE;
        auto root = RootOf(ws, *w);
        if (root)
            PostTo(ws, root, DisplayActionMessage(), kActionForeground, 0);
        return TRUE;
    }
    SetActiveWindow(hwnd);
    return TRUE;
}

HWND GetForegroundWindow()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return ws.m_active;
}

// ---------------------------------------------------------------------------
// Capture, cursor, keys
// ---------------------------------------------------------------------------

HWND SetCapture(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    HWND old = nullptr;
    {
        Lock lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w)
            return nullptr;
        old = ws.m_capture;
        ws.m_capture = hwnd;
        if (const Display::NativeId native = NativeRootOf(ws, *w))
            DisplayLocked(ws).GrabPointer(native);
    }
    if (old != nullptr && old != hwnd)
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture()
{
    auto& ws = WindowSystem::Get();
    HWND old = nullptr;
    {
        Lock lock(ws.Lock());
        old = ws.m_capture;
        ws.m_capture = nullptr;
        if (old != nullptr)
            DisplayLocked(ws).GrabPointer(0);
    }
    if (old != nullptr)
        SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return IfCallingThreads(ws, ws.m_capture);
}

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    *point = ws.m_cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    ws.m_cursorPos = {x, y};
    return TRUE;
}

namespace {

constexpr std::uintptr_t kCursorBase = 0x7F000000u;

Display::CursorShape ShapeOf(HCURSOR cursor)
{
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(cursor);
    if (value < kCursorBase)
        return Display::CursorShape::Arrow;
    switch (value - kCursorBase) {
    case 32513: return Display::CursorShape::IBeam;
    case 32514: return Display::CursorShape::Wait;
    case 32515: return Display::CursorShape::Cross;
    case 32642: return Display::CursorShape::SizeNWSE;
    case 32643: return Display::CursorShape::SizeNESW;
    case 32644: return Display::CursorShape::SizeWE;
    case 32645: return Display::CursorShape::SizeNS;
    case 32646: return Display::CursorShape::SizeAll;
    case 32648: return Display::CursorShape::No;
    case 32649: return Display::CursorShape::Hand;
    case 32650: return Display::CursorShape::AppStarting;
    default: return Display::CursorShape::Arrow;
    }
}

}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name)
{
    if (instance != nullptr || !IS_INTRESOURCE(name))
        return Ui::LoadCursorResource(instance, name);
    const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(name);
    if (id < 32512 || id > 32651) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(kCursorBase + id);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    HCURSOR old = ws.m_cursor;
    ws.m_cursor = cursor;
    std::shared_ptr<Window> over = ws.Peek(ws.m_capture);
    if (!over)
        over = ws.Peek(ws.m_hover);
    if (over) {
        if (const Display::NativeId native = NativeRootOf(ws, *over))
            DisplayLocked(ws).SetCursorShape(native, ShapeOf(cursor));
    }
    return old;
}

HCURSOR GetCursor()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return ws.m_cursor;
}

SHORT GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    const BYTE state = ws.m_keyState[virtualKey];
    return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return static_cast<SHORT>((ws.m_asyncKeyState[virtualKey] & 0x80) ? 0x8000 : 0);
}

// A window of this thread that answers HTTRANSPARENT (a group box, say) is
// looked through, as the mouse input is; another thread's window is taken
// as it stands, since asking it would wait on that thread.
HWND WindowFromPoint(POINT point)
{
    auto& ws = WindowSystem::Get();
    std::vector<HWND> passed;
    for (;;) {
        HWND found = nullptr;
        {
            Lock lock(ws.Lock());
            auto w = WindowAtSkipping(ws, point, passed);
            if (!w)
                return nullptr;
            if (w->queue.get() != ws.CurrentQueue().get() || passed.size() >= static_cast<size_t>(kMaxTransparentLayers))
                return w->hwnd;
            found = w->hwnd;
        }
        if (SendMessageW(found, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y))) != HTTRANSPARENT)
            return found;
        passed.push_back(found);
    }
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto p = ws.Find(parent);
    if (!p)
        return nullptr;
    const RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
    if (!Contains(client, point))
        return nullptr;
    for (HWND childHandle : p->children) {
        auto child = ws.Peek(childHandle);
        if (!child || !Contains(child->rect, point))
            continue;
        if ((flags & CWP_SKIPINVISIBLE) != 0 && (child->style & WS_VISIBLE) == 0)
            continue;
        if ((flags & CWP_SKIPDISABLED) != 0 && (child->style & WS_DISABLED) != 0)
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) != 0 && (child->exStyle & WS_EX_TRANSPARENT) != 0)
            continue;
        return childHandle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point)
{
    return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

UINT GetDoubleClickTime()
{
    return kDoubleClickTime;
}

BOOL MessageBeep(UINT)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    DisplayLocked(ws).Beep();
    return TRUE;
}

Display::NativeId NativeWindowOf(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return 0;
    return NativeRootOf(ws, *w);
}
