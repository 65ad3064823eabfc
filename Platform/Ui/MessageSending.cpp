// Sending and posting: sends across threads wait for their reply and serve
// the sends that come to the waiting thread meanwhile.
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/SpinWait.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

// The platform's default limit of posted messages per queue.
constexpr std::size_t kPostQuota = 10000;

// How long a sender waits awake for the reply of a thread on another
// processor, and a thread that answered one for the next send: a round trip
// takes a few microseconds, a wake-up from sleep on another processor more.
constexpr std::chrono::microseconds kAwakeWait{20};
// How long after an answer the next send still counts as part of the run.
constexpr std::chrono::microseconds kRunGap{200};

// The first answer to a send is the one its sender gets (ReplyMessage may
// have given it early). Lock held; the sender is to be woken after it.
DeferredWake Reply(const WindowSystem& ws, SentMessage& sent, LRESULT result)
{
    if (sent.done)
        return {};
    sent.result = result;
    sent.done = true;
    return sent.sender ? ws.WakeLater(sent.sender) : DeferredWake{};
}

void NoteAnswered(ThreadQueue& queue, const SentMessage& sent)
{
    queue.processor = Platform::CurrentProcessor();
    if (sent.sender == nullptr)
        return;
    queue.partnerProcessor = sent.sender->processor;
    queue.answeredAt = std::chrono::steady_clock::now();
}

// Waiting for the reply awake pays when the target runs on another processor.
bool AwaitReplyAwake(const ThreadQueue& self, const ThreadQueue& target, const SentMessage& sent)
{
    if (!Platform::IsOtherProcessor(target.processor))
        return false;
    return Platform::SpinBriefly([&] { return sent.done || self.waiter.IsWokenNow(); }, kAwakeWait);
}

}

namespace Ui {

bool InSendRun(const ThreadQueue& queue)
{
    return std::chrono::steady_clock::now() - queue.answeredAt <= kRunGap &&
           Platform::IsOtherProcessor(queue.partnerProcessor);
}

bool AwaitNextSendAwake(ThreadQueue& queue)
{
    if (Platform::SpinBriefly([&] { return queue.waiter.IsWokenNow(); }, kAwakeWait))
        return true;
    queue.answeredAt = {};
    return false;
}

bool ServiceIncomingSends()
{
    auto& ws = WindowSystem::Get();
    std::shared_ptr<SentMessage> handled;
    LRESULT result = 0;
    for (;;) {
        // The reply to one send and the take of the next share one hold of the lock.
        std::shared_ptr<SentMessage> next;
        DeferredWake wake;
        {
            Lock lock(ws.Lock());
            auto queue = ws.CurrentQueue();
            if (handled) {
                std::erase(queue->replyStack, handled);
                wake = Reply(ws, *handled, result);
                NoteAnswered(*queue, *handled);
            }
            if (!queue->incoming.empty()) {
                next = std::move(queue->incoming.front());
                queue->incoming.pop_front();
                queue->replyStack.push_back(next);
            }
        }
        wake();
        if (!next)
            return handled != nullptr;
        result = CallProcedure(next->hwnd, next->message, next->wParam, next->lParam);
        handled = std::move(next);
    }
}

}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            Lock lock(ws.Lock());
            tops = ws.TopLevels();
        }
        for (HWND top : tops)
            SendMessageW(top, message, wParam, lParam);
        return 0;
    }
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    std::shared_ptr<ThreadQueue> target = w->queue;
    if (target->threadId == CurrentThreadId()) {
        lock.unlock();
        return CallProcedure(hwnd, message, wParam, lParam);
    }
    if (!target->alive)
        return 0;
    auto self = ws.CurrentQueue();
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = self;
    self->processor = Platform::CurrentProcessor();
    target->incoming.push_back(sent);
    const DeferredWake wake = ws.WakeLater(target);
    lock.unlock();
    wake();

    // Waiting for the reply, this thread handles what others send to it, so
    // two threads that send to each other both get through. The reply is
    // looked at without the lock, which the replying thread may still hold.
    for (;;) {
        self->waiter.ClearWake();
        ServiceIncomingSends();
        if (sent->done)
            return sent->result;
        if (!target->alive)
            return 0;
        if (AwaitReplyAwake(*self, *target, *sent))
            continue;
        Platform::WaitForObjectsOrWake(0, nullptr, FALSE, INFINITE, &self->waiter);
        // Sends that came in meanwhile are serviced in this thread's next wait.
        if (sent->done)
            return sent->result;
    }
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto queue = threadId == CurrentThreadId() ? ws.CurrentQueue() : ws.QueueOfThread(threadId);
    if (!queue || !queue->alive) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    if (queue->posted.size() >= kPostQuota) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    MSG msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(Platform::Clock::NowMs());
    msg.pt = ws.m_cursorPos;
    PostLocked(ws, *queue, msg);
    return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == nullptr)
        return PostThreadMessageW(CurrentThreadId(), message, wParam, lParam);
    auto& ws = WindowSystem::Get();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            Lock lock(ws.Lock());
            tops = ws.TopLevels();
        }
        for (HWND top : tops)
            PostMessageW(top, message, wParam, lParam);
        return TRUE;
    }
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return FALSE;
    if (w->queue->posted.size() >= kPostQuota) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(Platform::Clock::NowMs());
    msg.pt = ws.m_cursorPos;
    PostLocked(ws, *w->queue, msg);
    return TRUE;
}

UINT RegisterWindowMessageW(LPCWSTR name)
{
    if (name == nullptr || *name == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto& table = ws.RegisteredMessages();
    const std::wstring key = UpperName(name);
    if (auto it = table.find(key); it != table.end())
        return it->second;
    const UINT id = 0xC000u + static_cast<UINT>(table.size());
    if (id >= DisplayActionMessage()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    table[key] = id;
    return id;
}

BOOL InSendMessage()
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    return ws.CurrentQueue()->replyStack.empty() ? FALSE : TRUE;
}

BOOL ReplyMessage(LRESULT result)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto queue = ws.CurrentQueue();
    if (queue->replyStack.empty())
        return FALSE;
    auto sent = queue->replyStack.back();
    if (sent->done)
        return FALSE;
    const DeferredWake wake = Reply(ws, *sent, result);
    lock.unlock();
    wake();
    return TRUE;
}
