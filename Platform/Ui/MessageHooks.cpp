// Window procedures called with the WH_CALLWNDPROC hooks, and the hook chains.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <memory>
#include <utility>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// The hook procedure the thread is running, so that CallNextHookEx finds the
// next one without its handle (callers pass none, as the platform allows).
thread_local std::shared_ptr<Hook> g_running;

// Runs a hook as the thread's running one, the previous one back afterwards.
LRESULT RunHook(const std::shared_ptr<Hook>& hook, int code, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<Hook> previous = std::exchange(g_running, hook);
    const LRESULT result = hook->proc(code, wParam, lParam);
    g_running = std::move(previous);
    return result;
}

}

namespace Ui {

LRESULT CallProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    WNDPROC proc = nullptr;
    bool hooked = false;
    {
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return 0;
        proc = w->proc;
        auto queue = ws.CurrentQueue();
        for (const auto& hook : queue->hooks)
            hooked = hooked || hook->type == WH_CALLWNDPROC;
    }
    if (hooked) {
        CWPSTRUCT info;
        info.hwnd = hwnd;
        info.message = message;
        info.wParam = wParam;
        info.lParam = lParam;
        CallHooks(WH_CALLWNDPROC, HC_ACTION, InSendMessage() ? 1 : 0, reinterpret_cast<LPARAM>(&info), nullptr);
    }
    return proc != nullptr ? proc(hwnd, message, wParam, lParam) : 0;
}

LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam, bool* swallowed)
{
    auto& ws = WindowSystem::Get();
    std::shared_ptr<Hook> first;
    {
        Lock lock(ws.Lock());
        for (const auto& hook : ws.CurrentQueue()->hooks) {
            if (hook->type == type) {
                first = hook;
                break;
            }
        }
    }
    if (!first)
        return 0;
    const LRESULT result = RunHook(first, code, wParam, lParam);
    if (swallowed != nullptr)
        *swallowed = result != 0;
    return result;
}

}

HHOOK SetWindowsHookExW(int type, HOOKPROC proc, HINSTANCE, DWORD threadId)
{
    if (proc == nullptr) {
        SetLastError(ERROR_INVALID_FILTER_PROC);
        return nullptr;
    }
    if (type != WH_KEYBOARD && type != WH_MOUSE && type != WH_GETMESSAGE && type != WH_CALLWNDPROC && type != WH_CBT &&
        type != WH_MSGFILTER) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    // Only thread hooks: for the calling thread, or one that has a queue.
    std::shared_ptr<ThreadQueue> queue = threadId == 0 || threadId == CurrentThreadId() ? ws.CurrentQueue() : ws.QueueOfThread(threadId);
    if (!queue) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto hook = std::make_shared<Hook>();
    hook->type = type;
    hook->proc = proc;
    hook->handle = ws.Hooks().Insert(hook);
    if (hook->handle == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    queue->hooks.insert(queue->hooks.begin(), hook);
    return hook->handle;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    std::shared_ptr<Hook> next;
    {
        Lock lock(ws.Lock());
        auto current = hook ? ws.Hooks().Lookup(hook) : g_running;
        if (!current)
            return 0;
        const auto& hooks = ws.CurrentQueue()->hooks;
        auto it = std::find(hooks.begin(), hooks.end(), current);
        if (it == hooks.end())
            return 0;
        for (++it; it != hooks.end(); ++it) {
            if ((*it)->type == current->type) {
                next = *it;
                break;
            }
        }
    }
    return next ? RunHook(next, code, wParam, lParam) : 0;
}

BOOL UnhookWindowsHookEx(HHOOK hook)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto removed = ws.Hooks().Remove(hook);
    if (!removed) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    for (const auto& queue : ws.AllQueues())
        std::erase(queue->hooks, removed);
    return TRUE;
}
