#pragma once
// The one clock that tick counts, sleeps, wait time-outs, timers and the wall
// clock read. It is the real monotonic clock unless a test switches to the
// manual clock.
//
// Manual clock semantics:
// - `Clock::UseManual(start)` freezes the tick count at `start` (or at the
//   current real reading); from then on it moves only through `Advance` and
//   through `Sleep`, which advances it by its argument and returns at once
//   (so a 30 s restart wait costs no real time). `Sleep(0)` only yields and
//   `Sleep(INFINITE)` blocks for good, under either clock.
// - A timed wait (WaitForSingleObject and friends) ends at the earlier of two
//   deadlines: the manual clock reaching start + time-out, or the same span
//   passing in real time. Advancing the clock therefore ends waits at once,
//   and a test that forgets to advance still cannot hang longer than the
//   real time-out.
// - The wall clock (GetLocalTime, _time64 ...) keeps running in real time,
//   shifted forward by everything the manual clock has been advanced since
//   `UseManual`, so an elapsed-seconds test after a manual Sleep sees the
//   seconds pass while a poll loop on the wall clock still ends in real time.
// - `Clock::UseReal()` returns to the real clock; the tick count then jumps
//   to the real reading and the wall clock loses its shift.
// Every change (advance, sleep, switch) is reported to the clock listeners.

#include "Platform/Base/Types.h"

#include <chrono>
#include <cstdint>

namespace Platform {

// Told whenever the clock moves other than by itself: a manual advance or
// sleep, or a switch between the real and the manual clock. Timers use it to
// look again at what has become due.
class ClockListener {
public:
    virtual ~ClockListener() = default;
    // Runs on the thread that moved the clock, after the move, with the new
    // tick reading. Listeners are called one at a time under the listener
    // lock: keep them short, don't add or remove listeners from one, and take
    // no lock that a thread may hold while it adds or removes a listener
    // (waking a condition or a Waiter is what a listener is for).
    virtual void OnClockChanged(ULONGLONG nowMs) = 0;
};

class Clock {
public:
    // Milliseconds of the clock in force (GetTickCount64).
    static ULONGLONG NowMs();
    // The wall clock, shifted while the manual clock is in force.
    static std::chrono::system_clock::time_point WallNow();

    static bool IsManual();
    static void UseManual();
    static void UseManual(ULONGLONG startMs);
    static void UseReal();
    // Moves the manual clock forward; ignored under the real clock.
    static void Advance(ULONGLONG ms);
    // Changes with every switch between the clocks, so that a wait can tell
    // whether its manual deadline still means anything.
    static std::uint32_t ModeSerial();

    // After `Add` returns the listener is told of every change; after
    // `Remove` returns it is called no more.
    static void AddListener(ClockListener* listener);
    static void RemoveListener(ClockListener* listener);
};

// Keeps a listener registered for its own lifetime.
class ClockListenerRegistration {
public:
    explicit ClockListenerRegistration(ClockListener* listener);
    ~ClockListenerRegistration();
    ClockListenerRegistration(const ClockListenerRegistration&) = delete;
    ClockListenerRegistration& operator=(const ClockListenerRegistration&) = delete;

private:
    ClockListener* m_listener = nullptr;
};

// The manual clock for the lifetime of a test scope.
class ManualClockScope {
public:
    ManualClockScope() { Clock::UseManual(); }
    explicit ManualClockScope(ULONGLONG startMs) { Clock::UseManual(startMs); }
    ~ManualClockScope() { Clock::UseReal(); }
    ManualClockScope(const ManualClockScope&) = delete;
    ManualClockScope& operator=(const ManualClockScope&) = delete;
};

}

// 32-bit milliseconds; wraps after 49.7 days, so intervals are taken as
// DWORD differences (now - start), which stay right across the wrap.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void Sleep(DWORD milliseconds);
