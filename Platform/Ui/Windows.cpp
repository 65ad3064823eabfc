// Window classes, creation and destruction, the tree, long values and properties.
#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/NonClient.h"
#include "Platform/Ui/CaretState.h"
#include "Platform/Ui/WindowIcon.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// Takes out a window that a hook refused before it got any message.
void DiscardUnborn(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return;
    if (auto p = ws.Peek(w->parent))
        std::erase(p->children, hwnd);
    if (w->native != 0)
        DisplayLocked(ws).DestroyTopLevel(w->native);
    ws.Remove(hwnd);
}

std::atomic<ATOM> g_nextAtom{0xC000};

std::wstring ClassKey(LPCWSTR name, const std::map<std::wstring, std::shared_ptr<WindowClass>>& classes)
{
    if (name == nullptr)
        return {};
    if (IS_INTRESOURCE(name)) {
        const ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
        for (const auto& [key, cls] : classes) {
            if (cls->atom == atom)
                return key;
        }
        return {};
    }
    return UpperName(name);
}

std::shared_ptr<WindowClass> FindClass(WindowSystem& ws, LPCWSTR name)
{
    const std::wstring key = ClassKey(name, ws.Classes());
    auto it = ws.Classes().find(key);
    return it == ws.Classes().end() ? nullptr : it->second;
}

ATOM RegisterLocked(WindowSystem& ws, const WNDCLASSEXW& wc)
{
    if (wc.lpszClassName == nullptr || IS_INTRESOURCE(wc.lpszClassName) || *wc.lpszClassName == 0 ||
        wc.lpfnWndProc == nullptr || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40960 ||
        wc.cbWndExtra > 40960) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring key = UpperName(wc.lpszClassName);
    if (ws.Classes().count(key) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc.lpszClassName;
    cls->style = wc.style;
    cls->proc = wc.lpfnWndProc;
    cls->classExtra = wc.cbClsExtra;
    cls->windowExtra = wc.cbWndExtra;
    cls->instance = wc.hInstance;
    cls->icon = wc.hIcon;
    cls->smallIcon = wc.hIconSm;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    cls->extra.assign(static_cast<std::size_t>(wc.cbClsExtra), 0);
    cls->atom = g_nextAtom++;
    ws.Classes()[key] = cls;
    return cls->atom;
}

// A value kept at `index` in a class's or a window's extra bytes; none where
// it does not fit in them.
template <typename T>
std::optional<T> ReadExtra(const std::vector<BYTE>& extra, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(T) > extra.size())
        return std::nullopt;
    T value{};
    std::memcpy(&value, extra.data() + index, sizeof value);
    return value;
}

// Stores `value` at `index` and returns what was there.
template <typename T>
std::optional<T> ExchangeExtra(std::vector<BYTE>& extra, int index, T value)
{
    const auto old = ReadExtra<T>(extra, index);
    if (old)
        std::memcpy(extra.data() + index, &value, sizeof value);
    return old;
}

// Puts the handle a long value carries into `field`; returns the one it held.
template <typename Result, typename Handle>
Result ExchangeHandle(Handle& field, LONG_PTR value)
{
    const auto old = reinterpret_cast<Result>(field);
    field = reinterpret_cast<Handle>(value);
    return old;
}

void FillClassInfo(const WindowClass& cls, WNDCLASSEXW& wc)
{
    wc.style = cls.style;
    wc.lpfnWndProc = cls.proc;
    wc.cbClsExtra = cls.classExtra;
    wc.cbWndExtra = cls.windowExtra;
    wc.hInstance = cls.instance;
    wc.hIcon = cls.icon;
    wc.hIconSm = cls.smallIcon;
    wc.hCursor = cls.cursor;
    wc.hbrBackground = cls.background;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = cls.name.c_str();
}

}

