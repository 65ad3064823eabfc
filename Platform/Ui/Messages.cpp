// Queues: retrieving, translating and dispatching messages, and the waits
// for input. Sending and posting, hooks and timers have files of their own.
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/SystemKeys.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <climits>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// Waits on kernel objects look at the display this often when no other thread pumps it.
constexpr DWORD kDisplayPollMs = 10;

bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }
bool IsMouseMessage(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

struct ClockWatcher : Platform::ClockListener {
    void OnClockChanged(ULONGLONG) override
    {
        // Timers may have become due: every waiting thread looks again.
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        for (const auto& queue : ws.AllQueues())
            ws.WakeQueue(*queue);
    }
};

void WatchClock()
{
    static ClockWatcher* watcher = [] {
        auto* w = new ClockWatcher;
        Platform::Clock::AddListener(w);
        return w;
    }();
    (void)watcher;
}

bool Matches(const WindowSystem& ws, const MSG& msg, HWND filter, UINT min, UINT max)
{
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1))) {
        if (msg.hwnd != nullptr)
            return false;
    } else if (filter != nullptr && msg.hwnd != filter) {
        // Messages of the filter window's children count as its own.
        bool child = false;
        for (auto w = ws.Peek(msg.hwnd); w && !IsTopLevel(*w); w = ws.Peek(w->parent)) {
            if (w->parent == filter) {
                child = true;
                break;
            }
        }
        if (!child)
            return false;
    }
    if (min == 0 && max == 0)
        return true;
    return msg.message >= min && msg.message <= max;
}

struct PaintSearch {
    const WindowSystem& ws;
    const ThreadQueue& queue;
    HWND filter = nullptr;
    UINT min = 0;
    UINT max = 0;
};

bool NeedsPaint(const PaintSearch& search, const Window& w)
{
    if (w.queue.get() != &search.queue || !w.redraw || w.destroying)
        return false;
    if ((w.update == nullptr || cairo_region_is_empty(w.update)) && !w.internalPaint && !w.frameNeeded)
        return false;
    MSG probe;
    probe.hwnd = w.hwnd;
    probe.message = WM_PAINT;
    return Matches(search.ws, probe, search.filter, search.min, search.max);
}

HWND FindPaintBelow(const PaintSearch& search, HWND hwnd)
{
    auto w = search.ws.Peek(hwnd);
    if (!w || (w->style & WS_VISIBLE) == 0)
        return nullptr;
    if (NeedsPaint(search, *w))
        return hwnd;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (HWND found = FindPaintBelow(search, *it))
            return found;
    }
    return nullptr;
}

// Windows of the thread that need WM_PAINT, parents before children and
// lower siblings before upper ones, so that later paints land on top.
HWND FindPaintWindow(WindowSystem& ws, const ThreadQueue& queue, HWND filter, UINT min, UINT max)
{
    const PaintSearch search{ws, queue, filter, min, max};
    for (auto it = ws.TopLevels().rbegin(); it != ws.TopLevels().rend(); ++it) {
        if (HWND found = FindPaintBelow(search, *it))
            return found;
    }
    return nullptr;
}

const Timer* FindDueTimer(WindowSystem& ws, ThreadQueue& queue, HWND filter, UINT min, UINT max, ULONGLONG now)
{
    MSG probe;
    probe.message = WM_TIMER;
    const Timer* best = nullptr;
    for (const Timer& t : queue.timers) {
        if (t.due > now)
            continue;
        probe.hwnd = t.hwnd;
        if (!Matches(ws, probe, filter, min, max))
            continue;
        if (best == nullptr || t.due < best->due)
            best = &t;
    }
    return best;
}

DWORD TimeToNextTimer(const ThreadQueue& queue, ULONGLONG now)
{
    ULONGLONG next = ULLONG_MAX;
    for (const Timer& t : queue.timers)
        next = std::min(next, t.due);
    if (next == ULLONG_MAX)
        return INFINITE;
    if (next <= now)
        return 0;
    return static_cast<DWORD>(std::min<ULONGLONG>(next - now, INFINITE - 1));
}

