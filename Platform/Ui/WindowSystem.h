#pragma once
// The inside of the window layer: window records, thread queues and the one
// lock that guards them. Nothing here is called by code above the platform.
//
// Locking: every record and queue is guarded by WindowSystem::Lock(). Window
// procedures, hooks, timer procedures and the display's event pump are never
// called with it held, so a procedure may call anything of the layer and
// threads that send to each other cannot deadlock on it. Nor is it taken twice:
// code under it calls only the helpers marked below, never a function of the
// layer that takes it (WindowLock ends the process when one does). Lock order:
// this lock, then the menu store's, then the display back end's, then the
// kernel objects' state lock.
#include "Platform/Base/HandleTable.h"
#include "Platform/Base/KernelObject.h"
#include "Platform/Display/DisplayBackend.h"
#include "Platform/Ui/WinUser.h"
#include "Platform/Ui/ScrollBarModel.h"
#include "Platform/Ui/WindowLock.h"

#include <cairo.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Ui {

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
    std::vector<BYTE> extra;
};

struct ThreadQueue;

struct Window {
    HWND hwnd = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    std::shared_ptr<ThreadQueue> queue;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // children only
    HWND owner = nullptr;   // top-levels only
    std::vector<HWND> children;  // top of the Z-order first
    RECT rect{};    // window rectangle: a child's in its parent's client coordinates, a top-level's on the screen
    RECT client{};  // client rectangle in window coordinates (relative to rect's top-left)
    std::wstring text;
    LONG_PTR id = 0;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<BYTE> extra;
    std::vector<std::pair<std::wstring, HANDLE>> props;
    bool messageOnly = false;
    bool destroying = false;
    bool minimized = false;
    bool maximized = false;
    bool redraw = true;  // WM_SETREDRAW
    // Painting, all in client coordinates.
    cairo_region_t* update = nullptr;
    bool eraseNeeded = false;
    bool frameNeeded = false;
    bool internalPaint = false;
    cairo_region_t* shape = nullptr;  // SetWindowRgn, window coordinates
    // Top-levels only.
    Display::NativeId native = 0;
    Display::FrameExtents frame{};  // what the display draws around the native area
    cairo_surface_t* backBuffer = nullptr;
    // Mouse tracking (TrackMouseEvent).
    bool trackLeave = false;
    // The standard scroll bars (WS_HSCROLL/WS_VSCROLL).
    ScrollBarModel hScroll;
    ScrollBarModel vScroll;
    bool trackHover = false;
    UINT hoverTime = 0;
    POINT hoverAnchor{};       // on the screen: the hover rectangle is around it
    ULONGLONG hoverSince = 0;  // when the pointer came to rest in that rectangle
    HICON bigIcon = nullptr;       // WM_SETICON: not owned
    HICON smallIconSet = nullptr;  // WM_SETICON ICON_SMALL: not owned
    HMENU systemMenu = nullptr;  // the window's own copy of the window menu (GetSystemMenu)
    HMENU menuBar = nullptr;     // top-levels: SetMenu; destroyed with the window
    int menuBarHot = -1;         // the bar item the menu loop highlights

    // The record owns its regions, surface and menu: one record per window.
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();
};

struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;  // written under the lock before `done`
    // Set under the lock; the waiting sender reads it without, so that it can
    // return at once while the replying thread still goes on under the lock.
    std::atomic<bool> done = false;
    std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    ULONGLONG due = 0;
};

struct Hook {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC proc = nullptr;
};

struct QueuedMessage {
    MSG msg{};
    std::wstring keyText;  // WM_KEYDOWN: the characters the key types, for TranslateMessage
};

struct ThreadQueue {
    DWORD threadId = 0;
    std::atomic<bool> alive = true;  // set under the lock, read by waiting senders without
    Platform::Waiter waiter;
    std::deque<QueuedMessage> posted;
    std::deque<std::shared_ptr<SentMessage>> incoming;
    std::vector<std::shared_ptr<SentMessage>> replyStack;  // sends being handled, innermost last
    std::vector<Timer> timers;
    std::vector<std::shared_ptr<Hook>> hooks;  // newest first
    bool quit = false;
    int quitCode = 0;
    MSG last{};  // GetMessageTime/GetMessagePos
    UINT_PTR nextThreadTimerId = 1;
    // The processor the thread ran on when it last sent or served a send;
    // read without the lock by the threads that wait for it.
    std::atomic<int> processor = -1;
    // The thread only: whose send it answered last, and when. Sends tend to
    // come in runs, so it waits awake briefly for the next (see SpinWait.h).
    int partnerProcessor = -1;
    std::chrono::steady_clock::time_point answeredAt{};
};