ATOM RegisterClassExW(const WNDCLASSEXW* wc)
{
    if (wc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return RegisterLocked(ws, *wc);
}

ATOM RegisterClassW(const WNDCLASSW* wc)
{
    if (wc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExW(&ex);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    const std::wstring key = ClassKey(className, ws.Classes());
    auto it = ws.Classes().find(key);
    if (it == ws.Classes().end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (const auto& w : ws.AllWindows()) {
        if (w->windowClass == it->second) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    ws.Classes().erase(it);
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto cls = FindClass(ws, className);
    if (!cls || wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    FillClassInfo(*cls, *wc);
    return cls->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc)
{
    WNDCLASSEXW ex;
    const BOOL found = GetClassInfoExW(instance, className, &ex);
    if (found && wc != nullptr) {
        wc->style = ex.style;
        wc->lpfnWndProc = ex.lpfnWndProc;
        wc->cbClsExtra = ex.cbClsExtra;
        wc->cbWndExtra = ex.cbWndExtra;
        wc->hInstance = ex.hInstance;
        wc->hIcon = ex.hIcon;
        wc->hCursor = ex.hCursor;
        wc->hbrBackground = ex.hbrBackground;
        wc->lpszMenuName = nullptr;
        wc->lpszClassName = ex.lpszClassName;
    }
    return found;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int count)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || buffer == nullptr || count <= 0)
        return 0;
    const std::wstring& name = w->windowClass->name;
    const int n = std::min<int>(static_cast<int>(name.size()), count - 1);
    std::copy_n(name.c_str(), n, buffer);
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    const WindowClass& cls = *w->windowClass;
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(cls.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(cls.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(cls.icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(cls.smallIcon);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(cls.proc);
    case GCL_STYLE: return cls.style;
    default: break;
    }
    if (const auto value = ReadExtra<ULONG_PTR>(cls.extra, index))
        return *value;
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    WindowClass& cls = *w->windowClass;
    ULONG_PTR old = 0;
    switch (index) {
    case GCLP_HBRBACKGROUND: return ExchangeHandle<ULONG_PTR>(cls.background, value);
    case GCLP_HCURSOR: return ExchangeHandle<ULONG_PTR>(cls.cursor, value);
    case GCLP_HICON: return ExchangeHandle<ULONG_PTR>(cls.icon, value);
    case GCLP_HICONSM: return ExchangeHandle<ULONG_PTR>(cls.smallIcon, value);
    case GCL_STYLE:
        old = cls.style;
        cls.style = static_cast<UINT>(value);
        return old;
    default: break;
    }
    if (const auto previous = ExchangeExtra(cls.extra, index, static_cast<ULONG_PTR>(value)))
        return *previous;
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

// ---------------------------------------------------------------------------
// Creation and destruction
// ---------------------------------------------------------------------------

namespace {

POINT g_cascade{40, 40};

void PlaceNewWindow(WindowSystem& ws, Window& w, int x, int y, int width, int height)
{
    const bool child = (w.style & WS_CHILD) != 0;
    if (!child && x == CW_USEDEFAULT) {
        const RECT work = DisplayLocked(ws).WorkArea();
        x = work.left + g_cascade.x;
        y = work.top + g_cascade.y;
        g_cascade.x = (g_cascade.x + 24) % 240;
        g_cascade.y = (g_cascade.y + 24) % 240;
        if (width == CW_USEDEFAULT) {
            width = (work.right - work.left) * 2 / 3;
            height = (work.bottom - work.top) * 2 / 3;
        }
    }
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT)
        width = height = 0;
    width = std::max(width, 0);
    height = std::max(height, 0);
    w.rect = {x, y, x + width, y + height};
}

}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto cls = FindClass(ws, className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto w = std::make_shared<Window>();
    w->windowClass = cls;
    w->queue = ws.CurrentQueue();
    w->style = style;
    w->exStyle = exStyle;
    w->proc = cls->proc;
    w->instance = instance;
    w->extra.assign(static_cast<std::size_t>(cls->windowExtra), 0);
    w->text = windowName != nullptr && !IS_INTRESOURCE(windowName) ? windowName : L"";
    if (parent == HWND_MESSAGE) {
        w->messageOnly = true;
        w->style &= ~(WS_CHILD | WS_VISIBLE);
        parent = nullptr;
    }
    std::shared_ptr<Window> parentWindow;
    if (parent != nullptr) {
        parentWindow = ws.Find(parent);
        if (!parentWindow || parentWindow->destroying)
            return nullptr;
    }
    if ((style & WS_CHILD) != 0) {
        if (!parentWindow) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        w->parent = parent;
        w->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (parentWindow) {
        // The owner of a pop-up is always a top-level.
        auto root = RootOf(ws, *parentWindow);
        w->owner = root ? root->hwnd : nullptr;
    }
    if ((style & WS_CHILD) == 0 && menu != nullptr && IsMenu(menu))
        w->menuBar = menu;
    if (IsTopLevel(*w) && !w->messageOnly) {
        // Overlapped windows always have a caption.
        if ((w->style & (WS_POPUP | WS_CHILD)) == 0)
            w->style |= WS_CAPTION | WS_CLIPSIBLINGS;
        if ((w->exStyle & WS_EX_DLGMODALFRAME) != 0 || (w->style & WS_CAPTION) == WS_CAPTION || (w->style & WS_THICKFRAME) != 0)
            w->exStyle |= WS_EX_WINDOWEDGE;
    }
    PlaceNewWindow(ws, *w, x, y, width, height);
    UpdateFrame(ws, *w);

    HWND hwnd = ws.Insert(w);
    if (hwnd == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // A pop-up given a parent is owned by it, yet a top-level among the
    // others: only children join their parent's list.
    if (w->parent != nullptr)
        parentWindow->children.push_back(hwnd);  // new children go to the bottom of the Z-order
    else if (!w->messageOnly)
        ws.TopLevels().insert(ws.TopLevels().begin() + static_cast<std::ptrdiff_t>(TopMostInsertIndex(ws, *w)), hwnd);
    if (IsTopLevel(*w) && !w->messageOnly) {
        Display::TopLevelParams params;
        params.kind = NativeKind(w->style);
        params.clientRect = NativeRect(*w);
        params.title = w->text;
        auto owner = ws.Peek(w->owner);
        params.owner = owner ? owner->native : 0;
        params.resizable = (w->style & WS_THICKFRAME) != 0;
        params.minimizable = (w->style & WS_MINIMIZEBOX) != 0;
        params.maximizable = (w->style & WS_MAXIMIZEBOX) != 0;
        params.topMost = (w->exStyle & WS_EX_TOPMOST) != 0;
        params.toolWindow = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
        w->native = DisplayLocked(ws).CreateTopLevel(params);
    }
    const bool classIcons = w->native != 0 && w->windowClass && (w->windowClass->icon || w->windowClass->smallIcon);
    lock.unlock();
    if (classIcons)
        ShowWindowIcons(hwnd);

    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = w->rect.left;
    cs.y = w->rect.top;
    cs.cx = w->rect.right - w->rect.left;
    cs.cy = w->rect.bottom - w->rect.top;
    cs.style = static_cast<LONG>(w->style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = w->exStyle;
    const DWORD visible = w->style & WS_VISIBLE;
    {
        Lock relock(ws.Lock());
        w->style &= ~WS_VISIBLE;  // shown after WM_CREATE, as the platform does
    }
    CBT_CREATEWNDW cbt{&cs, HWND_TOP};
    if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt), nullptr) != 0) {
        DiscardUnborn(hwnd);
        return nullptr;
    }
    const bool nonClientMade = SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != 0;
    if (nonClientMade) {
        const RECT clientRect = AskClientRect(hwnd, nullptr);
        Lock relock(ws.Lock());
        ApplyClientRect(*w, clientRect);
    }
    if (!nonClientMade || SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    RECT client{};
    GetClientRect(hwnd, &client);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    {
        Lock relock(ws.Lock());
        const POINT origin{w->rect.left + w->client.left, w->rect.top + w->client.top};
        relock.unlock();
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
    }
    if (parentWindow && (w->style & WS_CHILD) != 0 && (exStyle & WS_EX_NOPARENTNOTIFY) == 0)
        SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(w->id)), reinterpret_cast<LPARAM>(hwnd));
    if (visible != 0 && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL IsWindow(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w != nullptr;
}

namespace {

void CollectSubtree(WindowSystem& ws, HWND hwnd, std::vector<HWND>& out)
{
    out.push_back(hwnd);
    auto w = ws.Peek(hwnd);
    if (!w)
        return;
    for (HWND child : w->children)
        CollectSubtree(ws, child, out);
}

}

BOOL DestroyWindow(HWND hwnd)
{
    if (IsWindow(hwnd) && CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0, nullptr) != 0)
        return FALSE;
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    if (w->queue->threadId != CurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->destroying)
        return TRUE;
    // Owned pop-ups go first.
    std::vector<HWND> owned;
    for (HWND top : ws.TopLevels()) {
        auto other = ws.Peek(top);
        if (other && other->owner == hwnd && !other->destroying)
            owned.push_back(top);
    }
    lock.unlock();
    for (HWND other : owned)
        DestroyWindow(other);
    lock.lock();
    if (!ws.Peek(hwnd) || w->destroying)
        return TRUE;

    std::vector<HWND> subtree;
    CollectSubtree(ws, hwnd, subtree);
    for (HWND member : subtree) {
        if (auto m = ws.Peek(member))
            m->destroying = true;
    }
    // Hide it: the parent shows again what the window covered.
    HWND parent = w->parent;
    if ((w->style & WS_VISIBLE) != 0) {
        w->style &= ~WS_VISIBLE;
        if (auto p = ws.Peek(parent)) {
            cairo_rectangle_int_t r{w->rect.left - p->client.left + p->client.left, w->rect.top, w->rect.right - w->rect.left,
                                    w->rect.bottom - w->rect.top};
            cairo_region_t* area = cairo_region_create_rectangle(&r);
            InvalidateLocked(ws, *p, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            cairo_region_destroy(area);
        }
        if (w->native != 0)
            DisplayLocked(ws).ShowTopLevel(w->native, false);
    }
    const bool notifyParent = (w->style & WS_CHILD) != 0 && (w->exStyle & WS_EX_NOPARENTNOTIFY) == 0 && parent != nullptr;
    const LONG_PTR id = w->id;
    lock.unlock();

    if (notifyParent)
        SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<WORD>(id)), reinterpret_cast<LPARAM>(hwnd));
    ReleaseInputState(subtree);
    // WM_DESTROY parent first, WM_NCDESTROY children first.
    for (HWND member : subtree)
        SendMessageW(member, WM_DESTROY, 0, 0);
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it)
        SendMessageW(*it, WM_NCDESTROY, 0, 0);

    lock.lock();
    if (auto p = ws.Peek(parent))
        std::erase(p->children, hwnd);
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
        auto m = ws.Peek(*it);
        if (!m)
            continue;
        if (m->native != 0)
            DisplayLocked(ws).DestroyTopLevel(m->native);
        for (auto& queue : {m->queue}) {
            std::erase_if(queue->timers, [&](const Timer& t) { return t.hwnd == *it; });
            std::erase_if(queue->posted, [&](const QueuedMessage& q) {
                if (q.msg.hwnd != *it)
                    return false;
                // A key released toward a window that goes is released all the same.
                if (q.msg.message == WM_KEYUP || q.msg.message == WM_SYSKEYUP)
                    SetKeyDownBit(ws.m_keyState, static_cast<UINT>(q.msg.wParam), false);
                return true;
            });
        }
        ForgetCaretOf(*it);
        ws.Remove(*it);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Long values
// ---------------------------------------------------------------------------

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent != nullptr ? w->parent : w->owner);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    case GWLP_ID: return w->id;
    default: break;
    }
    // Near the end of the bytes only a 32-bit value may still fit.
    if (const auto value = ReadExtra<LONG_PTR>(w->extra, index))
        return *value;
    if (const auto value = ReadExtra<LONG>(w->extra, index))
        return *value;
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_HINSTANCE: return ExchangeHandle<LONG_PTR>(w->instance, value);
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        return old;
    case GWLP_ID:
        old = w->id;
        w->id = value;
        return old;
    case GWLP_HWNDPARENT:
        // For a top-level this changes the owner.
        old = reinterpret_cast<LONG_PTR>(w->owner);
        if (IsTopLevel(*w)) {
            auto owner = ws.Peek(reinterpret_cast<HWND>(value));
            w->owner = owner ? owner->hwnd : nullptr;
            if (w->native != 0)
                DisplayLocked(ws).SetOwner(w->native, owner ? owner->native : 0);
        }
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT change;
        change.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
        change.styleNew = static_cast<DWORD>(value);
        lock.unlock();
        SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
        lock.lock();
        if (!ws.Peek(hwnd))
            return 0;
        DWORD& target = index == GWL_STYLE ? w->style : w->exStyle;
        old = static_cast<LONG_PTR>(static_cast<LONG>(target));
        // WS_CHILD cannot be changed on a living window here: the tree would change.
        if (index == GWL_STYLE)
            change.styleNew = (change.styleNew & ~WS_CHILD) | (target & WS_CHILD);
        target = change.styleNew;
        if (index == GWL_EXSTYLE && w->native != 0)
            DisplayLocked(ws).SetTopMost(w->native, (w->exStyle & WS_EX_TOPMOST) != 0);
        if (index == GWL_STYLE && w->native != 0)
            DisplayLocked(ws).SetFrameFunctions(w->native, (w->style & WS_THICKFRAME) != 0,
                                                (w->style & WS_MINIMIZEBOX) != 0, (w->style & WS_MAXIMIZEBOX) != 0);
        lock.unlock();
        SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
        return old;
    }
    default: break;
    }
    if (const auto previous = ExchangeExtra(w->extra, index, value))
        return *previous;
    if (const auto previous = ExchangeExtra(w->extra, index, static_cast<LONG>(value)))
        return *previous;
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

