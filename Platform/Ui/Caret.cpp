// The caret of each thread and its blinking.
#include "Platform/Ui/Caret.h"

#include "Platform/Base/LastError.h"
#include "Platform/Gdi/ObjectContents.h"
#include "Platform/Ui/CaretState.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// The id of the blink timer on the caret's window; far from the small ids
// that windows pick for their own timers.
constexpr UINT_PTR kBlinkTimer = 0x7FFFCA00;
constexpr UINT kDefaultBlinkTime = 530;

struct Caret {
    HWND hwnd = nullptr;
    SIZE size{};
    bool grey = false;
    std::vector<std::uint32_t> shape;  // a bitmap caret's pixels, row by row
    POINT pos{};
    int hideLevel = 1;
    bool phaseOn = false;  // the blink phase in which it shows
    // Where it is inverted in the pixels now, if it is.
    bool drawn = false;
    HWND drawnRoot = nullptr;
    RECT drawnArea{};     // back-buffer pixels
    POINT drawnOrigin{};  // back-buffer pixel of the caret's top-left
    UINT armedBlinkTime = 0;  // what its blink timer runs with
};

// All of these are guarded by the window lock.
std::map<DWORD, Caret>& Carets()
{
    static auto* carets = new std::map<DWORD, Caret>;
    return *carets;
}

std::map<HWND, int>& RootsBeingDrawn()
{
    static auto* roots = new std::map<HWND, int>;
    return *roots;
}

UINT g_blinkTime = kDefaultBlinkTime;

Caret* CaretOfThread()
{
    auto it = Carets().find(CurrentThreadId());
    return it == Carets().end() ? nullptr : &it->second;
}

// The calling thread's caret, if `hwnd` is null or its window.
Caret* OwnCaret(HWND hwnd)
{
    Caret* caret = CaretOfThread();
    if (caret == nullptr || (hwnd != nullptr && hwnd != caret->hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return caret;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

std::uint32_t CaretMask(const Caret& caret, int x, int y, POINT origin)
{
    if (!caret.shape.empty()) {
        const std::size_t index = static_cast<std::size_t>(y - origin.y) * static_cast<std::size_t>(caret.size.cx) +
                                  static_cast<std::size_t>(x - origin.x);
        return index < caret.shape.size() ? caret.shape[index] & 0xFFFFFFu : 0;
    }
    if (caret.grey && ((x + y) & 1) != 0)
        return 0;
    return 0xFFFFFFu;
}

// Inverts the caret's pixels; doing it twice puts them back.
void Invert(WindowSystem& ws, const Caret& caret, HWND rootHandle, const RECT& area, POINT origin)
{
    auto root = ws.Peek(rootHandle);
    if (!root || root->backBuffer == nullptr)
        return;
    cairo_surface_t* surface = root->backBuffer;
    cairo_surface_flush(surface);
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
    const int stride = cairo_image_surface_get_stride(surface) / 4;
    const RECT bounds{0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    const RECT box = Intersect(area, bounds);
    if (data == nullptr || Empty(box))
        return;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x)
            data[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) + static_cast<std::size_t>(x)] ^=
                CaretMask(caret, x, y, origin);
    }
    cairo_surface_mark_dirty(surface);
    PresentLocked(ws, *root, box);
}

void Draw(WindowSystem& ws, Caret& caret)
{
    auto w = ws.Peek(caret.hwnd);
    if (!w || !IsVisibleChain(ws, *w))
        return;
    auto root = RootOf(ws, *w);
    if (!root || root->backBuffer == nullptr)
        return;
    POINT clientOrigin{};
    const RECT visible = ClientInBackBuffer(ws, *w, clientOrigin);
    const POINT origin{clientOrigin.x + caret.pos.x, clientOrigin.y + caret.pos.y};
    const RECT area = Intersect(visible, {origin.x, origin.y, origin.x + caret.size.cx, origin.y + caret.size.cy});
    if (Empty(area))
        return;
    Invert(ws, caret, root->hwnd, area, origin);
    caret.drawn = true;
    caret.drawnRoot = root->hwnd;
    caret.drawnArea = area;
    caret.drawnOrigin = origin;
}

void Undraw(WindowSystem& ws, Caret& caret)
{
    if (!caret.drawn)
        return;
    Invert(ws, caret, caret.drawnRoot, caret.drawnArea, caret.drawnOrigin);
    caret.drawn = false;
}

bool Held(WindowSystem& ws, const Caret& caret)
{
    auto w = ws.Peek(caret.hwnd);
    auto root = w ? RootOf(ws, *w) : nullptr;
    const auto& drawing = RootsBeingDrawn();
    return (root && drawing.count(root->hwnd) != 0) || (caret.drawn && drawing.count(caret.drawnRoot) != 0);
}

// Brings the pixels in line with the caret's state.
void Sync(WindowSystem& ws, Caret& caret)
{
    const bool wanted = caret.hideLevel == 0 && caret.phaseOn && !Held(ws, caret);
    if (caret.drawn && !wanted)
        Undraw(ws, caret);
    else if (!caret.drawn && wanted)
        Draw(ws, caret);
}

void RestartBlink(HWND hwnd);

void BlinkProc(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    Caret* caret = CaretOfThread();
    if (caret == nullptr || caret->hwnd != hwnd || caret->hideLevel != 0) {
        lock.unlock();
        KillTimer(hwnd, id);
        return;
    }
    caret->phaseOn = !caret->phaseOn;
    Sync(ws, *caret);
    const bool blinkTimeChanged = caret->armedBlinkTime != g_blinkTime;
    lock.unlock();
    if (blinkTimeChanged)
        RestartBlink(hwnd);
}

// Starts the phases over with the caret on; no blinking under INFINITE.
void RestartBlink(HWND hwnd)
{
    UINT blink = 0;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        blink = g_blinkTime;
        if (Caret* caret = CaretOfThread(); caret != nullptr && caret->hwnd == hwnd)
            caret->armedBlinkTime = blink;
    }
    if (blink == INFINITE)
        KillTimer(hwnd, kBlinkTimer);
    else
        SetTimer(hwnd, kBlinkTimer, blink, BlinkProc);
}