// A wake of a queue decided under the lock and carried out after it. The
// woken thread's first step is to take the lock, so a wake given while still
// holding it only puts that thread to sleep again until the waker lets go.
// For sends and replies only: what they announce is looked at under the lock
// before every wait (a thread about to pump the display looks at its
// incoming sends), so a wake that comes late is not lost.
struct DeferredWake {
    std::shared_ptr<ThreadQueue> queue;
    Display::CDisplayBackend* display = nullptr;  // set when the queue's thread is in the display's pump
    void operator()() const;
};

class WindowSystem {
public:
    static WindowSystem& Get();
    WindowLock& Lock() { return m_mutex; }

    // Everything below: the caller holds Lock().
    std::shared_ptr<Window> Find(HWND hwnd) const;  // ERROR_INVALID_WINDOW_HANDLE when not found
    std::shared_ptr<Window> Peek(HWND hwnd) const;  // no last error
    HWND Insert(std::shared_ptr<Window> window);
    Platform::HandleTable<Hook, HHOOK>& Hooks() { return m_hooks; }
    std::vector<std::shared_ptr<ThreadQueue>> AllQueues() const;
    void Remove(HWND hwnd);
    std::vector<std::shared_ptr<Window>> AllWindows() const;

    std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) const;
    std::shared_ptr<ThreadQueue> CurrentQueue();  // created on first use
    void WakeQueue(ThreadQueue& queue);
    DeferredWake WakeLater(std::shared_ptr<ThreadQueue> queue) const;

    std::vector<HWND>& TopLevels() { return m_topLevels; }  // top of the Z-order first
    std::map<std::wstring, std::shared_ptr<WindowClass>>& Classes() { return m_classes; }
    std::map<std::wstring, UINT>& RegisteredMessages() { return m_registeredMessages; }

    // Input state.
    HWND m_focus = nullptr;
    HWND m_active = nullptr;
    HWND m_capture = nullptr;
    HWND m_hover = nullptr;  // the window under the pointer
    POINT m_cursorPos{};
    HCURSOR m_cursor = nullptr;
    BYTE m_keyState[256]{};
    BYTE m_asyncKeyState[256]{};
    // Double clicks.
    HWND m_lastClickWindow = nullptr;
    UINT m_lastClickMessage = 0;
    DWORD m_lastClickTime = 0;
    POINT m_lastClickPos{};
    bool m_appActive = false;

    // Pumping: the queue whose thread is inside the display's PumpEvents.
    ThreadQueue* m_pumping = nullptr;
    Display::CDisplayBackend* m_display = nullptr;
    bool m_sinkInstalled = false;

private:
    WindowSystem();
    friend struct QueueHolder;
    void DropQueue(DWORD threadId);

    mutable WindowLock m_mutex;
    Platform::HandleTable<Window, HWND> m_windows{Platform::HandleKind::Window};
    std::vector<HWND> m_allWindows;
    std::map<DWORD, std::shared_ptr<ThreadQueue>> m_queues;
    Platform::HandleTable<Hook, HHOOK> m_hooks{Platform::HandleKind::Hook};
    std::vector<HWND> m_topLevels;
    std::map<std::wstring, std::shared_ptr<WindowClass>> m_classes;  // upper-cased name
    std::map<std::wstring, UINT> m_registeredMessages;               // upper-cased name
};