// ---------------------------------------------------------------------------
// Properties
// ---------------------------------------------------------------------------

namespace {
std::wstring PropKey(LPCWSTR name)
{
    if (IS_INTRESOURCE(name))
        return L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    return UpperName(name);
}

using Properties = std::vector<std::pair<std::wstring, HANDLE>>;

// Runs `action` on a window's properties and the entry named `name` (their
// end where there is none), under the lock.
template <typename R, typename Action>
R WithProperty(HWND hwnd, LPCWSTR name, R failed, Action action)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return failed;
    const std::wstring key = PropKey(name);
    auto entry = std::find_if(w->props.begin(), w->props.end(), [&](const auto& prop) { return prop.first == key; });
    return action(w->props, entry, key);
}

}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data)
{
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithProperty(hwnd, name, FALSE, [&](Properties& props, Properties::iterator entry, const std::wstring& key) {
        if (entry != props.end())
            entry->second = data;
        else
            props.emplace_back(key, data);
        return TRUE;
    });
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name)
{
    if (name == nullptr)
        return nullptr;
    return WithProperty(hwnd, name, HANDLE{}, [](Properties& props, Properties::iterator entry, const std::wstring&) {
        return entry != props.end() ? entry->second : HANDLE{};
    });
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name)
{
    if (name == nullptr)
        return nullptr;
    return WithProperty(hwnd, name, HANDLE{}, [](Properties& props, Properties::iterator entry, const std::wstring&) {
        if (entry == props.end())
            return HANDLE{};
        const HANDLE data = entry->second;
        props.erase(entry);
        return data;
    });
}
