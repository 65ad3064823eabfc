#include "Platform/Base/Clock.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform {
namespace {

struct ClockState {
    std::atomic<bool> manual{false};
    std::atomic<ULONGLONG> manualMs{0};
    // Total advance since UseManual, in milliseconds: the wall clock's shift.
    std::atomic<ULONGLONG> wallShiftMs{0};
    std::atomic<std::uint32_t> modeSerial{0};
    std::mutex listenerMutex;
    std::vector<ClockListener*> listeners;
};

// Never destroyed: threads may still read the clock while the process exits.
ClockState& State()
{
    static ClockState* state = new ClockState;
    return *state;
}

ULONGLONG RealNowMs()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<ULONGLONG>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void NotifyListeners()
{
    ClockState& state = State();
    std::lock_guard lock(state.listenerMutex);
    const ULONGLONG now = Clock::NowMs();
    for (ClockListener* listener : state.listeners)
        listener->OnClockChanged(now);
}

void SleepForever()
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(24));
}

}

ULONGLONG Clock::NowMs()
{
    const ClockState& state = State();
    return state.manual.load() ? state.manualMs.load() : RealNowMs();
}

std::chrono::system_clock::time_point Clock::WallNow()
{
    const ClockState& state = State();
    const auto now = std::chrono::system_clock::now();
    if (!state.manual.load())
        return now;
    return now + std::chrono::milliseconds(static_cast<std::int64_t>(state.wallShiftMs.load()));
}

bool Clock::IsManual()
{
    return State().manual.load();
}

void Clock::UseManual()
{
    UseManual(RealNowMs());
}

void Clock::UseManual(ULONGLONG startMs)
{
    ClockState& state = State();
    state.manualMs = startMs;
    state.wallShiftMs = 0;
    state.manual = true;
    ++state.modeSerial;
    NotifyListeners();
}

void Clock::UseReal()
{
    ClockState& state = State();
    state.manual = false;
    state.wallShiftMs = 0;
    ++state.modeSerial;
    NotifyListeners();
}

void Clock::Advance(ULONGLONG ms)
{
    ClockState& state = State();
    if (!state.manual.load() || ms == 0)
        return;
    state.manualMs += ms;
    state.wallShiftMs += ms;
    NotifyListeners();
}

std::uint32_t Clock::ModeSerial()
{
    return State().modeSerial.load();
}

void Clock::AddListener(ClockListener* listener)
{
    if (!listener)
        return;
    ClockState& state = State();
    std::lock_guard lock(state.listenerMutex);
    if (std::find(state.listeners.begin(), state.listeners.end(), listener) == state.listeners.end())
        state.listeners.push_back(listener);
}

void Clock::RemoveListener(ClockListener* listener)
{
    ClockState& state = State();
    std::lock_guard lock(state.listenerMutex);
    std::erase(state.listeners, listener);
}

ClockListenerRegistration::ClockListenerRegistration(ClockListener* listener) : m_listener(listener)
{
    Clock::AddListener(m_listener);
}

ClockListenerRegistration::~ClockListenerRegistration()
{
    Clock::RemoveListener(m_listener);
}

}

DWORD GetTickCount()
{
    return static_cast<DWORD>(Platform::Clock::NowMs());
}

ULONGLONG GetTickCount64()
{
    return Platform::Clock::NowMs();
}

void Sleep(DWORD milliseconds)
{
    if (milliseconds == INFINITE)
        Platform::SleepForever();
    if (Platform::Clock::IsManual()) {
        Platform::Clock::Advance(milliseconds);
        std::this_thread::yield();
        return;
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