std::vector<std::uint32_t> CopyShape(HBITMAP bitmap, SIZE& size)
{
    return ZELL::Gdi::BitmapPixels(bitmap, size);
}

}

namespace Ui {

void CaretBeforeDrawing(WindowSystem& ws, HWND root)
{
    if (root == nullptr)
        return;
    ++RootsBeingDrawn()[root];
    for (auto& [thread, caret] : Carets())
        Sync(ws, caret);
}

void CaretAfterDrawing(WindowSystem& ws, HWND root)
{
    auto it = RootsBeingDrawn().find(root);
    if (it == RootsBeingDrawn().end())
        return;
    if (--it->second <= 0)
        RootsBeingDrawn().erase(it);
    for (auto& [thread, caret] : Carets())
        Sync(ws, caret);
}

void ForgetCaretOf(HWND hwnd)
{
    std::erase_if(Carets(), [&](const auto& entry) { return entry.second.hwnd == hwnd; });
    RootsBeingDrawn().erase(hwnd);
}

}

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height)
{
    const int defaultWidth = GetSystemMetrics(SM_CXBORDER);
    const int defaultHeight = GetSystemMetrics(SM_CYBORDER);
    auto& ws = WindowSystem::Get();
    HWND previous = nullptr;
    {
        Lock lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w)
            return FALSE;
        if (w->queue->threadId != CurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        Caret fresh;
        fresh.hwnd = hwnd;
        if (bitmap != nullptr && bitmap != kCaretGrey) {
            fresh.shape = CopyShape(bitmap, fresh.size);
            if (fresh.shape.empty()) {
                SetLastError(ERROR_INVALID_HANDLE);
                return FALSE;
            }
        } else {
            fresh.grey = bitmap == kCaretGrey;
            fresh.size = {width > 0 ? width : defaultWidth, height > 0 ? height : defaultHeight};
        }
        if (Caret* old = CaretOfThread()) {
            Undraw(ws, *old);
            previous = old->hwnd;
        }
        Carets()[CurrentThreadId()] = std::move(fresh);
    }
    if (previous != nullptr)
        KillTimer(previous, kBlinkTimer);
    return TRUE;
}

namespace {

enum class Blink { Keep, Stop, Restart };

// Runs `change` on the calling thread's caret (which must be `hwnd`'s when
// that is given) under the lock, then does to the blink timer what it says.
template <typename Change>
BOOL ChangeCaret(HWND hwnd, Change change)
{
    auto& ws = WindowSystem::Get();
    HWND owner = nullptr;
    Blink blink = Blink::Keep;
    {
        Lock lock(ws.Lock());
        Caret* caret = OwnCaret(hwnd);
        if (caret == nullptr)
            return FALSE;
        owner = caret->hwnd;
        blink = change(ws, *caret);
    }
    if (blink == Blink::Stop)
        KillTimer(owner, kBlinkTimer);
    else if (blink == Blink::Restart)
        RestartBlink(owner);
    return TRUE;
}

}

BOOL DestroyCaret()
{
    return ChangeCaret(nullptr, [](WindowSystem& ws, Caret& caret) {
        Undraw(ws, caret);
        Carets().erase(CurrentThreadId());
        return Blink::Stop;
    });
}

BOOL HideCaret(HWND hwnd)
{
    return ChangeCaret(hwnd, [](WindowSystem& ws, Caret& caret) {
        ++caret.hideLevel;
        Sync(ws, caret);
        return caret.hideLevel == 1 ? Blink::Stop : Blink::Keep;
    });
}

BOOL ShowCaret(HWND hwnd)
{
    return ChangeCaret(hwnd, [](WindowSystem& ws, Caret& caret) {
        if (caret.hideLevel == 0 || --caret.hideLevel != 0)
            return Blink::Keep;
        caret.phaseOn = true;
        Sync(ws, caret);
        return Blink::Restart;
    });
}

BOOL SetCaretPos(int x, int y)
{
    return ChangeCaret(nullptr, [x, y](WindowSystem& ws, Caret& caret) {
        Undraw(ws, caret);
        caret.pos = {x, y};
        caret.phaseOn = true;
        Sync(ws, caret);
        return caret.hideLevel == 0 ? Blink::Restart : Blink::Keep;
    });
}

BOOL GetCaretPos(LPPOINT point)
{
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    Caret* caret = OwnCaret(nullptr);
    if (caret == nullptr)
        return FALSE;
    *point = caret->pos;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return g_blinkTime;
}

BOOL SetCaretBlinkTime(UINT milliseconds)
{
    if (milliseconds == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool hasCaret = false;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        g_blinkTime = milliseconds;
        hasCaret = CaretOfThread() != nullptr;
    }
    if (!hasCaret)
        return TRUE;
    // The calling thread's caret takes the new time at once; other threads'
    // carets take it from their next phase on.
    ChangeCaret(nullptr, [](WindowSystem& ws, Caret& caret) {
        if (caret.hideLevel != 0)
            return Blink::Keep;
        caret.phaseOn = true;
        Sync(ws, caret);
        return Blink::Restart;
    });
    return TRUE;
}
