// Cross-thread SendMessage round trips to a window whose thread sits in a
// GetMessage loop, beside a bare condition-variable ping-pong between two
// threads. The SendMessage figure carries the ping-pong rate measured in the
// same iterations (interleaved batches), and their ratios at the median
// batch (goal: at most 1) and at the 99th percentile (goal: at most 1.5).
#include "Platform/Ui/WinUser.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr UINT kEcho = WM_USER + 1;
constexpr int kBatch = 64;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The batch time below which the given share of batches fall (nearest rank).
double Percentile(std::vector<double> batches, double share)
{
    if (batches.empty())
        return 0;
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(batches.size() - 1));
    std::nth_element(batches.begin(), batches.begin() + static_cast<std::ptrdiff_t>(rank), batches.end());
    return batches[rank];
}

// A partner thread that answers each ping with the value plus one.
class PingPong {
public:
    PingPong() : m_thread([this] { Serve(); }) {}
    ~PingPong()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_request.notify_one();
        m_thread.join();
    }
    PingPong(const PingPong&) = delete;
    PingPong& operator=(const PingPong&) = delete;

    std::uint64_t Ping(std::uint64_t value)
    {
        std::unique_lock lock(m_mutex);
        m_value = value;
        m_pending = true;
        m_request.notify_one();
        m_reply.wait(lock, [this] { return !m_pending; });
        return m_value;
    }

private:
    void Serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_request.wait(lock, [this] { return m_stop || m_pending; });
            if (m_stop)
                return;
            ++m_value;
            m_pending = false;
            m_reply.notify_one();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_request;
    std::condition_variable m_reply;
    std::uint64_t m_value = 0;
    bool m_pending = false;
    bool m_stop = false;
    std::thread m_thread;
};

LRESULT EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kEcho)
        return static_cast<LRESULT>(wParam + 1);
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A hidden window owned by a thread of its own that runs a GetMessage loop.
class EchoWindow {
public:
    EchoWindow()
    {
        static const bool registered = [] {
            WNDCLASSEXW wc;
            wc.lpfnWndProc = EchoProc;
            wc.lpszClassName = L"ZellEchoBenchmark";
            return RegisterClassExW(&wc) != 0;
        }();
        std::promise<HWND> created;
        std::future<HWND> handle = created.get_future();
        m_thread = std::thread([&created] {
            HWND hwnd = registered ? CreateWindowExW(0, L"ZellEchoBenchmark", L"echo", WS_POPUP, 0, 0, 10, 10,
                                                     nullptr, nullptr, nullptr, nullptr)
                                   : nullptr;
            created.set_value(hwnd);
            if (hwnd == nullptr)
                return;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
        });
        m_hwnd = handle.get();
    }
    ~EchoWindow()
    {
        // WM_CLOSE makes the owner destroy the window, which ends its loop.
        if (m_hwnd != nullptr)
            SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    EchoWindow(const EchoWindow&) = delete;
    EchoWindow& operator=(const EchoWindow&) = delete;

    HWND Handle() const { return m_hwnd; }

private:
    std::thread m_thread;
    HWND m_hwnd = nullptr;
};

void BM_RoundTrip_CondVar(benchmark::State& state)
{
    PingPong partner;
    std::uint64_t value = 0;
    for (auto _ : state)
        value = partner.Ping(value);
    benchmark::DoNotOptimize(value);
    state.SetItemsProcessed(state.iterations());
}

void BM_RoundTrip_SendMessage(benchmark::State& state)
{
    EchoWindow echo;
    if (echo.Handle() == nullptr) {
        state.SkipWithError("no window");
        return;
    }
    PingPong partner;
    // A reply that is not the request plus one means a lost or crossed message.
    if (SendMessageW(echo.Handle(), kEcho, 41, 0) != 42) {
        state.SkipWithError("wrong reply");
        return;
    }
    // Every batch of each side: the slow tail (a wake-up that waits for a poll
    // time-out, a thread that sleeps on a lock) shows in the upper percentiles.
    std::vector<double> sendBatches;
    std::vector<double> condVarBatches;
    std::uint64_t value = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kBatch; ++i)
            value = static_cast<std::uint64_t>(SendMessageW(echo.Handle(), kEcho, static_cast<WPARAM>(value), 0));
        const auto t1 = Clock::now();
        for (int i = 0; i < kBatch; ++i)
            value = partner.Ping(value);
        const auto t2 = Clock::now();
        sendBatches.push_back(Seconds(t1 - t0));
        condVarBatches.push_back(Seconds(t2 - t1));
        state.SetIterationTime(Seconds(t1 - t0));
    }
    // Both partners add one per round trip.
    if (value != 2ull * kBatch * static_cast<std::uint64_t>(state.iterations())) {
        state.SkipWithError("round trips were lost");
        return;
    }
    const double trips = static_cast<double>(state.iterations()) * kBatch;
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.SetLabel("time per " + std::to_string(kBatch) + " round trips");
    double sendSeconds = 0;
    double condVarSeconds = 0;
    for (std::size_t i = 0; i < sendBatches.size(); ++i) {
        sendSeconds += sendBatches[i];
        condVarSeconds += condVarBatches[i];
    }
    if (sendSeconds > 0 && condVarSeconds > 0) {
        state.counters["sendmsg_per_s"] = trips / sendSeconds;
        state.counters["condvar_per_s"] = trips / condVarSeconds;
        state.counters["ratio"] = sendSeconds / condVarSeconds;
        // The typical batch, untouched by the few that another process delayed.
        state.counters["ratio_p50"] = Percentile(sendBatches, 0.5) / Percentile(condVarBatches, 0.5);
        state.counters["goal_p50"] = 1.0;
        state.counters["ratio_p99"] = Percentile(sendBatches, 0.99) / Percentile(condVarBatches, 0.99);
        state.counters["goal_p99"] = 1.5;
        for (const auto& [name, share] : {std::pair{"p50", 0.5}, std::pair{"p90", 0.9}, std::pair{"p99", 0.99}}) {
            state.counters[std::string("sendmsg_") + name + "_batch_us"] = Percentile(sendBatches, share) * 1e6;
            state.counters[std::string("condvar_") + name + "_batch_us"] = Percentile(condVarBatches, share) * 1e6;
        }
        state.counters["sendmsg_worst_batch_us"] = *std::max_element(sendBatches.begin(), sendBatches.end()) * 1e6;
        state.counters["condvar_worst_batch_us"] = *std::max_element(condVarBatches.begin(), condVarBatches.end()) * 1e6;
    }
}

}  // namespace

BENCHMARK(BM_RoundTrip_CondVar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTrip_SendMessage)->Unit(benchmark::kMicrosecond)->UseManualTime();