// --- helpers used across the layer's files; the lock is held unless said ---
DWORD CurrentThreadId();
std::wstring UpperName(std::wstring_view name);
bool IsTopLevel(const Window& w);
// The window's visible client rectangle in its top-level's client (back
// buffer) coordinates, clipped by every ancestor; `origin` gets the client
// origin in the same coordinates.
RECT ClientInBackBuffer(const WindowSystem& ws, const Window& w, POINT& origin);
RECT WindowInBackBuffer(const WindowSystem& ws, const Window& w, POINT& origin);
std::shared_ptr<Window> RootOf(const WindowSystem& ws, const Window& w);
// The list the window stands in, top of the Z-order first: its parent's
// children or the top-levels; null for message-only windows.
const std::vector<HWND>* SiblingList(WindowSystem& ws, const Window& w);
bool IsVisibleChain(const WindowSystem& ws, const Window& w);
POINT ClientOriginOnScreen(const WindowSystem& ws, const Window& w);
Display::CDisplayBackend& DisplayLocked(WindowSystem& ws);
// The layer's display and its resolution, whether the lock is held or not:
// what the display tells of itself (screen, monitors, frames) needs no window
// record, so sizes and metrics can be asked while the lock is held (painting
// scroll bars under it, say).
Display::CDisplayBackend& LayerDisplay();
int LayerDpi();
void PostLocked(WindowSystem& ws, ThreadQueue& queue, const MSG& msg, std::wstring keyText = {});
// The down bit of a key, and of its side-neutral code for the left and
// right keys; toggle bits stay as they are.
void SetKeyDownBit(BYTE (&state)[256], UINT vk, bool down);

// Calls a window procedure with the WH_CALLWNDPROC hooks of the calling
// thread; the lock is NOT held.
LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the hooks of a type for the calling thread; true when one swallowed
// the event. The lock is NOT held.
LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam, bool* swallowed);
// Services sends from other threads that wait for this one. Lock NOT held.
bool ServiceIncomingSends();
// Whether the thread has just answered a send from a thread on another
// processor; the next send of such a run is likely microseconds away. The
// thread's own queue.
bool InSendRun(const ThreadQueue& queue);
// Waits awake briefly for the next send of a run; true when something woke
// the thread, false when the run is over. The thread's own queue; lock NOT held.
bool AwaitNextSendAwake(ThreadQueue& queue);

// The first visible, enabled window that `owner` owns; with `followChain`
// also one further down a chain of disabled owned windows (a question over
// a dialog over the main window: what the disabled owner waits for). Lock held.
HWND EnabledPopupLocked(WindowSystem& ws, HWND owner, bool followChain, int depth = 0);

// Painting parts used by window management (lock held).
void InvalidateLocked(WindowSystem& ws, Window& w, const cairo_region_t* region, UINT flags);
// The visible children of `w` within `area` (client coordinates of `w`).
void InvalidateChildrenLocked(WindowSystem& ws, Window& w, const cairo_region_t* area, UINT flags);
void ResizeBackBuffer(Window& top);
// The back buffer of a destroyed top-level, for the next one of its size.
void KeepSpareBackBuffer(cairo_surface_t* backBuffer);
void PresentLocked(WindowSystem& ws, Window& top, const RECT& area);

// Frames (lock held).
Display::TopLevelKind NativeKind(DWORD style);
// Recomputes the display frame and the client rectangle from the styles.
void UpdateFrame(WindowSystem& ws, Window& w);
// The part of a top-level inside the display's frame, on the screen.
RECT NativeRect(const Window& w);
std::size_t TopMostInsertIndex(WindowSystem& ws, const Window& w);
// Focus, capture and activation leave windows that are being destroyed. Lock NOT held.
void ReleaseInputState(const std::vector<HWND>& dying);

// Regions: HRGN contents as cairo regions and back (lock may be held).
cairo_region_t* RegionToCairo(HRGN region);  // empty region for an invalid handle
int CairoToRegion(const cairo_region_t* source, HRGN target);

// Display events become messages here.
void InstallDisplaySink(WindowSystem& ws);
// What the display asks of a window is done on the window's own thread: the
// event pump posts this message and DispatchMessage runs the action.
UINT DisplayActionMessage();
constexpr WPARAM kActionConfigure = 1;   // wParam bits 16-31 width, 32-47 height; lParam the position
constexpr WPARAM kActionActivate = 2;    // the display's focus came to the window
constexpr WPARAM kActionDeactivate = 3;  // and left it
constexpr WPARAM kActionForeground = 4;  // another thread asked to activate it (SetForegroundWindow)
void RunDisplayAction(HWND hwnd, WPARAM action, LPARAM data);

}
