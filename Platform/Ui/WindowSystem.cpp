#include "Platform/Ui/WindowSystem.h"

#include "Platform/Base/Invariant.h"
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/ScreenDpi.h"

#include "Platform/Base/Thread.h"

#include <atomic>

#include <algorithm>
#include <cwctype>

// What the header says "the caller holds Lock()" of, checked where it is relied on.
#define ZELL_WINDOW_LOCK_HELD() ZELL_INVARIANT(m_mutex.HeldByThisThread(), "the caller holds the window layer's lock")

namespace Ui {

Window::~Window()
{
    if (update != nullptr)
        cairo_region_destroy(update);
    if (shape != nullptr)
        cairo_region_destroy(shape);
    if (backBuffer != nullptr)
        KeepSpareBackBuffer(backBuffer);
    if (systemMenu != nullptr)
        DestroyMenu(systemMenu);
    if (menuBar != nullptr)
        DestroyMenu(menuBar);
}

// Ends the thread's queue when the thread ends: senders that wait for it get
// 0, and its windows are destroyed as the platform does.
struct QueueHolder {
    DWORD threadId = 0;
    ~QueueHolder()
    {
        if (threadId != 0)
            WindowSystem::Get().DropQueue(threadId);
    }
};

namespace {
thread_local QueueHolder g_holder;
}

WindowSystem::WindowSystem() = default;

WindowSystem& WindowSystem::Get()
{
    // Never destroyed: threads may end after static destruction has begun.
    static WindowSystem* system = new WindowSystem();
    return *system;
}

std::shared_ptr<Window> WindowSystem::Find(HWND hwnd) const
{
    ZELL_WINDOW_LOCK_HELD();
    auto window = m_windows.Lookup(hwnd);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

std::shared_ptr<Window> WindowSystem::Peek(HWND hwnd) const
{
    ZELL_WINDOW_LOCK_HELD();
    return hwnd == nullptr ? nullptr : m_windows.Lookup(hwnd);
}

HWND WindowSystem::Insert(std::shared_ptr<Window> window)
{
    ZELL_WINDOW_LOCK_HELD();
    Window* raw = window.get();
    HWND hwnd = m_windows.Insert(std::move(window));
    if (hwnd != nullptr) {
        raw->hwnd = hwnd;
        m_allWindows.push_back(hwnd);
    }
    return hwnd;
}

void WindowSystem::Remove(HWND hwnd)
{
    ZELL_WINDOW_LOCK_HELD();
    m_windows.Remove(hwnd);
    std::erase(m_allWindows, hwnd);
    std::erase(m_topLevels, hwnd);
}

std::vector<std::shared_ptr<Window>> WindowSystem::AllWindows() const
{
    ZELL_WINDOW_LOCK_HELD();
    std::vector<std::shared_ptr<Window>> result;
    result.reserve(m_allWindows.size());
    for (HWND hwnd : m_allWindows) {
        if (auto w = m_windows.Lookup(hwnd))
            result.push_back(std::move(w));
    }
    return result;
}

std::shared_ptr<ThreadQueue> WindowSystem::QueueOfThread(DWORD threadId) const
{
    ZELL_WINDOW_LOCK_HELD();
    auto it = m_queues.find(threadId);
    return it == m_queues.end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> WindowSystem::CurrentQueue()
{
    ZELL_WINDOW_LOCK_HELD();
    const DWORD self = CurrentThreadId();
    auto& slot = m_queues[self];
    if (!slot) {
        slot = std::make_shared<ThreadQueue>();
        slot->threadId = self;
        g_holder.threadId = self;
    }
    return slot;
}

void WindowSystem::WakeQueue(ThreadQueue& queue)
{
    queue.waiter.Wake();
    if (m_pumping == &queue && m_display != nullptr)
        m_display->Wake();
}

DeferredWake WindowSystem::WakeLater(std::shared_ptr<ThreadQueue> queue) const
{
    DeferredWake wake;
    if (m_pumping == queue.get())
        wake.display = m_display;
    wake.queue = std::move(queue);
    return wake;
}

void DeferredWake::operator()() const
{
    if (queue)
        queue->waiter.Wake();
    if (display != nullptr)
        display->Wake();
}

void WindowSystem::DropQueue(DWORD threadId)
{
    // Windows first, with their messages, while the queue still works.
    std::vector<HWND> own;
    {
        std::lock_guard lock(m_mutex);
        for (HWND hwnd : m_topLevels) {
            auto w = m_windows.Lookup(hwnd);
            if (w && w->queue && w->queue->threadId == threadId)
                own.push_back(hwnd);
        }
        for (HWND hwnd : m_allWindows) {
            auto w = m_windows.Lookup(hwnd);
            if (w && w->messageOnly && w->queue && w->queue->threadId == threadId)
                own.push_back(hwnd);
        }
    }
    for (HWND hwnd : own)
        DestroyWindow(hwnd);

    std::lock_guard lock(m_mutex);
    auto it = m_queues.find(threadId);
    if (it == m_queues.end())
        return;
    std::shared_ptr<ThreadQueue> queue = it->second;
    m_queues.erase(it);
    queue->alive = false;
    for (auto& sent : queue->incoming) {
        sent->done = true;
        if (sent->sender)
            WakeQueue(*sent->sender);
    }
    queue->incoming.clear();
    if (m_pumping == queue.get())
        m_pumping = nullptr;
}

DWORD CurrentThreadId()
{
    return GetCurrentThreadId();
}

std::wstring UpperName(std::wstring_view name)
{
    std::wstring upper(name);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return upper;
}

bool IsTopLevel(const Window& w)
{
    return (w.style & WS_CHILD) == 0 || w.parent == nullptr;
}

std::shared_ptr<Window> RootOf(const WindowSystem& ws, const Window& w)
{
    std::shared_ptr<Window> current = ws.Peek(w.hwnd);
    for (int depth = 0; current && !IsTopLevel(*current) && depth < 1000; ++depth)
        current = ws.Peek(current->parent);
    return current;
}

bool IsVisibleChain(const WindowSystem& ws, const Window& w)
{
    std::shared_ptr<Window> current = ws.Peek(w.hwnd);
    for (int depth = 0; current && depth < 1000; ++depth) {
        if ((current->style & WS_VISIBLE) == 0)
            return false;
        if (IsTopLevel(*current))
            return true;
        current = ws.Peek(current->parent);
    }
    return false;
}

namespace {
RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top)
        r = {};
    return r;
}
RECT Offset(RECT r, LONG dx, LONG dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The window rectangle of `w` in back-buffer coordinates and the clip its
// ancestors' client areas put on it.
void Place(const WindowSystem& ws, const Window& w, RECT& windowInBuffer, RECT& clip)
{
    if (IsTopLevel(w)) {
        // The back buffer covers what is inside the display's frame.
        const LONG width = w.rect.right - w.rect.left;
        const LONG height = w.rect.bottom - w.rect.top;
        windowInBuffer = Offset({0, 0, width, height}, -w.frame.left, -w.frame.top);
        clip = {0, 0, width - w.frame.left - w.frame.right, height - w.frame.top - w.frame.bottom};
        return;
    }
    auto parent = ws.Peek(w.parent);
    if (!parent) {
        windowInBuffer = clip = {};
        return;
    }
    RECT parentWindow{};
    RECT parentClip{};
    Place(ws, *parent, parentWindow, parentClip);
    const LONG ox = parentWindow.left + parent->client.left;
    const LONG oy = parentWindow.top + parent->client.top;
    const RECT parentClient = Offset({0, 0, parent->client.right - parent->client.left, parent->client.bottom - parent->client.top}, ox, oy);
    windowInBuffer = Offset(w.rect, ox, oy);
    clip = Intersect(parentClip, parentClient);
}
}

RECT ClientInBackBuffer(const WindowSystem& ws, const Window& w, POINT& origin)
{
    RECT windowInBuffer{};
    RECT clip{};
    Place(ws, w, windowInBuffer, clip);
    origin = {windowInBuffer.left + w.client.left, windowInBuffer.top + w.client.top};
    const RECT client{origin.x, origin.y, origin.x + (w.client.right - w.client.left), origin.y + (w.client.bottom - w.client.top)};
    return Intersect(client, clip);
}

RECT WindowInBackBuffer(const WindowSystem& ws, const Window& w, POINT& origin)
{
    RECT windowInBuffer{};
    RECT clip{};
    Place(ws, w, windowInBuffer, clip);
    origin = {windowInBuffer.left, windowInBuffer.top};
    return Intersect(windowInBuffer, clip);
}

POINT ClientOriginOnScreen(const WindowSystem& ws, const Window& w)
{
    POINT p{w.rect.left + w.client.left, w.rect.top + w.client.top};
    if (IsTopLevel(w))
        return p;
    auto parent = ws.Peek(w.parent);
    if (!parent)
        return p;
    const POINT base = ClientOriginOnScreen(ws, *parent);
    return {p.x + base.x, p.y + base.y};
}

namespace {
std::atomic<bool> g_displayAttached{false};
}

Display::CDisplayBackend& DisplayLocked(WindowSystem& ws)
{
    if (ws.m_display == nullptr) {
        ws.m_display = &Display::TheDisplay();
        // One resolution for the whole layer: contexts report the display's.
        SetScreenDpi(ws.m_display->Dpi());
        InstallDisplaySink(ws);
        g_displayAttached.store(true, std::memory_order_release);
    }
    return *ws.m_display;
}

Display::CDisplayBackend& LayerDisplay()
{
    auto& ws = WindowSystem::Get();
    // Set once, before the flag, and never changed after.
    if (g_displayAttached.load(std::memory_order_acquire))
        return *ws.m_display;
    if (ws.Lock().HeldByThisThread())
        return DisplayLocked(ws);
    std::lock_guard lock(ws.Lock());
    return DisplayLocked(ws);
}

int LayerDpi()
{
    LayerDisplay();
    return GetScreenDpi();
}

void PostLocked(WindowSystem& ws, ThreadQueue& queue, const MSG& msg, std::wstring keyText)
{
    queue.posted.push_back({msg, std::move(keyText)});
    ws.WakeQueue(queue);
}

}

namespace Ui {

std::vector<std::shared_ptr<ThreadQueue>> WindowSystem::AllQueues() const
{
    ZELL_WINDOW_LOCK_HELD();
    std::vector<std::shared_ptr<ThreadQueue>> result;
    for (const auto& [id, queue] : m_queues)
        result.push_back(queue);
    return result;
}

}