void UpdateKeyState(WindowSystem& ws, const MSG& msg)
{
    auto press = [&](UINT vk, bool down) {
        if (vk > 255)
            return;
        if (down) {
            if ((ws.m_keyState[vk] & 0x80) == 0)
                ws.m_keyState[vk] ^= 0x01;  // toggle on each press
            ws.m_keyState[vk] |= 0x80;
        } else {
            ws.m_keyState[vk] &= static_cast<BYTE>(~0x80);
        }
    };
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: press(static_cast<UINT>(msg.wParam), true); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: press(static_cast<UINT>(msg.wParam), false); break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: press(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: press(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: press(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: press(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: press(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: press(VK_MBUTTON, false); break;
    default: break;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP) {
        const UINT vk = static_cast<UINT>(msg.wParam);
        if (vk == VK_LSHIFT || vk == VK_RSHIFT)
            press(VK_SHIFT, msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN);
        if (vk == VK_LCONTROL || vk == VK_RCONTROL)
            press(VK_CONTROL, msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN);
        if (vk == VK_LMENU || vk == VK_RMENU)
            press(VK_MENU, msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN);
    }
}

// Pending text of the last WM_KEYDOWN that was retrieved, for TranslateMessage.
thread_local MSG g_keyMsg{};
thread_local std::wstring g_keyText;

enum class Fetch { None, Message, Retry };

// One look at the queue in the platform's order: posted and input messages,
// the quit request, paint, timers. Sent messages are serviced before.
Fetch FetchOnce(MSG* out, HWND filter, UINT min, UINT max, UINT flags)
{
    auto& ws = WindowSystem::Get();
    const bool remove = (flags & PM_REMOVE) != 0;
    Lock lock(ws.Lock());
    auto queue = ws.CurrentQueue();
    for (auto it = queue->posted.begin(); it != queue->posted.end(); ++it) {
        if (!Matches(ws, it->msg, filter, min, max))
            continue;
        MSG msg = it->msg;
        std::wstring keyText = it->keyText;
        if (remove) {
            queue->posted.erase(it);
            if (IsKeyMessage(msg.message) || IsMouseMessage(msg.message))
                UpdateKeyState(ws, msg);
        }
        lock.unlock();
        const bool mouseInput = remove && IsMouseMessage(msg.message) && msg.message != WM_MOUSEWHEEL;
        LRESULT hit = HTCLIENT;
        if (mouseInput && !RouteMouse(msg, hit))
            return Fetch::Retry;
        bool swallowed = false;
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP) {
            CallHooks(WH_KEYBOARD, remove ? HC_ACTION : HC_NOREMOVE, msg.wParam, msg.lParam, &swallowed);
        } else if (mouseInput || IsMouseMessage(msg.message)) {
            MOUSEHOOKSTRUCT info;
            info.pt = msg.pt;
            info.hwnd = msg.hwnd;
            info.wHitTestCode = static_cast<UINT>(hit);
            CallHooks(WH_MOUSE, remove ? HC_ACTION : HC_NOREMOVE, msg.message, reinterpret_cast<LPARAM>(&info), &swallowed);
        }
        if (swallowed) {
            if (!remove) {
                // A swallowed event leaves the queue even when only peeked at.
                Lock relock(ws.Lock());
                auto& posted = queue->posted;
                for (auto p = posted.begin(); p != posted.end(); ++p) {
                    if (p->msg.message == msg.message && p->msg.hwnd == msg.hwnd && p->msg.time == msg.time &&
                        p->msg.wParam == msg.wParam && p->msg.lParam == msg.lParam) {
                        posted.erase(p);
                        break;
                    }
                }
            }
            return Fetch::Retry;
        }
        CallHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg), nullptr);
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            g_keyMsg = msg;
            g_keyText = keyText;
        }
        if (mouseInput && !MouseArrives(msg, hit))
            return Fetch::Retry;
        *out = msg;
        Lock relock(ws.Lock());
        queue->last = msg;
        return Fetch::Message;
    }
    if (queue->quit) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(queue->quitCode);
        out->time = static_cast<DWORD>(Platform::Clock::NowMs());
        if (remove)
            queue->quit = false;
        return Fetch::Message;
    }
    const ULONGLONG now = Platform::Clock::NowMs();
    if (HWND paint = FindPaintWindow(ws, *queue, filter, min, max)) {
        *out = MSG{};
        out->hwnd = paint;
        out->message = WM_PAINT;
        out->time = static_cast<DWORD>(now);
        out->pt = ws.m_cursorPos;
        return Fetch::Message;
    }
    if (const Timer* t = FindDueTimer(ws, *queue, filter, min, max, now)) {
        *out = MSG{};
        out->hwnd = t->hwnd;
        out->message = WM_TIMER;
        out->wParam = t->id;
        out->lParam = reinterpret_cast<LPARAM>(t->proc);
        out->time = static_cast<DWORD>(now);
        out->pt = ws.m_cursorPos;
        if (remove)
            const_cast<Timer*>(t)->due = now + t->elapse;
        lock.unlock();
        MSG copy = *out;
        CallHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&copy), nullptr);
        *out = copy;
        return Fetch::Message;
    }
    return Fetch::None;
}

