// Window and thread timers on the layer's clock.
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::shared_ptr<ThreadQueue> queue;
    if (hwnd != nullptr) {
        auto w = ws.Find(hwnd);
        if (!w)
            return 0;
        queue = w->queue;
    } else {
        queue = ws.CurrentQueue();
    }
    // The platform's limits: at least 10 ms, at most about 24.8 days.
    elapse = std::clamp<UINT>(elapse, 10u, 0x7FFFFFFFu);
    if (hwnd == nullptr) {
        // Thread timers get an id of their own unless an existing one is replaced.
        bool existing = false;
        for (const Timer& t : queue->timers)
            existing = existing || (t.hwnd == nullptr && t.id == id && id != 0);
        if (!existing) {
            id = queue->nextThreadTimerId++;
            if (queue->nextThreadTimerId == 0)
                queue->nextThreadTimerId = 1;
        }
    }
    const ULONGLONG due = Platform::Clock::NowMs() + elapse;
    for (Timer& t : queue->timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = elapse;
            t.proc = proc;
            t.due = due;
            ws.WakeQueue(*queue);
            return hwnd != nullptr ? (id != 0 ? id : 1) : id;
        }
    }
    Timer timer;
    timer.hwnd = hwnd;
    timer.id = id;
    timer.elapse = elapse;
    timer.proc = proc;
    timer.due = due;
    queue->timers.push_back(timer);
    ws.WakeQueue(*queue);
    return hwnd != nullptr ? (id != 0 ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::shared_ptr<ThreadQueue> queue;
    if (hwnd != nullptr) {
        auto w = ws.Find(hwnd);
        if (!w)
            return FALSE;
        queue = w->queue;
    } else {
        queue = ws.CurrentQueue();
    }
    const auto before = queue->timers.size();
    std::erase_if(queue->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    // A WM_TIMER already taken from the queue is not called back; none is queued ahead.
    return queue->timers.size() != before ? TRUE : FALSE;
}
