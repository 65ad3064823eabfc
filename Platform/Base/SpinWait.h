#pragma once
// A short wait, awake, for what a thread on another processor is about to do.
//
// A thread that sleeps costs the one that wakes it an inter-processor wake-up
// and itself the way back out of the idle state: on a virtual machine tens of
// microseconds, many times a message round trip. When the answer is a few
// microseconds away, waiting awake spares both; the budget bounds what it
// costs when the answer takes longer. It only pays when the other thread runs
// on another processor: on the same one, the spinning would keep it off.
#include <chrono>

namespace Platform {

// The processor the calling thread runs on now; -1 when unknown.
int CurrentProcessor();

// Whether `processor` (as CurrentProcessor gave it on another thread) is known
// and not the calling thread's.
bool IsOtherProcessor(int processor);

// Tells the processor that the thread is in a busy wait.
void RelaxProcessor();

// Takes a lock that is held for microseconds at a time, trying a while awake
// before it sleeps on it.
template <typename Lockable>
void LockAwake(Lockable& lockable)
{
    constexpr int kTriesAwake = 200;
    for (int i = 0; i < kTriesAwake; ++i) {
        if (lockable.try_lock())
            return;
        RelaxProcessor();
    }
    lockable.lock();
}

// Polls `done` until it holds or the budget is used up; returns its last result.
template <typename Predicate>
bool SpinBriefly(Predicate done, std::chrono::microseconds budget)
{
    if (done())
        return true;
    const auto end = std::chrono::steady_clock::now() + budget;
    for (;;) {
        // The clock is read now and then only; a poll costs far less.
        for (int i = 0; i < 32; ++i) {
            RelaxProcessor();
            if (done())
                return true;
        }
        if (std::chrono::steady_clock::now() >= end)
            return done();
    }
}

}