bool Fetch(MSG* out, HWND filter, UINT min, UINT max, UINT flags)
{
    // A bounded number of swallowed input messages per call keeps a hook
    // that swallows everything from spinning here forever.
    for (int round = 0; round < 100000; ++round) {
        ServiceIncomingSends();
        switch (FetchOnce(out, filter, min, max, flags)) {
        case Fetch::Message: return true;
        case Fetch::None: return false;
        case Fetch::Retry: break;
        }
    }
    return false;
}

// Pumps the display without waiting when no other thread does.
void PumpDisplayNow()
{
    auto& ws = WindowSystem::Get();
    Display::CDisplayBackend* display = nullptr;
    ThreadQueue* self = nullptr;
    {
        Lock lock(ws.Lock());
        if (ws.m_pumping != nullptr)
            return;
        display = &DisplayLocked(ws);
        self = ws.CurrentQueue().get();
        ws.m_pumping = self;
    }
    display->PumpEvents(0);
    Lock lock(ws.Lock());
    if (ws.m_pumping == self)
        ws.m_pumping = nullptr;
}

// Waits until something may have arrived for the calling thread: a message,
// a send, a due timer, a display event or one of the objects.
DWORD WaitForInput(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs)
{
    WatchClock();
    auto& ws = WindowSystem::Get();
    std::shared_ptr<ThreadQueue> queue;
    Display::CDisplayBackend* display = nullptr;
    bool pump = false;
    bool awake = false;
    DWORD wait = timeoutMs;
    {
        Lock lock(ws.Lock());
        queue = ws.CurrentQueue();
        // Its sender wakes this thread only after letting go of the lock, too
        // late for the display's pump to notice: the caller services it first.
        if (!queue->incoming.empty())
            return WAIT_OBJECT_0 + count;
        awake = count == 0 && timeoutMs != 0 && InSendRun(*queue);
        if (!awake) {
            display = &DisplayLocked(ws);
            wait = std::min(wait, TimeToNextTimer(*queue, Platform::Clock::NowMs()));
            if (ws.m_pumping == nullptr && !queue->waiter.IsWoken() && count == 0) {
                ws.m_pumping = queue.get();
                pump = true;
            }
        }
    }
    if (awake) {
        // A run of sends ends with a wait that finds nothing; the next one sleeps.
        if (AwaitNextSendAwake(*queue))
            return WAIT_OBJECT_0;
        return WaitForInput(count, handles, waitAll, timeoutMs);
    }
    if (pump) {
        display->PumpEvents(wait);
        Lock lock(ws.Lock());
        if (ws.m_pumping == queue.get())
            ws.m_pumping = nullptr;
        return WAIT_OBJECT_0 + count;
    }
    if (count > 0) {
        PumpDisplayNow();
        if (wait == INFINITE || wait > kDisplayPollMs)
            wait = kDisplayPollMs;
        const DWORD result = Platform::WaitForObjectsOrWake(count, handles, waitAll, wait, &queue->waiter);
        return result == WAIT_TIMEOUT ? WAIT_OBJECT_0 + count : result;
    }
    // Another thread pumps the display: it routes events to this queue and wakes it.
    Platform::WaitForObjectsOrWake(0, nullptr, FALSE, wait, &queue->waiter);
    return WAIT_OBJECT_0;
}

void ClearOwnWake()
{
    auto& ws = WindowSystem::Get();
    std::shared_ptr<ThreadQueue> queue;
    {
        Lock lock(ws.Lock());
        queue = ws.CurrentQueue();
    }
    queue->waiter.ClearWake();
}

}

// ---------------------------------------------------------------------------
// Retrieving
// ---------------------------------------------------------------------------

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PumpDisplayNow();
    return Fetch(msg, hwnd, filterMin, filterMax, removeFlags) ? TRUE : FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd != nullptr && hwnd != reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)) && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    for (;;) {
        ClearOwnWake();
        PumpDisplayNow();
        if (Fetch(msg, hwnd, filterMin, filterMax, PM_REMOVE))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        WaitForInput(0, nullptr, FALSE, INFINITE);
    }
}

BOOL WaitMessage()
{
    // Returns when something is there that was not there before.
    ClearOwnWake();
    MSG probe;
    PumpDisplayNow();
    if (Fetch(&probe, nullptr, 0, 0, PM_NOREMOVE))
        return TRUE;
    WaitForInput(0, nullptr, FALSE, INFINITE);
    return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD wakeMask)
{
    if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && handles == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    const ULONGLONG start = Platform::Clock::NowMs();
    for (;;) {
        ClearOwnWake();
        ServiceIncomingSends();
        if (count > 0) {
            const DWORD ready = Platform::WaitForObjectsOrWake(count, handles, waitAll, 0, nullptr);
            if (ready != WAIT_TIMEOUT)
                return ready;
        }
        if (wakeMask != 0 && (GetQueueStatus(wakeMask) & 0xFFFF) != 0)
            return WAIT_OBJECT_0 + count;
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const ULONGLONG elapsed = Platform::Clock::NowMs() - start;
            if (elapsed >= milliseconds)
                return WAIT_TIMEOUT;
            left = static_cast<DWORD>(milliseconds - elapsed);
        }
        const DWORD result = WaitForInput(count, handles, waitAll, left);
        if (result == WAIT_FAILED)
            return WAIT_FAILED;
        if (result < WAIT_OBJECT_0 + count || (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count))
            return result;
    }
}

DWORD GetQueueStatus(UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto queue = ws.CurrentQueue();
    DWORD status = 0;
    for (const auto& q : queue->posted) {
        const UINT m = q.msg.message;
        if (IsKeyMessage(m))
            status |= QS_KEY;
        else if (m == WM_MOUSEMOVE)
            status |= QS_MOUSEMOVE;
        else if (IsMouseMessage(m))
            status |= QS_MOUSEBUTTON;
        else
            status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    if (queue->quit)
        status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (!queue->incoming.empty())
        status |= QS_SENDMESSAGE;
    if (FindPaintWindow(ws, *queue, nullptr, 0, 0) != nullptr)
        status |= QS_PAINT;
    const ULONGLONG now = Platform::Clock::NowMs();
    for (const Timer& t : queue->timers) {
        if (t.due <= now)
            status |= QS_TIMER;
    }
    status &= flags;
    return (status << 16) | status;
}

BOOL TranslateMessage(const MSG* msg)
{
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    // The text comes from the display with the key: the layout is its business.
    std::wstring text;
    if (g_keyMsg.hwnd == msg->hwnd && g_keyMsg.message == msg->message && g_keyMsg.wParam == msg->wParam &&
        g_keyMsg.time == msg->time)
        text = g_keyText;
    if (text.empty() && msg->message == WM_SYSKEYDOWN)
        text = SystemKeyText(static_cast<UINT>(msg->wParam));
    if (text.empty())
        return FALSE;
    const UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto queue = ws.CurrentQueue();
    // The characters come next, before anything posted later.
    std::deque<QueuedMessage> chars;
    for (wchar_t c : text) {
        QueuedMessage q;
        q.msg = *msg;
        q.msg.message = charMessage;
        q.msg.wParam = static_cast<WPARAM>(c);
        chars.push_back(q);
    }
    queue->posted.insert(queue->posted.begin(), chars.begin(), chars.end());
    ws.WakeQueue(*queue);
    g_keyMsg = MSG{};
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        // Only timer procedures this thread registered are called: lParam may come from anywhere.
        bool known = false;
        {
            auto& ws = WindowSystem::Get();
            Lock lock(ws.Lock());
            for (const Timer& t : ws.CurrentQueue()->timers)
                known = known || (t.proc == proc && t.id == msg->wParam && t.hwnd == msg->hwnd);
        }
        if (known) {
            proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(Platform::Clock::NowMs()));
            return 0;
        }
    }
    if (msg->hwnd == nullptr)
        return 0;
    if (msg->message == DisplayActionMessage()) {
        if (GetWindowThreadProcessId(msg->hwnd, nullptr) == CurrentThreadId())
            RunDisplayAction(msg->hwnd, msg->wParam, msg->lParam);
        return 0;
    }
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Find(msg->hwnd);
        if (!w)
            return 0;
        if (w->queue->threadId != CurrentThreadId()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
    }
    return CallProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto queue = ws.CurrentQueue();
    queue->quit = true;
    queue->quitCode = exitCode;
    ws.WakeQueue(*queue);
}

LONG GetMessageTime()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return static_cast<LONG>(ws.CurrentQueue()->last.time);
}

DWORD GetMessagePos()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    const POINT p = ws.CurrentQueue()->last.pt;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}
